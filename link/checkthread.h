#ifndef CHECKTHREAD_H
#define CHECKTHREAD_H

#include "link/encodedecode.h"
#include "link/readergate.h"

#include <hidapi/hidapi.h>

#include <QByteArray>
#include <QString>
#include <QThread>

#include <atomic>

// The verification-mode reader: once armed it drops the queued backlog and delivers the board's
// next record (or a refusal or time-out), then goes idle until armed again.
class CheckThread : public QThread
{
    Q_OBJECT

public:
    explicit CheckThread(QObject *parent = nullptr);

    void setDevice(hid_device *device);
    void arm();
    // Returns after a read in progress has ended (the drain plus up to 2 s).
    void disarm();
    bool isArmed() const;
    // Ends the thread's loop; only for process exit, followed by wait().
    void requestStop();
    // Handles one received report and emits what it carries; true when the reader goes idle.
    bool parseReport(const unsigned char *report, int received);

signals:
    void sendCheckDataToPlay(QByteArray data);
    void handshakeMessage(QString text);

protected:
    void run() override;

private:
    std::atomic<hid_device *> hidDevice{nullptr};
    EncodeDecode *codec;
    DecoderState decoder;
    ReaderGate gate;
    unsigned char rxBuffer[protocol::kReportSize] = {};
};

#endif // CHECKTHREAD_H
