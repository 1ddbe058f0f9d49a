#ifndef CHANNELTESTSEQUENCER_H
#define CHANNELTESTSEQUENCER_H

#include "chip/chip.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVector>

#include <functional>

class ChannelIndicators;
class LiveChart;
class PinMapSource;
class QPlainTextEdit;
class QWidget;
class ResultsTable;
class SequencerLink;
struct TuningState;

// The no-touch/touch measurement: per channel 162 samples without and 162 with a finger, each
// phase after a counted-down start, for one channel or for every channel in use (auto test).
// Consumes the reader's records one at a time, feeds the chart and writes the results row.
class ChannelTestSequencer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kChannels = chip::kChannelCount;
    static constexpr int kSamplesPerPhase = chip::kSamplesPerPhase;
    static constexpr int kSamplesPerTest = 2 * kSamplesPerPhase;
    static constexpr int kRecordSize = 51;
    // Pause between a record and letting the reader take the next report.
    static constexpr int kRearmDelayMs = 20;
    // Settle time after the reader is disarmed, before the Stop commands.
    static constexpr int kStopSettleMs = 500;

    ChannelTestSequencer(TuningState &state, LiveChart &chart, ResultsTable &results,
                         ChannelIndicators &indicators, PinMapSource &pinMap, SequencerLink &link,
                         QPlainTextEdit *log, QWidget *dialogParent, QObject *parent = nullptr);

    // The raw count of a channel in a measurement record, or -1 when the record does not hold it.
    static int channelReading(const QByteArray &record, int channel);

    // Auto test over every channel in use, after the user confirms a clean pad.
    void startAutoTest();
    // Single-channel test; does nothing for a channel that is not in use.
    void startSingleChannel(int channel);
    // The stop button: stops the board and resets the run.
    void stop();
    // One record from the measurement reader with its CRC flag (0 = good).
    void handleRecord(const QByteArray &record, int crcFailed);
    // The reader timed out or the board refused Start: the run is abandoned and text shown.
    void abandonRun(const QString &text);

    // Fills selectedChannels with index + 1 of every channel in use, ascending, and sets
    // remainingChannels to their count and nextSelectedIndex to 1. Shared with the waterproof test.
    int collectSelectedChannels();
    // Gives the channel its results row on its first test.
    void markTested(int channel);
    // The chart of a channel test: axes 0 ... 12 and one empty test curve.
    void prepareChart();

    // The waterproof test's share of the record path: the add-water prompt that the first
    // record raises, and the handler of every counted record while waterproofMode is set.
    void setWaterproofHandlers(std::function<void()> waterPrompt,
                               std::function<void()> waterproofRecord);
    // Samples [from, from + 162) of tkData.
    QVector<int> phaseSamples(int from) const;
    // A channel's sampling is over: blink off, key solid green, flags and curve position reset.
    void endChannelSampling();
    // In a multi-channel run, begins the next selected channel with begin, or calls finish when
    // none is left.
    void continueSequence(const std::function<void(int)> &begin,
                          const std::function<void()> &finish);
    // The two Stop commands that end a multi-channel run; the reader is idle already, having
    // delivered the last record, and the answers are not awaited.
    void stopBoardAfterRun();
    // Re-arms the reader after the record pause unless the run was halted meanwhile.
    void scheduleRearm();
    void cancelRearm();
    bool rearmPending() const { return rearmTimer.isActive(); }

signals:
    // A channel's row was written (after its 324th sample).
    void channelFinished(int channel);
    // The auto test measured its last channel.
    void autoTestFinished();

private:
    void beginChannel(int channel);
    void finishTouchPhase();
    void finishNoTouchPhase();
    void finishAutoTest();
    void setCurrentChannel(int channel);
    void appendLog(const QString &line);
    void warn(const QString &text);

    TuningState &state;
    LiveChart &chart;
    ResultsTable &results;
    ChannelIndicators &indicators;
    PinMapSource &pinMap;
    SequencerLink &link;
    QPlainTextEdit *log;
    QWidget *dialogParent;
    QTimer rearmTimer;
    // When the record being paced arrived: the pause is measured from there.
    QElapsedTimer recordArrival;
    std::function<void()> onWaterPrompt;
    std::function<void()> onWaterproofRecord;
};

#endif // CHANNELTESTSEQUENCER_H
