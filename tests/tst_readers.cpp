#include "link/checkthread.h"
#include "link/linktraffic.h"
#include "link/reademptyth.h"
#include "link/readthread.h"
#include "sim/simboard.h"
#include "sim/simframe.h"

#include "queuedspy.h"
#include "testsupport.h"

#include <QtTest>

#include <atomic>
#include <ctime>

namespace
{
// A read time-out no test waits for.
constexpr int kEndlessReadMs = 600000;

QByteArray record(int base)
{
    QByteArray payload(51, '\0');
    payload[0] = char(0x36);
    for (int k = 0; k < 25; ++k) {
        payload[1 + 2 * k] = char((base + k) >> 8);
        payload[2 + 2 * k] = char((base + k) & 0xFF);
    }
    return payload;
}

// A board report: frame length, then the frame, padded to 64 bytes.
QByteArray report(const QByteArray &frame)
{
    QByteArray r(1, char(frame.size()));
    r += frame;
    return r.leftJustified(64, '\0');
}

QByteArray corruptFrame(const QByteArray &payload)
{
    QByteArray frame = simframe::frame(payload);
    frame[frame.size() - 2] = char(frame.at(frame.size() - 2) ^ 0x01);
    return frame;
}

double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

hid_device *openBoard()
{
    hid_device *dev = hid_open(0x0483, 0x5850, nullptr);
    if (dev)
        hid_set_nonblocking(dev, 1);
    return dev;
}

template <typename Reader> void stopReader(Reader &reader)
{
    reader.requestStop();
    reader.wait();
}
} // namespace

class TestReaders : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void parseReportDeliversOrSkips_data();
    void parseReportDeliversOrSkips();
    void checkThreadDeliversCorruptRecordsFlagged();
    void parseReportNeverReadsPastReceivedBytes();
    void armedReaderDeliversOneRecordThenIdles();
    void idleReaderWakesOnArmAndUsesNoCpu();
    void disarmWaitsForReadInProgress();
    void stopAtExitDoesNotWaitForTheReadTimeout();
    void silentBoardTimesOutAfterTheReadTimeout();
    void readErrorOrMissingDeviceReportsTimeout();
    void refusedStartReachesHandshakeMessage();
    void checkThreadDropsBacklogBeforeReading();
    void drainReaderWithoutDeviceFinishesAtOnce();
    void drainReaderEmptiesQueueAndRestarts();
};

void TestReaders::init()
{
    SimBoard::reset();
    SimBoard::setNoise(0);
}

void TestReaders::parseReportDeliversOrSkips_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("received");
    QTest::addColumn<bool>("idle");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("crcFlag"); // -1: no record
    QTest::addColumn<QByteArray>("delivered");
    // The traffic's verdict on the report, as its line ends.
    QTest::addColumn<QString>("verdict");
    const QByteArray good = report(simframe::frame(record(2000)));
    const QString garbled = QStringLiteral("skipped: Data frame with an impossible length byte");
    QTest::newRow("start refused") << report(simframe::frame(QByteArray::fromHex("FE01"))) << 64
                                   << true << QStringLiteral("握手失败！") << -1 << QByteArray()
                                   << QStringLiteral("Start refused (FE 01)");
    QTest::newRow("start accepted")
        << report(simframe::frame(QByteArray::fromHex("FE00"))) << 64 << false << QString() << -1
        << QByteArray() << QStringLiteral("skipped: Start accepted (FE 00)");
    QTest::newRow("stop accepted")
        << report(simframe::frame(QByteArray::fromHex("FF00"))) << 64 << false << QString() << -1
        << QByteArray() << QStringLiteral("skipped: Stop acknowledged (FF 00)");
    QTest::newRow("stop refused") << report(simframe::frame(QByteArray::fromHex("FF01"))) << 64
                                  << false << QString() << -1 << QByteArray()
                                  << QStringLiteral("skipped: Stop refused (FF 01)");
    QTest::newRow("intact data") << good << 64 << true << QString() << 0 << record(2000)
                                 << QStringLiteral("record");
    QTest::newRow("data with wrong FCS")
        << report(corruptFrame(record(2000))) << 64 << true << QString() << 1 << record(2000)
        << QStringLiteral("bad frame: check sequence does not match");
    // A stray escape before a plain byte: the decoder drops it and the check still matches.
    QByteArray escaped = simframe::frame(record(2000));
    escaped.insert(3, char(0x7D));
    QTest::newRow("escape out of place")
        << report(escaped) << 64 << true << QString() << 1 << record(2000)
        << QStringLiteral("bad frame: a flag or an escape out of place");
    // A frame with an intact FCS around a payload that is not one record is delivered as failed:
    // its FCS bytes, or nothing, would otherwise be read as channel counts.
    const auto withFcs = [](const QByteArray &payload) {
        const quint16 fcs = simframe::fcs(payload);
        return (payload + char(fcs & 0xFF) + char(fcs >> 8)).leftJustified(51, '\0', true);
    };
    const QByteArray tiny = QByteArray::fromHex("360102");
    QTest::newRow("3-byte payload")
        << report(simframe::frame(tiny)) << 64 << true << QString() << 1 << withFcs(tiny)
        << QStringLiteral("bad frame: payload of 3 bytes, a record has 51");
    const QByteArray short49 = record(2000).left(49);
    QTest::newRow("49-byte payload")
        << report(simframe::frame(short49)) << 64 << true << QString() << 1 << withFcs(short49)
        << QStringLiteral("bad frame: payload of 49 bytes, a record has 51");
    QTest::newRow("52-byte payload")
        << report(simframe::frame(record(2000) + '\x01')) << 64 << true << QString() << 1
        << record(2000) << QStringLiteral("bad frame: payload of 52 bytes, a record has 51");
    QByteArray lengthZero = good;
    lengthZero[0] = 0;
    QTest::newRow("length 0") << lengthZero << 64 << false << QString() << -1 << QByteArray()
                              << garbled + QStringLiteral(" 0 (64 bytes read)");
    QByteArray lengthOne = good;
    lengthOne[0] = 1;
    QTest::newRow("length 1") << lengthOne << 64 << false << QString() << -1 << QByteArray()
                              << garbled + QStringLiteral(" 1 (64 bytes read)");
    QByteArray lengthTwo = good;
    lengthTwo[0] = 2;
    QTest::newRow("length 2") << lengthTwo << 64 << false << QString() << -1 << QByteArray()
                              << garbled + QStringLiteral(" 2 (64 bytes read)");
    QByteArray tooLong = good;
    tooLong[0] = char(200);
    QTest::newRow("length beyond the report")
        << tooLong << 64 << false << QString() << -1 << QByteArray()
        << garbled + QStringLiteral(" 200 (64 bytes read)");
    QTest::newRow("length beyond the bytes received")
        << good << 20 << false << QString() << -1 << QByteArray()
        << garbled + QStringLiteral(" 55 (20 bytes read)");
    QTest::newRow("not a frame") << QByteArray::fromHex("0A0B0C0D").leftJustified(64, '\0') << 64
                                 << false << QString() << -1 << QByteArray()
                                 << QStringLiteral("skipped: not a frame of the board");
}

void TestReaders::parseReportDeliversOrSkips()
{
    QFETCH(QByteArray, input);
    QFETCH(int, received);
    QFETCH(bool, idle);
    QFETCH(QString, message);
    QFETCH(int, crcFlag);
    QFETCH(QByteArray, delivered);
    QFETCH(QString, verdict);
    LinkTraffic traffic;
    ReadThread reader(Pacing().readTimeoutMs, &traffic);
    QSignalSpy data(&reader, &ReadThread::sendDataToPlay);
    QSignalSpy handshake(&reader, &ReadThread::handshakeMessage);
    QByteArray buffer = input.leftJustified(65, '\0');
    QCOMPARE(reader.parseReport(reinterpret_cast<const uchar *>(buffer.constData()), received),
             idle);
    QCOMPARE(handshake.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(handshake.at(0).at(0).toString(), message);
    QCOMPARE(data.size(), crcFlag < 0 ? 0 : 1);
    if (crcFlag >= 0) {
        QCOMPARE(data.at(0).at(0).toByteArray().toHex(' '), delivered.toHex(' '));
        QCOMPARE(data.at(0).at(1).toInt(), crcFlag);
    }
    const QVector<TrafficEntry> kept = traffic.entries();
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept[0].length, quint8(received));
    const QString line = LinkTraffic::line(kept[0]);
    QVERIFY2(line.endsWith(QStringLiteral("  ") + verdict), qPrintable(line));
}

void TestReaders::checkThreadDeliversCorruptRecordsFlagged()
{
    CheckThread reader;
    QSignalSpy data(&reader, &CheckThread::sendCheckDataToPlay);
    const QByteArray buffer = report(corruptFrame(record(1500))).leftJustified(65, '\0');
    QVERIFY(reader.parseReport(reinterpret_cast<const uchar *>(buffer.constData()), 64));
    QCOMPARE(data.size(), 1);
    QCOMPARE(data.at(0).at(0).toByteArray(), record(1500));
    QCOMPARE(data.at(0).at(1).toInt(), 1);
}

void TestReaders::parseReportNeverReadsPastReceivedBytes()
{
    // A 5-byte buffer claiming a long frame: only the five bytes may be touched (ASan would tell).
    ReadThread reader;
    QSignalSpy data(&reader, &ReadThread::sendDataToPlay);
    const unsigned char shortReport[5] = {0x3F, 0x7E, 0x36, 0x01, 0x02};
    QVERIFY(!reader.parseReport(shortReport, 5));
    QCOMPARE(data.size(), 0);
}

void TestReaders::armedReaderDeliversOneRecordThenIdles()
{
    hid_device *dev = openBoard();
    const QByteArray frames = report(simframe::frame(QByteArray::fromHex("FE00"))) +
                              report(simframe::frame(record(1000))) +
                              report(simframe::frame(record(1100)));
    for (int n = 0; n < 3; ++n)
        SimBoard::injectReport(frames.mid(64 * n, 64));
    ReadThread reader;
    reader.setDevice(dev);
    QueuedSpy data(&reader, &ReadThread::sendDataToPlay);
    reader.start();
    reader.arm();
    QTRY_COMPARE(data.size(), 1);
    QCOMPARE(data.at(0).at(0).toByteArray(), record(1000));
    QVERIFY(!reader.isArmed());
    QTest::qWait(50);
    QCOMPARE(data.size(), 1);
    QCOMPARE(SimBoard::queuedReports(), 1);
    reader.arm();
    QTRY_COMPARE(data.size(), 2);
    QCOMPARE(data.at(1).at(0).toByteArray(), record(1100));
    stopReader(reader);
}

void TestReaders::idleReaderWakesOnArmAndUsesNoCpu()
{
    hid_device *dev = openBoard();
    ReadThread reader;
    CheckThread checker;
    reader.setDevice(dev);
    checker.setDevice(dev);
    reader.start();
    checker.start();
    const double before = cpuSeconds();
    QTest::qWait(300);
    QVERIFY2(cpuSeconds() - before < 0.05, "disarmed readers must sleep, not poll");
    QueuedSpy data(&reader, &ReadThread::sendDataToPlay);
    SimBoard::injectReport(report(simframe::frame(record(900))));
    reader.arm();
    QTRY_COMPARE(data.size(), 1);
    stopReader(reader);
    stopReader(checker);
}

void TestReaders::disarmWaitsForReadInProgress()
{
    hid_device *dev = openBoard();
    ReadThread reader;
    reader.setDevice(dev);
    QueuedSpy data(&reader, &ReadThread::sendDataToPlay);
    reader.start();
    reader.arm();
    // The reader waits in its read on the silent board.
    QTRY_COMPARE(SimBoard::waitingReads(), 1);
    std::atomic<bool> answered{false};
    QThread *board = QThread::create([&answered] {
        QThread::msleep(300);
        // Marked before it is sent: the read may end, and disarm return, the moment it is.
        answered.store(true);
        SimBoard::injectReport(report(simframe::frame(record(700))));
    });
    board->start();
    reader.disarm();
    // The read under way ends only with the board's answer, so disarm cannot return before it.
    QVERIFY2(answered.load(), "disarm returned while a read was in progress");
    QVERIFY(!reader.isArmed());
    // The read that was under way still delivers its record.
    QTRY_COMPARE(data.size(), 1);
    board->wait();
    delete board;
    stopReader(reader);
}

void TestReaders::stopAtExitDoesNotWaitForTheReadTimeout()
{
    hid_device *dev = openBoard();
    // Read time-outs far beyond the wait below: an exit that waited for them would not end.
    ReadThread reader(kEndlessReadMs);
    CheckThread checker(kEndlessReadMs);
    reader.setDevice(dev);
    checker.setDevice(dev);
    reader.start();
    checker.start();
    reader.arm();
    checker.arm();
    QTRY_COMPARE(SimBoard::waitingReads(), 2); // both wait in their reads on the silent board
    reader.requestStop();
    checker.requestStop();
    QVERIFY2(reader.wait(60000), "exit waited for the read time-out");
    QVERIFY2(checker.wait(60000), "exit waited for the read time-out");
}

void TestReaders::silentBoardTimesOutAfterTheReadTimeout()
{
    hid_device *dev = openBoard();
    const int timeoutMs = testsupport::fastClock().checkReadTimeoutMs;
    CheckThread checker(timeoutMs);
    checker.setDevice(dev);
    QueuedSpy handshake(&checker, &CheckThread::handshakeMessage);
    checker.start();
    checker.arm();
    QTRY_COMPARE(handshake.size(), 1);
    QCOMPARE(handshake.at(0).at(0).toString(), QStringLiteral("接收返回超时！"));
    QVERIFY(!checker.isArmed());
    stopReader(checker);

    // A read waits for its time-out, not less: a report that comes while it waits is taken.
    ReadThread patient(kEndlessReadMs);
    patient.setDevice(dev);
    QueuedSpy patientData(&patient, &ReadThread::sendDataToPlay);
    QueuedSpy patientHandshake(&patient, &ReadThread::handshakeMessage);
    patient.start();
    patient.arm();
    QTest::qWait(100);
    SimBoard::injectReport(report(simframe::frame(record(800))));
    QTRY_COMPARE(patientData.size(), 1);
    QCOMPARE(patientHandshake.size(), 0);
    stopReader(patient);
}

void TestReaders::readErrorOrMissingDeviceReportsTimeout()
{
    hid_device *dev = openBoard();
    SimBoard::unplug();
    ReadThread unplugged;
    unplugged.setDevice(dev);
    ReadThread withoutDevice;
    QueuedSpy first(&unplugged, &ReadThread::handshakeMessage);
    QueuedSpy second(&withoutDevice, &ReadThread::handshakeMessage);
    unplugged.start();
    withoutDevice.start();
    unplugged.arm();
    withoutDevice.arm();
    QTRY_COMPARE(first.size(), 1);
    QTRY_COMPARE(second.size(), 1);
    QCOMPARE(first.at(0).at(0).toString(), QStringLiteral("接收返回超时！"));
    QCOMPARE(second.at(0).at(0).toString(), QStringLiteral("接收返回超时！"));
    QVERIFY(!unplugged.isArmed());
    QTest::qWait(50);
    QCOMPARE(first.size(), 1);
    stopReader(unplugged);
    stopReader(withoutDevice);
}

void TestReaders::refusedStartReachesHandshakeMessage()
{
    hid_device *dev = openBoard();
    SimBoard::setRefuseStart(true);
    ReadThread reader;
    reader.setDevice(dev);
    QueuedSpy handshake(&reader, &ReadThread::handshakeMessage);
    reader.start();
    reader.arm();
    const QByteArray start = QByteArray::fromHex("00067EFE07E09D7E").leftJustified(65, '\0');
    QCOMPARE(hid_write(dev, reinterpret_cast<const uchar *>(start.constData()), 65), 65);
    QTRY_COMPARE(handshake.size(), 1);
    QCOMPARE(handshake.at(0).at(0).toString(), QStringLiteral("握手失败！"));
    QVERIFY(!reader.isArmed());
    stopReader(reader);
}

// Armed for one record, the reader drops what was queued and delivers the next; armed for the
// backlog, it hands over what was queued, in order and flagged, or waits for the next when none
// was.
void TestReaders::checkThreadDropsBacklogBeforeReading()
{
    hid_device *dev = openBoard();
    for (int n = 0; n < 20; ++n)
        SimBoard::injectReport(report(simframe::frame(record(100 + n))));
    CheckThread checker;
    checker.setDevice(dev);
    QueuedSpy data(&checker, &CheckThread::sendCheckDataToPlay);
    checker.start();
    checker.arm();
    QTest::qWait(100);
    QCOMPARE(data.size(), 0);
    QCOMPARE(SimBoard::queuedReports(), 0);
    SimBoard::injectReport(report(simframe::frame(record(3000))));
    QTRY_COMPARE(data.size(), 1);
    QCOMPARE(data.at(0).at(0).toByteArray(), record(3000));

    QueuedSpy block(&checker, &CheckThread::sendCheckBlockToPlay);
    SimBoard::injectReport(report(simframe::frame(record(10))));
    SimBoard::injectReport(report(simframe::frame(QByteArray::fromHex("FE00"))));
    SimBoard::injectReport(report(corruptFrame(record(20))));
    SimBoard::injectReport(report(simframe::frame(record(30))));
    checker.armForBacklog();
    QTRY_COMPARE(block.size(), 1);
    QCOMPARE(block.at(0).at(0).value<QByteArrayList>(),
             (QByteArrayList{record(10), record(20), record(30)}));
    QCOMPARE(block.at(0).at(1).value<QVector<int>>(), (QVector<int>{0, 1, 0}));
    QTRY_VERIFY(!checker.isArmed());
    checker.armForBacklog();
    QTest::qWait(50);
    QCOMPARE(data.size() + block.size(), 2);
    SimBoard::injectReport(report(simframe::frame(record(40))));
    QTRY_COMPARE(data.size(), 2);
    QCOMPARE(data.at(1).at(0).toByteArray(), record(40));
    QCOMPARE(block.size(), 1);
    stopReader(checker);
}

void TestReaders::drainReaderWithoutDeviceFinishesAtOnce()
{
    ReadEmptyTh drain;
    drain.start();
    QVERIFY(drain.wait(500));
}

void TestReaders::drainReaderEmptiesQueueAndRestarts()
{
    hid_device *dev = openBoard();
    ReadEmptyTh drain;
    drain.setDevice(dev);
    for (int n = 0; n < 10; ++n)
        SimBoard::injectReport(report(simframe::frame(record(n))));
    drain.start();
    QTRY_COMPARE(SimBoard::queuedReports(), 0);
    const double before = cpuSeconds();
    QTest::qWait(200);
    QVERIFY2(cpuSeconds() - before < 0.05, "the drain must not spin on an empty queue");
    drain.requestStop();
    QVERIFY(drain.isFinished());
    SimBoard::injectReport(report(simframe::frame(record(5))));
    QTest::qWait(50);
    QCOMPARE(SimBoard::queuedReports(), 1);
    drain.start();
    QTRY_COMPARE(SimBoard::queuedReports(), 0);
    drain.requestStop();
}

QTEST_GUILESS_MAIN(TestReaders)
#include "tst_readers.moc"
