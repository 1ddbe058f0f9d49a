#include "app/uilanguage.h"
#include "codegen/sourcegenerator.h"
#include "modalhelper.h"
#include "quality/keyquality.h"
#include "quality/samplesfile.h"
#include "quality/samplesplot.h"
#include "quality/tuningreport.h"
#include "testsupport.h"
#include "tuning/keysettingspanel.h"
#include "tuningrig.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
using testsupport::noisyPhase;
using testsupport::pdfText;

// 25 keys around 2000: good ones, and among them a poor signal, water above the release
// threshold (200 of 300, where the water rule puts the press threshold at 225 and the release at
// 195), water above the press threshold, a key without its waterproof test.
QVector<TuningReport::Channel> reportChannels()
{
    QVector<TuningReport::Channel> channels;
    for (int k = 0; k < 25; ++k) {
        const int base = 1990 + k * 7;
        const int touch = k == 5 ? 30 : 300;
        const int water = k == 9 ? 200 : k == 13 ? 230 : 20;
        TuningReport::Channel c;
        c.channel = 24 - k;
        c.keyNumber = k + 1;
        c.samples.noTouch = noisyPhase(base, 4, 3 * k);
        c.samples.touch = noisyPhase(base + touch, 6, 3 * k + 1);
        if (k != 20)
            c.samples.water = noisyPhase(base + water, 4, 3 * k + 2);
        channels << c;
    }
    return channels;
}

// 162 counts alternating mean - 2 and mean + 2.
QVector<int> around(int mean)
{
    QVector<int> values;
    for (int i = 0; i < 162; ++i)
        values << mean + (i % 2 ? 2 : -2);
    return values;
}

SampleStore storeOf(const QVector<TuningReport::Channel> &channels)
{
    SampleStore store;
    for (const TuningReport::Channel &c : channels) {
        for (SamplePhase phase : {SamplePhase::NoTouch, SamplePhase::Touch, SamplePhase::Water})
            store.set(c.channel, phase, c.samples.of(phase));
    }
    return store;
}
} // namespace

// The samples file beside the project, and the tuning report as a PDF.
class TestTuningReport : public QObject
{
    Q_OBJECT

private slots:
    void samplesFileRoundTrip()
    {
        QTemporaryDir dir;
        SampleStore store = storeOf(reportChannels());
        store.set(24, SamplePhase::Touch, QVector<int>(100, 2000)); // cut short: not written
        store.set(7, SamplePhase::Water, QVector<int>(162, 65535));
        const QString path = dir.filePath(SamplesFile::fileName("demo"));
        QCOMPARE(QFileInfo(path).fileName(), QString("demo_samples.csv"));
        QString error;
        QVERIFY(SamplesFile::write(path, store, &error));

        const QByteArray bytes = testsupport::readBytes(path);
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 25 * 3 - 1 - 1 + 1); // TK4 has no water, TK24 no touch; final LF
        QVERIFY(lines.first().startsWith("TK0,notouch,"));
        QVERIFY(lines.at(1).startsWith("TK0,touch,"));
        QCOMPARE(lines.first().count(','), 1 + 162);
        QCOMPARE(bytes.count("\r\n"), lines.size() - 1);
        QVERIFY(lines.at(22).startsWith("TK7,water,65535,65535,"));

        SampleStore back;
        int skipped = -1;
        QVERIFY(SamplesFile::read(path, &back, &error, &skipped));
        QCOMPARE(skipped, 0);
        for (int channel = 0; channel < 25; ++channel) {
            const ChannelSamples &want = store.at(channel);
            const ChannelSamples &got = back.at(channel);
            QCOMPARE(got.noTouch, want.noTouch);
            QCOMPARE(got.touch, channel == 24 ? QVector<int>() : want.touch);
            QCOMPARE(got.water, want.water);
        }
    }

    void samplesFileReaderSkipsBadLines()
    {
        const auto line = [](const QByteArray &head, int count, const QByteArray &value) {
            QByteArray text = head;
            for (int i = 0; i < count; ++i)
                text += ',' + value;
            return text;
        };
        const QList<QByteArray> bad = {
            line("TK25,touch", 162, "2000"), line("tk3,touch", 162, "2000"),
            line("TK3,wet", 162, "2000"),    line("TK3,touch", 161, "2000"),
            line("TK3,touch", 163, "2000"),  line("TK3,touch", 162, "65536"),
            line("TK3,touch", 162, "-1"),    line("TK3,touch", 162, "12a"),
            line("TK3,touch", 162, ""),      "garbage"};
        QByteArray text = line("TK3,touch", 162, "1000") + "\n\r\n";
        for (const QByteArray &b : bad)
            text += b + "\r\n";
        text += line(" TK3 , notouch ", 162, " 2000 ") + "\n" + line("TK3,touch", 162, "2300");
        int skipped = 0;
        const SampleStore store = SamplesFile::fromText(text, &skipped);
        QCOMPARE(skipped, bad.size());
        QCOMPARE(store.at(3).touch, QVector<int>(162, 2300)); // the later line replaces
        QCOMPARE(store.at(3).noTouch, QVector<int>(162, 2000));
        QVERIFY(store.at(3).water.isEmpty() && store.at(24).isEmpty());
    }

    void samplesFileFailuresLeaveNothing()
    {
        QTemporaryDir dir;
        SampleStore store = storeOf(reportChannels());
        QString error;
        const QString missingFolder = dir.filePath("gone/demo_samples.csv");
        QVERIFY(!SamplesFile::write(missingFolder, store, &error));
        QVERIFY(error.contains(missingFolder));
        QVERIFY(!QFileInfo::exists(missingFolder));
        QVERIFY(!SamplesFile::write(dir.path(), store, &error)); // a folder in the way
        QVERIFY(QFileInfo(dir.path()).isDir());

        SampleStore untouched = store;
        error.clear();
        QVERIFY(!SamplesFile::read(missingFolder, &untouched, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(untouched.at(3).touch, store.at(3).touch);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
    }

    void reportHoldsEveryChannel()
    {
        QTemporaryDir dir;
        const QVector<TuningReport::Channel> channels = reportChannels();
        const TuningReport report("按键板A", "SOP20", QDate(2024, 5, 6), channels);
        const QString path = dir.filePath(TuningReport::appFileName());
        QString error;
        QVERIFY2(report.write(path, &error), qPrintable(error));
        QVERIFY(testsupport::readBytes(path).startsWith("%PDF"));

        const QString text = pdfText(path);
        for (const QString &expected :
             {QString("触摸按键调试报告"), QString("工程：按键板A"), QString("封装：SOP20"),
              QString("日期：2024-05-06"),
              QString("已测通道 25 个：合格 21，注意 0，不合格 3，数据不全 1"),
              QString("信噪比低于5:1"), QString("防水偏移达到信号的一半"),
              QString("防水最大值达到释放阈值"), QString("各通道采样曲线"),
              QString("按键设置与余量")})
            QVERIFY2(text.contains(expected), qPrintable(expected + " missing in\n" + text));
        for (const TuningReport::Channel &c : channels) {
            const KeyQuality q = KeyQuality::of(c.samples);
            // The table row: name, key, the three means or 未测, noise, signal, ratio.
            const QString row = QString("TK%1 +%2 +%3 +%4 +%5 +%6 +%7 +%8")
                                    .arg(c.channel)
                                    .arg(c.keyNumber)
                                    .arg(q.noTouch->mean)
                                    .arg(q.touch->mean)
                                    .arg(q.water ? QString::number(q.water->mean) : "未测")
                                    .arg(*q.noise)
                                    .arg(*q.signal)
                                    .arg(q.snrText());
            QVERIFY2(text.contains(QRegularExpression(row)), qPrintable(row));
            QVERIFY(text.contains(QString("TK%1（按键 %2）").arg(c.channel).arg(c.keyNumber)));
            // Its settings, both thresholds and the touch margin with its share of the swing.
            const QString settings =
                QString("TK%1 +50% +10% +3 ?次 +20 ?秒 +开 +%2 +%3 +%4")
                    .arg(c.channel)
                    .arg(q.pressThreshold ? QString::number(*q.pressThreshold) : "未测")
                    .arg(q.releaseThreshold ? QString::number(*q.releaseThreshold) : "未测")
                    .arg(q.marginText(q.touchMargin));
            QVERIFY2(text.contains(QRegularExpression(settings)), qPrintable(settings));
            if (q.pressThreshold)
                QVERIFY(text.contains(QString("按下 %1").arg(*q.pressThreshold)) &&
                        text.contains(QString("释放 %1").arg(*q.releaseThreshold)));
        }
        QVERIFY2(text.count('\f') >= 3, "25 keys and their plots need several pages");
        QVERIFY(!text.contains(QStringLiteral("按键耦合")));
    }

    // The report is read by people: with the English interface it is English throughout, its
    // proposed name too, while the Chinese interface keeps the Chinese name.
    void reportSpeaksTheInterfacesLanguage()
    {
        QCOMPARE(TuningReport::exportFileName("walkDemo"), QStringLiteral("walkDemo_调试报告.pdf"));
        const UiLanguage english(UiLanguage::Language::English);
        QVERIFY(english.isComplete());
        QCOMPARE(TuningReport::exportFileName("walkDemo"),
                 QStringLiteral("walkDemo_tuning_report.pdf"));
        QVector<TuningReport::Channel> channels = reportChannels();
        // A key that a neighbour's touch presses, for the coupling page and its reason.
        for (bool touched : {false, true}) {
            for (int i = 0; i < 162; ++i) {
                RecordCounts counts;
                counts.fill(2000);
                counts[24] = touched ? 2300 : 1990;
                counts[23] = touched ? 2400 : 1997;
                (touched ? channels[0].samples.touchRecords : channels[0].samples.noTouchRecords)
                    << counts;
            }
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(TuningReport::appFileName());
        QString error;
        QVERIFY(TuningReport("walkDemo", "SOP28", QDate(2024, 5, 6), channels).write(path, &error));
        const QString text = pdfText(path);
        for (const QString &expected :
             {QString("Touch key tuning report"), QString("Package: SOP28"),
              QString("25 channels tested:"), QString("SNR below 5:1"),
              QString("Touched \\ affected"), QString("TK23 (key 2): fail"),
              QString("Key settings and margins")})
            QVERIFY2(text.contains(expected), qPrintable(expected + " missing in\n" + text));
        const QRegularExpression chinese(
            QStringLiteral("[\\x{3000}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
        QVERIFY2(!text.contains(chinese), qPrintable(text.mid(text.indexOf(chinese) - 40, 80)));
    }

    // Keys with the whole records of their auto test get the coupling page; a key that a
    // neighbour's touch would press fails.
    void couplingPageAndItsVerdicts()
    {
        QVector<TuningReport::Channel> channels;
        for (int k : {3, 4, 7}) {
            TuningReport::Channel c;
            c.channel = k;
            c.keyNumber = k;
            c.samples.noTouch = around(2000);
            c.samples.touch = around(2300);
            c.samples.water = around(2010);
            channels << c;
        }
        // While TK3 is touched, TK4 rises by 200: four thirds of its margin of 150.
        for (bool touched : {false, true}) {
            QVector<RecordCounts> &records =
                touched ? channels[0].samples.touchRecords : channels[0].samples.noTouchRecords;
            for (int i = 0; i < 162; ++i) {
                RecordCounts counts;
                counts.fill(2000);
                counts[3] = touched ? 2300 : 2000;
                counts[4] = touched ? 2200 : 2000;
                records << counts;
            }
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(TuningReport::appFileName());
        QString error;
        QVERIFY(TuningReport("耦合", "SOP28", QDate(2024, 5, 6), channels).write(path, &error));
        const QString text = pdfText(path);
        for (const QString &expected :
             {QString("已测通道 3 个：合格 2，注意 0，不合格 1，数据不全 0"),
              QString("邻键触摸时会被按下"), QString("按键耦合：触摸行按键时列按键均值的偏移"),
              QString("133%")})
            QVERIFY2(text.contains(expected), qPrintable(expected + " missing in\n" + text));
        // The row of TK3 on its own page: no figure for itself, 200 (133%) for TK4, 0 for TK7.
        const QString page = text.mid(text.indexOf(QStringLiteral("按键耦合")));
        QVERIFY(page.contains(QRegularExpression("TK3 +TK4 +TK7")));
        QVERIFY(page.contains(QRegularExpression("200 +0\\s+TK3 +—\\s+133% +0%")));
    }

    // A spreadsheet's byte-order mark is no part of the first line; lines that are skipped are
    // told, and the file is kept as .bak before the next save replaces it. A file beyond any
    // samples file's size is not read, and a line beyond any of its lines is skipped once.
    void samplesFileThatDidNotReadCleanlyIsKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(SamplesFile::fileName("demo"));
        SampleStore one;
        one.set(0, SamplePhase::NoTouch, QVector<int>(162, 2000));
        const QByteArray original = "\xEF\xBB\xBF" + SamplesFile::toText(one) + "TK1,touch,12a\r\n";
        testsupport::writeBytes(path, original);
        testsupport::TuningRig rig;
        testsupport::FakeTuningLink link(rig.run);
        rig.build(link);
        rig.session->adoptLoadedResults(path);
        QCOMPARE(rig.samples(0).noTouch, QVector<int>(162, 2000));
        QVERIFY2(rig.logLines().contains("样本文件 demo_samples.csv：跳过 1 行"),
                 qPrintable(rig.log->toPlainText()));
        QString error;
        QVERIFY(rig.session->saveSamples(path, &error));
        QCOMPARE(testsupport::readBytes(SamplesFile::backupPath(path)), original);
        QCOMPARE(testsupport::readBytes(path), SamplesFile::toText(one));

        testsupport::writeBytes(path, SamplesFile::toText(one) + "TK1," + QByteArray(100000, '7') +
                                          "\n" + QByteArray(SamplesFile::kMaxFileBytes, '\n'));
        QVERIFY(!SamplesFile::read(path, &one, &error));
        QVERIFY(error.contains(path));
        testsupport::writeBytes(path, SamplesFile::toText(one) + "TK1," + QByteArray(100000, '7') +
                                          "\ngarbage");
        int skipped = 0;
        QVERIFY(SamplesFile::read(path, &one, &error, &skipped));
        QCOMPARE(skipped, 2);
    }

    void reportWriteFailureLeavesNothing()
    {
        QTemporaryDir dir;
        const TuningReport report("p", "SOP16", QDate(2024, 5, 6), reportChannels());
        const QString path = dir.filePath("gone/" + TuningReport::exportFileName("p"));
        QString error;
        QVERIFY(!report.write(path, &error));
        QVERIFY(error.contains(path));
        QVERIFY(!report.write(dir.path(), &error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
    }

    // TK3 measured 2009 / 2309 / 2039 (press threshold 2159), then its touch mean edited to 2049:
    // the firmware gets 1,3,20,2009,2049,2039 (swing 40, water 30 above: press 2039 at the water
    // rule's floor, release 2035), and the tooltip, the colour, the preview and the report say the
    // same. TK5 has a results row and no samples.
    // TK7's touch at 65535 keeps its plot's axis within the counts.
    void everyFigureFollowsTheResultsTable()
    {
        testsupport::TuningRig rig;
        testsupport::FakeTuningLink link(rig.run);
        rig.build(link);
        SampleStore &store = rig.session->samples();
        const auto measure = [&](int channel, int key, int noTouch, int touch, int water) {
            rig.use(channel, key);
            rig.results().assignRow(channel);
            store.set(channel, SamplePhase::NoTouch, around(noTouch));
            store.set(channel, SamplePhase::Touch,
                      touch == 65535 ? QVector<int>(162, touch) : around(touch));
            store.set(channel, SamplePhase::Water, around(water));
            rig.results().writeTouchResults(channel, store.at(channel));
            rig.results().writeWaterproofResults(channel, store.at(channel), key);
        };
        measure(3, 1, 2009, 2309, 2039);
        measure(7, 3, 2000, 65535, 2000);
        rig.use(5, 2);
        const int row5 = rig.results().assignRow(5);
        const QStringList cells{"TK5", "2000", "2300", "2010", "5", "2"};
        for (int column = 0; column < 6; ++column)
            rig.table->setItem(row5, column, new QTableWidgetItem(cells.at(column)));
        QTableWidgetItem *name = rig.table->item(0, 0);
        QVERIFY(name->toolTip().contains("按下阈值 2159，释放阈值 2129"));
        QCOMPARE(name->background().color(), KeyQuality::verdictColour(KeyVerdict::Pass));

        rig.table->item(0, 2)->setText("2049");
        QStringList incomplete;
        QCOMPARE(SourceGenerator::resultRows(rig.pinMap, rig.results(), &incomplete).first(),
                 QString("1,3,20,2009,2049,2039,"));
        QVERIFY(name->toolTip().startsWith("TK3：不合格（表格数值已手动修改，与采样不符、"));
        QVERIFY(name->toolTip().contains("按下阈值 2039，释放阈值 2035"));
        QCOMPARE(name->background().color(), KeyQuality::verdictColour(KeyVerdict::Fail));
        ModalHelper boxes;
        rig.verification().toggle();
        for (int r = 0; r < 4; ++r)
            rig.session->handleCheckRecord(testsupport::measurementRecord(3, 2100), 0);
        QVERIFY(rig.session->preview().pressed(3));

        QTemporaryDir dir;
        const QString path = dir.filePath("report.pdf");
        QString error;
        QVERIFY(rig.session->writeReport(path, "面板", "SOP28", &error));
        const QString text = pdfText(path);
        for (const QString &row :
             {QString("TK3 +1 +2009 +2049 +2039 +4 +300 +75.0:1 +30 \\(10%\\) +不合格"),
              QString("TK3 +50% +10% +3 ?次 +20 ?秒 +开 +2039 +2035 +268（670%） +24（60%） "
                      "+-6（-15%） +不合格"),
              QString("TK5 +2 +2000 +2300 +2010 +无采样 +300 +无采样 +10 \\(3%\\) +数据不全"),
              QString("TK5 +50% +10% +3 ?次 +20 ?秒 +开 +2150 +2120 +无采样 +无采样 +无采样 "
                      "+数据不全")})
            QVERIFY2(text.contains(QRegularExpression(row)), qPrintable(row + "\n" + text));
        QVERIFY(text.contains("表格数值已手动修改，与采样不符"));
        QVERIFY(text.contains("60000") && !text.contains("69347") && !text.contains("-1812"));
        QCOMPARE(SamplesPlot::ticks(1988.8, 2011.2), (QVector<int>{1990, 1995, 2000, 2005, 2010}));
        QCOMPARE(SamplesPlot::ticks(65534, 65535), (QVector<int>{65534, 65535}));
    }

    // The panel edits the chosen key, or one field of every key in use; each row and the panel's
    // line about the key follow. Means 2000 / 2300 / 2010: press 150 above, release 120.
    void panelEditsTheChosenKeys()
    {
        testsupport::TuningRig rig;
        testsupport::FakeTuningLink link(rig.run);
        rig.build(link);
        SampleStore &store = rig.session->samples();
        for (int channel : {3, 5, 7}) {
            rig.use(channel, channel);
            rig.results().assignRow(channel);
            store.set(channel, SamplePhase::NoTouch, around(2000));
            store.set(channel, SamplePhase::Touch, around(2300));
            store.set(channel, SamplePhase::Water, around(2010));
            rig.results().writeTouchResults(channel, store.at(channel));
            rig.results().writeWaterproofResults(channel, store.at(channel), channel);
        }
        KeySettingsPanel *panel = rig.session->settingsPanel();
        panel->refreshKeys();
        const KeySettingsStore &keys = rig.session->keySettings();
        auto *summary = panel->findChild<QLabel *>("keySettingsSummary");
        const auto spin = [panel](const char *name) { return panel->findChild<QSpinBox *>(name); };

        panel->selectChannel(5);
        spin("hysteresisSpinBox")->setValue(30);
        QCOMPARE(keys.at(5).hysteresisPercent, 30);
        QCOMPARE(keys.at(3), KeySettings());
        QVERIFY(rig.table->item(1, 0)->toolTip().contains("按下阈值 2150，释放阈值 2060"));
        QVERIFY(
            summary->text().startsWith("TK5：合格；按下阈值 2150，释放阈值 2060；余量：触摸 148"));

        panel->findChild<QComboBox *>("keySettingsCBox")->setCurrentIndex(0);
        QCOMPARE(panel->selectedChannels(), (QList<int>{3, 5, 7}));
        QVERIFY(summary->text().contains("TK3"));
        spin("pressSpinBox")->setValue(70);
        for (int channel : {3, 5, 7})
            QCOMPARE(keys.at(channel).pressPercent, 70);
        QCOMPARE(keys.at(5).hysteresisPercent, 30);
        QVERIFY(rig.table->item(0, 0)->toolTip().contains("按下阈值 2210，释放阈值 2180"));
        panel->findChild<QPushButton *>("defaultSettingsBtn")->click();
        for (int channel : {3, 5, 7})
            QCOMPARE(keys.at(channel), KeySettings());
    }

    // "导出调试报告…" from the results table's menu: the proposed name in the project folder, the
    // report of every tested channel, and a write that fails named in a box.
    void reportIsExportedFromTheResultsTable()
    {
        testsupport::TuningRig rig;
        testsupport::FakeTuningLink link(rig.run);
        rig.build(link);
        QSignalSpy requested(rig.session.get(), &TuningSession::reportRequested);
        ModalHelper boxes;
        boxes.setHandler([](QWidget *popup) {
            auto *menu = qobject_cast<QMenu *>(popup);
            if (!menu || menu->actions().isEmpty())
                return false;
            QTimer::singleShot(0, menu, [menu] {
                menu->actions().first()->trigger();
                menu->close();
            });
            return menu->actions().first()->text() == QStringLiteral("导出调试报告…");
        });
        emit rig.table->customContextMenuRequested(QPoint(5, 5));
        QCOMPARE(requested.count(), 1);

        QTemporaryDir dir;
        rig.use(3, 2);
        QCOMPARE(rig.results().assignRow(3), 0);
        for (SamplePhase phase : {SamplePhase::NoTouch, SamplePhase::Touch, SamplePhase::Water})
            rig.session->samples().set(3, phase, noisyPhase(2000, 5, 1));
        QString proposed;
        QString answer = dir.filePath("report.pdf");
        rig.session->chooseReportFile = [&](QWidget *, const QString &, const QString &name,
                                            const QString &) {
            proposed = name;
            return answer;
        };
        rig.session->exportReport("面板", dir.path(), "RM3KV5172_SOP28");
        QCOMPARE(proposed, dir.filePath(QStringLiteral("面板_调试报告.pdf")));
        QVERIFY(pdfText(answer).contains(QStringLiteral("TK3")));
        QVERIFY(boxes.texts().isEmpty());
        QCOMPARE(rig.logLines().constLast(),
                 QStringLiteral("调试报告已导出：") + QDir::toNativeSeparators(answer));

        answer = dir.filePath("gone/report.pdf");
        rig.session->exportReport("面板", dir.path(), "RM3KV5172_SOP28");
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("文件写入失败：") + answer});
    }
};

QTEST_MAIN(TestTuningReport)
#include "tst_tuningreport.moc"
