#include "link/reademptyth.h"

#include "link/gatelock.h"

#include "link/protocol.h"

namespace
{
// Short blocking reads keep the drain from spinning while still ending soon after a stop request.
constexpr int kDrainReadTimeoutMs = 50;
constexpr int kErrorPauseMs = 20;
} // namespace

ReadEmptyTh::ReadEmptyTh(LinkTraffic *traffic, QObject *parent)
    : SyncedThread(parent), traffic(traffic)
{
}

void ReadEmptyTh::setDevice(hid_device *device)
{
    GateLock lock(mutex);
    hidDevice = device;
    while (reading)
        lock.wait(readDone);
}

void ReadEmptyTh::requestStop()
{
    stopRequested.store(true);
    wait();
    stopRequested.store(false);
}

hid_device *ReadEmptyTh::beginRead()
{
    GateLock lock(mutex);
    reading = hidDevice != nullptr;
    return hidDevice;
}

void ReadEmptyTh::endRead()
{
    GateLock lock(mutex);
    reading = false;
    readDone.wakeAll();
}

void ReadEmptyTh::run()
{
    const EndOfRun end(this);
    {
        GateLock lock(mutex);
        if (!hidDevice)
            return;
    }
    unsigned char buffer[protocol::kReportSize];
    while (!stopRequested.load()) {
        hid_device *device = beginRead();
        const int r =
            device ? hid_read_timeout(device, buffer, sizeof buffer, kDrainReadTimeoutMs) : -1;
        endRead();
        if (r > 0 && traffic)
            traffic->add(TrafficSource::Drain, TrafficVerdict::Discarded, buffer, r);
        if (r < 0)
            msleep(kErrorPauseMs);
    }
}
