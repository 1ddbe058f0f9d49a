// The tool's pacing against the clock, the one place where the suite measures time. Each bound is
// a ratio of two times measured in the same run, or of a time to the waits the tool is paced by,
// so that a loaded machine, which slows every part alike, cannot decide it.
#include "app/mainwindow.h"
#include "link/debuggerlink.h"
#include "modalhelper.h"
#include "sim/simboard.h"
#include "testsupport.h"
#include "uiscript.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using testsupport::waitUntil;

namespace
{
// The fixed pacing of one channel: two counted-down starts (lead, three digits, the settle after
// Start), and the pause after each of the 322 records that do not end a phase.
int pacingFloorMs(const Pacing &p)
{
    return 2 * (p.countdownLeadMs + 3 * p.countdownStepMs + p.startSettleMs) + 322 * p.rearmPauseMs;
}

// A single-channel test of TK5 through the window on the clock: the milliseconds from the click
// to its results row, or -1 when the run did not get there.
qint64 singleChannelMs(const Pacing &clock)
{
    SimBoard::reset();
    SimBoard::setNoise(0);
    SimBoard::setDataInterval(1);
    ModalHelper boxes;
    MainWindow window(clock);
    window.show();
    window.findChild<QComboBox *>(QStringLiteral("mcuTypeCBox"))->setCurrentIndex(1);
    if (!chooseKey(window.findChild<QWidget *>(QStringLiteral("Mwidget20")), 5, 1))
        return -1;
    window.findChild<QTabWidget *>(QStringLiteral("setDebugTWidget"))->setCurrentIndex(1);
    auto *log = window.findChild<QPlainTextEdit *>(QStringLiteral("plainTextEdit"));
    auto *table = window.findChild<QTableWidget *>(QStringLiteral("tableWidget"));
    QElapsedTimer started;
    started.start();
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("btnTk5")), Qt::LeftButton);
    const QString ask = QStringLiteral("请按TK5 ，开始测量(触摸)...！");
    if (!waitUntil([&] { return log->toPlainText().contains(ask); }, 60000))
        return -1;
    SimBoard::setFinger(5, true);
    const bool written = waitUntil([&] { return table->item(0, 0) != nullptr; }, 60000);
    const qint64 elapsed = started.elapsed();
    SimBoard::setFinger(5, false);
    return written ? elapsed : -1;
}
} // namespace

class BenchPacing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }

    // On 0.4 of the tool's own pacing (about 6 s; every wait is the same multiple of the pacing's
    // scale, so this holds the tool's own waits as a whole run would, in less than half the time)
    // a channel takes at least the waits it is paced by; on the fast clock an eighth of that.
    // Drawing each record costs the same on either clock, so any one wait left unscaled (two
    // seconds or more) shows in the ratio.
    void singleChannelFollowsItsClock()
    {
        constexpr double kSlowClock = 0.4;
        const Pacing slow = testsupport::scaledClock(kSlowClock);
        const qint64 slowMs = singleChannelMs(slow);
        QVERIFY(slowMs > 0);
        const int floorMs = pacingFloorMs(slow);
        qInfo("single-channel test on %.1f of the tool's pacing: %lld ms against a pacing floor of "
              "%d ms (%+.2f %%)",
              kSlowClock, static_cast<long long>(slowMs), floorMs,
              100.0 * (slowMs - floorMs) / floorMs);
        QVERIFY(slowMs >= floorMs * 97 / 100);

        const Pacing fast = testsupport::fastClock();
        const qint64 fastMs = singleChannelMs(fast);
        QVERIFY(fastMs > 0);
        const double ratio = double(fastMs) / double(slowMs);
        const double scale = testsupport::kFastClock / kSlowClock;
        qInfo("on the fast clock (%.4f): %lld ms, %.4f of the slower run (scaled %.4f)",
              testsupport::kFastClock, static_cast<long long>(fastMs), ratio, scale);
        QVERIFY(fastMs >= pacingFloorMs(fast) * 97 / 100);
        QVERIFY2(ratio <= scale * 3, qPrintable(QString::number(ratio)));
    }

    // A silent board: one acknowledgement wait takes its deadline, and the five Stop rounds of
    // verification's end share that one deadline instead of waiting once per round.
    void silentBoardHoldsTheStopRoundsForOneDeadline()
    {
        SimBoard::reset();
        SimBoard::setSilent(true);
        const Pacing pacing = Pacing().scaled(0.2);
        DebuggerLink link(pacing);
        QCOMPARE(link.openDebugger(), 0);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(link.waitStopAck(), 0);
        const qint64 oneWaitMs = clock.restart();
        QCOMPARE(link.runStopExchange(StopExchange::VerificationOff), StopOutcome::NotAcknowledged);
        const qint64 roundsMs = clock.elapsed();
        const double ratio = double(roundsMs) / double(oneWaitMs);
        qInfo("one acknowledgement wait %lld ms (deadline %d ms), five Stop rounds %lld ms (%.2f)",
              static_cast<long long>(oneWaitMs), pacing.stopAckDeadlineMs,
              static_cast<long long>(roundsMs), ratio);
        QVERIFY(oneWaitMs >= pacing.stopAckDeadlineMs * 97 / 100);
        QVERIFY2(ratio <= 2.0, qPrintable(QString::number(ratio)));
    }
};

QTEST_MAIN(BenchPacing)
#include "bench_pacing.moc"
