// The time one board takes on the production line: the space bar to its verdict on the tool's own
// pacing, without the touch test, against the waits it is paced by (the board's settle after
// Start and the pause after each record of the no-touch capture). The bound is that ratio.
#include "chip/chip.h"
#include "productionrig.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace testsupport;

class BenchProduction : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }

    void timePerBoard()
    {
        QTemporaryDir dir;
        QVERIFY(writeLineProject(dir.path(), false));
        SimBoard::reset();
        const Pacing real = realClock();
        SimBoard::setBatch(true, SimBoard::Spread(), 1);
        MainWindow window(real);
        window.show();
        OperatorView *view = openLineProject(window, dir.path());
        QVERIFY(view);
        const int floorMs = real.startSettleMs + chip::kSamplesPerPhase * real.rearmPauseMs;
        constexpr int kBoards = 2;
        qint64 slowest = 0;
        qint64 total = 0;
        for (int n = 0; n < kBoards; ++n) {
            QElapsedTimer clock;
            clock.start();
            QTest::keyClick(view, Qt::Key_Space);
            QVERIFY(waitUntil([&] { return boardDone(view); }, 60000));
            const qint64 ms = clock.elapsed();
            QCOMPARE(view->verdict(), OperatorView::Verdict::Pass);
            slowest = std::max(slowest, ms);
            total += ms;
        }
        qInfo("time per board (no-touch capture of every channel in use): %lld ms on average, "
              "%lld ms at most, against a pacing floor of %d ms (%.2f)",
              static_cast<long long>(total / kBoards), static_cast<long long>(slowest), floorMs,
              double(slowest) / floorMs);
        QCOMPARE(loggedBoards(dir.path()).size(), kBoards);
        // Anything beyond the board's own pace (a wait not meant, a capture taken twice) shows.
        QVERIFY(slowest >= floorMs * 97 / 100);
        QVERIFY2(slowest <= floorMs * 3 / 2, qPrintable(QString::number(slowest)));
    }
};

QTEST_MAIN(BenchProduction)
#include "bench_production.moc"
