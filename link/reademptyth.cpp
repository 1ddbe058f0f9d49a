#include "link/reademptyth.h"

#include "link/protocol.h"

namespace
{
// Short blocking reads keep the drain from spinning while still ending soon after a stop request.
constexpr int kDrainReadTimeoutMs = 50;
constexpr int kErrorPauseMs = 20;
} // namespace

ReadEmptyTh::ReadEmptyTh(QObject *parent) : SyncedThread(parent)
{
}

void ReadEmptyTh::setDevice(hid_device *device)
{
    hidDevice.store(device);
}

void ReadEmptyTh::requestStop()
{
    stopRequested.store(true);
    wait();
    stopRequested.store(false);
}

void ReadEmptyTh::run()
{
    const EndOfRun end(this);
    hid_device *device = hidDevice.load();
    if (!device)
        return;
    unsigned char buffer[protocol::kReportSize];
    while (!stopRequested.load()) {
        if (hid_read_timeout(device, buffer, sizeof buffer, kDrainReadTimeoutMs) < 0)
            msleep(kErrorPauseMs);
    }
}
