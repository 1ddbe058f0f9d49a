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
      readThread(std::make_unique<ReadThread>(pacing.readTimeoutMs, &trafficLog)),
      checkThread(std::make_unique<CheckThread>(pacing.checkReadTimeoutMs, &trafficLog)),
      drain(std::make_unique<ReadEmptyTh>(&trafficLog)), deviceNotifier(new DeviceNotifier(this))
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
    if (!device) {
        trafficLog.add(TrafficSource::Host, TrafficVerdict::OpenFailed);
        return -1;
    }
    trafficLog.add(TrafficSource::Host, TrafficVerdict::Opened);
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
    trafficLog.add(TrafficSource::Host, TrafficVerdict::Closed);
}

int DebuggerLink::openDebugger()
{
    const int result = open();
    if (result == 0)
        showStatus(LinkStatus::Connected);
    else
        reportFailedOpen(LinkStatus::NoConnection);
    return result;
}

void DebuggerLink::reportFailedOpen(LinkStatus status)
{
    showStatus(status);
    if (boardListed()) {
        trafficLog.add(TrafficSource::Host, TrafficVerdict::AccessDenied);
        emit accessDenied();
    }
}

void DebuggerLink::showStatus(LinkStatus status)
{
    shownStatus = status;
    emit statusChanged(status);
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
        trafficLog.add(TrafficSource::Host, TrafficVerdict::Plugged);
        QThread::msleep(pacing.arrivalSettleMs);
        registerDeviceNotifications(nativeWindow);
        if (open() != 0)
            reportFailedOpen(LinkStatus::OpenFailed);
        else
            showStatus(LinkStatus::Connected);
    } else if (kind == 2) {
        trafficLog.add(TrafficSource::Host, TrafficVerdict::Unplugged);
        releaseDevice();
        showStatus(LinkStatus::Removed);
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
    if (length < 0)
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
    // Without a board nothing is written, but the attempt is kept with its report.
    const int r = hidDevice ? hid_write(hidDevice, report, sizeof report) : -1;
    trafficLog.add(TrafficSource::Host,
                   r < 0 ? TrafficVerdict::WriteFailed : TrafficVerdict::Written, report,
                   sizeof report);
    return r;
}

void DebuggerLink::drainInput()
{
    if (!hidDevice)
        return;
    for (int n = 0; n < protocol::kDrainReads; ++n) {
        const int r = hid_read(hidDevice, rxReport, sizeof rxReport);
        if (r > 0)
            trafficLog.add(TrafficSource::Host, TrafficVerdict::Discarded, rxReport, r);
    }
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
            if (rxReport[2] == protocol::kCmdStop && rxReport[3] == protocol::kReplyAccepted) {
                trafficLog.add(TrafficSource::Host, TrafficVerdict::StopAccepted, rxReport, r);
                return 1;
            }
            if (rxReport[2] == protocol::kCmdStop && rxReport[3] == protocol::kReplyRefused) {
                trafficLog.add(TrafficSource::Host, TrafficVerdict::StopRefused, rxReport, r);
                return 0;
            }
        }
        if (r > 0)
            trafficLog.add(TrafficSource::Host, TrafficVerdict::Skipped, rxReport, r);
        if (r <= 1)
            QThread::msleep(pacing.stopAckRetryMs);
    }
    trafficLog.add(TrafficSource::Host, TrafficVerdict::NoStopAck);
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

QString DebuggerLink::stateText() const
{
    QString status;
    switch (shownStatus) {
    case LinkStatus::Connected:
        status = QStringLiteral("connected");
        break;
    case LinkStatus::NoConnection:
        status = QStringLiteral("no connection at start-up");
        break;
    case LinkStatus::OpenFailed:
        status = QStringLiteral("plugged in but could not be opened");
        break;
    case LinkStatus::Removed:
        status = QStringLiteral("unplugged");
        break;
    }
    const auto reader = [](const BoardReader &thread) {
        return !thread.isRunning() ? QStringLiteral("not started")
               : thread.isArmed()  ? QStringLiteral("running, armed")
                                   : QStringLiteral("running, idle");
    };
    return QStringLiteral("Status: %1\nDevice open: %2\nMeasurement reader: %3\n"
                          "Verification reader: %4\nDrain: %5\nReports and events kept: %6\n")
        .arg(status, hidDevice ? QStringLiteral("yes") : QStringLiteral("no"), reader(*readThread),
             reader(*checkThread),
             drain->isRunning() ? QStringLiteral("running") : QStringLiteral("stopped"))
        .arg(trafficLog.added());
}
