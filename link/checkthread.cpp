#include "link/checkthread.h"

CheckThread::CheckThread(int timeoutMs, LinkTraffic *traffic, QObject *parent)
    : BoardReader(traffic, TrafficSource::VerificationReader, parent), timeoutMs(timeoutMs)
{
    // A block crosses to the receiver's thread in a queued signal.
    qRegisterMetaType<QByteArrayList>("QByteArrayList");
    qRegisterMetaType<QVector<int>>("QVector<int>");
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

bool CheckThread::takeQueued(const unsigned char *report, int received)
{
    QByteArray record;
    switch (classify(report, received, &record)) {
    case BoardReport::StartRefused:
        queuedRefusal = true;
        return true;
    case BoardReport::DataIntact:
        queuedRecords.append(record);
        queuedFlags.append(0);
        return true;
    case BoardReport::DataCorrupt:
        queuedRecords.append(record);
        queuedFlags.append(1);
        return true;
    case BoardReport::Other:
        break;
    }
    return false;
}

bool CheckThread::emitQueued()
{
    if (!queuedRecords.isEmpty())
        emit sendCheckBlockToPlay(queuedRecords, queuedFlags);
    if (queuedRefusal)
        emit handshakeMessage(tr("握手失败！"));
    queuedRecords.clear();
    queuedFlags.clear();
    queuedRefusal = false;
    return true;
}

void CheckThread::run()
{
    readLoop(timeoutMs, true);
}

void CheckThread::reportTimeout()
{
    emit handshakeMessage(tr("接收返回超时！"));
}
