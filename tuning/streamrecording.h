#ifndef STREAMRECORDING_H
#define STREAMRECORDING_H

#include "quality/recordingfile.h"
#include "tuning/tuningrun.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QPlainTextEdit;
class QPushButton;
class QWidget;
class RecordingWriter;

// The "录制" button: every record the readers deliver, during any run, goes with its arrival
// time, the run's kind and phase, the channel under test and the check flag into a CSV file
// beside the project (RecordingFile), written off the GUI thread; so does where each run ended.
// A write that fails ends the recording with a message; what was written stays.
class StreamRecording : public QObject
{
    Q_OBJECT

public:
    // Blocks go to the disk at least this often, however slow the stream.
    static constexpr int kFlushMs = 250;

    StreamRecording(const TuningRun &run, QPushButton *button, QPlainTextEdit *log,
                    QWidget *dialogParent, QObject *parent = nullptr);
    ~StreamRecording() override;

    // The button: a recording into folder for the project, or the end of the one going on.
    void toggle(const QString &folder, const QString &projectName);
    // Starts recording into path; false, with its message shown, when the file cannot be made.
    bool start(const QString &path);
    // Starts a recording for the project in folder under a name no file has yet.
    bool startIn(const QString &folder, const QString &projectName);
    // Ends the recording, everything handed over written; false when a write failed (its
    // message shown).
    bool stop();
    bool isRecording() const { return writer != nullptr; }
    QString path() const { return recordingPath; }
    // While held (a false-touch run records), the button cannot end the recording.
    void setHeld(bool on);
    // Time since the recording started, in ms.
    qint64 elapsedMs() const { return clock.isValid() ? clock.elapsed() : 0; }

    // A record as the measurement reader (verificationReader false) or the verification reader
    // delivered it, lateMs after it arrived (a record of a block).
    void add(const QByteArray &record, int crcFailed, bool verificationReader, qint64 lateMs = 0);
    // From here to the end of the run that follows, nobody touches the panel (a false-touch
    // run): a mark line.
    void markUntouched();
    // The kind a measurement record of a run of this kind is recorded with.
    static RecordedRecord::Kind recordedKind(TuningRun::Kind kind);

signals:
    // The recording ended, by stop() or by a failed write (failed true).
    void ended(bool failed);

private:
    // Where the run ended, a line that says how.
    void addEnd(TuningRun::Kind kind, int channel, TuningRun::Ending ending);
    void failed();

    const TuningRun &run;
    QPushButton *button;
    QPlainTextEdit *log;
    QWidget *dialogParent;
    std::unique_ptr<RecordingWriter> writer;
    QString recordingPath;
    QElapsedTimer clock;
    QTimer flushTimer;
    bool held = false;
};

#endif // STREAMRECORDING_H
