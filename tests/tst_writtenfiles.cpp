// The files the tool writes, byte for byte as the known answers in tests/written/: the project
// file, a results CSV, the application project's rewritten sources and a rewritten config.bat.
// The build on Qt 5 and the one on Qt 6 run this same test against the same bytes.
#include "app/mainwindow.h"
#include "codegen/appproject.h"
#include "codegen/buildscript.h"
#include "codegen/scriptcodepage.h"
#include "modalhelper.h"
#include "project/projectfile.h"
#include "project/stackedpinmap.h"
#include "quality/keysettingsstore.h"
#include "quality/samplesfile.h"
#include "settingswidgets.h"
#include "testsupport.h"
#include "tuning/resultstable.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

using namespace testsupport;

namespace
{
// The written file against its known answer; the test folder's path stands as "@ROOT@" there.
void compareWithKnown(const QString &path, const QString &root, const QString &known)
{
    const QString knownPath = QFINDTESTDATA("written/" + known);
    QVERIFY2(!knownPath.isEmpty(), qPrintable(known));
    const QByteArray written = readBytes(path).replace(root.toUtf8(), "@ROOT@");
    QVERIFY2(written == readBytes(knownPath), qPrintable(path + " differs from " + knownPath));
}
} // namespace

class TestWrittenFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }

    // A project named and placed in Chinese, SOP20 with three keys, their results and one key's
    // own settings: the application project it generates and the project file saved with it.
    void projectAndApplicationProject()
    {
        QTemporaryDir dir;
        const QString projectPath = dir.filePath(QStringLiteral("项目 1"));
        QVERIFY(QDir().mkpath(projectPath));
        MainWindow window(fastClock());
        const SettingsWidgets w = widgetsOf(window);
        SettingsPage page(w);
        w.proPathLineEdit->setText(projectPath);
        w.proNameLineEdit->setText(QStringLiteral("面板a b"));
        w.mcuTypeCBox->setCurrentIndex(1);
        std::array<int, 25> inUse{};
        std::array<int, 25> keys{};
        const int channels[] = {13, 22, 0};
        for (int i = 0; i < 3; ++i) {
            inUse[channels[i]] = 1;
            keys[channels[i]] = i + 1;
        }
        w.packages[1]->applyLoadedMap(inUse, keys);
        w.lowpower_cBox->setChecked(true);
        w.lineEdit->setText(QStringLiteral("300"));
        w.wpChbox[13]->setEnabled(true);
        w.wpChbox[13]->setChecked(true);
        QStringList names;
        for (int n = 0; n < 25; ++n)
            names << QStringLiteral("TK%1").arg(n);
        ResultsTable results(w.tableWidget, names);
        for (int i = 0; i < 3; ++i) {
            const int base = 2000 + 37 * i;
            const QStringList cells{names.at(channels[i]), QString::number(base),
                                    QString::number(base + 211), QString::number(base + 9),
                                    QString::number(channels[i]), QString::number(i + 1)};
            for (int c = 0; c < cells.size(); ++c)
                w.tableWidget->setItem(i, c, new QTableWidgetItem(cells.at(c)));
        }
        results.adoptLoadedRows();
        const StackedPinMap pins(w.packageStackedWidget);
        const QString templateDir =
            QCoreApplication::applicationDirPath() + QStringLiteral("/RM3KV5172_Touch_Demo");
        KeySettingsStore keySettings;
        QVERIFY(keySettings.set(22, KeySettings{70, 15, 5, 0, false}));
        ProjectFile file(page);
        file.addSection(
            {[&keySettings](QSettings &ini) { keySettings.save(ini); }, [](const QSettings &) {}});
        AppProject app(&window, page, pins, results, templateDir, [&file] { return file.save(); });
        app.keySettings = [&keySettings](int channel) { return keySettings.at(channel); };
        ModalHelper boxes;
        app.generate();
        QCOMPARE(boxes.texts().last(), QStringLiteral("生成应用代码完成！"));

        compareWithKnown(page.projectFilePath(), dir.path(), QStringLiteral("project.ini"));
        const QStringList folders =
            QDir(projectPath).entryList({"fullChipTouchPro*"}, QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(folders.size(), 1);
        const QString folder = projectPath + QLatin1Char('/') + folders.first();
        compareWithKnown(folder + "/User/H/TouchKeyScan.h", dir.path(), "TouchKeyScan.h");
        compareWithKnown(folder + "/User/C/TouchKeyScan.c", dir.path(), "TouchKeyScan.c");
        // Every other file is the template's.
        QDirIterator it(templateDir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = QDir(templateDir).relativeFilePath(it.next());
            if (!file.startsWith(QLatin1String("User/")) || !file.contains("TouchKeyScan"))
                QCOMPARE(readBytes(folder + '/' + file), readBytes(it.filePath()));
        }
    }

    // The waterproof test's file of a channel's raw counts, one phase left unmeasured, and the
    // samples file kept beside the project.
    void resultsCsv()
    {
        QTemporaryDir dir;
        QTableWidget table;
        const ResultsTable results(&table, {QStringLiteral("TK0"), QStringLiteral("TK1")});
        SampleStore store;
        store.set(1, SamplePhase::NoTouch, noisyPhase(2000, 3, 1));
        store.set(1, SamplePhase::Water, noisyPhase(2040, 5, 2));
        QStringList written;
        QVERIFY(results.exportCsv(dir.path(), QDateTime(QDate(2024, 3, 9), QTime(14, 5, 7)), {1},
                                  store, &written));
        QCOMPARE(written.size(), 1);
        compareWithKnown(written.first(), dir.path(), QStringLiteral("results.csv"));
        store.set(1, SamplePhase::Touch, noisyPhase(2250, 4, 3));
        const QString samples = dir.filePath(SamplesFile::fileName(QStringLiteral("面板")));
        QString error;
        QVERIFY2(SamplesFile::write(samples, store, &error), qPrintable(error));
        compareWithKnown(samples, dir.path(), QStringLiteral("samples.csv"));
    }

    // Save & Download's rewrite of the test template's script for a folder in Chinese, with a
    // blank, '&' and '%', in cmd's code page 936.
    void rewrittenBuildScript()
    {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("config.bat"));
        writeBytes(script, readBytes(QCoreApplication::applicationDirPath() +
                                     QStringLiteral("/RM3KV5172_Touch_Test/config.bat")));
        QVERIFY(BuildScript::writeBuildScript(
            nullptr, script, QStringLiteral("Z:\\工程\\触摸 & 100%\\RM3KV5172_Touch_Test\\"),
            ScriptCodePage(936)));
        compareWithKnown(script, dir.path(), QStringLiteral("config.bat"));
    }
};

QTEST_MAIN(TestWrittenFiles)
#include "tst_writtenfiles.moc"
