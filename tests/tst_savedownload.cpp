#include "codegen/savedownload.h"
#include "link/debuggerlink.h"
#include "modalhelper.h"
#include "project/pinmapsource.h"
#include "quality/channelsamples.h"
#include "sim/simboard.h"
#include "testsupport.h"
#include "tuning/resultstable.h"
#include "tuning/tuningrun.h"
#include "tuningrig.h"

#include <QDirIterator>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <array>

using namespace testsupport;

namespace
{

const QString kHeader = QStringLiteral("/User/H/TouchKeyScan.h");
const QString kClear = QStringLiteral("保存并下载将清除当前 1 个通道的调试结果，是否继续？");
const QString kSource = QStringLiteral("/User/C/TouchKeyScan.c");
} // namespace

class TestSaveDownload : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    // Wine stands in on the PATH unless a test takes it away.
    std::unique_ptr<StandInPath> path;
    QString appDir;
    QString testFolder;
    QByteArray script;
    QByteArray header;
    QByteArray source;

    const Pacing pacing = fastClock();
    std::unique_ptr<DebuggerLink> link;
    // The tuning session whose results Save & Download keeps or clears, on plain widgets.
    struct SessionRig : TuningRig
    {
        FakeTuningLink tuningLink{run};
        SessionRig() { build(tuningLink); }
    } rig;
    TuningRun &run = rig.run;
    SampleStore &samples = rig.session->samples();
    QPlainTextEdit &log = *rig.log;
    QTableWidget &table = *rig.table;
    ResultsTable &results = rig.results();
    FakePinMap &pins = rig.pinMap;
    std::unique_ptr<SaveDownload> saveDownload;

    bool templateUntouched() const
    {
        return readBytes(testFolder + kHeader) == header &&
               readBytes(testFolder + kSource) == source;
    }

    // A path as the script holds it on the Chinese system of the tests.
    static QByteArray inScript(const QString &path)
    {
        return QTextCodec::codecForName("GBK")->fromUnicode(QString(path).replace("%", "%%"));
    }

    void dirtyTuningState()
    {
        QCOMPARE(results.assignRow(3), 0);
        QCOMPARE(results.assignRow(7), 1);
        samples.set(3, SamplePhase::Water, QVector<int>(162, 2000));
        log.setPlainText("请勿触摸TK3，开始测量（不触摸） ...");
        table.setItem(0, 0, new QTableWidgetItem("TK3"));
        table.setItem(0, 5, new QTableWidgetItem("1"));
    }

private slots:
    void init()
    {
        SimBoard::reset();
        path.reset();
        dir = std::make_unique<QTemporaryDir>();
        // Wine stands in, on a Chinese system; the shipped test template lies in a folder whose
        // name cmd would cut at '&' or a blank, expand at '%', or read garbled.
        path = std::make_unique<StandInPath>(dir->filePath("bin"), true);
        path->setLocale("zh_CN.UTF-8", "GBK");
        appDir = dir->filePath(QStringLiteral("R&D 50%off 触摸工程"));
        testFolder = appDir + "/RM3KV5172_Touch_Test";
        const QString shipped =
            testsupport::shippedTemplate(QStringLiteral("RM3KV5172_Touch_Test"));
        QVERIFY(!shipped.isEmpty());
        QDirIterator it(shipped, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            writeBytes(testFolder + "/" + QDir(shipped).relativeFilePath(file), readBytes(file));
        }
        script = readBytes(testFolder + "/config.bat");
        header = readBytes(testFolder + kHeader);
        source = readBytes(testFolder + kSource);

        link = std::make_unique<DebuggerLink>(pacing);
        QCOMPARE(link->openDebugger(), 0);
        run.finish();
        samples.clear();
        log.clear();
        results.clearResults();
        pins = FakePinMap();
        pins.inUse[3] = pins.inUse[7] = 1;
        pins.keys[3] = 1;
        pins.keys[7] = 2;
        saveDownload = std::make_unique<SaveDownload>(nullptr, *rig.session, *link, pacing, &log,
                                                      pins, appDir);
        SimBoard::clearWrittenReports();
    }

    void cleanup()
    {
        saveDownload.reset();
        link.reset();
        path.reset();
    }

    void stopsBoardRewritesTemplateAndStartsScriptEveryTime()
    {
        dirtyTuningState();
        ModalHelper boxes;
        // The results are saved when the user goes on, before the board or a file is touched.
        QStringList atTheSave;
        saveDownload->saveProject = [&] {
            atTheSave << QString::number(SimBoard::writtenReports().size())
                      << QString::number(results.rowOf(3));
            return true;
        };
        boxes.queueButtons({QStringLiteral("继续")});
        saveDownload->run();
        QCOMPARE(boxes.texts(), QStringList{kClear});
        QCOMPARE(atTheSave, (QStringList{"0", "0"}));
        QCOMPARE(SimBoard::writtenReports(),
                 (QList<QByteArray>{kStopReport, kStopReport, kStopReport}));

        QCOMPARE(readBytes(testFolder + kHeader),
                 QByteArray(header).replace("TKL_CHN_NUM      (4)", "TKL_CHN_NUM      (2)"));
        QByteArray table0 = source;
        table0.replace("1,0,20,100,100,100,\r\n2,1,20,100,100,100,\r\n3,2,20,100,100,100,\r\n"
                       "4,3,20,100,100,100,\r\n",
                       "1,3,20,100,100,100,\r\n2,7,20,100,100,100,\r\n");
        QCOMPARE(readBytes(testFolder + kSource), table0 + "\r\n");

        // Run through wine, the script names the project on wine's Z: drive, in the code page
        // cmd reads it in, '%' doubled; cmd took the script whole and read the project right.
        const QString windowsFolder = "Z:" + QString(testFolder).replace('/', '\\');
        const QByteArray project = inScript(windowsFolder) + "/RM3KV5172.uvproj";
        QByteArray rewritten = script;
        // Quoted, so that the folder with a blank stays one argument for cmd.
        rewritten.replace("set UV_PRO_PATH=.\\RM3KV5172.uvproj",
                          "set \"UV_PRO_PATH=" + project + "\"");
        rewritten.replace("start /b %UV% -j0 -r%UV_PRO_PATH%",
                          "start \"\" /b \"%UV%\" -j0 -r \"%UV_PRO_PATH%\"");
        rewritten.replace("echo Building %UV_PRO_PATH%", "echo Building \"%UV_PRO_PATH%\"");
        rewritten.replace("start /b C:\\Keil_v5\\UV4\\UV4.exe .\\RM3KV5172.uvproj",
                          "start \"\" /b \"C:\\Keil_v5\\UV4\\UV4.exe\" \"" + project + "\"");
        QCOMPARE(readBytes(testFolder + "/config.bat"), rewritten);
        const QStringList ran{windowsFolder + "\\config.bat", windowsFolder + "/RM3KV5172.uvproj"};
        QCOMPARE(path->wineRan(), ran);

        QCOMPARE(results.rowOf(3), -1);
        QCOMPARE(results.rowOf(7), -1);
        QVERIFY(samples.at(3).isEmpty());
        QCOMPARE(log.toPlainText(), QStringLiteral("已运行编译脚本 config.bat，目录：") +
                                        QDir::toNativeSeparators(testFolder));
        QVERIFY(!table.item(0, 0) && !table.item(0, 5));
        QCOMPARE(table.rowCount(), 32);
        QVERIFY(!saveDownload->isBusy());

        // Usable again: the second click, with nothing to clear, runs the whole sequence once
        // more without a question.
        path->setWine(true);
        SimBoard::clearWrittenReports();
        boxes.clear();
        saveDownload->run();
        QVERIFY(boxes.texts().isEmpty());
        QCOMPARE(atTheSave.size(), 2);
        QCOMPARE(SimBoard::writtenReports().size(), 3);
        QCOMPARE(path->wineRan(), ran);
        QCOMPARE(readBytes(testFolder + "/config.bat"), rewritten);
        QCOMPARE(readBytes(testFolder + kSource), table0 + "\r\n\r\n");
    }

    // Told first, before anything is asked or touched; then everything but the build happens,
    // and the results measured on the firmware the board still runs stay.
    void withoutWineSaysSoFirstAndOnlyRewrites()
    {
        path->setWine(false);
        dirtyTuningState();
        ModalHelper boxes;
        int reportsAtTheBox = -1;
        bool untouchedAtTheBox = false;
        boxes.whileOpen = [&](QMessageBox *) {
            reportsAtTheBox = SimBoard::writtenReports().size();
            untouchedAtTheBox =
                templateUntouched() && readBytes(testFolder + "/config.bat") == script;
        };
        int saves = 0;
        saveDownload->saveProject = [&] { return ++saves > 0; };
        saveDownload->run();
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.titles(), QStringList{QStringLiteral("提示")});
        QVERIFY(boxes.lastText().contains(QStringLiteral("wine")));
        QVERIFY(boxes.lastText().contains(QStringLiteral("Keil")));
        QVERIFY(boxes.lastText().contains(QDir::toNativeSeparators(testFolder)));
        QCOMPARE(reportsAtTheBox, 0);
        QVERIFY(untouchedAtTheBox);

        QCOMPARE(SimBoard::writtenReports(),
                 (QList<QByteArray>{kStopReport, kStopReport, kStopReport}));
        QVERIFY(readBytes(testFolder + kHeader).contains("TKL_CHN_NUM      (2)"));
        QVERIFY(readBytes(testFolder + kSource) != source);
        // Rewritten for this folder as it is named here, for a build elsewhere; not started.
        QVERIFY(
            readBytes(testFolder + "/config.bat")
                .contains("set \"UV_PRO_PATH=" + inScript(testFolder) + "/RM3KV5172.uvproj\"\r\n"));
        QVERIFY(path->wineRan().isEmpty());
        QVERIFY(saveDownload->findChildren<QProcess *>().isEmpty());
        QCOMPARE(saves, 0);
        QCOMPARE(results.rowOf(3), 0);
        QVERIFY(samples.at(3).has(SamplePhase::Water));
        QCOMPARE(log.toPlainText().split('\n'),
                 (QStringList{QStringLiteral("请勿触摸TK3，开始测量（不触摸） ..."),
                              QStringLiteral("测试工程已改写，未编译和下载，调试结果保留：") +
                                  QDir::toNativeSeparators(testFolder)}));
        QVERIFY(!saveDownload->isBusy());
    }

    // The build fails (its project is gone): said with the exit code and the first error line,
    // the command in the log. The board keeps the firmware the results were measured on, so they
    // stay; the dated copy made before the build is named.
    void failingBuildIsShownAndLogged()
    {
        QVERIFY(QFile::remove(testFolder + "/RM3KV5172.uvproj"));
        dirtyTuningState();
        saveDownload->keepSnapshot = [] { return QStringLiteral("demo_2024-05-06-07-08-09.ini"); };
        ModalHelper boxes;
        boxes.queueButtons({QStringLiteral("继续")});
        saveDownload->run();
        QCOMPARE(boxes.count(), 2);
        QVERIFY(boxes.lastText().startsWith(QStringLiteral("编译脚本运行失败（退出码 1）\n\n")));
        QVERIFY(
            boxes.lastText().contains(QStringLiteral("Build failed: cannot read project file")));
        QCOMPARE(log.toPlainText().split('\n').mid(1),
                 (QStringList{QStringLiteral("调试结果已另存为 demo_2024-05-06-07-08-09.ini"),
                              QStringLiteral("编译脚本运行失败（退出码 1）：wine cmd /c "
                                             ".\\config.bat，目录：") +
                                  QDir::toNativeSeparators(testFolder)}));
        QCOMPARE(results.rowOf(3), 0);
        QVERIFY(samples.at(3).has(SamplePhase::Water));
        QVERIFY(!saveDownload->isBusy());
    }

    // On a system whose code page lacks the folder's Chinese characters cmd would read the
    // script garbled: said before the board or a file is touched, and nothing more is done.
    void folderTheScriptCannotHoldStopsBeforeTheBoard()
    {
        path->setLocale("en_US.UTF-8", "IBM437");
        dirtyTuningState();
        ModalHelper boxes;
        saveDownload->run();
        QCOMPARE(boxes.count(), 1);
        QVERIFY(boxes.lastText().contains(QStringLiteral("触")));
        QVERIFY(SimBoard::writtenReports().isEmpty());
        QVERIFY(templateUntouched());
        QCOMPARE(readBytes(testFolder + "/config.bat"), script);
        QVERIFY(path->wineRan().isEmpty());
        QCOMPARE(results.rowOf(7), 1);
        QVERIFY(!saveDownload->isBusy());
    }

    void withoutDebuggerWaitsThenAsksForOne()
    {
        SimBoard::unplug();
        link->handleDeviceChange(SimBoard::interfaceName(), 2);
        dirtyTuningState();
        link->armReader();
        ModalHelper boxes;
        boxes.queueButtons({QStringLiteral("继续")});
        saveDownload->run();
        QCOMPARE(boxes.texts(), (QStringList{kClear, QStringLiteral("请连接调试器！")}));
        QVERIFY(!link->isReaderArmed());
        QVERIFY(SimBoard::writtenReports().isEmpty());
        QVERIFY(templateUntouched());
        QCOMPARE(results.rowOf(3), 0);
        QVERIFY(!log.toPlainText().isEmpty());
        QVERIFY(!saveDownload->isBusy());
    }

    void refusedStopFailsAndKeepsEverything()
    {
        SimBoard::setRefuseStop(true);
        dirtyTuningState();
        ModalHelper boxes;
        boxes.queueButtons({QStringLiteral("继续")});
        saveDownload->run();
        QCOMPARE(boxes.texts(), (QStringList{kClear, QStringLiteral("保存下载失败！")}));
        QCOMPARE(SimBoard::writtenReports(),
                 (QList<QByteArray>{kStopReport, kStopReport, kStopReport}));
        QVERIFY(templateUntouched());
        QVERIFY(path->wineRan().isEmpty());
        QCOMPARE(results.rowOf(7), 1);
        QVERIFY(table.item(0, 5));
        QVERIFY(!saveDownload->isBusy());
    }

    // A countdown, a measurement, a waterproof run or verification is never cut off: refused
    // before anything is sent to the board.
    void refusedWhileARunHoldsTheBoard_data()
    {
        QTest::addColumn<bool>("waterproof");
        QTest::newRow("test or verification") << false;
        QTest::newRow("waterproof run sampling") << true;
    }
    void refusedWhileARunHoldsTheBoard()
    {
        QFETCH(bool, waterproof);
        dirtyTuningState();
        run.start(waterproof ? TuningRun::Kind::Waterproof : TuningRun::Kind::Auto, {4, 5});
        if (waterproof)
            run.startSampling();
        else
            run.startCountdown();
        link->armReader();
        ModalHelper boxes;
        saveDownload->run();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("正在调试请勿点击！")});
        QVERIFY(SimBoard::writtenReports().isEmpty());
        QVERIFY(link->isReaderArmed());
        QVERIFY(templateUntouched());
        QCOMPARE(results.rowOf(7), 1);
        QVERIFY(!saveDownload->isBusy());
        link->disarmReader();
    }

    // Refused before the board is stopped or a file is written.
    void keyNumberZeroOrSharedIsRefused()
    {
        dirtyTuningState();
        pins.use(4, 0);
        pins.use(2, 3);
        pins.use(6, 3);
        pins.use(0, 33); // beyond the firmware's 32 key bits
        ModalHelper boxes;
        saveDownload->run();
        QCOMPARE(boxes.texts(),
                 QStringList{QStringLiteral("以下通道没有按键号：TK4\n"
                                            "以下通道的按键号超出 1～32：TK0（按键 33）\n"
                                            "以下通道的按键号重复：TK2、TK6（按键 3）")});
        QVERIFY(SimBoard::writtenReports().isEmpty());
        QVERIFY(templateUntouched());
        QCOMPARE(results.rowOf(7), 1);
    }

    // Cancelled, or a save that fails: nothing is sent, written or cleared.
    void resultsAreKeptUnlessSavedAndGoneOn_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("cancel") << "取消";
        QTest::newRow("save fails") << "继续";
    }
    void resultsAreKeptUnlessSavedAndGoneOn()
    {
        QFETCH(QString, answer);
        dirtyTuningState();
        int saves = 0;
        saveDownload->saveProject = [&] { return ++saves < 0; };
        ModalHelper boxes;
        boxes.queueButtons({answer});
        saveDownload->run();
        QCOMPARE(boxes.texts(), QStringList{kClear});
        QCOMPARE(saves, answer == QStringLiteral("继续") ? 1 : 0);
        QVERIFY(SimBoard::writtenReports().isEmpty());
        QVERIFY(templateUntouched());
        QCOMPARE(results.rowOf(3), 0);
        QVERIFY(!log.toPlainText().isEmpty());
    }

    void secondClickWhileBusyIsRefused()
    {
        run.start(TuningRun::Kind::Auto, {4, 5});
        ModalHelper boxes;
        QStringList nested;
        boxes.answer(QStringLiteral("请确认是否已经停止测试！"), QMessageBox::Cancel);
        boxes.whileOpen = [&](QMessageBox *) {
            ModalHelper inner;
            saveDownload->run();
            nested = inner.texts();
        };
        saveDownload->run();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("请确认是否已经停止测试！")});
        QCOMPARE(nested, QStringList{QStringLiteral("请稍等正在打开工程！")});
        QVERIFY(SimBoard::writtenReports().isEmpty());
        QVERIFY(templateUntouched());
        QVERIFY(!saveDownload->isBusy());
    }

    void confirmedStopOfRunningTestGoesOn()
    {
        // An auto test whose start failed: its queue is still there.
        run.start(TuningRun::Kind::Auto, {4});
        ModalHelper boxes;
        saveDownload->run();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("请确认是否已经停止测试！")});
        QCOMPARE(SimBoard::writtenReports().size(), 3);
        QCOMPARE(path->wineRan().size(), 2);
    }

    // A rewrite that fails leaves the results as they were: nothing measured is lost for
    // firmware that was never built.
    void failedRewriteKeepsTheResults()
    {
        writeBytes(testFolder + kHeader, QByteArray());
        dirtyTuningState();
        ModalHelper boxes;
        boxes.queueButtons({QStringLiteral("继续")});
        saveDownload->run();
        QCOMPARE(boxes.texts(), (QStringList{kClear, QStringLiteral("写头文件失败！")}));
        QCOMPARE(readBytes(testFolder + kSource), source);
        QVERIFY(path->wineRan().isEmpty());
        QCOMPARE(results.rowOf(3), 0);
        QCOMPARE(results.rowOf(7), 1);
        QVERIFY(table.item(0, 5));
        QVERIFY(samples.at(3).has(SamplePhase::Water));
        QVERIFY(!log.toPlainText().isEmpty());
        QVERIFY(!saveDownload->isBusy());
    }

    void missingScriptReportedAfterTheSources()
    {
        QVERIFY(QFile::remove(testFolder + "/config.bat"));
        dirtyTuningState();
        ModalHelper boxes;
        boxes.queueButtons({QStringLiteral("继续")});
        saveDownload->run();
        QCOMPARE(boxes.texts(), (QStringList{kClear, QStringLiteral("写配置文件失败！")}));
        QVERIFY(readBytes(testFolder + kHeader).contains("TKL_CHN_NUM      (2)"));
        QCOMPARE(results.rowOf(7), 1);
        QVERIFY(!saveDownload->isBusy());
    }
};

QTEST_MAIN(TestSaveDownload)
#include "tst_savedownload.moc"
