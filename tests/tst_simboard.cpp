#include "sim/simboard.h"
#include "sim/simframe.h"
#include "testsupport.h"

#include <hidapi/hidapi.h>

#include <QtTest>

using testsupport::kStartReport;
using testsupport::kStopReport;

namespace
{

int write(hid_device *dev, const QByteArray &report)
{
    return hid_write(dev, reinterpret_cast<const unsigned char *>(report.constData()),
                     size_t(report.size()));
}

// Reads one board report and returns its frame's payload, or the raw report when it is no frame.
QByteArray readPayload(hid_device *dev, int timeoutMs, int *result = nullptr)
{
    unsigned char buf[65] = {};
    const int r = hid_read_timeout(dev, buf, sizeof buf, timeoutMs);
    if (result)
        *result = r;
    if (r <= 1)
        return QByteArray();
    QByteArray payload;
    const QByteArray wire(reinterpret_cast<const char *>(buf + 1), buf[0]);
    return simframe::unframe(wire, &payload) ? payload : QByteArray("bad:") + wire.toHex();
}

int channelValue(const QByteArray &record, int channel)
{
    return (uchar(record.at(1 + 2 * channel)) << 8) | uchar(record.at(2 + 2 * channel));
}
} // namespace

class HotplugReceiver : public QObject
{
    Q_OBJECT

public:
    QList<QPair<QString, int>> events;

public slots:
    void deliverDeviceChange(QString name, int kind) { events.append({name, kind}); }
};

// The simulated board answers like the real one; the link tests rely on that.
class TestSimBoard : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        SimBoard::reset();
        SimBoard::setNoise(0);
    }

    void startStreamsRecordsUntilStop()
    {
        hid_device *dev = hid_open(0x0483, 0x5850, nullptr);
        QVERIFY(dev);
        QCOMPARE(write(dev, kStartReport), 65);
        QCOMPARE(readPayload(dev, 100).toHex(), QByteArray("fe00"));
        for (int n = 0; n < 3; ++n) {
            const QByteArray record = readPayload(dev, 100);
            QCOMPARE(record.size(), 51);
            QCOMPARE(uchar(record.at(0)), uchar(0x36));
            for (int k = 0; k < 25; ++k)
                QCOMPARE(channelValue(record, k), int(SimBoard::baseline(k)));
        }
        QCOMPARE(write(dev, kStopReport), 65);
        QByteArray payload;
        do
            payload = readPayload(dev, 100);
        while (payload.size() == 51);
        QCOMPARE(payload.toHex(), QByteArray("ff00"));
        QVERIFY(!SimBoard::isStreaming());
        QCOMPARE(SimBoard::writtenReports(), (QList<QByteArray>{kStartReport, kStopReport}));
    }

    // Also per channel: a finger that lowers the count, and counts held at 0 and 65535.
    void fingerAndWaterRaiseReadings()
    {
        const quint16 defaultBaseline = SimBoard::baseline(3);
        SimBoard::setChannelLevels(3, 40000, -300);
        SimBoard::setChannelLevels(4, 65500, 300);
        SimBoard::setChannelLevels(5, 10, -300);
        for (int channel : {3, 4, 5, 7})
            SimBoard::setFinger(channel, true);
        SimBoard::setWater(true);
        hid_device *dev = hid_open(0x0483, 0x5850, nullptr);
        write(dev, kStartReport);
        readPayload(dev, 100);
        const QByteArray record = readPayload(dev, 100);
        QCOMPARE(channelValue(record, 7), SimBoard::baseline(7) + 300 + 30);
        QCOMPARE(channelValue(record, 8), SimBoard::baseline(8) + 30);
        QCOMPARE(channelValue(record, 3), 40000 - 300 + 30);
        QCOMPARE(channelValue(record, 4), 65535);
        QCOMPARE(channelValue(record, 5), 0);
        QCOMPARE(SimBoard::meanReading(4), quint16(65535));
        SimBoard::reset();
        QCOMPARE(SimBoard::baseline(3), defaultBaseline);
    }

    void noiseIsBoundedAndRepeatsWithItsSeed()
    {
        auto firstRecord = [] {
            SimBoard::reset();
            SimBoard::setNoise(5, 42);
            hid_device *dev = hid_open(0x0483, 0x5850, nullptr);
            write(dev, kStartReport);
            readPayload(dev, 100);
            return readPayload(dev, 100);
        };
        const QByteArray a = firstRecord();
        QCOMPARE(firstRecord(), a);
        bool varied = false;
        for (int k = 0; k < 25; ++k) {
            QVERIFY(qAbs(channelValue(a, k) - SimBoard::baseline(k)) <= 5);
            varied = varied || channelValue(a, k) != SimBoard::baseline(k);
        }
        QVERIFY(varied);
    }

    void refusalsAndSilence_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("refused start") << "refuseStart" << kStartReport << QByteArray("fe01");
        QTest::newRow("refused stop") << "refuseStop" << kStopReport << QByteArray("ff01");
        QTest::newRow("silent") << "silent" << kStartReport << QByteArray();
    }

    void refusalsAndSilence()
    {
        QFETCH(QString, mode);
        QFETCH(QByteArray, report);
        QFETCH(QByteArray, reply);
        SimBoard::setRefuseStart(mode == "refuseStart");
        SimBoard::setRefuseStop(mode == "refuseStop");
        SimBoard::setSilent(mode == "silent");
        hid_device *dev = hid_open(0x0483, 0x5850, nullptr);
        write(dev, report);
        int r = 0;
        QCOMPARE(readPayload(dev, 50, &r).toHex(), reply);
        QCOMPARE(r > 0, !reply.isEmpty());
        QVERIFY(!SimBoard::isStreaming());
    }

    void corruptedFramesFailTheirCheck()
    {
        SimBoard::corruptNextFrames(1);
        hid_device *dev = hid_open(0x0483, 0x5850, nullptr);
        write(dev, kStartReport);
        readPayload(dev, 100);
        QVERIFY(readPayload(dev, 100).startsWith("bad:"));
        QCOMPARE(readPayload(dev, 100).size(), 51);
    }

    // Every third frame fails its check; every second is cut after channel 2 under an intact one.
    void everyNthFrameCorruptOrCutShort()
    {
        SimBoard::corruptEveryNthFrame(3);
        SimBoard::shortenEveryNthFrame(2);
        hid_device *dev = hid_open(0x0483, 0x5850, nullptr);
        write(dev, kStartReport);
        readPayload(dev, 100);
        QStringList frames;
        for (int n = 1; n <= 6; ++n) {
            const QByteArray payload = readPayload(dev, 100);
            frames << (payload.startsWith("bad:") ? QStringLiteral("bad")
                                                  : QString::number(payload.size()));
        }
        QCOMPARE(frames, (QStringList{"51", "7", "bad", "7", "51", "bad"}));
    }

    void unpluggedBoardFailsUntilReopened()
    {
        hid_device *dev = hid_open(0x0483, 0x5850, nullptr);
        hid_set_nonblocking(dev, 1);
        SimBoard::unplug();
        unsigned char buf[65];
        QCOMPARE(hid_read(dev, buf, 65), -1);
        QCOMPARE(write(dev, kStartReport), -1);
        QVERIFY(!hid_open(0x0483, 0x5850, nullptr));
        QVERIFY(SimBoard::writtenReports().isEmpty());
        SimBoard::plug();
        QCOMPARE(hid_read(dev, buf, 65), -1);
        hid_device *again = hid_open(0x0483, 0x5850, nullptr);
        QVERIFY(again);
        hid_set_nonblocking(again, 1);
        QCOMPARE(hid_read(again, buf, 65), 0);
    }

    // The counts the link tests rely on: a handle stays open until closed, whatever the cable does,
    // and a use after the close is counted, a read woken by the close included.
    void handlesAreCountedUntilClosed()
    {
        const int handles = SimBoard::openHandles();
        const int closedUses = SimBoard::closedHandleUses();
        hid_device *first = hid_open(0x0483, 0x5850, nullptr);
        SimBoard::unplug();
        SimBoard::plug();
        hid_device *second = hid_open(0x0483, 0x5850, nullptr);
        QCOMPARE(SimBoard::openHandles(), handles + 2);
        hid_close(first);
        QCOMPARE(SimBoard::openHandles(), handles + 1);
        QCOMPARE(SimBoard::closedHandleUses(), closedUses);
        unsigned char buf[65];
        QCOMPARE(hid_read_timeout(first, buf, 65, 0), -1);
        hid_close(first);
        QCOMPARE(SimBoard::openHandles(), handles + 1);
        QCOMPARE(SimBoard::closedHandleUses(), closedUses + 2);

        QThread *reader = QThread::create([second] {
            unsigned char report[65];
            hid_read_timeout(second, report, 65, 5000);
        });
        reader->start();
        QThread::msleep(50);
        hid_close(second);
        QVERIFY(reader->wait(2000));
        delete reader;
        QCOMPARE(SimBoard::openHandles(), handles);
        QCOMPARE(SimBoard::closedHandleUses(), closedUses + 3);
    }

    void unplugWakesABlockedRead()
    {
        hid_device *dev = hid_open(0x0483, 0x5850, nullptr);
        QTimer::singleShot(50, [] { SimBoard::unplug(); });
        // A time-out no test waits for: only the unplug can end the read.
        QThread *reader = QThread::create([dev] {
            unsigned char buf[65];
            QCOMPARE(hid_read_timeout(dev, buf, 65, 600000), -1);
        });
        reader->start();
        QTRY_VERIFY_WITH_TIMEOUT(reader->isFinished(), 30000);
        delete reader;
    }

    void queueKeepsOnlyTheNewestReports()
    {
        SimBoard::setQueueLimit(4);
        SimBoard::setDataInterval(1);
        hid_device *dev = hid_open(0x0483, 0x5850, nullptr);
        write(dev, kStartReport);
        QThread::msleep(30);
        QCOMPARE(SimBoard::queuedReports(), 4);
        // The Start acknowledgement was the oldest and is gone.
        QCOMPARE(readPayload(dev, 0).size(), 51);
    }

    void hotplugEventsReachTheTargetThroughItsEventLoop()
    {
        HotplugReceiver receiver;
        SimBoard::setHotplugTarget(&receiver);
        SimBoard::unplug();
        SimBoard::plug();
        // Delivered later, on the receiver's thread, never inside unplug() or plug().
        QVERIFY(receiver.events.isEmpty());
        QTRY_COMPARE(receiver.events.size(), 2);
        const QString name = SimBoard::interfaceName();
        QCOMPARE(receiver.events, (QList<QPair<QString, int>>{{name, 2}, {name, 1}}));
        QVERIFY(name.startsWith(QStringLiteral("\\\\?\\USB#VID_0483&PID_5850#")));
        SimBoard::setHotplugTarget(nullptr);
        SimBoard::unplug();
        QCoreApplication::processEvents();
        QCOMPARE(receiver.events.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSimBoard)
#include "tst_simboard.moc"
