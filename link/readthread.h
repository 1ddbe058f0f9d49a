#ifndef READTHREAD_H
#define READTHREAD_H

#include "link/boardreader.h"
#include "link/pacing.h"

#include <QByteArray>
#include <QString>

// Reads the board's replies and measurement records while a test samples: once armed it delivers
// one Data record, a Start refusal or a time-out, then goes idle until armed again.
class ReadThread : public BoardReader
{
    Q_OBJECT

public:
    // An armed read that receives nothing for timeoutMs reports a time-out.
    // Every report it reads goes into traffic when given.
    explicit ReadThread(int timeoutMs = Pacing().readTimeoutMs, LinkTraffic *traffic = nullptr,
                        QObject *parent = nullptr);

    bool parseReport(const unsigned char *report, int received) override;

signals:
    void sendDataToPlay(QByteArray data, int crcFailed);
    void handshakeMessage(QString text);

protected:
    void run() override;
    void reportTimeout() override;

private:
    const int timeoutMs;
};

#endif // READTHREAD_H
