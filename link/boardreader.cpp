#include "link/boardreader.h"

BoardReader::BoardReader(QObject *parent) : SyncedThread(parent), codec(new EncodeDecode(this)) {}

void BoardReader::setDevice(hid_device *device) { gate.setDevice(device); }

void BoardReader::detach() { gate.detach(); }

void BoardReader::arm() { gate.arm(); }

void BoardReader::disarm() { gate.disarm(); }

bool BoardReader::isArmed() const { return gate.isArmed(); }

void BoardReader::requestStop() { gate.requestStop(); }

BoardReport BoardReader::classify(const unsigned char *report, int received, QByteArray *record)
{
    return parseBoardReport(*codec, decoder, report, received, record);
}

void BoardReader::readLoop(int timeoutMs, bool dropBacklog)
{
    const EndOfRun end(this);
    hid_device *device = nullptr;
    while (gate.beginStep(&device)) {
        if (device && dropBacklog) {
            for (int n = 0; n < protocol::kDrainReads; ++n)
                hid_read(device, rxBuffer, sizeof rxBuffer);
        }
        const int r = gate.read(device, rxBuffer, sizeof rxBuffer, timeoutMs);
        gate.endStep([&] {
            if (r <= 1) {
                reportTimeout();
                return true;
            }
            return parseReport(rxBuffer, r);
        });
    }
}
