#include "codegen/appproject.h"
#include "modalhelper.h"
#include "project/pinmapsource.h"
#include "project/settingspage.h"
#include "project/toolpaths.h"
#include "testsupport.h"
#include "tuning/resultstable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

#include <unistd.h>

using namespace testsupport;

namespace
{
// Relative paths of every file below root, hidden ones included.
QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

const QString kHeader = QStringLiteral("User/H/TouchKeyScan.h");
const QString kSource = QStringLiteral("User/C/TouchKeyScan.c");
const QString kConfirm = QStringLiteral("请确调试已经完成！");

// Both shipped templates copied into folder, as a build or an installation lays them out.
void shipTemplates(const QString &folder)
{
    for (const QString &name : {ToolPaths::kTestTemplate, ToolPaths::kAppTemplate}) {
        const QString shipped = testsupport::shippedTemplate(name);
        QVERIFY(!shipped.isEmpty());
        for (const QString &file : filesBelow(shipped))
            writeBytes(folder + "/" + name + "/" + file, readBytes(shipped + "/" + file));
    }
}
} // namespace

class TestAppProject : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString templateDir;
    QLineEdit proPath;
    QCheckBox lowPower;
    QComboBox wakeTime;
    QLineEdit entryTime;
    std::array<QCheckBox, 25> wakeBoxes;
    QTableWidget table{32, 6};
    std::unique_ptr<ResultsTable> results;
    FakePinMap pins;
    std::unique_ptr<SettingsPage> settings;
    std::unique_ptr<AppProject> app;
    int saves = 0;
    bool saveSucceeds = true;

    QStringList appFolders() const
    {
        return QDir(proPath.text())
            .entryList({"fullChipTouchPro*"}, QDir::Dirs | QDir::NoDotAndDotDot);
    }

    void fillRow(int row, int channel, int key, int base)
    {
        const QStringList cells{QStringLiteral("TK%1").arg(channel),
                                QString::number(base),
                                QString::number(base + 180),
                                QString::number(base + 5),
                                QString::number(channel),
                                QString::number(key)};
        for (int c = 0; c < 6; ++c)
            table.setItem(row, c, new QTableWidgetItem(cells.at(c)));
        results->adoptLoadedRows();
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        // The shipped application template, with a hidden file and a hidden folder added.
        templateDir = dir->filePath("template");
        const QString shipped =
            testsupport::shippedTemplate(QStringLiteral("RM3KV5172_Touch_Demo"));
        QVERIFY(!shipped.isEmpty());
        for (const QString &file : filesBelow(shipped))
            writeBytes(templateDir + "/" + file, readBytes(shipped + "/" + file));
        writeBytes(templateDir + "/.hidden_note", "kept\r\n");
        writeBytes(templateDir + "/.settings/layout.ini", "[x]\r\n");

        QVERIFY(QDir().mkpath(dir->filePath("projects")));
        proPath.setText(dir->filePath("projects"));
        lowPower.setChecked(true);
        wakeTime.clear();
        wakeTime.addItems({"4ms", "8ms", "16ms", "32ms", "256ms", "512ms", "1024ms", "2048ms"});
        wakeTime.setCurrentIndex(6);
        entryTime.setText("10");
        for (QCheckBox &box : wakeBoxes)
            box.setChecked(false);
        wakeBoxes[3].setChecked(true);
        wakeBoxes[5].setChecked(true);
        pins = FakePinMap();
        // TK3 key 1, TK5 key 3, TK9 key 2: N = 3.
        pins.inUse[3] = pins.inUse[5] = pins.inUse[9] = 1;
        pins.keys[3] = 1;
        pins.keys[5] = 3;
        pins.keys[9] = 2;
        QStringList names;
        for (int n = 0; n < 25; ++n)
            names << QStringLiteral("TK%1").arg(n);
        results = std::make_unique<ResultsTable>(&table, names);
        table.clearContents();
        fillRow(0, 5, 3, 2010);
        fillRow(1, 3, 1, 1990);
        fillRow(2, 9, 2, 2100);

        SettingsWidgets widgets;
        widgets.proPathLineEdit = &proPath;
        widgets.lowpower_cBox = &lowPower;
        widgets.keyCountCBox = &wakeTime;
        widgets.lineEdit = &entryTime;
        for (int n = 0; n < 25; ++n)
            widgets.wpChbox[n] = &wakeBoxes[n];
        widgets.tableWidget = &table;
        settings = std::make_unique<SettingsPage>(widgets);
        saves = 0;
        saveSucceeds = true;
        app = std::make_unique<AppProject>(nullptr, *settings, pins, *results, templateDir, [this] {
            ++saves;
            return saveSucceeds;
        });
    }

    void generatedProjectDiffersFromTemplateOnlyInRewrittenLines()
    {
        ModalHelper log;
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        // TK5 (key 3) tuned away from the defaults; TK7, not in use, too.
        const KeySettings tuned{70, 0, 15, 0, false};
        app->keySettings = [&](int channel) {
            return channel == 5 || channel == 7 ? tuned : KeySettings();
        };
        QStringList logged;
        app->log = [&](const QString &line) { logged << line; };
        app->generate();
        QCOMPARE(log.texts(), (QStringList{kConfirm, QStringLiteral("生成应用代码完成！")}));
        QCOMPARE(log.titles(),
                 (QStringList{QStringLiteral("生成代码提示"), QStringLiteral("提示")}));
        QCOMPARE(saves, 1);

        const QStringList folders = appFolders();
        QCOMPARE(folders.size(), 1);
        const QRegularExpressionMatch stamp =
            QRegularExpression("^fullChipTouchPro(\\d{4}_\\d\\d_\\d\\d_\\d\\d_\\d\\d_\\d\\d)$")
                .match(folders.first());
        QVERIFY(stamp.hasMatch());
        const QDateTime made = QDateTime::fromString(stamp.captured(1), "yyyy_MM_dd_hh_mm_ss");
        QVERIFY(made >= before.addMSecs(-before.time().msec()) &&
                made <= QDateTime::currentDateTime());

        const QString app = proPath.text() + "/" + folders.first();
        QCOMPARE(filesBelow(app), filesBelow(templateDir));
        QVERIFY(filesBelow(app).contains(".settings/layout.ini"));
        for (const QString &file : filesBelow(templateDir)) {
            if (file != kHeader && file != kSource)
                QCOMPARE(readBytes(app + "/" + file), readBytes(templateDir + "/" + file));
        }
        QCOMPARE(readBytes(app + "/" + kHeader),
                 readBytes(templateDir + "/" + kHeader)
                     .replace("#define   TKL_CHN_NUM      (4)", "#define   TKL_CHN_NUM      (3)"));
        // Keys 1 and 3 may wake: mask 5. Rows in channel order: key, channel, 20, the three means.
        QByteArray source = readBytes(templateDir + "/" + kSource);
        source.replace("0,6,0,10,0,0,0,0,\r\n", "1,6,0,10,0,0,0,5,\r\n");
        source.replace("1,0,20,100,100,100,\r\n2,1,20,100,100,100,\r\n3,2,20,100,100,100,\r\n"
                       "4,3,20,100,100,100,\r\n",
                       "1,3,20,1990,2170,1995,\r\n3,5,20,2010,2190,2015,\r\n"
                       "2,9,20,2100,2280,2105,\r\n");
        // The settings table in the same order: press, hysteresis, debounce, longest press, floor.
        source.replace(QByteArray("50,10,3,20,1,\r\n").repeated(4),
                       "50,10,3,20,1,\r\n70,0,15,0,0,\r\n50,10,3,20,1,\r\n");
        QCOMPARE(readBytes(app + "/" + kSource), source + "\r\n\r\n\r\n");
        QCOMPARE(logged.size(), 2);
        QCOMPARE(logged.first(),
                 QStringLiteral("TK5 的按键设置与默认不同：按下位置 70%（默认 50%），"
                                "迟滞 0%（默认 10%），消抖 15 次（第 16 次扫描按下）（默认 3 次），"
                                "最长按下 不限（默认 20 秒），防水下限 关（默认 开）"));
    }

    void cancelledQuestionDoesNothing()
    {
        ModalHelper log;
        log.answer(kConfirm, QMessageBox::Cancel);
        app->generate();
        QCOMPARE(log.texts(), QStringList{kConfirm});
        QVERIFY(appFolders().isEmpty());
        QCOMPARE(saves, 0);
    }

    void emptyProjectPathAsksForOne()
    {
        proPath.clear();
        ModalHelper log;
        app->generate();
        QCOMPARE(log.texts(),
                 (QStringList{kConfirm,
                              QStringLiteral("请到设置页面工程路径处选择应用工程保存路径！")}));
        QCOMPARE(saves, 0);
    }

    void missingProjectPathStopsBeforeCopying()
    {
        proPath.setText(dir->filePath("gone/deeper"));
        ModalHelper log;
        app->generate();
        QCOMPARE(
            log.texts(),
            (QStringList{kConfirm, QStringLiteral("无法创建应用工程文件夹，请检查工程路径！")}));
        QVERIFY(!QFileInfo::exists(dir->filePath("gone")));
        QCOMPARE(saves, 0);
    }

    void missingTemplateLeavesTheEmptyFolder()
    {
        QVERIFY(QDir(templateDir).removeRecursively());
        ModalHelper log;
        app->generate();
        QCOMPARE(log.texts(), (QStringList{kConfirm, QStringLiteral("文件路径不存在！")}));
        QCOMPARE(appFolders().size(), 1);
        QVERIFY(filesBelow(proPath.text() + "/" + appFolders().first()).isEmpty());
        QCOMPARE(saves, 0);
    }

    // The table follows the pin map as it is now, with each channel's own measured means.
    void pinMapChangedAfterTheTestsIsWhatIsWritten()
    {
        pins.inUse[9] = 0;
        pins.keys[9] = 0;
        pins.keys[5] = 7;
        ModalHelper log;
        app->generate();
        QCOMPARE(log.lastText(), QStringLiteral("生成应用代码完成！"));
        const QString app = proPath.text() + "/" + appFolders().first();
        QVERIFY(readBytes(app + "/" + kHeader).contains("#define   TKL_CHN_NUM      (2)\r\n"));
        QVERIFY(
            readBytes(app + "/" + kSource)
                .contains("TKChnCfg[TKL_CHN_NUM * TK_CFG_FIELDS] = {\r\n1,3,20,1990,2170,1995,\r\n"
                          "7,5,20,2010,2190,2015,\r\n};\r\n"));
    }

    // A configuration the firmware cannot carry creates nothing and saves nothing.
    void refusedBeforeAnyFolderIsMade_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("message");
        const QString missing = QStringLiteral("以下通道尚未完成测试：");
        QTest::newRow("entry time above two bytes")
            << "70000" << QStringLiteral("进入低功耗时间超出范围（0-65535），请修改后再生成！");
        QTest::newRow("negative entry time")
            << "-1" << QStringLiteral("进入低功耗时间超出范围（0-65535），请修改后再生成！");
        QTest::newRow("no results at all")
            << "empty"
            << missing + "TK3（不触摸、触摸、防水），TK5（不触摸、触摸、防水），"
                         "TK9（不触摸、触摸、防水）";
        QTest::newRow("touch-tested, no waterproof test") << "noWater" << missing + "TK5（防水）";
        QTest::newRow("waterproof-tested only") << "waterOnly" << missing + "TK9（不触摸、触摸）";
        // The firmware's key bit would be an undefined shift, or shared by two channels.
        QTest::newRow("key number 0 and a shared key number")
            << "keys"
            << QStringLiteral("以下通道没有按键号：TK4\n以下通道的按键号重复：TK2、TK6（按键 3）");
        // A firmware without a channel does not compile.
        QTest::newRow("no channel in use")
            << "noChannel"
            << QStringLiteral("工程中没有使用的通道：请先在设置页面的芯片引脚图上为通道选择按键！");
    }
    void refusedBeforeAnyFolderIsMade()
    {
        QFETCH(QString, situation);
        QFETCH(QString, message);
        if (situation == "empty") {
            table.clearContents();
            results->adoptLoadedRows();
        } else if (situation == "noWater") {
            delete table.takeItem(0, 3);
            delete table.takeItem(0, 4);
            delete table.takeItem(0, 5);
        } else if (situation == "keys") {
            pins.use(4, 0);
            pins.use(2, 3);
            pins.use(6, 3);
            pins.keys[5] = 4;
        } else if (situation == "noChannel") {
            pins = FakePinMap();
        } else if (situation == "waterOnly") {
            for (int column = 0; column < 3; ++column)
                delete table.takeItem(2, column);
        } else {
            entryTime.setText(situation);
        }
        ModalHelper log;
        app->generate();
        QCOMPARE(log.texts(), (QStringList{kConfirm, message}));
        QVERIFY(appFolders().isEmpty());
        QCOMPARE(saves, 0);
    }

    // Keys that failed or need attention are listed and asked about, never refused.
    void failingKeysAreAskedAbout_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("generate anyway") << "仍然生成";
        QTest::newRow("cancel") << "取消";
    }
    void failingKeysAreAskedAbout()
    {
        QFETCH(QString, answer);
        app->keyConcerns = [] {
            return QStringList{"TK0：信号 0 不为正", "TK3：信噪比 7.0:1 低于 10:1"};
        };
        ModalHelper log;
        log.queueButtons({answer});
        app->generate();
        const int made = answer == QStringLiteral("仍然生成") ? 1 : 0;
        QCOMPARE(log.texts().mid(1, 1),
                 QStringList{
                     "TK0：信号 0 不为正；\nTK3：信噪比 7.0:1 低于 10:1\n\n仍要生成应用代码吗？"});
        QCOMPARE(appFolders().size(), made);
        QCOMPARE(saves, made);
    }

    // The save reports its own failure; the request then does not claim to be complete.
    void failedSaveIsNotCompletion()
    {
        saveSucceeds = false;
        ModalHelper log;
        app->generate();
        QCOMPARE(log.texts(), QStringList{kConfirm});
        QCOMPARE(saves, 1);
    }

    void emptyCopiedHeaderStopsBeforeTheSource()
    {
        writeBytes(templateDir + "/" + kHeader, QByteArray());
        ModalHelper log;
        app->generate();
        QCOMPARE(log.texts(), (QStringList{kConfirm, QStringLiteral("写.H文件失败！")}));
        const QString app = proPath.text() + "/" + appFolders().first();
        QCOMPARE(readBytes(app + "/" + kSource), readBytes(templateDir + "/" + kSource));
        QCOMPARE(saves, 0);
    }

    // A request in the same second as an earlier one finds its folder already there and goes on
    // in it: the earlier files stay, the rewrites run on them.
    void folderOfTheSameSecondIsUsedAgain()
    {
        const QDateTime now = QDateTime::currentDateTime();
        for (int second = 0; second < 3; ++second) {
            const QString folder = proPath.text() + "/fullChipTouchPro" +
                                   now.addSecs(second).toString("yyyy_MM_dd_hh_mm_ss");
            writeBytes(folder + "/earlier.txt", "earlier\r\n");
            writeBytes(folder + "/" + kHeader, "#define   TKL_CHN_NUM      (9)\r\n");
        }
        ModalHelper log;
        app->generate();
        QCOMPARE(log.texts(), (QStringList{kConfirm, QStringLiteral("生成应用代码完成！")}));
        QCOMPARE(appFolders().size(), 3);
        int used = 0;
        for (const QString &folder : appFolders()) {
            const QString app = proPath.text() + "/" + folder;
            QCOMPARE(readBytes(app + "/earlier.txt"), QByteArray("earlier\r\n"));
            if (readBytes(app + "/" + kHeader) == "#define   TKL_CHN_NUM      (3)\r\n")
                ++used;
        }
        QCOMPARE(used, 1);
        QCOMPARE(saves, 1);
    }

    void copyKeepsFilesAlreadyThereAndLiftsReadOnly()
    {
        const QString target = dir->filePath("again");
        writeBytes(target + "/" + kHeader, "earlier run\r\n");
        QVERIFY(QFile::setPermissions(target + "/" + kHeader, QFile::ReadOwner));
        QVERIFY(app->copyDirectory(templateDir, target, true));
        QCOMPARE(readBytes(target + "/" + kHeader), QByteArray("earlier run\r\n"));
        QVERIFY(QFile::permissions(target + "/" + kHeader) & QFile::WriteOwner);
        QVERIFY(QFile::permissions(target + "/" + kHeader) & QFile::ReadOwner);
        QCOMPARE(readBytes(target + "/.hidden_note"), QByteArray("kept\r\n"));
    }

    // Where the tool reads its templates and writes.

    void portableCopyWorksBesideTheExecutable()
    {
        const QString tool = dir->filePath("portable");
        shipTemplates(tool);
        const ToolPaths paths(tool, {dir->filePath("share")}, dir->filePath("user"));
        QVERIFY(paths.isPortable());
        QCOMPARE(paths.templateDir(), tool);
        QCOMPARE(paths.writableDir(), tool);
        QCOMPARE(paths.appProjectDir(), tool + "/app_Project");
        QVERIFY(paths.prepareWritableDir());
        QVERIFY(QFileInfo(tool + "/app_Project").isDir());
        QVERIFY(!QFileInfo::exists(dir->filePath("user")));
    }

    // The read-only folder is also reported read-only to the lookup, since root may write anyway.
    void readOnlyToolFolderWritesPerUserAndGeneratesThere()
    {
        const QString tool = dir->filePath("read-only tool");
        const QString user = dir->filePath("home/.local/share/touchtuner");
        shipTemplates(tool);
        const QStringList toolFiles = filesBelow(tool);
        QVERIFY(QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                QFile::ExeOther));
        if (geteuid() != 0)
            QVERIFY(!ToolPaths::isWritableFolder(tool));
        const ToolPaths paths(tool, {}, user, [&](const QString &folder) {
            return folder != tool && ToolPaths::isWritableFolder(folder);
        });
        QVERIFY(!paths.isPortable());
        QCOMPARE(paths.templateDir(), tool);
        QCOMPARE(paths.writableDir(), user);
        QVERIFY(paths.prepareWritableDir());
        const QString copy = user + "/" + ToolPaths::kTestTemplate;
        const QString shipped = tool + "/" + ToolPaths::kTestTemplate;
        QCOMPARE(filesBelow(copy), filesBelow(shipped));
        for (const QString &file : filesBelow(shipped))
            QCOMPARE(readBytes(copy + "/" + file), readBytes(shipped + "/" + file));
        QVERIFY(!QFileInfo::exists(user + "/" + ToolPaths::kAppTemplate));

        // A copy that Save & Download rewrote is kept at the next start.
        writeBytes(copy + "/config.bat", "rewritten\r\n");
        QVERIFY(paths.prepareWritableDir());
        QCOMPARE(readBytes(copy + "/config.bat"), QByteArray("rewritten\r\n"));

        // The application project comes from the template beside the tool into the user's folder.
        proPath.setText(paths.appProjectDir());
        AppProject generator(nullptr, *settings, pins, *results, paths.appTemplate(), [this] {
            ++saves;
            return true;
        });
        ModalHelper log;
        generator.generate();
        QCOMPARE(log.texts(), (QStringList{kConfirm, QStringLiteral("生成应用代码完成！")}));
        QCOMPARE(appFolders().size(), 1);
        QVERIFY(readBytes(user + "/app_Project/" + appFolders().first() + "/" + kHeader)
                    .contains("#define   TKL_CHN_NUM      (3)\r\n"));
        QVERIFY(
            QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(filesBelow(tool), toolFiles);
    }

    // Installed: nothing beside the executable, the templates in the data folder, read-only.
    void installedToolReadsItsDataFolderAndWritesPerUser()
    {
        const QString bin = dir->filePath("usr/bin");
        const QString share = dir->filePath("usr/share/touchtuner");
        const QString user = dir->filePath("home/.local/share/touchtuner");
        QVERIFY(QDir().mkpath(bin));
        shipTemplates(share);
        const QString shippedScript = share + "/" + ToolPaths::kTestTemplate + "/config.bat";
        QVERIFY(QFile::setPermissions(shippedScript, QFile::ReadOwner | QFile::ReadOther));
        const ToolPaths paths(bin, {dir->filePath("usr/local/share/touchtuner"), share}, user);
        QVERIFY(!paths.isPortable());
        QCOMPARE(paths.templateDir(), share);
        QCOMPARE(paths.appTemplate(), share + "/" + ToolPaths::kAppTemplate);
        QCOMPARE(paths.writableDir(), user);
        QCOMPARE(paths.appProjectDir(), user + "/app_Project");
        QVERIFY(paths.prepareWritableDir());
        QVERIFY(QFileInfo(user + "/app_Project").isDir());
        const QString copiedScript = user + "/" + ToolPaths::kTestTemplate + "/config.bat";
        QCOMPARE(readBytes(copiedScript), readBytes(shippedScript));
        QVERIFY(QFile::permissions(copiedScript) & QFile::WriteOwner);
        QVERIFY(QDir(bin).isEmpty());
    }

    // An upgrade brings a newer template: the user's copy follows it once, keeping what the tool
    // rewrites. A copy from before the version marker also has its old TouchKeyScan.h/.c
    // replaced, since they held the scan code that moved to files of their own.
    void userCopyFollowsANewerTemplateOnce()
    {
        const QString share = dir->filePath("share");
        const QString user = dir->filePath("user");
        shipTemplates(share);
        const QString shipped = share + "/" + ToolPaths::kTestTemplate;
        const QString copy = user + "/" + ToolPaths::kTestTemplate;
        const ToolPaths paths(dir->filePath("bin"), {share}, user);
        const QStringList rewritten = {"config.bat", "User/H/TouchKeyScan.h",
                                       "User/C/TouchKeyScan.c"};
        auto userEdits = [&](const QStringList &files) {
            for (const QString &file : files)
                writeBytes(copy + "/" + file, "user's " + file.toLatin1() + "\r\n");
        };

        // A copy as the first versions made it: no marker, no TouchKey.c.
        const int version = ToolPaths::templateVersion(shipped);
        QVERIFY(version >= 2);
        userEdits(rewritten + QStringList{"User/C/main.c"});
        QTest::ignoreMessage(
            QtInfoMsg, QRegularExpression(QStringLiteral("^Refreshed .*/user/RM3KV5172_Touch_Test "
                                                         "from template version 1 to %1, "
                                                         "keeping config.bat$")
                                              .arg(version)));
        QVERIFY(paths.prepareWritableDir());
        QCOMPARE(filesBelow(copy), filesBelow(shipped));
        QCOMPARE(readBytes(copy + "/config.bat"), QByteArray("user's config.bat\r\n"));
        for (const QString &file : filesBelow(shipped)) {
            if (file != "config.bat")
                QCOMPARE(readBytes(copy + "/" + file), readBytes(shipped + "/" + file));
        }

        // Once at the installed version, nothing is replaced again.
        userEdits({"User/C/main.c"});
        QVERIFY(paths.prepareWritableDir());
        QCOMPARE(readBytes(copy + "/User/C/main.c"), QByteArray("user's User/C/main.c\r\n"));

        // A later version keeps all three rewritten files.
        writeBytes(shipped + "/" + ToolPaths::kVersionFile,
                   QByteArray::number(version + 1) + "\r\n");
        userEdits(rewritten);
        QTest::ignoreMessage(QtInfoMsg,
                             QRegularExpression(QStringLiteral("from template version %1 to %2, "
                                                               "keeping config.bat, "
                                                               "User/H/TouchKeyScan.h, "
                                                               "User/C/TouchKeyScan.c$")
                                                    .arg(version)
                                                    .arg(version + 1)));
        QVERIFY(paths.prepareWritableDir());
        QCOMPARE(ToolPaths::templateVersion(copy), version + 1);
        QCOMPARE(readBytes(copy + "/User/C/main.c"), readBytes(shipped + "/User/C/main.c"));
        for (const QString &file : rewritten)
            QCOMPARE(readBytes(copy + "/" + file), "user's " + file.toLatin1() + "\r\n");
    }
};

QTEST_MAIN(TestAppProject)
#include "tst_appproject.moc"
