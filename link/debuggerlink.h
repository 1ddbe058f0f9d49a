#ifndef DEBUGGERLINK_H
#define DEBUGGERLINK_H

#include "link/protocol.h"

#include <hidapi/hidapi.h>

#include <QObject>
#include <QString>

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
// being plugged in and out, and the Start/Stop commands with their exchanges. Hands the device to
// the reader threads; reports what the status label should show through statusChanged.
class DebuggerLink : public QObject
{
    Q_OBJECT

public:
    explicit DebuggerLink(QObject *parent = nullptr);
    DebuggerLink(EncodeDecode *codec, ReadThread *readThread, CheckThread *checkThread,
                 ReadEmptyTh *readEmptyThread, QObject *parent = nullptr);
    // The codec for sending and the readers that get the handle on every open.
    void attachReaders(EncodeDecode *codec, ReadThread *readThread, CheckThread *checkThread,
                       ReadEmptyTh *readEmptyThread);

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
    hid_device *device() const { return hidDevice; }
    DeviceNotifier *notifier() const { return deviceNotifier; }

    // Encodes the payload into one output report and writes it: hid_write's result, or -1
    // without a board.
    int sendReport(const unsigned char *payload, int length);
    // Discards what the board has queued (100 non-blocking reads).
    void drainInput();
    [[nodiscard]] int sendStartCommand();
    [[nodiscard]] int sendStopCommand();
    // 1 when the board accepted Stop, 0 when it refused or did not answer within deadlineMs;
    // Data frames read meanwhile are skipped.
    [[nodiscard]] int waitStopAck(int deadlineMs = protocol::kStopAckDeadlineMs);
    [[nodiscard]] StopOutcome runStopExchange(StopExchange exchange);

signals:
    void statusChanged(LinkStatus status);
    // An open failed while the board is plugged in: it is listed but may not be opened (on
    // Linux, a hidraw node without access for this user). Follows the statusChanged of that open.
    void accessDenied();

private:
    int open();
    // Reports a failed open with the given label, and whether the board was there after all.
    void reportFailedOpen(LinkStatus status);
    static bool boardListed();
    // Stop and its acknowledgement rounds times, the last one deciding.
    StopOutcome stopRounds(int rounds);

    hid_device *hidDevice = nullptr;
    bool debuggerConnected = false;
    unsigned char rxReport[protocol::kReportSize] = {};
    EncodeDecode *codec = nullptr;
    ReadThread *readThread = nullptr;
    CheckThread *checkThread = nullptr;
    ReadEmptyTh *readEmptyThread = nullptr;
    DeviceNotifier *deviceNotifier;
    quintptr nativeWindow = 0;
};

#endif // DEBUGGERLINK_H
