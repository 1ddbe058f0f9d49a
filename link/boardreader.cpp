#include "link/boardreader.h"

#include <algorithm>

BoardReader::BoardReader(LinkTraffic *traffic, TrafficSource source, QObject *parent)
    : SyncedThread(parent), traffic(traffic), source(source), codec(new EncodeDecode(this))
{
}

void BoardReader::setDevice(hid_device *device) { gate.setDevice(device); }

void BoardReader::detach() { gate.detach(); }

void BoardReader::arm() { gate.arm(); }

void BoardReader::armForBacklog() { gate.arm(true); }

bool BoardReader::takeQueued(const unsigned char *, int) { return false; }

bool BoardReader::emitQueued() { return true; }

void BoardReader::disarm() { gate.disarm(); }

bool BoardReader::isArmed() const { return gate.isArmed(); }

void BoardReader::requestStop() { gate.requestStop(); }

BoardReport BoardReader::classify(const unsigned char *report, int received, QByteArray *record)
{
    TrafficVerdict verdict;
    const BoardReport kind = parseBoardReport(*codec, decoder, report, received, record, &verdict);
    keep(verdict, report, received);
    return kind;
}

void BoardReader::readLoop(int timeoutMs, bool dropBacklog)
{
    const EndOfRun end(this);
    hid_device *device = nullptr;
    bool backlog = false;
    while (gate.beginStep(&device, &backlog)) {
        if (device && backlog) {
            bool kept = false;
            for (int n = 0; n < protocol::kDrainReads; ++n) {
                const int r = hid_read(device, rxBuffer, sizeof rxBuffer);
                if (r <= 0)
                    break;
                kept = takeQueued(rxBuffer, r) || kept;
            }
            if (kept) {
                gate.endStep([&] { return emitQueued(); });
                continue;
            }
        } else if (device && dropBacklog) {
            // The queue is empty once a read finds nothing; the reads after it would find nothing
            // either, each at the cost of a look at the device.
            for (int n = 0; n < protocol::kDrainReads; ++n) {
                const int dropped = hid_read(device, rxBuffer, sizeof rxBuffer);
                if (dropped <= 0)
                    break;
                keep(TrafficVerdict::Discarded, rxBuffer, dropped);
            }
        }
        const int r = gate.read(device, rxBuffer, sizeof rxBuffer, timeoutMs);
        gate.endStep([&] {
            if (r <= 1) {
                keep(r < 0 ? TrafficVerdict::ReadFailed : TrafficVerdict::NoReply, rxBuffer,
                     std::max(r, 0));
                reportTimeout();
                return true;
            }
            return parseReport(rxBuffer, r);
        });
    }
}
