#ifndef VERIFICATIONMODE_H
#define VERIFICATIONMODE_H

#include "charts/framethrottle.h"
#include "charts/verificationplot.h"
#include "chip/chip.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QObject>
#include <QTimer>

#include <array>

class LiveChart;
struct Pacing;
class QCheckBox;
class QPushButton;
class QWidget;
class TuningLink;
class TuningRun;

// Verification mode: streams all channels through CheckThread and shows the latest window of
// every ticked channel as a live curve in its colour. Switched on and off with one button. Every
// record goes into the histories at once; the curves are drawn from them at the display's rate.
// While the window fills, CheckThread is armed for one record at a time with a pause after each;
// once it is full, for the records the board queued meanwhile, a block every pacing's
// verificationBlockMs, so that the stream does not wake two threads with every record.
class VerificationMode : public QObject
{
    Q_OBJECT

public:
    // The pause after each record while the window fills and the settle before the Stop rounds
    // of switching off follow pacing.
    VerificationMode(LiveChart &chart, TuningRun &run, TuningLink &link, const Pacing &pacing,
                     QPushButton *switchButton, const QList<QCheckBox *> &checkBoxes,
                     QWidget *dialogParent, QObject *parent = nullptr);

    // The switch button: on after confirmation, off through the Stop exchange.
    void toggle();
    // On as the button switches it once the question is answered, and off without the chart
    // being rebuilt first (a replay switches so, keeping the last picture).
    void switchOnConfirmed();
    void switchOff();
    // One record from CheckThread: every history grows, the ticked curves are redrawn with the
    // next frame, and CheckThread is armed for the next one (after a short pause while the window
    // fills, for the next block after a pause once it is full).
    void handleRecord(const QByteArray &record);
    // The same in two halves for the records of a block: each record of the delivery, then its
    // end, which arms CheckThread as handleRecord does.
    void takeRecord(const QByteArray &record);
    void endDelivery();
    // Draws the curves now if a record waits for its frame.
    void flushFrame() { frames.flush(); }
    // The curves start afresh from the next record (a replay moved elsewhere in its file).
    void clearCurves();
    // The picture holds still while the records go on into the histories; the user may zoom,
    // move and read it meanwhile. Resuming shows the latest window at the built scale.
    void setPaused(bool paused);
    bool isPaused() const { return frames.isHeld(); }

    const FrameThrottle &frameThrottle() const { return frames; }
    // The verification reader failed or the board went: verification ends without the Stop
    // exchange, as the other runs end. True when it was on.
    bool endOnReaderFailure();
    // The 25 curves in their colours on the current chart; sets anyCurveSelected when a check box
    // is ticked.
    void createCurves();
    // A colour chosen on a swatch: recolours the channel's curve when the curves are on the
    // chart, otherwise it is kept for the next start.
    void applySwatchColour(int channel, const QColor &colour);

    bool isActive() const { return verificationActive; }
    bool curveSelected() const { return anyCurveSelected; }
    // True while a record waits out its pause before being drawn.
    bool recordPending() const { return recordPause.isActive(); }
    // True while CheckThread waits to be armed for the next block.
    bool blockPending() const { return blockPause.isActive(); }
    const VerificationPlot &plot() const { return curves; }

signals:
    // Verification was switched on or off.
    void activeChanged(bool active);

private:
    void switchOn();
    // The button, the run and the preview show verification off.
    void markOff();
    // Asks for a frame for the record held back by the pause; arms CheckThread for the next one
    // (a block when the window is full) only when verification goes on.
    void finishRecord(bool mayArm);
    // Ends the pauses that wait to arm CheckThread, without arming it.
    void stopPauses();
    void drawCurves();
    VerificationPlot::Ticked tickedChannels() const;
    // Waits without taking user input, so that a board unplugged meanwhile is noticed.
    static void waitWithoutUserInput(int ms);
    void warn(const QString &text) const;

    LiveChart &chart;
    TuningRun &run;
    TuningLink &link;
    const int offSettleMs;
    QPushButton *switchButton;
    QList<QCheckBox *> checkBoxes;
    QWidget *dialogParent;

    VerificationPlot curves;
    FrameThrottle frames;
    QTimer recordPause;
    QTimer blockPause;
    // The last record taken filled the window: the next delivery is a block.
    bool windowFull = false;
    std::array<QColor, chip::kChannelCount> colourForNextStart;
    bool verificationActive = false;
    bool anyCurveSelected = false;
    bool switchingOff = false;
};

#endif // VERIFICATIONMODE_H
