// The link's traffic kept in memory, and the diagnostics bundle that carries it with the session.
#include "diagnostics/diagnosticsbundle.h"
#include "link/debuggerlink.h"
#include "sim/simboard.h"

#include "testsupport.h"

#include <QTemporaryDir>
#include <QtTest>

using testsupport::readBytes;
using testsupport::writeBytes;

namespace
{
// A board report that carries its number in bytes 1 to 3.
QByteArray numbered(int n)
{
    QByteArray report(64, '\0');
    report[0] = char(0x3F);
    report[1] = char(n & 0xFF);
    report[2] = char((n >> 8) & 0xFF);
    report[3] = char(n >> 16);
    return report;
}

int numberOf(const TrafficEntry &entry)
{
    return entry.bytes[1] | entry.bytes[2] << 8 | entry.bytes[3] << 16;
}
} // namespace

class TestDiagnostics : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void init()
    {
        SimBoard::reset();
        SimBoard::setNoise(0);
    }

    void trafficKeepsTheNewestReportsOfAFullStream()
    {
        constexpr int kReports = LinkTraffic::kCapacity + 5000;
        SimBoard::setQueueLimit(kReports);
        DebuggerLink link(testsupport::fastClock());
        QCOMPARE(link.openDebugger(), 0);
        for (int n = 0; n < kReports; ++n)
            SimBoard::injectReport(numbered(n));
        // The drain reads on its thread while this one reads the traffic.
        link.startDrain();
        QTRY_VERIFY(link.traffic().entries().size() == LinkTraffic::kCapacity &&
                    SimBoard::queuedReports() == 0);
        link.stopDrain();
        qint64 added = 0;
        const QVector<TrafficEntry> kept = link.traffic().entries(&added);
        // The open and the oldest reports dropped; of the newest none lost, none out of order.
        QCOMPARE(added, qint64(1 + kReports));
        QCOMPARE(kept.size(), LinkTraffic::kCapacity);
        for (int i = 0; i < kept.size(); ++i) {
            QCOMPARE(kept[i].verdict, TrafficVerdict::Discarded);
            QCOMPARE(kept[i].source, TrafficSource::Drain);
            QCOMPARE(numberOf(kept[i]), kReports - LinkTraffic::kCapacity + i);
        }
    }

    void failedWriteLeavesTheFolderAsItWas()
    {
        // A recording that goes away while the zip is written: libzip fails as it reads it.
        QTemporaryDir dir;
        const QString target = dir.filePath("bundle.zip");
        const QString recording = dir.filePath("rec.csv");
        writeBytes(target, "earlier");
        writeBytes(recording, "0123456789");
        DiagnosticsBundle bundle;
        bundle.addFile(QStringLiteral("recording/rec.csv"), recording, 10);
        bundle.addMade(QStringLiteral("traffic.txt"), [&] {
            QFile::remove(recording);
            return QByteArray("traffic");
        });
        QString error;
        QVERIFY(!bundle.write(target, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes(target), QByteArray("earlier"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"bundle.zip"});
        // A folder that cannot be written, for root as well: a path below a regular file.
        DiagnosticsBundle small;
        small.add(QStringLiteral("log.txt"), "log");
        error.clear();
        QVERIFY(!small.write(dir.filePath("bundle.zip/inner.zip"), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TestDiagnostics)
#include "tst_diagnostics.moc"
