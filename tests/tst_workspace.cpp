#include "app/mainwindow.h"

#include "testsupport.h"
#include "uiscript.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
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
