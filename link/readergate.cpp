#include "link/readergate.h"

void ReaderGate::arm()
{
    QMutexLocker lock(&mutex);
    armed = true;
    wake.wakeAll();
}

void ReaderGate::disarm()
{
    QMutexLocker lock(&mutex);
    armed = false;
    while (stepping)
        stepDone.wait(&mutex);
}

bool ReaderGate::isArmed() const
{
    QMutexLocker lock(&mutex);
    return armed;
}

void ReaderGate::requestStop()
{
    QMutexLocker lock(&mutex);
    stopRequested = true;
    wake.wakeAll();
}

bool ReaderGate::beginStep()
{
    QMutexLocker lock(&mutex);
    while (!armed && !stopRequested)
        wake.wait(&mutex);
    if (stopRequested)
        return false;
    stepping = true;
    return true;
}
