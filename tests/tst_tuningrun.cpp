// End-to-end runs of the no-touch/touch tests: the real window against the simulated board,
// driven by object names, with the finger put on the board's key when the tool asks for it.
#include "app/mainwindow.h"
#include "compat/qtcompat.h"
#include "modalhelper.h"
#include "quality/keyquality.h"
#include "sim/simboard.h"
#include "testsupport.h"
#include "tuning/phaseprogress.h"
#include "uiscript.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextCursor>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include <algorithm>
#include <functional>

using namespace QtCharts;

using testsupport::kStartReport;
using testsupport::kStopReport;
using testsupport::waitUntil;

namespace
{
// Watches a widget: every look its style sheet gives it, in order, and the chart's test points
// at each paint.
class LookWatch : public QObject
{
public:
    QStringList looks;
    QList<int> pointsAtPaint;
    std::function<int()> points;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::StyleChange && widget &&
            (looks.isEmpty() || looks.last() != widget->styleSheet()))
            looks << widget->styleSheet();
        if (event->type() == QEvent::Paint && points)
            pointsAtPaint << points();
        return QObject::eventFilter(watched, event);
    }
};

// The window on the simulated board, with the SOP20 package chosen and keys on some channels; on
// the fast clock unless given another.
class Bench
{
public:
    explicit Bench(std::initializer_list<int> channels,
                   const Pacing &clock = testsupport::fastClock())
    {
        SimBoard::reset();
        SimBoard::setNoise(0);
        SimBoard::setDataInterval(1);
        window = std::make_unique<MainWindow>(clock);
        window->show();
        find<QComboBox>("mcuTypeCBox")->setCurrentIndex(1);
        auto *sop20 = find<QWidget>("Mwidget20");
        int key = 1;
        for (int channel : channels)
            QVERIFY2(chooseKey(sop20, channel, key++), "key menu not answered");
        find<QTabWidget>("setDebugTWidget")->setCurrentIndex(1);
        // The key menus were popups the helper saw; only the boxes of the run count.
        boxes.clear();
        SimBoard::clearWrittenReports();
    }

    template <typename T> T *find(const QString &name, QObject *below = nullptr) const
    {
        T *widget = (below ? below : static_cast<QObject *>(window.get()))->findChild<T *>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }
    template <typename T> T *find(const char *name) const
    {
        return find<T>(QString::fromLatin1(name));
    }

    QStringList log() const
    {
        return find<QPlainTextEdit>("plainTextEdit")->toPlainText().split(QLatin1Char('\n'));
    }
    bool logHas(const QString &line) const { return log().contains(line); }
    // A finger on the channel once its touch phase is asked for, until its row shows.
    bool touchWhenAsked(int channel, int row) const
    {
        const QString ask = QStringLiteral("请按TK%1 ，开始测量(触摸)...！").arg(channel);
        if (!waitUntil([&] { return logHas(ask); }, 20000))
            return false;
        SimBoard::setFinger(channel, true);
        const bool written =
            waitUntil([&] { return cell(row, 0) == QStringLiteral("TK%1").arg(channel); }, 20000);
        SimBoard::setFinger(channel, false);
        return written;
    }
    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = find<QTableWidget>("tableWidget")->item(row, column);
        return item ? item->text() : QString();
    }
    bool midPhase() const { return testsupport::midPhase(find<QLabel>("progressLabel")); }
    QLineSeries *testSeries() const
    {
        const auto series = find<QChartView>("chartView")->chart()->series();
        return series.size() == 1 ? qobject_cast<QLineSeries *>(series.first()) : nullptr;
    }
    int testPoints() const
    {
        QLineSeries *series = testSeries();
        return series ? series->count() : 0;
    }
    static QList<QByteArray> reportsLike(const QByteArray &report)
    {
        QList<QByteArray> found;
        for (const QByteArray &written : SimBoard::writtenReports()) {
            if (written == report)
                found << written;
        }
        return found;
    }

    std::unique_ptr<MainWindow> window;
    ModalHelper boxes;
};
} // namespace

class TestTuningRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }

    // A single-channel test of TK5, with everything it shows checked. What the test sees is taken
    // as it changes (the key's looks, the count after each record, the chart at each paint), never
    // sampled on a timer of its own, so that the machine's speed cannot decide what is seen.
    void singleChannelTestMeasuresTheKey()
    {
        Bench bench({5});
        auto *key = bench.find<QPushButton>("btnTk5");
        LookWatch keyWatch;
        key->installEventFilter(&keyWatch);
        LookWatch chartWatch;
        chartWatch.points = [&] { return bench.testPoints(); };
        bench.find<QChartView>("chartView")->viewport()->installEventFilter(&chartWatch);
        // The count "n/162" shown beside the badge after each record.
        auto *progress = bench.find<QLabel>("progressLabel");
        QList<int> counts;
        QObject::connect(bench.window->findChild<DebuggerLink *>(), &DebuggerLink::record, progress,
                         [&] {
                             const QStringList parts = progress->text().split(QLatin1Char('/'));
                             if (progress->isVisible() && parts.value(1) == QLatin1String("162"))
                                 counts << parts.value(0).toInt();
                         });

        QTest::mouseClick(key, Qt::LeftButton);
        QCOMPARE(bench.log().last(), QStringLiteral("开始调试TK5，先请勿触摸！"));
        // The countdown badge sits over the log pane, clear of the short newest line.
        auto *log = bench.find<QPlainTextEdit>("plainTextEdit");
        const QRect badge = bench.find<QLabel>("countdownLabel")->geometry();
        QVERIFY(QRect(log->mapTo(bench.window.get(), QPoint()), log->size()).contains(badge));
        QTextCursor end(log->document());
        end.movePosition(QTextCursor::End);
        const QPoint textEnd = log->cursorRect(end).topRight();
        QVERIFY(badge.left() > log->viewport()->mapTo(bench.window.get(), textEnd).x());
        // The count sits just left of the badge, clear of the newest line too.
        QCOMPARE(progress->geometry().right() + 1 + PhaseProgress::kGap, badge.left());
        QCOMPARE(progress->geometry().top(), badge.top());
        QVERIFY(bench.touchWhenAsked(5, 0));

        QCOMPARE(bench.cell(0, 1), QString::number(SimBoard::baseline(5)));
        QCOMPARE(bench.cell(0, 2), QString::number(SimBoard::baseline(5) + SimBoard::kFingerRise));
        QCOMPARE(bench.log(),
                 (QStringList{QStringLiteral("开始调试TK5，先请勿触摸！"),
                              QStringLiteral("请按TK5 ，开始测量(触摸)...！"),
                              QStringLiteral("TK5：噪声 1，信号 %1，信噪比 %1.0:1，防水偏移 未测")
                                  .arg(SimBoard::kFingerRise)}));
        // One Start per phase, and a single-channel test leaves the board running: no Stop.
        QCOMPARE(SimBoard::writtenReports(), (QList<QByteArray>{kStartReport, kStartReport}));
        QCOMPARE(bench.testPoints(), 324);
        // Counted up record by record; the record that ends the no-touch phase starts the touch
        // phase's count from none; gone at the end.
        QList<int> expectedCounts;
        for (int n = 1; n < 324; ++n)
            expectedCounts << n % 162;
        QCOMPARE(counts, expectedCounts);
        QVERIFY(!progress->isVisible());
        QVERIFY(bench.boxes.texts().isEmpty());

        // The measured key blinked white and ends solid green. Each phase outlasts a blink on any
        // machine (161 re-arm pauses against one blink), so two blinks at least took turns. The
        // chart was drawn while the no-touch phase was measured, not only at its end.
        const QString solidGreen =
            QStringLiteral("QPushButton{background-color:rgb(0,255,0);; border:2px solid "
                           "rgb(0,255,0);; border-radius:10px;}");
        const QString white =
            QStringLiteral("QPushButton{background-color:rgb(255,255,255);; border:2px solid "
                           "rgb(255,255,255);; border-radius:10px;}");
        QCOMPARE(key->styleSheet(), solidGreen);
        QVERIFY2(keyWatch.looks.contains(white) && keyWatch.looks.last() == solidGreen,
                 qPrintable(keyWatch.looks.join(QLatin1Char('\n'))));
        QVERIFY(std::any_of(chartWatch.pointsAtPaint.cbegin(), chartWatch.pointsAtPaint.cend(),
                            [](int points) { return points > 0 && points < 162; }));
    }

    void autoTestMeasuresEveryKeyInUse()
    {
        Bench bench({9, 0, 3});
        QTest::mouseClick(bench.find<QPushButton>("autoTest_btn"), Qt::LeftButton);
        QTRY_COMPARE(bench.boxes.texts(),
                     QStringList{QStringLiteral("请确保触摸板干净、无触摸、无水渍！")});
        const QList<int> order = {0, 3, 9};
        for (int i = 0; i < order.size(); ++i) {
            const int channel = order[i];
            const QString prompt =
                channel == 0 ? QStringLiteral("请勿触摸 TK0，开始测量（不触摸） ...")
                             : QStringLiteral("请勿触摸TK%1，开始测量（不触摸） ...").arg(channel);
            QVERIFY(waitUntil([&] { return bench.logHas(prompt); }, 5000));
            QVERIFY(bench.touchWhenAsked(channel, i));
        }
        QTRY_COMPARE(bench.boxes.lastText(), QStringLiteral("所选通道不触摸与触摸测试完成！"));
        QCOMPARE(bench.boxes.titles(),
                 (QStringList{QStringLiteral("提示"), QStringLiteral("提示")}));
        for (int i = 0; i < order.size(); ++i) {
            QCOMPARE(bench.cell(i, 1), QString::number(SimBoard::baseline(order[i])));
            QCOMPARE(bench.cell(i, 2),
                     QString::number(SimBoard::baseline(order[i]) + SimBoard::kFingerRise));
        }
        // Two Starts per channel, then the two Stops that end the run.
        QList<QByteArray> expected;
        for (int i = 0; i < 6; ++i)
            expected << kStartReport;
        expected << kStopReport << kStopReport;
        QCOMPARE(SimBoard::writtenReports(), expected);
        // Per channel its two prompts and its figures.
        QCOMPARE(bench.log().size(), 9);
    }

    // On a board where a finger on TK4 raises TK3 by 200 and one on TK3 raises TK4 by 120, the
    // auto test warns of both pairs (the keys' margins are 150), and after the waterproof test
    // TK3 fails: a touch on TK4 would press it. TK4 passes with the warning in its tooltip.
    void couplingOfTwoKeysOnTheSimulatedBoard()
    {
        Bench bench({3, 4});
        SimBoard::setCoupling(4, 3, 200);
        SimBoard::setCoupling(3, 4, 120);
        QTest::mouseClick(bench.find<QPushButton>("autoTest_btn"), Qt::LeftButton);
        for (int row = 0; row < 2; ++row) {
            const int channel = 3 + row;
            QVERIFY(bench.touchWhenAsked(channel, row));
        }
        QTRY_COMPARE(bench.boxes.lastText(), QStringLiteral("所选通道不触摸与触摸测试完成！"));
        const QStringList log = bench.log();
        QCOMPARE(log.mid(log.size() - 2),
                 (QStringList{QStringLiteral("触摸 TK4 时 TK3 偏移 200，达到阈值余量的 133%"),
                              QStringLiteral("触摸 TK3 时 TK4 偏移 120，达到阈值余量的 80%")}));

        SimBoard::setWater(true);
        QTest::mouseClick(bench.find<QPushButton>("waterproof_btn"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(bench.boxes.lastText(), QStringLiteral("所选通道防水测试完成！"),
                                  20000);
        SimBoard::setWater(false);
        auto *table = bench.find<QTableWidget>("tableWidget");
        QCOMPARE(table->item(0, 0)->background().color(),
                 KeyQuality::verdictColour(KeyVerdict::Fail));
        QVERIFY(table->item(0, 0)->toolTip().startsWith(
            QStringLiteral("TK3：不合格（邻键触摸时会被按下）")));
        QCOMPARE(table->item(1, 0)->background().color(),
                 KeyQuality::verdictColour(KeyVerdict::Pass));
        QVERIFY(table->item(1, 0)->toolTip().endsWith(
            QStringLiteral("触摸 TK3 时 TK4 偏移 120，达到阈值余量的 80%")));
    }

    // A touch phase without a finger is asked about; measured again, both phases follow their
    // own Starts and the key gets its row.
    void missedTouchIsMeasuredAgain()
    {
        Bench bench({5});
        const QString prompt = QStringLiteral("请按TK5 ，开始测量(触摸)...！");
        bench.boxes.queueButtons({QStringLiteral("重新测量")});
        QTest::mouseClick(bench.find<QPushButton>("btnTk5"), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return bench.log().count(prompt) == 2; }, 20000));
        SimBoard::setFinger(5, true);
        QVERIFY(waitUntil([&] { return bench.cell(0, 0) == QStringLiteral("TK5"); }, 20000));
        SimBoard::setFinger(5, false);
        QCOMPARE(bench.boxes.texts(),
                 QStringList{QStringLiteral("TK5 的触摸测量可疑（信噪比 0.0:1）。")});
        QCOMPARE(bench.cell(0, 2), QString::number(SimBoard::baseline(5) + SimBoard::kFingerRise));
        QCOMPARE(Bench::reportsLike(kStartReport).size(), 4);
    }

    void badRecordsAreSkippedAndStopEndsTheRun()
    {
        Bench bench({12});
        // A stream slower than the tool takes it, so that the corrupt frames are read rather than
        // dropped from a full queue.
        SimBoard::setDataInterval(100);
        QSignalSpy records(bench.window->findChild<DebuggerLink *>(), &DebuggerLink::record);
        QTest::mouseClick(bench.find<QPushButton>("btnTk12"), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return bench.testPoints() >= 10; }, 10000));
        SimBoard::setWater(true);
        SimBoard::corruptNextFrames(3);
        QVERIFY(waitUntil(
            [&] { return bench.logHas(QStringLiteral("请按TK12 ，开始测量(触摸)...！")); }, 20000));
        // 162 good records end the phase; each bad one read meanwhile only repeated the last
        // point. (One stalled behind the board's queue may be read after the phase, or never.)
        int bad = 0;
        for (const QList<QVariant> &record : qAsConst(records))
            bad += record.at(1).toInt();
        QVERIFY(bad >= 1 && bad <= 3);
        QCOMPARE(bench.testPoints(), 162 + bad);
        const int dry = SimBoard::baseline(12);
        for (const QPointF &point : qtcompat::seriesPoints(*bench.testSeries()))
            QVERIFY(point.y() == dry || point.y() == dry + SimBoard::kWaterShift);

        QVERIFY(waitUntil([&] { return bench.testPoints() >= 175; }, 10000));
        SimBoard::clearWrittenReports();
        QTest::mouseClick(bench.find<QPushButton>("stopTest_btn"), Qt::LeftButton);
        QCOMPARE(SimBoard::writtenReports(),
                 (QList<QByteArray>{kStopReport, kStopReport, kStopReport}));
        QVERIFY(bench.boxes.texts().isEmpty());
        QVERIFY(!SimBoard::isStreaming());
        const int points = bench.testPoints();
        QTest::qWait(200);
        // No record is taken any more: only one the reader had read when Stop came may still
        // be drawn.
        QVERIFY2(bench.testPoints() <= points + 1, qPrintable(QString::number(bench.testPoints())));
        QCOMPARE(bench.cell(0, 0), QString());
        // The run is over: the key can be measured again at once.
        QTest::mouseClick(bench.find<QPushButton>("btnTk12"), Qt::LeftButton);
        QCOMPARE(bench.log().last(), QStringLiteral("开始调试TK12，先请勿触摸！"));
        QVERIFY(bench.boxes.texts().isEmpty());
        QTest::mouseClick(bench.find<QPushButton>("stopTest_btn"), Qt::LeftButton);
        QVERIFY(bench.boxes.texts().isEmpty());
        QVERIFY(!bench.find<QLabel>("countdownLabel")->isVisible());
    }

    void refusedStopLeavesTheRunGoing()
    {
        Bench bench({1});
        QTest::mouseClick(bench.find<QPushButton>("btnTk1"), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return bench.midPhase(); }, 10000));
        SimBoard::setRefuseStop(true);
        SimBoard::clearWrittenReports();
        QTest::mouseClick(bench.find<QPushButton>("stopTest_btn"), Qt::LeftButton);
        QTRY_COMPARE(bench.boxes.texts(), QStringList{QStringLiteral("停止测试失败！")});
        QCOMPARE(Bench::reportsLike(kStopReport).size(), 3);
        // Still marked busy: a new start is refused until a stop succeeds.
        QTest::mouseClick(bench.find<QPushButton>("btnTk1"), Qt::LeftButton);
        QTRY_COMPARE(bench.boxes.lastText(), QStringLiteral("正在调试请勿点击！"));
        SimBoard::setRefuseStop(false);
        QTest::mouseClick(bench.find<QPushButton>("stopTest_btn"), Qt::LeftButton);
        QCOMPARE(bench.boxes.count(), 2);
    }

    void boardFailureEndsTheRun_data()
    {
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<bool>("whileSampling");
        QTest::addColumn<QString>("text");
        QTest::newRow("Start refused") << true << false << QStringLiteral("握手失败！");
        QTest::newRow("silent from the start")
            << false << false << QStringLiteral("接收返回超时！");
        QTest::newRow("silent while sampling") << false << true << QStringLiteral("接收返回超时！");
    }

    void boardFailureEndsTheRun()
    {
        QFETCH(bool, refuse);
        QFETCH(bool, whileSampling);
        QFETCH(QString, text);
        Bench bench({2});
        auto *key = bench.find<QPushButton>("btnTk2");
        if (!whileSampling) {
            SimBoard::setRefuseStart(refuse);
            SimBoard::setSilent(!refuse);
        }
        QTest::mouseClick(key, Qt::LeftButton);
        if (whileSampling) {
            QVERIFY(waitUntil([&] { return bench.midPhase(); }, 10000));
            SimBoard::setSilent(true);
        }
        QTRY_COMPARE_WITH_TIMEOUT(bench.boxes.texts(), QStringList{text}, 15000);
        QCOMPARE(Bench::reportsLike(kStartReport).size(), 1);
        // The curve of the abandoned measurement is cleared and the key shown solid green.
        QCOMPARE(bench.testPoints(), 0);
        QCOMPARE(key->styleSheet(),
                 QStringLiteral("QPushButton{background-color:rgb(0,255,0);; border:2px solid "
                                "rgb(0,255,0);; border-radius:10px;}"));
        // The run is reset: the blink has stopped and a new test may start.
        const QString look = key->styleSheet();
        QTest::qWait(250);
        QCOMPARE(key->styleSheet(), look);
        SimBoard::setRefuseStart(false);
        SimBoard::setSilent(false);
        QTest::mouseClick(key, Qt::LeftButton);
        QCOMPARE(bench.log().last(), QStringLiteral("开始调试TK2，先请勿触摸！"));
        QCOMPARE(bench.boxes.count(), 1);
        QTest::mouseClick(bench.find<QPushButton>("stopTest_btn"), Qt::LeftButton);
    }
};

QTEST_MAIN(TestTuningRun)
#include "tst_tuningrun.moc"
