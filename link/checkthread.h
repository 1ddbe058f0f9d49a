#ifndef CHECKTHREAD_H
#define CHECKTHREAD_H

#include "link/boardreader.h"
#include "link/pacing.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QVector>

// The verification-mode reader: once armed it drops the queued backlog and delivers the board's
// next record (crcFailed 1 when its check sequence did not match; it is delivered all the same),
// or a refusal or time-out, then goes idle until armed again. Armed for the backlog, it delivers
// the records queued since its last read together instead (or the next one when none was).
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
    // The records of a backlog read in the order they came, with a flag each as above.
    void sendCheckBlockToPlay(QByteArrayList records, QVector<int> crcFailed);
    void handshakeMessage(QString text);

protected:
    void run() override;
    void reportTimeout() override;
    bool takeQueued(const unsigned char *report, int received) override;
    bool emitQueued() override;

private:
    const int timeoutMs;
    QByteArrayList queuedRecords;
    QVector<int> queuedFlags;
    bool queuedRefusal = false;
};

#endif // CHECKTHREAD_H
