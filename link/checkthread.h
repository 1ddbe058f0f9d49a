#ifndef CHECKTHREAD_H
#define CHECKTHREAD_H

#include "link/boardreader.h"
#include "link/pacing.h"

#include <QByteArray>
#include <QString>

// The verification-mode reader: once armed it drops the queued backlog and delivers the board's
// next record (crcFailed 1 when its check sequence did not match; it is delivered all the same),
// or a refusal or time-out, then goes idle until armed again.
class CheckThread : public BoardReader
{
    Q_OBJECT

public:
    // An armed read that receives nothing for timeoutMs reports a time-out.
    // Every report it reads goes into traffic when given.
    explicit CheckThread(int timeoutMs = Pacing().checkReadTimeoutMs,
                         LinkTraffic *traffic = nullptr, QObject *parent = nullptr);

    bool parseReport(const unsigned char *report, int received) override;

signals:
    // Every record, crcFailed 1 when its check sequence failed or it was cut short.
    void sendCheckDataToPlay(QByteArray data, int crcFailed);
    void handshakeMessage(QString text);

protected:
    void run() override;
    void reportTimeout() override;

private:
    const int timeoutMs;
};

#endif // CHECKTHREAD_H
