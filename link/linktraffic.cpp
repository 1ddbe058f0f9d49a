#include "link/linktraffic.h"

#include "chip/chip.h"
#include "link/encodedecode.h"
#include "link/gatelock.h"
#include "link/reportparser.h"

#include <QDateTime>

#include <algorithm>
#include <cstring>

namespace
{
// The command a host report carries: report ID, frame length, opening flag, then the payload.
QString commandOf(const TrafficEntry &entry)
{
    if (entry.length >= 5 && entry.bytes[4] == protocol::kCmdArgument) {
        if (entry.bytes[3] == protocol::kCmdStart)
            return QStringLiteral("Start");
        if (entry.bytes[3] == protocol::kCmdStop)
            return QStringLiteral("Stop");
    }
    return QStringLiteral("report");
}

QString hexOf(const TrafficEntry &entry)
{
    if (entry.length == 0)
        return QStringLiteral("-");
    int used = entry.length;
    while (used > 0 && entry.bytes[used - 1] == 0)
        --used;
    QString hex = QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(entry.bytes), used).toHex(' ').toUpper());
    if (used < entry.length)
        hex += QStringLiteral(" +%1 x 00").arg(entry.length - used);
    return hex.trimmed();
}

QString directionOf(TrafficVerdict verdict)
{
    switch (LinkTraffic::direction(verdict)) {
    case TrafficDirection::In:
        return QStringLiteral("in ");
    case TrafficDirection::Out:
        return QStringLiteral("out");
    case TrafficDirection::Event:
        break;
    }
    return QStringLiteral("---");
}

QString sourceOf(TrafficSource source)
{
    switch (source) {
    case TrafficSource::Host:
        return QStringLiteral("host  ");
    case TrafficSource::MeasurementReader:
        return QStringLiteral("reader");
    case TrafficSource::VerificationReader:
        return QStringLiteral("verify");
    case TrafficSource::Drain:
        break;
    }
    return QStringLiteral("drain ");
}

QString verdictOf(const TrafficEntry &entry)
{
    switch (entry.verdict) {
    case TrafficVerdict::Record:
        return QStringLiteral("record");
    case TrafficVerdict::BadCheck:
        return QStringLiteral("bad frame: check sequence does not match");
    case TrafficVerdict::BadLength:
    case TrafficVerdict::BadFraming:
        return LinkTraffic::describe(entry.bytes, entry.length);
    case TrafficVerdict::StartRefused:
        return QStringLiteral("Start refused (FE 01)");
    case TrafficVerdict::StopAccepted:
        return QStringLiteral("Stop acknowledged (FF 00)");
    case TrafficVerdict::StopRefused:
        return QStringLiteral("Stop refused (FF 01)");
    case TrafficVerdict::Skipped:
        return QStringLiteral("skipped: ") + LinkTraffic::describe(entry.bytes, entry.length);
    case TrafficVerdict::Discarded:
        return QStringLiteral("discarded: ") + LinkTraffic::describe(entry.bytes, entry.length);
    case TrafficVerdict::NoReply:
        return entry.length ? QStringLiteral("no reply: a report of 1 byte")
                            : QStringLiteral("no reply within the time-out");
    case TrafficVerdict::ReadFailed:
        return QStringLiteral("read failed: no board");
    case TrafficVerdict::NoStopAck:
        return QStringLiteral("no acknowledgement of Stop");
    case TrafficVerdict::Written:
        return QStringLiteral("written: ") + commandOf(entry);
    case TrafficVerdict::WriteFailed:
        return QStringLiteral("write failed: ") + commandOf(entry);
    case TrafficVerdict::Opened:
        return QStringLiteral("board opened");
    case TrafficVerdict::OpenFailed:
        return QStringLiteral("board could not be opened");
    case TrafficVerdict::AccessDenied:
        return QStringLiteral("board listed but access refused (udev rule, or another program)");
    case TrafficVerdict::Plugged:
        return QStringLiteral("plugged in");
    case TrafficVerdict::Unplugged:
        return QStringLiteral("unplugged");
    case TrafficVerdict::Closed:
        return QStringLiteral("board closed");
    }
    return QString();
}
} // namespace

LinkTraffic::LinkTraffic()
{
    // Taken once: adding never allocates, however long the session.
    ring.reserve(kCapacity);
}

void LinkTraffic::add(TrafficSource source, TrafficVerdict verdict, const unsigned char *bytes,
                      int length)
{
    length = bytes ? std::clamp(length, 0, protocol::kReportSize) : 0;
    const GateLock lock(mutex);
    ++count;
    TrafficEntry *entry;
    if (ring.size() < std::size_t(kCapacity)) {
        ring.emplace_back();
        entry = &ring.back();
    } else {
        entry = &ring[next];
        next = (next + 1) % ring.size();
    }
    entry->timeMs = QDateTime::currentMSecsSinceEpoch();
    entry->source = source;
    entry->verdict = verdict;
    entry->length = quint8(length);
    if (length > 0)
        std::memcpy(entry->bytes, bytes, std::size_t(length));
}

QVector<TrafficEntry> LinkTraffic::entries(qint64 *addedThen) const
{
    const GateLock lock(mutex);
    if (addedThen)
        *addedThen = count;
    QVector<TrafficEntry> ordered;
    ordered.reserve(int(ring.size()));
    for (std::size_t n = 0; n < ring.size(); ++n)
        ordered.append(ring[(next + n) % ring.size()]);
    return ordered;
}

qint64 LinkTraffic::added() const
{
    const GateLock lock(mutex);
    return count;
}

TrafficDirection LinkTraffic::direction(TrafficVerdict verdict)
{
    switch (verdict) {
    case TrafficVerdict::Written:
    case TrafficVerdict::WriteFailed:
        return TrafficDirection::Out;
    case TrafficVerdict::Opened:
    case TrafficVerdict::OpenFailed:
    case TrafficVerdict::AccessDenied:
    case TrafficVerdict::Plugged:
    case TrafficVerdict::Unplugged:
    case TrafficVerdict::Closed:
        return TrafficDirection::Event;
    default:
        break;
    }
    return TrafficDirection::In;
}

QString LinkTraffic::describe(const unsigned char *bytes, int length)
{
    if (length < 4)
        return QStringLiteral("a report of %1 bytes").arg(length);
    if (bytes[0] == protocol::kReplyFrameLength) {
        const QString code = QString::fromLatin1(
            QByteArray(reinterpret_cast<const char *>(bytes + 2), 2).toHex(' ').toUpper());
        if (bytes[2] == protocol::kCmdStart)
            return (bytes[3] == protocol::kReplyAccepted ? QStringLiteral("Start accepted (%1)")
                                                         : QStringLiteral("Start refused (%1)"))
                .arg(code);
        if (bytes[2] == protocol::kCmdStop)
            return (bytes[3] == protocol::kReplyAccepted ? QStringLiteral("Stop acknowledged (%1)")
                                                         : QStringLiteral("Stop refused (%1)"))
                .arg(code);
        return QStringLiteral("a reply %1").arg(code);
    }
    const EncodeDecode codec;
    DecoderState decoder;
    QByteArray record;
    TrafficVerdict verdict;
    (void)parseBoardReport(codec, decoder, bytes, length, &record, &verdict);
    switch (verdict) {
    case TrafficVerdict::Record:
        return QStringLiteral("record");
    case TrafficVerdict::BadCheck:
        return QStringLiteral("bad frame: check sequence does not match");
    case TrafficVerdict::BadLength:
        return QStringLiteral("bad frame: payload of %1 bytes, a record has %2")
            .arg(decoder.length - 2)
            .arg(chip::kRecordSize);
    case TrafficVerdict::BadFraming:
        return QStringLiteral("bad frame: a flag or an escape out of place");
    default:
        break;
    }
    if (bytes[2] == protocol::kDataFrameType)
        return QStringLiteral("Data frame with an impossible length byte %1 (%2 bytes read)")
            .arg(bytes[0])
            .arg(length);
    return QStringLiteral("not a frame of the board");
}

QString LinkTraffic::line(const TrafficEntry &entry)
{
    TimeCache cache;
    return line(entry, cache);
}

QString LinkTraffic::line(const TrafficEntry &entry, TimeCache &cache)
{
    // The local date and time of a second is costly to find, and a full ring holds hundreds of
    // entries of each second.
    const qint64 second = entry.timeMs / 1000;
    if (second != cache.second) {
        cache.second = second;
        cache.text = QDateTime::fromMSecsSinceEpoch(second * 1000)
                         .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return cache.text + QStringLiteral(".%1").arg(entry.timeMs % 1000, 3, 10, QLatin1Char('0')) +
           QStringLiteral("  ") + directionOf(entry.verdict) + QStringLiteral("  ") +
           sourceOf(entry.source) + QStringLiteral("  ") + hexOf(entry) + QStringLiteral("  ") +
           verdictOf(entry);
}

QByteArray LinkTraffic::text() const
{
    qint64 all = 0;
    const QVector<TrafficEntry> kept = entries(&all);
    return text(kept, all);
}

QByteArray LinkTraffic::text(const QVector<TrafficEntry> &kept, qint64 added)
{
    QString text = QStringLiteral("# Link traffic: the last %1 of %2 reports and events since the "
                                  "start (%3 older ones dropped)\r\n")
                       .arg(kept.size())
                       .arg(added)
                       .arg(std::max<qint64>(0, added - kept.size()));
    text += QStringLiteral("# time, direction (in: from the board, out: to it, ---: the "
                           "connection), who, the report in hex (+N x 00: N zero bytes "
                           "follow), verdict\r\n");
    TimeCache cache;
    for (const TrafficEntry &entry : kept)
        text += line(entry, cache) + QStringLiteral("\r\n");
    return text.toUtf8();
}
