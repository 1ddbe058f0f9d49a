#ifndef LINKTRAFFIC_H
#define LINKTRAFFIC_H

#include "link/protocol.h"

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QVector>

#include <vector>

// Who read or wrote a report: the GUI thread's own exchanges (writes, drains, the wait for a
// Stop acknowledgement, the connection's events) or one of the reader threads.
enum class TrafficSource : quint8 {
    Host,
    MeasurementReader,
    VerificationReader,
    Drain,
};

// What the tool made of a report, or which event of the connection an entry is.
enum class TrafficVerdict : quint8 {
    // Read from the board.
    Record,       // a whole Data frame, delivered
    BadCheck,     // a Data frame delivered as failed: its check sequence does not match
    BadLength,    // ... its payload is not one record (cut short or too long)
    BadFraming,   // ... a flag or an escape out of place
    StartRefused, // FE 01, reported as a refused Start
    StopAccepted, // FF 00, the acknowledgement of Stop awaited
    StopRefused,  // FF 01
    Skipped,      // nothing for the one reading it, which reads on
    Discarded,    // thrown away by a drain
    NoReply,      // nothing (or a single byte) within the read's time-out
    ReadFailed,   // the read failed: no board any more
    NoStopAck,    // the wait for the acknowledgement of Stop ended without one
                  // Written to the board.
    Written,
    WriteFailed,
    // The connection.
    Opened,
    OpenFailed,
    AccessDenied, // listed but may not be opened (on Linux, the udev rule)
    Plugged,
    Unplugged,
    Closed,
};

enum class TrafficDirection : quint8 {
    In,
    Out,
    Event,
};

struct TrafficEntry
{
    qint64 timeMs = 0; // since the epoch
    TrafficSource source = TrafficSource::Host;
    TrafficVerdict verdict = TrafficVerdict::Record;
    quint8 length = 0; // bytes kept; none for events
    unsigned char bytes[protocol::kReportSize] = {};
};

// The link's traffic in memory: every report written and read, with its time, who handled it and
// the verdict, and the connection's events, the last kCapacity of them. Any thread adds; an
// entry costs a short lock and one copy into storage taken once, so the readers keep their pace.
class LinkTraffic
{
public:
    static constexpr int kCapacity = 20000;

    LinkTraffic();

    // Keeps at most a report's bytes of a longer buffer.
    void add(TrafficSource source, TrafficVerdict verdict, const unsigned char *bytes = nullptr,
             int length = 0);
    // The kept entries, oldest first; addedThen, when given, the entries added until then.
    QVector<TrafficEntry> entries(qint64 *addedThen = nullptr) const;
    // Entries added since the start, the dropped ones too.
    qint64 added() const;

    static TrafficDirection direction(TrafficVerdict verdict);
    // One line of the text: time, direction, who, the report in hex (a run of zeros at its end
    // counted, not spelled), verdict.
    static QString line(const TrafficEntry &entry);
    // What a report's bytes are, as a reader's parser sees them ("record", "Stop accepted
    // (FF 00)", ...); for the reports a drain or a wait passed over.
    static QString describe(const unsigned char *bytes, int length);
    // The readable file: a header saying how many were kept of how many, then the lines; UTF-8,
    // Windows line ends.
    QByteArray text() const;
    // The same of a copy taken by entries(&added), on any thread.
    static QByteArray text(const QVector<TrafficEntry> &kept, qint64 added);

private:
    // The text of the last second a line was written in.
    struct TimeCache
    {
        qint64 second = -1;
        QString text;
    };
    static QString line(const TrafficEntry &entry, TimeCache &cache);

    // Qt's mutex, with GateLock telling ThreadSanitizer of it: the standard one is missing from
    // MinGW's win32 thread model, which the Windows build may use.
    mutable QMutex mutex;
    std::vector<TrafficEntry> ring;
    std::size_t next = 0;
    qint64 count = 0;
};

#endif // LINKTRAFFIC_H
