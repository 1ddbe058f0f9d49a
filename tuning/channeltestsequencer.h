#ifndef CHANNELTESTSEQUENCER_H
#define CHANNELTESTSEQUENCER_H

#include "chip/chip.h"
#include "link/pacing.h"

#include <QCoreApplication>
#include <QObject>

class ChannelIndicators;
class ChannelRecorder;
class LiveChart;
class QWidget;
class ResultsTable;
class SampleStore;
class TuningLink;
class TuningRun;

// The no-touch/touch measurement: per channel 162 samples without and 162 with a finger, each
// phase after a counted-down start, for one channel or for every channel in use (auto test).
// Also stops any run on the stop button and abandons it when the reader fails.
class ChannelTestSequencer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSamplesPerTest = 2 * chip::kSamplesPerPhase;

    // The stop button's settle and the lead of the touch phase's countdown follow pacing.
    ChannelTestSequencer(TuningRun &run, ChannelRecorder &recorder, LiveChart &chart,
                         ResultsTable &results, SampleStore &store, ChannelIndicators &indicators,
                         TuningLink &link, const Pacing &pacing, QWidget *dialogParent,
                         QObject *parent = nullptr);

    // Auto test over every channel in use, after the user confirms a clean pad.
    void startAutoTest();
    // Single-channel test; does nothing for a channel that is not in use.
    void startSingleChannel(int channel);
    // The runs as the two starts begin them once their questions and checks are passed (a replay
    // starts the runs of its recording so); the auto test's chart is built already.
    void runAutoTest(QList<int> channels);
    void runSingleChannel(int channel);
    // The stop button: stops the board and ends the run.
    void stop();
    // A record of the channel under test was counted.
    void recordCounted();
    // The reader timed out or the board refused Start: the run is abandoned and text shown.
    void abandonRun(const QString &text);
    // Start could not be written after a countdown: the log tells which test ended.
    void startFailed();

signals:
    // A channel's row was written (after its 324th sample).
    void channelFinished(int channel);
    // The auto test measured its last channel.
    void autoTestFinished();

private:
    void beginChannel(int channel);
    void prepareChart();
    void finishTouchPhase();
    void finishNoTouchPhase();
    // Both phases of the channel once more, in the run it belongs to.
    void retake(int channel);
    // After a channel: the next one of an auto test, or the end of the run.
    void goOn();
    void finishAutoTest();
    // "TK5 的触摸测试已中止：why" in the log, for the test under way; nothing without one.
    void logEnd(const QString &why) const;

    TuningRun &run;
    ChannelRecorder &recorder;
    LiveChart &chart;
    ResultsTable &results;
    SampleStore &store;
    ChannelIndicators &indicators;
    TuningLink &link;
    const Pacing pacing;
    QWidget *dialogParent;
};

#endif // CHANNELTESTSEQUENCER_H
