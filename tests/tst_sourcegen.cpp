#include "codegen/sourcegenerator.h"
#include "modalhelper.h"
#include "project/pinmapsource.h"
#include "testsupport.h"
#include "tuning/resultstable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <array>
#include <limits>

using namespace testsupport;

namespace
{
QByteArray crlf(const char *text) { return QByteArray(text).replace("\n", "\r\n"); }

const char *const kHeader = "#ifndef TK_H\n"
                            "/* TKL_CHN_NUM counts the channels */\n"
                            "#define   TKL_CHN_NUM      (4)\n"
                            "#endif\n";

const char *const kSource = "#include \"TouchKeyScan.h\"\n"
                            "code TK_CHN_CFG TKChnCfg[TKL_CHN_NUM] = {\n"
                            "1,0,20,100,100,100,\n"
                            "2,1,20,100,100,100,\n"
                            "};\n"
                            "\n"
                            "code unsigned char DeepSleepCfg[8] = {\n"
                            "0,6,0,10,0,0,0,0,\n"
                            "};\n"
                            "void f(void) {}\n";

const QString kFailure = QStringLiteral("写头文件失败！");
} // namespace

class TestSourceGen : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void channelRowsListChannelsInUseAscending_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("none in use")
            << SourceGenerator::channelConfigRows(FakePinMap({})) << QStringList();
        QTest::newRow("ascending, decimal, final comma")
            << SourceGenerator::channelConfigRows(FakePinMap({{24, 25}, {3, 1}, {0, 12}}))
            << QStringList{"12,0,20,100,100,100,", "1,3,20,100,100,100,", "25,24,20,100,100,100,"};
        QTest::newRow("in-use flag 2 is not in use")
            << SourceGenerator::channelConfigRows(FakePinMap({{5, 2}}, 2)) << QStringList();
        QTest::newRow("in use without key")
            << SourceGenerator::channelConfigRows(FakePinMap({{7, 0}}))
            << QStringList{"0,7,20,100,100,100,"};
    }
    void channelRowsListChannelsInUseAscending()
    {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, expected);
        QCOMPARE(rows, expected);
    }

    void deepSleepRowFields_data()
    {
        QTest::addColumn<bool>("lowPower");
        QTest::addColumn<int>("wakeTime");
        QTest::addColumn<QString>("enterTime");
        QTest::addColumn<QVector<int>>("wakeChannels");
        QTest::addColumn<QString>("row");
        // Channels 0..3 carry keys 3, 1, 0 and 9 in every case; channel 4 is not in use.
        QTest::newRow("keys 1 and 3 wake")
            << true << 6 << "10" << QVector<int>{0, 1} << "1,6,0,10,0,0,0,5,";
        QTest::newRow("no wake key, low power off")
            << false << 0 << "10" << QVector<int>{} << "0,0,0,10,0,0,0,0,";
        QTest::newRow("300 seconds") << true << 7 << "300" << QVector<int>{} << "1,7,1,44,0,0,0,0,";
        QTest::newRow("letters count as 0")
            << true << 6 << "abc" << QVector<int>{} << "1,6,0,0,0,0,0,0,";
        QTest::newRow("empty counts as 0")
            << true << 6 << "" << QVector<int>{} << "1,6,0,0,0,0,0,0,";
        QTest::newRow("above 65535 not clamped")
            << true << 6 << "70000" << QVector<int>{} << "1,6,273,112,0,0,0,0,";
        QTest::newRow("key 0 sets bit 31")
            << true << 6 << "10" << QVector<int>{2} << "1,6,0,10,128,0,0,0,";
        QTest::newRow("key 9 sets bit 8")
            << true << 6 << "10" << QVector<int>{3} << "1,6,0,10,0,0,1,0,";
        QTest::newRow("ticked box of a channel not in use")
            << true << 6 << "10" << QVector<int>{4} << "1,6,0,10,0,0,0,0,";
    }
    void deepSleepRowFields()
    {
        QFETCH(bool, lowPower);
        QFETCH(int, wakeTime);
        QFETCH(QString, enterTime);
        QFETCH(QVector<int>, wakeChannels);
        QFETCH(QString, row);
        const FakePinMap pins({{0, 3}, {1, 1}, {2, 0}, {3, 9}});
        bool wake[25] = {};
        for (int channel : wakeChannels)
            wake[channel] = true;
        const quint32 mask = SourceGenerator::wakeKeyMask(pins, wake);
        QCOMPARE(SourceGenerator::deepSleepRow(lowPower, wakeTime, enterTime, mask), row);
    }

    void wakeMaskTakesOnlyKeysThePackageOffers_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("keysOffered");
        QTest::addColumn<quint32>("mask");
        QTest::newRow("key 25 of 25") << 25 << 25 << (quint32(1) << 24);
        QTest::newRow("key 13 of 13") << 13 << 13 << (quint32(1) << 12);
        QTest::newRow("key 26 of 25") << 26 << 25 << quint32(0);
        QTest::newRow("key 18 of 17") << 18 << 17 << quint32(0);
        QTest::newRow("key 14 of 13") << 14 << 13 << quint32(0);
        QTest::newRow("key -1") << -1 << 25 << quint32(0);
        QTest::newRow("lowest int") << std::numeric_limits<int>::min() << 25 << quint32(0);
        QTest::newRow("highest int") << std::numeric_limits<int>::max() << 25 << quint32(0);
    }
    void wakeMaskTakesOnlyKeysThePackageOffers()
    {
        QFETCH(int, key);
        QFETCH(int, keysOffered);
        QFETCH(quint32, mask);
        FakePinMap pins({{6, key}});
        pins.keysOffered = keysOffered;
        bool wake[25] = {};
        wake[6] = true;
        QCOMPARE(SourceGenerator::wakeKeyMask(pins, wake), mask);
    }

    void channelCountRewritesEveryMarkerLine_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("comment and define, N 3")
            << 3 << crlf(kHeader)
            << crlf("#ifndef TK_H\n#define   TKL_CHN_NUM      (3)\n"
                    "#define   TKL_CHN_NUM      (3)\n#endif\n");
        QTest::newRow("no channel in use") << 0 << crlf("#define   TKL_CHN_NUM      (4)\n")
                                           << crlf("#define   TKL_CHN_NUM      (0)\n");
        QTest::newRow("last line without line end kept so")
            << 12 << crlf("a\n#define TKL_CHN_NUM 9\n#endif")
            << crlf("a\n#define   TKL_CHN_NUM      (12)\n#endif");
        QTest::newRow("LF file comes out CR LF")
            << 1 << QByteArray("x\nTKL_CHN_NUM\n") << crlf("x\n#define   TKL_CHN_NUM      (1)\n");
    }
    void channelCountRewritesEveryMarkerLine()
    {
        QFETCH(int, count);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        writeBytes(path("count.h"), before);
        ModalHelper log;
        QVERIFY(SourceGenerator::rewriteChannelCount(nullptr, path("count.h"), count, "x"));
        QCOMPARE(readBytes(path("count.h")), after);
        QVERIFY(log.texts().isEmpty());
    }

    void channelTableReplacesBody_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QByteArray tail = crlf("code unsigned char DeepSleepCfg[8] = {\n0,6,0,10,0,0,0,0,\n"
                                     "};\nvoid f(void) {}\n");
        QTest::newRow("two rows, last line gains a line end")
            << QStringList{"1,3,20,100,100,100,", "2,9,20,100,100,100,"} << crlf(kSource)
            << crlf("#include \"TouchKeyScan.h\"\ncode TK_CHN_CFG TKChnCfg[TKL_CHN_NUM] = {\n"
                    "1,3,20,100,100,100,\n2,9,20,100,100,100,\n};\n\n") +
                   tail + "\r\n";
        QTest::newRow("no channel: closing line follows the marker")
            << QStringList() << crlf(kSource)
            << crlf("#include \"TouchKeyScan.h\"\ncode TK_CHN_CFG TKChnCfg[TKL_CHN_NUM] = "
                    "{\n};\n\n") +
                   tail + "\r\n";
        // The definition line below the declaration is part of the dropped body.
        QTest::newRow("extern declaration starts the rewrite")
            << QStringList{"5,5,20,1,2,3,"}
            << crlf("extern code TK_CHN_CFG TKChnCfg[];\ncode TK_CHN_CFG TKChnCfg[2] = "
                    "{\n1,0,20,1,1,1,\n"
                    "};\nint x;\n")
            << crlf("extern code TK_CHN_CFG TKChnCfg[];\n5,5,20,1,2,3,\n};\nint x;\n\n");
        QTest::newRow("line after the closing line copied untested")
            << QStringList{"1,1,20,100,100,100,"}
            << crlf("TKChnCfg = {\n9,9,\n};\nTKChnCfg again\n};\n")
            << crlf("TKChnCfg = {\n1,1,20,100,100,100,\n};\nTKChnCfg again\n};\n\n");
    }
    void channelTableReplacesBody()
    {
        QFETCH(QStringList, rows);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        writeBytes(path("table.c"), before);
        ModalHelper log;
        QVERIFY(SourceGenerator::rewriteChannelTable(nullptr, path("table.c"), rows));
        QCOMPARE(readBytes(path("table.c")), after);
        QVERIFY(log.texts().isEmpty());
    }

    void rewritingTwiceKeepsBodyAndGrowsOneEmptyLine()
    {
        const QStringList rows{"1,3,20,100,100,100,"};
        writeBytes(path("twice.c"), crlf(kSource));
        QVERIFY(SourceGenerator::rewriteChannelTable(nullptr, path("twice.c"), rows));
        const QByteArray once = readBytes(path("twice.c"));
        QVERIFY(SourceGenerator::rewriteChannelTable(nullptr, path("twice.c"), rows));
        QCOMPARE(readBytes(path("twice.c")), once + "\r\n");
    }

    // Save & Download rewrites the test template in place, so each run reads the last one's
    // output: every table the tool writes, up to all 25 channels, is found again, and the header
    // always counts the rows of the table.
    void ownOutputIsRewrittenAgainForEveryRowCount()
    {
        writeBytes(path("own.h"), crlf(kHeader));
        writeBytes(path("own.c"), crlf(kSource));
        QList<int> counts;
        for (int n = 0; n <= 25; ++n)
            counts << n;
        counts << 3 << 25 << 0;
        ModalHelper log;
        for (int n : counts) {
            QStringList rows;
            for (int channel = 0; channel < n; ++channel)
                rows << QStringLiteral("%1,%2,20,100,100,100,").arg(channel + 1).arg(channel);
            QVERIFY(SourceGenerator::rewriteChannelCount(nullptr, path("own.h"), n, kFailure));
            QVERIFY2(SourceGenerator::rewriteChannelTable(nullptr, path("own.c"), rows),
                     qPrintable(QStringLiteral("%1 rows after the last run").arg(n)));
            const QByteArray header = readBytes(path("own.h"));
            QVERIFY(header.contains(SourceGenerator::channelCountLine(n).toLatin1() + "\r\n"));
            const QList<QByteArray> lines = readBytes(path("own.c")).split('\n');
            int marker = 0;
            while (marker < lines.size() && !lines.at(marker).contains("TKChnCfg"))
                ++marker;
            QStringList table;
            for (int i = marker + 1; i < lines.size() && !lines.at(i).contains("};"); ++i)
                table << QString::fromLatin1(lines.at(i)).chopped(1);
            QCOMPARE(table, rows);
        }
        QVERIFY(log.texts().isEmpty());
    }

    // A user's comments in another encoding than the system's (GBK "你好" under UTF-8 here, and
    // bytes valid in none) come back byte for byte from every rewrite that does not touch them.
    void untouchedLinesKeepTheirBytes_data()
    {
        QTest::addColumn<int>("rewrite");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        // A NUL, a stray CR before a line end and one inside a line are bytes of their lines.
        const QByteArray gbk =
            QByteArray("/* \xC4\xE3\xBA\xC3 \xFF\x80 caf\xE9") + '\0' + QByteArray(" \r*/\r");
        const QByteArray source = crlf(kSource).replace("#include", gbk + "\r\n#include") + gbk;
        QTest::newRow("channel count")
            << 0 << crlf("/* \xC4\xE3\xBA\xC3 */\n#define   TKL_CHN_NUM      (4)\n") + gbk
            << crlf("/* \xC4\xE3\xBA\xC3 */\n#define   TKL_CHN_NUM      (2)\n") + gbk;
        QTest::newRow("channel table")
            << 1 << source
            << QByteArray(source).replace("1,0,20,100,100,100,\r\n2,1,20,100,100,100,\r\n",
                                          "1,3,20,100,100,100,\r\n") +
                   "\r\n";
        QTest::newRow("deep sleep")
            << 2 << source
            << QByteArray(source).replace("0,6,0,10,0,0,0,0,", "1,6,0,10,0,0,0,5,") + "\r\n";
    }
    void untouchedLinesKeepTheirBytes()
    {
        QFETCH(int, rewrite);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QTextCodec *system = QTextCodec::codecForLocale();
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
        writeBytes(path("gbk.c"), before);
        ModalHelper log;
        bool ok = false;
        if (rewrite == 0)
            ok = SourceGenerator::rewriteChannelCount(nullptr, path("gbk.c"), 2, kFailure);
        else if (rewrite == 1)
            ok = SourceGenerator::rewriteChannelTable(nullptr, path("gbk.c"),
                                                      {"1,3,20,100,100,100,"});
        else
            ok = SourceGenerator::rewriteDeepSleepCfg(nullptr, path("gbk.c"), "1,6,0,10,0,0,0,5,");
        QTextCodec::setCodecForLocale(system);
        QVERIFY(ok);
        QCOMPARE(readBytes(path("gbk.c")).toHex(' '), after.toHex(' '));
        QVERIFY(log.texts().isEmpty());
    }

    void deepSleepReplacesItsRow()
    {
        writeBytes(path("sleep.c"), crlf(kSource));
        QVERIFY(
            SourceGenerator::rewriteDeepSleepCfg(nullptr, path("sleep.c"), "1,6,0,10,0,0,0,5,"));
        QCOMPARE(readBytes(path("sleep.c")),
                 crlf(kSource).replace("0,6,0,10,0,0,0,0,", "1,6,0,10,0,0,0,5,") + "\r\n");
    }

    // Templates without the expected shape keep every line and report the failure.
    void misshapenTemplateIsLeftUnchanged_data()
    {
        QTest::addColumn<int>("rewrite");
        QTest::addColumn<QByteArray>("content");
        QByteArray longBody = "TKChnCfg = {\r\n";
        for (int i = 0; i < 26; ++i)
            longBody += "1,1,20,100,100,100,\r\n";
        QTest::newRow("table closing line beyond 26 lines") << 0 << longBody + "};\r\nx\r\n";
        QTest::newRow("table without closing line") << 0 << crlf("TKChnCfg = {\n1,2,\n");
        QTest::newRow("table closing line is the last")
            << 0 << QByteArray("TKChnCfg = {\r\n1,2,\r\n};");
        QTest::newRow("deep-sleep closing line not two below")
            << 1 << crlf("DeepSleepCfg = {\n0,\n1,\n};\nx\n");
        QTest::newRow("deep-sleep file ends at the marker") << 1 << QByteArray("DeepSleepCfg = {");
        QTest::newRow("deep-sleep closing line is the last")
            << 1 << QByteArray("DeepSleepCfg = {\r\n0,\r\n};");
    }
    void misshapenTemplateIsLeftUnchanged()
    {
        QFETCH(int, rewrite);
        QFETCH(QByteArray, content);
        writeBytes(path("shape.c"), content);
        ModalHelper log;
        const bool ok =
            rewrite == 0 ? SourceGenerator::rewriteChannelTable(nullptr, path("shape.c"), {"9,9,"})
                         : SourceGenerator::rewriteDeepSleepCfg(nullptr, path("shape.c"), "9,");
        QVERIFY(!ok);
        QCOMPARE(readBytes(path("shape.c")), content);
        QCOMPARE(log.texts(), QStringList{kFailure});
        QCOMPARE(log.titles(), QStringList{QStringLiteral("提示")});
    }

    void emptyFileFailsWithTheCallersMessage()
    {
        writeBytes(path("empty.h"), QByteArray());
        ModalHelper log;
        QVERIFY(!SourceGenerator::rewriteChannelCount(nullptr, path("empty.h"), 3,
                                                      QStringLiteral("写.H文件失败！")));
        QVERIFY(!SourceGenerator::rewriteChannelTable(nullptr, path("empty.h"), {"1,"}));
        QVERIFY(!SourceGenerator::rewriteDeepSleepCfg(nullptr, path("empty.h"), "1,"));
        QCOMPARE(log.texts(), (QStringList{QStringLiteral("写.H文件失败！"), kFailure, kFailure}));
        QCOMPARE(readBytes(path("empty.h")), QByteArray());
    }

    void missingFileIsCreatedQuietly()
    {
        ModalHelper log;
        QVERIFY(SourceGenerator::rewriteChannelCount(nullptr, path("new.h"), 3, "x"));
        QVERIFY(
            SourceGenerator::rewriteChannelTable(nullptr, path("new.c"), {"1,0,20,100,100,100,"}));
        QVERIFY(log.texts().isEmpty());
        QVERIFY(QFile::exists(path("new.h")));
        QCOMPARE(readBytes(path("new.h")), QByteArray());
        QCOMPARE(readBytes(path("new.c")), QByteArray("\r\n"));
    }

    void unreadableFileIsNotOverwritten()
    {
        // A folder in the file's place cannot be read as a file, whoever runs the test.
        QVERIFY(QDir(dir.path()).mkpath("blocked.h"));
        ModalHelper log;
        QVERIFY(!SourceGenerator::rewriteChannelCount(nullptr, path("blocked.h"), 3, kFailure));
        QCOMPARE(log.texts(), QStringList{kFailure});
        QVERIFY(QFileInfo(path("blocked.h")).isDir());
    }

    void unwritableFileFailsWithTheCallersMessage()
    {
        // Readable but not writable whoever runs the test, root included.
        const QString kernelFile = QStringLiteral("/proc/version");
        if (!QFileInfo(kernelFile).isReadable())
            QSKIP("needs a readable, unwritable system file");
        ModalHelper log;
        QVERIFY(!SourceGenerator::rewriteChannelCount(nullptr, kernelFile, 3, kFailure));
        QVERIFY(!SourceGenerator::rewriteDeepSleepCfg(nullptr, kernelFile, "1,"));
        QCOMPARE(log.texts(), (QStringList{kFailure, kFailure}));
    }

    // One row per channel in use, ascending, with the pin map's key; a mean that is missing, no
    // number or beyond 16 bits names the channel and what it lacks.
    void resultRowsFollowThePinMap()
    {
        QTableWidget table(32, 6);
        QStringList names;
        for (int n = 0; n < 25; ++n)
            names << QStringLiteral("TK%1").arg(n);
        ResultsTable results(&table, names);
        const QStringList rows[] = {{"TK5", "2010", "2190", "2015", "5", "9"},
                                    {"TK3", "1990", "70000", "abc", "3", "1"},
                                    {"TK8", "1", "2", "3", "8", "4"}};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 6; ++c)
                table.setItem(r, c, new QTableWidgetItem(rows[r].at(c)));
        }
        results.adoptLoadedRows();
        const FakePinMap pins{{3, 1}, {5, 3}, {6, 2}};
        QStringList incomplete;
        const QStringList got = SourceGenerator::resultRows(pins, results, &incomplete);
        QCOMPARE(got.size(), 3);
        QCOMPARE(got.at(1), QStringLiteral("3,5,20,2010,2190,2015,"));
        QCOMPARE(incomplete, (QStringList{"TK3（触摸、防水）", "TK6（不触摸、触摸、防水）"}));
    }

    // The shipped templates have the shape the rewrites expect, with CR LF line ends.
    void shippedTemplatesRewriteCleanly_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("keySettings");
        // Only the application firmware decides keys; the test firmware has no settings table.
        QTest::newRow("test") << "RM3KV5172_Touch_Test" << false;
        QTest::newRow("demo") << "RM3KV5172_Touch_Demo" << true;
    }
    void shippedTemplatesRewriteCleanly()
    {
        QFETCH(QString, folder);
        // The templates as committed: the copies beside the executables are rewritten by the tool.
        const QString root = testsupport::shippedTemplate(folder);
        QVERIFY(!root.isEmpty());
        const QByteArray header = readBytes(root + "/User/H/TouchKeyScan.h");
        const QByteArray source = readBytes(root + "/User/C/TouchKeyScan.c");
        QVERIFY(header.contains("#define   TKL_CHN_NUM      (4)\r\n"));
        QCOMPARE(header.count('\n'), header.count("\r\n"));
        QCOMPARE(source.count('\n'), source.count("\r\n"));
        writeBytes(path("tpl.h"), header);
        writeBytes(path("tpl.c"), source);
        QVERIFY(SourceGenerator::rewriteChannelCount(nullptr, path("tpl.h"), 2, kFailure));
        QVERIFY(SourceGenerator::rewriteDeepSleepCfg(nullptr, path("tpl.c"), "1,6,0,10,0,0,0,5,"));
        QVERIFY(SourceGenerator::rewriteChannelTable(
            nullptr, path("tpl.c"), {"1,3,20,2010,2190,2015,", "2,5,20,2011,2191,2016,"}));
        QCOMPARE(readBytes(path("tpl.h")), QByteArray(header).replace("(4)", "(2)"));
        QByteArray expected = source;
        expected.replace("0,6,0,10,0,0,0,0,", "1,6,0,10,0,0,0,5,");
        expected.replace("1,0,20,100,100,100,\r\n2,1,20,100,100,100,\r\n3,2,20,100,100,100,\r\n"
                         "4,3,20,100,100,100,\r\n",
                         "1,3,20,2010,2190,2015,\r\n2,5,20,2011,2191,2016,\r\n");
        QCOMPARE(readBytes(path("tpl.c")), expected + "\r\n\r\n");

        QFETCH(bool, keySettings);
        const QString text = QString::fromLatin1(expected).remove(QLatin1Char('\r'));
        QString rewritten;
        QCOMPARE(SourceGenerator::rewriteKeySettingsTableText(
                     text, {"70,0,15,0,0,", "50,10,3,20,1,"}, &rewritten),
                 keySettings);
        if (keySettings)
            QCOMPARE(rewritten, QString(text).replace(QString("50,10,3,20,1,\n").repeated(4),
                                                      "70,0,15,0,0,\n50,10,3,20,1,\n") +
                                    "\n");
    }

    // A slider's segments are named by their rows of the channel table, in order along it; each
    // segment's settings row is its slider's, whichever segment an earlier version kept them on
    // (W1's on its second). The application template
    // takes the table and the count; the test template, which has no sliders, only none.
    void sliderTableAndCount()
    {
        FakePinMap pins({{0, 1}});
        pins.addSlider(SliderDefinition::Kind::Slider, QStringLiteral("S1"), {5, 3, 7});
        pins.addSlider(SliderDefinition::Kind::Wheel, QStringLiteral("W1"), {8, 9, 10});
        const QStringList rows = SourceGenerator::sliderRows(pins);
        QCOMPARE(rows, (QStringList{"0,3,2,1,3,0,0,0,0,0, /* S1 */",
                                    "1,3,4,5,6,0,0,0,0,0, /* W1 */"}));
        const QStringList settings = SourceGenerator::keySettingsRows(pins, [](int channel) {
            return channel == 5   ? KeySettings{70, 0, 15, 0, false}
                   : channel == 9 ? KeySettings{80, 10, 7, 20, true}
                                  : KeySettings();
        });
        QCOMPARE(settings, (QStringList{"50,10,3,20,1,", "70,0,15,0,0,", "70,0,15,0,0,",
                                        "70,0,15,0,0,", "80,10,7,20,1,", "80,10,7,20,1,",
                                        "80,10,7,20,1,"}));
        for (const char *folder : {"RM3KV5172_Touch_Demo", "RM3KV5172_Touch_Test"}) {
            const QString root = testsupport::shippedTemplate(folder);
            const QString header =
                QString::fromLatin1(readBytes(root + "/User/H/TouchKeyScan.h")).remove('\r');
            const QString source =
                QString::fromLatin1(readBytes(root + "/User/C/TouchKeyScan.c")).remove('\r');
            QString out;
            QVERIFY(SourceGenerator::rewriteSliderCountText(header, 2, &out));
            QVERIFY(out.contains("#define   TKL_SLD_NUM      (2)\n"));
            const bool app = QString(folder).endsWith("Demo");
            QString table;
            QCOMPARE(SourceGenerator::rewriteSliderTableText(source, rows, &table), app);
            if (app)
                QVERIFY(table.contains("TKSliderCfg[TKL_SLD_NUM * TK_SLD_FIELDS] = {\n" +
                                       rows.join('\n') + "\n};\n"));
            QVERIFY(SourceGenerator::rewriteSliderTableText(source, {}, &table));
        }
        QString out = QStringLiteral("unchanged");
        QVERIFY(!SourceGenerator::rewriteSliderCountText(kHeader, 1, &out));
        QCOMPARE(out, QStringLiteral("unchanged"));
    }

    // Each template is a project of its own, so the two carry their own copies of the files
    // that are the same in every project; a fix to one must reach the other.
    void templatesShareTheirCommonFiles()
    {
        const QString test = testsupport::shippedTemplate(QStringLiteral("RM3KV5172_Touch_Test"));
        const QString demo = testsupport::shippedTemplate(QStringLiteral("RM3KV5172_Touch_Demo"));
        QVERIFY(!test.isEmpty() && !demo.isEmpty());
        // TouchKey.c and TouchKeyScan.c differ: the test firmware only measures.
        for (const QString file : {"TemplateVersion.txt", "User/H/compiler.h", "User/H/RM3KV5172.h",
                                   "User/H/TouchKey.h", "User/H/TouchKeyScan.h"}) {
            const QByteArray bytes = readBytes(test + "/" + file);
            QVERIFY2(bytes.size() > 1 && bytes == readBytes(demo + "/" + file), qPrintable(file));
        }
    }
};

QTEST_MAIN(TestSourceGen)
#include "tst_sourcegen.moc"
