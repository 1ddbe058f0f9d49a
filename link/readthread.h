#ifndef READTHREAD_H
#define READTHREAD_H

#include "link/encodedecode.h"
#include "link/readergate.h"

#include <hidapi/hidapi.h>

#include <QByteArray>
#include <QString>
#include <QThread>

#include <atomic>

// Reads the board's replies and measurement records while a test samples: once armed it delivers
// one Data record, a Start refusal or a time-out, then goes idle until armed again.
class ReadThread : public QThread
{
    Q_OBJECT

public:
    explicit ReadThread(QObject *parent = nullptr);

    void setDevice(hid_device *device);
    void arm();
    // Returns after a read in progress has ended (up to the 8 s read time-out).
    void disarm();
    bool isArmed() const;
    // Ends the thread's loop; only for process exit, followed by wait().
    void requestStop();
    // Handles one received report and emits what it carries; true when the reader goes idle.
    bool parseReport(const unsigned char *report, int received);

signals:
    void sendDataToPlay(QByteArray data, int crcFailed);
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

#endif // READTHREAD_H
