#include "link/checkthread.h"

CheckThread::CheckThread(int timeoutMs, LinkTraffic *traffic, QObject *parent)
    : BoardReader(traffic, TrafficSource::VerificationReader, parent), timeoutMs(timeoutMs)
{
}

bool CheckThread::parseReport(const unsigned char *report, int received)
{
    QByteArray record;
    switch (classify(report, received, &record)) {
    case BoardReport::StartRefused:
        emit handshakeMessage(tr("握手失败！"));
        return true;
    case BoardReport::DataIntact:
        emit sendCheckDataToPlay(record, 0);
        return true;
    case BoardReport::DataCorrupt:
        emit sendCheckDataToPlay(record, 1);
        return true;
    case BoardReport::Other:
        break;
    }
    return false;
}

void CheckThread::run()
{
    readLoop(timeoutMs, true);
}

void CheckThread::reportTimeout()
{
    emit handshakeMessage(tr("接收返回超时！"));
}
