#include "codegen/buildscript.h"
#include "codegen/scriptcodepage.h"
#include "modalhelper.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
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
        // A line that names the project path gets it quoted, once, keeping the rest.
        QTest::newRow("echo of the project path")
            << crlf("echo Building %UV_PRO_PATH%\necho \"%UV_PRO_PATH%\" done\n")
            << crlf("echo Building \"%UV_PRO_PATH%\"\necho \"%UV_PRO_PATH%\" done\n");
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
        QVERIFY(BuildScript::writeBuildScript(nullptr, path, kProjectDir, ScriptCodePage(437)));
        QCOMPARE(readBytes(path), expected);
        QVERIFY(log.texts().isEmpty());
    }

    // A script with GBK remarks ("你好"), stray bytes and a stray CR before a line end keeps them
    // byte for byte; the tool's folder is written in the script's code page (936: 测试 is
    // B2 E2 CA D4 in GBK), its '%' doubled so that cmd keeps it.
    void untouchedScriptBytesSurviveAndThePathIsInTheScriptsCodePage()
    {
        const QString path = dir.filePath("gbk.bat");
        writeBytes(path, "rem \xC4\xE3\xBA\xC3\r\r\nset UV=C:\\\xB9\xA4\\UV4.exe\r\n"
                         "set UV_PRO_PATH=x\r\nstart /b old\r\necho \xFF\x80");
        ModalHelper log;
        QVERIFY(BuildScript::writeBuildScript(nullptr, path, QStringLiteral("C:\\50%off\\测试/"),
                                              ScriptCodePage(936)));
        const QByteArray folder = "C:\\50%%off\\\xB2\xE2\xCA\xD4/RM3KV5172.uvproj";
        QCOMPARE(readBytes(path).toHex(' '),
                 QByteArray("rem \xC4\xE3\xBA\xC3\r\r\nset UV=C:\\\xB9\xA4\\UV4.exe\r\n"
                            "set \"UV_PRO_PATH=" +
                            folder + "\"\r\nstart \"\" /b \"C:\\\xB9\xA4\\UV4.exe\" \"" + folder +
                            "\"\r\necho \xFF\x80")
                     .toHex(' '));
        QVERIFY(log.texts().isEmpty());

        // A folder the code page cannot write is refused, and the script is left as it was.
        const QByteArray before = readBytes(path);
        QVERIFY(!BuildScript::writeBuildScript(nullptr, path, QStringLiteral("C:\\测试/"),
                                               ScriptCodePage(437)));
        QCOMPARE(log.texts(), QStringList{QStringLiteral("写配置文件失败！")});
        QCOMPARE(readBytes(path), before);
    }

    // Windows' OEM code pages, in which cmd reads batch files.
    void codePageFollowsTheLocaleAsUnderWine()
    {
        const QList<QPair<QByteArray, int>> known = {{"zh_CN.UTF-8", 936},
                                                     {"zh_TW.UTF-8", 950},
                                                     {"ja_JP.UTF-8", 932},
                                                     {"ko_KR.EUC-KR", 949},
                                                     {"en_US.UTF-8", 437},
                                                     {"C", 437},
                                                     {"", 437},
                                                     {"en_GB.UTF-8", 850},
                                                     {"de_DE@euro", 850},
                                                     {"ru_RU.UTF-8", 866},
                                                     {"pl_PL", 852}};
        for (const auto &locale : known)
            QCOMPARE(ScriptCodePage::numberForLocale(locale.first), locale.second);
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
        QVERIFY(
            !BuildScript::writeBuildScript(nullptr, kernelFile, kProjectDir, ScriptCodePage(437)));
        QCOMPARE(log.texts(), QStringList{QStringLiteral("写配置文件失败！")});
    }

    void scriptIsStartedThroughWineOnlyWhenItIsThere()
    {
        const QString script = dir.filePath("test folder/config.bat");
        {
            StandInPath path(dir.filePath("with wine"), true);
            const BuildScript::Launch launch = BuildScript::scriptLaunch(script);
            QCOMPARE(launch.program, path.wineProgram());
            // Started in its folder, named within it: no character of the folder reaches cmd's
            // command line.
            QCOMPARE(launch.arguments, (QStringList{"cmd", "/c", ".\\config.bat"}));
            QCOMPARE(launch.workingDirectory, dir.filePath("test folder"));
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

    // Through the stand-in wine, which takes the script from cmd's command line as cmd does and
    // reads its project line in the code page cmd does; a build that fails is shown with its
    // first error line.
    void scriptRunsFromAnyFolderAndSaysWhatHappened_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QByteArray>("codec");
        QTest::addColumn<bool>("wine");
        QTest::addColumn<bool>("buildFails");
        QTest::newRow("ampersand and blank")
            << "R&D tools" << QByteArray("C.UTF-8") << QByteArray("IBM437") << true << false;
        QTest::newRow("percent") << "50%off" << QByteArray("en_US.UTF-8") << QByteArray("IBM437")
                                 << true << false;
        QTest::newRow("Chinese on a Chinese system")
            << QStringLiteral("触摸工程") << QByteArray("zh_CN.UTF-8") << QByteArray("GBK") << true
            << false;
        QTest::newRow("failing build")
            << "R&D tools" << QByteArray("C") << QByteArray("IBM437") << true << true;
        QTest::newRow("without wine: rewritten only")
            << "R&D tools" << QByteArray("C") << QByteArray("IBM437") << false << false;
    }
    void scriptRunsFromAnyFolderAndSaysWhatHappened()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, locale);
        QFETCH(QByteArray, codec);
        QFETCH(bool, wine);
        QFETCH(bool, buildFails);
        StandInPath path(dir.filePath("bin"), wine);
        path.setLocale(locale, codec);
        const QString folder = dir.filePath(name) + "/";
        writeBytes(folder + "config.bat", crlf("set UV=C:\\UV4.exe\nset UV_PRO_PATH=old\n"));
        QFile::remove(folder + "RM3KV5172.uvproj");
        if (!buildFails)
            writeBytes(folder + "RM3KV5172.uvproj", "<Project/>");
        ModalHelper boxes;
        QObject owner;
        QPlainTextEdit log;
        QVERIFY(BuildScript::checkPathFitsScript(nullptr, folder));
        QVERIFY(BuildScript::runBuildScript(nullptr, &owner, folder, folder, &log));
        if (!wine) {
            QVERIFY(boxes.texts().isEmpty());
            QVERIFY(log.toPlainText().isEmpty());
            QVERIFY(owner.findChildren<QProcess *>().isEmpty());
            return;
        }
        const QString project = BuildScript::pathUnderWine(folder) + "RM3KV5172.uvproj";
        QCOMPARE(path.wineRan(),
                 (QStringList{BuildScript::pathUnderWine(folder + "config.bat"), project}));
        const QString native = QDir::toNativeSeparators(dir.filePath(name));
        if (!buildFails) {
            QVERIFY(boxes.texts().isEmpty());
            QCOMPARE(log.toPlainText(),
                     QStringLiteral("已运行编译脚本 config.bat，目录：") + native);
            return;
        }
        QCOMPARE(boxes.texts(),
                 QStringList{QStringLiteral("编译脚本运行失败（退出码 1）\n\nBuild failed: cannot "
                                            "read project file '%1'.")
                                 .arg(project)});
        QCOMPARE(log.toPlainText(),
                 QStringLiteral("编译脚本运行失败（退出码 1）：wine cmd /c .\\config.bat，目录：") +
                     native);
    }

    // Said before anything is written: a character the script's code page lacks, a quote that
    // would end the quoted path, a line end that would start a command.
    void folderTheScriptCannotHoldIsRefused()
    {
        StandInPath path(dir.filePath("bin"), true);
        path.setLocale("en_US.UTF-8", "IBM437");
        const QList<QPair<QString, QString>> folders = {
            {QStringLiteral("/tmp/触摸工程"), QStringLiteral("触")},
            {QStringLiteral("/tmp/a\"b"), QStringLiteral("\"")},
            {QStringLiteral("/tmp/a\nb"), QStringLiteral("U+000a")}};
        for (const auto &folder : folders) {
            ModalHelper boxes;
            QVERIFY(!BuildScript::checkPathFitsScript(nullptr, folder.first));
            QCOMPARE(boxes.count(), 1);
            for (const QString &named : {folder.first, folder.second, QStringLiteral("437")})
                QVERIFY2(boxes.lastText().contains(named), qPrintable(named));
        }
        // Greek: Qt has no codec for code page 737, which the refusal names as what is missing.
        path.setLocale("el_GR.UTF-8", "UTF-8");
        ModalHelper boxes;
        QVERIFY(!BuildScript::checkPathFitsScript(nullptr, QStringLiteral("έργο/RM3KV5172_Touch_Test")));
        QVERIFY(boxes.lastText().contains(QStringLiteral("本工具无法按代码页 737")));
        QVERIFY(BuildScript::checkPathFitsScript(nullptr, QStringLiteral("ergo/RM3KV5172_Touch_Test")));
    }
};

QTEST_MAIN(TestBuildScript)
#include "tst_buildscript.moc"
