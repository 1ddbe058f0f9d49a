// The no-touch/touch sequencer through the tuning session on plain widgets, with a link that
// records what is asked of the board.
#include "modalhelper.h"
#include "quality/sliderreportpage.h"
#include "tuningrig.h"
#include "uiscript.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QtCharts/QLineSeries>
#include <QProcess>
#include <QtTest>

#include <numeric>

using namespace testsupport;

namespace
{
const QString kGreen = QStringLiteral("QPushButton{background-color:rgb(0,255,0);; border:2px "
                                      "solid rgb(0,255,0);; border-radius:10px;}");

struct SequencerRig : TuningRig
{
    FakeTuningLink link{run};
    explicit SequencerRig(const Pacing &clock = fastClock())
    {
        pacing = clock;
        build(link);
    }
};
} // namespace

Q_DECLARE_METATYPE(StopOutcome)

class TestSequencer : public QObject
{
    Q_OBJECT

private slots:
    void readingIsTakenBigEndianAtTheChannelsOffset_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("reading");
        QTest::newRow("TK0") << measurementRecord(0, 0x1234) << 0 << 0x1234;
        QTest::newRow("TK24") << measurementRecord(24, 0xFFFE) << 24 << 0xFFFE;
        QTest::newRow("TK7 beside others") << measurementRecord(7, 2034) << 8 << 1008;
        QTest::newRow("no channel yet") << measurementRecord(0, 2000) << 100 << -1;
        QTest::newRow("negative channel") << measurementRecord(0, 2000) << -1 << -1;
        QTest::newRow("short record") << QByteArray(10, '\x36') << 24 << -1;
    }

    void readingIsTakenBigEndianAtTheChannelsOffset()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, channel);
        QFETCH(int, reading);
        QCOMPARE(chip::channelReading(data.constData(), data.size(), channel), reading);
    }

    void singleChannelTestRunsBothPhasesAndWritesItsRow()
    {
        SequencerRig rig;
        rig.use(7, 1);
        QSignalSpy finished(&rig.sequencer(), &ChannelTestSequencer::channelFinished);
        QSignalSpy phases(&rig.run, &TuningRun::phaseChanged);
        rig.sequencer().startSingleChannel(7);
        QCOMPARE(rig.logLines(), QStringList{QStringLiteral("开始调试TK7，先请勿触摸！")});
        QCOMPARE(rig.run.channel(), 7);
        QCOMPARE(rig.run.kind(), TuningRun::Kind::Single);
        QCOMPARE(rig.results().rowOf(7), 0);
        QCOMPARE(rig.link.calls, QStringList{QStringLiteral("begin")});
        QVERIFY(rig.chart().testSeries());

        for (int i = 0; i < 161; ++i) {
            rig.record(2000 + i % 3);
            QVERIFY(rig.recorder().rearmPending());
            rig.recorder().cancelRearm();
        }
        rig.record(2000 + 161 % 3);
        QVERIFY(!rig.recorder().rearmPending()); // the countdown's Start arms the reader
        QCOMPARE(rig.logLines().last(), QStringLiteral("请按TK7 ，开始测量(触摸)...！"));
        QCOMPARE(rig.link.count(QStringLiteral("countdown")), 1);
        QCOMPARE(rig.run.sampleCount(), 162);
        // The count beside the badge: the touch phase starts from none.
        QCOMPARE(rig.progress->text(), QStringLiteral("0/162"));
        QVERIFY(rig.progress->isVisibleTo(&rig.window));

        rig.feed(161, 2600, 0);
        QVERIFY(rig.run.testBusy());
        QCOMPARE(finished.count(), 0);
        QCOMPARE(rig.progress->text(), QStringLiteral("161/162"));
        rig.record(2600 + 161 % 3);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(rig.cell(0, 0), QStringLiteral("TK7"));
        QCOMPARE(rig.cell(0, 1), QStringLiteral("2001"));
        QCOMPARE(rig.cell(0, 2), QStringLiteral("2601"));
        // Both phases are kept for the channel once its row is written.
        const ChannelSamples &kept = rig.samples(7);
        QCOMPARE(std::accumulate(kept.noTouch.begin(), kept.noTouch.end(), 0),
                 54 * (2000 + 2001 + 2002));
        QCOMPARE(kept.touch.size(), 162);
        QCOMPARE(kept.touch.first(), 2600);
        QCOMPARE(kept.touch.last(), 2602);
        QVERIFY(!rig.run.testBusy());
        QVERIFY(!rig.run.sampling());
        QCOMPARE(rig.run.kind(), TuningRun::Kind::None);
        QCOMPARE(rig.run.sampleCount(), 0);
        QVERIFY(!rig.progress->isVisibleTo(&rig.window));
        QCOMPARE(rig.chart().curvePosition(), 0.0);
        QCOMPARE(rig.keys[7]->styleSheet(), kGreen);
        QCOMPARE(rig.chart().testSeries()->count(), 324);
        // A single-channel test ends with its row: no Stop command and no box.
        QCOMPARE(rig.link.count(QStringLiteral("exchange1")), 0);
        QCOMPARE(rig.link.count(QStringLiteral("blinkOff")), 1);
        // Every change of phase was announced: countdown, sampling, and so on to the end.
        QVERIFY(phases.count() >= 6);
        QCOMPARE(phases.last().at(0).value<TuningRun::Kind>(), TuningRun::Kind::None);
    }

    void recordsWithCrcErrorsAreNotCounted()
    {
        SequencerRig rig;
        rig.use(3, 1);
        rig.sequencer().startSingleChannel(3);
        for (int i = 0; i < 161; ++i) {
            rig.record(2050);
            rig.record(9999, 1);
            QVERIFY(rig.recorder().rearmPending());
            rig.recorder().cancelRearm();
        }
        QCOMPARE(rig.run.sampleCount(), 161);
        QCOMPARE(rig.link.count(QStringLiteral("countdown")), 0);
        // The bad record repeats the last point and leaves the range alone.
        rig.chart().flushTestPoints();
        const auto points = qtcompat::seriesPoints(*rig.chart().testSeries());
        QCOMPARE(points.size(), 322);
        QCOMPARE(points.at(1).y(), 2050.0);
        QCOMPARE(rig.chart().endValue(), 2100);
        rig.record(2050);
        QCOMPARE(rig.link.count(QStringLiteral("countdown")), 1);
        // A bad record right after the phase switch neither switches again nor stalls the reader.
        rig.record(9999, 1);
        QCOMPARE(rig.link.count(QStringLiteral("countdown")), 1);
        QCOMPARE(rig.logLines().count(QStringLiteral("请按TK3 ，开始测量(触摸)...！")), 1);
        QVERIFY(rig.recorder().rearmPending());
    }

    void recordOfNoChannelIndexesNothing()
    {
        SequencerRig rig;
        rig.chart().installTestSeries();
        rig.session->handleRecord(measurementRecord(0, 30000), 0);
        rig.session->handleRecord(QByteArray(1, '\x36'), 0);
        QCOMPARE(rig.run.sampleCount(), 0);
        QCOMPARE(rig.chart().startValue(), 1900);
        QCOMPARE(rig.chart().endValue(), 2100);
        QCOMPARE(rig.chart().testSeries()->count(), 0);
    }

    void recordsWidenTheRange()
    {
        SequencerRig rig;
        rig.use(2, 1);
        rig.sequencer().startSingleChannel(2);
        rig.record(2150);
        rig.record(1850);
        QCOMPARE(rig.endCombo->currentText(), QStringLiteral("2200"));
        QCOMPARE(rig.startCombo->currentText(), QStringLiteral("0"));
    }

    void autoTestWalksTheChannelsInUse()
    {
        SequencerRig rig;
        ModalHelper boxes;
        rig.use(9, 1);
        rig.use(0, 2);
        rig.use(5, 3);
        rig.pinMap.use(6, 4, 2); // only 1 means in use
        QSignalSpy done(&rig.sequencer(), &ChannelTestSequencer::autoTestFinished);
        rig.sequencer().startAutoTest();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("请确保触摸板干净、无触摸、无水渍！")});
        QCOMPARE(rig.run.queue(), (QList<int>{5, 9}));
        QVERIFY(rig.run.autoSequence());
        QCOMPARE(rig.logLines(),
                 QStringList{QStringLiteral("请勿触摸 TK0，开始测量（不触摸） ...")});

        rig.feed(324, 2000);
        QCOMPARE(rig.run.channel(), 5);
        QCOMPARE(rig.logLines().last(), QStringLiteral("请勿触摸TK5，开始测量（不触摸） ..."));
        QCOMPARE(rig.run.queue(), QList<int>{9});
        QCOMPARE(rig.chart().testSeries()->count(), 0);
        rig.feed(324, 2100);
        QCOMPARE(rig.logLines().last(), QStringLiteral("请勿触摸TK9，开始测量（不触摸） ..."));
        QCOMPARE(rig.link.count(QStringLiteral("exchange1")), 0);
        rig.feed(324, 2200);

        QCOMPARE(done.count(), 1);
        QCOMPARE(boxes.texts().last(), QStringLiteral("所选通道不触摸与触摸测试完成！"));
        QCOMPARE(boxes.titles().last(), QStringLiteral("提示"));
        // The two Stop commands that end a run.
        QCOMPARE(rig.link.count(QStringLiteral("exchange%1").arg(int(StopExchange::EndOfRun))), 1);
        QCOMPARE(rig.link.count(QStringLiteral("begin")), 3);
        QVERIFY(!rig.run.autoSequence());
        QVERIFY(rig.run.queue().isEmpty());
        QCOMPARE(rig.cell(0, 0), QStringLiteral("TK0"));
        QCOMPARE(rig.cell(1, 0), QStringLiteral("TK5"));
        QCOMPARE(rig.cell(2, 0), QStringLiteral("TK9"));
        QCOMPARE(rig.cell(2, 1), QStringLiteral("2201"));
        QCOMPARE(rig.logLines().filter(QStringLiteral("请按TK")),
                 (QStringList{QStringLiteral("请按TK0 ，开始测量(触摸)...！"),
                              QStringLiteral("请按TK5 ，开始测量(触摸)...！"),
                              QStringLiteral("请按TK9 ，开始测量(触摸)...！")}));
    }

    void doubtfulTouchCaptureIsAsked_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<bool>("lateFinger");
        const QStringList earlier = {"TK5", "2001", "2301"};
        QTest::newRow("retake") << "重新测量" << QStringList{"TK5", "2201", "2501"} << true;
        QTest::newRow("keep") << "保留此结果" << QStringList{"TK5", "2101", "2101"} << true;
        QTest::newRow("discard") << "放弃" << earlier << false;
        QTest::newRow("closing the box discards") << QString() << earlier << false;
    }

    // Each doubtful channel of an auto test is asked about before its row is written, and the
    // run goes on after the answer. TK5 has an earlier row; TK7, measured for the first time
    // with a finger a second late or leaving early, is discarded and leaves no row.
    void doubtfulTouchCaptureIsAsked()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, row);
        QFETCH(bool, lateFinger);
        SequencerRig rig;
        ModalHelper boxes;
        rig.use(5, 1);
        rig.use(7, 2);
        rig.sequencer().startSingleChannel(5);
        rig.feed(324, 2000);
        rig.sequencer().startAutoTest();
        boxes.clear();
        if (!answer.isEmpty())
            boxes.queueButtons({answer, QStringLiteral("放弃")});
        rig.feed(324, 2100, 0); // no finger on TK5
        if (answer == QStringLiteral("重新测量"))
            rig.feed(324, 2200);
        rig.feed(162, 2000);
        rig.feed(lateFinger ? 45 : 120, 2000, lateFinger ? 0 : rig.kTouchRise);
        rig.feed(lateFinger ? 117 : 42, 2000, lateFinger ? rig.kTouchRise : 0);

        const QString question = QStringLiteral("TK5 的触摸测量可疑（信噪比 0.0:1）。");
        QCOMPARE(
            boxes.texts(),
            (QStringList{question, QStringLiteral("TK7 的触摸测量可疑（手指中途按下或离开）。"),
                         QStringLiteral("所选通道不触摸与触摸测试完成！")}));
        const QString chosen = answer.isEmpty() ? QStringLiteral("放弃") : answer;
        QVERIFY(rig.logLines().contains(question + QStringLiteral("已选择：") + chosen));
        QCOMPARE((QStringList{rig.cell(0, 0), rig.cell(0, 1), rig.cell(0, 2)}), row);
        QCOMPARE(ResultsTable::meanText(rig.samples(5).touch), row.at(2));
        QCOMPARE(rig.results().rowOf(7), -1);
        QVERIFY(rig.samples(7).isEmpty());
    }

    // A finger on the key in its no-touch phase is blamed on that phase, not on the touch.
    void fingerInTheNoTouchPhaseIsAskedAbout()
    {
        SequencerRig rig;
        ModalHelper boxes;
        rig.use(5, 1);
        rig.sequencer().startSingleChannel(5);
        rig.feed(60, 2000);
        rig.feed(60, 2300);
        rig.feed(42 + 162, 2000);
        QCOMPARE(boxes.texts(),
                 QStringList{QStringLiteral("TK5 的不触摸测量可疑（测量中有触摸）。")});
        QCOMPARE(rig.results().rowOf(5), -1);
    }

    // What "生成应用代码" asks about: the keys in use that fail or need attention, with figures.
    void keyConcernsNameTheKeysInUseThatAreNotPassed()
    {
        SequencerRig rig;
        const auto measure = [&](int channel, int noise, int touch, int water) {
            QVector<int> noTouch(162, 2000);
            noTouch[0] += noise;
            rig.session->samples().set(channel, SamplePhase::NoTouch, noTouch);
            rig.session->samples().set(channel, SamplePhase::Touch, QVector<int>(162, touch));
            rig.session->samples().set(channel, SamplePhase::Water, QVector<int>(162, water));
        };
        rig.use(0, 1);
        rig.use(3, 2);
        rig.use(6, 3);
        measure(0, 0, 2000, 2000);
        measure(3, 6, 2042, 2000); // exact signal 41.96 on noise 6: 6.99, cut to 6.9
        measure(6, 0, 2300, 2010);
        measure(9, 0, 2000, 2000); // not in use
        QCOMPARE(rig.session->keyConcerns(),
                 (QStringList{"TK0：信号 0 不为正、触摸最小值 2000 未超过按下阈值 65535",
                              "TK3：信噪比 6.9:1 低于 10:1"}));
        // The one list asked before every generation and printed under the report's heading:
        // the keys, then a slider whose swipe test was not passed (one untested or passed is no
        // concern), then what the other parts add.
        SwipeJudgement failed;
        failed.linearity = 12.8;
        failed.verdict = KeyVerdict::Fail;
        SwipeJudgement passed;
        passed.verdict = KeyVerdict::Pass;
        rig.session->reportSliders = [&] {
            QVector<SliderReportPage::Slider> sliders(3);
            sliders[0].name = QStringLiteral("S1");
            sliders[0].swipe = failed;
            sliders[1].name = QStringLiteral("S2");
            sliders[2].name = QStringLiteral("W1");
            sliders[2].swipe = passed;
            return sliders;
        };
        // A false-touch run that TK6 failed with two presses and TK3 passed.
        EvaluationReport::Snapshot quiet;
        quiet.minutes = 1;
        for (int channel : {3, 6}) {
            KeyPreview::Key key;
            key.channel = channel;
            quiet.keys << key;
            quiet.result.keys[channel].modelled = true;
            quiet.result.keys[channel].excursion = 10;
            quiet.result.keys[channel].pressOffset = 100;
        }
        quiet.result.keys[6].falsePresses = 2;
        rig.session->keepFalseTouch(quiet);
        const QStringList all = rig.session->concerns();
        QCOMPARE(all.mid(0, 2), rig.session->keyConcerns());
        QCOMPARE(all.size(), 4);
        QVERIFY2(all.at(2).startsWith(QStringLiteral("S1：滑动测试不合格：")) &&
                     all.at(2).endsWith(QStringLiteral("线性度 12.8% 超过 8%")),
                 qPrintable(all.at(2)));
        QCOMPARE(all.at(3), QStringLiteral("误触发测试：") +
                                EvaluationReport::quietLine(quiet.keys.at(1),
                                                            quiet.result.keys[6]));
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        QVERIFY(rig.session->writeReport(pdf, QStringLiteral("p"), QStringLiteral("SOP28"), nullptr));
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        QVERIFY(QString::fromUtf8(text.readAllStandardOutput())
                    .simplified()
                    .contains(QStringLiteral("未通过或需注意：TK0：信号 0 不为正")));
    }

    // A finger on TK3 moves TK4 by 300, twice its margin: the log, TK4's row and the question
    // before generation all say so with one figure, as they say what a mean edited by hand does.
    // Saved and opened again the keys are judged as before; from an older samples file the
    // coupling reads as not measured. After the session's reset a new measurement warns again.
    void couplingIsJudgedAlikeEverywhereAndKept()
    {
        SequencerRig rig;
        ModalHelper boxes;
        rig.use(3, 1);
        rig.use(4, 2);
        const QString warning = QStringLiteral("触摸 TK3 时 TK4 偏移 300，达到阈值余量的 200%");
        const auto measure = [&rig] {
            rig.sequencer().startAutoTest();
            for (int i = 0; i < 2 * 324; ++i) {
                rig.recorder().cancelRearm();
                const bool touched = rig.run.sampleCount() >= 162;
                QByteArray record =
                    measurementRecord(rig.run.channel(), 2000 + i % 3 + 300 * touched);
                if (touched && rig.run.channel() == 3) {
                    record[9] = char(1304 >> 8); // TK4 from 1004 to 1304
                    record[10] = char(1304 & 0xFF);
                }
                rig.session->handleRecord(record, 0);
            }
            rig.waterproof().start();
            rig.record(2000); // raises the add-water prompt
            rig.feed(2 * 162, 2031);
        };
        measure();
        const auto tip = [](const SequencerRig &r) { return r.table->item(1, 0)->toolTip(); };
        QVERIFY(tip(rig).startsWith(QStringLiteral("TK4：不合格（邻键触摸时会被按下）")));
        QCOMPARE(rig.logLines().filter(QStringLiteral("触摸 TK3 时")), QStringList{warning});
        QCOMPARE(rig.session->keyConcerns(), QStringList{QStringLiteral("TK4：") + warning});
        rig.table->item(0, 2)->setText(QStringLiteral("2001"));
        QVERIFY(rig.session->keyConcerns().first().startsWith(
            QStringLiteral("TK3：表格数值已手动修改，与采样不符")));
        // A margin edited to 140: the log's last word is the tooltip's figure.
        rig.table->item(1, 2)->setText(QStringLiteral("2281"));
        const QString edited = QStringLiteral("触摸 TK3 时 TK4 偏移 300，达到阈值余量的 214%");
        QTRY_COMPARE(rig.logLines().last(), edited);
        QVERIFY(tip(rig).endsWith(edited));

        QTemporaryDir dir;
        const QString path = dir.filePath("demo_samples.csv");
        QString error;
        QVERIFY(rig.session->saveSamples(path, &error));
        const auto reopened = [&](const QString &samples) {
            auto again = std::make_unique<SequencerRig>();
            again->use(3, 1);
            again->use(4, 2);
            for (int row = 0; row < 2; ++row) {
                for (int column = 0; column < 6; ++column)
                    again->table->setItem(row, column, new QTableWidgetItem(rig.cell(row, column)));
            }
            again->session->adoptLoadedResults(samples);
            return again;
        };
        QCOMPARE(tip(*reopened(path)), tip(rig));
        // A file of the previous release: no shifts.
        writeBytes(path, readBytes(path).left(readBytes(path).indexOf("TK3,shifts")) +
                             readBytes(path).mid(readBytes(path).indexOf("TK4,notouch")));
        const auto old = reopened(path);
        QVERIFY(!tip(*old).contains(QStringLiteral("邻键触摸时会被按下")));
        QVERIFY(tip(*old).endsWith(QStringLiteral("触摸 TK3 时的邻键影响未测")));
        QCOMPARE(old->logLines().last(),
                 QStringLiteral(
                     "样本文件 demo_samples.csv 没有邻键影响的数据：触摸 TK3 时的邻键影响未测"));

        rig.session->clearResults();
        measure();
        QCOMPARE(rig.logLines().filter(QStringLiteral("触摸 TK3 时")),
                 (QStringList{warning, edited, warning}));
    }

    // The log pane follows each new line unless scrolled up to read, and an overlay over it
    // leaves the newest line's text free however many lines the pane holds.
    void logPaneKeepsTheNewestLineInViewAndFree()
    {
        SequencerRig rig;
        rig.window.resize(900, 300);
        rig.log->setGeometry(100, 100, 400, 100);
        rig.log->setLineWrapMode(QPlainTextEdit::NoWrap);
        rig.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        for (int lines = 1; lines <= 6; ++lines) {
            rig.log->appendPlainText(QString(60, QChar(0x4E2D)));
            QTextCursor end(rig.log->document());
            end.movePosition(QTextCursor::End);
            const QRect cursor = rig.log->cursorRect(end);
            const QRect newest = (QRect(0, cursor.top(), cursor.right(), cursor.height()) &
                                  rig.log->viewport()->rect())
                                     .translated(rig.log->viewport()->mapTo(&rig.window, QPoint()));
            QVERIFY(!newest.isEmpty());
            const QRect badge(rig.session->logPane().overlayPosition({50, 50}, &rig.window),
                              QSize(50, 50));
            QVERIFY2(!badge.intersects(newest), qPrintable(QString::number(lines)));
        }
        rig.log->verticalScrollBar()->setValue(0);
        rig.log->appendPlainText(QStringLiteral("read further up"));
        QCOMPARE(rig.log->verticalScrollBar()->value(), 0);
    }

    // Every line the pane showed keeps the time it was written, also after the pane was
    // cleared for a new run; "保存日志…" writes them all beside the project and says where.
    void sessionLogIsKeptWithTimesAndSaved()
    {
        SequencerRig rig;
        LogHistory &history = rig.session->logHistory();
        QDateTime clock(QDate(2024, 7, 14), QTime(9, 30, 0));
        history.now = [&clock] { return clock; };
        const auto at = [&clock](int ms) { clock.setTime(QTime(9, 30, 0).addMSecs(ms)); };
        at(1500);
        rig.log->appendPlainText(QStringLiteral("请勿触摸TK7"));
        at(3000);
        rig.log->appendPlainText(QStringLiteral("TK7：噪声 6\n第二行"));
        at(4500);
        // As Save & Download clears the pane for the new firmware's run.
        rig.log->setPlainText(QString());
        at(6000);
        rig.log->appendPlainText(QStringLiteral("new run"));
        at(9000);
        QCOMPARE(rig.log->toPlainText(), QStringLiteral("new run"));
        QTemporaryDir dir;
        history.saveInto(dir.filePath("sub"), QStringLiteral("walkDemo"), &rig.window);
        const QString path = dir.filePath("sub/walkDemo_2024-07-14-09-30-09_log.txt");
        QCOMPARE(readBytes(path),
                 "\xEF\xBB\xBF" + QStringLiteral("2024-07-14 09:30:01.500  请勿触摸TK7\r\n"
                                                 "2024-07-14 09:30:03.000  TK7：噪声 6\r\n"
                                                 "2024-07-14 09:30:03.000  第二行\r\n"
                                                 "2024-07-14 09:30:04.500  —— 日志窗口已清空 ——\r\n"
                                                 "2024-07-14 09:30:06.000  new run\r\n")
                                      .toUtf8());
        QCOMPARE(rig.log->toPlainText().split('\n').last(),
                 QStringLiteral("日志已保存：") + QDir::toNativeSeparators(path));
        // A folder that cannot be made is said, and the log says nothing of a file.
        ModalHelper boxes;
        writeBytes(dir.filePath("plain"), "a file");
        history.saveInto(dir.filePath("plain/below"), QStringLiteral("walkDemo"), &rig.window);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(rig.log->toPlainText().count(QStringLiteral("日志已保存")), 1);
        // The log's context menu offers it.
        QSignalSpy asked(rig.session.get(), &TuningSession::logSaveRequested);
        UiScript script;
        script.chooseMenuEntry(QStringLiteral("保存日志…"));
        emit rig.log->customContextMenuRequested(QPoint(5, 5));
        QTRY_VERIFY(script.finished());
        QCOMPARE(asked.count(), 1);
    }

    void autoTestWithoutBoardSendsNoStop()
    {
        SequencerRig rig;
        ModalHelper boxes;
        rig.use(4, 1);
        rig.link.open = false;
        rig.sequencer().startAutoTest();
        rig.feed(324, 2000);
        QCOMPARE(boxes.texts().last(), QStringLiteral("所选通道不触摸与触摸测试完成！"));
        QVERIFY(rig.link.calls.filter(QStringLiteral("exchange")).isEmpty());
    }

    void autoTestStartsNothingWhenRefused_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("anyInUse");
        QTest::addColumn<QStringList>("texts");
        const QString confirm = QStringLiteral("请确保触摸板干净、无触摸、无水渍！");
        QTest::newRow("cancel") << true << false << true << QStringList{confirm};
        QTest::newRow("busy") << false << true << true
                              << QStringList{confirm, QStringLiteral("正在调试请勿点击！")};
        QTest::newRow("nothing in use")
            << false << false << false
            << QStringList{confirm, QStringLiteral("请选择需要调试的通道！")};
    }

    void autoTestStartsNothingWhenRefused()
    {
        QFETCH(bool, cancel);
        QFETCH(bool, busy);
        QFETCH(bool, anyInUse);
        QFETCH(QStringList, texts);
        SequencerRig rig;
        ModalHelper boxes;
        if (cancel)
            boxes.answer(texts.first(), QMessageBox::Cancel);
        if (busy) {
            rig.use(8, 2);
            rig.sequencer().startSingleChannel(8);
            rig.link.calls.clear();
            rig.log->clear();
        }
        if (anyInUse)
            rig.use(3, 1);
        rig.sequencer().startAutoTest();
        QCOMPARE(boxes.texts(), texts);
        QVERIFY(rig.link.calls.isEmpty());
        QVERIFY(!rig.run.autoSequence());
        QCOMPARE(rig.results().rowOf(3), -1);
        QVERIFY(rig.log->toPlainText().isEmpty());
    }

    void singleChannelTestRefusals()
    {
        SequencerRig rig;
        ModalHelper boxes;
        rig.sequencer().startSingleChannel(5); // not in use: nothing at all
        QVERIFY(boxes.texts().isEmpty());
        QVERIFY(rig.link.calls.isEmpty());
        QVERIFY(rig.log->toPlainText().isEmpty());
        QCOMPARE(rig.results().rowOf(5), -1);
        QCOMPARE(rig.run.channel(), -1);

        rig.use(5, 1);
        rig.use(6, 2);
        rig.sequencer().startSingleChannel(6);
        rig.link.calls.clear();
        rig.sequencer().startSingleChannel(5);
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("正在调试请勿点击！")});
        QVERIFY(rig.link.calls.isEmpty());
    }

    void retestingAChannelReusesItsRow()
    {
        SequencerRig rig;
        rig.use(3, 1);
        rig.use(0, 2);
        rig.sequencer().startSingleChannel(3);
        rig.feed(324, 2000);
        rig.sequencer().startSingleChannel(0);
        rig.feed(324, 2300);
        rig.sequencer().startSingleChannel(3);
        rig.feed(324, 2500);
        QCOMPARE(rig.results().rowOf(3), 0);
        QCOMPARE(rig.results().rowOf(0), 1);
        QCOMPARE(rig.cell(0, 0), QStringLiteral("TK3"));
        QCOMPARE(rig.cell(0, 1), QStringLiteral("2501"));
        QCOMPARE(rig.cell(1, 0), QStringLiteral("TK0"));
        QCOMPARE(rig.cell(1, 1), QStringLiteral("2301"));
        QCOMPARE(rig.cell(2, 0), QString());
    }

    void staleRecordAfterAStopDoesNotCountInTheNextTest()
    {
        SequencerRig rig;
        rig.use(1, 1);
        rig.sequencer().startSingleChannel(1);
        rig.sequencer().stop();
        rig.record(4000); // on its way when the run stopped
        QVERIFY(!rig.recorder().rearmPending());
        QCOMPARE(rig.chart().curvePosition(), 0.0);
        rig.sequencer().startSingleChannel(1);
        rig.feed(324, 2000);
        QCOMPARE(rig.cell(0, 1), QStringLiteral("2001"));
    }

    // The reader is armed again only after the record pause, never within the record's own
    // handling; what the pause costs over a whole test is bench_pacing's.
    void rearmWaitsTheRecordPause()
    {
        SequencerRig rig(realClock());
        rig.use(1, 1);
        rig.sequencer().startSingleChannel(1);
        rig.record(2000);
        QCOMPARE(rig.link.arms, 0);
        QTRY_COMPARE(rig.link.arms, 1);
        // A run halted during the pause does not re-arm the reader.
        rig.record(2000);
        rig.run.halt();
        QTest::qWait(60);
        QCOMPARE(rig.link.arms, 1);
    }

    void stopOutcomes_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<StopOutcome>("outcome");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("linkCalls");
        const QStringList before = {
            QStringLiteral("drain"), QStringLiteral("disarm"),
            QStringLiteral("exchange%1").arg(int(StopExchange::StopButton))};
        QTest::newRow("accepted") << true << StopOutcome::Done << QStringList()
                                  << before + QStringList{QStringLiteral("countdownOff+hide"),
                                                          QStringLiteral("blinkOff")};
        QTest::newRow("refused") << true << StopOutcome::NotAcknowledged
                                 << QStringList{QStringLiteral("停止测试失败！")} << before;
        QTest::newRow("write failed") << true << StopOutcome::WriteFailed
                                      << QStringList{QStringLiteral("停止测试失败！")} << before;
        QTest::newRow("no debugger") << false << StopOutcome::Done
                                     << QStringList{QStringLiteral("请连接调试器！")} << before;
    }

    void stopOutcomes()
    {
        QFETCH(bool, open);
        QFETCH(StopOutcome, outcome);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, linkCalls);
        SequencerRig rig;
        ModalHelper boxes;
        rig.use(2, 1);
        rig.use(4, 2);
        rig.sequencer().startAutoTest();
        boxes.clear();
        rig.record(2000);
        QVERIFY(rig.recorder().rearmPending());
        rig.link.calls.clear();
        rig.link.open = open;
        rig.link.stopOutcome = outcome;

        rig.sequencer().stop();
        QCOMPARE(rig.link.calls, linkCalls);
        QCOMPARE(boxes.texts(), texts);
        QVERIFY(!rig.recorder().rearmPending());
        QVERIFY(!rig.run.stopping());
        QCOMPARE(rig.pinMap.resets, 1); // indicators refreshed from the pin map
        const bool accepted = texts.isEmpty();
        QCOMPARE(rig.logLines().last() == QStringLiteral("TK2 的触摸测试已中止：停止测试"),
                 accepted);
        QCOMPARE(rig.run.halted(), accepted);
        QCOMPARE(rig.run.testBusy(), !accepted);
        QCOMPARE(rig.run.sampling(), !accepted);
        QCOMPARE(rig.run.autoSequence(), !accepted);
        QCOMPARE(rig.run.sampleCount() == 0, accepted);
        QTest::qWait(40);
        QCOMPARE(rig.link.arms, 0);
    }

    void stopDuringAStopIsRefused()
    {
        SequencerRig rig;
        ModalHelper boxes;
        rig.run.beginStopping();
        rig.sequencer().stop();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("正在执行停止，请稍等！")});
        QVERIFY(rig.link.calls.isEmpty());
    }

    // The run is over after a reader failure: a later single-channel test does not continue
    // the old queue.
    void abandonedRunEndsTheRun()
    {
        SequencerRig rig;
        ModalHelper boxes;
        rig.use(8, 1);
        rig.use(9, 2);
        rig.sequencer().startAutoTest();
        boxes.clear();
        rig.feed(10, 2000);
        rig.keys[8]->setStyleSheet(QString());
        rig.record(2000);
        rig.link.open = false; // the cable was pulled
        rig.sequencer().abandonRun(QStringLiteral("接收返回超时！"));
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("接收返回超时！")});
        QCOMPARE(rig.logLines().last(), QStringLiteral("TK8 的触摸测试已中止：调试器已断开"));
        QCOMPARE(rig.chart().testSeries()->count(), 0);
        QCOMPARE(rig.run.sampleCount(), 0);
        QVERIFY(!rig.run.testBusy());
        QVERIFY(!rig.run.sampling());
        QVERIFY(rig.run.halted());
        QVERIFY(!rig.run.autoSequence());
        QVERIFY(rig.run.queue().isEmpty());
        QCOMPARE(rig.chart().curvePosition(), 0.0);
        QCOMPARE(rig.keys[8]->styleSheet(), kGreen);
        QVERIFY(rig.link.calls.contains(QStringLiteral("blinkOff")));
        QVERIFY(rig.link.calls.contains(QStringLiteral("countdownOff")));
        QTest::qWait(40);
        QCOMPARE(rig.link.arms, 0);

        rig.sequencer().startSingleChannel(8);
        rig.feed(324, 2000);
        QCOMPARE(rig.link.count(QStringLiteral("begin")), 2);
        QCOMPARE(rig.run.kind(), TuningRun::Kind::None);
    }
};

QTEST_MAIN(TestSequencer)
#include "tst_sequencer.moc"
