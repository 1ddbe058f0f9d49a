// The waterproof test: start guards, the add-water prompt with the input drain, the rows and the
// CSV export, driven through the sequencer's record path against the simulated board; and one
// run in the real window.
#include "app/mainwindow.h"
#include "compat/qtcompat.h"
#include "modalhelper.h"
#include "project/packagewidget.h"
#include "sim/simboard.h"
#include "tuningrig.h"
#include "uiscript.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include <memory>

using namespace QtCharts;

using namespace testsupport;

namespace
{
const QString kAddWater = QStringLiteral("请给触摸板加水！");
const QString kDone = QStringLiteral("所选通道防水测试完成！");

// The waterproof test through the tuning session on plain widgets, linked to the simulated board
// by the real link and counted-down start. The measurement reader is not running: the test hands
// the records to the session itself.
struct Rig : TuningRig
{
    SimTuningLink board{run};

    // The CSV files go to exportFolder, or to a folder of the rig's own.
    explicit Rig(const QString &exportFolder = QString())
    {
        build(board.starter, exportFolder);
        board.link.openDebugger();
        SimBoard::clearWrittenReports();
    }
    int writtenCount(const QByteArray &report) const
    {
        return SimBoard::writtenReports().count(report);
    }
};

QString readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(file.readAll());
}
} // namespace

class TestWaterproof : public QObject
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

    void startIsRefused_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("message");
        QTest::newRow("no board") << "unplugged" << QStringLiteral("请确认调试器是否连接！");
        QTest::newRow("test busy") << "testBusy" << QStringLiteral("正在调试请勿点击！");
        QTest::newRow("waterproof run sampling")
            << "waterproofRun" << QStringLiteral("正在调试请勿点击！");
        QTest::newRow("no channel in use")
            << "noChannel" << QStringLiteral("请选择需要调试的通道！");
    }
    void startIsRefused()
    {
        QFETCH(QString, situation);
        QFETCH(QString, message);
        if (situation == "unplugged")
            SimBoard::unplug();
        Rig rig;
        if (situation != "noChannel")
            rig.use(4, 1);
        if (situation == "testBusy")
            rig.run.start(TuningRun::Kind::Single), rig.run.startCountdown();
        if (situation == "waterproofRun")
            rig.run.start(TuningRun::Kind::Waterproof), rig.run.startSampling();
        const bool wasWaterproof = rig.run.waterproofMode();
        ModalHelper boxes;
        rig.waterproof().start();
        QCOMPARE(boxes.texts(), QStringList{message});
        QVERIFY(SimBoard::writtenReports().isEmpty());
        QCOMPARE(rig.run.autoSequence(), wasWaterproof);
        QVERIFY(!rig.run.waterPromptPending());
        QCOMPARE(rig.run.waterproofMode(), wasWaterproof);
        QVERIFY(rig.log->toPlainText().isEmpty());
    }

    void runOverThreeChannelsPromptsOnceAndExportsTheLastRecords()
    {
        Rig rig;
        rig.use(2, 3);
        rig.use(7, 1);
        rig.use(12, 9);
        // TK7 was tested with and without touch before and keeps row 0.
        QCOMPARE(rig.results().assignRow(7), 0);
        QVector<int> noTouch;
        QVector<int> touch;
        for (int i = 0; i < 162; ++i) {
            noTouch << 1900 + i;
            touch << 2300 + i;
        }
        rig.session->samples().set(7, SamplePhase::NoTouch, noTouch);
        rig.session->samples().set(7, SamplePhase::Touch, touch);
        ModalHelper boxes;
        int queueWhilePrompting = -1;
        bool drainRan = false;
        boxes.whileOpen = [&](QMessageBox *box) {
            if (box->text() != kAddWater)
                return;
            QTest::qWait(100);
            queueWhilePrompting = SimBoard::queuedReports();
            drainRan = rig.board.link.isDraining();
        };

        rig.waterproof().start();
        QCOMPARE(rig.log->toPlainText(), QStringLiteral("开始TK2防水测试 ..."));
        QCOMPARE(rig.writtenCount(kStartReport), 1);
        QVERIFY(rig.run.waterproofRunning());
        QVERIFY(rig.run.waterPromptPending());
        // The board streams into its queue until the first record raises the prompt.
        QVERIFY(SimBoard::queuedReports() > 20);

        // A second run or any test start is refused while this one samples.
        rig.waterproof().start();
        rig.sequencer().startSingleChannel(7);
        rig.sequencer().startAutoTest();
        const QString busy = QStringLiteral("正在调试请勿点击！");
        QCOMPARE(
            boxes.texts(),
            (QStringList{busy, busy, QStringLiteral("请确保触摸板干净、无触摸、无水渍！"), busy}));
        QCOMPARE(rig.writtenCount(kStartReport), 1);
        QCOMPARE(rig.run.channel(), 2);
        QVERIFY(rig.run.waterproofMode());
        boxes.clear();

        rig.record(5000);
        QCOMPARE(boxes.texts(), QStringList{kAddWater});
        QVERIFY(drainRan);
        QVERIFY2(queueWhilePrompting <= 2, qPrintable(QString::number(queueWhilePrompting)));
        QVERIFY(!rig.board.link.isDraining());
        // The prompting record is neither counted nor drawn.
        QCOMPARE(rig.run.sampleCount(), 0);
        QCOMPARE(rig.chart().testSeries()->count(), 0);
        QVERIFY(!rig.run.waterPromptPending());
        QVERIFY(rig.board.blinkTimer.isActive());

        // TK7's water leaves its no-touch noise of 161 no way: asked about, and kept.
        boxes.queueButtons({QStringLiteral("保留此结果")});
        const int channels[] = {2, 7, 12};
        for (int channel : channels) {
            for (int i = 0; i < 162; ++i)
                rig.record(2000 + channel + (i == 0 ? -1 : 0), i == 5 ? 1 : 0);
            // The record with a bad CRC is not counted.
            rig.record(2000 + channel);
        }
        QCOMPARE(boxes.texts(),
                 (QStringList{kAddWater, QStringLiteral("TK7 的防水测量可疑（未检测到水的影响）。"),
                              kDone}));
        // Each channel's prompt, then its figures: no touch measured, so only the water is known.
        // The last line names the folder the samples were exported to.
        QCOMPARE(rig.logLines().filter(QStringLiteral("防水测试")),
                 (QStringList{"开始TK2防水测试 ...", "开始TK7防水测试 ...", "开始TK12防水测试 ...",
                              QStringLiteral("防水测试数据已导出：") +
                                  QDir::toNativeSeparators(rig.exportDir.path())}));
        QCOMPARE(rig.logLines().size(), 8);
        // TK7's figures join its earlier no-touch/touch samples with this run's water.
        QVERIFY2(rig.logLines().at(4).startsWith(
                     QStringLiteral("TK7：噪声 161，信号 400，信噪比 2.4:1，防水偏移 6%，不合格")),
                 qPrintable(rig.logLines().at(4)));
        QCOMPARE(rig.writtenCount(kStartReport), 3);
        QCOMPARE(SimBoard::writtenReports().mid(3), (QList<QByteArray>{kStopReport, kStopReport}));

        // Rows in order of first test; a mean that 162 does not divide is truncated.
        const QStringList expected[] = {
            {"2006", "7", "1"}, {"2001", "2", "3"}, {"2011", "12", "9"}};
        for (int row = 0; row < 3; ++row) {
            QCOMPARE((QStringList{rig.cell(row, 3), rig.cell(row, 4), rig.cell(row, 5)}),
                     expected[row]);
            QVERIFY(rig.cell(row, 0).isEmpty());
        }
        QVERIFY(!rig.run.autoSequence());
        QVERIFY(!rig.run.sampling());
        QVERIFY(!rig.run.waterproofRunning());
        // The last channel's curve: 162 samples, the bad-CRC record repeating its predecessor.
        QCOMPARE(rig.chart().testSeries()->count(), 163);

        // One file per channel of the run, each with that channel's own counts; channels without
        // a no-touch/touch test leave those columns empty.
        const QStringList files = QDir(rig.exportDir.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 3);
        const QString expectedLines[][2] = {
            {"1900,2006,2300", "2061,2007,2461"}, {",2011,", ",2012,"}, {",2001,", ",2002,"}};
        const char *prefixes[] = {"TK7_", "TK12_", "TK2_"};
        for (int n = 0; n < 3; ++n) {
            const QString file = *std::find_if(files.begin(), files.end(), [&](const QString &f) {
                return f.startsWith(QLatin1String(prefixes[n]));
            });
            const QString csv = readAll(rig.exportDir.filePath(file));
            QCOMPARE(csv.count(QStringLiteral("\r\n")), 163);
            const QStringList lines = csv.split(QStringLiteral("\r\n"));
            QCOMPARE(lines.at(0), expectedLines[n][0]);
            QCOMPARE(lines.at(161), expectedLines[n][1]);
        }
    }

    void doubtfulWaterCaptureIsAsked_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("mean");
        QTest::addColumn<int>("wetFrom");
        QTest::addColumn<QString>("doubt");
        const QString late = QStringLiteral("水在测量中途加上或擦去");
        QTest::newRow("retake") << "重新测量"
                                << "2030" << 60 << late;
        QTest::newRow("keep") << "保留此结果"
                              << "2018" << 60 << late;
        QTest::newRow("discard") << "放弃"
                                 << "1990" << 60 << late;
        // No water on the pad: asked about, and kept when the user says so (a pad may be
        // immune), or the earlier water values stay.
        QTest::newRow("dry, kept") << "保留此结果"
                                   << "2000" << 162 << QStringLiteral("未检测到水的影响");
        QTest::newRow("dry, discarded") << "放弃"
                                        << "1990" << 162 << QStringLiteral("未检测到水的影响");
    }

    // Water that comes on while a channel is sampled, or does not come at all, is asked about,
    // as a doubtful touch phase.
    void doubtfulWaterCaptureIsAsked()
    {
        QFETCH(QString, answer);
        QFETCH(QString, mean);
        QFETCH(int, wetFrom);
        QFETCH(QString, doubt);
        Rig rig;
        rig.use(3, 2);
        QCOMPARE(rig.results().assignRow(3), 0);
        rig.session->samples().set(3, SamplePhase::NoTouch, QVector<int>(162, 2000));
        rig.results().writeWaterproofResults(3, {{}, {}, QVector<int>(162, 1990)}, 2);
        ModalHelper boxes;
        boxes.queueButtons({answer});
        rig.waterproof().start();
        rig.record(2000); // raises the add-water prompt
        for (int i = 0; i < 162; ++i)
            rig.record(i < wetFrom ? 2000 : 2030); // the pad wetted late, or not at all
        const bool retake = answer == QStringLiteral("重新测量");
        for (int i = 0; retake && i < 162; ++i)
            rig.record(2030);
        QCOMPARE(boxes.texts(),
                 (QStringList{kAddWater, QStringLiteral("TK3 的防水测量可疑（%1）。").arg(doubt),
                              kDone}));
        QCOMPARE(rig.writtenCount(kStartReport), retake ? 2 : 1);
        QCOMPARE(rig.cell(0, 3), mean);
        // The CSV file holds only water samples that were kept.
        QCOMPARE(QDir(rig.exportDir.path()).entryList(QDir::Files).size(),
                 answer == QStringLiteral("放弃") ? 0 : 1);
    }

    // Raw counts that cannot be written are reported instead of the completion box.
    void failedExportIsNotCompletion()
    {
        QTemporaryDir root;
        const QString blocker = root.filePath("file");
        writeBytes(blocker, "x");
        Rig rig(blocker + "/sub");
        rig.use(6, 2);
        ModalHelper boxes;
        rig.waterproof().start();
        for (int i = 0; i <= 162; ++i)
            rig.record(2030);
        QCOMPARE(boxes.texts().size(), 2);
        QCOMPARE(boxes.texts().first(), kAddWater);
        QVERIFY2(boxes.texts().last().startsWith(QStringLiteral("文件写入失败：") + blocker +
                                                 "/sub/TK6_"),
                 qPrintable(boxes.texts().last()));
        QCOMPARE(rig.cell(0, 3), QStringLiteral("2030"));
        QVERIFY(!rig.run.autoSequence());
    }

    // A run stopped before its first record leaves no prompt behind: a later no-touch/touch test
    // takes its records as usual.
    void runStoppedBeforeItsPromptLeavesNoPrompt()
    {
        Rig rig;
        rig.use(0, 1);
        ModalHelper boxes;
        rig.waterproof().start();
        QVERIFY(rig.run.waterPromptPending());
        rig.sequencer().stop();
        QVERIFY(!rig.run.waterPromptPending());
        rig.sequencer().startSingleChannel(0);
        rig.board.countdownTimer.stop();
        rig.run.startSampling();
        rig.record(2000);
        QVERIFY(boxes.texts().isEmpty());
        QVERIFY(!rig.board.link.isDraining());
        QCOMPARE(rig.run.sampleCount(), 1);
        QVERIFY(rig.recorder().rearmPending());
    }

    void windowRunWithWaterOnThePad()
    {
        SimBoard::setDataInterval(1);
        auto window = std::make_unique<MainWindow>(testsupport::fastClock());
        window->show();
        auto *stack = window->findChild<QStackedWidget *>(QStringLiteral("packageStackedWidget"));
        auto *package = qobject_cast<PackageWidget *>(stack->currentWidget());
        QVERIFY(package);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(chooseKey(package, 3, 2));
        window->findChild<QTabWidget *>(QStringLiteral("setDebugTWidget"))->setCurrentIndex(1);
        QDir exportDir(QCoreApplication::applicationDirPath() + QStringLiteral("/app_Project"));
        const QStringList filesBefore = exportDir.entryList(QDir::Files);
        SimBoard::clearWrittenReports();
        ModalHelper boxes;
        int queueWhilePrompting = -1;
        // The water goes on while the box is open: every sample counted is a wet one.
        boxes.whileOpen = [&](QMessageBox *box) {
            if (box->text() != kAddWater)
                return;
            QTest::qWait(100);
            SimBoard::setWater(true);
            QTest::qWait(100);
            queueWhilePrompting = SimBoard::queuedReports();
        };

        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("waterproof_btn")),
                          Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.texts(), (QStringList{kAddWater, kDone}), 30000);

        QVERIFY2(queueWhilePrompting >= 0 && queueWhilePrompting <= 2,
                 qPrintable(QString::number(queueWhilePrompting)));
        auto *table = window->findChild<QTableWidget *>(QStringLiteral("tableWidget"));
        QCOMPARE(table->item(0, 3)->text(), QString::number(SimBoard::meanReading(3)));
        QCOMPARE(table->item(0, 4)->text(), QStringLiteral("3"));
        QCOMPARE(table->item(0, 5)->text(), QStringLiteral("2"));
        QCOMPARE(SimBoard::writtenReports(),
                 (QList<QByteArray>{kStartReport, kStopReport, kStopReport}));
        const auto series =
            window->findChild<QChartView *>(QStringLiteral("chartView"))->chart()->series();
        QCOMPARE(series.size(), 1);
        auto *curve = qobject_cast<QLineSeries *>(series.first());
        QCOMPARE(curve->count(), 162);
        QVERIFY(qAbs(curve->at(161).x() - 5.796) < 1e-9);
        for (const QPointF &point : qtcompat::seriesPoints(*curve))
            QCOMPARE(point.y(), qreal(SimBoard::meanReading(3)));

        QStringList created = exportDir.entryList(QDir::Files);
        for (const QString &old : filesBefore)
            created.removeAll(old);
        QCOMPARE(created.size(), 1);
        QVERIFY(created.first().startsWith(QStringLiteral("TK3_")));
        QVERIFY(created.first().endsWith(QStringLiteral("-data.csv")));
        const QString csv = readAll(exportDir.filePath(created.first()));
        QVERIFY(exportDir.remove(created.first()));
        QCOMPARE(csv.split(QStringLiteral("\r\n")).at(0),
                 QStringLiteral(",%1,").arg(SimBoard::meanReading(3)));

        SimBoard::unplug();
        window.reset();
    }
};

QTEST_MAIN(TestWaterproof)
#include "tst_waterproof.moc"
