// The link's traffic kept in memory, and the diagnostics bundle that carries it with the session.
#include "link/debuggerlink.h"
#include "sim/simboard.h"

#include "testsupport.h"

#include <QtTest>

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
};

QTEST_MAIN(TestDiagnostics)
#include "tst_diagnostics.moc"
