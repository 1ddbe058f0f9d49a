#ifndef READERGATE_H
#define READERGATE_H

#include <hidapi/hidapi.h>

#include "link/gatelock.h"

#include <QMutex>
#include <QWaitCondition>

#include <cstddef>

// The armed flag and the device of one reader thread, and the hand-over around them. A disarmed
// reader sleeps on a wait condition; arm() wakes it at once; disarm() returns only after a read
// step in progress has ended, so the GUI thread may read the device itself afterwards.
class ReaderGate
{
public:
    // backlog: the step hands over what the board queued since the last one instead of dropping
    // it (see BoardReader::armForBacklog).
    void arm(bool backlog = false);
    void disarm();
    bool isArmed() const;
    // Ends the reader's loop for good; used only when the process exits.
    void requestStop();
    // The device the next step reads (null: none). Returns once a step that still uses the old
    // one has ended; a read of it in progress gives up after its current slice.
    void setDevice(hid_device *device);
    // Takes the device away; afterwards the old device may be closed. A reader left armed reports
    // a time-out at its next step.
    void detach();

    // Reader side: blocks while disarmed, then marks a step as running on *device, with the kind
    // of arming in *backlog. False once a stop was requested.
    bool beginStep(hid_device **device, bool *backlog);
    // Reader side: hid_read_timeout over timeoutMs, taken in short slices so that a stop request
    // or a change of device does not wait for the whole time-out; 0 when nothing came.
    int read(hid_device *device, unsigned char *buffer, std::size_t length, int timeoutMs) const;
    // Reader side: runs finish under the lock (it emits the result and says whether the reader
    // goes idle), so an arm() that reacts to the result cannot be undone by the disarming.
    template <typename Finish> void endStep(Finish finish)
    {
        GateLock lock(mutex);
        if (finish())
            armed = false;
        stepping = false;
        stepDone.wakeAll();
    }

private:
    // Caller holds mutex.
    void waitForStepEnd(GateLock &lock);

    mutable QMutex mutex;
    QWaitCondition wake;
    QWaitCondition stepDone;
    bool armed = false;
    bool backlogWanted = false;
    bool stepping = false;
    bool stopRequested = false;
    hid_device *device = nullptr;
};

#endif // READERGATE_H
