#include "link/readergate.h"

#include <QElapsedTimer>

#include <algorithm>

namespace
{
constexpr int kReadSliceMs = 100;
} // namespace

void ReaderGate::arm(bool backlog)
{
    {
        GateLock lock(mutex);
        armed = true;
        backlogWanted = backlog;
    }
    // Woken after the lock is let go, so that the reader does not wake only to wait for it.
    wake.wakeAll();
}

void ReaderGate::disarm()
{
    GateLock lock(mutex);
    armed = false;
    waitForStepEnd(lock);
}

void ReaderGate::setDevice(hid_device *newDevice)
{
    GateLock lock(mutex);
    device = newDevice;
    waitForStepEnd(lock);
}

void ReaderGate::detach()
{
    GateLock lock(mutex);
    // Still armed, a reader that was asked for a report takes one step without a device and
    // reports the time-out, as a read of a pulled board does: the run waiting for it ends.
    device = nullptr;
    waitForStepEnd(lock);
}

void ReaderGate::waitForStepEnd(GateLock &lock)
{
    while (stepping)
        lock.wait(stepDone);
}

bool ReaderGate::isArmed() const
{
    GateLock lock(mutex);
    return armed;
}

void ReaderGate::requestStop()
{
    GateLock lock(mutex);
    stopRequested = true;
    wake.wakeAll();
}

bool ReaderGate::beginStep(hid_device **stepDevice, bool *backlog)
{
    GateLock lock(mutex);
    while (!armed && !stopRequested)
        lock.wait(wake);
    if (stopRequested)
        return false;
    stepping = true;
    *stepDevice = device;
    *backlog = backlogWanted;
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
        GateLock lock(mutex);
        if (stopRequested || device != stepDevice)
            return 0;
    }
}
