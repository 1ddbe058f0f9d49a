#include "modalhelper.h"
#include "quality/keyquality.h"
#include "quality/samplesfile.h"
#include "quality/tuningreport.h"
#include "testsupport.h"
#include "tuningrig.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
using testsupport::noisyPhase;
using testsupport::pdfText;

// 25 keys around 2000: good ones, and among them a poor signal, a large water shift, water
// above the threshold, a key without its waterproof test.
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
              QString("已测通道 25 个：合格 21，注意 1，不合格 2，数据不全 1"),
              QString("信噪比低于5:1"), QString("防水偏移达到信号的一半"),
              QString("防水最大值达到阈值"), QString("各通道采样曲线"), QString("阈值")})
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
        }
        QVERIFY2(text.count('\f') >= 3, "25 keys and their plots need several pages");
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
