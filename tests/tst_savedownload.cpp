#include "codegen/savedownload.h"
#include "link/debuggerlink.h"
#include "modalhelper.h"
#include "project/pinmapsource.h"
#include "quality/channelsamples.h"
#include "sim/simboard.h"
#include "testsupport.h"
#include "tuning/resultstable.h"
#include "tuning/tuningrun.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

using namespace testsupport;

namespace
{

const QString kHeader = QStringLiteral("/User/H/TouchKeyScan.h");
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
    QString recorder;
    QByteArray script;
    QByteArray header;
    QByteArray source;

    const Pacing pacing = fastClock();
    std::unique_ptr<DebuggerLink> link;
    TuningRun run;
    SampleStore samples;
    QPlainTextEdit log;
    QTableWidget table{32, 6};
    ResultsTable results{&table, channelNames()};
    FakePinMap pins;
    std::unique_ptr<SaveDownload> saveDownload;

    bool templateUntouched() const
    {
        return readBytes(testFolder + kHeader) == header &&
               readBytes(testFolder + kSource) == source;
    }

    static QStringList channelNames()
    {
        QStringList names;
        for (int n = 0; n < 25; ++n)
            names << QStringLiteral("TK%1").arg(n);
        return names;
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
        path = std::make_unique<StandInPath>(dir->filePath("bin"), true);
        // The shipped test template in a folder with blanks; its script is an executable stand-in
        // whose first line hands it to a recorder that keeps a copy of the script as it ran.
        appDir = dir->filePath("tuner app");
        testFolder = appDir + "/RM3KV5172_Touch_Test";
        const QString shipped = QFINDTESTDATA("../templates/RM3KV5172_Touch_Test");
        QVERIFY(!shipped.isEmpty());
        QDirIterator it(shipped, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            writeBytes(testFolder + "/" + QDir(shipped).relativeFilePath(file), readBytes(file));
        }
        recorder = dir->filePath("recorder.sh");
        writeBytes(recorder, "#!/bin/sh\ncp \"$2\" \"$(dirname \"$2\")/ran.txt\"\n");
        QVERIFY(QFile::setPermissions(recorder,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        script = "#!" + recorder.toLocal8Bit() + " x\r\n" + readBytes(shipped + "/config.bat");
        writeBytes(testFolder + "/config.bat", script);
        QVERIFY(QFile::setPermissions(testFolder + "/config.bat",
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
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
        saveDownload = std::make_unique<SaveDownload>(nullptr, run, *link, pacing, &log, results,
                                                      samples, pins, appDir);
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
        saveDownload->run();
        QVERIFY(boxes.texts().isEmpty());
        QCOMPARE(SimBoard::writtenReports(),
                 (QList<QByteArray>{kStopReport, kStopReport, kStopReport}));

        QCOMPARE(readBytes(testFolder + kHeader),
                 QByteArray(header).replace("TKL_CHN_NUM      (4)", "TKL_CHN_NUM      (2)"));
        QByteArray table0 = source;
        table0.replace("1,0,20,100,100,100,\r\n2,1,20,100,100,100,\r\n3,2,20,100,100,100,\r\n"
                       "4,3,20,100,100,100,\r\n",
                       "1,3,20,100,100,100,\r\n2,7,20,100,100,100,\r\n");
        QCOMPARE(readBytes(testFolder + kSource), table0 + "\r\n");

        // Run through wine, the script names the project on wine's Z: drive.
        const QByteArray project =
            "Z:" + QString(testFolder).replace('/', '\\').toLocal8Bit() + "/RM3KV5172.uvproj";
        QByteArray rewritten = script;
        // Quoted, so that the folder with a blank stays one argument for cmd.
        rewritten.replace("set UV_PRO_PATH=.\\RM3KV5172.uvproj",
                          "set \"UV_PRO_PATH=" + project + "\"");
        rewritten.replace("start /b %UV% -j0 -r%UV_PRO_PATH%",
                          "start \"\" /b \"%UV%\" -j0 -r \"%UV_PRO_PATH%\"");
        rewritten.replace("start /b C:\\Keil_v5\\UV4\\UV4.exe .\\RM3KV5172.uvproj",
                          "start \"\" /b \"C:\\Keil_v5\\UV4\\UV4.exe\" \"" + project + "\"");
        QCOMPARE(readBytes(testFolder + "/ran.txt"), rewritten);
        QCOMPARE(path->wineArguments(),
                 (QStringList{"cmd", "/c",
                              "Z:" + QString(testFolder).replace('/', '\\') + "\\config.bat"}));

        QCOMPARE(results.rowOf(3), -1);
        QCOMPARE(results.rowOf(7), -1);
        QVERIFY(samples.at(3).isEmpty());
        QVERIFY(log.toPlainText().isEmpty());
        QVERIFY(!table.item(0, 0) && !table.item(0, 5));
        QCOMPARE(table.rowCount(), 32);
        QVERIFY(!saveDownload->isBusy());

        // Usable again: the second click runs the whole sequence once more.
        QVERIFY(QFile::remove(testFolder + "/ran.txt"));
        SimBoard::clearWrittenReports();
        saveDownload->run();
        QVERIFY(boxes.texts().isEmpty());
        QCOMPARE(SimBoard::writtenReports().size(), 3);
        QCOMPARE(readBytes(testFolder + "/ran.txt"), rewritten);
        QCOMPARE(readBytes(testFolder + kSource), table0 + "\r\n\r\n");
    }

    // Told first, before the board or a file is touched; then everything but the build happens.
    void withoutWineSaysSoFirstAndOnlyRewrites()
    {
        path = std::make_unique<StandInPath>(dir->filePath("bare"), false);
        dirtyTuningState();
        ModalHelper boxes;
        int reportsAtTheBox = -1;
        bool untouchedAtTheBox = false;
        boxes.whileOpen = [&](QMessageBox *) {
            reportsAtTheBox = SimBoard::writtenReports().size();
            untouchedAtTheBox = templateUntouched() &&
                                readBytes(testFolder + "/config.bat") == script &&
                                results.rowOf(3) == 0;
        };
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
        QVERIFY(readBytes(testFolder + "/config.bat")
                    .contains("set \"UV_PRO_PATH=" + testFolder.toLocal8Bit() +
                              "/RM3KV5172.uvproj\"\r\n"));
        QVERIFY(!QFile::exists(testFolder + "/ran.txt"));
        QVERIFY(saveDownload->findChildren<QProcess *>().isEmpty());
        QCOMPARE(results.rowOf(3), -1);
        QVERIFY(!saveDownload->isBusy());
    }

    void withoutDebuggerWaitsThenAsksForOne()
    {
        SimBoard::unplug();
        link->handleDeviceChange(SimBoard::interfaceName(), 2);
        dirtyTuningState();
        link->armReader();
        ModalHelper boxes;
        QElapsedTimer clock;
        clock.start();
        saveDownload->run();
        QVERIFY(clock.elapsed() >= pacing.saveDownloadSettleMs);
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("请连接调试器！")});
        QCOMPARE(boxes.titles(), QStringList{QStringLiteral("提示")});
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
        saveDownload->run();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("保存下载失败！")});
        QCOMPARE(SimBoard::writtenReports(),
                 (QList<QByteArray>{kStopReport, kStopReport, kStopReport}));
        QVERIFY(templateUntouched());
        QVERIFY(!QFile::exists(testFolder + "/ran.txt"));
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
        QVERIFY(QFile::exists(testFolder + "/ran.txt"));
    }

    // A rewrite that fails leaves the results as they were: nothing measured is lost for
    // firmware that was never built.
    void failedRewriteKeepsTheResults()
    {
        writeBytes(testFolder + kHeader, QByteArray());
        dirtyTuningState();
        ModalHelper boxes;
        saveDownload->run();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("写头文件失败！")});
        QCOMPARE(readBytes(testFolder + kSource), source);
        QVERIFY(!QFile::exists(testFolder + "/ran.txt"));
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
        saveDownload->run();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("写配置文件失败！")});
        QVERIFY(readBytes(testFolder + kHeader).contains("TKL_CHN_NUM      (2)"));
        QCOMPARE(results.rowOf(7), 1);
        QVERIFY(!saveDownload->isBusy());
    }
};

QTEST_MAIN(TestSaveDownload)
#include "tst_savedownload.moc"
