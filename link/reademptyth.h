#ifndef READEMPTYTH_H
#define READEMPTYTH_H

#include <hidapi/hidapi.h>

#include "link/syncedthread.h"

#include <atomic>

// Reads and throws away the board's input while the window waits on the user, so that no stale
// records are left when sampling goes on. Finishes at once when started without a device.
class ReadEmptyTh : public SyncedThread
{
    Q_OBJECT

public:
    explicit ReadEmptyTh(QObject *parent = nullptr);

    void setDevice(hid_device *device);
    // Ends the drain after its current read and waits for it (at most one short read), so that a
    // later start() drains again.
    void requestStop();

protected:
    void run() override;

private:
    std::atomic<hid_device *> hidDevice{nullptr};
    std::atomic<bool> stopRequested{false};
};

#endif // READEMPTYTH_H
