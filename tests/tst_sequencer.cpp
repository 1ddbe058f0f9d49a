#include "modalhelper.h"
#include "tuning/channelindicators.h"
#include "tuning/channeltestsequencer.h"
#include "tuning/livechart.h"
#include "tuning/pinmapsource.h"
#include "tuning/resultstable.h"
#include "tuning/sequencerlink.h"
#include "tuning/tuningstate.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include <numeric>

using namespace testsupport;

namespace
{
const QString kGreen = QStringLiteral("QPushButton{background-color:rgb(0,255,0);; border:2px "
                                      "solid rgb(0,255,0);; border-radius:10px;}");

// Records what the sequencer asks of the link; the counted-down start succeeds at once.
class FakeLink : public SequencerLink
{
public:
    explicit FakeLink(TuningState &state) : state(state) {}
    TuningState &state;
    QStringList calls;
    bool open = true;
    int stopWriteResult = 65;
    int ack = 1;
    int arms = 0;

    bool isOpen() const override { return open; }
    void beginSampling() override
    {
        calls << QStringLiteral("begin");
        state.chartX = 0.0;
        state.testBusy = true;
        state.sampling = true;
    }
    void restartCountdown() override
    {
        calls << QStringLiteral("countdown");
        state.sampling = true;
    }
    void armReader() override { ++arms; }
    void disarmReader() override { calls << QStringLiteral("disarm"); }
    void stopDrain() override { calls << QStringLiteral("drain"); }
    int sendStopCommand() override
    {
        calls << QStringLiteral("stop");
        return stopWriteResult;
    }
    int waitStopAck() override
    {
        calls << QStringLiteral("ack");
        return ack;
    }
    void stopBlinkTimer() override { calls << QStringLiteral("blinkOff"); }
    void stopCountdownTimer() override { calls << QStringLiteral("countdownOff"); }
    void hideCountdownDigit() override { calls << QStringLiteral("hide"); }
    int count(const QString &call) const { return calls.count(call); }
};

// The sequencer with its real chart, table and indicators on plain widgets.
struct SequencerRig
{
    QWidget window;
    QtCharts::QChartView *view = new QtCharts::QChartView(&window);
    QComboBox *start = new QComboBox(&window);
    QComboBox *end = new QComboBox(&window);
    QLabel *hover = new QLabel(&window);
    QTableWidget *table = new QTableWidget(&window);
    QPlainTextEdit *log = new QPlainTextEdit(&window);
    QList<QPushButton *> keys;
    QList<QPushButton *> swatches;
    QList<QCheckBox *> boxes;
    TuningState state;
    FakePinMap pinMap;
    FakeLink link{state};
    LiveChart chart{view, start, end, hover, state};
    ResultsTable results;
    ChannelIndicators *indicators = nullptr;
    ChannelTestSequencer *sequencer = nullptr;

    static QStringList names()
    {
        QStringList list;
        for (int n = 0; n < 25; ++n)
            list << QStringLiteral("TK%1").arg(n);
        return list;
    }

    SequencerRig() : results(table, names())
    {
        for (int n = 0; n < 25; ++n) {
            keys << new QPushButton(&window);
            swatches << new QPushButton(&window);
            boxes << new QCheckBox(&window);
        }
        chart.fillValueCombos();
        start->setCurrentText(QStringLiteral("1900"));
        end->setCurrentText(QStringLiteral("2100"));
        chart.rebuild(12, 11);
        results.setup();
        indicators = new ChannelIndicators(keys, swatches, boxes, pinMap, state, &window, &window);
        sequencer = new ChannelTestSequencer(state, chart, results, *indicators, pinMap, link, log,
                                             &window, &window);
    }

    QStringList logLines() const { return log->toPlainText().split(QLatin1Char('\n')); }
    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = table->item(row, column);
        return item ? item->text() : QString();
    }
    // Feeds good records of value base + i % 3 (mean base + 1) for the channel under test.
    void feed(int count, int base)
    {
        for (int i = 0; i < count; ++i) {
            sequencer->cancelRearm();
            sequencer->handleRecord(measurementRecord(state.currentChannel, base + i % 3), 0);
        }
    }
};
} // namespace

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
        QCOMPARE(ChannelTestSequencer::channelReading(data, channel), reading);
    }

    void singleChannelTestRunsBothPhasesAndWritesItsRow()
    {
        SequencerRig rig;
        rig.pinMap.inUse[7] = 1;
        QSignalSpy finished(rig.sequencer, &ChannelTestSequencer::channelFinished);
        rig.sequencer->startSingleChannel(7);
        QCOMPARE(rig.logLines(), QStringList{QStringLiteral("开始调试TK7，先请勿触摸！")});
        QCOMPARE(rig.state.currentChannel, 7);
        QCOMPARE(rig.state.currentKeyButton, rig.keys[7]);
        QCOMPARE(rig.results.rowOf(7), 0);
        QCOMPARE(rig.link.calls, QStringList{QStringLiteral("begin")});
        QVERIFY(rig.chart.testSeries());

        for (int i = 0; i < 161; ++i) {
            rig.sequencer->handleRecord(measurementRecord(7, 2000 + i % 3), 0);
            QVERIFY(rig.sequencer->rearmPending());
            rig.sequencer->cancelRearm();
        }
        rig.sequencer->handleRecord(measurementRecord(7, 2000 + 161 % 3), 0);
        QVERIFY(!rig.sequencer->rearmPending()); // the countdown's Start arms the reader
        QCOMPARE(rig.logLines().last(), QStringLiteral("请按TK7 ，开始测量(触摸)...！"));
        QCOMPARE(rig.link.count(QStringLiteral("countdown")), 1);
        QCOMPARE(rig.state.tkData.size(), 162);

        rig.feed(161, 2600);
        QVERIFY(rig.state.testBusy);
        QCOMPARE(finished.count(), 0);
        rig.sequencer->handleRecord(measurementRecord(7, 2600 + 161 % 3), 0);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(rig.cell(0, 0), QStringLiteral("TK7"));
        QCOMPARE(rig.cell(0, 1), QStringLiteral("2001"));
        QCOMPARE(rig.cell(0, 2), QStringLiteral("2601"));
        // Both phases are kept for the channel once its row is written.
        const ChannelSamples &kept = rig.state.samples.at(7);
        QCOMPARE(std::accumulate(kept.noTouch.begin(), kept.noTouch.end(), 0),
                 54 * (2000 + 2001 + 2002));
        QCOMPARE(kept.touch.size(), 162);
        QCOMPARE(kept.touch.first(), 2600);
        QCOMPARE(kept.touch.last(), 2602);
        QVERIFY(!rig.state.testBusy);
        QVERIFY(!rig.state.sampling);
        QVERIFY(rig.state.tkData.isEmpty());
        QCOMPARE(rig.state.chartX, 0.0);
        QCOMPARE(rig.keys[7]->styleSheet(), kGreen);
        QCOMPARE(rig.chart.testSeries()->count(), 324);
        // A single-channel test ends with its row: no Stop command and no box.
        QCOMPARE(rig.link.count(QStringLiteral("stop")), 0);
        QCOMPARE(rig.link.count(QStringLiteral("blinkOff")), 1);
    }

    void recordsWithCrcErrorsAreNotCounted()
    {
        SequencerRig rig;
        rig.pinMap.inUse[3] = 1;
        rig.sequencer->startSingleChannel(3);
        for (int i = 0; i < 161; ++i) {
            rig.sequencer->handleRecord(measurementRecord(3, 2050), 0);
            rig.sequencer->handleRecord(measurementRecord(3, 9999), 1);
            QVERIFY(rig.sequencer->rearmPending());
            rig.sequencer->cancelRearm();
        }
        QCOMPARE(rig.state.tkData.size(), 161);
        QCOMPARE(rig.link.count(QStringLiteral("countdown")), 0);
        // The bad record repeats the last point and leaves the range alone.
        const auto points = rig.chart.testSeries()->pointsVector();
        QCOMPARE(points.size(), 322);
        QCOMPARE(points.at(1).y(), 2050.0);
        QCOMPARE(rig.chart.endValue(), 2100);
        rig.sequencer->handleRecord(measurementRecord(3, 2050), 0);
        QCOMPARE(rig.link.count(QStringLiteral("countdown")), 1);
        // A bad record right after the phase switch neither switches again nor stalls the reader.
        rig.sequencer->handleRecord(measurementRecord(3, 9999), 1);
        QCOMPARE(rig.link.count(QStringLiteral("countdown")), 1);
        QCOMPARE(rig.logLines().count(QStringLiteral("请按TK3 ，开始测量(触摸)...！")), 1);
        QVERIFY(rig.sequencer->rearmPending());
    }

    void recordOfNoChannelIndexesNothing()
    {
        SequencerRig rig;
        rig.chart.installTestSeries();
        rig.state.currentChannel = 100;
        rig.sequencer->handleRecord(measurementRecord(0, 30000), 0);
        rig.sequencer->handleRecord(QByteArray(1, '\x36'), 0);
        QVERIFY(rig.state.tkData.isEmpty());
        QCOMPARE(rig.chart.startValue(), 1900);
        QCOMPARE(rig.chart.endValue(), 2100);
        QCOMPARE(rig.chart.testSeries()->count(), 0);
    }

    void recordsWidenTheRange()
    {
        SequencerRig rig;
        rig.pinMap.inUse[2] = 1;
        rig.sequencer->startSingleChannel(2);
        rig.sequencer->handleRecord(measurementRecord(2, 2150), 0);
        rig.sequencer->handleRecord(measurementRecord(2, 1850), 0);
        QCOMPARE(rig.end->currentText(), QStringLiteral("2200"));
        QCOMPARE(rig.start->currentText(), QStringLiteral("0"));
    }

    void autoTestWalksTheChannelsInUse()
    {
        SequencerRig rig;
        ModalHelper boxes;
        rig.pinMap.inUse[9] = 1;
        rig.pinMap.inUse[0] = 1;
        rig.pinMap.inUse[5] = 1;
        rig.pinMap.inUse[6] = 2; // only 1 means in use
        QSignalSpy done(rig.sequencer, &ChannelTestSequencer::autoTestFinished);
        rig.sequencer->startAutoTest();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("请确保触摸板干净、无触摸、无水渍！")});
        QCOMPARE(rig.state.remainingChannels, 2);
        QCOMPARE(rig.state.selectedChannels[0], 1);
        QCOMPARE(rig.state.selectedChannels[1], 6);
        QCOMPARE(rig.state.selectedChannels[2], 10);
        QCOMPARE(rig.state.selectedChannels[3], 0);
        QVERIFY(rig.state.autoSequence);
        QCOMPARE(rig.logLines(),
                 QStringList{QStringLiteral("请勿触摸 TK0，开始测量（不触摸） ...")});

        rig.feed(324, 2000);
        QCOMPARE(rig.state.currentChannel, 5);
        QCOMPARE(rig.logLines().last(), QStringLiteral("请勿触摸TK5，开始测量（不触摸） ..."));
        QCOMPARE(rig.state.remainingChannels, 1);
        QCOMPARE(rig.state.nextSelectedIndex, 2);
        QCOMPARE(rig.chart.testSeries()->count(), 0);
        rig.feed(324, 2100);
        QCOMPARE(rig.logLines().last(), QStringLiteral("请勿触摸TK9，开始测量（不触摸） ..."));
        QCOMPARE(rig.link.count(QStringLiteral("stop")), 0);
        rig.feed(324, 2200);

        QCOMPARE(done.count(), 1);
        QCOMPARE(boxes.texts().last(), QStringLiteral("所选通道不触摸与触摸测试完成！"));
        QCOMPARE(boxes.titles().last(), QStringLiteral("提示"));
        QCOMPARE(rig.link.count(QStringLiteral("stop")), 2);
        QCOMPARE(rig.link.count(QStringLiteral("begin")), 3);
        QVERIFY(!rig.state.autoSequence);
        QCOMPARE(rig.state.nextSelectedIndex, 0);
        QCOMPARE(rig.cell(0, 0), QStringLiteral("TK0"));
        QCOMPARE(rig.cell(1, 0), QStringLiteral("TK5"));
        QCOMPARE(rig.cell(2, 0), QStringLiteral("TK9"));
        QCOMPARE(rig.cell(2, 1), QStringLiteral("2201"));
        QCOMPARE(rig.logLines().filter(QStringLiteral("请按TK")),
                 (QStringList{QStringLiteral("请按TK0 ，开始测量(触摸)...！"),
                              QStringLiteral("请按TK5 ，开始测量(触摸)...！"),
                              QStringLiteral("请按TK9 ，开始测量(触摸)...！")}));
    }

    void autoTestWithoutBoardSendsNoStop()
    {
        SequencerRig rig;
        ModalHelper boxes;
        rig.pinMap.inUse[4] = 1;
        rig.link.open = false;
        rig.sequencer->startAutoTest();
        rig.feed(324, 2000);
        QCOMPARE(boxes.texts().last(), QStringLiteral("所选通道不触摸与触摸测试完成！"));
        QCOMPARE(rig.link.count(QStringLiteral("stop")), 0);
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
        rig.state.testBusy = busy;
        rig.pinMap.inUse[3] = anyInUse ? 1 : 0;
        rig.sequencer->startAutoTest();
        QCOMPARE(boxes.texts(), texts);
        QVERIFY(rig.link.calls.isEmpty());
        QVERIFY(!rig.state.autoSequence);
        QCOMPARE(rig.results.rowOf(3), -1);
        QVERIFY(rig.log->toPlainText().isEmpty());
    }

    void singleChannelTestRefusals()
    {
        SequencerRig rig;
        ModalHelper boxes;
        rig.pinMap.inUse[5] = 0;
        rig.sequencer->startSingleChannel(5); // not in use: nothing at all
        QVERIFY(boxes.texts().isEmpty());
        QVERIFY(rig.link.calls.isEmpty());
        QVERIFY(rig.log->toPlainText().isEmpty());
        QCOMPARE(rig.results.rowOf(5), -1);
        QCOMPARE(rig.state.currentChannel, 100);

        rig.pinMap.inUse[5] = 1;
        rig.state.testBusy = true;
        rig.sequencer->startSingleChannel(5);
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("正在调试请勿点击！")});
        QVERIFY(rig.link.calls.isEmpty());
    }

    void retestingAChannelReusesItsRow()
    {
        SequencerRig rig;
        rig.pinMap.inUse[3] = 1;
        rig.pinMap.inUse[0] = 1;
        rig.sequencer->startSingleChannel(3);
        rig.feed(324, 2000);
        rig.sequencer->startSingleChannel(0);
        rig.feed(324, 2300);
        rig.sequencer->startSingleChannel(3);
        rig.feed(324, 2500);
        QCOMPARE(rig.results.rowOf(3), 0);
        QCOMPARE(rig.results.rowOf(0), 1);
        QCOMPARE(rig.cell(0, 0), QStringLiteral("TK3"));
        QCOMPARE(rig.cell(0, 1), QStringLiteral("2501"));
        QCOMPARE(rig.cell(1, 0), QStringLiteral("TK0"));
        QCOMPARE(rig.cell(1, 1), QStringLiteral("2301"));
        QCOMPARE(rig.cell(2, 0), QString());
    }

    void staleRecordAfterAStopDoesNotCountInTheNextTest()
    {
        SequencerRig rig;
        rig.pinMap.inUse[1] = 1;
        rig.state.halted = true;
        rig.state.currentChannel = 1;
        rig.sequencer->handleRecord(measurementRecord(1, 4000), 0); // on its way when the run stopped
        QVERIFY(!rig.sequencer->rearmPending());
        QCOMPARE(rig.state.chartX, 0.0);
        rig.sequencer->startSingleChannel(1);
        rig.feed(324, 2000);
        QCOMPARE(rig.cell(0, 1), QStringLiteral("2001"));
    }

    void rearmWaitsTheRecordPause()
    {
        SequencerRig rig;
        rig.pinMap.inUse[1] = 1;
        rig.sequencer->startSingleChannel(1);
        QElapsedTimer clock;
        clock.start();
        rig.sequencer->handleRecord(measurementRecord(1, 2000), 0);
        QCOMPARE(rig.link.arms, 0);
        QTRY_COMPARE_WITH_TIMEOUT(rig.link.arms, 1, 1000);
        QVERIFY(clock.elapsed() >= 19);
        // A run halted during the pause does not re-arm the reader.
        rig.sequencer->handleRecord(measurementRecord(1, 2000), 0);
        rig.state.halted = true;
        QTest::qWait(60);
        QCOMPARE(rig.link.arms, 1);
    }

    void stopOutcomes_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("writeResult");
        QTest::addColumn<int>("ack");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("linkCalls");
        const QStringList before = {QStringLiteral("drain"), QStringLiteral("disarm")};
        const QStringList stops = {QStringLiteral("stop"), QStringLiteral("stop"),
                                   QStringLiteral("stop")};
        QTest::newRow("accepted") << true << 65 << 1 << QStringList()
                                  << before + stops +
                                         QStringList{QStringLiteral("ack"), QStringLiteral("hide"),
                                                     QStringLiteral("blinkOff"),
                                                     QStringLiteral("countdownOff")};
        QTest::newRow("refused") << true << 65 << 0 << QStringList{QStringLiteral("停止测试失败！")}
                                 << before + stops + QStringList{QStringLiteral("ack")};
        QTest::newRow("write failed")
            << true << -1 << 1 << QStringList{QStringLiteral("停止测试失败！")} << before + stops;
        QTest::newRow("no debugger")
            << false << 65 << 1 << QStringList{QStringLiteral("请连接调试器！")} << before;
    }

    void stopOutcomes()
    {
        QFETCH(bool, open);
        QFETCH(int, writeResult);
        QFETCH(int, ack);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, linkCalls);
        SequencerRig rig;
        ModalHelper boxes;
        rig.pinMap.inUse[2] = 1;
        rig.sequencer->startSingleChannel(2);
        rig.state.autoSequence = true;
        rig.sequencer->handleRecord(measurementRecord(2, 2000), 0);
        QVERIFY(rig.sequencer->rearmPending());
        rig.link.calls.clear();
        rig.link.open = open;
        rig.link.stopWriteResult = writeResult;
        rig.link.ack = ack;

        rig.sequencer->stop();
        QCOMPARE(rig.link.calls, linkCalls);
        QCOMPARE(boxes.texts(), texts);
        QVERIFY(!rig.sequencer->rearmPending());
        QVERIFY(!rig.state.stopInProgress);
        QCOMPARE(rig.pinMap.resets, 1); // indicators refreshed from the pin map
        const bool accepted = texts.isEmpty();
        QCOMPARE(rig.state.halted, accepted);
        QCOMPARE(rig.state.testBusy, !accepted);
        QCOMPARE(rig.state.sampling, !accepted);
        QCOMPARE(rig.state.autoSequence, !accepted);
        QCOMPARE(rig.state.tkData.isEmpty(), accepted);
        QTest::qWait(40);
        QCOMPARE(rig.link.arms, 0);
    }

    void stopDuringAStopIsRefused()
    {
        SequencerRig rig;
        ModalHelper boxes;
        rig.state.stopInProgress = true;
        rig.sequencer->stop();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("正在执行停止，请稍等！")});
        QVERIFY(rig.link.calls.isEmpty());
    }

    void abandonedRunResetsTheState()
    {
        SequencerRig rig;
        ModalHelper boxes;
        rig.pinMap.inUse[8] = 1;
        rig.sequencer->startSingleChannel(8);
        rig.state.autoSequence = true;
        rig.feed(10, 2000);
        rig.keys[8]->setStyleSheet(QString());
        rig.state.countdownStep = 2;
        rig.sequencer->handleRecord(measurementRecord(8, 2000), 0);
        rig.sequencer->abandonRun(QStringLiteral("接收返回超时！"));
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("接收返回超时！")});
        QCOMPARE(rig.chart.testSeries()->count(), 0);
        QVERIFY(rig.state.tkData.isEmpty());
        QVERIFY(!rig.state.testBusy);
        QVERIFY(!rig.state.sampling);
        QVERIFY(rig.state.halted);
        // The run is over: a later single-channel test does not continue the old queue.
        QVERIFY(!rig.state.autoSequence);
        QVERIFY(!rig.state.waterproofMode);
        QCOMPARE(rig.state.nextSelectedChannel(), -1);
        QCOMPARE(rig.state.countdownStep, 0);
        QCOMPARE(rig.state.chartX, 0.0);
        QCOMPARE(rig.keys[8]->styleSheet(), kGreen);
        QVERIFY(rig.link.calls.contains(QStringLiteral("blinkOff")));
        QVERIFY(rig.link.calls.contains(QStringLiteral("countdownOff")));
        QTest::qWait(40);
        QCOMPARE(rig.link.arms, 0);
    }

    void waterproofRecordsGoToTheirHandlers()
    {
        SequencerRig rig;
        int prompts = 0;
        int handled = 0;
        rig.sequencer->setWaterproofHandlers([&] { ++prompts; }, [&] { ++handled; });
        rig.chart.installTestSeries();
        rig.state.currentChannel = 4;
        rig.state.waterproofMode = true;
        rig.state.waterPromptPending = true;
        rig.sequencer->handleRecord(measurementRecord(4, 2000), 0);
        QCOMPARE(prompts, 1);
        QVERIFY(rig.state.tkData.isEmpty()); // the prompting record is neither counted nor drawn
        QCOMPARE(rig.chart.testSeries()->count(), 0);
        rig.state.waterPromptPending = false;
        for (int i = 0; i < 200; ++i)
            rig.sequencer->handleRecord(measurementRecord(4, 2000), 0);
        QCOMPARE(handled, 200);
        QCOMPARE(rig.state.tkData.size(), 200);
        QVERIFY(!rig.sequencer->rearmPending());
        QCOMPARE(rig.link.count(QStringLiteral("countdown")), 0);
    }
};

QTEST_MAIN(TestSequencer)
#include "tst_sequencer.moc"
