// What verification costs at a fast board's full rate: records fed at 1,000 a second where the
// reader's records enter the session, each record's report kept in the link's traffic as the
// reader keeps it, all 25 curves ticked, the key preview and the numbers view running and every
// record recorded to a file, on a chart of the window's size. Prints the share of
// a core the process used (CPU time, not wall time, since the machine may be shared) and the
// records per second. Benchmarks only: nothing is timed against a limit here.
#include "modalhelper.h"
#include "tuningrig.h"

#include "link/encodedecode.h"
#include "link/linktraffic.h"
#include "quality/recordingfile.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtCharts/QLineSeries>
#include <QtTest>

using namespace testsupport;

namespace
{
constexpr int kRate = 1000;
constexpr int kSeconds = 2;

// A record of every channel near its level, with a little noise.
QByteArray noisyRecord(int n)
{
    QByteArray data(chip::kRecordSize, '\0');
    data[0] = 0x36;
    for (int k = 0; k < chip::kChannelCount; ++k) {
        const int v = 2000 + 10 * k + (n * 7 + k * 13) % 9;
        data[1 + 2 * k] = char(v >> 8);
        data[2 + 2 * k] = char(v & 0xFF);
    }
    return data;
}

// The record as the board sends it: the frame's length, the frame, zeros to 64 bytes.
QByteArray boardReport(const QByteArray &record)
{
    unsigned char frame[2 * (chip::kRecordSize + 2) + 2];
    const int n = EncodeDecode().encode(
        frame, reinterpret_cast<const unsigned char *>(record.constData()), record.size());
    return (QByteArray(1, char(n)) + QByteArray(reinterpret_cast<const char *>(frame), n))
        .leftJustified(protocol::kInputReportBytes, '\0');
}

struct StreamRig : TuningRig
{
    FakeTuningLink link{run};
    LinkTraffic traffic;
    // noisyRecord repeats every 9 records.
    QVector<QByteArray> reports;

    StreamRig()
    {
        window.resize(1150, 780);
        view->setGeometry(400, 0, 740, 560);
        for (int k = 0; k < chip::kChannelCount; ++k) {
            use(k, k + 1);
            boxes[k]->setChecked(true);
        }
        build(link);
        for (int n = 0; n < 9; ++n)
            reports << boardReport(noisyRecord(n));
        // Measured keys with their results rows, so that the preview runs a firmware model for
        // each.
        for (int k = 0; k < chip::kChannelCount; ++k) {
            session->samples().set(k, SamplePhase::NoTouch, QVector<int>(162, 2000 + 10 * k));
            session->samples().set(k, SamplePhase::Touch, QVector<int>(162, 2300 + 10 * k));
            session->samples().set(k, SamplePhase::Water, QVector<int>(162, 2030 + 10 * k));
            (void)results().assignRow(k);
            results().writeTouchResults(k, samples(k));
            results().writeWaterproofResults(k, samples(k), k + 1);
        }
    }
};

struct Figures
{
    double cpuShare = 0.0;
    double recordsPerSecond = 0.0;
    int frames = 0;
    int fed = 0;
};

// Feeds records at kRate for kSeconds through the session, each tick handing over those due.
Figures stream(StreamRig &rig, bool drawEveryRecord)
{
    QElapsedTimer wall;
    int fed = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 due = wall.elapsed() * kRate / 1000;
        while (fed < due) {
            const QByteArray &report = rig.reports.at(fed % rig.reports.size());
            rig.traffic.add(TrafficSource::VerificationReader, TrafficVerdict::Record,
                            reinterpret_cast<const unsigned char *>(report.constData()),
                            report.size());
            rig.session->handleCheckRecord(noisyRecord(fed), 0);
            if (drawEveryRecord)
                rig.verification().flushFrame();
            ++fed;
        }
    });
    const int framesBefore = rig.verification().frameThrottle().framesDrawn();
    const double cpuBefore = processCpuSeconds();
    wall.start();
    tick.start(5);
    QTest::qWait(kSeconds * 1000);
    tick.stop();
    Figures f;
    f.fed = fed;
    const double seconds = wall.elapsed() / 1000.0;
    f.cpuShare = 100.0 * (processCpuSeconds() - cpuBefore) / seconds;
    f.recordsPerSecond = fed / seconds;
    f.frames = rig.verification().frameThrottle().framesDrawn() - framesBefore;
    return f;
}
} // namespace

class BenchStream : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<StreamRig> rig;
    QTemporaryDir recordings;

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }

    void init()
    {
        rig = std::make_unique<StreamRig>();
        QVERIFY(rig->session->recording().start(recordings.filePath("bench_rec.csv")));
        rig->window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig->window));
        ModalHelper boxes;
        rig->verification().toggle();
        QTRY_VERIFY(rig->verification().isActive());
        // The window fills at the reader's pace; the figures are for the full window.
        for (int n = 0; n <= VerificationPlot::kWindow; ++n)
            rig->session->handleCheckRecord(noisyRecord(n), 0);
        QTRY_VERIFY(!rig->verification().recordPending());
    }
    void cleanup() { rig.reset(); }

    // Every record fed is in the file once the recording ends.
    void checkRecording(const Figures &f)
    {
        StreamRecording &recording = rig->session->recording();
        const QString path = recording.path();
        recording.stop();
        QVector<RecordedRecord> written;
        int skipped = 0;
        QString error;
        QVERIFY(RecordingFile::read(path, &written, &skipped, &error));
        QCOMPARE(skipped, 0);
        QCOMPARE(written.size(), VerificationPlot::kWindow + 1 + f.fed);
        qInfo("recorded %d records, %lld bytes", int(written.size()), QFileInfo(path).size());
    }

    void verificationAtDisplayRate()
    {
        const Figures f = stream(*rig, false);
        qInfo("verification, 25 curves, drawn at the display's rate, recorded: %.1f %% of a core "
              "at %.0f records/s, %d frames (%.1f a second, the last spaced %d ms by its cost)",
              f.cpuShare, f.recordsPerSecond, f.frames, f.frames / double(kSeconds),
              rig->verification().frameThrottle().spacingMs());
        QVERIFY(f.recordsPerSecond > kRate * 0.9);
        QCOMPARE(rig->verification().plot().curve(24)->count(), VerificationPlot::kWindow);
        checkRecording(f);
    }

    // The traffic alone: what keeping a report costs its reader, and what the full ring's text
    // costs the export.
    void trafficOfAFullStream()
    {
        constexpr int kReports = 1000000;
        LinkTraffic traffic;
        const QByteArray &report = rig->reports.first();
        const auto *bytes = reinterpret_cast<const unsigned char *>(report.constData());
        const double cpuBefore = processCpuSeconds();
        for (int n = 0; n < kReports; ++n)
            traffic.add(TrafficSource::VerificationReader, TrafficVerdict::Record, bytes,
                        report.size());
        const double perReport = (processCpuSeconds() - cpuBefore) / kReports;
        QElapsedTimer clock;
        clock.start();
        const QByteArray text = traffic.text();
        qInfo("link traffic: %.0f ns of CPU a report, %.4f %% of a core at %d reports/s; the "
              "text of the full ring: %lld ms, %d KB",
              perReport * 1e9, 100.0 * perReport * kRate, kRate, clock.elapsed(),
              int(text.size() / 1024));
        QCOMPARE(traffic.entries().size(), LinkTraffic::kCapacity);
    }

    // The former way for comparison: the curves redrawn with every record.
    void verificationRecordByRecord()
    {
        const Figures f = stream(*rig, true);
        qInfo("verification, 25 curves, redrawn with every record, recorded: %.1f %% of a core at "
              "%.0f records/s",
              f.cpuShare, f.recordsPerSecond);
        QVERIFY(f.recordsPerSecond > 0);
    }
};

QTEST_MAIN(BenchStream)
#include "bench_stream.moc"
