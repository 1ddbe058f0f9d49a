#ifndef READERGATE_H
#define READERGATE_H

#include <hidapi/hidapi.h>

#include "link/gatelock.h"

#include <QMutex>
#include <QWaitCondition>

#include <cstddef>

// The armed flag of one reader thread and the hand-over around it. A disarmed reader sleeps on a
// wait condition; arm() wakes it at once; disarm() returns only after a read step in progress has
// ended, so the GUI thread may read the device itself afterwards.
class ReaderGate
{
public:
    void arm();
    void disarm();
    bool isArmed() const;
    // Ends the reader's loop for good; used only when the process exits.
    void requestStop();

    // Reader side: blocks while disarmed, then marks a step as running. False once a stop was
    // requested.
    bool beginStep();
    // Reader side: hid_read_timeout over timeoutMs, taken in short slices so that a stop request
    // at exit does not wait for the whole time-out; 0 when nothing came.
    int read(hid_device *device, unsigned char *buffer, std::size_t length, int timeoutMs) const;
    // Reader side: runs finish under the lock (it emits the result and says whether the reader
    // goes idle), so an arm() that reacts to the result cannot be undone by the disarming.
    template <typename Finish>
    void endStep(Finish finish)
    {
        GateLock lock(mutex);
        if (finish())
            armed = false;
        stepping = false;
        stepDone.wakeAll();
    }

private:
    mutable QMutex mutex;
    QWaitCondition wake;
    QWaitCondition stepDone;
    bool armed = false;
    bool stepping = false;
    bool stopRequested = false;
};

#endif // READERGATE_H
