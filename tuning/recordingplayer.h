#ifndef RECORDINGPLAYER_H
#define RECORDINGPLAYER_H

#include "quality/recordingfile.h"
#include "tuning/replayproject.h"
#include "tuning/tuninglink.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include <functional>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QWidget;
class TuningSession;

// Plays a recording through the session as the board would: each record enters where a reader's
// record enters, paced by its recorded arrival times (1×, 4×) or as fast as the tool takes them,
// and the runs of the recording start as the user started them, without their questions. While
// it plays it is the session's link: it answers every command at once and sends nothing, so no
// board is needed.
class RecordingPlayer : public QObject, public TuningLink
{
    Q_OBJECT

public:
    enum class Speed {
        Real,
        Fourfold,
        Fastest,
    };
    // The replay's bar, shown while a recording is open.
    struct Controls
    {
        QWidget *bar = nullptr;
        QPushButton *pauseButton = nullptr;
        QComboBox *speed = nullptr;
        QSlider *slider = nullptr;
        QLabel *position = nullptr;
    };

    RecordingPlayer(TuningSession &session, const Controls &controls, QPlainTextEdit *log,
                    QWidget *dialogParent, QObject *parent = nullptr);

    // "打开录制文件…": asks for a recording in folder and plays it, into the project or a
    // scratch project as the user chooses (ReplayProject). Refused while a run or a recording
    // goes on.
    void open(const QString &folder);
    // Where the replays that open() starts put their results.
    ReplayProject &project() { return target; }
    // The open dialog of open(); the platform's unless replaced.
    std::function<QString(QWidget *parent, const QString &caption, const QString &folder,
                          const QString &filter)>
        chooseFile;
    // Plays the records from the start; false when there are none.
    bool play(const QVector<RecordedRecord> &records);
    // Ends the replay: the run stops, verification goes off, the board is the link again and a
    // scratch project gives way to the project's results.
    void close();

    void setPaused(bool paused);
    void togglePause() { setPaused(!paused); }
    // Takes effect at once, also while the player waits for a far record.
    void setSpeed(Speed speed);
    // Goes on from ms into the recording, in a state the live run could have been in, with the
    // picture and the figures of that place, paused or not: a test goes back to the first record
    // of its channel, so that its phases are counted whole (a waterproof run taken up after its
    // first channel finds the water on the pad), and verification starts afresh.
    void seek(qint64 ms);

    bool isActive() const { return active; }
    bool isPaused() const { return paused; }
    bool atEnd() const { return next >= records.size(); }
    // Arrival of the record being delivered, in the recording's milliseconds.
    qint64 currentMs() const { return currentRecordMs; }

    // TuningLink: every command done at once, nothing sent.
    bool isOpen() const override { return true; }
    void beginSampling() override;
    void restartCountdown() override;
    void startSamplingDirect() override;
    void cancelCountdown(bool) override {}
    void armReader() override {}
    void disarmReader() override {}
    void startDrain() override {}
    void stopDrain() override {}
    void startBlink() override {}
    void stopBlink() override {}
    void startCheckReader() override {}
    void armCheckReader() override {}
    void armCheckReaderForBacklog() override {}
    void disarmCheckReader() override {}
    int sendStartCommand() override;
    int sendStopCommand() override;
    int waitStopAck() override { return 1; }
    StopOutcome runStopExchange(StopExchange) override { return StopOutcome::Done; }

signals:
    void activeChanged(bool active);

private:
    void pump();
    // Makes the session ready for the record (starts, ends or switches runs); false when it
    // cannot take it, or it is an end, and the record is passed over.
    bool prepare(const RecordedRecord &record);
    void startRun(const RecordedRecord &record);
    void endRun();
    // Where the recording says its run ended: the run ends here as it did then.
    void endRunAsRecorded(const RecordedRecord &end);
    void deliver(const RecordedRecord &record);
    // The first record that leads up to the one at target.
    int leadIn(int target) const;
    // The pace restarts from the record at next.
    void rebase();
    void showPosition();

    TuningSession &session;
    Controls controls;
    QPlainTextEdit *log;
    QWidget *dialogParent;
    ReplayProject target;
    QVector<RecordedRecord> records;
    int next = 0;
    // The record a seek landed on in the middle of a waterproof run, -1 for none.
    int resumeMidRun = -1;
    qint64 currentRecordMs = 0;
    Speed speed = Speed::Real;
    bool active = false;
    bool paused = false;
    bool delivering = false;
    QTimer tick;
    QElapsedTimer clock;
    qint64 anchorWallMs = 0;
    qint64 anchorRecordMs = 0;
    QElapsedTimer sinceShown;
};

#endif // RECORDINGPLAYER_H
