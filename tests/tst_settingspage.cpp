#include "app/mainwindow.h"
#include "project/packagewidget.h"
#include "sim/simboard.h"

#include "settingswidgets.h"
#include "testsupport.h"
#include "uiscript.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
template <typename T> T *child(MainWindow &window, const QString &name)
{
    return window.findChild<T *>(name);
}

QCheckBox *wakeBox(MainWindow &window, int channel)
{
    return child<QCheckBox>(window, QStringLiteral("wpChbox%1").arg(channel));
}

PackageWidget *package(MainWindow &window, const char *name)
{
    return window.findChild<PackageWidget *>(name);
}

PackageWidget *shownPackage(MainWindow &window)
{
    return qobject_cast<PackageWidget *>(
        child<QStackedWidget>(window, "packageStackedWidget")->currentWidget());
}

} // namespace

class TestSettingsPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void init() { SimBoard::reset(); }

    void windowStartsWithTheDefaults()
    {
        MainWindow window(testsupport::fastClock());
        auto *mcu = child<QComboBox>(window, "mcuTypeCBox");
        QCOMPARE(mcu->currentIndex(), 0);
        QCOMPARE(child<QStackedWidget>(window, "packageStackedWidget")->currentIndex(), 0);
        QCOMPARE(shownPackage(window), package(window, "Mwidget28"));
        QCOMPARE(shownPackage(window)->inUseCount, 0);
        auto *keyCount = child<QComboBox>(window, "keyCBox");
        QCOMPARE(keyCount->currentText(), QStringLiteral("0"));
        QVERIFY(!keyCount->isEnabled());
        QVERIFY(!child<QComboBox>(window, "drawCBox")->isEnabled());
        QVERIFY(!child<QComboBox>(window, "wheelCBox")->isEnabled());
        auto *lowPower = child<QCheckBox>(window, "lowpower_cBox");
        QVERIFY(lowPower->isEnabled());
        QVERIFY(!lowPower->isChecked());
        auto *wakeTime = child<QComboBox>(window, "keyCountCBox");
        QVERIFY(wakeTime->isEnabled());
        QCOMPARE(wakeTime->currentText(), QStringLiteral("1024ms"));
        QCOMPARE(child<QLineEdit>(window, "lineEdit")->text(), QStringLiteral("10"));
        QVERIFY(child<QRadioButton>(window, "lowRBtn")->isChecked());
        for (const char *name : {"lowRBtn", "middleRBtn", "highRBtn"})
            QVERIFY(!child<QRadioButton>(window, name)->isEnabled());
        for (int n = 0; n < 25; ++n) {
            QVERIFY(!wakeBox(window, n)->isChecked());
            QVERIFY(!wakeBox(window, n)->isEnabled());
        }
        auto *createApp = child<QPushButton>(window, "createAppPro_btn");
        QVERIFY(!createApp->isEnabled());
        QCOMPARE(createApp->text(), QStringLiteral("生成应用代码"));
        QCOMPARE(child<QComboBox>(window, "startValueCBox")->currentText(), QStringLiteral("1900"));
        QCOMPARE(child<QComboBox>(window, "endValueCBox")->currentText(), QStringLiteral("2100"));
    }

    // The timers bring the key count and the wake-key boxes in line with the pin map, and a
    // change of package starts the map afresh, also when coming back to the first package.
    void packageChangeStartsThePinMapAfresh()
    {
        MainWindow window(testsupport::fastClock());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *keyCount = child<QComboBox>(window, "keyCBox");
        auto *mcu = child<QComboBox>(window, "mcuTypeCBox");

        QVERIFY(chooseKey(shownPackage(window), 9, 7));
        QVERIFY(chooseKey(shownPackage(window), 5, 1));
        PackageWidget *sop28 = package(window, "Mwidget28");
        QCOMPARE(sop28->keyNumber[9], 7);
        QTRY_COMPARE(keyCount->currentText(), QStringLiteral("2"));
        QTRY_VERIFY(wakeBox(window, 9)->isEnabled());
        QVERIFY(wakeBox(window, 5)->isEnabled());
        QVERIFY(!wakeBox(window, 4)->isEnabled());
        wakeBox(window, 9)->setChecked(true);
        // The timers keep a box of a channel in use as the user set it.
        QTest::qWait(1100);
        QVERIFY(wakeBox(window, 9)->isChecked());

        mcu->setCurrentIndex(1);
        QCOMPARE(shownPackage(window), package(window, "Mwidget20"));
        QCOMPARE(shownPackage(window)->inUseCount, 0);
        QTRY_COMPARE(keyCount->currentText(), QStringLiteral("0"));
        QTRY_VERIFY(!wakeBox(window, 9)->isEnabled());
        QVERIFY(!wakeBox(window, 9)->isChecked());

        mcu->setCurrentIndex(0);
        QCOMPARE(shownPackage(window), sop28);
        QCOMPARE(sop28->inUseCount, 0);
        QCOMPARE(sop28->keyNumber[9], 0);
        QCOMPARE(sop28->keyLabel(9)->text(), QString());
        // key7 is free again after the reset.
        QVERIFY(chooseKey(shownPackage(window), 3, 7));
        QCOMPARE(sop28->keyNumber[3], 7);
    }

    void choosingTheShownPackageAgainKeepsTheMap()
    {
        MainWindow window(testsupport::fastClock());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(chooseKey(shownPackage(window), 0, 2));
        child<QComboBox>(window, "mcuTypeCBox")->setCurrentIndex(0);
        QCOMPARE(package(window, "Mwidget28")->keyNumber[0], 2);
        QCOMPARE(package(window, "Mwidget28")->inUseCount, 1);
    }

    // Readers take the widgets' values at the moment of use.
    void readersFollowTheWidgets()
    {
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        w.lineEdit->setText(QStringLiteral("abc"));
        QCOMPARE(page.entryTimeSeconds(), 0);
        QVERIFY(page.entryTimeFits());
        w.lineEdit->setText(QStringLiteral("65536"));
        QCOMPARE(page.entryTimeSeconds(), 65536);
        // A value from a file is shown as it is, and generation is refused for it.
        for (const char *outside : {"65536", "-1", " 99999999999"}) {
            w.lineEdit->setText(QLatin1String(outside));
            QVERIFY2(!page.entryTimeFits(), outside);
        }
        w.lineEdit->setText(QStringLiteral("65535"));
        QVERIFY(page.entryTimeFits());
        // Typed by hand, no more than two bytes get in.
        w.lineEdit->clear();
        QTest::keyClicks(w.lineEdit, QStringLiteral("-70000"));
        QCOMPARE(w.lineEdit->text(), QStringLiteral("7000"));
        w.lineEdit->clear();
        QTest::keyClicks(w.lineEdit, QStringLiteral("65536"));
        QCOMPARE(w.lineEdit->text(), QStringLiteral("6553"));
        w.keyCountCBox->setCurrentIndex(7);
        QCOMPARE(page.wakeTimeIndex(), 7);
        w.lowpower_cBox->setChecked(true);
        QVERIFY(page.lowPower());
        w.proPathLineEdit->setText(QStringLiteral("E:/proj"));
        w.proNameLineEdit->setText(QStringLiteral("panel"));
        QCOMPARE(page.projectFilePath(), QStringLiteral("E:/proj/panel.ini"));

        w.mcuTypeCBox->setCurrentIndex(1);
        QCOMPARE(page.currentPackage(), w.packages[1]);
        QCOMPARE(page.packageOfCurrentText(), w.packages[1]);
        std::array<int, 25> inUse{};
        std::array<int, 25> keys{};
        inUse[3] = 1;
        inUse[14] = 1;
        w.packages[1]->applyLoadedMap(inUse, keys);
        for (int channel : {3, 6, 14}) {
            w.wpChbox[channel]->setEnabled(true);
            w.wpChbox[channel]->setChecked(true);
        }
        QVERIFY(page.wakeKeyTicked(6));
        QVERIFY(!page.wakeKeyTicked(25));
        QCOMPARE(page.packageForText(QStringLiteral("RM3KV5172_SOP99")), nullptr);
    }

    // What a user does on the settings page survives closing the tool with the board attached
    // and loading the file into a fresh window.
    void closedProjectLoadsBackIdentically()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        {
            MainWindow window(testsupport::fastClock());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            child<QLineEdit>(window, "proPathLineEdit")->setText(dir.path());
            child<QLineEdit>(window, "proNameLineEdit")->setText(QStringLiteral("面板"));
            child<QComboBox>(window, "mcuTypeCBox")->setCurrentIndex(2);
            QVERIFY(chooseKey(shownPackage(window), 9, 7));
            QVERIFY(chooseKey(shownPackage(window), 22, 13));
            QVERIFY(chooseKey(shownPackage(window), 0, 1));
            child<QCheckBox>(window, "lowpower_cBox")->setChecked(true);
            child<QComboBox>(window, "keyCountCBox")->setCurrentIndex(1);
            child<QLineEdit>(window, "lineEdit")->setText(QStringLiteral("600"));
            QTRY_VERIFY(wakeBox(window, 22)->isEnabled());
            wakeBox(window, 22)->setChecked(true);
            QTRY_COMPARE_WITH_TIMEOUT(child<QComboBox>(window, "keyCBox")->currentText(),
                                      QStringLiteral("3"), 800);
            QVERIFY(window.close());
        }
        const QString file = dir.filePath(QStringLiteral("面板.ini"));
        QVERIFY(QFile::exists(file));
        QSettings ini(file, QSettings::IniFormat);
        QStringList keys = ini.allKeys();
        QCOMPARE(keys.size(), 16 + 3 * 25 + 1);

        MainWindow window(testsupport::fastClock());
        UiScript script;
        script.answerFileDialog(file);
        QTest::mouseClick(child<QPushButton>(window, "openProBtn"), Qt::LeftButton);
        QTRY_VERIFY(script.finished());
        QCOMPARE(child<QLineEdit>(window, "proPathLineEdit")->text(), dir.path());
        QCOMPARE(child<QLineEdit>(window, "proNameLineEdit")->text(), QStringLiteral("面板"));
        QCOMPARE(child<QComboBox>(window, "mcuTypeCBox")->currentText(),
                 QStringLiteral("RM3KV5172_SOP16"));
        PackageWidget *sop16 = shownPackage(window);
        QCOMPARE(sop16, package(window, "Mwidget16"));
        QCOMPARE(sop16->inUseCount, 3);
        QCOMPARE(sop16->keyNumber[9], 7);
        QCOMPARE(sop16->keyNumber[22], 13);
        QCOMPARE(sop16->keyNumber[0], 1);
        QCOMPARE(sop16->keyLabel(22)->text(), QStringLiteral("key13"));
        QVERIFY(child<QCheckBox>(window, "lowpower_cBox")->isChecked());
        QCOMPARE(child<QComboBox>(window, "keyCountCBox")->currentText(), QStringLiteral("8ms"));
        QCOMPARE(child<QLineEdit>(window, "lineEdit")->text(), QStringLiteral("600"));
        QCOMPARE(child<QComboBox>(window, "keyCBox")->currentText(), QStringLiteral("3"));
        for (int n = 0; n < 25; ++n)
            QCOMPARE(wakeBox(window, n)->isChecked(), n == 22);
        QTest::qWait(1100);
        QVERIFY(wakeBox(window, 22)->isChecked());
        QVERIFY(wakeBox(window, 9)->isEnabled());
    }
};

QTEST_MAIN(TestSettingsPage)
#include "tst_settingspage.moc"
