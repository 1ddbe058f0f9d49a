#ifndef PHASEPROGRESS_H
#define PHASEPROGRESS_H

#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>

class QLabel;
class TuningRun;

// "n/162" beside the countdown badge while a channel's phase is counted down and measured, so
// that the user knows how long to hold the finger (or keep the water on). The badge and the
// count sit side by side as one group, placed where the overlay may go.
class PhaseProgress
{
public:
    static constexpr int kGap = 6;

    // place gives the top left corner for an overlay of a size (the log pane keeps its newest
    // line free of it).
    PhaseProgress(const TuningRun &run, QLabel *label, std::function<QPoint(const QSize &)> place);

    // Where the countdown badge of this size goes: the right end of the group.
    QPoint badgePosition(const QSize &badge);
    // Follows the run: after each record and each change of phase.
    void update();
    // "37/162"
    static QString text(int taken);

private:
    const TuningRun &run;
    QLabel *label;
    std::function<QPoint(const QSize &)> place;
    // The badge's size when it was last placed, so that both find the same group.
    QSize badgeSize{52, 52};
    // The run's sample count when this phase began.
    int phaseStart = 0;
};

#endif // PHASEPROGRESS_H
