#include "link/readergate.h"

#include <QElapsedTimer>

#include <algorithm>

namespace
{
constexpr int kReadSliceMs = 100;
} // namespace

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
    waitForStepEnd();
}

void ReaderGate::setDevice(hid_device *newDevice)
{
    QMutexLocker lock(&mutex);
    device = newDevice;
    waitForStepEnd();
}

void ReaderGate::detach()
{
    QMutexLocker lock(&mutex);
    armed = false;
    device = nullptr;
    waitForStepEnd();
}

void ReaderGate::waitForStepEnd()
{
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

bool ReaderGate::beginStep(hid_device **stepDevice)
{
    QMutexLocker lock(&mutex);
    while (!armed && !stopRequested)
        wake.wait(&mutex);
    if (stopRequested)
        return false;
    stepping = true;
    *stepDevice = device;
    return true;
}

int ReaderGate::read(hid_device *stepDevice, unsigned char *buffer, std::size_t length,
                     int timeoutMs) const
{
    if (!stepDevice)
        return -1;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const qint64 left = timeoutMs - clock.elapsed();
        const int r = hid_read_timeout(stepDevice, buffer, length,
                                       int(std::clamp<qint64>(left, 0, kReadSliceMs)));
        if (r != 0 || left <= kReadSliceMs)
            return r;
        QMutexLocker lock(&mutex);
        if (stopRequested || device != stepDevice)
            return 0;
    }
}
