#include "link/readthread.h"

ReadThread::ReadThread(int timeoutMs, LinkTraffic *traffic, QObject *parent)
    : BoardReader(traffic, TrafficSource::MeasurementReader, parent), timeoutMs(timeoutMs)
{
}

bool ReadThread::parseReport(const unsigned char *report, int received)
{
    QByteArray record;
    switch (classify(report, received, &record)) {
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
    readLoop(timeoutMs, false);
}

void ReadThread::reportTimeout()
{
    emit handshakeMessage(tr("接收返回超时！"));
}
