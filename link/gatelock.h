#ifndef GATELOCK_H
#define GATELOCK_H

#include "link/tsansync.h"

#include <QMutex>
#include <QWaitCondition>

// A scoped lock of a QMutex that also tells ThreadSanitizer about the lock, and about a wait that
// gives the lock up for a while (see tsansync.h). Without the sanitizer this is QMutexLocker
// (whose type Qt 6 made a template).
class GateLock
{
public:
    explicit GateLock(QMutex &mutex) : mutex(mutex)
    {
        mutex.lock();
        tsansync::acquire(&mutex);
    }
    ~GateLock()
    {
        tsansync::release(&mutex);
        mutex.unlock();
    }
    GateLock(const GateLock &) = delete;
    GateLock &operator=(const GateLock &) = delete;

    void wait(QWaitCondition &condition)
    {
        tsansync::release(&mutex);
        tsansync::waitGivesUp(&mutex);
        condition.wait(&mutex);
        tsansync::waitTakesBack(&mutex);
        tsansync::acquire(&mutex);
    }

private:
    QMutex &mutex;
};

#endif // GATELOCK_H
