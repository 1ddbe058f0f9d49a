#ifndef CHANNELRECORDER_H
#define CHANNELRECORDER_H

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

class ChannelIndicators;
class LiveChart;
struct Pacing;
class PinMapSource;
class QPlainTextEdit;
class QWidget;
class TuningLink;
class TuningRun;

// What the user chose for a capture that looks wrong.
enum class CaptureChoice {
    Retake,  // "重新测量": the channel's phases once more
    Keep,    // "保留此结果": kept as a sound capture is
    Discard, // "放弃": the channel's earlier results and samples stay as they were
};

// What the no-touch/touch test and the waterproof test share: taking each record's reading of the
// channel under test into the run and onto the curve, the pause before the reader takes the next
// report, the end of a channel's sampling, and the channels in use that a run walks.
class ChannelRecorder : public QObject
{
    Q_OBJECT

public:
    // The pause between a record and letting the reader take the next report follows pacing.
    ChannelRecorder(TuningRun &run, LiveChart &chart, ChannelIndicators &indicators,
                    PinMapSource &pinMap, TuningLink &link, const Pacing &pacing,
                    QPlainTextEdit *log, QWidget *dialogParent, QObject *parent = nullptr);

    // Counts the reading of the channel under test and draws it. A record that is not counted
    // (failed check, or no reading of that channel) repeats the last point and lets the reader go
    // on. True when counted.
    bool take(const QByteArray &record, int crcFailed);
    // Channels in use in the shown pin map, ascending.
    QList<int> channelsInUse() const;
    // A channel becomes the one under test; its samples start afresh.
    void beginChannel(int channel);
    // A channel's sampling is over: blink off, key solid green, curve position reset; the run
    // goes on with its next channel, if any.
    void endChannelSampling();
    // The two Stop commands that end a multi-channel run; the reader is idle already, having
    // delivered the last record, and the answers are not awaited.
    void stopBoardAfterRun();
    // Re-arms the reader after the record pause unless the run was halted meanwhile.
    void scheduleRearm();
    void cancelRearm();
    bool rearmPending() const { return rearmTimer.isActive(); }
    // The key of the channel under test shows solid green.
    void showKeyMeasured();

    void appendLog(const QString &line) const;
    // "S1-2" for a channel that is the second segment of slider S1; empty for a key.
    QString segmentPlace(int channel) const;
    void warn(const QString &text) const;
    // Keeps a capture without doubt. For one with a doubt, asks what to do, with question as
    // the text (its placeholder left takes the doubt); closing the box discards. The question
    // and the answer go to the log.
    CaptureChoice askAboutCapture(const QString &doubt, const QString &question) const;

private:
    TuningRun &run;
    LiveChart &chart;
    ChannelIndicators &indicators;
    PinMapSource &pinMap;
    TuningLink &link;
    const int rearmPauseMs;
    QPlainTextEdit *log;
    QWidget *dialogParent;
    QTimer rearmTimer;
    // When the record being paced arrived: the pause is measured from there.
    QElapsedTimer recordArrival;
};

#endif // CHANNELRECORDER_H
