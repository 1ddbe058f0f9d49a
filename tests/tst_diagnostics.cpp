// The link's traffic kept in memory, and the diagnostics bundle that carries it with the session.
#include "app/diagnosticsmenu.h"
#include "app/mainwindow.h"
#include "app/uilanguage.h"
#include "diagnostics/diagnosticsbundle.h"
#include "link/debuggerlink.h"
#include "sim/simboard.h"

#include "modalhelper.h"
#include "testsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include <zip.h>

using namespace QtCharts;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace
{
// A board report that carries its number in bytes 1 to 3.
QByteArray numbered(int n)
{
    QByteArray report(64, '\0');
    report[0] = char(0x3F);
    report[1] = char(n & 0xFF);
    report[2] = char((n >> 8) & 0xFF);
    report[3] = char(n >> 16);
    return report;
}

int numberOf(const TrafficEntry &entry)
{
    return entry.bytes[1] | entry.bytes[2] << 8 | entry.bytes[3] << 16;
}

// Every file of the zip by name, read back with libzip; empty when it does not open.
QMap<QString, QByteArray> unzip(const QString &path)
{
    QMap<QString, QByteArray> files;
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!zip)
        return files;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t stat;
        zip_file_t *file = zip_fopen_index(zip, zip_uint64_t(i), 0);
        if (zip_stat_index(zip, zip_uint64_t(i), 0, &stat) != 0 || !file)
            return {};
        QByteArray bytes(int(stat.size), '\0');
        const zip_int64_t read = zip_fread(file, bytes.data(), stat.size);
        zip_fclose(file);
        files.insert(QString::fromUtf8(stat.name), bytes.left(int(std::max<zip_int64_t>(read, 0))));
    }
    zip_close(zip);
    return files;
}

// The index of the first line at or after from that contains text and ends with end; -1 when
// none does.
int lineWith(const QStringList &lines, const QString &text, int from = 0,
             const QString &end = QString())
{
    for (int n = std::max(from, 0); n < lines.size(); ++n) {
        if (lines.at(n).contains(text) && lines.at(n).endsWith(end))
            return n;
    }
    return -1;
}
} // namespace

class TestDiagnostics : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void init()
    {
        SimBoard::reset();
        SimBoard::setNoise(0);
    }

    void trafficKeepsTheNewestReportsOfAFullStream()
    {
        constexpr int kReports = LinkTraffic::kCapacity + 5000;
        SimBoard::setQueueLimit(kReports);
        DebuggerLink link(testsupport::fastClock());
        QCOMPARE(link.openDebugger(), 0);
        for (int n = 0; n < kReports; ++n)
            SimBoard::injectReport(numbered(n));
        // The drain reads on its thread while this one reads the traffic.
        link.startDrain();
        QTRY_VERIFY(link.traffic().entries().size() == LinkTraffic::kCapacity &&
                    SimBoard::queuedReports() == 0);
        link.stopDrain();
        qint64 added = 0;
        const QVector<TrafficEntry> kept = link.traffic().entries(&added);
        // The open and the oldest reports dropped; of the newest none lost, none out of order.
        QCOMPARE(added, qint64(1 + kReports));
        QCOMPARE(kept.size(), LinkTraffic::kCapacity);
        for (int i = 0; i < kept.size(); ++i) {
            QCOMPARE(kept[i].verdict, TrafficVerdict::Discarded);
            QCOMPARE(kept[i].source, TrafficSource::Drain);
            QCOMPARE(numberOf(kept[i]), kReports - LinkTraffic::kCapacity + i);
        }
    }

    void failedWriteLeavesTheFolderAsItWas()
    {
        // A recording that goes away while the zip is written: libzip fails as it reads it.
        QTemporaryDir dir;
        const QString target = dir.filePath("bundle.zip");
        const QString recording = dir.filePath("rec.csv");
        writeBytes(target, "earlier");
        writeBytes(recording, "0123456789");
        DiagnosticsBundle bundle;
        bundle.addFile(QStringLiteral("recording/rec.csv"), recording, 10);
        bundle.addMade(QStringLiteral("traffic.txt"), [&] {
            QFile::remove(recording);
            return QByteArray("traffic");
        });
        QString error;
        QVERIFY(!bundle.write(target, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes(target), QByteArray("earlier"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"bundle.zip"});
        // A folder that cannot be written, for root as well: a path below a regular file.
        DiagnosticsBundle small;
        small.add(QStringLiteral("log.txt"), "log");
        error.clear();
        QVERIFY(!small.write(dir.filePath("bundle.zip/inner.zip"), &error));
        QVERIFY(!error.isEmpty());
    }

    // After a verification run, an unplug and a refused Start, the bundle shows them in order.
    void bundleOfASessionReadsBack()
    {
        QTemporaryDir dir;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath("user"));
        UiLanguage::save(UiLanguage::Language::Chinese);
        SimBoard::setDataInterval(1);
        auto window = std::make_unique<MainWindow>(testsupport::fastClock());
        window->show();
        SimBoard::setHotplugTarget(window->findChild<QObject *>(QStringLiteral("deviceNotifier")));
        const auto find = [&](const char *name) {
            return window->findChild<QWidget *>(QString::fromLatin1(name));
        };
        static_cast<QLineEdit *>(find("proPathLineEdit"))->setText(dir.path());
        static_cast<QCheckBox *>(find("checkBox0"))->setChecked(true);
        auto *verify = static_cast<QPushButton *>(find("pushButton_3"));
        auto *record = static_cast<QPushButton *>(find("recordBtn"));
        auto *status = static_cast<QLabel *>(find("usbStateLabel"));
        ModalHelper boxes;

        QTest::mouseClick(record, Qt::LeftButton);
        QTest::mouseClick(verify, Qt::LeftButton);
        auto *chart = static_cast<QChartView *>(find("chartView"))->chart();
        QTRY_VERIFY(static_cast<QLineSeries *>(chart->series().at(0))->count() > 5);
        QTest::mouseClick(verify, Qt::LeftButton);
        QTest::mouseClick(record, Qt::LeftButton);
        SimBoard::unplug();
        QTRY_COMPARE(status->text(), QStringLiteral("调试器已断开"));
        SimBoard::plug();
        QTRY_COMPARE(status->text(), QStringLiteral("调试器已连接"));
        SimBoard::setRefuseStart(true);
        QTest::mouseClick(verify, Qt::LeftButton);
        // Refused, or dropped with the backlog the verification reader empties before it reads:
        // either way the reader gives up and says so.
        QTRY_COMPARE(boxes.count(), 3);

        auto *menu = window->findChild<DiagnosticsMenu *>();
        const QString zipPath = dir.filePath("bundle.zip");
        menu->chooseFile = [&](QWidget *, const QString &, const QString &, const QString &) {
            return zipPath;
        };
        boxes.whileOpen = [](QMessageBox *box) {
            if (box->checkBox())
                box->checkBox()->setChecked(true);
        };
        menu->exportAction()->trigger();
        QTRY_VERIFY(!menu->isWriting());

        const QMap<QString, QByteArray> files = unzip(zipPath);
        const QStringList recordings = QDir(dir.path()).entryList({"*_rec.csv"}, QDir::Files);
        QCOMPARE(recordings.size(), 1);
        QCOMPARE(QStringList(files.keys()),
                 (QStringList{"log.txt", "recording/" + recordings.first(), "system.txt",
                              "touchProName.ini", "touchProName_samples.csv", "touchtuner.ini",
                              "traffic.txt"}));
        QCOMPARE(files.value("recording/" + recordings.first()),
                 readBytes(dir.filePath(recordings.first())));
        QCOMPARE(files.value("touchtuner.ini"), readBytes(UiLanguage::settingsFile()));
        QVERIFY(files.value("log.txt").contains("开始录制"));
        QVERIFY(files.value("system.txt").contains("Touch tuner 0.1.0"));
        QVERIFY(files.value("system.txt").contains("Status: connected"));
        writeBytes(dir.filePath("opened.ini"), files.value("touchProName.ini"));
        QCOMPARE(
            QSettings(dir.filePath("opened.ini"), QSettings::IniFormat).value("1/2").toString(),
            dir.path());

        const QStringList lines = QString::fromUtf8(files.value("traffic.txt")).split("\r\n");
        const QRegularExpression timed(QStringLiteral(
            R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}  (in |out|---)  (host  |reader|verify|drain )  )"));
        for (const QString &line : lines.mid(2, lines.size() - 3))
            QVERIFY2(timed.match(line).hasMatch(), qPrintable(line));
        const int start = lineWith(
            lines, QStringLiteral("out  host    00 06 7E FE 07 E0 9D 7E +57 x 00  written: Start"));
        const int streamed =
            lineWith(lines, QStringLiteral("  verify  "), start, QStringLiteral("  record"));
        const int pulled = lineWith(lines, QStringLiteral("---  host    -  unplugged"), streamed);
        const int back = lineWith(lines, QStringLiteral("plugged in"), pulled + 1);
        const int refused = lineWith(lines, QStringLiteral("Start refused (FE 01)"), back);
        QVERIFY(start >= 0 && streamed > start && pulled > streamed && back > pulled &&
                refused > back);

        // A folder that cannot be written is told, and nothing is written.
        writeBytes(dir.filePath("plain"), "a file");
        const QString below = dir.filePath("plain/bundle.zip");
        menu->chooseFile = [&](QWidget *, const QString &, const QString &, const QString &) {
            return below;
        };
        boxes.clear();
        menu->exportAction()->trigger();
        QTRY_VERIFY(!menu->isWriting());
        QCOMPARE(boxes.count(), 2);
        QVERIFY(boxes.lastText().startsWith(
            QStringLiteral("诊断包未能写入：%1\n").arg(QDir::toNativeSeparators(below))));
        SimBoard::setHotplugTarget(nullptr);
        SimBoard::setRefuseStart(false);
    }
};

QTEST_MAIN(TestDiagnostics)
#include "tst_diagnostics.moc"
