#ifndef BOARDREADER_H
#define BOARDREADER_H

#include "link/encodedecode.h"
#include "link/linktraffic.h"
#include "link/readergate.h"
#include "link/reportparser.h"
#include "link/syncedthread.h"

#include <hidapi/hidapi.h>

#include <QByteArray>
#include <QThread>

// What the measurement reader and the verification reader share: the device handle, the frame
// decoder, the armed flag and the loop of armed reads. A subclass says what each result emits.
class BoardReader : public SyncedThread
{
    Q_OBJECT

public:
    // Returns once a read of the old device has ended.
    void setDevice(hid_device *device);
    // Lets go of the device; a read of it in progress ends within a short slice, and a reader
    // still armed reports a time-out. Afterwards the device may be closed.
    void detach();
    void arm();
    // An arming that hands every report the board queued since the last step (at most
    // kDrainReads), in order and without waiting, to takeQueued, and ends with emitQueued; when
    // none of them was kept it waits for the next report as arm() does. A stream read so wakes the
    // reader once per handful of reports instead of once per report.
    void armForBacklog();
    // Returns after a read in progress has ended.
    void disarm();
    bool isArmed() const;
    // Ends the thread's loop; only for process exit, followed by wait().
    void requestStop();
    // Handles one received report and emits what it carries; true when the reader goes idle.
    virtual bool parseReport(const unsigned char *report, int received) = 0;

protected:
    // Every report read goes into traffic, when given, as read by source.
    BoardReader(LinkTraffic *traffic, TrafficSource source, QObject *parent);
    // One read per arming until a stop is requested. dropBacklog first empties the queue of
    // reports, so the result is the board's state now rather than a backlog.
    void readLoop(int timeoutMs, bool dropBacklog);
    // Nothing usable came within the time-out (or the read failed).
    virtual void reportTimeout() = 0;
    // A queued report of a backlog step: true when it is kept for emitQueued, which emits what was
    // kept and returns true when the reader goes idle. The defaults keep nothing.
    virtual bool takeQueued(const unsigned char *report, int received);
    virtual bool emitQueued();
    BoardReport classify(const unsigned char *report, int received, QByteArray *record);

private:
    void keep(TrafficVerdict verdict, const unsigned char *report, int received)
    {
        if (traffic)
            traffic->add(source, verdict, report, received);
    }

    LinkTraffic *const traffic;
    const TrafficSource source;
    EncodeDecode *codec;
    DecoderState decoder;
    ReaderGate gate;
    unsigned char rxBuffer[protocol::kReportSize] = {};
};

#endif // BOARDREADER_H
