#include "tuning/streamrecording.h"

#include "chip/chip.h"
#include "project/writefailure.h"
#include "quality/recordingwriter.h"
#include "tuning/tuningrun.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

RecordedRecord::Kind StreamRecording::recordedKind(TuningRun::Kind kind)
{
    switch (kind) {
    case TuningRun::Kind::Single:
        return RecordedRecord::Kind::Single;
    case TuningRun::Kind::Auto:
        return RecordedRecord::Kind::Auto;
    case TuningRun::Kind::Waterproof:
        return RecordedRecord::Kind::Waterproof;
    case TuningRun::Kind::None:
    case TuningRun::Kind::Verification:
        break;
    }
    return RecordedRecord::Kind::None;
}

StreamRecording::StreamRecording(const TuningRun &run, QPushButton *button, QPlainTextEdit *log,
                                 QWidget *dialogParent, QObject *parent)
    : QObject(parent), run(run), button(button), log(log), dialogParent(dialogParent)
{
    // A run started again replays as a run of its own only where the recording says the first
    // one ended.
    connect(&run, &TuningRun::runEnded, this, &StreamRecording::addEnd);
    flushTimer.setInterval(kFlushMs);
    connect(&flushTimer, &QTimer::timeout, this, [this] {
        if (writer && !writer->flushBlock())
            failed();
    });
}

StreamRecording::~StreamRecording() = default;

void StreamRecording::toggle(const QString &folder, const QString &projectName)
{
    if (isRecording()) {
        if (!held)
            stop();
        return;
    }
    (void)startIn(folder, projectName);
}

bool StreamRecording::startIn(const QString &folder, const QString &projectName)
{
    QDir().mkpath(folder);
    const QDateTime now = QDateTime::currentDateTime();
    // A recording begun within the second of the last one (a false-touch run stopped and begun
    // again) would otherwise truncate that one's file.
    QString path = QDir(folder).filePath(RecordingFile::fileName(projectName, now));
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = QDir(folder).filePath(RecordingFile::fileName(projectName, now, copy));
    return start(path);
}

bool StreamRecording::start(const QString &path)
{
    auto fresh = std::make_unique<RecordingWriter>();
    QString error;
    if (!fresh->open(path, &error)) {
        warnWriteFailed(dialogParent, path);
        return false;
    }
    // Queued: the writer's thread reports, the recording ends here.
    connect(fresh.get(), &RecordingWriter::writeFailed, this, &StreamRecording::failed,
            Qt::QueuedConnection);
    writer = std::move(fresh);
    recordingPath = path;
    clock.start();
    flushTimer.start();
    button->setText(tr("停止录制"));
    log->appendPlainText(tr("开始录制：%1").arg(QDir::toNativeSeparators(path)));
    return true;
}

void StreamRecording::setHeld(bool on)
{
    held = on;
    button->setEnabled(!on);
}

bool StreamRecording::stop()
{
    if (!writer)
        return true;
    flushTimer.stop();
    const bool written = writer->finish();
    const qint64 count = writer->recordCount();
    writer.reset();
    button->setText(tr("录制"));
    if (!written) {
        // Whoever relies on the recording hears of it before the box waits for the user.
        emit ended(true);
        warnWriteFailed(dialogParent, recordingPath);
        return false;
    }
    log->appendPlainText(
        tr("录制结束：%1，%2 条记录").arg(QDir::toNativeSeparators(recordingPath)).arg(count));
    emit ended(false);
    return true;
}

void StreamRecording::add(const QByteArray &record, int crcFailed, bool verificationReader,
                          qint64 lateMs)
{
    if (!writer)
        return;
    RecordedRecord::Kind kind = RecordedRecord::Kind::Verification;
    RecordedRecord::Phase phase = RecordedRecord::Phase::None;
    int channel = -1;
    if (!verificationReader) {
        kind = recordedKind(run.kind());
        channel = run.channel();
        if (kind == RecordedRecord::Kind::Waterproof)
            phase = RecordedRecord::Phase::Water;
        else if (kind != RecordedRecord::Kind::None)
            phase = run.sampleCount() < chip::kSamplesPerPhase ? RecordedRecord::Phase::NoTouch
                                                               : RecordedRecord::Phase::Touch;
    }
    if (kind == RecordedRecord::Kind::None || kind == RecordedRecord::Kind::Verification)
        channel = -1;
    const qint64 at = std::max<qint64>(0, clock.elapsed() - lateMs);
    if (!writer->add(RecordedRecord::of(at, kind, phase, channel, crcFailed, record)))
        failed();
}

void StreamRecording::addEnd(TuningRun::Kind, int channel, TuningRun::Ending ending)
{
    if (!writer)
        return;
    const RecordedRecord::Phase how =
        ending == TuningRun::Ending::Finished  ? RecordedRecord::Phase::Finished
        : ending == TuningRun::Ending::Stopped ? RecordedRecord::Phase::Stopped
                                               : RecordedRecord::Phase::Failed;
    if (!writer->add(RecordedRecord::of(clock.elapsed(), RecordedRecord::Kind::End, how, channel, 0,
                                        QByteArray())))
        failed();
}

void StreamRecording::markUntouched()
{
    if (writer &&
        !writer->add(RecordedRecord::of(clock.elapsed(), RecordedRecord::Kind::Mark,
                                        RecordedRecord::Phase::Untouched, -1, 0, QByteArray())))
        failed();
}

void StreamRecording::failed()
{
    // The writer keeps the failure; stop() reports it once.
    if (writer)
        stop();
}
