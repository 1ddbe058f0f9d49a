#ifndef RECORDINGWRITER_H
#define RECORDINGWRITER_H

#include "quality/recordingfile.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QThread>

#include <condition_variable>
#include <mutex>

// Writes a recording to its file from a thread of its own: the owner's thread formats each record
// into a block and hands over full blocks, so that a fast stream never waits for the disk. A
// write that fails ends the writing and is reported once through writeFailed; what was written
// stays in the file. Shares with the owner's thread only the queue and the flags, under its mutex:
// a standard one, whose hand-overs the thread sanitizer sees (it cannot see inside Qt's).
class RecordingWriter : public QThread
{
    Q_OBJECT

public:
    // A block is handed over once it holds this much.
    static constexpr int kBlockBytes = 64 * 1024;
    // Blocks waiting for the disk beyond this much count as a failed write.
    static constexpr qint64 kMaxPendingBytes = 64LL * 1024 * 1024;

    explicit RecordingWriter(QObject *parent = nullptr);
    // Ends the writing as finish() does.
    ~RecordingWriter() override;

    // Creates the file with the header line and starts the thread; false with the reason in error
    // when the file cannot be written.
    [[nodiscard]] bool open(const QString &path, QString *error);
    // One record; a full block goes to the thread. False once the writing has failed.
    bool add(const RecordedRecord &record);
    // Hands over what the block holds (the owner does so now and then, so that a slow stream is
    // written too). False once the writing has failed.
    bool flushBlock();
    // Hands over the rest, waits until everything is written and closes the file; true when
    // nothing failed.
    bool finish();
    bool hasFailed() const;
    QString path() const { return filePath; }
    qint64 recordCount() const { return records; }

signals:
    // The file could not take a block (emitted on the writer's thread, under its mutex: connect
    // it queued).
    void writeFailed();

protected:
    void run() override;

private:
    QString filePath;
    QFile file;
    QByteArray block;
    qint64 records = 0;

    mutable std::mutex mutex;
    std::condition_variable wake;
    QList<QByteArray> queue;
    qint64 pendingBytes = 0;
    bool stopping = false;
    bool failed = false;
};

#endif // RECORDINGWRITER_H
