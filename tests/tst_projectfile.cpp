#include "app/mainwindow.h"
#include "codegen/sourcegenerator.h"
#include "modalhelper.h"
#include "project/packagewidget.h"
#include "project/projectfile.h"
#include "project/settingspage.h"
#include "project/stackedpinmap.h"
#include "quality/keysettingsstore.h"

#include "modalhelper.h"
#include "settingswidgets.h"
#include "sim/simboard.h"
#include "testsupport.h"
#include "uiscript.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <limits>

namespace
{
QStringList linesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

void setRow(QTableWidget *table, int row, const QStringList &cells)
{
    for (int column = 0; column < cells.size(); ++column) {
        if (!cells.at(column).isNull())
            table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
}

// One channel section as the settings facility orders it: entries sorted as text.
QStringList section(const QString &name, const QString &value, const QMap<int, QString> &others)
{
    QStringList entries;
    for (int n = 0; n < 25; ++n)
        entries << QString::number(n);
    entries.sort();
    QStringList lines = {"[" + name + "]"};
    for (const QString &entry : entries)
        lines << entry + "=" + others.value(entry.toInt(), value);
    return lines;
}

QStringList rowOf(QTableWidget *table, int row)
{
    QStringList cells;
    for (int column = 0; column < 6; ++column) {
        const QTableWidgetItem *item = table->item(row, column);
        cells << (item ? item->text() : QStringLiteral("<none>"));
    }
    return cells;
}
} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        QVERIFY(dir.isValid());
    }

    void saveWritesEveryKey()
    {
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        w.proPathLineEdit->setText(dir.path());
        w.proNameLineEdit->setText(QStringLiteral("面板a b"));
        w.mcuTypeCBox->setCurrentIndex(1);
        PackageWidget *sop20 = w.packages[1];
        std::array<int, 25> inUse{};
        std::array<int, 25> keys{};
        inUse[13] = 1;
        keys[13] = 2;
        inUse[22] = 1;
        keys[22] = 17;
        inUse[0] = 1;
        sop20->applyLoadedMap(inUse, keys);
        w.keyCBox->setCurrentIndex(3);
        w.lineEdit->setText(QStringLiteral("300"));
        w.lowpower_cBox->setChecked(true);
        w.keyCountCBox->setCurrentIndex(3);
        w.middleRBtn->setChecked(true);
        w.startValueCBox->setCurrentText(QStringLiteral("1800"));
        w.wpChbox[13]->setEnabled(true);
        w.wpChbox[13]->setChecked(true);
        QVERIFY(w.tableWidget->rowCount() >= 4);
        setRow(w.tableWidget, 0, {"TK13", "2010", "2190", "2015", "13", "2"});
        // A channel measured without its waterproof test is kept, its missing cells empty.
        setRow(w.tableWidget, 1, {"TK22", "2000"});
        setRow(w.tableWidget, 3, {"TK22", QString(), "2200", QString(), "22", "17"});

        QVERIFY(ProjectFile(page).save());

        const QString endText = w.endValueCBox->currentText();
        QStringList expected = {"[1]", "1=\\x9762\\x677f\\x61 b", "2=" + dir.path()};
        expected << section("10", "0", {{0, "1"}, {13, "1"}, {22, "1"}});
        expected << section("11", "0", {{13, "2"}, {22, "17"}});
        expected << section("12", "false", {{13, "true"}});
        expected << QStringList{"[2]",
                                "1=RM3KV5172_SOP20",
                                "[20]",
                                "0=3",
                                "1=TK13:2010:2190:2015:13:2",
                                "2=TK22:2000::::",
                                "3=TK22::2200::22:17",
                                "[3]",
                                "1=3",
                                "2=0",
                                "3=0",
                                "[4]",
                                "1=300",
                                "2=true",
                                "[5]",
                                "1=32ms",
                                "2=0",
                                "3=0",
                                "[6]",
                                "1=false",
                                "2=true",
                                "3=false",
                                "[7]",
                                "1=1800",
                                "2=" + endText};
        QCOMPARE(linesOf(page.projectFilePath()), expected);
    }

    // Channels without a SOP16 pin are written as "0" like every other free channel.
    void sop16SaveWritesAll25Pairs()
    {
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        w.proPathLineEdit->setText(dir.path());
        w.proNameLineEdit->setText(QStringLiteral("sop16"));
        w.mcuTypeCBox->setCurrentIndex(2);
        PackageWidget *sop16 = w.packages[2];
        std::array<int, 25> inUse{};
        std::array<int, 25> keys{};
        int key = 0;
        for (int channel : sop16->pinChannels()) {
            inUse[channel] = 1;
            keys[channel] = ++key;
        }
        sop16->applyLoadedMap(inUse, keys);
        QVERIFY(ProjectFile(page).save());

        QSettings ini(page.projectFilePath(), QSettings::IniFormat);
        const QList<int> noPin = {2, 3, 4, 6, 7, 10, 11, 15, 16, 17, 23, 24};
        key = 0;
        for (int n = 0; n < 25; ++n) {
            const QString flag = ini.value(QStringLiteral("/10/%1").arg(n)).toString();
            const QString number = ini.value(QStringLiteral("/11/%1").arg(n)).toString();
            if (noPin.contains(n)) {
                QCOMPARE(flag, QStringLiteral("0"));
                QCOMPARE(number, QStringLiteral("0"));
            } else {
                QCOMPARE(flag, QStringLiteral("1"));
                QCOMPARE(number, QString::number(++key));
            }
        }
        QCOMPARE(ini.value("/20/0").toString(), QStringLiteral("0"));
    }

    void roundTripRestoresTheSettingsPage_data()
    {
        QTest::addColumn<int>("package");
        QTest::addColumn<int>("channelA");
        QTest::addColumn<int>("channelB");
        QTest::newRow("SOP28") << 0 << 24 << 6;
        QTest::newRow("SOP20") << 1 << 22 << 3;
        QTest::newRow("SOP16") << 2 << 9 << 1;
    }
    void roundTripRestoresTheSettingsPage()
    {
        QFETCH(int, package);
        QFETCH(int, channelA);
        QFETCH(int, channelB);
        const QString name = QStringLiteral("round%1").arg(package);
        {
            MainWindow window(testsupport::fastClock());
            SettingsWidgets w = widgetsOf(window);
            SettingsPage page(w);
            w.proPathLineEdit->setText(dir.path());
            w.proNameLineEdit->setText(name);
            w.mcuTypeCBox->setCurrentIndex(package);
            std::array<int, 25> inUse{};
            std::array<int, 25> keys{};
            inUse[channelA] = 1;
            keys[channelA] = 7;
            inUse[channelB] = 1;
            keys[channelB] = 1;
            w.packages[package]->applyLoadedMap(inUse, keys);
            w.keyCBox->setCurrentIndex(2);
            w.lineEdit->setText(QStringLiteral("65535"));
            w.lowpower_cBox->setChecked(true);
            w.keyCountCBox->setCurrentIndex(7);
            w.highRBtn->setChecked(true);
            w.startValueCBox->setCurrentText(QStringLiteral("500"));
            w.wpChbox[channelA]->setChecked(true);
            setRow(w.tableWidget, 0,
                   {"TK" + QString::number(channelA), "2010", "2190", "2015",
                    QString::number(channelA), "7"});
            setRow(w.tableWidget, 1,
                   {"TK" + QString::number(channelB), "1990", "2300", "", QString::number(channelB),
                    "1"});
            QVERIFY(ProjectFile(page).save());
        }
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        ProjectFile(page).load(dir.filePath(name + ".ini"));

        QCOMPARE(w.proNameLineEdit->text(), name);
        QCOMPARE(w.proPathLineEdit->text(), dir.path());
        QCOMPARE(w.mcuTypeCBox->currentIndex(), package);
        QCOMPARE(w.packageStackedWidget->currentIndex(), package);
        QCOMPARE(w.keyCBox->currentText(), QStringLiteral("2"));
        QCOMPARE(w.lineEdit->text(), QStringLiteral("65535"));
        QVERIFY(w.lowpower_cBox->isChecked());
        QCOMPARE(w.keyCountCBox->currentText(), QStringLiteral("2048ms"));
        QVERIFY(w.highRBtn->isChecked());
        QVERIFY(!w.lowRBtn->isChecked());
        QCOMPARE(w.startValueCBox->currentText(), QStringLiteral("500"));
        for (int n = 0; n < 25; ++n) {
            QCOMPARE(w.wpChbox[n]->isChecked(), n == channelA);
            QCOMPARE(w.wpChbox[n]->isEnabled(), n == channelA);
        }
        PackageWidget *map = page.currentPackage();
        QCOMPARE(map, w.packages[package]);
        QCOMPARE(map->inUseCount, 2);
        for (int n = 0; n < 25; ++n) {
            QCOMPARE(map->channelInUse[n], int(n == channelA || n == channelB));
            QCOMPARE(map->keyNumber[n], n == channelA ? 7 : n == channelB ? 1 : 0);
        }
        QCOMPARE(map->keyLabel(channelA)->text(), QStringLiteral("key7"));
        QCOMPARE(map->keyLabel(channelB)->text(), QStringLiteral("key1"));
        QVERIFY(map->keyTaken[6] && map->keyTaken[0]);
        QCOMPARE(int(std::count(map->keyTaken.cbegin(), map->keyTaken.cend(), true)), 2);
        QCOMPARE(rowOf(w.tableWidget, 0),
                 (QStringList{"TK" + QString::number(channelA), "2010", "2190", "2015",
                              QString::number(channelA), "7"}));
        QCOMPARE(rowOf(w.tableWidget, 1),
                 (QStringList{"TK" + QString::number(channelB), "1990", "2300", "",
                              QString::number(channelB), "1"}));
        QCOMPARE(w.tableWidget->item(0, 0)->textAlignment(), int(Qt::AlignCenter));
        QCOMPARE(w.tableWidget->item(2, 5), nullptr);
    }

    // Missing keys: texts empty, boxes unchecked, combo boxes and radio buttons as they were,
    // the map empty, no result rows.
    void missingKeysLoadAsEmpty()
    {
        const QString path = dir.filePath("sparse.ini");
        QVERIFY(writeFile(path, "[2]\n1=RM3KV5172_SOP28\n"));
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        PackageWidget *sop28 = w.packages[0];
        std::array<int, 25> inUse{};
        std::array<int, 25> keys{};
        inUse[4] = 1;
        keys[4] = 9;
        sop28->applyLoadedMap(inUse, keys);
        w.lowpower_cBox->setChecked(true);
        w.wpChbox[4]->setEnabled(true);
        w.wpChbox[4]->setChecked(true);
        w.keyCountCBox->setCurrentIndex(2);
        w.lowRBtn->setChecked(true);
        const QString endText = w.endValueCBox->currentText();

        ProjectFile(page).load(path);
        QCOMPARE(w.proNameLineEdit->text(), QString());
        QCOMPARE(w.proPathLineEdit->text(), QString());
        QCOMPARE(w.lineEdit->text(), QString());
        QVERIFY(!w.lowpower_cBox->isChecked());
        QVERIFY(!w.wpChbox[4]->isChecked());
        QVERIFY(!w.wpChbox[4]->isEnabled());
        QCOMPARE(w.keyCountCBox->currentIndex(), 2);
        QVERIFY(w.lowRBtn->isChecked());
        QCOMPARE(w.endValueCBox->currentText(), endText);
        QCOMPARE(sop28->channelInUse[4], 0);
        QCOMPARE(sop28->keyNumber[4], 0);
        QCOMPARE(sop28->inUseCount, 0);
        QVERIFY(!sop28->keyTaken[8]);
        QCOMPARE(sop28->keyLabel(4)->text(), QString());
        QCOMPARE(w.tableWidget->item(0, 0), nullptr);
    }

    void strayValuesLoadWithinBounds()
    {
        const QString path = dir.filePath("stray.ini");
        QVERIFY(writeFile(path, "[2]\n1=RM3KV5172_SOP16\n"
                                "[6]\n1=false\n2=true\n3=true\n"
                                "[10]\n0=2\n1=1\n2=1\n5=abc\n"
                                "[11]\n0=3\n1=99\n2=4\n"
                                "[12]\n0=TRUE\n1=istrue\n"
                                "[20]\n0=100000\n1=TK1:2:3\n2=TK5:10:20:30:5:2:x\n"
                                "3=\"TK8:1:2:3:8:4\"\n4=\n"));
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        ModalHelper boxes;
        ProjectFile(page).load(path);

        QCOMPARE(boxes.texts(),
                 QStringList{QStringLiteral("TK1 的按键号不在 1～13 之内，不作唤醒按键！")});
        QCOMPARE(page.currentPackage(), w.packages[2]);
        PackageWidget *map = w.packages[2];
        QCOMPARE(map->channelInUse[0], 2);
        QCOMPARE(map->keyNumber[0], 3);
        QCOMPARE(map->channelInUse[1], 1);
        QCOMPARE(map->keyNumber[1], 99);
        QCOMPARE(map->channelInUse[2], 0); // no SOP16 pin
        QCOMPARE(map->channelInUse[5], 0);
        QCOMPARE(map->inUseCount, 1);
        QCOMPARE(map->keyLabel(0)->text(), QString());
        QCOMPARE(map->keyLabel(1)->text(), QStringLiteral("key99"));
        QVERIFY(!map->keyTaken[2]);
        // The last button stored as "true" wins.
        QVERIFY(w.highRBtn->isChecked());
        // Booleans are the lower-case word, anywhere in the text.
        QVERIFY(!w.wpChbox[0]->isChecked());
        QVERIFY(w.wpChbox[1]->isChecked());
        // Short rows fill the missing cells with empty text; a ":" in a cell shifts the rest.
        QCOMPARE(rowOf(w.tableWidget, 0), (QStringList{"TK1", "2", "3", "", "", ""}));
        QCOMPARE(rowOf(w.tableWidget, 1), (QStringList{"TK5", "10", "20", "30", "5", "2"}));
        QCOMPARE(rowOf(w.tableWidget, 2), (QStringList{"TK8", "1", "2", "3", "8", "4"}));
        QCOMPARE(rowOf(w.tableWidget, 3), (QStringList{"", "", "", "", "", ""}));
        // The count in the file is far beyond the table: only the table's rows are filled.
        const int last = w.tableWidget->rowCount() - 1;
        QCOMPARE(rowOf(w.tableWidget, last), (QStringList{"", "", "", "", "", ""}));
    }

    // Key numbers the package does not offer are kept as stored, named in one warning per load,
    // and wake nothing, however far out of range they are.
    void keysThePackageDoesNotOfferAreKeptWarnedAndWakeNothing()
    {
        const QString path = dir.filePath("foreign.ini");
        QVERIFY(writeFile(path, "[2]\n1=RM3KV5172_SOP20\n"
                                "[10]\n0=1\n1=1\n2=1\n3=1\n4=0\n"
                                "[11]\n0=-2147483648\n1=18\n2=17\n3=2\n4=99\n"
                                "[12]\n0=true\n1=true\n2=true\n3=true\n"));
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        ModalHelper boxes;
        for (int load = 1; load <= 2; ++load) {
            ProjectFile(page).load(path);
            QCOMPARE(boxes.count(), load);
        }
        QCOMPARE(boxes.titles().first(), QStringLiteral("提示"));
        QCOMPARE(boxes.lastText(),
                 QStringLiteral("TK0、TK1、TK4 的按键号不在 1～17 之内，不作唤醒按键！"));
        PackageWidget *sop20 = page.currentPackage();
        QCOMPARE(sop20, w.packages[1]);
        QCOMPARE(sop20->keyNumber[0], std::numeric_limits<int>::min());
        QCOMPARE(sop20->keyNumber[1], 18);
        QCOMPARE(sop20->keyNumber[4], 99);
        bool wake[25] = {};
        for (int n = 0; n < 25; ++n)
            wake[n] = page.wakeKeyTicked(n);
        const StackedPinMap pins(w.packageStackedWidget);
        QCOMPARE(SourceGenerator::wakeKeyMask(pins, wake), (quint32(1) << 16) | (quint32(1) << 1));
    }

    void savedCellWithColonShiftsItsRowOnLoad()
    {
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        w.proPathLineEdit->setText(dir.path());
        w.proNameLineEdit->setText(QStringLiteral("colon"));
        setRow(w.tableWidget, 0, {"TK0", "20:10", "2190", "2015", "0", "1"});
        QVERIFY(ProjectFile(page).save());
        w.tableWidget->clearContents();
        ProjectFile(page).load(page.projectFilePath());
        QCOMPARE(rowOf(w.tableWidget, 0), (QStringList{"TK0", "20", "10", "2190", "2015", "0"}));
    }

    // The stored package is the one shown: no reset, the stored map replaces the shown one,
    // with no stale key label left from it.
    void loadingTheShownPackageReplacesItsMap()
    {
        const QString path = dir.filePath("same.ini");
        QVERIFY(writeFile(path, "[2]\n1=RM3KV5172_SOP28\n[10]\n3=1\n[11]\n3=5\n"));
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        QSignalSpy packageChanges(w.mcuTypeCBox, SIGNAL(currentIndexChanged(int)));
        PackageWidget *sop28 = w.packages[0];
        std::array<int, 25> inUse{};
        std::array<int, 25> keys{};
        inUse[2] = 1;
        keys[2] = 5;
        sop28->applyLoadedMap(inUse, keys);
        ProjectFile(page).load(path);
        QCOMPARE(packageChanges.count(), 0);
        QCOMPARE(sop28->channelInUse[2], 0);
        QCOMPARE(sop28->keyLabel(2)->text(), QString());
        QCOMPARE(sop28->keyNumber[3], 5);
        QCOMPARE(sop28->keyLabel(3)->text(), QStringLiteral("key5"));
        QCOMPARE(sop28->inUseCount, 1);
        QVERIFY(sop28->keyTaken[4]);
    }

    // The stored package differs: its widget is reset by the package change, then loaded.
    void loadingAnotherPackageSwitchesPages()
    {
        const QString path = dir.filePath("other.ini");
        QVERIFY(writeFile(path, "[2]\n1=RM3KV5172_SOP20\n[10]\n8=1\n[11]\n8=2\n"));
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        std::array<int, 25> inUse{};
        std::array<int, 25> keys{};
        inUse[9] = 1;
        keys[9] = 2;
        w.packages[1]->applyLoadedMap(inUse, keys);
        ProjectFile(page).load(path);
        QCOMPARE(w.packageStackedWidget->currentIndex(), 1);
        PackageWidget *sop20 = page.currentPackage();
        QCOMPARE(sop20, w.packages[1]);
        QCOMPARE(sop20->channelInUse[9], 0);
        QCOMPARE(sop20->keyLabel(9)->text(), QString());
        QCOMPARE(sop20->keyNumber[8], 2);
        QCOMPARE(sop20->inUseCount, 1);
    }

    // Project A, then a copy of project B kept in another folder than the one it names: the
    // table holds B's row only, a re-test of B's channel lands in that row, and after the cable
    // is pulled, closing saves everything into the copy that was opened.
    void resultsBelongToTheProjectThatWasOpened()
    {
        SimBoard::reset();
        SimBoard::setNoise(0);
        SimBoard::setDataInterval(1);
        QTemporaryDir root;
        const QString a = root.filePath("a/A.ini");
        const QString b = root.filePath("copy of b/B.ini");
        QVERIFY(QDir().mkpath(root.filePath("a")) && QDir().mkpath(root.filePath("copy of b")));
        QVERIFY(writeFile(a, "[2]\n1=RM3KV5172_SOP28\n[10]\n0=1\n1=1\n2=1\n[11]\n0=1\n1=2\n2=3\n"
                             "[20]\n0=3\n1=TK0:1:2:3:0:1\n2=TK1:1:2:3:1:2\n3=TK2:1:2:3:2:3\n"));
        QVERIFY(writeFile(b, "[1]\n1=B\n2=" + root.filePath("elsewhere").toUtf8() +
                                 "\n[2]\n1=RM3KV5172_SOP28\n[10]\n3=1\n[11]\n3=1\n"
                                 "[20]\n0=1\n1=TK3:1:2:2039:3:1\n"));
        MainWindow window(testsupport::fastClock());
        window.show();
        SimBoard::setHotplugTarget(window.findChild<QObject *>(QStringLiteral("deviceNotifier")));
        for (const QString &file : {a, b}) {
            UiScript script;
            script.answerFileDialog(file);
            QTest::mouseClick(window.findChild<QPushButton *>("openProBtn"), Qt::LeftButton);
            QTRY_VERIFY(script.finished());
        }
        QTableWidget *table = window.findChild<QTableWidget *>("tableWidget");
        QCOMPARE(rowOf(table, 0), (QStringList{"TK3", "1", "2", "2039", "3", "1"}));
        QCOMPARE(rowOf(table, 1).join(""), QStringLiteral("<none>").repeated(6));

        window.findChild<QTabWidget *>("setDebugTWidget")->setCurrentIndex(1);
        auto *log = window.findChild<QPlainTextEdit *>("plainTextEdit");
        QTimer finger;
        connect(&finger, &QTimer::timeout, [&] {
            SimBoard::setFinger(3, log->toPlainText().contains(QStringLiteral("请按TK3")));
        });
        finger.start(20);
        ModalHelper boxes;
        QTest::mouseClick(window.findChild<QPushButton *>("btnTk3"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(rowOf(table, 0).at(1) != QLatin1String("1"), 40000);
        finger.stop();
        const QString noTouch = QString::number(SimBoard::baseline(3));
        const QString touch = QString::number(SimBoard::baseline(3) + SimBoard::kFingerRise);
        QCOMPARE(rowOf(table, 0), (QStringList{"TK3", noTouch, touch, "2039", "3", "1"}));

        SimBoard::unplug();
        QTRY_COMPARE(window.findChild<QLabel *>("usbStateLabel")->text(),
                     QStringLiteral("调试器已断开"));
        QVERIFY(window.close());
        SimBoard::setHotplugTarget(nullptr);
        QVERIFY(boxes.texts().isEmpty());
        QSettings saved(b, QSettings::IniFormat);
        QCOMPARE(saved.value("/1/2").toString(), root.filePath("copy of b"));
        QCOMPARE(saved.value("/20/0").toString(), QStringLiteral("1"));
        QCOMPARE(saved.value("/20/1").toString(),
                 QStringLiteral("TK3:%1:%2:2039:3:1").arg(noTouch, touch));
        QVERIFY(!QFileInfo::exists(root.filePath("elsewhere")));
        QCOMPARE(QSettings(a, QSettings::IniFormat).value("/20/0").toString(), QStringLiteral("3"));
    }

    // The keys' settings in a section of their own after the sections the tool has always
    // written, which stay as they are: the previous release reads the file as before. A file
    // without the section gives every key the defaults; a key back at the defaults leaves the
    // section; a value out of its range keeps its default and is named.
    void keySettingsSectionBesideTheOthers()
    {
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        w.proPathLineEdit->setText(dir.path());
        w.proNameLineEdit->setText(QStringLiteral("keys"));
        KeySettingsStore store;
        QStringList invalid;
        ProjectFile file(page);
        file.addSection({[&](QSettings &ini) { store.save(ini); },
                         [&](const QSettings &ini) { store.load(ini, &invalid); }});
        const ProjectFile previousRelease(page);
        const QString path = page.projectFilePath();
        QVERIFY(previousRelease.save());
        const QStringList plain = linesOf(path);

        store.set(13, KeySettings{70, 0, 15, 0, false});
        QVERIFY(file.save());
        const QStringList section = {"[KeySettings]",      "TK13\\debounce=15",
                                     "TK13\\hysteresis=0", "TK13\\maxPress=0",
                                     "TK13\\press=70",     "TK13\\waterFloor=false"};
        QCOMPARE(linesOf(path), plain + section);
        ModalHelper boxes;
        w.proNameLineEdit->clear();
        previousRelease.load(path);
        QCOMPARE(w.proNameLineEdit->text(), QStringLiteral("keys"));
        QVERIFY(boxes.texts().isEmpty());

        store.set(13, KeySettings());
        QVERIFY(file.save());
        QCOMPARE(linesOf(path), plain);
        store.set(4, KeySettings{20, 5, 2, 9, true});
        file.load(path);
        QCOMPARE(store.at(4), KeySettings());
        QVERIFY(invalid.isEmpty());

        QVERIFY(writeFile(path, "[KeySettings]\nTK3\\press=95\nTK3\\debounce=2\n"
                                "TK4\\waterFloor=maybe\nTK25\\press=60\n"));
        file.load(path);
        KeySettings three;
        three.debounce = 2;
        QCOMPARE(store.at(3), three);
        QCOMPARE(store.at(4), KeySettings());
        QCOMPARE(invalid, (QStringList{"TK3 按下位置 95", "TK4 防水下限 maybe"}));
    }

    // The sliders and wheels go into a [Sliders] section of their own, their counts into "/3/2"
    // and "/3/3"; a project without any writes the file it always wrote, and a definition the
    // pin map cannot take is left out with a warning.
    void slidersSectionRoundTrips()
    {
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        w.proPathLineEdit->setText(dir.path());
        w.proNameLineEdit->setText(QStringLiteral("sliders"));
        const QString path = page.projectFilePath();
        QVERIFY(ProjectFile(page).save());
        const QStringList plain = linesOf(path);
        QVERIFY(!plain.contains(QStringLiteral("[Sliders]")));

        PackageWidget *map = w.packages[0];
        for (const auto &[kind, channels] :
             {std::pair{SliderDefinition::Kind::Slider, QVector<int>{8, 9, 10, 11}},
              std::pair{SliderDefinition::Kind::Wheel, QVector<int>{12, 13, 14, 15, 16, 17}}}) {
            map->startPicking(kind);
            for (int channel : channels)
                map->pinButton(channel)->click();
            map->stopPicking();
        }
        page.syncKeyCount(0);
        QVERIFY(ProjectFile(page).save());
        const QStringList lines = linesOf(path);
        QVERIFY(lines.contains(QStringLiteral("2=1")) && lines.contains(QStringLiteral("3=1")));
        const int at = lines.indexOf(QStringLiteral("[Sliders]"));
        QVERIFY(at >= 0);
        QCOMPARE(lines.mid(at + 1, 7),
                 (QStringList{"1\\channels=8 9 10 11", "1\\kind=slider", "1\\name=S1",
                              "2\\channels=12 13 14 15 16 17", "2\\kind=wheel",
                              "2\\name=W1", "size=2"}));
        {
            MainWindow reopened(testsupport::fastClock());
            SettingsWidgets r = widgetsOf(reopened);
            SettingsPage again(r);
            ProjectFile(again).load(path);
            const QVector<SliderDefinition> loaded = r.packages[0]->sliders;
            QCOMPARE(loaded.size(), 2);
            QCOMPARE(loaded.at(1).name, QStringLiteral("W1"));
            QCOMPARE(loaded.at(1).channels, (QVector<int>{12, 13, 14, 15, 16, 17}));
            QCOMPARE(r.drawCBox->currentText(), QStringLiteral("1"));
            QCOMPARE(r.wheelCBox->currentText(), QStringLiteral("1"));
            QCOMPARE(r.packages[0]->channelInUse[9], 1);
            QCOMPARE(r.packages[0]->keyNumber[9], 0);
        }
        // A wheel of two channels, one of them a key's, is refused, and so are names the tool
        // does not give (they would reach the firmware's sources), each named; the slider stays.
        QVERIFY(writeFile(path, "[2]\n1=RM3KV5172_SOP28\n[10]\n3=1\n8=1\n9=1\n10=1\n11=1\n"
                                "12=1\n13=1\n[11]\n3=2\n"
                                "[Sliders]\n1\\kind=slider\n1\\name=S1\n1\\channels=8 9\n"
                                "2\\kind=wheel\n2\\name=W1\n2\\channels=3 9\n"
                                "3\\kind=slider\n3\\name=S2 */ #error x /*\n3\\channels=10 11\n"
                                "4\\kind=slider\n4\\name=W3\n4\\channels=12 13\nsize=4\n"));
        ModalHelper boxes;
        ProjectFile(page).load(path);
        QCOMPARE(map->sliders.size(), 1);
        QCOMPARE(map->sliders.at(0).channels, (QVector<int>{8, 9}));
        QCOMPARE(boxes.texts().size(), 1);
        for (const char *name : {"W1", "S2 */ #error x /*", "W3"})
            QVERIFY2(boxes.texts().at(0).contains(QString::fromUtf8(name)), name);

        map->removeSlider(0);
        QVERIFY(ProjectFile(page).saveAs(path));
        QVERIFY(!linesOf(path).contains(QStringLiteral("[Sliders]")));
    }

    // The start-up defaults name the last session's project: a session that opened and changed
    // nothing leaves it and its samples as they were, and a session that saves over it without
    // having opened it keeps the old files under a dated name and says so.
    void closeKeepsAProjectTheSessionDidNotOpen()
    {
        QDir folder(QCoreApplication::applicationDirPath() + "/app_Project");
        for (const QString &old : folder.entryList({"touchProName*"}, QDir::Files))
            QVERIFY(folder.remove(old));
        const QString path = folder.filePath("touchProName.ini");
        const QString samples = folder.filePath("touchProName_samples.csv");
        std::array<int, 25> inUse{};
        std::array<int, 25> keys{};
        inUse[3] = 1;
        keys[3] = 1;
        {
            MainWindow tuned(testsupport::fastClock());
            SettingsWidgets w = widgetsOf(tuned);
            QCOMPARE(QFileInfo(w.proPathLineEdit->text() + "/" + w.proNameLineEdit->text() +
                               ".ini"),
                     QFileInfo(path));
            w.packages[0]->applyLoadedMap(inUse, keys);
            setRow(w.tableWidget, 0, {"TK3", "2010", "2190", "2015", "3", "1"});
            QVERIFY(tuned.close());
        }
        QVERIFY(writeFile(samples, "TK3,notouch,1,2\r\n"));
        QVERIFY(writeFile(folder.filePath("touchProName_evidence.json"), "{}"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray tunedBytes = file.readAll();
        file.close();
        QVERIFY(tunedBytes.contains("TK3:2010"));
        for (int restart = 0; restart < 2; ++restart) {
            MainWindow idle(testsupport::fastClock());
            // The pollers of the key count and the wake boxes, as a session left open runs them.
            if (restart) {
                QVERIFY(QMetaObject::invokeMethod(&idle, "keyTimerOut"));
                QVERIFY(QMetaObject::invokeMethod(&idle, "wpChboxTimeOut"));
            }
            QVERIFY(idle.close());
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), tunedBytes);
        file.close();
        QCOMPARE(QFileInfo(samples).size(), qint64(17));
        QCOMPARE(folder.entryList({"touchProName*"}, QDir::Files).size(), 3);

        MainWindow other(testsupport::fastClock());
        widgetsOf(other).lineEdit->setText(QStringLiteral("120"));
        QVERIFY(other.close());
        const QStringList copies = folder.entryList({"touchProName_2*"}, QDir::Files);
        QCOMPARE(copies.size(), 3);
        const QString copy = folder.filePath(copies.filter(".ini").value(0));
        QFile kept(copy);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), tunedBytes);
        QVERIFY(other.findChild<QPlainTextEdit *>("plainTextEdit")
                    ->toPlainText()
                    .contains(QDir::toNativeSeparators(copy)));
        QCOMPARE(QSettings(path, QSettings::IniFormat).value("4/1").toString(), QString("120"));
    }

    // A project file that cannot be written is named in a box; no half file is left.
    void unwritableProjectFileIsReported()
    {
        QTemporaryDir root;
        MainWindow window(testsupport::fastClock());
        SettingsWidgets w = widgetsOf(window);
        w.proPathLineEdit->setText(root.path());
        // Longer than any file name may be, whoever runs the test.
        w.proNameLineEdit->setText(QString(300, QLatin1Char('n')));
        ModalHelper boxes;
        QVERIFY(window.close());
        const QString path = root.path() + "/" + QString(300, QLatin1Char('n')) + ".ini";
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("文件写入失败：") + path});
        QCOMPARE(boxes.titles(), QStringList{QStringLiteral("提示")});
        QVERIFY(QDir(root.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
};

QTEST_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
