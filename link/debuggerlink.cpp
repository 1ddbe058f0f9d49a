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

DebuggerLink::DebuggerLink(const Pacing &pacing, QObject *parent)
    : QObject(parent), pacing(pacing), codec(std::make_unique<EncodeDecode>()),
      readThread(std::make_unique<ReadThread>(pacing.readTimeoutMs)),
      checkThread(std::make_unique<CheckThread>(pacing.checkReadTimeoutMs)),
      drain(std::make_unique<ReadEmptyTh>()), deviceNotifier(new DeviceNotifier(this))
{
    connect(deviceNotifier, &DeviceNotifier::deviceChanged, this,
            &DebuggerLink::handleDeviceChange);
    connectReaders();
}

DebuggerLink::~DebuggerLink()
{
    // No reader may be inside a read when the handle is closed, and hidapi ends last.
    readThread->requestStop();
    checkThread->requestStop();
    drain->requestStop();
    readThread->wait();
    checkThread->wait();
    releaseDevice();
    hid_exit();
}

// The readers emit on their own threads; the records cross to this object's thread as copies.
void DebuggerLink::connectReaders()
{
    connect(readThread.get(), &ReadThread::sendDataToPlay, this, &DebuggerLink::record,
            Qt::QueuedConnection);
    connect(readThread.get(), &ReadThread::handshakeMessage, this, &DebuggerLink::readerFailed,
            Qt::QueuedConnection);
    connect(checkThread.get(), &CheckThread::sendCheckDataToPlay, this,
            &DebuggerLink::checkRecord, Qt::QueuedConnection);
    connect(checkThread.get(), &CheckThread::sendCheckBlockToPlay, this,
            &DebuggerLink::checkRecords, Qt::QueuedConnection);
    connect(checkThread.get(), &CheckThread::handshakeMessage, this,
            &DebuggerLink::checkReaderFailed, Qt::QueuedConnection);
}

int DebuggerLink::open()
{
    // An arrival while a handle is open replaces it rather than leaving it open.
    releaseDevice();
    hid_init();
    hid_device *device = hid_open(protocol::kVendorId, protocol::kProductId, nullptr);
    if (!device)
        return -1;
    hid_set_nonblocking(device, 1);
    hidDevice = device;
    readThread->setDevice(device);
    checkThread->setDevice(device);
    drain->setDevice(device);
    debuggerConnected = true;
    return 0;
}

void DebuggerLink::releaseDevice()
{
    debuggerConnected = false;
    if (!hidDevice)
        return;
    // Each reader returns the handle only after a read of it has ended.
    readThread->detach();
    checkThread->detach();
    drain->setDevice(nullptr);
    hid_close(hidDevice);
    hidDevice = nullptr;
}

int DebuggerLink::openDebugger()
{
    const int result = open();
    if (result == 0)
        emit statusChanged(LinkStatus::Connected);
    else
        reportFailedOpen(LinkStatus::NoConnection);
    return result;
}

void DebuggerLink::reportFailedOpen(LinkStatus status)
{
    emit statusChanged(status);
    if (boardListed())
        emit accessDenied();
}

bool DebuggerLink::boardListed()
{
    hid_device_info *devices = hid_enumerate(protocol::kVendorId, protocol::kProductId);
    const bool listed = devices != nullptr;
    hid_free_enumeration(devices);
    return listed;
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
    const QStringList ids =
        fields.at(1).split(QLatin1Char('&'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    if (ids.size() < 2)
        return false;
    return ids.at(0).right(4).compare(QLatin1String("0483"), Qt::CaseInsensitive) == 0 &&
           ids.at(1).right(4).compare(QLatin1String("5850"), Qt::CaseInsensitive) == 0;
}

void DebuggerLink::handleDeviceChange(const QString &name, int kind)
{
    if (!isDebuggerInterface(name))
        return;
    if (kind == 1) {
        QThread::msleep(pacing.arrivalSettleMs);
        registerDeviceNotifications(nativeWindow);
        if (open() != 0)
            reportFailedOpen(LinkStatus::OpenFailed);
        else
            emit statusChanged(LinkStatus::Connected);
    } else if (kind == 2) {
        releaseDevice();
        emit statusChanged(LinkStatus::Removed);
    }
}

void DebuggerLink::startReader()
{
    readThread->start(QThread::InheritPriority);
}

void DebuggerLink::armReader()
{
    readThread->arm();
}

void DebuggerLink::disarmReader()
{
    readThread->disarm();
}

bool DebuggerLink::isReaderArmed() const
{
    return readThread->isArmed();
}

void DebuggerLink::startDrain()
{
    drain->start(QThread::InheritPriority);
}

void DebuggerLink::stopDrain()
{
    drain->requestStop();
}

bool DebuggerLink::isDraining() const
{
    return drain->isRunning();
}

void DebuggerLink::startCheckReader()
{
    checkThread->start(QThread::InheritPriority);
}

void DebuggerLink::armCheckReader()
{
    checkThread->arm();
}

void DebuggerLink::armCheckReaderForBacklog()
{
    checkThread->armForBacklog();
}

void DebuggerLink::disarmCheckReader()
{
    checkThread->disarm();
}

bool DebuggerLink::isCheckReaderRunning() const
{
    return checkThread->isRunning();
}

bool DebuggerLink::isCheckReaderArmed() const
{
    return checkThread->isArmed();
}

int DebuggerLink::sendReport(const unsigned char *payload, int length)
{
    if (!hidDevice || length < 0)
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
                                       int(std::min<qint64>(left, pacing.readTimeoutMs)));
        if (r > 3) {
            if (rxReport[2] == protocol::kCmdStop && rxReport[3] == protocol::kReplyAccepted)
                return 1;
            if (rxReport[2] == protocol::kCmdStop && rxReport[3] == protocol::kReplyRefused)
                return 0;
        } else if (r <= 1) {
            QThread::msleep(pacing.stopAckRetryMs);
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
    const auto left = [this, &clock] {
        return int(std::max<qint64>(0, pacing.stopAckDeadlineMs - clock.elapsed()));
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
