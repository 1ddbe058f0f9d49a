#ifndef DEBUGGERLINK_H
#define DEBUGGERLINK_H

#include "link/linktraffic.h"
#include "link/pacing.h"
#include "link/protocol.h"

#include <hidapi/hidapi.h>

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <QString>
#include <QVector>

#include <memory>

class CheckThread;
class DeviceNotifier;
class EncodeDecode;
class ReadEmptyTh;
class ReadThread;

// What the status label should say about the board.
enum class LinkStatus {
    Connected,    // opened at start-up or after an arrival
    NoConnection, // not found at start-up
    OpenFailed,   // arrived but could not be opened
    Removed,      // unplugged
};

// The Stop exchanges of the tool; the callers disarm the reader that could be reading first.
enum class StopExchange {
    WindowClose,     // Stop, 100 discarding reads, Stop, 100 discarding reads
    EndOfRun,        // Stop, Stop
    StopButton,      // Stop three times, then the acknowledgement
    SaveDownload,    // two Stop/acknowledge rounds ignored, then Stop and its acknowledgement
    VerificationOff, // four Stop/acknowledge rounds ignored, then Stop and its acknowledgement
};

enum class StopOutcome {
    Done,            // sent (and acknowledged where the exchange waits for it)
    NoDevice,        // nothing sent: no board open
    WriteFailed,     // the last Stop could not be written
    NotAcknowledged, // the board refused the last Stop or never answered
};

// The connection to the debugger board, used on the GUI thread only: opening it, following it
// being plugged in and out, the Start/Stop commands with their exchanges, and the readers. It
// owns the device handle, the codec and the three reader threads: the handle is handed to the
// readers on every open and taken back from them before it is closed. Reports what the status
// label should show through statusChanged, and the readers' records and failures through its
// own signals, delivered on its thread as copies. Every report written and read, and the
// connection's events, go into its traffic.
class DebuggerLink : public QObject
{
    Q_OBJECT

public:
    // The readers' time-outs, the wait for a Stop acknowledgement and the settle after an arrival
    // follow pacing.
    explicit DebuggerLink(const Pacing &pacing = Pacing(), QObject *parent = nullptr);
    // Stops the readers and waits for them, closes the device, then ends hidapi.
    ~DebuggerLink() override;

    // 0 when the board was opened, -1 when not.
    int openDebugger();
    // Registers for device-change events (nativeWindow is the window handle on Windows).
    void registerDeviceNotifications(quintptr nativeWindow);
    // kind 1: arrival, 2: removal of the interface name.
    void handleDeviceChange(const QString &name, int kind);
    // True for the debugger's USB interface name: "USB#" in it, and VID/PID 0483/5850 (any case)
    // as the last four characters of the first two '&' fields of the second '#' field.
    static bool isDebuggerInterface(const QString &name);

    bool isOpen() const { return hidDevice != nullptr; }
    bool isConnected() const { return debuggerConnected; }
    // What the status label was told last.
    LinkStatus status() const { return shownStatus; }
    const LinkTraffic &traffic() const { return trafficLog; }
    // The connection and its readers as lines of text, for whoever helps the user.
    QString stateText() const;
    DeviceNotifier *notifier() const { return deviceNotifier; }

    // The measurement reader: its thread runs from startReader() on and sleeps until armed; each
    // arming delivers one record (or a failure). disarmReader() returns after a read under way.
    void startReader();
    void armReader();
    void disarmReader();
    bool isReaderArmed() const;
    // The drain that throws the board's input away while the tool waits on the user.
    void startDrain();
    void stopDrain();
    bool isDraining() const;
    // The verification reader: started once, then armed for each record, or for every record
    // the board queued since its last read (delivered together through checkRecords).
    void startCheckReader();
    void armCheckReader();
    void armCheckReaderForBacklog();
    void disarmCheckReader();
    bool isCheckReaderRunning() const;
    bool isCheckReaderArmed() const;

    // Encodes the payload into one output report and writes it: hid_write's result, or -1
    // without a board.
    int sendReport(const unsigned char *payload, int length);
    // Discards what the board has queued (100 non-blocking reads).
    void drainInput();
    [[nodiscard]] int sendStartCommand();
    [[nodiscard]] int sendStopCommand();
    // 1 when the board accepted Stop, 0 when it refused or did not answer within deadlineMs (the
    // pacing's acknowledgement deadline when not given); Data frames read meanwhile are skipped.
    [[nodiscard]] int waitStopAck() { return waitStopAck(pacing.stopAckDeadlineMs); }
    [[nodiscard]] int waitStopAck(int deadlineMs);
    [[nodiscard]] StopOutcome runStopExchange(StopExchange exchange);

signals:
    void statusChanged(LinkStatus status);
    // An open failed while the board is plugged in: it is listed but may not be opened (on
    // Linux, a hidraw node without access for this user). Follows the statusChanged of that open.
    void accessDenied();
    // The measurement reader's record (crcFailed 1 when its check sequence did not match), or
    // its failure: "握手失败！" for a refused Start, "接收返回超时！" when nothing came.
    void record(QByteArray data, int crcFailed);
    void readerFailed(QString text);
    // The verification reader's record, also one whose check failed or that was cut short
    // (crcFailed 1), or its failure.
    void checkRecord(QByteArray data, int crcFailed);
    // The verification reader's records of one backlog read, oldest first, with their flags.
    void checkRecords(QByteArrayList records, QVector<int> crcFailed);
    void checkReaderFailed(QString text);

private:
    int open();
    // Takes the handle back from the readers (disarming them) and closes it.
    void releaseDevice();
    // Reports a failed open with the given label, and whether the board was there after all.
    void reportFailedOpen(LinkStatus status);
    void showStatus(LinkStatus status);
    static bool boardListed();
    // Stop and its acknowledgement rounds times, the last one deciding.
    StopOutcome stopRounds(int rounds);
    void connectReaders();

    const Pacing pacing;
    // Before the readers, which add to it until they are stopped.
    LinkTraffic trafficLog;
    hid_device *hidDevice = nullptr;
    bool debuggerConnected = false;
    LinkStatus shownStatus = LinkStatus::NoConnection;
    unsigned char rxReport[protocol::kReportSize] = {};
    std::unique_ptr<EncodeDecode> codec;
    std::unique_ptr<ReadThread> readThread;
    std::unique_ptr<CheckThread> checkThread;
    std::unique_ptr<ReadEmptyTh> drain;
    DeviceNotifier *deviceNotifier;
    quintptr nativeWindow = 0;
};

#endif // DEBUGGERLINK_H
