#include "codegen/buildscript.h"
#include "modalhelper.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

using namespace testsupport;

namespace
{
QByteArray crlf(const QByteArray &text) { return QByteArray(text).replace("\n", "\r\n"); }

const QString kProjectDir = QStringLiteral("C:\\tools\\RM3KV5172_Touch_Test/");
} // namespace

class TestBuildScript : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void scriptLinesAreRewrittenByKind_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("tool, project, build and open lines")
            << crlf("@echo off\nset UV=C:\\Keil_v5\\UV4\\UV4.exe\nset UV_PRO_PATH=.\\old.uvproj\n"
                    "start /b %UV% -j0 -r%UV_PRO_PATH% -o log.txt\nstart /b old open line\n")
            << crlf("@echo off\nset UV=C:\\Keil_v5\\UV4\\UV4.exe\n"
                    "set \"UV_PRO_PATH=C:\\tools\\RM3KV5172_Touch_Test/RM3KV5172.uvproj\"\n"
                    "start \"\" /b \"%UV%\" -j0 -r \"%UV_PRO_PATH%\" -o log.txt\n"
                    "start \"\" /b \"C:\\Keil_v5\\UV4\\UV4.exe\" "
                    "\"C:\\tools\\RM3KV5172_Touch_Test/RM3KV5172.uvproj\"\n");
        // Its own output is read again the same way, and a quoted tool line gives a bare path.
        QTest::newRow("quoted script of this version")
            << crlf("set \"UV=C:\\Program Files\\UV4.exe\"\nset \"UV_PRO_PATH=D:\\a b/x\"\n"
                    "start \"\" /b \"%UV%\" -j0 -r \"%UV_PRO_PATH%\"\nstart \"\" /b \"o\" \"p\"\n")
            << crlf("set \"UV=C:\\Program Files\\UV4.exe\"\n"
                    "set \"UV_PRO_PATH=C:\\tools\\RM3KV5172_Touch_Test/RM3KV5172.uvproj\"\n"
                    "start \"\" /b \"%UV%\" -j0 -r \"%UV_PRO_PATH%\"\n"
                    "start \"\" /b \"C:\\Program Files\\UV4.exe\" "
                    "\"C:\\tools\\RM3KV5172_Touch_Test/RM3KV5172.uvproj\"\n");
        QTest::newRow("no project line: only line ends change")
            << QByteArray("@echo off\necho one\r\necho two")
            << crlf("@echo off\necho one\necho two");
        QTest::newRow("last line a tool line ends with a line end")
            << QByteArray("echo x\r\nset UV=C:\\UV4.exe") << crlf("echo x\nset UV=C:\\UV4.exe\n");
        QTest::newRow("last line ordinary has no line end")
            << QByteArray("set UV=C:\\UV4.exe\r\necho done")
            << crlf("set UV=C:\\UV4.exe\necho done");
        QTest::newRow("open line takes the nearest tool line above")
            << crlf("set UV=A.exe\nstart /b x\nset UV=B.exe=ignored\nstart /b y\n")
            << crlf("set UV=A.exe\nstart \"\" /b \"A.exe\" "
                    "\"C:\\tools\\RM3KV5172_Touch_Test/RM3KV5172.uvproj\"\n"
                    "set UV=B.exe=ignored\nstart \"\" /b \"B.exe\" "
                    "\"C:\\tools\\RM3KV5172_Touch_Test/RM3KV5172.uvproj\"\n");
        QTest::newRow("open line without a tool line has no path")
            << QByteArray("start /b x")
            << crlf("start \"\" /b \"\" \"C:\\tools\\RM3KV5172_Touch_Test/RM3KV5172.uvproj\"\n");
        QTest::newRow("LF-only script keeps its lines")
            << QByteArray("set UV=U.exe\nset UV_PRO_PATH=p\necho end\n")
            << crlf("set UV=U.exe\nset "
                    "\"UV_PRO_PATH=C:\\tools\\RM3KV5172_Touch_Test/RM3KV5172.uvproj\"\necho end\n");
    }
    void scriptLinesAreRewrittenByKind()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, expected);
        const QString path = dir.filePath("config.bat");
        writeBytes(path, script);
        ModalHelper log;
        QVERIFY(BuildScript::writeBuildScript(nullptr, path, kProjectDir));
        QCOMPARE(readBytes(path), expected);
        QVERIFY(log.texts().isEmpty());
    }

    // Under a UTF-8 system encoding, a script with GBK remarks ("你好"), stray bytes and a stray CR
    // before a line end keeps them byte for byte; the tool's own folder name is written in the
    // system's encoding.
    void untouchedScriptBytesSurviveAndThePathIsInTheSystemEncoding()
    {
        const QString path = dir.filePath("gbk.bat");
        writeBytes(path, "rem \xC4\xE3\xBA\xC3\r\r\nset UV=C:\\\xB9\xA4\\UV4.exe\r\n"
                         "set UV_PRO_PATH=x\r\nstart /b old\r\necho \xFF\x80");
        QTextCodec *system = QTextCodec::codecForLocale();
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
        ModalHelper log;
        const bool ok =
            BuildScript::writeBuildScript(nullptr, path, QStringLiteral("C:\\测试\\T/"));
        QTextCodec::setCodecForLocale(system);
        QVERIFY(ok);
        const QByteArray folder = "C:\\" + QStringLiteral("测试").toUtf8() + "\\T/RM3KV5172.uvproj";
        QCOMPARE(readBytes(path).toHex(' '),
                 QByteArray("rem \xC4\xE3\xBA\xC3\r\r\nset UV=C:\\\xB9\xA4\\UV4.exe\r\n"
                            "set \"UV_PRO_PATH=" +
                            folder + "\"\r\nstart \"\" /b \"C:\\\xB9\xA4\\UV4.exe\" \"" + folder +
                            "\"\r\necho \xFF\x80")
                     .toHex(' '));
        QVERIFY(log.texts().isEmpty());
    }

    void missingScriptFailsAndStartsNothing()
    {
        const QString folder = dir.filePath("nothing here") + "/";
        QVERIFY(QDir().mkpath(folder));
        ModalHelper log;
        QObject owner;
        QVERIFY(!BuildScript::runBuildScript(nullptr, &owner, folder, kProjectDir));
        QCOMPARE(log.texts(), QStringList{QStringLiteral("写配置文件失败！")});
        QVERIFY(owner.findChildren<QProcess *>().isEmpty());
        QVERIFY(!QFile::exists(folder + "config.bat"));
    }

    void unwritableScriptIsReportedAndNotRun()
    {
        const QString kernelFile = QStringLiteral("/proc/version");
        if (!QFileInfo(kernelFile).isReadable())
            QSKIP("needs a readable, unwritable system file");
        ModalHelper log;
        QVERIFY(!BuildScript::writeBuildScript(nullptr, kernelFile, kProjectDir));
        QCOMPARE(log.texts(), QStringList{QStringLiteral("写配置文件失败！")});
    }

    void scriptIsStartedThroughWineOnlyWhenItIsThere()
    {
        const QString script = dir.filePath("test folder/config.bat");
        {
            StandInPath path(dir.filePath("with wine"), true);
            const BuildScript::Launch launch = BuildScript::scriptLaunch(script);
            QCOMPARE(launch.program, path.wineProgram());
            QCOMPARE(launch.arguments,
                     (QStringList{"cmd", "/c", BuildScript::pathUnderWine(script)}));
            QVERIFY(launch.throughWine);
            ModalHelper boxes;
            QVERIFY(BuildScript::checkScriptCanRun(nullptr, dir.filePath("test folder")));
            QVERIFY(boxes.texts().isEmpty());
        }
        StandInPath path(dir.filePath("without wine"), false);
        QVERIFY(BuildScript::scriptLaunch(script).program.isEmpty());
        ModalHelper boxes;
        QVERIFY(!BuildScript::checkScriptCanRun(nullptr, dir.filePath("test folder")));
        QCOMPARE(boxes.titles(), QStringList{QStringLiteral("提示")});
        for (const QString &named : {QStringLiteral("wine"), QStringLiteral("Keil"),
                                     QStringLiteral("Windows"), dir.filePath("test folder")})
            QVERIFY2(boxes.lastText().contains(named), qPrintable(named));
    }

    void pathsUnderWineAreOnTheZDrive_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("script") << "/home/u/tool dir/config.bat"
                                << "Z:\\home\\u\\tool dir\\config.bat";
        QTest::newRow("project directory keeps its final slash")
            << "/opt/t/RM3KV5172_Touch_Test/"
            << "Z:\\opt\\t\\RM3KV5172_Touch_Test/";
        QTest::newRow("already a Windows path") << "D:\\t x/"
                                                << "D:\\t x/";
    }
    void pathsUnderWineAreOnTheZDrive()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(BuildScript::pathUnderWine(path), expected);
    }

    // The stand-in's first line hands it to a recorder that copies the script as it was run.
    // Under wine the script names the project as uVision, a Windows program, opens it.
    void rewrittenScriptIsStartedFromAFolderWithBlanks_data()
    {
        QTest::addColumn<bool>("wine");
        QTest::newRow("through wine") << true;
        QTest::newRow("without wine: rewritten only") << false;
    }
    void rewrittenScriptIsStartedFromAFolderWithBlanks()
    {
        QFETCH(bool, wine);
        StandInPath path(dir.filePath(wine ? "with wine" : "without wine"), wine);
        const QString recorder = dir.filePath("recorder.sh");
        writeBytes(recorder, "#!/bin/sh\ncp \"$2\" \"$(dirname \"$2\")/ran.txt\"\n");
        QVERIFY(QFile::setPermissions(recorder,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString folder = dir.filePath("test folder") + "/";
        QVERIFY(QDir().mkpath(folder));
        QFile::remove(folder + "ran.txt");
        writeBytes(folder + "config.bat", crlf("#!" + recorder.toLocal8Bit() +
                                               " x\nset UV=C:\\UV4.exe\nset UV_PRO_PATH=old\n"));
        QVERIFY(QFile::setPermissions(folder + "config.bat",
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        ModalHelper log;
        QObject owner;
        QVERIFY(BuildScript::runBuildScript(nullptr, &owner, folder, folder));
        const QString project = wine ? BuildScript::pathUnderWine(folder) : folder;
        const QByteArray rewritten =
            crlf("#!" + recorder.toLocal8Bit() + " x\nset UV=C:\\UV4.exe\nset \"UV_PRO_PATH=" +
                 project.toLocal8Bit() + "RM3KV5172.uvproj\"\n");
        QCOMPARE(readBytes(folder + "config.bat"), rewritten);
        QVERIFY(log.texts().isEmpty());
        if (!wine) {
            QVERIFY(owner.findChildren<QProcess *>().isEmpty());
            QVERIFY(!QFile::exists(folder + "ran.txt"));
            return;
        }
        QCOMPARE(readBytes(folder + "ran.txt"), rewritten);
        QCOMPARE(owner.findChildren<QProcess *>().size(), 1);
        QCOMPARE(path.wineArguments(),
                 (QStringList{"cmd", "/c", BuildScript::pathUnderWine(folder + "config.bat")}));
    }
};

QTEST_MAIN(TestBuildScript)
#include "tst_buildscript.moc"
