#include "quality/recordingwriter.h"

#include <QMutexLocker>

RecordingWriter::RecordingWriter(QObject *parent) : QThread(parent) {}

RecordingWriter::~RecordingWriter() { (void)finish(); }

bool RecordingWriter::open(const QString &path, QString *error)
{
    filePath = path;
    file.setFileName(path);
    const QByteArray head = RecordingFile::header();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(head) != head.size() ||
        !file.flush()) {
        if (error)
            *error = file.errorString();
        file.close();
        return false;
    }
    block.reserve(kBlockBytes + 256);
    start();
    return true;
}

bool RecordingWriter::add(const RecordedRecord &record)
{
    RecordingFile::appendLine(&block, record);
    ++records;
    return block.size() < kBlockBytes ? !hasFailed() : flushBlock();
}

bool RecordingWriter::flushBlock()
{
    QMutexLocker lock(&mutex);
    if (failed || !isRunning()) {
        block.clear();
        return !failed;
    }
    if (block.isEmpty())
        return true;
    pendingBytes += block.size();
    if (pendingBytes > kMaxPendingBytes) {
        // The disk does not keep up: the stream would fill the memory.
        failed = true;
        queue.clear();
        block.clear();
        wake.wakeAll();
        return false;
    }
    queue.append(block);
    block.clear();
    block.reserve(kBlockBytes + 256);
    wake.wakeAll();
    return true;
}

bool RecordingWriter::finish()
{
    if (isRunning()) {
        (void)flushBlock();
        {
            QMutexLocker lock(&mutex);
            stopping = true;
            wake.wakeAll();
        }
        wait();
    }
    if (file.isOpen())
        file.close();
    return !hasFailed();
}

bool RecordingWriter::hasFailed() const
{
    QMutexLocker lock(&mutex);
    return failed;
}

void RecordingWriter::run()
{
    for (;;) {
        QByteArray next;
        {
            QMutexLocker lock(&mutex);
            while (queue.isEmpty() && !stopping && !failed)
                wake.wait(&mutex);
            if (failed || queue.isEmpty())
                return;
            next = queue.takeFirst();
        }
        const bool written = file.write(next) == next.size() && file.flush();
        QMutexLocker lock(&mutex);
        pendingBytes -= next.size();
        if (!written) {
            failed = true;
            queue.clear();
            lock.unlock();
            emit writeFailed();
            return;
        }
    }
}
