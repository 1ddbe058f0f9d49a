// A slider from end to end on the simulated board: made on the SOP28 drawing, its segments
// measured as keys with a finger on each segment's centre, swiped along the marker of 滑动测试
// during verification, and written into the application firmware and its report.
#include "app/mainwindow.h"
#include "charts/sliderview.h"
#include "modalhelper.h"
#include "project/packagewidget.h"
#include "settingswidgets.h"
#include "sim/simboard.h"
#include "sim/simslider.h"
#include "testsupport.h"
#include "uiscript.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>


class TestSliderWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir user;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        // The recent projects are kept per user; this test keeps its own.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, user.path());
    }

    void defineMeasureSwipeAndGenerate()
    {
        SimBoard::reset();
        SimBoard::setNoise(1);
        const QVector<int> segments{3, 4, 5};
        MainWindow window(testsupport::fastClock());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *package = window.findChild<PackageWidget *>("Mwidget28");
        QVERIFY(package);
        package->startPicking(SliderDefinition::Kind::Slider);
        for (int channel : segments)
            package->pinButton(channel)->click();
        package->stopPicking();
        QTRY_COMPARE(windowWidget<QComboBox>(window, "drawCBox")->currentText(), QStringLiteral("1"));

        auto *tabs = windowWidget<QTabWidget>(window, "setDebugTWidget");
        auto *table = windowWidget<QTableWidget>(window, "tableWidget");
        auto *log = windowWidget<QPlainTextEdit>(window, "plainTextEdit");
        tabs->setCurrentIndex(1);

        // Each segment touched at its centre when the tool asks for it; its place is told.
        ModalHelper boxes;
        QTimer finger;
        const QRegularExpression asked(QStringLiteral("请按TK(\\d+)"));
        connect(&finger, &QTimer::timeout, [&] {
            const QString text = log->toPlainText();
            const int press = text.lastIndexOf(QStringLiteral("请按TK"));
            const int segment =
                segments.indexOf(asked.match(text, std::max(0, press)).captured(1).toInt());
            if (press > text.lastIndexOf(QStringLiteral("请勿触摸")) && segment >= 0)
                SimSlider::putFinger(segments, false, segment);
            else
                SimSlider::liftFinger(segments);
        });
        finger.start(20);
        windowWidget<QPushButton>(window, "autoTest_btn")->click();
        QTRY_VERIFY_WITH_TIMEOUT(
            boxes.texts().contains(QStringLiteral("所选通道不触摸与触摸测试完成！")), 120000);
        finger.stop();
        SimSlider::liftFinger(segments);
        QVERIFY(log->toPlainText().contains(QStringLiteral("TK4 是 S1-2 段：请按在该段中央。")));
        QVERIFY(log->toPlainText().contains(QStringLiteral("TK4（S1-2）：噪声")));
        QVERIFY(table->item(1, 0)->toolTip().contains(QStringLiteral("TK4（S1-2）")));
        boxes.whileOpen = [](QMessageBox *box) {
            if (box->text() == QStringLiteral("请给触摸板加水！"))
                SimBoard::setWater(true);
        };
        windowWidget<QPushButton>(window, "waterproof_btn")->click();
        QTRY_VERIFY_WITH_TIMEOUT(table->item(2, 5), 120000);
        QTRY_VERIFY_WITH_TIMEOUT(!SimBoard::isStreaming(), 10000);
        SimBoard::setWater(false);

        // The swipe: the finger follows the marker the view shows, from the firmware's model.
        windowWidget<QCheckBox>(window, "checkBox3")->setChecked(true);
        windowWidget<QPushButton>(window, "pushButton_3")->click();
        auto *view = window.findChild<SliderView *>();
        QVERIFY(view && view->isVisible());
        windowWidget<QPushButton>(window, "swipeTestBtn")->click();
        int lowest = 255;
        int highest = 0;
        connect(&finger, &QTimer::timeout, [&] {
            const SliderView::Item item = view->shownItems().value(0);
            if (item.marker)
                SimSlider::putFinger(segments, false, *item.marker * (segments.size() - 1));
            else
                SimSlider::liftFinger(segments);
            if (item.touched) {
                lowest = std::min(lowest, item.position);
                highest = std::max(highest, item.position);
            }
        });
        finger.start(10);
        QTRY_VERIFY_WITH_TIMEOUT(log->toPlainText().contains(QStringLiteral("S1 滑动测试：线性度")),
                                 60000);
        finger.stop();
        SimSlider::liftFinger(segments);
        QVERIFY2(lowest < 30 && highest > 225, qPrintable(QStringLiteral("%1 %2").arg(lowest).arg(highest)));
        windowWidget<QPushButton>(window, "pushButton_3")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!SimBoard::isStreaming(), 10000);

        // The slider's settings are offered once, not per segment, carried by every segment's
        // row and kept through a new order of the segments.
        auto *keyChoice = windowWidget<QComboBox>(window, "keySettingsCBox");
        QVERIFY(keyChoice->findText(QStringLiteral("TK4（按键 0）")) < 0);
        keyChoice->setCurrentIndex(keyChoice->findText(QStringLiteral("S1 滑条（3 段）")));
        QVERIFY(keyChoice->currentIndex() > 0);
        windowWidget<QSpinBox>(window, "pressSpinBox")->setValue(80);
        windowWidget<QSpinBox>(window, "debounceSpinBox")->setValue(7);
        package->reverseSlider(0);

        // The firmware gets the slider's table; the report its page.
        QTemporaryDir dir;
        windowWidget<QLineEdit>(window, "proPathLineEdit")->setText(dir.path());
        boxes.clear();
        // A swipe the machine's pace made less than 合格 is asked about before generating.
        const bool swipePassed = log->toPlainText().contains(
            QRegularExpression(QStringLiteral("S1 滑动测试：[^\n]*，合格")));
        boxes.queueButtons({QStringLiteral("仍然生成")});
        windowWidget<QPushButton>(window, "createAppPro_btn")->click();
        QVERIFY(boxes.texts().contains(QStringLiteral("生成应用代码完成！")));
        QCOMPARE(boxes.texts().filter(QStringLiteral("S1：滑动测试")).size(), swipePassed ? 0 : 1);
        const QStringList folders =
            QDir(dir.path()).entryList({"fullChipTouchPro*"}, QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(folders.size(), 1);
        const QString app = dir.filePath(folders.first());
        QVERIFY(testsupport::readBytes(app + "/User/H/TouchKeyScan.h")
                    .contains("#define   TKL_SLD_NUM      (1)\r\n"));
        const QByteArray source = testsupport::readBytes(app + "/User/C/TouchKeyScan.c");
        QVERIFY2(source.contains("0,3,2,1,0,0,0,0,0,0, /* S1 */\r\n"), source);
        QCOMPARE(source.count("80,10,7,20,1,\r\n"), 3);
        const QString report = testsupport::pdfText(app + "/TuningReport.pdf");
        QVERIFY2(report.contains(QStringLiteral("S1-2")) && report.contains(QStringLiteral("线性度")),
                 qPrintable(report));

        // Opened again from "最近" in a new start of the tool, the verdict is beside the button
        // and on the slider, and the report's page is the same. It goes once a segment's mean
        // changes, and its file with the next save.
        const QString verdict = window.findChild<QLabel *>("swipeSummaryLabel")->text();
        QVERIFY(verdict.contains(QStringLiteral("线性度")));
        QVERIFY(window.close());
        MainWindow reopened(testsupport::fastClock());
        reopened.show();
        UiScript recent;
        recent.chooseMenuEntry(QStringLiteral("touchProName    ") +
                               QDir::toNativeSeparators(dir.path()));
        QTest::mouseClick(windowWidget<QPushButton>(reopened, "recentProjectsBtn"), Qt::LeftButton);
        QVERIFY(testsupport::waitUntil([&recent] { return recent.finished(); }, 5000));
        auto *label = reopened.findChild<QLabel *>("swipeSummaryLabel");
        QCOMPARE(label->text(), verdict);
        auto *shown = reopened.findChild<SliderView *>();
        shown->flush();
        const QString status = shown->shownItems().value(0).verdict;
        QVERIFY(!status.isEmpty() && verdict.endsWith(status));
        QTemporaryDir again;
        windowWidget<QLineEdit>(reopened, "proPathLineEdit")->setText(again.path());
        windowWidget<QTabWidget>(reopened, "setDebugTWidget")->setCurrentIndex(1);
        boxes.queueButtons({QStringLiteral("仍然生成")});
        windowWidget<QPushButton>(reopened, "createAppPro_btn")->click();
        const QString folder = again.filePath(
            QDir(again.path()).entryList({"fullChipTouchPro*"}, QDir::Dirs).value(0));
        const QString second = testsupport::pdfText(folder + "/TuningReport.pdf");
        QCOMPARE(second.count(QLatin1Char('\f')), report.count(QLatin1Char('\f')));
        const auto page = [](const QString &text) { return text.mid(text.indexOf("S1 滑条：")); };
        QCOMPARE(page(second), page(report));
        auto *mean = windowWidget<QTableWidget>(reopened, "tableWidget")->item(1, 1);
        mean->setText(QString::number(mean->text().toInt() + 1));
        QVERIFY(label->text().isEmpty());
        QVERIFY(QFile::exists(again.filePath("touchProName_evidence.json")));
        QVERIFY(reopened.close());
        QVERIFY(!QFile::exists(again.filePath("touchProName_evidence.json")));
    }
};

QTEST_MAIN(TestSliderWindow)
#include "tst_sliderwindow.moc"
