#ifndef TUNINGRUN_H
#define TUNINGRUN_H

#include "charts/runview.h"
#include "quality/channelsamples.h"

#include <QList>
#include <QObject>
#include <QVector>

// The run in progress: which kind of run it is, its phase, the channel under test with the
// samples it has taken so far, and the channels still to come. The one owner of that state: it
// changes only through the named transitions below, each of which emits phaseChanged; everything
// else asks the queries.
class TuningRun : public QObject, public RunView
{
    Q_OBJECT

public:
    enum class Kind {
        None,         // no run: records that still arrive are not taken any further
        Single,       // no-touch/touch test of one channel
        Auto,         // no-touch/touch test of every channel in use
        Waterproof,   // water on the pad, every channel in use
        Verification, // all channels streamed for the live curves
    };
    Q_ENUM(Kind)
    enum class Phase {
        Idle,          // nothing sent: before a start, between channels, after a failed start
        CountingDown,  // 3-2-1 before Start
        Sampling,      // Start sent, records counted
        AwaitingWater, // Start sent, the add-water prompt is due or shown
        Stopping,      // the stop exchange with the board is under way
    };
    Q_ENUM(Phase)
    // How a run ended.
    enum class Ending {
        Finished, // it came to its end
        Stopped,  // the stop button
        Failed,   // the board failed, refused or went
    };
    Q_ENUM(Ending)

    explicit TuningRun(QObject *parent = nullptr);

    Kind kind() const { return currentKind; }
    Phase phase() const { return currentPhase; }

    // A channel measurement holds the start buttons: counting down or sampling a no-touch/touch
    // test, or verification streaming.
    bool testBusy() const override;
    // Start was sent and records are collected.
    bool sampling() const override;
    // A run over several channels (auto or waterproof test).
    bool autoSequence() const;
    bool waterproofMode() const { return currentKind == Kind::Waterproof; }
    // A waterproof run is sampling; it is busy without counting as testBusy.
    bool waterproofRunning() const { return waterproofMode() && sampling(); }
    // A test start must be refused with "busy".
    bool startRefused() const { return testBusy() || waterproofRunning(); }
    // No run: a record that still arrives does not re-arm the reader.
    bool halted() const { return currentKind == Kind::None; }
    bool stopping() const { return currentPhase == Phase::Stopping; }
    bool waterPromptPending() const { return currentPhase == Phase::AwaitingWater; }

    // The channel under test, -1 before the first.
    int channel() const override { return currentChannel; }
    // Samples of the channel under test, in arrival order (the touch phase follows the no-touch
    // phase).
    const QVector<int> &samples() const { return taken; }
    int sampleCount() const { return taken.size(); }
    // A counted sample with the counts of every channel in its record.
    void addSample(int value, const RecordCounts &record)
    {
        taken.append(value);
        takenRecords.append(record);
    }
    // count samples from index from.
    QVector<int> samplesFrom(int from, int count) const { return taken.mid(from, count); }
    QVector<RecordCounts> recordsFrom(int from, int count) const
    {
        return takenRecords.mid(from, count);
    }
    // The channels still to come, in order.
    const QList<int> &queue() const { return pending; }

    // A new run of this kind over these channels; the previous run is over.
    void start(Kind kind, const QList<int> &channels = {});
    // The channel under test changes; its samples start afresh.
    void beginChannel(int channel);
    // The next channel of the queue, removed from it; -1 when the queue is empty.
    int takeNextChannel();
    void clearQueue();
    void clearSamples()
    {
        taken.clear();
        takenRecords.clear();
    }

    void startCountdown();
    void startSampling();
    void awaitWater();
    // The channel's sampling is over (or its start failed); the run goes on.
    void endChannel();
    // The run finished normally.
    void finish();
    // The run was stopped (the stop button) or abandoned (Failed).
    void halt(Ending ending = Ending::Stopped);
    // The stop exchange begins; stopFailed() returns to the phase before it, halt() ends the run.
    void beginStopping();
    void stopFailed();

signals:
    void phaseChanged(TuningRun::Kind kind, TuningRun::Phase phase);
    // A run of kind ended; channel is the one it had under test (-1 for none).
    void runEnded(TuningRun::Kind kind, int channel, TuningRun::Ending ending);

private:
    void set(Kind kind, Phase phase);
    void end(Ending ending);
    // While stopping, the run is still in the phase it was in before the stop began.
    Phase effectivePhase() const;

    Kind currentKind = Kind::None;
    Phase currentPhase = Phase::Idle;
    Phase phaseBeforeStop = Phase::Idle;
    int currentChannel = -1;
    QVector<int> taken;
    QVector<RecordCounts> takenRecords;
    QList<int> pending;
};

#endif // TUNINGRUN_H
