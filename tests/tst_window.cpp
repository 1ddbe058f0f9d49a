// Window smoke test: the widget tree, the texts the other subsystems and the firmware rely on,
// and the shell's own behaviour (title, side menu, icons, slot auto-connection).
#include "app/mainwindow.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

#include <algorithm>

namespace
{

QStringList capturedMessages;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
    capturedMessages << text;
}

// The offscreen platform complains on every resize of a shown window; the rest passes on.
QtMessageHandler forwardedHandler = nullptr;

void dropOffscreenResizeNoise(QtMsgType type, const QMessageLogContext &context,
                              const QString &text)
{
    if (text == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    if (forwardedHandler)
        forwardedHandler(type, context, text);
}

// The package pages bring forms of their own; their inner names may repeat ours, so a
// window widget is looked up outside those three subtrees only.
bool insidePackagePage(const QObject *object)
{
    for (const QObject *p = object->parent(); p; p = p->parent()) {
        const QString name = p->objectName();
        if (name == QLatin1String("Mwidget28") || name == QLatin1String("Mwidget20") ||
            name == QLatin1String("Mwidget16"))
            return true;
    }
    return false;
}

QObject *formObject(const QObject *window, const QString &name)
{
    QObject *found = nullptr;
    const auto all = window->findChildren<QObject *>(name);
    for (QObject *object : all) {
        if (insidePackagePage(object))
            continue;
        if (found)
            return nullptr; // ambiguous: treat like missing
        found = object;
    }
    return found;
}

template <typename T> T *formWidget(const QObject *window, const QString &name)
{
    return qobject_cast<T *>(formObject(window, name));
}

QStringList itemTexts(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

struct NamedClass
{
    QString name;
    QByteArray className;
};

QList<NamedClass> expectedWidgets()
{
    QList<NamedClass> list;
    const auto add = [&list](const char *cls, std::initializer_list<const char *> names) {
        for (const char *n : names)
            list.append({QString::fromLatin1(n), QByteArray(cls)});
    };
    add("QLabel",
        {"label", "imageLabel", "versionLabel", "usbStateLabel", "proPathLabel", "proNameLabel",
         "mcuTypeLabel", "keyLabel", "drawLabel", "wheelLabel", "keyCountLabel",
         "scanningCycleLabel", "label_4", "label_2", "label_3", "replayTimeLabel"});
    add("QSlider", {"replaySlider"});
    add("QLineEdit", {"proPathLineEdit", "proNameLineEdit", "lineEdit"});
    add("QComboBox", {"mcuTypeCBox", "keyCBox", "drawCBox", "wheelCBox", "keyCountCBox",
                      "startValueCBox", "endValueCBox", "replaySpeedCBox"});
    add("QCheckBox", {"lowpower_cBox"});
    add("QRadioButton", {"lowRBtn", "middleRBtn", "highRBtn"});
    add("QPushButton", {"pushButton", "vandreliumBtn", "openProBtn", "browseBtn", "saveDownloadBtn",
                        "autoTest_btn", "waterproof_btn", "stopTest_btn", "pushButton_3",
                        "createAppPro_btn", "allSelectBtn", "invertSelectBtn", "pausePictureBtn",
                        "recordBtn", "openRecordingBtn", "replayPauseBtn", "replayEndBtn"});
    add("QGroupBox", {"groupBox_proSet", "groupBox_mcuType", "groupBox_key", "groupBox_function",
                      "groupBox_3", "groupBox_frequency", "groupBox", "groupBox_2"});
    add("QStackedWidget", {"mainStackedWidget", "packageStackedWidget"});
    add("QTabWidget", {"setDebugTWidget"});
    add("QPlainTextEdit", {"plainTextEdit"});
    add("QTableWidget", {"tableWidget", "numbersTable"});
    add("LiveChartView", {"chartView"});
    add("QMenuBar", {"menubar"});
    add("QWidget",
        {"centralwidget", "topWidget",   "middleWidget_2", "bottomWidget_3", "leftWidget",
         "mainWidget",    "page",        "page_2",         "setTab",         "debugTab",
         "leftTWidget",   "mpWidgetOne", "mainTWidget",    "widget",         "DtLeftWidget",
         "widget_2",      "widget_3",    "widget_4",       "widget_5",       "widget_6",
         "widget_7",      "widget_8",    "widget_10",      "widget_12",      "widget_13",
         "widget_14",     "widget_15",   "widget_20",      "streamBar",      "replayBar"});
    add("MyWidget02", {"Mwidget28"});
    add("Mwidget01", {"Mwidget20"});
    add("Wd5p31948Sop16", {"Mwidget16"});
    for (int n = 0; n < 25; ++n) {
        list.append({QStringLiteral("btnTk%1").arg(n), "QPushButton"});
        list.append({QStringLiteral("tkBtn%1").arg(n), "QPushButton"});
        list.append({QStringLiteral("checkBox%1").arg(n), "QCheckBox"});
        list.append({QStringLiteral("wpChbox%1").arg(n), "QCheckBox"});
    }
    return list;
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

    // The read-only checks share one window; the behaviour checks build their own.
    QScopedPointer<MainWindow> window;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        window.reset(new MainWindow);
    }
    void cleanupTestCase() { window.reset(); }

    void constructionConnectsEverySlotByName()
    {
        capturedMessages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
        {
            MainWindow w;
        }
        qInstallMessageHandler(previous);
        const QStringList unmatched =
            capturedMessages.filter(QStringLiteral("QMetaObject::connectSlotsByName: No matching"));
        QVERIFY2(unmatched.isEmpty(), qPrintable(unmatched.join(QLatin1Char('\n'))));
    }

    // The tool's window waits as the tool always has; only a test builds one on another clock.
    void toolWindowKeepsTheToolsPacing()
    {
        const Pacing &pacing = window->pacing();
        QVERIFY(pacing == Pacing());
        QCOMPARE(pacing.countdownLeadMs, 1);
        QCOMPARE(pacing.countdownStepMs, 1000);
        QCOMPARE(pacing.startSettleMs, 1000);
        QCOMPARE(pacing.stopSettleMs, 500);
        QCOMPARE(pacing.verificationOffSettleMs, 800);
        QCOMPARE(pacing.saveDownloadSettleMs, 800);
        QCOMPARE(pacing.rearmPauseMs, 20);
        QCOMPARE(pacing.verificationRecordPauseMs, 20);
        QCOMPARE(pacing.stopAckDeadlineMs, 3000);
        QCOMPARE(pacing.stopAckRetryMs, 2);
        QCOMPARE(pacing.readTimeoutMs, 8000);
        QCOMPARE(pacing.checkReadTimeoutMs, 2000);
        QCOMPARE(pacing.arrivalSettleMs, 1);
        // A faster clock scales every wait, and none drops to nothing.
        const Pacing fast = pacing.scaled(1.0 / 20);
        QVERIFY(fast != pacing);
        QCOMPARE(fast.countdownStepMs, 50);
        QCOMPARE(fast.readTimeoutMs, 400);
        QCOMPARE(fast.rearmPauseMs, 1);
        QCOMPARE(fast.stopAckRetryMs, 1);
        QCOMPARE(fast.arrivalSettleMs, 1);
    }

    void everyNamedWidgetHasItsClass()
    {
        MainWindow &w = *window;
        QStringList faults;
        for (const NamedClass &expected : expectedWidgets()) {
            const auto all = w.findChildren<QObject *>(expected.name);
            const QObject *object = formObject(&w, expected.name);
            if (!object) {
                faults << QStringLiteral("%1: missing or not unique (%2 found)")
                              .arg(expected.name)
                              .arg(all.size());
                continue;
            }
            const QByteArray actual = object->metaObject()->className();
            if (actual != expected.className)
                faults << QStringLiteral("%1: %2, expected %3")
                              .arg(expected.name, QString::fromLatin1(actual),
                                   QString::fromLatin1(expected.className));
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void titleAndHeaderTexts()
    {
        MainWindow &w = *window;
        QCOMPARE(w.windowTitle(), QStringLiteral("    "));
        QCOMPARE(w.size(), QSize(1154, 788));
        QCOMPARE(formWidget<QPushButton>(&w, "pushButton")->text(), QStringLiteral("   菜单 "));
        QCOMPARE(formWidget<QPushButton>(&w, "vandreliumBtn")->text(), QStringLiteral("   调试 "));
        QCOMPARE(formWidget<QLabel>(&w, "versionLabel")->text(),
                 QStringLiteral("<html><head/><body><p><span style=\" font-size:12pt; "
                                "font-weight:600;\">KAPRILO上位机V1.1.0.230714</span></p>"
                                "</body></html>"));
        QCOMPARE(formWidget<QLabel>(&w, "label")->text(), QString());
        auto *tabs = formWidget<QTabWidget>(&w, "setDebugTWidget");
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->widget(0)->objectName(), QStringLiteral("setTab"));
        QCOMPARE(tabs->tabText(0), QStringLiteral("设置"));
        QCOMPARE(tabs->widget(1)->objectName(), QStringLiteral("debugTab"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("调试"));
        QCOMPARE(tabs->currentIndex(), 0);
        auto *pages = formWidget<QStackedWidget>(&w, "mainStackedWidget");
        // The form's two pages come first; the production page follows them.
        QCOMPARE(pages->widget(0)->objectName(), QStringLiteral("page"));
        QCOMPARE(pages->widget(1)->objectName(), QStringLiteral("page_2"));
        QVERIFY(pages->indexOf(w.findChild<QWidget *>(QStringLiteral("productionPage"))) >= 2);
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("page"));
    }

    void channelFamilyTexts()
    {
        MainWindow &w = *window;
        for (int n = 0; n < 25; ++n) {
            const QByteArray suffix = QByteArray::number(n);
            const QString name = QStringLiteral("TK%1").arg(n);
            QCOMPARE(formWidget<QAbstractButton>(&w, "btnTk" + suffix)->text(), name);
            QCOMPARE(formWidget<QAbstractButton>(&w, "btnTk" + suffix)->toolTip(),
                     QStringLiteral("单击开始此通道的触摸测试"));
            QCOMPARE(formWidget<QAbstractButton>(&w, "wpChbox" + suffix)->text(), name);
            QCOMPARE(formWidget<QAbstractButton>(&w, "tkBtn" + suffix)->text(), QString());
            // One-digit channels carry a trailing blank so the columns line up.
            const QString boxText = n < 10 ? name + QLatin1Char(' ') : name;
            QCOMPARE(formWidget<QAbstractButton>(&w, "checkBox" + suffix)->text(), boxText);
        }
        QCOMPARE(formWidget<QCheckBox>(&w, "checkBox9")->text(), QStringLiteral("TK9 "));
        QCOMPARE(formWidget<QCheckBox>(&w, "checkBox10")->text(), QStringLiteral("TK10"));
    }

    void wakeKeyBoxesFiveToARow()
    {
        MainWindow &w = *window;
        auto *grid = formWidget<QGridLayout>(&w, "gridLayout_11");
        QVERIFY(grid);
        for (int n = 0; n < 25; ++n) {
            QWidget *box = formWidget<QWidget>(&w, "wpChbox" + QByteArray::number(n));
            const int index = grid->indexOf(box);
            QVERIFY2(index >= 0, qPrintable(box->objectName()));
            int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
            QCOMPARE(row, n / 5);
            QCOMPARE(column, n % 5);
        }
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(formWidget<QWidget>(&w, "wpChbox12")), &row, &column,
                              &rowSpan, &columnSpan);
        QCOMPARE(row, 2);
        QCOMPARE(column, 2);
    }

    void comboItemsInOrder_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("mcuTypeCBox")
            << "mcuTypeCBox"
            << QStringList{"RM3KV5172_SOP28", "RM3KV5172_SOP20", "RM3KV5172_SOP16"};
        QStringList keys;
        for (int k = 0; k <= 25; ++k)
            keys << QString::number(k);
        QTest::newRow("keyCBox") << "keyCBox" << keys;
        QTest::newRow("keyCountCBox")
            << "keyCountCBox"
            << QStringList{"4ms", "8ms", "16ms", "32ms", "256ms", "512ms", "1024ms", "2048ms"};
        QStringList starts;
        for (int v = 0; v <= 2000; v += 100)
            starts << QString::number(v);
        QTest::newRow("startValueCBox") << "startValueCBox" << starts;
        // Indicators of the sliders (2 segments at least) and wheels (3) 25 channels can make.
        QTest::newRow("drawCBox") << "drawCBox" << QStringList(keys.mid(0, 13));
        QTest::newRow("wheelCBox") << "wheelCBox" << QStringList(keys.mid(0, 9));
    }

    void comboItemsInOrder()
    {
        QFETCH(QString, box);
        QFETCH(QStringList, items);
        MainWindow &w = *window;
        auto *combo = qobject_cast<QComboBox *>(formObject(&w, box));
        QVERIFY(combo);
        QCOMPARE(itemTexts(combo), items);
    }

    void sliderAndWheelStartDisabled()
    {
        MainWindow &w = *window;
        QVERIFY(!formWidget<QComboBox>(&w, "drawCBox")->isEnabled());
        QVERIFY(!formWidget<QComboBox>(&w, "wheelCBox")->isEnabled());
    }

    void packagePagesFollowTheChipList()
    {
        MainWindow &w = *window;
        auto *stack = formWidget<QStackedWidget>(&w, "packageStackedWidget");
        auto *chips = formWidget<QComboBox>(&w, "mcuTypeCBox");
        const QStringList pageNames{"Mwidget28", "Mwidget20", "Mwidget16"};
        const QList<QByteArray> classes{"MyWidget02", "Mwidget01", "Wd5p31948Sop16"};
        QCOMPARE(stack->count(), 3);
        QCOMPARE(stack->currentIndex(), 0);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(stack->widget(i)->objectName(), pageNames.at(i));
            QCOMPARE(QByteArray(stack->widget(i)->metaObject()->className()), classes.at(i));
            // The chip list and the pages must agree: item i names the pin count of page i.
            QVERIFY(chips->itemText(i).endsWith(QStringLiteral("SOP") + pageNames.at(i).right(2)));
        }
    }

    void styleSheetsAsDrawn()
    {
        const QObject *w = window.data();
        QCOMPARE(
            formWidget<QWidget>(w, "topWidget")->styleSheet(),
            QStringLiteral("QWidget{\nwidth:1px;\nborder-radius:6px;\nborder:1px dotted gray\n}"));
        QCOMPARE(formWidget<QWidget>(w, "leftWidget")->styleSheet(),
                 QStringLiteral("width:1px;\nborder-radius:6px;\nbackground-color:gray;\n"
                                "border:1px dotted gray"));
        const QString hover = QStringLiteral(
            "QPushButton:hover { \nborder:none;\nborder-radius: 1px; /* 边框圆角 */\n"
            "background-color: green;\nfont-size: 12pt; /* 文本字体大小 */\nborder-radius:3px;\n\n"
            "/*background-color:transparent;设置背景色透明\ncolor:green;\n*/\n }");
        QCOMPARE(formWidget<QWidget>(w, "pushButton")->styleSheet(), hover);
        QCOMPARE(formWidget<QWidget>(w, "vandreliumBtn")->styleSheet(), hover);
        const QString whiteKey = QStringLiteral(
            "background-color:rgb(255,255,255); /*设置背景色*/\n    /*color:rgb(6,168,255); "
            "字体颜色*/\nborder:2px solid rgb(255,255,255);\nfont-size:12px;\nborder-radius:10px;");
        for (int n = 0; n < 25; ++n)
            QCOMPARE(formWidget<QWidget>(w, QStringLiteral("btnTk%1").arg(n))->styleSheet(),
                     whiteKey);
    }

    void fonts()
    {
        MainWindow &w = *window;
        const QFont tabs = formWidget<QWidget>(&w, "setDebugTWidget")->font();
        QCOMPARE(tabs.pointSize(), 12);
        QVERIFY(!tabs.bold());
        // Widgets on both tabs inherit the tab widget's size.
        QCOMPARE(formWidget<QWidget>(&w, "browseBtn")->font().pointSize(), 12);
        QCOMPARE(formWidget<QWidget>(&w, "autoTest_btn")->font().pointSize(), 12);
        QCOMPARE(formWidget<QWidget>(&w, "mcuTypeCBox")->font().pointSize(), 10);
        for (const char *name : {"pushButton", "vandreliumBtn", "usbStateLabel"}) {
            const QFont font = formWidget<QWidget>(&w, name)->font();
            QCOMPARE(font.pointSize(), 12);
            QVERIFY2(font.bold(), name);
        }
    }

    void iconsLoadFromResources()
    {
        MainWindow &w = *window;
        for (const char *name : {"pushButton", "vandreliumBtn"}) {
            const QIcon icon = formWidget<QPushButton>(&w, name)->icon();
            QVERIFY2(!icon.pixmap(QSize(24, 24)).isNull(), name);
        }
        const QPixmap logo = formWidget<QLabel>(&w, "imageLabel")->pixmap(Qt::ReturnByValue);
        QVERIFY(!logo.isNull());
        QVERIFY(logo.width() >= 16);
    }

    void frameLayoutsAreTight_data()
    {
        QTest::addColumn<QString>("layout");
        for (const char *name :
             {"horizontalLayout", "horizontalLayout_2", "horizontalLayout_3", "verticalLayout_2",
              "gridLayout", "gridLayout_4", "horizontalLayout_4", "verticalLayout_4",
              "horizontalLayout_5", "horizontalLayout_9", "horizontalLayout_10",
              "horizontalLayout_11", "verticalLayout_5", "horizontalLayout_14",
              "horizontalLayout_15", "horizontalLayout_16", "horizontalLayout_17",
              "horizontalLayout_18", "horizontalLayout_19"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void frameLayoutsAreTight()
    {
        QFETCH(QString, layout);
        auto *box = qobject_cast<QLayout *>(formObject(window.data(), layout));
        QVERIFY(box);
        QCOMPARE(box->contentsMargins(), QMargins(1, 1, 1, 1));
        QCOMPARE(box->spacing(), 1);
    }

    void outerLayoutsKeepTheirOwnSpacing()
    {
        auto *outer = formWidget<QGridLayout>(window.data(), "gridLayout_2");
        QCOMPARE(outer->contentsMargins(), QMargins(1, 1, 1, 1));
        QCOMPARE(outer->horizontalSpacing(), 1);
        auto *debugColumn = formWidget<QGridLayout>(window.data(), "gridLayout_9");
        QCOMPARE(debugColumn->contentsMargins(), QMargins(1, 1, 1, 1));
        QVERIFY(debugColumn->verticalSpacing() != 1);
        // The channel-button rows sit in a default layout: only the rows themselves are tight.
        auto *buttonRows = formWidget<QLayout>(window.data(), "verticalLayout");
        QVERIFY(buttonRows->contentsMargins() != QMargins(1, 1, 1, 1));
    }

    void resultsTableFrame()
    {
        MainWindow &w = *window;
        auto *table = formWidget<QTableWidget>(&w, "tableWidget");
        QCOMPARE(table->columnCount(), 6);
        QCOMPARE(table->lineWidth(), 0);
        QVERIFY(!table->verticalHeader()->isVisibleTo(table));
        QCOMPARE(table->verticalHeader()->minimumSectionSize(), 30);
        QCOMPARE(table->horizontalHeader()->minimumSectionSize(), 50);
    }

    void sideMenuSlidesOpenAndShut()
    {
        forwardedHandler = qInstallMessageHandler(dropOffscreenResizeNoise);
        const auto restore = qScopeGuard([] { qInstallMessageHandler(forwardedHandler); });
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QWidget *side = formWidget<QWidget>(&w, "leftWidget");
        auto *button = formWidget<QPushButton>(&w, "pushButton");

        // Slides: from the click on, the widths it passes through lie between the two ends.
        const auto slide = [&](int from, int to) {
            QList<int> widths;
            button->click();
            if (side->minimumWidth() != from)
                return false;
            const bool arrived = testsupport::waitUntil(
                [&] {
                    widths << side->minimumWidth();
                    return widths.last() == to;
                },
                5000);
            return arrived && std::any_of(widths.cbegin(), widths.cend(), [&](int width) {
                       return width > qMin(from, to) && width < qMax(from, to);
                   });
        };
        QVERIFY(slide(26, 90));
        QTRY_VERIFY_WITH_TIMEOUT(side->width() >= 90, 1000);
        QVERIFY(slide(90, 26));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
