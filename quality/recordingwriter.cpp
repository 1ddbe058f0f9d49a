#include "quality/recordingwriter.h"


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
    std::lock_guard<std::mutex> lock(mutex);
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
        wake.notify_all();
        return false;
    }
    queue.append(block);
    block.clear();
    block.reserve(kBlockBytes + 256);
    wake.notify_all();
    return true;
}

bool RecordingWriter::finish()
{
    if (isRunning()) {
        (void)flushBlock();
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
            wake.notify_all();
        }
        wait();
        // The thread's last touch of the file came before its last unlock: taking the mutex
        // once more orders the close after it.
        std::lock_guard<std::mutex> lock(mutex);
    }
    if (file.isOpen())
        file.close();
    return !hasFailed();
}

bool RecordingWriter::hasFailed() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return failed;
}

void RecordingWriter::run()
{
    for (;;) {
        QByteArray next;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [this] { return !queue.isEmpty() || stopping || failed; });
            if (failed || queue.isEmpty())
                return;
            next = queue.takeFirst();
        }
        const bool written = file.write(next) == next.size() && file.flush();
        std::lock_guard<std::mutex> lock(mutex);
        pendingBytes -= next.size();
        if (!written) {
            failed = true;
            queue.clear();
            // Still under the mutex, so that the owner, which may delete this writer as soon as
            // it has waited for the thread, comes after the signal (queued to the owner's thread).
            emit writeFailed();
            return;
        }
    }
}
