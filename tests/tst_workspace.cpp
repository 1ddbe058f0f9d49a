#include "app/mainwindow.h"
#include "project/recentprojects.h"

#include "testsupport.h"
#include "uiscript.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>
#include <QtTest>

class TestWorkspace : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    static QPushButton *button(MainWindow &window, const char *name)
    {
        return window.findChild<QPushButton *>(name);
    }

    static QLineEdit *pathField(MainWindow &window)
    {
        return window.findChild<QLineEdit *>("proPathLineEdit");
    }

    static QLineEdit *nameField(MainWindow &window)
    {
        return window.findChild<QLineEdit *>("proNameLineEdit");
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        QVERIFY(dir.isValid());
        // The recent projects are kept per user; these tests keep theirs here.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath("user"));
    }

    void projectPathStartsBesideTheExecutable()
    {
        MainWindow window(testsupport::fastClock());
        QCOMPARE(pathField(window)->text(),
                 QCoreApplication::applicationDirPath() + "/app_Project");
        QCOMPARE(nameField(window)->text(), QStringLiteral("touchProName"));
    }

    void chosenFolderBecomesTheProjectPath()
    {
        MainWindow window(testsupport::fastClock());
        UiScript script;
        script.answerFileDialog(dir.path());
        QTest::mouseClick(button(window, "browseBtn"), Qt::LeftButton);
        QTRY_VERIFY(script.finished());
        QCOMPARE(script.dialogCaptions, QStringList{QStringLiteral("选择路径")});
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        const QString start = QDir(desktop).exists() ? desktop : QDir::homePath();
        QCOMPARE(script.dialogFolders, QStringList{QDir(start).absolutePath()});
        QVERIFY(script.dialogOptions.value(0) & QFileDialog::ShowDirsOnly);
        QCOMPARE(pathField(window)->text(), dir.path());
        QVERIFY(script.messages.isEmpty());
    }

    void cancelledFolderDialogKeepsThePath()
    {
        MainWindow window(testsupport::fastClock());
        pathField(window)->setText(QStringLiteral("E:/proj"));
        UiScript script;
        script.answerFileDialog(QString());
        script.acceptMessage();
        QTest::mouseClick(button(window, "browseBtn"), Qt::LeftButton);
        QTRY_VERIFY(script.finished());
        QCOMPARE(script.messages, QStringList{QStringLiteral("请选择项目文件存放路径！")});
        QCOMPARE(script.messageTitles, QStringList{QStringLiteral("提示")});
        QCOMPARE(pathField(window)->text(), QStringLiteral("E:/proj"));
    }

    // The opened file is the project: its folder and name fill the fields, whatever folder and
    // name it was stored with, so the next save goes back to it.
    void openedProjectIsTheFileThatWasOpened()
    {
        QVERIFY(QDir().mkpath(dir.filePath("copy of")));
        const QString file = dir.filePath("copy of/a.b.ini");
        testsupport::writeBytes(file, "[1]\n1=panel\n2=E:/proj\n");
        MainWindow window(testsupport::fastClock());
        pathField(window)->setText(dir.path());
        UiScript script;
        script.answerFileDialog(file);
        QTest::mouseClick(button(window, "openProBtn"), Qt::LeftButton);
        QTRY_VERIFY(script.finished());
        QCOMPARE(script.dialogCaptions, QStringList{QStringLiteral("Open File")});
        // The dialog opens in the project's folder, not the working directory.
        QCOMPARE(script.dialogFolders, QStringList{dir.path()});
        QCOMPARE(script.dialogFilters, QStringList{QStringLiteral("ini(*.ini)")});
        QVERIFY(script.dialogOptions.value(0) & QFileDialog::DontResolveSymlinks);
        QVERIFY(script.messages.isEmpty());
        QCOMPARE(nameField(window)->text(), QStringLiteral("a.b"));
        QCOMPARE(pathField(window)->text(), dir.filePath("copy of"));
        QVERIFY(window.close());
        QSettings saved(file, QSettings::IniFormat);
        QCOMPARE(saved.value("/1/1").toString(), QStringLiteral("a.b"));
        QCOMPARE(saved.value("/1/2").toString(), dir.filePath("copy of"));
        QVERIFY(!QFile::exists(dir.filePath("copy of/panel.ini")));
    }

    // Key numbers the firmware cannot carry are told once, when the project is opened.
    void openedProjectWithKeyNumberZeroOrSharedWarnsOnce()
    {
        const QString file = dir.filePath("keys.ini");
        testsupport::writeBytes(
            file, "[2]\n1=RM3KV5172_SOP28\n[10]\n2=1\n4=1\n6=1\n[11]\n2=3\n4=0\n6=3\n");
        MainWindow window;
        UiScript script;
        script.answerFileDialog(file);
        script.acceptMessage();
        QTest::mouseClick(button(window, "openProBtn"), Qt::LeftButton);
        QTRY_VERIFY(script.finished());
        QCOMPARE(script.messages,
                 QStringList{QStringLiteral("以下通道没有按键号：TK4\n"
                                            "以下通道的按键号重复：TK2、TK6（按键 3）")});
        QCOMPARE(script.messageTitles, QStringList{QStringLiteral("提示")});
    }

    // The last five projects opened or saved, newest first and each once; the side menu loads
    // one as "载入" would, and one that is gone is said to be gone and dropped. Nothing loads by
    // itself at start.
    void recentProjectsAreAtHand()
    {
        RecentProjects recent;
        for (const char *name : {"a", "b", "c", "d", "e", "f"})
            recent.add(dir.filePath(QStringLiteral("r/%1.ini").arg(name)));
        recent.add(dir.filePath("r/x/../c.ini"));
        const auto named = [this](std::initializer_list<const char *> names) {
            QStringList paths;
            for (const char *name : names)
                paths << QDir::cleanPath(dir.filePath(QStringLiteral("r/%1.ini").arg(name)));
            return paths;
        };
        QCOMPARE(recent.paths(), named({"c", "f", "e", "d", "b"}));

        testsupport::writeBytes(dir.filePath("r/f.ini"), "[1]\n1=f\n[7]\n1=1800\n2=2400\n");
        MainWindow window(testsupport::fastClock());
        QCOMPARE(nameField(window)->text(), QStringLiteral("touchProName"));
        const auto choose = [&window](UiScript &script, const QString &entry, bool box) {
            script.chooseMenuEntry(entry);
            if (box)
                script.acceptMessage();
            QTest::mouseClick(button(window, "recentProjectsBtn"), Qt::LeftButton);
            QVERIFY(testsupport::waitUntil([&script] { return script.finished(); }, 5000));
        };
        const QString folder = QDir::toNativeSeparators(QDir::cleanPath(dir.filePath("r")));
        UiScript opened;
        choose(opened, QStringLiteral("f    ") + folder, false);
        QCOMPARE(opened.menuEntries.value(0).size(), 7);
        QCOMPARE(opened.menuEntries.value(0).value(0), QStringLiteral("最近的工程"));
        QCOMPARE(nameField(window)->text(), QStringLiteral("f"));
        QCOMPARE(pathField(window)->text(), QDir::cleanPath(dir.filePath("r")));
        const auto *view = window.findChild<QtCharts::QChartView *>("chartView");
        const auto *y = qobject_cast<QtCharts::QValueAxis *>(view->chart()->axes(Qt::Vertical)[0]);
        QCOMPARE(y->min(), 1800.0);
        QCOMPARE(y->max(), 2400.0);
        QCOMPARE(recent.paths(), named({"f", "c", "e", "d", "b"}));

        UiScript gone;
        choose(gone, QStringLiteral("e    ") + folder, true);
        QCOMPARE(gone.messages, QStringList{QStringLiteral("工程文件已不存在：") +
                                            QDir::toNativeSeparators(named({"e"})[0])});
        QCOMPARE(nameField(window)->text(), QStringLiteral("f"));
        QCOMPARE(recent.paths(), named({"f", "c", "d", "b"}));
        // A project saved elsewhere is the newest.
        pathField(window)->setText(dir.filePath("saved"));
        QVERIFY(window.close());
        QCOMPARE(recent.paths().value(0), QDir::cleanPath(dir.filePath("saved/f.ini")));
    }

    // A cancelled dialog changes nothing, as the folder dialog does.
    void cancelledOpenDialogKeepsThePath()
    {
        MainWindow window(testsupport::fastClock());
        pathField(window)->setText(dir.path());
        UiScript script;
        script.answerFileDialog(QString());
        script.acceptMessage();
        QTest::mouseClick(button(window, "openProBtn"), Qt::LeftButton);
        QTRY_VERIFY(script.finished());
        QCOMPARE(script.messages, QStringList{QStringLiteral("请选中要打开的文件！")});
        QCOMPARE(pathField(window)->text(), dir.path());
        QCOMPARE(nameField(window)->text(), QStringLiteral("touchProName"));
    }
};

QTEST_MAIN(TestWorkspace)
#include "tst_workspace.moc"
