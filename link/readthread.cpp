#include "link/readthread.h"

#include "link/reportparser.h"

ReadThread::ReadThread(QObject *parent) : QThread(parent), codec(new EncodeDecode(this))
{
}

void ReadThread::setDevice(hid_device *device)
{
    hidDevice.store(device);
}

void ReadThread::arm()
{
    gate.arm();
}

void ReadThread::disarm()
{
    gate.disarm();
}

bool ReadThread::isArmed() const
{
    return gate.isArmed();
}

void ReadThread::requestStop()
{
    gate.requestStop();
}

bool ReadThread::parseReport(const unsigned char *report, int received)
{
    QByteArray record;
    switch (parseBoardReport(*codec, decoder, report, received, &record)) {
    case BoardReport::StartRefused:
        emit handshakeMessage(tr("握手失败！"));
        return true;
    case BoardReport::DataIntact:
        emit sendDataToPlay(record, 0);
        return true;
    case BoardReport::DataCorrupt:
        emit sendDataToPlay(record, 1);
        return true;
    case BoardReport::Other:
        break;
    }
    return false;
}

void ReadThread::run()
{
    while (gate.beginStep()) {
        const int r = gate.read(hidDevice.load(), rxBuffer, sizeof rxBuffer,
                                protocol::kReadThreadTimeoutMs);
        gate.endStep([&] {
            if (r <= 1) {
                emit handshakeMessage(tr("接收返回超时！"));
                return true;
            }
            return parseReport(rxBuffer, r);
        });
    }
}
