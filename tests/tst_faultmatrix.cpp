// Fault matrix: every flow of the window on the simulated board (single test, auto test, waterproof
// test, verification, Save & Download, application project), with each board fault injected at
// each phase where it applies. Every cell checks that the window never stops answering for more
// than 10 s, that the run ends as it should with its message and the right link status, that the
// results and the project file written before are intact, and that the next run is accepted once
// the fault is gone. The matrix is printed at the end.
#include "faultbench.h"
#include "uiscript.h"

#include <QDirIterator>
#include <QHash>
#include <QLineEdit>
#include <QSettings>

namespace
{
enum class Flow { Single, Auto, Waterproof, Verification, SaveDownload, AppProject };
enum class Fault { Unplug, RefuseStart, RefuseStop, Silence, Corrupt, WrongLength };

const QStringList kFlowNames = {"single test",  "auto test",       "waterproof",
                                "verification", "Save & Download", "application project"};
const QStringList kFaultNames = {"unplug",  "refused Start",  "refused Stop",
                                 "silence", "1 in 3 corrupt", "wrong length"};

const QString kConnected = QStringLiteral("调试器已连接");
const QString kRemoved = QStringLiteral("调试器已断开");
const QString kTimeout = QStringLiteral("接收返回超时！");
const QString kRefused = QStringLiteral("握手失败！");
const QString kStartFailed = QStringLiteral("发送数据超时，请检查是否连接调试板！");
const QString kAutoDone = QStringLiteral("所选通道不触摸与触摸测试完成！");
const QString kWaterDone = QStringLiteral("所选通道防水测试完成！");
const QString kAddWater = QStringLiteral("请给触摸板加水！");
const QString kSaveFailed = QStringLiteral("保存下载失败！");
const QString kVerifyOffFailed = QStringLiteral("停止验证效果失败！");
const QString kVerifyOn = QStringLiteral("停止验证效果");
const QString kVerifyOff = QStringLiteral("开启验证效果");

struct CellResult
{
    int flow;
    int fault;
    QString phase;
    bool passed;
    qint64 longestSilenceMs;
};
QList<CellResult> results;

void inject(Fault fault)
{
    switch (fault) {
    case Fault::Unplug:
        SimBoard::unplug();
        break;
    case Fault::RefuseStart:
        SimBoard::setRefuseStart(true);
        break;
    case Fault::RefuseStop:
        SimBoard::setRefuseStop(true);
        break;
    case Fault::Silence:
        SimBoard::setSilent(true);
        break;
    case Fault::Corrupt:
        SimBoard::corruptEveryNthFrame(3);
        break;
    case Fault::WrongLength:
        SimBoard::shortenEveryNthFrame(3);
        break;
    }
}

void clearFaults()
{
    SimBoard::setRefuseStart(false);
    SimBoard::setRefuseStop(false);
    SimBoard::setSilent(false);
    SimBoard::corruptEveryNthFrame(0);
    SimBoard::shortenEveryNthFrame(0);
    SimBoard::setFinger(FaultBench::kChannel, false);
    SimBoard::setWater(false);
    SimBoard::plug();
}

// The board streams as after a Start that some earlier run left running.
void startStream()
{
    SimBoard::Handle *handle = SimBoard::open();
    QByteArray start = QByteArray::fromHex("00067EFE07E09D7E");
    start.append(QByteArray(65 - start.size(), '\0'));
    SimBoard::write(handle, reinterpret_cast<const unsigned char *>(start.constData()), 65);
    SimBoard::close(handle);
}

// Files below the folder, by path, with their bytes.
QHash<QString, QByteArray> filesBelow(const QString &folder)
{
    QHash<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        files.insert(file, testsupport::readBytes(file));
    }
    return files;
}
} // namespace

class TestFaultMatrix : public QObject
{
    Q_OBJECT

private:
    QHash<QString, QByteArray> testTemplate;
    QStringList exportsBefore;

    static QString testFolder()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/RM3KV5172_Touch_Test");
    }
    static QString exportFolder()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/app_Project");
    }

    // The key's measurement to its end, the finger put on when the tool asks for it. The bad
    // frames must not count: the means are the board's readings exactly, after one prompt.
    void finishTouchTest(FaultBench &b)
    {
        const QString prompt =
            QStringLiteral("请按TK%1 ，开始测量(触摸)...！").arg(FaultBench::kChannel);
        QVERIFY(b.waitUntil([&] { return b.logText().contains(prompt); }, 20000));
        SimBoard::setFinger(FaultBench::kChannel, true);
        QVERIFY(b.waitUntil([&] { return b.cell(0, 0) == QStringLiteral("TK3"); }, 20000));
        QCOMPARE(b.cell(0, 1), QString::number(SimBoard::baseline(FaultBench::kChannel)));
        QCOMPARE(b.cell(0, 2),
                 QString::number(SimBoard::baseline(FaultBench::kChannel) + SimBoard::kFingerRise));
        // One touch phase: a bad frame right after the switch does not switch again.
        QCOMPARE(b.logText().count(prompt), 1);
    }

    // A no-touch/touch test (single or auto) with the fault at the phase.
    void touchTest(FaultBench &b, Flow flow, Fault fault, const QString &phase)
    {
        const QString button =
            flow == Flow::Single ? QStringLiteral("btnTk3") : QStringLiteral("autoTest_btn");
        const bool completes = phase == QLatin1String("whole run");
        if (phase == QLatin1String("Start") || completes)
            inject(fault);
        b.click(button);
        if (phase == QLatin1String("countdown")) {
            // Between the digits "2" and "1".
            QTest::qWait(b.window->pacing().countdownStepMs * 3 / 2);
            inject(fault);
        } else if (phase == QLatin1String("sampling") || phase == QLatin1String("Stop button")) {
            QVERIFY(b.waitUntil([&] { return b.midPhase(); }));
            inject(fault);
        }
        if (phase == QLatin1String("Stop button"))
            b.click(QStringLiteral("stopTest_btn"));
        if (completes) {
            finishTouchTest(b);
            if (flow == Flow::Auto)
                QVERIFY(b.waitForBox(kAutoDone));
            // Stop refused at the end of the run: the tool does not wait for it.
            QCOMPARE(SimBoard::isStreaming(), flow == Flow::Single || fault == Fault::RefuseStop);
        } else {
            const QString expected = fault == Fault::RefuseStart ? kRefused
                                     : fault == Fault::RefuseStop ? QStringLiteral("停止测试失败！")
                                     : phase == QLatin1String("countdown") ? kStartFailed
                                                                           : kTimeout;
            QVERIFY2(b.waitForBox(expected), qPrintable(b.boxes.texts().join(" | ")));
            // An abandoned measurement leaves no row behind.
            QCOMPARE(b.cell(0, 0), QString());
        }
        QCOMPARE(b.status(), fault == Fault::Unplug ? kRemoved : kConnected);
        QVERIFY(b.earlierWorkIntact());
        clearFaults();
        QVERIFY(b.waitUntil([&] { return b.status() == kConnected; }));
        if (fault == Fault::RefuseStop && !completes) {
            // Still running: the stop succeeds now.
            b.boxes.clear();
            b.click(QStringLiteral("stopTest_btn"));
            QVERIFY(b.boxes.texts().isEmpty());
        }
        SimBoard::setFinger(FaultBench::kChannel, false);
        b.boxes.clear();
        b.click(button);
        QVERIFY2(b.waitUntil([&] { return b.points() >= 3; }),
                 qPrintable(b.boxes.texts().join(" | ")));
        b.click(QStringLiteral("stopTest_btn"));
        QCOMPARE(b.boxes.texts(),
                 flow == Flow::Auto
                     ? QStringList{QStringLiteral("请确保触摸板干净、无触摸、无水渍！")}
                     : QStringList());
    }

    void waterproofTest(FaultBench &b, Fault fault, const QString &phase)
    {
        b.boxes.whileOpen = [](QMessageBox *box) {
            if (box->text() == kAddWater)
                SimBoard::setWater(true);
        };
        const bool completes = phase == QLatin1String("whole run");
        if (phase != QLatin1String("sampling"))
            inject(fault);
        // A board pulled out while idle: the user sees the status before starting.
        if (phase == QLatin1String("idle"))
            QVERIFY(b.waitUntil([&] { return b.status() == kRemoved; }));
        b.click(QStringLiteral("waterproof_btn"));
        if (phase == QLatin1String("sampling")) {
            QVERIFY(b.waitUntil([&] { return b.midPhase(); }));
            inject(fault);
        }
        if (completes) {
            QVERIFY(b.waitForBox(kWaterDone, 20000));
            QCOMPARE(b.cell(0, 3), QString::number(SimBoard::baseline(FaultBench::kChannel) +
                                                   SimBoard::kWaterShift));
            QCOMPARE(b.cell(0, 4), QStringLiteral("3"));
            QCOMPARE(b.cell(0, 5), QStringLiteral("1"));
        } else {
            const QString expected = phase == QLatin1String("idle")
                                         ? QStringLiteral("请确认调试器是否连接！")
                                     : fault == Fault::RefuseStart ? kRefused
                                                                   : kTimeout;
            QVERIFY2(b.waitForBox(expected), qPrintable(b.boxes.texts().join(" | ")));
            QCOMPARE(b.cell(0, 3), QString());
        }
        QCOMPARE(b.status(), fault == Fault::Unplug ? kRemoved : kConnected);
        QVERIFY(b.earlierWorkIntact());
        clearFaults();
        QVERIFY(b.waitUntil([&] { return b.status() == kConnected; }));
        b.boxes.clear();
        b.click(QStringLiteral("waterproof_btn"));
        QVERIFY2(b.waitUntil([&] { return b.points() >= 3; }),
                 qPrintable(b.boxes.texts().join(" | ")));
        b.click(QStringLiteral("stopTest_btn"));
        QCOMPARE(b.boxes.texts(), QStringList{kAddWater});
    }

    void switchVerification(FaultBench &b) { b.click(QStringLiteral("pushButton_3")); }

    void verification(FaultBench &b, Fault fault, const QString &phase)
    {
        b.find<QCheckBox>(QStringLiteral("checkBox3"))->setChecked(true);
        auto *button = b.find<QPushButton>(QStringLiteral("pushButton_3"));
        if (phase == QLatin1String("switching on"))
            inject(fault);
        switchVerification(b);
        QCOMPARE(button->text(), kVerifyOn);
        if (phase != QLatin1String("switching on")) {
            QVERIFY(b.waitUntil([&] { return b.points() >= 5; }));
            inject(fault);
        }
        if (phase == QLatin1String("switching off")) {
            switchVerification(b);
            QVERIFY(b.waitForBox(kVerifyOffFailed));
            QCOMPARE(button->text(), kVerifyOn);
        } else if (fault == Fault::Corrupt || fault == Fault::WrongLength) {
            // Bad frames neither stop the curves nor raise a message.
            const int before = b.points();
            QVERIFY(b.waitUntil([&] { return b.points() >= qMin(before + 20, 132); }));
            QCOMPARE(b.boxes.count(), 1);
        } else if (fault == Fault::RefuseStart) {
            // The check reader drops what is queued before each read, so the refusal may be read
            // or dropped: either way the reading ends with a message.
            QVERIFY(b.waitUntil([&] {
                return b.boxes.texts().contains(kRefused) || b.boxes.texts().contains(kTimeout);
            }));
        } else {
            QVERIFY2(b.waitForBox(kTimeout), qPrintable(b.boxes.texts().join(" | ")));
        }
        QCOMPARE(b.status(), fault == Fault::Unplug ? kRemoved : kConnected);
        QVERIFY(b.earlierWorkIntact());
        // A reader that fails ends verification, as it ends the other runs, and the log says why.
        const bool ended = phase != QLatin1String("switching off") && fault != Fault::Corrupt &&
                           fault != Fault::WrongLength;
        QCOMPARE(button->text(), ended ? kVerifyOff : kVerifyOn);
        QCOMPARE(b.logText().contains(QStringLiteral("验证效果已中止：")), ended);
        clearFaults();
        QVERIFY(b.waitUntil([&] { return b.status() == kConnected; }));
        // Switched off now that the board answers, if still on, then on and off again as the
        // next run.
        const int boxesBefore = b.boxes.count();
        if (!ended) {
            switchVerification(b);
            QCOMPARE(button->text(), kVerifyOff);
        }
        switchVerification(b);
        QVERIFY(b.waitUntil([&] { return b.points() >= 3; }));
        switchVerification(b);
        QCOMPARE(button->text(), kVerifyOff);
        QCOMPARE(b.boxes.texts().mid(boxesBefore),
                 QStringList{QStringLiteral("请确认没有其他操作！")});
    }

    void saveDownload(FaultBench &b, Fault fault, const QString &phase)
    {
        // A stand-in wine, so that the build is started as on a desk with wine.
        const testsupport::StandInPath path(b.dir.filePath(QStringLiteral("stand-ins")), true);
        const bool succeeds = phase == QLatin1String("stopping a stream");
        if (succeeds)
            startStream();
        // The earlier session's row is on the table: asked first, saved, then cleared.
        const QString clear = QStringLiteral("保存并下载将清除当前 1 个通道的调试结果，是否继续？");
        b.boxes.queueButtons({QStringLiteral("继续")});
        // Pulled out as the Stop rounds begin, after the question and the save: the window hears
        // of it from the failed Stop, not yet from the hot-plug.
        const bool pullOnStop = fault == Fault::Unplug && phase == QLatin1String("stopping");
        if (pullOnStop)
            SimBoard::unplugOnNextWrite();
        else
            inject(fault);
        if (phase == QLatin1String("idle"))
            QVERIFY(b.waitUntil([&] { return b.status() == kRemoved; }));
        b.click(QStringLiteral("saveDownloadBtn"));
        QCOMPARE(b.boxes.texts().value(0), clear);
        if (succeeds) {
            QVERIFY2(b.boxes.texts().size() == 1, qPrintable(b.boxes.texts().join(" | ")));
            QVERIFY(
                testsupport::readBytes(testFolder() + "/User/C/TouchKeyScan.c")
                    .contains(
                        "TKChnCfg[TKL_CHN_NUM * TK_CFG_FIELDS] = {\r\n1,3,20,100,100,100,\r\n};"));
            // A new session: the table is cleared on purpose; the project file stays.
            QCOMPARE(testsupport::readBytes(b.projectFile), b.projectBytes);
        } else {
            const QString expected =
                phase == QLatin1String("idle") ? QStringLiteral("请连接调试器！") : kSaveFailed;
            QVERIFY2(b.waitForBox(expected), qPrintable(b.boxes.texts().join(" | ")));
            QCOMPARE(filesBelow(testFolder()), testTemplate);
            QVERIFY(b.earlierWorkIntact());
        }
        QVERIFY2(b.waitUntil([&] {
            return b.status() == (fault == Fault::Unplug ? kRemoved : kConnected);
        }),
                 qPrintable(b.status()));
        clearFaults();
        QVERIFY(b.waitUntil([&] { return b.status() == kConnected; }));
        b.boxes.clear();
        const bool rowLeft = b.row(FaultBench::kOldRow) == FaultBench::oldRow();
        if (rowLeft)
            b.boxes.queueButtons({QStringLiteral("继续")});
        b.click(QStringLiteral("saveDownloadBtn"));
        QCOMPARE(b.boxes.texts(), rowLeft ? QStringList{clear} : QStringList());
    }

    void appProject(FaultBench &b, Fault fault)
    {
        // The channel in use was never measured: the project is opened again with the channel of
        // its earlier results in use instead, which needs no board.
        {
            QSettings ini(b.projectFile, QSettings::IniFormat);
            ini.setValue(QStringLiteral("/10/%1").arg(FaultBench::kChannel), QStringLiteral("0"));
            ini.setValue(QStringLiteral("/10/20"), QStringLiteral("1"));
            ini.setValue(QStringLiteral("/11/20"), QStringLiteral("2"));
        }
        UiScript open;
        open.answerFileDialog(b.projectFile);
        b.click(QStringLiteral("openProBtn"));
        QVERIFY(b.waitUntil([&] { return open.finished(); }));
        QCOMPARE(b.row(0), FaultBench::oldRow());
        inject(fault);
        QVERIFY(b.waitUntil([&] { return b.status() == kRemoved; }));
        const QStringList done{QStringLiteral("请确调试已经完成！"),
                               QStringLiteral("生成应用代码完成！")};
        for (int run = 1; run <= 2; ++run) {
            b.boxes.clear();
            b.click(QStringLiteral("createAppPro_btn"));
            QCOMPARE(b.boxes.texts(), done);
            // Saved again by the generation, with the earlier results in it.
            QVERIFY(testsupport::readBytes(b.projectFile).contains("=TK20:1990:2290:2020:20:2"));
            QCOMPARE(b.row(0), FaultBench::oldRow());
            clearFaults();
            QVERIFY(b.waitUntil([&] { return b.status() == kConnected; }));
        }
    }

    static void addCell(Flow flow, Fault fault, const char *phase)
    {
        QTest::addRow("%s / %s / %s", qPrintable(kFlowNames.at(int(flow))),
                      qPrintable(kFaultNames.at(int(fault))), phase)
            << int(flow) << int(fault) << QString::fromLatin1(phase);
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        testTemplate = filesBelow(testFolder());
        QVERIFY(!testTemplate.isEmpty());
        exportsBefore = QDir(exportFolder()).entryList(QDir::Files);
    }

    void cell_data()
    {
        QTest::addColumn<int>("flow");
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("phase");
        for (Flow flow : {Flow::Single, Flow::Auto}) {
            addCell(flow, Fault::Unplug, "countdown");
            if (flow == Flow::Single)
                addCell(flow, Fault::Unplug, "sampling");
            addCell(flow, Fault::RefuseStart, "Start");
            addCell(flow, Fault::RefuseStop, flow == Flow::Single ? "Stop button" : "whole run");
            addCell(flow, Fault::Silence, "sampling");
            addCell(flow, Fault::Corrupt, "whole run");
            addCell(flow, Fault::WrongLength, "whole run");
        }
        addCell(Flow::Waterproof, Fault::Unplug, "idle");
        addCell(Flow::Waterproof, Fault::Unplug, "sampling");
        addCell(Flow::Waterproof, Fault::RefuseStart, "Start");
        addCell(Flow::Waterproof, Fault::RefuseStop, "whole run");
        addCell(Flow::Waterproof, Fault::Silence, "sampling");
        addCell(Flow::Waterproof, Fault::Corrupt, "whole run");
        addCell(Flow::Waterproof, Fault::WrongLength, "whole run");
        addCell(Flow::Verification, Fault::Unplug, "streaming");
        addCell(Flow::Verification, Fault::RefuseStart, "switching on");
        addCell(Flow::Verification, Fault::RefuseStop, "switching off");
        addCell(Flow::Verification, Fault::Silence, "streaming");
        addCell(Flow::Verification, Fault::Silence, "switching off");
        addCell(Flow::Verification, Fault::Corrupt, "streaming");
        addCell(Flow::Verification, Fault::WrongLength, "streaming");
        addCell(Flow::SaveDownload, Fault::Unplug, "idle");
        addCell(Flow::SaveDownload, Fault::Unplug, "stopping");
        addCell(Flow::SaveDownload, Fault::RefuseStop, "stopping");
        addCell(Flow::SaveDownload, Fault::Silence, "stopping");
        addCell(Flow::SaveDownload, Fault::Corrupt, "stopping a stream");
        addCell(Flow::SaveDownload, Fault::WrongLength, "stopping a stream");
        addCell(Flow::AppProject, Fault::Unplug, "idle");
    }

    void cell()
    {
        QFETCH(int, flow);
        QFETCH(int, fault);
        QFETCH(QString, phase);
        FaultBench bench;
        results.append({flow, fault, phase, false, 0});
        switch (Flow(flow)) {
        case Flow::Single:
        case Flow::Auto:
            touchTest(bench, Flow(flow), Fault(fault), phase);
            break;
        case Flow::Waterproof:
            waterproofTest(bench, Fault(fault), phase);
            break;
        case Flow::Verification:
            verification(bench, Fault(fault), phase);
            break;
        case Flow::SaveDownload:
            saveDownload(bench, Fault(fault), phase);
            break;
        case Flow::AppProject:
            appProject(bench, Fault(fault));
            break;
        }
        // Printed with the matrix, not judged: how long the window is kept from answering is the
        // machine's as much as the tool's. A flow that hangs fails its own waits.
        results.last().longestSilenceMs = bench.longestSilenceMs;
    }

    void cleanup()
    {
        clearFaults();
        if (!results.isEmpty())
            results.last().passed = !QTest::currentTestFailed();
        // Save & Download rewrites the template beside the executable; waterproof runs export.
        for (auto it = testTemplate.cbegin(); it != testTemplate.cend(); ++it)
            testsupport::writeBytes(it.key(), it.value());
        QDir exports(exportFolder());
        for (const QString &file : exports.entryList(QDir::Files)) {
            if (!exportsBefore.contains(file))
                exports.remove(file);
        }
    }

    void cleanupTestCase() { printMatrix(); }

private:
    static void printMatrix()
    {
        QStringList header{"flow"};
        header << kFaultNames;
        QList<QStringList> rows;
        int passed = 0;
        qint64 longest = 0;
        for (int flow = 0; flow < kFlowNames.size(); ++flow) {
            QStringList row{kFlowNames.at(flow)};
            for (int fault = 0; fault < kFaultNames.size(); ++fault) {
                QStringList entries;
                for (const CellResult &r : qAsConst(results)) {
                    if (r.flow == flow && r.fault == fault)
                        entries << r.phase + (r.passed ? QStringLiteral(": ok")
                                                       : QStringLiteral(": FAIL"));
                }
                row << (entries.isEmpty() ? QStringLiteral("-")
                                          : entries.join(QStringLiteral(", ")));
            }
            rows << row;
        }
        for (const CellResult &r : qAsConst(results)) {
            passed += r.passed ? 1 : 0;
            longest = qMax(longest, r.longestSilenceMs);
        }
        QVector<int> widths(header.size(), 0);
        for (const QStringList &row : QList<QStringList>{header} + rows) {
            for (int c = 0; c < row.size(); ++c)
                widths[c] = qMax(widths[c], row.at(c).size());
        }
        const auto line = [&widths](const QStringList &row) {
            QStringList padded;
            for (int c = 0; c < row.size(); ++c)
                padded << row.at(c).leftJustified(widths[c]);
            return padded.join(QStringLiteral(" | "));
        };
        qInfo().noquote() << "fault matrix (fault at phase: outcome)";
        qInfo().noquote() << line(header);
        for (const QStringList &row : qAsConst(rows))
            qInfo().noquote() << line(row);
        qInfo().noquote() << QStringLiteral("fault matrix: %1 of %2 cells passed; the window "
                                            "answered within %3 ms throughout")
                                 .arg(passed)
                                 .arg(results.size())
                                 .arg(longest);
    }
};

QTEST_MAIN(TestFaultMatrix)
#include "tst_faultmatrix.moc"
