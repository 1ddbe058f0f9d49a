// Firmware generation from the window on the simulated board: a touch test and a waterproof test
// fill the results table, "生成应用代码" writes the application project from it, and "保存并下载"
// rewrites the test template beside the executable and starts its script, again and again.
#include "app/mainwindow.h"
#include "compat/qtcompat.h"
#include "modalhelper.h"
#include "project/packagewidget.h"
#include "quality/keyquality.h"
#include "settingswidgets.h"
#include "sim/simboard.h"
#include "testsupport.h"
#include "uiscript.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtTest>

using testsupport::kStartReport;
using testsupport::kStopReport;

namespace
{
QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QString cell(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}
} // namespace

class TestCodegenWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString testFolder;
    QHash<QString, QByteArray> savedTemplate;

    void keepTestTemplate()
    {
        testFolder = QCoreApplication::applicationDirPath() + "/RM3KV5172_Touch_Test";
        QDirIterator it(testFolder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            savedTemplate.insert(file, readBytes(file));
        }
        QVERIFY(savedTemplate.contains(testFolder + "/config.bat"));
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        keepTestTemplate();
    }

    // The template beside the executable is put back as the build left it.
    void cleanupTestCase()
    {
        for (auto it = savedTemplate.cbegin(); it != savedTemplate.cend(); ++it)
            writeBytes(it.key(), it.value());
    }

    void measuredProjectThenSaveAndDownloadTwice()
    {
        SimBoard::reset();
        SimBoard::setNoise(0);
        MainWindow window(testsupport::fastClock());
        window.show();
        auto *package = window.findChild<PackageWidget *>("Mwidget28");
        QVERIFY(package);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(chooseKey(package, 3, 1));
        auto *tabs = windowWidget<QTabWidget>(window, "setDebugTWidget");
        auto *table = windowWidget<QTableWidget>(window, "tableWidget");
        auto *log = windowWidget<QPlainTextEdit>(window, "plainTextEdit");
        auto *createApp = windowWidget<QPushButton>(window, "createAppPro_btn");
        QVERIFY(tabs && table && log && createApp);
        tabs->setCurrentIndex(1);
        QVERIFY(createApp->isEnabled());

        // Touch test of TK3, the finger put on the key when the tool asks for it.
        ModalHelper boxes;
        QTimer finger;
        connect(&finger, &QTimer::timeout, [&] {
            SimBoard::setFinger(3, log->toPlainText().contains(QStringLiteral("请按TK3")));
        });
        finger.start(20);
        windowWidget<QPushButton>(window, "autoTest_btn")->click();
        QTRY_VERIFY_WITH_TIMEOUT(
            boxes.texts().contains(QStringLiteral("所选通道不触摸与触摸测试完成！")), 60000);
        finger.stop();
        SimBoard::setFinger(3, false);

        // Waterproof test, water poured when the tool asks for it.
        boxes.whileOpen = [](QMessageBox *box) {
            if (box->text() == QStringLiteral("请给触摸板加水！"))
                SimBoard::setWater(true);
        };
        windowWidget<QPushButton>(window, "waterproof_btn")->click();
        QTRY_VERIFY_WITH_TIMEOUT(table->item(0, 5), 60000);
        QTRY_VERIFY_WITH_TIMEOUT(!SimBoard::isStreaming(), 10000);
        QCOMPARE(cell(table, 0, 4), QStringLiteral("3"));
        QCOMPARE(cell(table, 0, 1), QString::number(SimBoard::baseline(3)));

        // The key judged from the board model: a steady count (noise 1), the finger's rise as
        // signal, the water's shift as a share of it.
        const QString figures =
            QStringLiteral("TK3：噪声 1，信号 %1，信噪比 %1.0:1，防水偏移 %2%，")
                .arg(SimBoard::kFingerRise)
                .arg(100 * SimBoard::kWaterShift / SimBoard::kFingerRise);
        // Then the folder the water test's samples were exported to.
        QVERIFY2(log->toPlainText().endsWith(
                     figures + QStringLiteral("合格\n防水测试数据已导出：") +
                     QDir::toNativeSeparators(QCoreApplication::applicationDirPath() +
                                              QStringLiteral("/app_Project"))),
                 qPrintable(log->toPlainText()));
        QCOMPARE(table->item(0, 0)->background().color(),
                 KeyQuality::verdictColour(KeyVerdict::Pass));
        for (int column = 0; column < 6; ++column)
            QVERIFY(table->item(0, column)->toolTip().contains(QStringLiteral("信噪比")));

        // With no run going, a click on the row draws its three measured curves and the press and
        // release thresholds of the defaults (half the swing, a tenth below it).
        auto *view = windowWidget<QtCharts::QChartView>(window, "chartView");
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualItemRect(table->item(0, 1)).center());
        const auto seriesNames = [view] {
            QStringList names;
            for (const QtCharts::QAbstractSeries *series : view->chart()->series())
                names << series->name();
            return names;
        };
        const int base = SimBoard::baseline(3);
        QCOMPARE(seriesNames(), (QStringList{"不触摸", "触摸", "防水",
                                             QStringLiteral("按下阈值 %1").arg(base + 150),
                                             QStringLiteral("释放阈值 %1").arg(base + 120)}));
        QVERIFY(view->chart()->legend()->isVisible());
        QCOMPARE(qobject_cast<QtCharts::QLineSeries *>(view->chart()->series().at(1))->at(0).y(),
                 qreal(SimBoard::baseline(3) + SimBoard::kFingerRise));

        // The suggestion for TK3 (the row's key, chosen in the panel): the press threshold in the
        // middle of the water's 30 and the touch's 300, the release halfway down to the water.
        boxes.clear();
        boxes.queueButtons({QStringLiteral("应用到 TK3")});
        windowWidget<QPushButton>(window, "suggestSettingsBtn")->click();
        QCOMPARE(boxes.texts(),
                 QStringList{"TK3：按下位置 55%，迟滞 22%（按下阈值 " +
                             QString::number(base + 165) + "，释放阈值 " +
                             QString::number(base + 99) +
                             "；余量：触摸 135（45%），未触摸 135（45%），释放 69（23%））"});
        QCOMPARE(log->toPlainText().split('\n').constLast(),
                 QStringLiteral("TK3：已应用建议设置，按下位置 55%，迟滞 22%"));
        QVERIFY(table->item(0, 0)->toolTip().contains(
            QStringLiteral("按下阈值 %1，释放阈值 %2").arg(base + 165).arg(base + 99)));
        QCOMPARE(seriesNames().at(3), QStringLiteral("按下阈值 %1").arg(base + 165));

        // Verification previews the firmware's decision: water alone presses nothing, a finger
        // presses the key.
        auto *box = windowWidget<QCheckBox>(window, "checkBox3");
        const auto pressedLook = [box] { return box->styleSheet().contains("color:rgb(255,0,0)"); };
        boxes.clear();
        windowWidget<QPushButton>(window, "pushButton_3")->click();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("请确认没有其他操作！")});
        QTest::qWait(500);
        QVERIFY(!pressedLook());
        SimBoard::setFinger(3, true);
        QTRY_VERIFY_WITH_TIMEOUT(pressedLook(), 5000);
        SimBoard::setFinger(3, false);
        QTRY_VERIFY_WITH_TIMEOUT(!pressedLook(), 5000);
        // A light finger (250) under a press position of 90 % presses nothing; back at 55 % it
        // does. The numbers beside the curves show the thresholds of the moment.
        SimBoard::setWater(false);
        SimBoard::setChannelLevels(3, quint16(base), 250);
        auto *press = windowWidget<QSpinBox>(window, "pressSpinBox");
        auto *numbers = windowWidget<QTableWidget>(window, "numbersTable");
        press->setValue(90);
        QVERIFY(
            table->item(0, 0)->toolTip().contains(QStringLiteral("按下阈值 %1").arg(base + 270)));
        SimBoard::setFinger(3, true);
        QTRY_COMPARE_WITH_TIMEOUT(numbers->item(0, 1)->text(), QString::number(base + 250), 5000);
        // The light finger lifts the base a count a record; the threshold keeps its distance.
        QCOMPARE(numbers->item(0, 3)->text().toInt() - numbers->item(0, 2)->text().toInt(), 270);
        QTest::qWait(500);
        QVERIFY(!pressedLook());
        press->setValue(55);
        QTRY_VERIFY_WITH_TIMEOUT(pressedLook(), 5000);
        SimBoard::setFinger(3, false);
        SimBoard::setChannelLevels(3, quint16(base), SimBoard::kFingerRise);
        windowWidget<QPushButton>(window, "pushButton_3")->click();

        // Application project below a project path of our own.
        windowWidget<QLineEdit>(window, "proPathLineEdit")->setText(dir.path());
        boxes.clear();
        createApp->click();
        QCOMPARE(boxes.texts(), (QStringList{QStringLiteral("请确调试已经完成！"),
                                             QStringLiteral("生成应用代码完成！")}));
        const QStringList folders =
            QDir(dir.path()).entryList({"fullChipTouchPro*"}, QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(folders.size(), 1);
        const QString app = dir.filePath(folders.first());
        const QStringList logLines = log->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(logLines.mid(logLines.size() - 2),
                 (QStringList{QStringLiteral("TK3 的按键设置与默认不同：按下位置 55%（默认 50%），"
                                             "迟滞 22%（默认 10%）"),
                              QStringLiteral("应用工程已生成：") + QDir::toNativeSeparators(app)}));
        QVERIFY(readBytes(app + "/User/H/TouchKeyScan.h")
                    .contains("#define   TKL_CHN_NUM      (1)\r\n"));
        const QByteArray row = QStringLiteral("1,3,20,%1,%2,%3,\r\n")
                                   .arg(cell(table, 0, 1), cell(table, 0, 2), cell(table, 0, 3))
                                   .toLatin1();
        const QByteArray source = readBytes(app + "/User/C/TouchKeyScan.c");
        QVERIFY2(source.contains("TKChnCfg[TKL_CHN_NUM * TK_CFG_FIELDS] = {\r\n" + row + "};\r\n"),
                 source);
        QVERIFY(source.contains("DeepSleepCfg[8] = {\r\n0,6,0,10,0,0,0,0,\r\n};\r\n"));
        QVERIFY(source.contains(
            "TKKeyCfg[TKL_CHN_NUM * TK_KEY_FIELDS] = {\r\n55,22,3,20,1,\r\n};\r\n"));
        QVERIFY(readBytes(dir.filePath("touchProName.ini")).contains("TK3:"));
        // Beside the firmware, the report; beside the project file, every sample.
        const QString report = testsupport::pdfText(app + "/TuningReport.pdf");
        QVERIFY2(report.contains(QStringLiteral("TK3")) && report.contains(QStringLiteral("合格")),
                 qPrintable(report));
        const QByteArray samples = readBytes(dir.filePath("touchProName_samples.csv"));
        for (const char *phase : {"TK3,notouch,", "TK3,touch,", "TK3,water,"})
            QVERIFY2(samples.contains(phase), phase);
        {
            // Opened again, the project brings its samples back: the row is judged as before.
            MainWindow reopened(testsupport::fastClock());
            UiScript script;
            script.answerFileDialog(dir.filePath("touchProName.ini"));
            windowWidget<QPushButton>(reopened, "openProBtn")->click();
            QTRY_VERIFY(script.finished());
            const QTableWidgetItem *name =
                windowWidget<QTableWidget>(reopened, "tableWidget")->item(0, 0);
            QCOMPARE(name->background().color(), KeyQuality::verdictColour(KeyVerdict::Pass));
            QCOMPARE(name->toolTip(), table->item(0, 0)->toolTip());
        }

        // Save & Download: the template's script beside the executable, run by a stand-in wine.
        testsupport::StandInPath path(dir.filePath("bin"), true);
        const QString project = "Z:" + QString(testFolder).replace('/', '\\') + "/RM3KV5172.uvproj";
        auto *saveButton = windowWidget<QPushButton>(window, "saveDownloadBtn");
        // With results on the table it asks first, and saves them with the project before they
        // are cleared.
        const QString clear = QStringLiteral("保存并下载将清除当前 1 个通道的调试结果，是否继续？");
        QVERIFY(QFile::remove(dir.filePath("touchProName.ini")));
        QVERIFY(QFile::remove(dir.filePath("touchProName_samples.csv")));
        const QString measuredTip = table->item(0, 0)->toolTip();
        boxes.queueButtons({QStringLiteral("继续")});
        QStringList copies;
        for (int click = 1; click <= 2; ++click) {
            path.setWine(true);
            SimBoard::clearWrittenReports();
            boxes.clear();
            saveButton->click();
            QCOMPARE(boxes.texts(), click == 1 ? QStringList{clear} : QStringList());
            QVERIFY(readBytes(dir.filePath("touchProName.ini")).contains("TK3:"));
            QVERIFY(readBytes(dir.filePath("touchProName_samples.csv")).contains("TK3,water,"));
            QCOMPARE(SimBoard::writtenReports(),
                     (QList<QByteArray>{kStopReport, kStopReport, kStopReport}));
            QVERIFY(readBytes(testFolder + "/config.bat")
                        .contains("set \"UV_PRO_PATH=" + project.toLatin1() + "\"\r\n"));
            QCOMPARE(path.wineRan().value(1), project);
            QVERIFY(readBytes(testFolder + "/User/H/TouchKeyScan.h")
                        .contains("#define   TKL_CHN_NUM      (1)\r\n"));
            QVERIFY(readBytes(testFolder + "/User/C/TouchKeyScan.c")
                        .contains("TKChnCfg[TKL_CHN_NUM * TK_CFG_FIELDS] = "
                                  "{\r\n1,3,20,100,100,100,\r\n};\r\n"));
            // What was cleared is kept in a dated copy of the project, named in the log.
            QStringList lines{QStringLiteral("已运行编译脚本 config.bat，目录：") +
                              QDir::toNativeSeparators(testFolder)};
            if (click == 1) {
                copies = QDir(dir.path()).entryList({"touchProName_20*"}, QDir::Files);
                QCOMPARE(copies.size(), 2);
                QVERIFY(copies.at(1).endsWith("_samples.csv"));
                lines.prepend(QStringLiteral("调试结果已另存为 ") + copies.first());
            }
            QCOMPARE(log->toPlainText().split('\n'), lines);
            QVERIFY(!table->item(0, 5));
        }
        // Closed, the project keeps the emptied table; its dated copy opens with the key judged
        // as it was measured.
        window.close();
        QVERIFY(readBytes(dir.filePath("touchProName.ini")).contains("[20]\n0=0\n"));
        QCOMPARE(QDir(dir.path()).entryList({"touchProName_20*"}, QDir::Files), copies);
        MainWindow reopened(testsupport::fastClock());
        UiScript script;
        script.answerFileDialog(dir.filePath(copies.first()));
        windowWidget<QPushButton>(reopened, "openProBtn")->click();
        QTRY_VERIFY(script.finished());
        auto *copyTable = windowWidget<QTableWidget>(reopened, "tableWidget");
        QCOMPARE(cell(copyTable, 0, 0), QStringLiteral("TK3"));
        QCOMPARE(copyTable->item(0, 0)->toolTip(), measuredTip);
    }
};

QTEST_MAIN(TestCodegenWindow)
#include "tst_codegenwindow.moc"
