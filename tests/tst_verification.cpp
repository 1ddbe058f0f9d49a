// Verification mode: the switch with its confirmation and Start condition, the switch-off
// exchange and its failures, colour picks, and the live curves, on the simulated board.
#include "app/mainwindow.h"
#include "charts/channelpalette.h"
#include "charts/livechartview.h"
#include "link/devicenotifier.h"
#include "modalhelper.h"
#include "quality/recordingfile.h"
#include "sim/simboard.h"
#include "tuningrig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <QtTest>

#include <csignal>
#include <memory>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

using namespace QtCharts;
using namespace testsupport;

namespace
{
const QString kOn = QStringLiteral("停止验证效果");
const QString kOff = QStringLiteral("开启验证效果");

QList<QByteArray> repeated(const QByteArray &report, int times)
{
    QList<QByteArray> list;
    for (int n = 0; n < times; ++n)
        list << report;
    return list;
}

// Verification in the tuning session on plain widgets, with the real link and readers to the
// simulated board, as the window wires it.
struct Rig : TuningRig
{
    SimTuningLink board{run};
    QPushButton *button = verifyButton;
    DebuggerLink &link = board.link;

    explicit Rig(std::initializer_list<int> ticked = {})
    {
        for (int n : ticked)
            boxes[n]->setChecked(true);
        build(board.starter);
        mode = &verification();
        mode->createCurves();
        QObject::connect(&link, &DebuggerLink::checkRecord, session.get(),
                         &TuningSession::handleCheckRecord);
        QObject::connect(&link, &DebuggerLink::checkReaderFailed, session.get(),
                         &TuningSession::checkReaderFailed);
        link.openDebugger();
        SimBoard::clearWrittenReports();
    }

    void switchOn(ModalHelper &boxesSeen)
    {
        mode->toggle();
        QTRY_COMPARE(boxesSeen.count(), 1);
        QCOMPARE(button->text(), kOn);
    }
    // Records drawn so far, once the last one has been drawn.
    bool drawnAtLeast(int records) const
    {
        return !mode->recordPending() && mode->plot().history(0).size() >= records;
    }

    VerificationMode *mode = nullptr;
};

// Verification in the session over a link without a board: records are handed over directly.
struct QuietRig : TuningRig
{
    FakeTuningLink link{run};

    explicit QuietRig(std::initializer_list<int> ticked, std::initializer_list<int> inUse = {},
                      bool verifying = true)
    {
        for (int n : ticked)
            boxes[n]->setChecked(true);
        for (int n : inUse)
            use(n, n + 1);
        build(link);
        if (verifying)
            switchVerification();
    }
    void switchVerification()
    {
        ModalHelper boxesSeen;
        verification().toggle();
    }
    const QLineSeries *curve(int k) const { return session->verification().plot().curve(k); }
};
// A record of every channel at level + channel, the check flag as given.
QByteArray levelRecord(int level)
{
    QByteArray record(51, '\0');
    record[0] = 0x36;
    for (int k = 0; k < 25; ++k) {
        record[1 + 2 * k] = char((level + k) >> 8);
        record[2 + 2 * k] = char((level + k) & 0xFF);
    }
    return record;
}
} // namespace

Q_DECLARE_METATYPE(QList<int>)

class TestVerification : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void init()
    {
        SimBoard::reset();
        SimBoard::setNoise(0);
        SimBoard::setHotplugTarget(nullptr);
    }

    void cancelLeavesTheButtonAndStartsNothing()
    {
        Rig rig({0});
        QChart *before = rig.chart().chart();
        ModalHelper boxes;
        boxes.queueAnswers({QMessageBox::Cancel});
        rig.mode->toggle();
        QCOMPARE(boxes.titles(), QStringList{QStringLiteral("验证效果按钮提示")});
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("请确认没有其他操作！")});
        QCOMPARE(rig.button->text(), kOff);
        QVERIFY(!rig.mode->isActive());
        QVERIFY(!rig.link.isCheckReaderRunning());
        QVERIFY(!rig.run.testBusy());
        QVERIFY(SimBoard::writtenReports().isEmpty());
        // The chart was rebuilt before the question.
        QVERIFY(rig.chart().chart() != before);
    }

    void withoutBoardNothingIsAsked()
    {
        SimBoard::unplug();
        Rig rig({0});
        ModalHelper boxes;
        rig.mode->toggle();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("调试器打开失败！")});
        QCOMPARE(rig.button->text(), kOff);
        QVERIFY(!rig.link.isCheckReaderRunning());
    }

    void startIsSentOnlyForTickedCurvesWhenNothingRuns_data()
    {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<QString>("running");
        QTest::addColumn<bool>("startSent");
        QTest::newRow("curve ticked, idle") << QList<int>{3} << "" << true;
        QTest::newRow("nothing ticked") << QList<int>{} << "" << false;
        QTest::newRow("test busy") << QList<int>{3} << "test" << false;
        QTest::newRow("waterproof run") << QList<int>{3} << "waterproof" << false;
    }
    void startIsSentOnlyForTickedCurvesWhenNothingRuns()
    {
        QFETCH(QList<int>, ticked);
        QFETCH(QString, running);
        QFETCH(bool, startSent);
        Rig rig;
        for (int n : ticked)
            rig.boxes[n]->setChecked(true);
        if (running == "test")
            rig.run.start(TuningRun::Kind::Auto), rig.run.startCountdown();
        if (running == "waterproof")
            rig.run.start(TuningRun::Kind::Waterproof), rig.run.startSampling();
        ModalHelper boxes;
        rig.switchOn(boxes);
        QVERIFY(rig.mode->isActive());
        QVERIFY(rig.link.isCheckReaderRunning());
        QCOMPARE(rig.mode->curveSelected(), !ticked.isEmpty());
        QCOMPARE(SimBoard::writtenReports(),
                 startSent ? QList<QByteArray>{kStartReport} : QList<QByteArray>{});
        QCOMPARE(rig.run.testBusy(), startSent || running == "test");
        QCOMPARE(rig.run.kind() == TuningRun::Kind::Verification, startSent);
    }

    void switchingOff_data()
    {
        QTest::addColumn<QString>("board");
        QTest::addColumn<int>("stops");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("staysOn");
        QTest::newRow("acknowledged") << "" << 5 << QStringList{} << false;
        QTest::newRow("refused") << "refuseStop" << 5
                                 << QStringList{QStringLiteral("停止验证效果失败！")} << true;
        QTest::newRow("unplugged during the wait")
            << "unplug" << 0 << QStringList{QStringLiteral("请连接调试器！")} << true;
    }
    void switchingOff()
    {
        QFETCH(QString, board);
        QFETCH(int, stops);
        QFETCH(QStringList, messages);
        QFETCH(bool, staysOn);
        Rig rig({1});
        SimBoard::setHotplugTarget(rig.link.notifier());
        ModalHelper boxes;
        rig.switchOn(boxes);
        QTRY_VERIFY(rig.drawnAtLeast(2));
        boxes.clear();
        SimBoard::clearWrittenReports();
        SimBoard::setRefuseStop(board == "refuseStop");
        if (board == "unplug")
            QTimer::singleShot(rig.pacing.verificationOffSettleMs / 3, [] { SimBoard::unplug(); });

        rig.mode->toggle();
        QTRY_COMPARE(boxes.texts(), messages);
        QCOMPARE(SimBoard::writtenReports(), repeated(kStopReport, stops));
        QCOMPARE(rig.mode->isActive(), staysOn);
        QCOMPARE(rig.button->text(), staysOn ? kOn : kOff);
        QCOMPARE(rig.run.testBusy(), staysOn);
        QCOMPARE(rig.mode->curveSelected(), staysOn);
        QVERIFY(!rig.link.isCheckReaderArmed());
        if (!staysOn)
            QVERIFY(!SimBoard::isStreaming());
    }

    // Every third frame cut short (zeros after channel 2): the curves still draw it, the
    // firmware preview does not take it, so the zeros neither reset the debounce nor drag the
    // base, and a held finger on TK5 shows.
    void previewTakesOnlyIntactRecords()
    {
        TuningRig rig;
        FakeTuningLink link(rig.run);
        rig.build(link);
        rig.use(5, 1);
        const int row = rig.results().assignRow(5);
        const QStringList cells{"TK5", "2000", "2300", "2030", "5", "1"};
        for (int column = 0; column < 6; ++column)
            rig.table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
        ModalHelper boxes;
        rig.verification().toggle();
        const QByteArray finger = measurementRecord(5, 2300);
        const QByteArray cut = finger.left(7).leftJustified(51, '\0');
        for (int r = 0; r < 12; ++r)
            rig.session->handleCheckRecord(r % 3 == 2 ? cut : finger, r % 3 == 2);
        QVERIFY(rig.verification().plot().history(5).contains(0));
        QVERIFY(rig.boxes[5]->styleSheet().contains("color:rgb(255,0,0)"));
    }

    // Once the window is full the reader is armed for blocks, after a pause: every record of a
    // block is drawn and recorded, the intact ones previewed, at times spread since the last one.
    void aFullWindowTakesTheBoardInBlocks()
    {
        QTemporaryDir dir;
        QuietRig rig({0}, {3});
        QVERIFY(rig.session->recording().start(dir.filePath("blocks_rec.csv")));
        for (int n = 0; n <= VerificationPlot::kWindow; ++n)
            rig.session->handleCheckRecord(levelRecord(1000), 0);
        QCOMPARE(rig.link.count(QStringLiteral("checkArmBacklog")), 0);
        QTRY_COMPARE(rig.link.count(QStringLiteral("checkArmBacklog")), 1);
        QList<qint64> taken;
        QObject::connect(rig.session.get(), &TuningSession::checkRecordTaken,
                         [&taken](const QByteArray &, qint64 ms) { taken << ms; });
        QTest::qWait(40);
        rig.session->handleCheckRecords({levelRecord(1100), levelRecord(1200),
                                         levelRecord(1300).left(7).leftJustified(51, '\0'),
                                         levelRecord(1400)},
                                        {0, 0, 1, 0});
        QCOMPARE(rig.verification().plot().history(0).mid(128),
                 (QList<int>{1100, 1200, 1300, 1400}));
        QCOMPARE(rig.verification().plot().history(0).size(), VerificationPlot::kWindow);
        QCOMPARE(taken.size(), 3);
        QVERIFY(taken.at(0) < taken.at(1) && taken.at(1) < taken.at(2));
        QVERIFY(taken.at(2) - taken.at(0) >= 15);
        QTRY_COMPARE(rig.link.count(QStringLiteral("checkArmBacklog")), 2);
        const QString path = rig.session->recording().path();
        rig.session->recording().stop();
        QVector<RecordedRecord> written;
        int skipped = 0;
        QString error;
        QVERIFY(RecordingFile::read(path, &written, &skipped, &error));
        QCOMPARE(written.size(), VerificationPlot::kWindow + 5);
        // The recording's clock is read apart from the stream's: a millisecond either way.
        const qint64 spread = written.last().ms - written.at(written.size() - 4).ms;
        QVERIFY2(qAbs(spread - (taken.at(2) - taken.at(0))) <= 1,
                 qPrintable(QString::number(spread)));
    }

    // A pulled cable ends verification as it ends the other runs, and the log says why.
    void cablePulledEndsVerification()
    {
        Rig rig({1});
        SimBoard::setHotplugTarget(rig.link.notifier());
        ModalHelper boxes;
        rig.switchOn(boxes);
        QTRY_VERIFY(rig.drawnAtLeast(2));
        QVERIFY(rig.session->preview().isActive());
        boxes.clear();
        SimBoard::unplug();
        QTRY_COMPARE(boxes.texts(), QStringList{QStringLiteral("接收返回超时！")});
        QCOMPARE(rig.button->text(), kOff);
        QVERIFY(!rig.run.testBusy() && !rig.mode->isActive());
        QVERIFY(!rig.session->preview().isActive());
        QVERIFY(!rig.link.isCheckReaderArmed());
        QCOMPARE(rig.logLines().last(), QStringLiteral("验证效果已中止：调试器已断开"));
    }

    void colourPickRecoloursTheCurveOrWaitsForTheNextStart()
    {
        Rig rig;
        const QColor blue(0, 0, 255);
        rig.mode->applySwatchColour(3, blue);
        QCOMPARE(rig.mode->plot().curve(3)->pen().color(), blue);
        QCOMPARE(rig.mode->plot().curve(3)->pen().width(), 2);

        // A test replaced the chart: the pick is kept, and the next start uses it once.
        rig.chart().rebuild(12, 11);
        rig.chart().installTestSeries();
        const QColor picked(10, 20, 30);
        rig.mode->applySwatchColour(4, picked);
        QVERIFY(!rig.mode->plot().curve(4));
        QCOMPARE(rig.chart().chart()->series().size(), 1);
        ModalHelper boxes;
        rig.switchOn(boxes);
        QCOMPARE(rig.mode->plot().curve(4)->pen().color(), picked);
        QCOMPARE(rig.mode->plot().curve(3)->pen().color(), ChannelPalette::colour(3));
        QCOMPARE(rig.chart().chart()->series().size(), 25);
        rig.mode->createCurves();
        QCOMPARE(rig.mode->plot().curve(4)->pen().color(), ChannelPalette::colour(4));
    }

    void coalescedDrawingEndsWithTheRecordByRecordPicture()
    {
        QuietRig coalesced({0, 7, 24});
        QuietRig everyRecord({0, 7, 24});
        for (int n = 0; n < 300; ++n) {
            QByteArray record(51, '\0');
            record[0] = 0x36;
            for (int k = 0; k < 25; ++k) {
                // Channel 7 jumps above the y range once, so the range widens on the way.
                const int v = k == 7 && n == 240 ? 2650 : 1950 + (n * 7 + k * 13) % 90;
                record[1 + 2 * k] = char(v >> 8);
                record[2 + 2 * k] = char(v & 0xFF);
            }
            coalesced.session->handleCheckRecord(record, 0);
            everyRecord.session->handleCheckRecord(record, 0);
            everyRecord.verification().flushFrame();
        }
        QVERIFY(coalesced.verification().frameThrottle().isStale());
        coalesced.verification().flushFrame();
        QVERIFY(coalesced.verification().frameThrottle().framesDrawn() < 10);
        QVERIFY(everyRecord.verification().frameThrottle().framesDrawn() >= 290);
        for (int k = 0; k < 25; ++k)
            QCOMPARE(qtcompat::seriesPoints(*coalesced.curve(k)), qtcompat::seriesPoints(*everyRecord.curve(k)));
        QCOMPARE(coalesced.curve(7)->count(), 132);
        QCOMPARE(coalesced.chart().yAxis()->max(), 2700.0);
        QCOMPARE(coalesced.chart().yAxis()->min(), everyRecord.chart().yAxis()->min());
        QCOMPARE(coalesced.chart().yAxis()->max(), everyRecord.chart().yAxis()->max());
    }

    void numbersAndAPausedPictureBesideTheCurves()
    {
        QuietRig rig({2}, {2, 6});
        rig.window.resize(900, 600);
        rig.view->setGeometry(0, 0, 700, 500);
        rig.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        QVERIFY(rig.numbersTable->isVisible());
        QCOMPARE(rig.numbersTable->rowCount(), 2);
        const QHeaderView *headings = rig.numbersTable->horizontalHeader();
        for (int c = 0; c < headings->count(); ++c)
            QVERIFY(headings->sectionSize(c) >= headings->sectionSizeHint(c));
        // Squeezed, the chart shows fewer time labels rather than ask for room.
        rig.view->resize(250, 500);
        QTRY_COMPARE(rig.chart().xAxis()->tickType(), QValueAxis::TicksDynamic);
        QVERIFY(rig.view->minimumWidth() <= 250);
        rig.view->setGeometry(0, 0, 700, 500);
        QVERIFY(rig.pauseButton->isEnabled());
        const auto feed = [&](int count, int value) {
            for (int n = 0; n < count; ++n)
                rig.session->handleCheckRecord(measurementRecord(2, value + n % 2), 0);
        };
        const auto cell = [&](int row, int column) {
            return rig.numbersTable->item(row, column)->text();
        };
        feed(140, 2040);
        rig.verification().flushFrame();
        rig.session->numbers().flush();
        QCOMPARE((QStringList{cell(0, 0), cell(0, 1), cell(0, 2), cell(0, 7)}),
                 (QStringList{"TK2", "2041", "-", "1"}));
        QCOMPARE(cell(1, 1), QStringLiteral("1006"));

        rig.session->togglePicturePause();
        QCOMPARE(rig.pauseButton->text(), QStringLiteral("继续画面"));
        QVERIFY(rig.view->isNavigable());
        const QVector<QPointF> held = qtcompat::seriesPoints(*rig.curve(2));
        feed(20, 2080);
        rig.verification().flushFrame();
        rig.session->numbers().flush();
        QCOMPARE(rig.verification().plot().history(2).last(), 2081);
        QCOMPARE(qtcompat::seriesPoints(*rig.curve(2)), held);
        QCOMPARE(cell(0, 1), QStringLiteral("2041"));
        // The value under the cursor, a zoom around it and a drag; resuming undoes both.
        QChart *chart = rig.chart().chart();
        const QPoint last = rig.view->mapFromScene(
            chart->mapToScene(chart->mapToPosition(held.last(), rig.chart().chart()->series()[2])));
        QCOMPARE(rig.view->valueTextAt(last + QPoint(2, 1)), QStringLiteral("TK2：2041"));
        QVERIFY(rig.view->valueTextAt(last + QPoint(40, 40)).isEmpty());
        rig.view->zoomAround(last, 0.5);
        QVERIFY(rig.chart().xAxis()->max() - rig.chart().xAxis()->min() < 6.5);
        QVERIFY(rig.chart().xAxis()->max() > 11.0);
        QCOMPARE(rig.chart().yAxis()->tickType(), QValueAxis::TicksDynamic);
        rig.view->dragBy(QPoint(200, 0));
        QVERIFY(rig.chart().xAxis()->max() < 11.0);

        rig.session->togglePicturePause();
        QCOMPARE(rig.pauseButton->text(), QStringLiteral("暂停画面"));
        QVERIFY(!rig.view->isNavigable());
        QCOMPARE(rig.chart().xAxis()->min(), 0.0);
        QCOMPARE(rig.chart().xAxis()->max(), 12.0);
        QCOMPARE(rig.chart().yAxis()->tickType(), QValueAxis::TicksFixed);
        QCOMPARE(qtcompat::seriesPoints(*rig.curve(2)).last().y(), 2081.0);
        QCOMPARE(cell(0, 1), QStringLiteral("2081"));

        ModalHelper boxes;
        rig.verification().toggle();
        QVERIFY(!rig.verification().isActive());
        QVERIFY(!rig.numbersTable->isVisible());
        QVERIFY(!rig.pauseButton->isEnabled());
    }

    // An auto test over two channels, then verification, recorded and read back record for
    // record: arrival order, run kind and phase, channel under test, check flag and counts.
    void recordingHoldsEveryRecordOfTheRuns()
    {
        QTemporaryDir dir;
        QuietRig rig({1}, {3, 4}, false);
        const QString path = dir.filePath(RecordingFile::fileName("demo", QDateTime()));
        QVERIFY(rig.session->recording().start(path));
        QCOMPARE(rig.recordButton->text(), QStringLiteral("停止录制"));
        using K = RecordedRecord::Kind;
        using P = RecordedRecord::Phase;
        struct Expected
        {
            K kind;
            P phase;
            int channel;
            int crcFailed;
            QByteArray record;
        };
        QVector<Expected> expected;
        {
            ModalHelper boxes;
            rig.sequencer().startAutoTest();
        }
        for (int channel : {3, 4}) {
            for (int i = 0; i < 324; ++i) {
                const int crcFailed = i == 100 ? 1 : 0;
                const QByteArray record = measurementRecord(channel, 2000 + i);
                expected.append({K::Auto, i < 162 ? P::NoTouch : P::Touch, channel, 0, record});
                rig.recorder().cancelRearm();
                ModalHelper boxes; // the box at the end of the run
                rig.session->handleRecord(record, 0);
                if (crcFailed) {
                    expected.append({K::Auto, P::NoTouch, channel, 1, record});
                    rig.session->handleRecord(record, 1);
                }
            }
        }
        QCOMPARE(rig.run.kind(), TuningRun::Kind::None);
        // Where the run ended, a line says how.
        expected.append({K::End, P::Finished, 4, 0, QByteArray(1, 0x36)});
        rig.switchVerification();
        for (int n = 0; n < 40; ++n) {
            // One record cut short after channel 2, as a broken frame delivers it.
            const QByteArray record = n == 7 ? levelRecord(1500).left(7) : levelRecord(1500 + n);
            expected.append({K::Verification, P::None, -1, n == 7 ? 1 : 0, record});
            rig.session->handleCheckRecord(record, n == 7 ? 1 : 0);
        }
        rig.session->recording().stop();
        QCOMPARE(rig.recordButton->text(), QStringLiteral("录制"));

        QCOMPARE(readBytes(path).split('\n').first(),
                 QByteArray("time_ms,kind,phase,channel,crc_failed,TK0,TK1,TK2,TK3,TK4,TK5,TK6,"
                            "TK7,TK8,TK9,TK10,TK11,TK12,TK13,TK14,TK15,TK16,TK17,TK18,TK19,TK20,"
                            "TK21,TK22,TK23,TK24\r"));
        QVERIFY(readBytes(path).contains(",auto,touch,TK4,0,1000,1001,1002,1003,2323,1005,"));
        QVERIFY(readBytes(path).contains(",verification,-,-,1,1500,1501,1502,,,,"));
        QVector<RecordedRecord> back;
        int skipped = -1;
        QString error;
        QVERIFY(RecordingFile::read(path, &back, &skipped, &error));
        QCOMPARE(skipped, 0);
        QCOMPARE(back.size(), expected.size());
        for (int i = 0; i < back.size(); ++i) {
            const RecordedRecord &r = back.at(i);
            const Expected &e = expected.at(i);
            QVERIFY2(r.kind == e.kind && r.phase == e.phase && r.channel == e.channel &&
                         r.crcFailed == e.crcFailed && r.toRecord() == e.record &&
                         (i == 0 || r.ms >= back.at(i - 1).ms),
                     qPrintable(QString::number(i)));
        }
        QVERIFY(rig.logLines().last().startsWith(QStringLiteral("录制结束：")));
        // A recording begun in the second of an earlier one keeps that one's file.
        const QDateTime now = QDateTime::currentDateTime();
        for (const QDateTime &second : {now, now.addSecs(1)})
            writeBytes(dir.filePath(RecordingFile::fileName("demo", second)), "kept");
        QVERIFY(rig.session->recording().startIn(dir.path(), "demo"));
        rig.session->recording().stop();
        QVERIFY(rig.session->recording().path().endsWith("-2_rec.csv"));
        for (const QDateTime &second : {now, now.addSecs(1)})
            QCOMPARE(readBytes(dir.filePath(RecordingFile::fileName("demo", second))), "kept");
    }

#ifdef Q_OS_LINUX
    // The file may not grow past a limit: the block that crosses it fails, the recording ends
    // with the message, and the lines written before stay readable.
    void aFailedWriteEndsTheRecordingAndKeepsWhatWasWritten()
    {
        QTemporaryDir dir;
        QuietRig rig({0});
        const QString path = dir.filePath("limited_rec.csv");
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = 200 * 1024;
        setrlimit(RLIMIT_FSIZE, &limited);
        QVERIFY(rig.session->recording().start(path));
        ModalHelper boxes;
        for (int n = 0; n < 4000 && boxes.count() == 0; ++n) {
            rig.session->handleCheckRecord(levelRecord(1000 + n % 50), 0);
            if (n % 200 == 0)
                QTest::qWait(5);
        }
        QTRY_COMPARE(boxes.count(), 1);
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(boxes.texts(),
                 QStringList{QStringLiteral("文件写入失败：") + QDir::toNativeSeparators(path)});
        QVERIFY(!rig.session->recording().isRecording());
        QCOMPARE(rig.recordButton->text(), QStringLiteral("录制"));
        QVector<RecordedRecord> back;
        int skipped = 0;
        QString error;
        QVERIFY(RecordingFile::read(path, &back, &skipped, &error));
        QVERIFY(back.size() > 1000);
        QVERIFY(skipped <= 1); // a line cut by the limit
        QCOMPARE(back.first().toRecord(), levelRecord(1000));
    }
#endif

    // An auto test, a waterproof run and verification with a finger, recorded; then a new session
    // over the same pin map plays the recording as fast as it takes it: the same results rows,
    // verdicts, curves, numbers and preview, and nothing goes to the board.
    void replayGivesWhatTheLiveRunGave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("live_rec.csv");
        QuietRig live({3, 4}, {3, 4}, false);
        QVERIFY(live.session->recording().start(path));
        ModalHelper liveBoxes;
        const auto measure = [&](int level, int seed) {
            const QVector<int> counts = noisyPhase(level, 3, unsigned(seed));
            for (int count : counts) {
                live.recorder().cancelRearm();
                live.record(count);
            }
        };
        live.sequencer().startAutoTest();
        for (int channel : {3, 4}) {
            measure(2000 + channel, channel);
            measure(2300 + channel, channel + 10);
        }
        live.waterproof().start();
        live.record(2010); // raises the add-water prompt
        for (int channel : {3, 4})
            measure(2010 + channel, channel + 20);
        live.switchVerification();
        for (int n = 0; n < 200; ++n) {
            QByteArray record = measurementRecord(3, n < 150 ? 2003 : 2303);
            live.session->handleCheckRecord(record, 0);
        }
        live.session->recording().stop();
        QVERIFY(live.session->preview().pressed(3));
        // The boxes of the runs come again in the replay; the questions before them do not.
        QStringList liveTexts = liveBoxes.texts();
        liveTexts.removeAll(QStringLiteral("请确保触摸板干净、无触摸、无水渍！"));
        liveTexts.removeAll(QStringLiteral("请确认没有其他操作！"));
        liveBoxes.clear();

        QuietRig replay({3, 4}, {3, 4}, false);
        ModalHelper replayBoxes;
        RecordingPlayer &player = replay.session->replay();
        player.chooseFile = [&](QWidget *, const QString &, const QString &, const QString &) {
            return path;
        };
        player.setSpeed(RecordingPlayer::Speed::Fastest);
        player.open(dir.path());
        QVERIFY(player.isActive());
        QVERIFY(replay.replayBar->isVisibleTo(&replay.window));
        QTRY_VERIFY_WITH_TIMEOUT(player.atEnd(), 30000);

        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 6; ++column)
                QCOMPARE(replay.cell(row, column), live.cell(row, column));
            QCOMPARE(replay.table->item(row, 0)->toolTip(), live.table->item(row, 0)->toolTip());
        }
        QCOMPARE(replay.logLines().filter(QStringLiteral("：噪声")),
                 live.logLines().filter(QStringLiteral("：噪声")));
        live.verification().flushFrame();
        replay.verification().flushFrame();
        for (int k : {3, 4})
            QCOMPARE(qtcompat::seriesPoints(*replay.curve(k)), qtcompat::seriesPoints(*live.curve(k)));
        live.session->numbers().flush();
        replay.session->numbers().flush();
        for (int row = 0; row < 2; ++row)
            QCOMPARE(NumbersView::cells(
                         replay.session->numbers().numbers().rows(replay.session->preview())[row]),
                     NumbersView::cells(
                         live.session->numbers().numbers().rows(live.session->preview())[row]));
        QVERIFY(replay.session->preview().pressed(3));
        QCOMPARE(replayBoxes.texts(), liveTexts);
        // Only the key's blinking, the window's own, went to the board's side.
        for (const QString &call : qAsConst(replay.link.calls))
            QVERIFY2(call.startsWith(QStringLiteral("blink")), qPrintable(call));

        player.close();
        QVERIFY(!player.isActive());
        QVERIFY(!replay.verification().isActive());
        QVERIFY(!replay.replayBar->isVisibleTo(&replay.window));
        QCOMPARE(replay.run.kind(), TuningRun::Kind::None);
    }

    // At 1× the records keep their recorded spacing and a pause holds them; a seek shows its
    // place, and one into a test counts from the first record of that channel's measurement.
    void replayPacesPausesAndSeeks()
    {
        QuietRig rig({0}, {3, 4}, false);
        RecordingPlayer &player = rig.session->replay();
        using K = RecordedRecord::Kind;
        using P = RecordedRecord::Phase;
        // Three records 100 ms apart, then a gap that no run of this test reaches.
        constexpr qint64 kGapMs = 600000;
        QVector<RecordedRecord> records;
        for (int n = 0; n < 10; ++n)
            records << RecordedRecord::of(100 * n + (n < 3 ? 0 : kGapMs), K::Verification, P::None,
                                          -1, 0, levelRecord(1000 + n));
        QVERIFY(player.play(records));
        QTRY_COMPARE(rig.verification().plot().history(0).size(), 3);
        player.setPaused(true);
        // No record before its time: the fourth waits beyond the gap, the pause holds the rest.
        const int drawn = rig.verification().plot().history(0).size();
        QTest::qWait(300);
        QCOMPARE(rig.verification().plot().history(0).size(), drawn);
        // Paused, a seek shows the picture and the numbers of that place at once.
        player.seek(kGapMs + 800);
        QCOMPARE(rig.verification().plot().history(0),
                 (QList<int>{1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007}));
        QCOMPARE(rig.curve(0)->count(), 8);
        QCOMPARE(rig.numbersTable->item(0, 1)->text(), QStringLiteral("1010"));
        player.setPaused(false);
        QTRY_VERIFY(player.atEnd());
        QCOMPARE(rig.verification().plot().history(0).mid(8), (QList<int>{1008, 1009}));
        player.close();

        // A record a minute after the others: a change of speed while the player waits for it
        // takes effect at once. Played again from the start, the numbers' noise is that of what
        // was replayed since, not of what came later in the recording.
        records.clear();
        for (int n = 0; n < 20; ++n)
            records << RecordedRecord::of(n < 10 ? 10 * n : 60000 + 10 * n, K::Verification,
                                          P::None, -1, 0,
                                          measurementRecord(3, n < 10 ? 2000 : 2200));
        const int before = rig.verification().plot().history(0).size();
        QVERIFY(player.play(records));
        QTRY_COMPARE(rig.verification().plot().history(0).size(), before + 10);
        player.setSpeed(RecordingPlayer::Speed::Fastest);
        QTRY_VERIFY(player.atEnd());
        const auto noise = [&rig] {
            rig.session->numbers().flush();
            return rig.session->numbers().numbers().rows(rig.session->preview()).value(0).noise;
        };
        QCOMPARE(noise(), std::optional<int>(0));
        player.setSpeed(RecordingPlayer::Speed::Real);
        player.setPaused(false);
        // Started again, the curves hold only what was replayed since.
        QTRY_COMPARE(rig.verification().plot().history(0).size(), 10);
        QCOMPARE(noise(), std::optional<int>(0));
        player.close();

        records.clear();
        qint64 ms = 0;
        for (int channel : {3, 4}) {
            for (int i = 0; i < 324; ++i)
                records << RecordedRecord::of(ms += 20, K::Auto, i < 162 ? P::NoTouch : P::Touch,
                                              channel, 0,
                                              measurementRecord(channel, i < 162 ? 2000 : 2300));
        }
        QVERIFY(player.play(records));
        player.setPaused(true);
        player.setSpeed(RecordingPlayer::Speed::Fastest);
        player.seek(records.at(324 + 200).ms);
        QCOMPARE(rig.chart().testSeries()->count(), 200);
        ModalHelper boxes;
        player.setPaused(false);
        QTRY_VERIFY(player.atEnd());
        QCOMPARE((QStringList{rig.cell(0, 0), rig.cell(0, 1), rig.cell(0, 2)}),
                 (QStringList{"TK4", "2000", "2300"}));
        QVERIFY(rig.cell(1, 0).isEmpty());
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("所选通道不触摸与触摸测试完成！")});
    }

    // A replay over results, or of channels the project does not use, asks first: into a
    // scratch project whose end gives the results back, or into the project after its results
    // were kept in a dated copy. No replay writes the waterproof CSV files.
    void replayAsksWhereItsResultsGo_data()
    {
        QTest::addColumn<int>("inUse");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("during");
        QTest::addColumn<int>("after");
        // In use, TK3 holds 2009 on the table; the recording measured it at 1509.
        QTest::newRow("scratch") << 3 << QStringLiteral("回放到临时工程") << 1509 << 2009;
        QTest::newRow("replace") << 3 << QStringLiteral("替换当前结果") << 1509 << 1509;
        QTest::newRow("cancel") << 3 << QStringLiteral("取消") << 2009 << 2009;
        QTest::newRow("other channel") << 5 << QStringLiteral("回放到临时工程") << 1509 << 0;
        QTest::newRow("other channel, into the project")
            << 5 << QStringLiteral("回放到本工程") << 1509 << 1509;
    }
    void replayAsksWhereItsResultsGo()
    {
        QFETCH(int, inUse);
        QFETCH(QString, answer);
        QTemporaryDir dir;
        QuietRig rig({}, {inUse}, false);
        ModalHelper boxes;
        if (inUse == 3) {
            rig.sequencer().startSingleChannel(3);
            rig.feed(324, 2008);
        }
        QByteArray text = RecordingFile::header();
        for (int i = 0; i < 324 + 163; ++i) {
            using K = RecordedRecord::Kind;
            using P = RecordedRecord::Phase;
            const bool water = i >= 324;
            const int rise = water ? 30 : i >= 162 ? 300 : 0;
            RecordingFile::appendLine(
                &text, RecordedRecord::of(20 * i, water ? K::Waterproof : K::Auto,
                                          water     ? P::Water
                                          : i < 162 ? P::NoTouch
                                                    : P::Touch,
                                          3, 0, measurementRecord(3, 1508 + i % 3 + rise)));
        }
        writeBytes(dir.filePath("low_rec.csv"), text);
        RecordingPlayer &player = rig.session->replay();
        player.chooseFile = [&](QWidget *, const QString &, const QString &, const QString &) {
            return dir.filePath("low_rec.csv");
        };
        int copies = 0;
        player.project().keepSnapshot = [&] { return QString::number(++copies); };
        player.setSpeed(RecordingPlayer::Speed::Fastest);
        boxes.clear();
        boxes.queueButtons({answer});
        player.open(dir.path());
        QVERIFY(boxes.texts().value(0).startsWith(
            inUse == 3 ? QStringLiteral("结果表中已有 1 个通道的调试结果。")
                       : QStringLiteral("录制文件中的 TK3 不是本工程使用的通道")));
        QTRY_VERIFY(!player.isActive() || player.atEnd());
        QTEST(rig.cell(0, 1).toInt(), "during");
        player.close();
        QTEST(rig.cell(0, 1).toInt(), "after");
        QCOMPARE(copies, answer == QStringLiteral("替换当前结果") ? 1 : 0);
        QVERIFY(QDir(rig.exportDir.path()).isEmpty());
    }

    // A test stopped and started again replays as two runs, the first ended where it was
    // stopped; a seek into a waterproof run's second channel finds the water on the pad, as the
    // live run had it, and measures that channel and the next whole.
    void stoppedRunsAndSeeksReplayAsTheyRan()
    {
        QTemporaryDir dir;
        QuietRig live({}, {3, 4, 5}, false);
        ModalHelper boxes;
        QVERIFY(live.session->recording().start(dir.filePath("runs_rec.csv")));
        live.sequencer().startSingleChannel(5);
        live.feed(50, 2000);
        live.sequencer().stop();
        live.sequencer().startSingleChannel(5);
        live.feed(324, 2000);
        live.waterproof().start();
        live.record(2010); // raises the add-water prompt
        live.feed(3 * 162, 2030);
        live.session->recording().stop();
        QVector<RecordedRecord> records;
        int skipped = 0;
        QString error;
        QVERIFY(RecordingFile::read(dir.filePath("runs_rec.csv"), &records, &skipped, &error));
        const auto tk4 =
            std::find_if(records.cbegin(), records.cend(), [](const RecordedRecord &r) {
                return r.kind == RecordedRecord::Kind::Waterproof && r.channel == 4;
            });
        for (const qint64 from : {qint64(0), tk4->ms}) {
            QuietRig replay({}, {3, 4, 5}, false);
            RecordingPlayer &player = replay.session->replay();
            player.setSpeed(RecordingPlayer::Speed::Fastest);
            QVERIFY(player.play(records));
            player.setPaused(true);
            player.seek(from);
            boxes.clear();
            player.setPaused(false);
            QTRY_VERIFY(player.atEnd());
            for (int channel : {4, 5}) {
                const auto water = [channel](const QuietRig &rig) {
                    return rig.cell(rig.results().rowOf(channel), 3);
                };
                QCOMPARE(water(replay), water(live));
            }
            QCOMPARE(boxes.texts().contains(QStringLiteral("请给触摸板加水！")), from == 0);
            if (from == 0)
                QCOMPARE(replay.logLines().filter(QStringLiteral("已中止")),
                         QStringList{QStringLiteral("TK5 的触摸测试已中止：停止测试")});
            QCOMPARE(replay.cell(replay.results().rowOf(5), 2), from ? QString() : live.cell(0, 2));
        }
    }

    // A file read as far as it is valid, with one line for what was skipped; a file far larger
    // than a recording is refused.
    void oddRecordingsAreReadAsFarAsTheyAreValid()
    {
        QTemporaryDir dir;
        const QString odd = dir.filePath("odd_rec.csv");
        QByteArray text = "\xEF\xBB\xBFtime_ms,kind,phase,channel,crc_failed";
        for (int k = 0; k < 25; ++k)
            text += ",TK" + QByteArray::number(k);
        const QByteArray counts =
            ",2000,2001,2002,2003,2004,2005,2006,2007,2008,2009,2010,2011,"
            "2012,2013,2014,2015,2016,2017,2018,2019,2020,2021,2022,2023,2024";
        text += "\r\n0,verification,-,-,0" + counts + "\r\n";
        text += "5,verification,-,-,1,2000,2001,2002,,,,,,,,,,,,,,,,,,,,,,\r\n"; // cut short
        text += "not a record at all\r\n";
        text += "9,auto,water,TK3,0" + counts + "\r\n"; // water is no auto phase
        text += "9,verification,-,-,0,2000,,2002,,,,,,,,,,,,,,,,,,,,,,\r\n"; // a gap
        text += "9,verification,-,-,0,70000" + counts.mid(5) + "\r\n";       // no 16-bit count
        text +=
            "9,verification,-,-,0,2000,2001,2002,,,,,,,,,,,,,,,,,,,,,,\r\n"; // intact, yet short
        text += "604800001,verification,-,-,0" + counts + "\r\n";            // beyond a week
        text += "10,end,stopped,-,0,,,,,,,,,,,,,,,,,,,,,,,,,\r\n";
        text += "11,mark,untouched,-,0,,,,,,,,,,,,,,,,,,,,,,,,,\r\n";
        text += "11,mark,untouched,TK3,0,,,,,,,,,,,,,,,,,,,,,,,,,\r\n"; // a mark names no key
        text += "11,mark,untouched,-,0" + counts + "\r\n";                // and holds no counts
        text += "12,verification,-,-,0" + counts + "\r\n";
        text += "7,verification,-,-,0" + counts + "\r\n"; // earlier than the record before
        text += "15,verification,-,-,0,2000,20"; // the file ends within a line
        writeBytes(odd, text);
        QuietRig rig({0}, {0}, false);
        RecordingPlayer &player = rig.session->replay();
        QString chosen = odd;
        player.chooseFile = [&](QWidget *, const QString &, const QString &, const QString &) {
            return chosen;
        };
        player.setSpeed(RecordingPlayer::Speed::Fastest);
        player.open(dir.path());
        QTRY_VERIFY(player.atEnd());
        QVERIFY(rig.logLines().contains(QStringLiteral("录制文件 odd_rec.csv：跳过 10 行")));
        // The cut-short record reaches the preview's channels it holds, not the curves.
        QCOMPARE(rig.verification().plot().history(2), (QList<int>{2002, 2002}));
        QCOMPARE(rig.verification().plot().history(24), (QList<int>{2024, 2024}));
        player.close();

        const QString huge = dir.filePath("huge_rec.csv");
        QFile file(huge);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(RecordingFile::kMaxFileBytes + 1));
        file.close();
        chosen = huge;
        ModalHelper boxes;
        player.open(dir.path());
        QCOMPARE(boxes.count(), 1);
        QVERIFY(boxes.lastText().contains(QStringLiteral("过大")));
        QVERIFY(!player.isActive());
    }

    void windowShowsTheTickedChannelsLiveAndSwitchesOff()
    {
        SimBoard::setDataInterval(1);
        auto window = std::make_unique<MainWindow>();
        window->show();
        SimBoard::setHotplugTarget(window->findChild<QObject *>(QStringLiteral("deviceNotifier")));
        for (int n = 0; n < 25; ++n) {
            auto *box = window->findChild<QCheckBox *>(QStringLiteral("checkBox%1").arg(n));
            box->setChecked(n == 0 || n == 5);
        }
        auto *button = window->findChild<QPushButton *>(QStringLiteral("pushButton_3"));
        auto *view = window->findChild<QChartView *>(QStringLiteral("chartView"));
        const auto curve = [view](int k) {
            const auto series = view->chart()->series();
            return k < series.size() ? qobject_cast<QLineSeries *>(series.at(k)) : nullptr;
        };
        SimBoard::clearWrittenReports();
        ModalHelper boxes;

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("请确认没有其他操作！")});
        QCOMPARE(button->text(), kOn);
        QCOMPARE(SimBoard::writtenReports(), QList<QByteArray>{kStartReport});
        QCOMPARE(view->chart()->series().size(), 25);
        auto *numbers = window->findChild<QTableWidget *>(QStringLiteral("numbersTable"));
        QVERIFY(!numbers->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(curve(0)->count(), 132, 20000);
        // The window stays at 132 values as records go on; a held key shows at the right end.
        SimBoard::setFinger(5, true);
        QTRY_COMPARE(curve(5)->at(131).y(), qreal(SimBoard::baseline(5) + SimBoard::kFingerRise));
        for (int k = 0; k < 25; ++k)
            QCOMPARE(curve(k)->count(), k == 0 || k == 5 ? 132 : 0);
        QCOMPARE(curve(0)->at(0).x(), 0.0);
        QVERIFY(qAbs(curve(0)->at(131).x() - 11.79) < 1e-9);
        QCOMPARE(curve(0)->at(131).y(), qreal(SimBoard::baseline(0)));

        SimBoard::clearWrittenReports();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), kOff);
        QCOMPARE(SimBoard::writtenReports(), repeated(kStopReport, 5));
        QCOMPARE(boxes.count(), 1);
        QVERIFY(!SimBoard::isStreaming());

        SimBoard::setHotplugTarget(nullptr);
        SimBoard::unplug();
        window.reset();
    }
};

QTEST_MAIN(TestVerification)
#include "tst_verification.moc"
