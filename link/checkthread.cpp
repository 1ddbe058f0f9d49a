#include "link/checkthread.h"

#include "link/reportparser.h"

CheckThread::CheckThread(QObject *parent) : QThread(parent), codec(new EncodeDecode(this))
{
}

void CheckThread::setDevice(hid_device *device)
{
    hidDevice.store(device);
}

void CheckThread::arm()
{
    gate.arm();
}

void CheckThread::disarm()
{
    gate.disarm();
}

bool CheckThread::isArmed() const
{
    return gate.isArmed();
}

void CheckThread::requestStop()
{
    gate.requestStop();
}

bool CheckThread::parseReport(const unsigned char *report, int received)
{
    QByteArray record;
    switch (parseBoardReport(*codec, decoder, report, received, &record)) {
    case BoardReport::StartRefused:
        emit handshakeMessage(tr("握手失败！"));
        return true;
    case BoardReport::DataIntact:
    case BoardReport::DataCorrupt:
        emit sendCheckDataToPlay(record);
        return true;
    case BoardReport::Other:
        break;
    }
    return false;
}

void CheckThread::run()
{
    while (gate.beginStep()) {
        hid_device *device = hidDevice.load();
        int r = -1;
        if (device) {
            // Only the newest record counts in verification: drop what queued up meanwhile.
            for (int n = 0; n < protocol::kDrainReads; ++n)
                hid_read(device, rxBuffer, sizeof rxBuffer);
            r = gate.read(device, rxBuffer, sizeof rxBuffer, protocol::kCheckThreadTimeoutMs);
        }
        gate.endStep([&] {
            if (r <= 1) {
                emit handshakeMessage(tr("接收返回超时！"));
                return true;
            }
            return parseReport(rxBuffer, r);
        });
    }
}
