#include "link/boardreader.h"

#include <algorithm>

BoardReader::BoardReader(LinkTraffic *traffic, TrafficSource source, QObject *parent)
    : SyncedThread(parent), traffic(traffic), source(source), codec(new EncodeDecode(this))
{
}

void BoardReader::setDevice(hid_device *device) { gate.setDevice(device); }

void BoardReader::detach() { gate.detach(); }

void BoardReader::arm() { gate.arm(); }

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
    while (gate.beginStep(&device)) {
        if (device && dropBacklog) {
            for (int n = 0; n < protocol::kDrainReads; ++n) {
                const int dropped = hid_read(device, rxBuffer, sizeof rxBuffer);
                if (dropped > 0)
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
