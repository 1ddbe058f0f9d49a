#include "link/debuggerlink.h"

#include "link/checkthread.h"
#include "link/devicenotifier.h"
#include "link/encodedecode.h"
#include "link/reademptyth.h"
#include "link/readthread.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QStringList>
#include <QThread>

#include <algorithm>
#include <cstring>

namespace
{
constexpr int kStopRetryPauseMs = 2;
constexpr int kArrivalSettleMs = 1;
} // namespace

DebuggerLink::DebuggerLink(QObject *parent)
    : QObject(parent), deviceNotifier(new DeviceNotifier(this))
{
    connect(deviceNotifier, &DeviceNotifier::deviceChanged, this,
            &DebuggerLink::handleDeviceChange);
}

DebuggerLink::DebuggerLink(EncodeDecode *codec, ReadThread *readThread, CheckThread *checkThread,
                           ReadEmptyTh *readEmptyThread, QObject *parent)
    : DebuggerLink(parent)
{
    attachReaders(codec, readThread, checkThread, readEmptyThread);
}

void DebuggerLink::attachReaders(EncodeDecode *codec, ReadThread *readThread,
                                 CheckThread *checkThread, ReadEmptyTh *readEmptyThread)
{
    this->codec = codec;
    this->readThread = readThread;
    this->checkThread = checkThread;
    this->readEmptyThread = readEmptyThread;
}

int DebuggerLink::open()
{
    hid_init();
    hidDevice = hid_open(protocol::kVendorId, protocol::kProductId, nullptr);
    if (!hidDevice) {
        debuggerConnected = false;
        return -1;
    }
    hid_set_nonblocking(hidDevice, 1);
    if (readThread)
        readThread->setDevice(hidDevice);
    if (checkThread)
        checkThread->setDevice(hidDevice);
    if (readEmptyThread)
        readEmptyThread->setDevice(hidDevice);
    debuggerConnected = true;
    return 0;
}

int DebuggerLink::openDebugger()
{
    const int result = open();
    emit statusChanged(result == 0 ? LinkStatus::Connected : LinkStatus::NoConnection);
    return result;
}

void DebuggerLink::registerDeviceNotifications(quintptr window)
{
    nativeWindow = window;
    const int failures = deviceNotifier->registerNotifications(window);
    for (int n = 0; n < failures; ++n)
        qCritical().noquote() << QStringLiteral("注册失败！");
}

bool DebuggerLink::isDebuggerInterface(const QString &name)
{
    if (!name.contains(QLatin1String("USB#"), Qt::CaseSensitive))
        return false;
    const QStringList fields = name.split(QLatin1Char('#'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    if (fields.size() < 2)
        return false;
    const QStringList ids = fields.at(1).split(QLatin1Char('&'), Qt::KeepEmptyParts,
                                               Qt::CaseSensitive);
    if (ids.size() < 2)
        return false;
    return ids.at(0).right(4).compare(QLatin1String("0483"), Qt::CaseInsensitive) == 0
           && ids.at(1).right(4).compare(QLatin1String("5850"), Qt::CaseInsensitive) == 0;
}

void DebuggerLink::handleDeviceChange(const QString &name, int kind)
{
    if (!isDebuggerInterface(name))
        return;
    if (kind == 1) {
        QThread::msleep(kArrivalSettleMs);
        registerDeviceNotifications(nativeWindow);
        if (open() != 0) {
            debuggerConnected = false;
            hidDevice = nullptr;
            emit statusChanged(LinkStatus::OpenFailed);
        } else {
            emit statusChanged(LinkStatus::Connected);
        }
    } else if (kind == 2) {
        // The readers keep the old handle; their reads fail until an open gives them a new one.
        debuggerConnected = false;
        hidDevice = nullptr;
        emit statusChanged(LinkStatus::Removed);
    }
}

int DebuggerLink::sendReport(const unsigned char *payload, int length)
{
    if (!hidDevice || !codec || length < 0)
        return -1;
    unsigned char frame[2 * (protocol::kReportSize + 2) + 2];
    if (2 * (length + 2) + 2 > int(sizeof frame))
        return -1;
    const int n = codec->encode(frame, payload, length);
    if (n > protocol::kReportSize - 2)
        return -1;
    unsigned char report[protocol::kReportSize] = {};
    report[0] = 0x00;
    report[1] = static_cast<unsigned char>(n);
    std::memcpy(report + 2, frame, std::size_t(n));
    return hid_write(hidDevice, report, sizeof report);
}

void DebuggerLink::drainInput()
{
    if (!hidDevice)
        return;
    for (int n = 0; n < protocol::kDrainReads; ++n)
        hid_read(hidDevice, rxReport, sizeof rxReport);
}

int DebuggerLink::sendStartCommand()
{
    const unsigned char start[2] = {protocol::kCmdStart, protocol::kCmdArgument};
    return sendReport(start, 2);
}

int DebuggerLink::sendStopCommand()
{
    const unsigned char stop[2] = {protocol::kCmdStop, protocol::kCmdArgument};
    return sendReport(stop, 2);
}

int DebuggerLink::waitStopAck(int deadlineMs)
{
    if (!hidDevice)
        return 0;
    // The whole wait is bounded, so a silent board holds the window for seconds, not minutes.
    QElapsedTimer clock;
    clock.start();
    for (int attempt = 0; attempt < protocol::kStopAckAttempts; ++attempt) {
        const qint64 left = deadlineMs - clock.elapsed();
        if (left <= 0)
            break;
        const int r = hid_read_timeout(hidDevice, rxReport, sizeof rxReport,
                                       int(std::min<qint64>(left, protocol::kReadThreadTimeoutMs)));
        if (r > 3) {
            if (rxReport[2] == protocol::kCmdStop && rxReport[3] == protocol::kReplyAccepted)
                return 1;
            if (rxReport[2] == protocol::kCmdStop && rxReport[3] == protocol::kReplyRefused)
                return 0;
        } else if (r <= 1) {
            QThread::msleep(kStopRetryPauseMs);
        }
    }
    qDebug() << "receive11111";
    return 0;
}

StopOutcome DebuggerLink::stopRounds(int rounds)
{
    // The rounds share one deadline: a silent board holds the window for one wait, not for one
    // per round (5 rounds of 3 s would leave it unanswering for 15 s).
    QElapsedTimer clock;
    clock.start();
    const auto left = [&clock] {
        return int(std::max<qint64>(0, protocol::kStopAckDeadlineMs - clock.elapsed()));
    };
    for (int n = 1; n < rounds; ++n) {
        (void)sendStopCommand();
        (void)waitStopAck(left());
    }
    if (sendStopCommand() < 0)
        return StopOutcome::WriteFailed;
    return waitStopAck(left()) == 1 ? StopOutcome::Done : StopOutcome::NotAcknowledged;
}

StopOutcome DebuggerLink::runStopExchange(StopExchange exchange)
{
    if (!hidDevice)
        return StopOutcome::NoDevice;
    switch (exchange) {
    case StopExchange::WindowClose:
        (void)sendStopCommand();
        drainInput();
        (void)sendStopCommand();
        drainInput();
        return StopOutcome::Done;
    case StopExchange::EndOfRun:
        (void)sendStopCommand();
        (void)sendStopCommand();
        return StopOutcome::Done;
    case StopExchange::StopButton:
        (void)sendStopCommand();
        (void)sendStopCommand();
        if (sendStopCommand() < 0)
            return StopOutcome::WriteFailed;
        return waitStopAck() == 1 ? StopOutcome::Done : StopOutcome::NotAcknowledged;
    case StopExchange::SaveDownload:
        return stopRounds(3);
    case StopExchange::VerificationOff:
        return stopRounds(5);
    }
    return StopOutcome::NoDevice;
}
