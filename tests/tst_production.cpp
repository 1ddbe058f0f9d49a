#include "production/batchfirmware.h"
#include "production/batchstatistics.h"
#include "production/batchview.h"
#include "production/boardrecord.h"
#include "production/boardrun.h"
#include "production/histogramview.h"
#include "production/limitseditor.h"
#include "production/operatorview.h"
#include "production/productionlimits.h"
#include "production/productionline.h"
#include "production/productionlog.h"
#include "production/productionpage.h"
#include "production/projectbatch.h"

#include "tuningrig.h"

#include <QComboBox>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
// A key tuned at 2000 counts with 10 counts of noise and a 300-count touch: the default rule
// holds it to 1700 ... 2300, noise 20 at most and a signal of 150 at least.
const TunedKey kTuned{2000, 10, 300};

BoardRecord board(const QString &number, bool passed, int noTouch, int noise, int signal)
{
    BoardRecord r;
    r.board = number;
    r.time = QDateTime(QDate(2026, 3, 4), QTime(9, 30, 15));
    r.passed = passed;
    r.channels = {{3, noTouch, noise, signal, std::nullopt}};
    if (!passed)
        r.reasons << QStringLiteral("TK3 噪声 %1，高于上限 20").arg(noise);
    return r;
}
// A record with every other channel at 1000 + k.
QByteArray record(std::initializer_list<std::pair<int, int>> counts)
{
    QByteArray data = testsupport::measurementRecord(0, 1000);
    for (const auto &[channel, value] : counts) {
        data[1 + 2 * channel] = char(value >> 8);
        data[2 + 2 * channel] = char(value & 0xFF);
    }
    return data;
}
} // namespace

class TestProduction : public QObject
{
    Q_OBJECT

private slots:
    void verdictOnExactFigures_data()
    {
        QTest::addColumn<int>("noTouch");
        QTest::addColumn<int>("noise");
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("timedOut");
        QTest::addColumn<QStringList>("reasons");
        QTest::newRow("pass") << 2000 << 20 << 150 << false << QStringList();
        QTest::newRow("low") << 1699 << 10 << 300 << false
                             << QStringList{"TK5 无触摸值 1699，低于下限 1700"};
        QTest::newRow("high") << 2301 << 10 << 300 << false
                              << QStringList{"TK5 无触摸值 2301，高于上限 2300"};
        QTest::newRow("noise") << 2000 << 21 << 300 << false
                               << QStringList{"TK5 噪声 21，高于上限 20"};
        QTest::newRow("weak touch")
            << 2000 << 10 << 149 << false << QStringList{"TK5 信号 149，低于下限 150"};
        QTest::newRow("not touched") << 2000 << 10 << 20 << true
                                     << QStringList{"TK5 未在 5 秒内触摸，信号 20，低于下限 "
                                                    "150：无信号，焊盘开路或未触摸"};
        // The simulated open pad keeps 55 % of its count: far below the window.
        QTest::newRow("open pad") << 1100 << 10 << 0 << false
                                  << QStringList{"TK5 无触摸值 1100，低于下限 1700：焊盘开路"};
        QTest::newRow("shorted pad") << 65535 << 0 << 0 << false
                                     << QStringList{"TK5 无触摸值 65535，高于上限 2300：焊盘短路"};
        // Low, but not so low that the pad must have lost its copper.
        QTest::newRow("low, no pad named")
            << 1400 << 10 << 300 << false << QStringList{"TK5 无触摸值 1400，低于下限 1700"};
    }
    void verdictOnExactFigures()
    {
        QFETCH(int, noTouch);
        QFETCH(int, noise);
        QFETCH(int, signal);
        QFETCH(bool, timedOut);
        QFETCH(QStringList, reasons);
        const ChannelLimits limits = LimitRule().derive(kTuned);
        QCOMPARE(limits, (ChannelLimits{1700, 2300, 20, 150}));
        const ChannelFigures figures{5, noTouch, noise, std::nullopt, std::nullopt};
        QVector<BoardFailure> failures = BoardJudgement::judgeNoTouch(figures, limits);
        // A pad already failed is not asked to be touched.
        if (failures.isEmpty()) {
            if (auto touch = BoardJudgement::judgeTouch(5, signal, timedOut, 5, limits))
                failures << *touch;
        }
        QStringList texts;
        for (const BoardFailure &failure : failures) {
            texts << failure.text();
            // The log's text reads back into the same failure.
            QCOMPARE(BoardFailure::parse(failure.text()), std::optional<BoardFailure>(failure));
        }
        QCOMPARE(texts, reasons);
    }

    // The run's own figures: the capture's truncated mean and peak-to-peak noise, a bad frame not
    // counted, the open pad not asked to be touched, the lit key's touch held before it is judged.
    void boardRunJudgesItsCapture()
    {
        TuningRun tuning;
        testsupport::FakeTuningLink link(tuning);
        Pacing pacing = testsupport::fastClock();
        pacing.startSettleMs = 0;
        BoardRun run(link, pacing);
        const ChannelLimits limits = LimitRule().derive(kTuned);
        QVERIFY(run.start(QStringLiteral("7"), {{3, 1, limits}, {5, 2, limits}}, true, 5));
        QCOMPARE(link.count(QStringLiteral("start")), 1);
        run.handleRecord(record({{3, 9000}, {5, 9000}}), 1);
        for (int n = 0; n < chip::kSamplesPerPhase; ++n)
            run.handleRecord(record({{3, n % 2 ? 2011 : 2000}, {5, 1100}}), 0);
        QCOMPARE(run.phase(), BoardRun::Phase::Touching);
        QCOMPARE(run.litChannel(), 3);
        std::optional<BoardRecord> finished;
        connect(&run, &BoardRun::finished, this, [&](const BoardRecord &r) { finished = r; });
        for (int n = 0; n < BoardRun::kTouchRecords + BoardRun::kHoldRecords && !finished; ++n)
            run.handleRecord(record({{3, 2205}, {5, 1100}}), 0);
        QVERIFY(finished);
        const BoardRecord board = *finished;
        QCOMPARE(board.board, QStringLiteral("7"));
        QVERIFY(!board.passed);
        QCOMPARE(board.reasons, QStringList{"TK5 无触摸值 1100，低于下限 1700：焊盘开路"});
        const ChannelFigures *tk3 = board.figuresOf(3);
        QCOMPARE(tk3->noTouchMean, std::optional<int>(2005));
        QCOMPARE(tk3->noise, std::optional<int>(11));
        QCOMPARE(tk3->signal, std::optional<int>(200));
        QCOMPARE(board.figuresOf(5)->signal, std::nullopt);
        QVERIFY(!run.isRunning());
        QCOMPARE(link.calls.last(), QStringLiteral("exchange%1").arg(int(StopExchange::EndOfRun)));
    }

    void limitsKeptWithTheProject()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.ini"));
        ProductionLimits limits;
        LimitRule rule;
        rule.windowPercent = 10;
        rule.touchTest = false;
        QVERIFY(limits.setRule(rule));
        rule.windowPercent = 0;
        QVERIFY(!limits.setRule(rule));
        QVERIFY(limits.setLimit(5, ProductionLimits::Limit::NoTouchLow, 1750));
        QVERIFY(!limits.setLimit(25, ProductionLimits::Limit::NoTouchLow, 1750));
        QCOMPARE(limits.limitsOf(5, kTuned), (ChannelLimits{1750, 2200, 20, 150}));
        {
            QSettings ini(path, QSettings::IniFormat);
            ini.setValue(QStringLiteral("/20/0"), 0);
            limits.save(ini);
        }
        ProductionLimits loaded;
        QStringList invalid;
        loaded.load(QSettings(path, QSettings::IniFormat), &invalid);
        QVERIFY(invalid.isEmpty());
        QCOMPARE(loaded.rule(), limits.rule());
        QCOMPARE(loaded.limitsOf(5, kTuned), limits.limitsOf(5, kTuned));
        QCOMPARE(loaded.limitsOf(6, kTuned), limits.limitsOf(6, kTuned));

        // A file of an older tool has the defaults; a bad value keeps its default and is named.
        QSettings other(dir.filePath(QStringLiteral("q.ini")), QSettings::IniFormat);
        other.setValue(QStringLiteral("/20/0"), 0);
        loaded.load(other, &invalid);
        QCOMPARE(loaded.rule(), LimitRule());
        QCOMPARE(loaded.limitsOf(5, kTuned), LimitRule().derive(kTuned));
        other.setValue(ProductionLimits::kSection + QStringLiteral("/TK5/noTouchLow"), "abc");
        loaded.load(other, &invalid);
        QCOMPARE(invalid.size(), 1);
        QVERIFY(invalid.first().startsWith(QStringLiteral("TK5 ")));
        QCOMPARE(loaded.limitsOf(5, kTuned), LimitRule().derive(kTuned));

        // An inverted window and a key given twice are named and not taken; so is a limit typed
        // against the other side of the tuned window. A quiet bench still leaves room for noise.
        testsupport::writeBytes(dir.filePath("bad.ini"), "[Production]\nTK3\\noTouchLow=3000\n"
                                                         "TK3\\noTouchHigh=1000\nTK4\\maxNoise="
                                                         "20\nwindow=10\nTK4\\maxNoise=30\n");
        invalid.clear();
        loaded.load(QSettings(dir.filePath("bad.ini"), QSettings::IniFormat), &invalid);
        QCOMPARE(invalid, (QStringList{"TK3 noTouchLow 3000 > noTouchHigh 1000",
                                       "TK4 maxNoise 重复：20 / 30"}));
        QCOMPARE(loaded.limitsOf(3, kTuned), (ChannelLimits{1800, 2200, 20, 150}));
        QCOMPARE(loaded.limitsOf(4, kTuned), loaded.limitsOf(3, kTuned));
        QVERIFY(!loaded.setLimit(3, ProductionLimits::Limit::NoTouchLow, 2201, kTuned));
        QVERIFY(loaded.setLimit(3, ProductionLimits::Limit::NoTouchLow, 2200, kTuned));
        QCOMPARE(LimitRule().derive({2000, 0, 300}).maxNoise, LimitRule::kMinNoiseLimit);
    }

    void logAppendsReopensAndRefusesWhatItCannotWrite()
    {
        QTemporaryDir dir;
        const QString path =
            dir.filePath(ProductionLog::fileName(QStringLiteral("kit"), QDate(2026, 3, 4)));
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("kit_production_2026-03-04.csv"));
        BoardRecord failed = board(QStringLiteral("2"), false, 1990, 25, 280);
        failed.reasons << QStringLiteral("TK3 信号 100，低于下限 150");
        QString error;
        QVERIFY(ProductionLog::checkWritable(path, &error));
        QVERIFY(ProductionLog::append(path, board("1", true, 2000, 5, 300), {3}, &error));
        QVERIFY(ProductionLog::append(path, failed, {3}, &error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        file.close();
        QCOMPARE(text.left(3), QByteArray("\xEF\xBB\xBF"));
        QCOMPARE(text.count("board,"), 1);
        QVERIFY(text.endsWith("\r\n"));
        QVERIFY(text.contains("\r\n1,2026-03-04 09:30:15,PASS,2000,5,300,\"\"\r\n"));

        // A power cut in the middle of a line: the next board starts on a line of its own.
        QVERIFY(file.open(QIODevice::Append));
        file.write("3,2026-03-04 09:3");
        file.close();
        QVERIFY(ProductionLog::append(path, board("4", true, 2010, 4, 310), {3}, &error));
        QVector<BoardRecord> records;
        int skipped = 0;
        QVERIFY(ProductionLog::read(path, &records, &error, &skipped));
        QCOMPARE(records.size(), 3);
        QCOMPARE(skipped, 1);
        QCOMPARE(records.at(1).reasons, failed.reasons);
        QCOMPARE(records.at(1).time, failed.time);
        QVERIFY(!records.at(1).passed);
        QCOMPARE(records.at(2).figuresOf(3)->signal, std::optional<int>(310));

        // A board named like the header's first column is a board; a line that cannot be read
        // keeps its number from the counter.
        QVERIFY(ProductionLog::append(path, board("board", true, 2000, 5, 300), {3}, &error));
        QVERIFY(file.open(QIODevice::Append));
        file.write("7,2026-03-04 09:40:00,PASS,20\r\n");
        file.close();
        QVERIFY(ProductionLog::append(path, board("5", true, 2000, 5, 300), {3}, &error));
        int next = 0;
        QVERIFY(ProductionLog::read(path, &records, &error, &skipped, &next));
        QCOMPARE(records.size(), 5);
        QCOMPARE(records.at(3).board, QStringLiteral("board"));
        QCOMPARE(records.at(4).board, QStringLiteral("5"));
        QCOMPARE(skipped, 2);
        QCOMPARE(next, 8);

        // Below a file no log can be made: nothing is pretended to be written.
        const QString blocked = path + QStringLiteral("/x.csv");
        QVERIFY(!ProductionLog::checkWritable(blocked, &error));
        error.clear();
        QVERIFY(!ProductionLog::append(blocked, board("5", true, 2000, 5, 300), {3}, &error));
        QVERIFY(error.contains(blocked));
    }

    void statisticsAndFirmwareOfAKnownBatch()
    {
        // No-touch 1980 ... 2020: mean 2000, sigma sqrt(250) = 15.811; within 1700 ... 2300 a Cpk
        // of 300 / (3 * 15.811) = 6.325. The fifth board failed on its noise.
        const QVector<BoardRecord> boards = {
            board("1", true, 1980, 4, 300), board("2", true, 1990, 6, 280),
            board("3", true, 2000, 5, 320), board("4", true, 2010, 5, 310),
            board("5", false, 2020, 25, 290)};
        const BatchStatistics stats = BatchStatistics::of(boards, [](int channel) {
            return channel == 3 ? LimitRule().derive(kTuned) : ChannelLimits();
        });
        QCOMPARE(stats.boards, 5);
        QCOMPARE(stats.passed, 4);
        QCOMPARE(stats.yield(), 0.8);
        QCOMPARE(stats.channels.size(), 1);
        const FigureStats &noTouch = stats.channels.first().of(BoardFigure::NoTouch);
        QCOMPARE(noTouch.count, 5);
        QCOMPARE(noTouch.mean, 2000.0);
        QVERIFY(qAbs(noTouch.sigma - 15.8114) < 1e-3);
        QCOMPARE(noTouch.minimum, 1980);
        QCOMPARE(noTouch.maximum, 2020);
        QVERIFY(noTouch.cpk && qAbs(*noTouch.cpk - 6.3246) < 1e-3);
        // The noise has its maximum only: (20 - 9) / (3 * 8.972) = 0.409.
        const FigureStats &noise = stats.channels.first().of(BoardFigure::Noise);
        QVERIFY(noise.cpk && qAbs(*noise.cpk - 0.4087) < 1e-3);
        QCOMPARE(stats.failures.size(), 1);
        QCOMPARE(stats.failures.first().second, 1);

        // The firmware carries the highest no-touch mean of the passed boards (2010), their
        // weakest signal (280, board 2) and the tuned water shift (+40): 2010, 2290, 2050. The
        // press offset is half the 280 swing: board 2 keeps 280 - 6 - 140 = 134 counts.
        const BatchFirmware::Key key{3, 1, KeyMeans{2000, 2300, 2040}, KeySettings(), std::nullopt};
        const QVector<BatchFirmware::Values> values = BatchFirmware::of(boards, {key});
        QCOMPARE(values.size(), 1);
        const BatchFirmware::Values &v = values.first();
        QCOMPARE(v.boards, 4);
        QCOMPARE(v.means.noTouch, std::optional<int>(2010));
        QCOMPARE(v.means.touch, std::optional<int>(2290));
        QCOMPARE(v.means.water, std::optional<int>(2050));
        QCOMPARE(v.thresholds.pressAt(2010), 2150);
        QVERIFY(v.touch);
        QCOMPARE(v.touch->counts, 134);
        QCOMPARE(v.touch->board, QStringLiteral("2"));
        QVERIFY(BatchFirmware::concerns(values).isEmpty());
        // A tuned project is a board of its own: its rows' means, named after the project.
        QTemporaryDir dir;
        testsupport::writeBytes(dir.filePath("bench.ini"),
                                "[20]\n0=2\n1=TK3:2000:2300:2020:3:1\n2=TK9::::9:2\n");
        BoardRecord tuned;
        QString error;
        QVERIFY(ProjectBatch::read(dir.filePath("bench.ini"), &tuned, &error));
        QCOMPARE(tuned.board, QStringLiteral("bench"));
        QCOMPARE(tuned.channels.size(), 1);
        QCOMPARE(tuned.figuresOf(3)->signal, std::optional<int>(300));
        QCOMPARE(tuned.figuresOf(3)->waterShift, std::optional<int>(20));
        testsupport::writeBytes(dir.filePath("empty.ini"), "[20]\n0=0\n");
        QVERIFY(!ProjectBatch::read(dir.filePath("empty.ini"), &tuned, &error));
        QVERIFY(error.contains(QStringLiteral("工程中没有调试结果")));

        // A batch without a passed board gives no values, and says so.
        QVERIFY(!BatchFirmware::concerns(BatchFirmware::of({boards.last()}, {key})).isEmpty());

        // A project without its samples has no noise: its margins take the batch's largest (6,
        // board 2), so that its own no-touch margin, found first, is the smallest.
        tuned.passed = true;
        const BatchFirmware::Values withProject =
            BatchFirmware::of(QVector<BoardRecord>{tuned} + boards, {key}).first();
        QCOMPARE(withProject.noTouch->board, QStringLiteral("bench"));
        QCOMPARE(withProject.noTouch->counts, withProject.thresholds.releaseOffset - 6);
        QCOMPARE(BatchFirmware::of({tuned}, {key}).first().missing, QStringLiteral("没有噪声数据"));
    }

    // The same log, twice by "今日记录" or by another spelling of its path, is one file of the
    // batch; added again once it grew, it gives the boards it holds now.
    void batchViewCountsEachFileOnce()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kit.csv"));
        QString error;
        for (const char *number : {"1", "2", "3"})
            QVERIFY(ProductionLog::append(path, board(number, true, 2000, 5, 300), {3}, &error));
        BatchView view;
        view.todayLog = [&] { return path; };
        auto *today = view.findChild<QPushButton *>(QStringLiteral("todayLogBtn"));
        today->click();
        today->click();
        QCOMPARE(view.boards().size(), 3);
        QVERIFY(ProductionLog::append(path, board("4", false, 2000, 25, 300), {3}, &error));
        view.addLogs({dir.path() + QStringLiteral("/./kit.csv")});
        QCOMPARE(view.boards().size(), 4);
        QCOMPARE(view.statistics().passed, 3);
        QCOMPARE(view.sources(), QStringLiteral("kit.csv"));
    }

    // A shorted pad and a key nobody touched are defects of their boards, not the process: the
    // statistics and the histogram set their figures apart; a board that failed within the
    // process's spread still counts.
    void histogramViewDrawsWhatTheStatisticsCounted()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kit.csv"));
        BoardRecord shorted = board("3", false, 65535, 0, 0);
        shorted.reasons = QStringList{"TK3 无触摸值 65535，高于上限 2300：焊盘短路"};
        BoardRecord untouched = board("4", false, 2005, 5, 3);
        untouched.reasons = QStringList{"TK3 未在 5 秒内触摸，信号 3，低于下限 150：无信号，焊盘"
                                        "开路或未触摸"};
        QString error;
        for (const BoardRecord &b :
             {board("1", true, 2000, 5, 300), board("2", false, 2020, 25, 290), shorted, untouched})
            QVERIFY(ProductionLog::append(path, b, {3}, &error));
        BatchView view;
        view.addLogs({path});
        const auto *histogram = view.findChild<HistogramView *>();
        QCOMPARE(histogram->shownValues(), (QVector<int>{2000, 2020, 2005}));
        view.findChild<QComboBox *>(QStringLiteral("batchFigureCBox"))->setCurrentIndex(2);
        QCOMPARE(histogram->shownValues(), (QVector<int>{300, 290}));
        QVERIFY(histogram->shownTitle().startsWith(QStringLiteral("TK3 信号")));
        const ChannelStats &stats = view.statistics().channels.first();
        QCOMPARE(stats.of(BoardFigure::NoTouch).setApart, 1);
        QCOMPARE(stats.of(BoardFigure::Noise).values, (QVector<int>{5, 25, 5}));
        QCOMPARE(stats.of(BoardFigure::Signal).setApart, 2);
    }

    // A window no board passes is not taken from the file nor from the editor, and one that the
    // rule inverts afterwards stops the line before a board starts.
    void productionPageRefusesAnInvertedWindow()
    {
        QTemporaryDir dir;
        TuningRun tuning;
        testsupport::FakeTuningLink link(tuning);
        QStackedWidget pages;
        ProductionPage page(link, testsupport::fastClock(), &pages, &pages);
        page.projectName = [] { return QStringLiteral("kit"); };
        page.projectFolder = [&] { return dir.path(); };
        page.channels = [] {
            return QVector<TuningReport::Channel>{{3, {}, 1, KeyMeans{2000, 2300, 2020}}};
        };
        testsupport::writeBytes(dir.filePath("kit.ini"), "[Production]\nTK3\\noTouchLow=2400\n");
        QStringList invalid;
        page.load(QSettings(dir.filePath("kit.ini"), QSettings::IniFormat), &invalid);
        QCOMPARE(invalid, QStringList{"TK3 noTouchLow 2400 > noTouchHigh 2300"});
        QCOMPARE(page.limitsOf(3).noTouchLow, std::optional<int>(1700));

        page.open();
        QTableWidgetItem *low =
            page.limitsEditor().table()->item(0, LimitsEditor::kFirstLimitColumn);
        low->setText(QStringLiteral("2301"));
        low = page.limitsEditor().table()->item(0, LimitsEditor::kFirstLimitColumn);
        QCOMPARE(low->text(), QStringLiteral("1700"));
        const auto *note =
            page.limitsEditor().findChild<QLabel *>(QStringLiteral("limitsNoteLabel"));
        QVERIFY(note->text().contains(QStringLiteral("TK3 noTouchLow 2301 > noTouchHigh 2300")));
        low->setText(QStringLiteral("2250"));
        QCOMPARE(page.limits().limitSetByHand(3, ProductionLimits::Limit::NoTouchLow),
                 std::optional<int>(2250));
        LimitRule narrow;
        narrow.windowPercent = 10;
        QVERIFY(page.limits().setRule(narrow));
        page.line().startBoard();
        QCOMPARE(page.operatorView().verdict(), OperatorView::Verdict::Stopped);
        QVERIFY(page.operatorView().statusText().contains(
            QStringLiteral("TK3 noTouchLow 2250 > noTouchHigh 2200")));
        QVERIFY(link.calls.isEmpty());
    }
};

QTEST_MAIN(TestProduction)
#include "tst_production.moc"
