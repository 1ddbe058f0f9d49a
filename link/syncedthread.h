#ifndef SYNCEDTHREAD_H
#define SYNCEDTHREAD_H

#include "link/tsansync.h"

#include <QDeadlineTimer>
#include <QThread>

// A QThread whose end is handed over to the caller of wait(), which Qt's own wait does not show to
// ThreadSanitizer (see tsansync.h). run() begins with an EndOfRun guard.
class SyncedThread : public QThread
{
public:
    using QThread::QThread;

    bool wait(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever))
    {
        return handOver(QThread::wait(deadline));
    }
    bool wait(unsigned long time) { return handOver(QThread::wait(time)); }

protected:
    // Whatever run() did is handed over when it returns.
    class EndOfRun
    {
    public:
        explicit EndOfRun(const SyncedThread *thread) : thread(thread) {}
        ~EndOfRun() { tsansync::release(thread); }
        EndOfRun(const EndOfRun &) = delete;
        EndOfRun &operator=(const EndOfRun &) = delete;

    private:
        const SyncedThread *thread;
    };

private:
    bool handOver(bool ended)
    {
        if (ended)
            tsansync::acquire(this);
        return ended;
    }
};

#endif // SYNCEDTHREAD_H
