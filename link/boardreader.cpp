#include "link/boardreader.h"

BoardReader::BoardReader(QObject *parent) : SyncedThread(parent), codec(new EncodeDecode(this))
{
}

void BoardReader::setDevice(hid_device *device)
{
    hidDevice.store(device);
}

void BoardReader::arm()
{
    gate.arm();
}

void BoardReader::disarm()
{
    gate.disarm();
}

bool BoardReader::isArmed() const
{
    return gate.isArmed();
}

void BoardReader::requestStop()
{
    gate.requestStop();
}

BoardReport BoardReader::classify(const unsigned char *report, int received, QByteArray *record)
{
    return parseBoardReport(*codec, decoder, report, received, record);
}

void BoardReader::readLoop(int timeoutMs, bool dropBacklog)
{
    const EndOfRun end(this);
    while (gate.beginStep()) {
        hid_device *device = hidDevice.load();
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
