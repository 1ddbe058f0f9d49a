#ifndef VERIFICATIONPLOT_H
#define VERIFICATIONPLOT_H

#include "chip/chip.h"
#include "compat/qtcompat.h"
#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPointer>
#include <QtCharts/QLineSeries>

#include <array>
#include <functional>

// The moving window of every channel's latest readings in verification mode, and the 25 curves
// drawn from it. Every record redraws the ticked curves whole, so each curve gets its points in
// one replace() rather than point by point.
class VerificationPlot
{
public:
    // Values kept per channel between records; the window is trimmed once it reaches one more.
    static constexpr int kWindow = 132;
    static constexpr double kStep = 0.09;

    using Ticked = std::array<bool, chip::kChannelCount>;
    using WidenRange = std::function<void(int)>;
    // Gives a new curve its colour and puts it on the chart with the chart's axes.
    using AddSeries = std::function<void(QtCharts::QLineSeries *, const QColor &)>;

    // Appends each channel's reading (big-endian at 1 + 2k, 2 + 2k) to its history. A record
    // shorter than a measurement record is ignored and false returned.
    bool appendRecord(const QByteArray &record);
    // True once channel 0's history holds more than the window.
    bool windowOverfull() const;
    // Removes the oldest value of every history.
    void dropOldest();
    // Empties every history.
    void clearHistory();
    const QList<int> &history(int channel) const;

    // Creates the 25 curves, channel k in colours[k], through addSeries. The previous curves
    // belong to the chart they were put on and are not touched.
    void createCurves(const std::array<QColor, chip::kChannelCount> &colours,
                      const AddSeries &addSeries);
    // The curve of a channel, or null once the chart that owned it has deleted it.
    QtCharts::QLineSeries *curve(int channel) const;
    // Whether the curves exist and sit on the given chart.
    bool curvesOn(const QtCharts::QChart *chart) const;

    // Redraws from the histories: ticked curves get their whole window at x 0, 0.09, ...; the
    // others are emptied. Each drawn value passes through widen first, position by position.
    void redraw(const Ticked &ticked, const WidenRange &widen);

private:
    std::array<QList<int>, chip::kChannelCount> channelHistory;
    std::array<QPointer<QtCharts::QLineSeries>, chip::kChannelCount> verificationSeries;
};

#endif // VERIFICATIONPLOT_H
