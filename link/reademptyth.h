#ifndef READEMPTYTH_H
#define READEMPTYTH_H

#include <hidapi/hidapi.h>

#include "link/linktraffic.h"
#include "link/syncedthread.h"

#include <QMutex>
#include <QWaitCondition>

#include <atomic>

// Reads and throws away the board's input while the window waits on the user, so that no stale
// records are left when sampling goes on. Finishes at once when started without a device; a
// device taken away while it runs leaves it idling until another one is set.
class ReadEmptyTh : public SyncedThread
{
    Q_OBJECT

public:
    // What it throws away goes into traffic when given.
    explicit ReadEmptyTh(LinkTraffic *traffic = nullptr, QObject *parent = nullptr);

    // Returns once a read of the old device has ended (at most one short read), so the old
    // device may be closed afterwards.
    void setDevice(hid_device *device);
    // Ends the drain after its current read and waits for it (at most one short read), so that a
    // later start() drains again.
    void requestStop();

protected:
    void run() override;

private:
    // The device of the next read, marked as in use until the read ended; null when none.
    hid_device *beginRead();
    void endRead();

    LinkTraffic *const traffic;
    QMutex mutex;
    QWaitCondition readDone;
    hid_device *hidDevice = nullptr;
    bool reading = false;
    std::atomic<bool> stopRequested{false};
};

#endif // READEMPTYTH_H
