#ifndef GATELOCK_H
#define GATELOCK_H

#include "link/tsansync.h"

#include <QMutex>
#include <QMutexLocker>
#include <QWaitCondition>

// A QMutexLocker that also tells ThreadSanitizer about the lock, and about a wait that gives the
// lock up for a while (see tsansync.h). Without the sanitizer this is QMutexLocker.
class GateLock
{
public:
    explicit GateLock(QMutex &mutex) : locker(&mutex), mutex(mutex) { tsansync::acquire(&mutex); }
    ~GateLock() { tsansync::release(&mutex); }
    GateLock(const GateLock &) = delete;
    GateLock &operator=(const GateLock &) = delete;

    void wait(QWaitCondition &condition)
    {
        tsansync::release(&mutex);
        condition.wait(&mutex);
        tsansync::acquire(&mutex);
    }

private:
    QMutexLocker locker;
    QMutex &mutex;
};

#endif // GATELOCK_H
