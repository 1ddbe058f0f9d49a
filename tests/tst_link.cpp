#include "app/mainwindow.h"
#include "link/debuggerlink.h"
#include "link/devicechange.h"
#include "link/devicenotifier.h"
#include "sim/simboard.h"
#include "sim/simframe.h"
#include "testsupport.h"
#include "tuning/samplingstarter.h"
#include "tuning/tuningrun.h"

#include "modalhelper.h"
#include "tuningrig.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstring>

Q_DECLARE_METATYPE(LinkStatus)
Q_DECLARE_METATYPE(StopExchange)
Q_DECLARE_METATYPE(StopOutcome)

using testsupport::kStartReport;
using testsupport::kStopReport;

namespace
{
const QString kClassGuid = QStringLiteral("{A5DCBF10-6530-11D2-901F-00C04FB951ED}");

int countOf(const QList<QByteArray> &reports, const QByteArray &report)
{
    return int(std::count(reports.begin(), reports.end(), report));
}

// The fast clock with read time-outs that no test waits for.
Pacing endlessReads()
{
    Pacing pacing = testsupport::fastClock();
    pacing.readTimeoutMs = pacing.checkReadTimeoutMs = 600000;
    return pacing;
}

// A report from the board: the frame's length, the frame, zeros to 64 bytes.
QByteArray boardReport(const QByteArray &frame)
{
    return (QByteArray(1, char(frame.size())) + frame).leftJustified(64, '\0');
}

// What the link's traffic says of each report and event, oldest first.
QVector<TrafficVerdict> verdictsOf(const DebuggerLink &link)
{
    QVector<TrafficVerdict> verdicts;
    for (const TrafficEntry &entry : link.traffic().entries())
        verdicts << entry.verdict;
    return verdicts;
}

QList<QByteArray> repeated(const QByteArray &report, int times)
{
    QList<QByteArray> list;
    for (int n = 0; n < times; ++n)
        list << report;
    return list;
}

// DEV_BROADCAST_DEVICEINTERFACE_W as Windows lays it out, with the name's NUL when terminated.
QByteArray broadcast(quint32 deviceType, const QString &name, bool terminated = true)
{
    const quint32 size = quint32(28 + 2 * (name.size() + (terminated ? 1 : 0)));
    QByteArray bytes(int(size) + 16, '\x55'); // trailing bytes the parser must not read as name
    std::memcpy(bytes.data(), &size, 4);
    std::memcpy(bytes.data() + 4, &deviceType, 4);
    std::memset(bytes.data() + 8, 0, 20);
    std::memcpy(bytes.data() + 28, name.utf16(), std::size_t(2 * name.size()));
    if (terminated)
        std::memset(bytes.data() + 28 + 2 * name.size(), 0, 2);
    return bytes;
}
} // namespace

class TestLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        qRegisterMetaType<LinkStatus>();
    }
    void init();

    void commandsAreExactReports();
    void sendingWithoutBoardWritesNothing();
    void interfaceNameMatchesOnlyTheDebugger_data();
    void interfaceNameMatchesOnlyTheDebugger();
    void udevProductBecomesInterfaceName_data();
    void udevProductBecomesInterfaceName();
    void udevEventsBecomeInterfaceEvents();
    void windowsBroadcastGivesKindAndName_data();
    void windowsBroadcastGivesKindAndName();
    void waitStopAckSkipsDataFrames();
    void waitStopAckReportsRefusal();
    void waitStopAckIsBoundedWhenBoardIsSilent();
    void stopExchangesSendTheirStops_data();
    void stopExchangesSendTheirStops();
    void stopExchangeFailures_data();
    void stopExchangeFailures();
    void plugEventsFollowTheBoard();
    void boardThatMayNotBeOpenedIsToldApart();
    void otherDevicesChangeNothing();
    void removalClosesTheHandleOnlyAfterTheReaders();
    void countdownSendsOneStartThenSamples();
    void countdownWhileSamplingSendsNoSecondStart();
    void countdownWithoutBoardWarnsAndSendsNothing();
    void startWriteFailureWarnsAndResets();
    void directStartSendsStartOncePerRun();
    void windowStatusLabelFollowsTheBoard_data();
    void windowStatusLabelFollowsTheBoard();
    void windowExplainsBoardAccessOncePerRun();
    void windowCloseStopsBoardOnlyWithBoardAndAlwaysSaves_data();
    void windowCloseStopsBoardOnlyWithBoardAndAlwaysSaves();
    void windowExitStopsItsReaders();
    void windowReplugsLeaveNoHandleOpen();
};

void TestLink::init()
{
    SimBoard::reset();
    SimBoard::setNoise(0);
    SimBoard::setHotplugTarget(nullptr);
}

void TestLink::commandsAreExactReports()
{
    DebuggerLink link;
    QCOMPARE(link.openDebugger(), 0);
    QCOMPARE(link.sendStartCommand(), 65);
    QCOMPARE(link.sendStopCommand(), 65);
    QCOMPARE(SimBoard::writtenReports(), (QList<QByteArray>{kStartReport, kStopReport}));
}

void TestLink::sendingWithoutBoardWritesNothing()
{
    SimBoard::unplug();
    DebuggerLink link;
    QSignalSpy status(&link, &DebuggerLink::statusChanged);
    QCOMPARE(link.openDebugger(), -1);
    QCOMPARE(status.at(0).at(0).value<LinkStatus>(), LinkStatus::NoConnection);
    QCOMPARE(link.sendStartCommand(), -1);
    QCOMPARE(link.waitStopAck(), 0);
    link.drainInput();
    SimBoard::plug();
    QVERIFY(SimBoard::writtenReports().isEmpty());
    QCOMPARE(verdictsOf(link),
             (QVector<TrafficVerdict>{TrafficVerdict::OpenFailed, TrafficVerdict::WriteFailed}));
}

void TestLink::interfaceNameMatchesOnlyTheDebugger_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    QTest::newRow("debugger") << "\\\\?\\USB#VID_0483&PID_5850#6&2b1c&0&1#" + kClassGuid << true;
    QTest::newRow("lower-case ids") << "\\\\?\\USB#vid_0483&pid_5850#SN#" + kClassGuid << true;
    QTest::newRow("lower-case usb#") << "\\\\?\\usb#VID_0483&PID_5850#SN#" + kClassGuid << false;
    QTest::newRow("HID interface")
        << "\\\\?\\HID#VID_0483&PID_5850&MI_00#7&1#{4d1e55b2-f16f}" << false;
    QTest::newRow("disk") << "\\\\?\\USBSTOR#Disk&Ven_Generic&Prod_Flash#0483&5850#{53f56307}"
                          << false;
    QTest::newRow("other vendor") << "\\\\?\\USB#VID_1234&PID_5850#SN#" + kClassGuid << false;
    QTest::newRow("other product") << "\\\\?\\USB#VID_0483&PID_5740#SN#" + kClassGuid << false;
    QTest::newRow("one id field") << "\\\\?\\USB#VID_0483#SN#" + kClassGuid << false;
    QTest::newRow("no second field") << "USB#" << false;
    QTest::newRow("empty") << QString() << false;
}

void TestLink::interfaceNameMatchesOnlyTheDebugger()
{
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(DebuggerLink::isDebuggerInterface(name), matches);
}

void TestLink::udevProductBecomesInterfaceName_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("name");
    QTest::newRow("debugger") << "483/5850/200"
                              << "A1"
                              << "\\\\?\\USB#VID_0483&PID_5850#A1#" + kClassGuid;
    QTest::newRow("hub without serial") << "1d6b/2/510"
                                        << ""
                                        << "\\\\?\\USB#VID_1D6B&PID_0002#0#" + kClassGuid;
    QTest::newRow("no product") << ""
                                << "A1" << QString();
    QTest::newRow("not hex") << "xyz/5850/1"
                             << "A1" << QString();
}

void TestLink::udevProductBecomesInterfaceName()
{
    QFETCH(QString, product);
    QFETCH(QString, serial);
    QFETCH(QString, name);
    QCOMPARE(DeviceNotifier::interfaceNameFromProduct(product, serial), name);
}

void TestLink::udevEventsBecomeInterfaceEvents()
{
    DeviceNotifier notifier;
    QSignalSpy events(&notifier, &DeviceNotifier::deviceChanged);
    const QString board = "\\\\?\\USB#VID_0483&PID_5850#SN7#" + kClassGuid;
    const QString path = QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/1-2");
    notifier.handleUdevEvent("add", path, "483/5850/200", "SN7");
    notifier.handleUdevEvent("bind", path, "483/5850/200", QString());
    // The removal of a device seen arriving names it as the arrival did, even without PRODUCT.
    notifier.handleUdevEvent("remove", path, QString(), QString());
    // A removal of a device not seen arriving still carries its ids in PRODUCT.
    notifier.handleUdevEvent("remove", "/devices/other", "483/5850/200", QString());
    notifier.handleUdevEvent("remove", "/devices/unknown", QString(), QString());
    QCOMPARE(events.size(), 3);
    QCOMPARE(events.at(0), (QVariantList{board, 1}));
    QCOMPARE(events.at(1), (QVariantList{board, 2}));
    QCOMPARE(events.at(2).at(1).toInt(), 2);
    QVERIFY(DebuggerLink::isDebuggerInterface(events.at(2).at(0).toString()));
}

void TestLink::windowsBroadcastGivesKindAndName_data()
{
    QTest::addColumn<quint64>("wParam");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    const QString name = "\\\\?\\USB#VID_0483&PID_5850#SN#" + kClassGuid;
    QTest::newRow("arrival") << quint64(0x8000) << broadcast(5, name) << 1 << name;
    QTest::newRow("removal") << quint64(0x8004) << broadcast(5, name) << 2 << name;
    QTest::newRow("volume removal") << quint64(0x8004) << broadcast(2, "E:") << 0 << QString();
    QTest::newRow("query remove") << quint64(0x8001) << broadcast(5, name) << 0 << QString();
    QTest::newRow("name without NUL stops at the size")
        << quint64(0x8000) << broadcast(5, name, false) << 1 << name;
    QTest::newRow("size below the name offset")
        << quint64(0x8000) << QByteArray::fromHex("0c00000005000000000000000000") << 0 << QString();
}

void TestLink::windowsBroadcastGivesKindAndName()
{
    QFETCH(quint64, wParam);
    QFETCH(QByteArray, header);
    QFETCH(int, kind);
    QFETCH(QString, name);
    const DeviceChange change = parseDeviceChange(std::uintptr_t(wParam), header.constData());
    QCOMPARE(change.kind, kind);
    QCOMPARE(QString::fromStdU16String(change.name), name);
}

void TestLink::waitStopAckSkipsDataFrames()
{
    DebuggerLink link;
    QVERIFY(link.openDebugger() == 0);
    QVERIFY(link.sendStartCommand() > 0);
    QTest::qWait(30);
    QVERIFY(SimBoard::queuedReports() > 2);
    QVERIFY(link.sendStopCommand() > 0);
    QCOMPARE(link.waitStopAck(), 1);
    const QVector<TrafficVerdict> verdicts = verdictsOf(link);
    QCOMPARE(verdicts.last(), TrafficVerdict::StopAccepted);
    QCOMPARE(verdicts.at(verdicts.size() - 2), TrafficVerdict::Skipped);
}

void TestLink::waitStopAckReportsRefusal()
{
    SimBoard::setRefuseStop(true);
    DebuggerLink link;
    QVERIFY(link.openDebugger() == 0);
    QVERIFY(link.sendStopCommand() > 0);
    QCOMPARE(link.waitStopAck(), 0);
    QCOMPARE(verdictsOf(link).last(), TrafficVerdict::StopRefused);
}

// A silent board ends the wait at its deadline; an acknowledgement that comes while the wait
// runs is taken, however late within a deadline no test waits for.
void TestLink::waitStopAckIsBoundedWhenBoardIsSilent()
{
    SimBoard::setSilent(true);
    {
        DebuggerLink link(testsupport::fastClock());
        QVERIFY(link.openDebugger() == 0);
        QVERIFY(link.sendStopCommand() > 0);
        QTest::ignoreMessage(QtDebugMsg, "receive11111");
        QCOMPARE(link.waitStopAck(), 0);
        QCOMPARE(verdictsOf(link).last(), TrafficVerdict::NoStopAck);
    }
    Pacing patient = testsupport::fastClock();
    patient.stopAckDeadlineMs = 600000;
    DebuggerLink link(patient);
    QVERIFY(link.openDebugger() == 0);
    QVERIFY(link.sendStopCommand() > 0);
    QThread *board = QThread::create([] {
        QThread::msleep(200);
        SimBoard::injectReport(boardReport(simframe::frame(QByteArray::fromHex("FF00"))));
    });
    board->start();
    QCOMPARE(link.waitStopAck(), 1);
    board->wait();
    delete board;
}

void TestLink::stopExchangesSendTheirStops_data()
{
    QTest::addColumn<StopExchange>("exchange");
    QTest::addColumn<int>("stops");
    QTest::newRow("window close") << StopExchange::WindowClose << 2;
    QTest::newRow("end of run") << StopExchange::EndOfRun << 2;
    QTest::newRow("stop button") << StopExchange::StopButton << 3;
    QTest::newRow("save and download") << StopExchange::SaveDownload << 3;
    QTest::newRow("verification off") << StopExchange::VerificationOff << 5;
}

void TestLink::stopExchangesSendTheirStops()
{
    QFETCH(StopExchange, exchange);
    QFETCH(int, stops);
    DebuggerLink link;
    QVERIFY(link.openDebugger() == 0);
    QVERIFY(link.sendStartCommand() > 0);
    QTest::qWait(20);
    SimBoard::clearWrittenReports();
    QCOMPARE(link.runStopExchange(exchange), StopOutcome::Done);
    QCOMPARE(SimBoard::writtenReports(), repeated(kStopReport, stops));
    QVERIFY(!SimBoard::isStreaming());
}

void TestLink::stopExchangeFailures_data()
{
    QTest::addColumn<StopExchange>("exchange");
    QTest::addColumn<QString>("board");
    QTest::addColumn<StopOutcome>("outcome");
    QTest::newRow("stop refused") << StopExchange::StopButton << "refuseStop"
                                  << StopOutcome::NotAcknowledged;
    QTest::newRow("save refused") << StopExchange::SaveDownload << "refuseStop"
                                  << StopOutcome::NotAcknowledged;
    QTest::newRow("verification refused")
        << StopExchange::VerificationOff << "refuseStop" << StopOutcome::NotAcknowledged;
    // A silent board holds the window for one acknowledgement wait, not one per Stop.
    QTest::newRow("save silent") << StopExchange::SaveDownload << "silent"
                                 << StopOutcome::NotAcknowledged;
    QTest::newRow("verification silent")
        << StopExchange::VerificationOff << "silent" << StopOutcome::NotAcknowledged;
    QTest::newRow("stop unplugged")
        << StopExchange::StopButton << "unplugged" << StopOutcome::WriteFailed;
    QTest::newRow("close without board")
        << StopExchange::WindowClose << "absent" << StopOutcome::NoDevice;
    QTest::newRow("end of run without board")
        << StopExchange::EndOfRun << "absent" << StopOutcome::NoDevice;
}

void TestLink::stopExchangeFailures()
{
    QFETCH(StopExchange, exchange);
    QFETCH(QString, board);
    QFETCH(StopOutcome, outcome);
    DebuggerLink link(testsupport::fastClock());
    if (board == "absent")
        SimBoard::unplug();
    link.openDebugger();
    SimBoard::setRefuseStop(board == "refuseStop");
    SimBoard::setSilent(board == "silent");
    if (board == "unplugged")
        SimBoard::unplug();
    QCOMPARE(link.runStopExchange(exchange), outcome);
    if (board != "refuseStop" && board != "silent")
        QVERIFY(SimBoard::writtenReports().isEmpty());
}

void TestLink::plugEventsFollowTheBoard()
{
    DebuggerLink link;
    QSignalSpy status(&link, &DebuggerLink::statusChanged);
    SimBoard::setHotplugTarget(link.notifier());
    QCOMPARE(link.openDebugger(), 0);
    SimBoard::unplug();
    QTRY_COMPARE(status.size(), 2);
    QCOMPARE(status.at(1).at(0).value<LinkStatus>(), LinkStatus::Removed);
    QVERIFY(!link.isOpen());
    QVERIFY(!link.isConnected());
    const int opens = SimBoard::openCount();
    SimBoard::plug();
    QTRY_COMPARE(status.size(), 3);
    QCOMPARE(status.at(2).at(0).value<LinkStatus>(), LinkStatus::Connected);
    QCOMPARE(SimBoard::openCount(), opens + 1);
    QVERIFY(link.isConnected());
    // An arrival that cannot be opened (the board went away again at once).
    SimBoard::setHotplugTarget(nullptr);
    SimBoard::unplug();
    link.handleDeviceChange(SimBoard::interfaceName(), 1);
    QCOMPARE(status.last().at(0).value<LinkStatus>(), LinkStatus::OpenFailed);
    QVERIFY(!link.isOpen());
    using V = TrafficVerdict;
    QCOMPARE(verdictsOf(link), (QVector<V>{V::Opened, V::Unplugged, V::Closed, V::Plugged,
                                           V::Opened, V::Plugged, V::Closed, V::OpenFailed}));
}

// Not plugged in and not allowed both fail to open; only the board that is there is denied.
void TestLink::boardThatMayNotBeOpenedIsToldApart()
{
    DebuggerLink link;
    QSignalSpy status(&link, &DebuggerLink::statusChanged);
    QSignalSpy denied(&link, &DebuggerLink::accessDenied);
    SimBoard::unplug();
    QCOMPARE(link.openDebugger(), -1);
    QCOMPARE(status.last().at(0).value<LinkStatus>(), LinkStatus::NoConnection);
    QCOMPARE(denied.size(), 0);

    SimBoard::plug();
    SimBoard::setOpenRefused(true);
    const int opens = SimBoard::openCount();
    QCOMPARE(link.openDebugger(), -1);
    QCOMPARE(status.last().at(0).value<LinkStatus>(), LinkStatus::NoConnection);
    QCOMPARE(denied.size(), 1);
    link.handleDeviceChange(SimBoard::interfaceName(), 1);
    QCOMPARE(status.last().at(0).value<LinkStatus>(), LinkStatus::OpenFailed);
    QCOMPARE(denied.size(), 2);
    QVERIFY(!link.isOpen());
    QCOMPARE(SimBoard::openCount(), opens);

    SimBoard::setOpenRefused(false);
    link.handleDeviceChange(SimBoard::interfaceName(), 1);
    QCOMPARE(status.last().at(0).value<LinkStatus>(), LinkStatus::Connected);
    QCOMPARE(denied.size(), 2);
    QVERIFY(link.isOpen());
    using V = TrafficVerdict;
    QCOMPARE(verdictsOf(link),
             (QVector<V>{V::OpenFailed, V::OpenFailed, V::AccessDenied, V::Plugged, V::OpenFailed,
                         V::AccessDenied, V::Plugged, V::Opened}));
}

void TestLink::otherDevicesChangeNothing()
{
    DebuggerLink link;
    QCOMPARE(link.openDebugger(), 0);
    QSignalSpy status(&link, &DebuggerLink::statusChanged);
    link.handleDeviceChange("\\\\?\\USB#VID_046D&PID_C52B#SN#" + kClassGuid, 2);
    link.handleDeviceChange("\\\\?\\HID#VID_0483&PID_5850#SN#" + kClassGuid, 2);
    link.handleDeviceChange("\\\\?\\STORAGE#Volume#{53f56307}", 2);
    QCOMPARE(status.size(), 0);
    QVERIFY(link.isOpen());
}

// A removal while all three readers are inside reads of a silent board that still answers: the
// handle is closed only once they let go of it, and soon, not after their reads' time-outs.
void TestLink::removalClosesTheHandleOnlyAfterTheReaders()
{
    const int handles = SimBoard::openHandles();
    const int closedUses = SimBoard::closedHandleUses();
    {
        // Read time-outs no test waits for: a removal that waited for them would not return.
        DebuggerLink link(endlessReads());
        QSignalSpy failures(&link, &DebuggerLink::readerFailed);
        QSignalSpy checkFailures(&link, &DebuggerLink::checkReaderFailed);
        QCOMPARE(link.openDebugger(), 0);
        link.startReader();
        link.startCheckReader();
        link.startDrain();
        link.armReader();
        link.armCheckReader();
        QTest::qWait(50);
        link.handleDeviceChange(SimBoard::interfaceName(), 2);
        QCOMPARE(SimBoard::openHandles(), handles);
        QCOMPARE(SimBoard::closedHandleUses(), closedUses);
        QVERIFY(!link.isReaderArmed());
        QVERIFY(!link.isCheckReaderArmed());
        // The reads under way end as the read of a pulled board does.
        QTRY_COMPARE(failures.size(), 1);
        QCOMPARE(failures.at(0).at(0).toString(), QStringLiteral("接收返回超时！"));
        QTRY_COMPARE(checkFailures.size(), 1);

        // Plugged in again: the readers read the new handle.
        link.handleDeviceChange(SimBoard::interfaceName(), 1);
        QCOMPARE(SimBoard::openHandles(), handles + 1);
        QSignalSpy records(&link, &DebuggerLink::record);
        QVERIFY(link.sendStartCommand() > 0);
        link.armReader();
        QTRY_COMPARE(records.size(), 1);
        QCOMPARE(records.at(0).at(1).toInt(), 0);
        // The link goes while the verification reader waits in a read of the silent board.
        SimBoard::setSilent(true);
        link.armCheckReader();
        QTest::qWait(50);
        QVERIFY(link.isCheckReaderArmed());
    }
    QCOMPARE(SimBoard::openHandles(), handles);
    QCOMPARE(SimBoard::closedHandleUses(), closedUses);
}

// The counted-down start against the board, with the measurement reader running as in the
// window; on the fast clock unless given another.
struct StarterRig
{
    TuningRun run;
    testsupport::SimTuningLink board;
    DebuggerLink &link = board.link;
    SamplingStarter &starter = board.starter;
    QWidget &window = board.window;
    QLabel *label = board.countdown;
    QTimer &countdownTimer = board.countdownTimer;
    QTimer &blinkTimer = board.blinkTimer;
    QStringList digits;
    // How long each digit after the first is to stay, as its timer was set when it was shown.
    QList<int> digitSteps;

    explicit StarterRig(const Pacing &clock = testsupport::fastClock()) : board(run, clock)
    {
        // After the starter's own handler, so each digit is recorded as it is shown.
        QObject::connect(&countdownTimer, &QTimer::timeout, [this] {
            if (!label->isHidden()) {
                digits << label->text();
                digitSteps << (countdownTimer.isActive() ? countdownTimer.interval() : -1);
            }
        });
        link.startReader();
    }
};

// On the tool's own pacing: the user sees 3, 2 and 1 for a second each, then sampling starts and
// the key blinks every 100 ms. The timers as the starter sets them are what is checked; the time
// the whole pacing takes is bench_pacing's.
void TestLink::countdownSendsOneStartThenSamples()
{
    StarterRig rig(testsupport::realClock());
    QVERIFY(rig.link.openDebugger() == 0);
    QSignalSpy records(&rig.link, &DebuggerLink::record);
    rig.run.start(TuningRun::Kind::Single);
    rig.starter.beginSampling();
    QVERIFY(rig.run.testBusy());
    QCOMPARE(rig.label->text(), QStringLiteral("3"));
    QVERIFY(rig.label->isVisibleTo(&rig.window));
    QVERIFY(rig.countdownTimer.isActive());
    QCOMPARE(rig.countdownTimer.interval(), 1000);
    QTRY_VERIFY_WITH_TIMEOUT(rig.run.sampling(), 30000);
    QCOMPARE(rig.digits, (QStringList{"2", "1"}));
    QCOMPARE(rig.digitSteps, (QList<int>{1000, 1000}));
    QVERIFY(!rig.label->isVisibleTo(&rig.window));
    QVERIFY(rig.blinkTimer.isActive());
    QCOMPARE(rig.blinkTimer.interval(), 100);
    QCOMPARE(SimBoard::writtenReports(), QList<QByteArray>{kStartReport});
    QTRY_COMPARE(records.size(), 1);
    QCOMPARE(records.at(0).at(1).toInt(), 0);
}

void TestLink::countdownWhileSamplingSendsNoSecondStart()
{
    StarterRig rig;
    QVERIFY(rig.link.openDebugger() == 0);
    rig.run.start(TuningRun::Kind::Single);
    rig.starter.beginSampling();
    QTRY_VERIFY_WITH_TIMEOUT(rig.run.sampling(), 5000);
    rig.starter.beginSampling();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.countdownTimer.isActive(), 5000);
    QCOMPARE(countOf(SimBoard::writtenReports(), kStartReport), 1);
    QVERIFY(rig.run.sampling());
}

void TestLink::countdownWithoutBoardWarnsAndSendsNothing()
{
    SimBoard::unplug();
    StarterRig rig;
    rig.link.openDebugger();
    rig.run.start(TuningRun::Kind::Single);
    ModalHelper boxes;
    rig.starter.beginSampling();
    QTRY_COMPARE(boxes.texts(), QStringList{QStringLiteral("调试器打开失败！")});
    QCOMPARE(boxes.titles(), QStringList{QStringLiteral("提示")});
    QVERIFY(!rig.run.testBusy());
    QVERIFY(!rig.countdownTimer.isActive());
}

void TestLink::startWriteFailureWarnsAndResets()
{
    StarterRig rig;
    QVERIFY(rig.link.openDebugger() == 0);
    ModalHelper boxes;
    rig.run.start(TuningRun::Kind::Single);
    rig.starter.beginSampling();
    rig.starter.warmTimerOut();
    rig.starter.warmTimerOut();
    // Unplugged during the countdown, before the window heard of it: the Start write fails.
    SimBoard::unplug();
    rig.starter.warmTimerOut();
    QTRY_COMPARE(boxes.texts(),
                 QStringList{QStringLiteral("发送数据超时，请检查是否连接调试板！")});
    QVERIFY(!rig.run.testBusy());
    QVERIFY(!rig.run.sampling());
    QVERIFY(!rig.countdownTimer.isActive());
    // The countdown starts from its first digit again.
    rig.starter.warmTimerOut();
    QCOMPARE(rig.label->text(), QStringLiteral("2"));
    rig.countdownTimer.stop();
    QVERIFY(!rig.blinkTimer.isActive());
    QVERIFY(!rig.link.isReaderArmed());
}

void TestLink::directStartSendsStartOncePerRun()
{
    StarterRig rig;
    QVERIFY(rig.link.openDebugger() == 0);
    rig.run.start(TuningRun::Kind::Waterproof);
    rig.starter.startSamplingDirect();
    QVERIFY(rig.run.sampling());
    QVERIFY(rig.blinkTimer.isActive());
    rig.starter.startSamplingDirect();
    QCOMPARE(SimBoard::writtenReports(), QList<QByteArray>{kStartReport});
}

namespace
{
const QString kGreen = QStringLiteral("background-color: green;;border-radius:10px;");
const QString kWhite = QStringLiteral("background-color: white;;border-radius:10px;");
} // namespace

void TestLink::windowStatusLabelFollowsTheBoard_data()
{
    QTest::addColumn<bool>("boardAtStart");
    QTest::addColumn<QString>("firstText");
    QTest::newRow("board attached") << true << QStringLiteral("调试器已连接");
    QTest::newRow("no board") << false << QStringLiteral("调试器无连接");
}

void TestLink::windowStatusLabelFollowsTheBoard()
{
    QFETCH(bool, boardAtStart);
    QFETCH(QString, firstText);
    if (!boardAtStart)
        SimBoard::unplug();
    MainWindow w(testsupport::fastClock());
    SimBoard::setHotplugTarget(w.findChild<QObject *>(QStringLiteral("deviceNotifier")));
    auto *label = w.findChild<QLabel *>(QStringLiteral("usbStateLabel"));
    QVERIFY(label);
    QCOMPARE(label->text(), firstText);
    QCOMPARE(label->styleSheet(), boardAtStart ? kGreen : kWhite);
    if (boardAtStart) {
        SimBoard::unplug();
        QTRY_COMPARE(label->text(), QStringLiteral("调试器已断开"));
        QCOMPARE(label->styleSheet(), kWhite);
    }
    SimBoard::plug();
    QTRY_COMPARE(label->text(), QStringLiteral("调试器已连接"));
    QCOMPARE(label->styleSheet(), kGreen);
    SimBoard::setHotplugTarget(nullptr);
}

void TestLink::windowExplainsBoardAccessOncePerRun()
{
    SimBoard::setOpenRefused(true);
    ModalHelper boxes;
    MainWindow w(testsupport::fastClock());
    SimBoard::setHotplugTarget(w.findChild<QObject *>(QStringLiteral("deviceNotifier")));
    auto *label = w.findChild<QLabel *>(QStringLiteral("usbStateLabel"));
    QCOMPARE(label->text(), QStringLiteral("调试器无连接"));
    QCOMPARE(label->styleSheet(), kWhite);
    // Not inside the constructor: the box comes from the event loop.
    QCOMPARE(boxes.count(), 0);
    QTRY_COMPARE(boxes.count(), 1);
    QCOMPARE(boxes.titles(), QStringList{QStringLiteral("提示")});
    QVERIFY(boxes.lastText().contains(QStringLiteral("没有打开它的权限")));
    QVERIFY(boxes.lastText().contains(QStringLiteral("60-touchtuner.rules")));
    QVERIFY(boxes.lastText().contains(QStringLiteral("udevadm control --reload-rules")));

    // Plugged again, still not allowed: the label says so, the explanation is not repeated.
    SimBoard::unplug();
    QTRY_COMPARE(label->text(), QStringLiteral("调试器已断开"));
    SimBoard::plug();
    QTRY_COMPARE(label->text(), QStringLiteral("调试器打开失败"));
    QTest::qWait(100);
    QCOMPARE(boxes.count(), 1);

    SimBoard::setOpenRefused(false);
    SimBoard::unplug();
    SimBoard::plug();
    QTRY_COMPARE(label->text(), QStringLiteral("调试器已连接"));
    QCOMPARE(boxes.count(), 1);
    SimBoard::setHotplugTarget(nullptr);
}

void TestLink::windowCloseStopsBoardOnlyWithBoardAndAlwaysSaves_data()
{
    QTest::addColumn<bool>("board");
    QTest::newRow("board attached") << true;
    QTest::newRow("no board") << false;
}

void TestLink::windowCloseStopsBoardOnlyWithBoardAndAlwaysSaves()
{
    QFETCH(bool, board);
    if (!board)
        SimBoard::unplug();
    QTemporaryDir dir;
    MainWindow w(testsupport::fastClock());
    w.findChild<QLineEdit *>(QStringLiteral("proPathLineEdit"))->setText(dir.path());
    w.findChild<QLineEdit *>(QStringLiteral("proNameLineEdit"))->setText(QStringLiteral("closing"));
    w.show();
    QVERIFY(w.close());
    QCOMPARE(SimBoard::writtenReports(), repeated(kStopReport, board ? 2 : 0));
    // The project is saved whether or not a board was attached.
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("closing.ini"))));
}

void TestLink::windowExitStopsItsReaders()
{
    const auto threadCount = [] {
        const QDir tasks(QStringLiteral("/proc/self/task"));
        return tasks.entryList(QDir::NoDotAndDotDot | QDir::Dirs).size();
    };
    const int before = threadCount();
    const int handles = SimBoard::openHandles();
    {
        // An exit that waited for a read's time-out would not end.
        MainWindow w(endlessReads());
        QVERIFY(threadCount() > before); // the measurement reader runs from construction on
        QCOMPARE(SimBoard::openHandles(), handles + 1);
    }
    QTRY_COMPARE(threadCount(), before);
    // The board is closed at exit.
    QCOMPARE(SimBoard::openHandles(), handles);
}

// Each pulled board's handle is closed, none is used after its close, and the board opens again.
void TestLink::windowReplugsLeaveNoHandleOpen()
{
    MainWindow w(testsupport::fastClock());
    SimBoard::setHotplugTarget(w.findChild<QObject *>(QStringLiteral("deviceNotifier")));
    auto *label = w.findChild<QLabel *>(QStringLiteral("usbStateLabel"));
    const int handles = SimBoard::openHandles();
    const int opens = SimBoard::openCount();
    const int closedUses = SimBoard::closedHandleUses();
    for (int n = 0; n < 100; ++n) {
        SimBoard::unplug();
        QTRY_COMPARE(label->text(), QStringLiteral("调试器已断开"));
        SimBoard::plug();
        QTRY_COMPARE(label->text(), QStringLiteral("调试器已连接"));
    }
    QCOMPARE(SimBoard::openCount(), opens + 100);
    QCOMPARE(SimBoard::openHandles(), handles);
    QCOMPARE(SimBoard::closedHandleUses(), closedUses);
    SimBoard::setHotplugTarget(nullptr);
}

QTEST_MAIN(TestLink)
#include "tst_link.moc"
