// What the real window costs with the simulated board streaming at the board's full rate: a
// project of 25 keys with their results rows opened as a user opens it, verification switched on
// with its button and recorded, all 25 curves and then 2 of them ticked (the preview of every key
// and the numbers beside them), and the window idle before. Prints the share of a core the whole
// process used, the board's simulation included (CPU time, not wall time, since the machine may
// be shared), with the records per second, and fails above the bounds (except in the sanitizer
// builds, where every record costs several times its plain cost).
#include "app/mainwindow.h"
#include "modalhelper.h"
#include "sim/simboard.h"
#include "testsupport.h"
#include "uiscript.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using testsupport::processCpuSeconds;
using testsupport::waitUntil;

namespace
{
// The board's full rate: a Data frame every millisecond.
constexpr int kBoardIntervalMs = 1;
constexpr double kMaxStreamingShare = 0.03;
constexpr double kMaxIdleShare = 0.001;
constexpr int kIdleMs = 2000;
constexpr int kStreamMs = 2000;

struct Share
{
    double core = 0.0;
    double recordsPerSecond = 0.0;
};

// Runs the event loop for ms (one timer, no polling of its own) and measures what it cost.
Share measure(int ms, const int &records)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    const int recordsBefore = records;
    QElapsedTimer wall;
    const double cpuBefore = processCpuSeconds();
    wall.start();
    loop.exec();
    const double seconds = wall.nsecsElapsed() / 1e9;
    return {(processCpuSeconds() - cpuBefore) / seconds, (records - recordsBefore) / seconds};
}

// A project of 25 keys on the SOP28 package with a measured row for each, so that the preview
// runs the firmware's decision for every key.
QByteArray projectOf25Keys(const QString &folder)
{
    QByteArray ini = "[1]\n1=bench\n2=" + folder.toUtf8() + "\n[2]\n1=RM3KV5172_SOP28\n[3]\n1=25\n";
    QByteArray inUse = "[10]\n";
    QByteArray keys = "[11]\n";
    QByteArray rows = "[20]\n0=25\n";
    for (int k = 0; k < 25; ++k) {
        const QByteArray n = QByteArray::number(k);
        inUse += n + "=1\n";
        keys += n + '=' + QByteArray::number(k + 1) + '\n';
        const int base = SimBoard::baseline(k);
        rows += QByteArray::number(k + 1) + "=TK" + n + ':' + QByteArray::number(base) + ':' +
                QByteArray::number(base + SimBoard::kFingerRise) + ':' +
                QByteArray::number(base + SimBoard::kWaterShift) + ':' + n + ':' +
                QByteArray::number(k + 1) + '\n';
    }
    return ini + inUse + keys + rows;
}
} // namespace

class BenchVerification : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }

    void windowAtTheBoardsFullRate()
    {
        SimBoard::reset();
        testsupport::realClock();
        SimBoard::setDataInterval(kBoardIntervalMs);
        // The tool's own pacing, but for the pause per record while the curves' window fills: the
        // figures are for the full window, which the tool's pause would take 3 s to reach.
        Pacing pacing;
        pacing.verificationRecordPauseMs = 1;
        QTemporaryDir dir;
        const QString project = dir.filePath("bench.ini");
        testsupport::writeBytes(project, projectOf25Keys(dir.path()));

        MainWindow window(pacing);
        window.resize(1366, 768);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        {
            UiScript script;
            script.answerFileDialog(project);
            QTest::mouseClick(window.findChild<QPushButton *>("openProBtn"), Qt::LeftButton);
            QVERIFY(waitUntil([&] { return script.finished(); }, 5000));
        }
        window.findChild<QTabWidget *>("setDebugTWidget")->setCurrentIndex(1);
        QList<QCheckBox *> boxes;
        for (int k = 0; k < 25; ++k) {
            boxes << window.findChild<QCheckBox *>(QStringLiteral("checkBox%1").arg(k));
            QVERIFY(boxes.last()->isChecked());
        }
        int records = 0;
        auto *link = window.findChild<DebuggerLink *>();
        connect(link, &DebuggerLink::checkRecord, this, [&records] { ++records; });
        connect(link, &DebuggerLink::checkRecords, this,
                [&records](const QByteArrayList &block) { records += block.size(); });
        // The window settles (first paints, layouts) before it is measured idle.
        QTest::qWait(300);
        const Share idle = measure(kIdleMs, records);

        {
            ModalHelper answers;
            QTest::mouseClick(window.findChild<QPushButton *>("pushButton_3"), Qt::LeftButton);
            QCOMPARE(answers.texts(), QStringList{QStringLiteral("请确认没有其他操作！")});
        }
        auto *record = window.findChild<QPushButton *>("recordBtn");
        QTest::mouseClick(record, Qt::LeftButton);
        QCOMPARE(record->text(), QStringLiteral("停止录制"));
        QVERIFY(waitUntil([&] { return records > 300; }, 5000));
        const Share all = measure(kStreamMs, records);
        for (int k = 2; k < 25; ++k)
            QTest::mouseClick(boxes[k], Qt::LeftButton);
        // The boxes repaint after their clicks; the stream is measured once they are done.
        QTest::qWait(300);
        const Share two = measure(kStreamMs, records);

        qInfo("idle window: %.5f of a core", idle.core);
        qInfo("verification, 25 curves: %.4f of a core at %.0f records/s", all.core,
              all.recordsPerSecond);
        qInfo("verification, 2 curves: %.4f of a core at %.0f records/s", two.core,
              two.recordsPerSecond);
        QVERIFY2(all.recordsPerSecond > 800 && two.recordsPerSecond > 800,
                 "the board streams at its full rate");
        QTest::mouseClick(record, Qt::LeftButton);
        QCOMPARE(record->text(), QStringLiteral("录制"));
        SimBoard::unplug();
        if (testsupport::kSanitized)
            return;
        QVERIFY(all.core <= kMaxStreamingShare);
        QVERIFY(two.core <= kMaxStreamingShare);
        QVERIFY(idle.core <= kMaxIdleShare);
    }
};

QTEST_MAIN(BenchVerification)
#include "bench_verification.moc"
