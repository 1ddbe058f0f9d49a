#include "quality/recordingevaluation.h"

#include <QElapsedTimer>
#include <QtTest>

#include <ctime>
#include <vector>

// The evaluation of a recording under the keys' settings, which a change of a setting runs
// again: ten minutes at 1,000 records a second, every key. Prints its time, on the clock and in
// the processor's time this process got (on a machine shared with other builds the two part);
// nothing is timed against a limit here.
class BenchEvaluation : public QObject
{
    Q_OBJECT

private slots:
    void tenMinutesAtAThousandRecordsASecond()
    {
        QVector<KeyPreview::Key> keys;
        for (int k = 0; k < chip::kChannelCount; ++k)
            keys.append({k, k + 1, KeyMeans{2000 + k, 2300 + k, 2030 + k}, KeySettings()});
        // Auto tests of every key, water on every key, then a minute of verification, by turns.
        EvaluatedRecording recording;
        recording.name = QStringLiteral("bench_rec.csv");
        constexpr int kRecords = 600000;
        recording.records.reserve(kRecords);
        unsigned noise = 1;
        for (int i = 0; i < kRecords; ++i) {
            const int cycle = i % (chip::kChannelCount * 162 * 3 + 60000);
            RecordedRecord r;
            r.ms = i;
            r.countCount = chip::kChannelCount;
            int touched = -1;
            if (cycle < chip::kChannelCount * 324) {
                r.kind = RecordedRecord::Kind::Auto;
                r.channel = qint8(cycle / 324);
                const bool touch = cycle % 324 >= 162;
                r.phase = touch ? RecordedRecord::Phase::Touch : RecordedRecord::Phase::NoTouch;
                touched = touch ? r.channel : -1;
            } else if (cycle < chip::kChannelCount * 162 * 3) {
                r.kind = RecordedRecord::Kind::Waterproof;
                r.phase = RecordedRecord::Phase::Water;
                r.channel = qint8((cycle - chip::kChannelCount * 324) / 162);
            } else {
                r.kind = RecordedRecord::Kind::Verification;
            }
            for (int k = 0; k < chip::kChannelCount; ++k) {
                noise = noise * 1103515245u + 12345u;
                const int jitter = int((noise >> 16) % 11) - 5;
                const int water = r.kind == RecordedRecord::Kind::Waterproof ? 30 : 0;
                r.counts[k] = quint16(2000 + k + water + (k == touched ? 300 : 0) + jitter);
            }
            recording.records.append(r);
        }
        recording.verificationUntouched = true;
        qint64 best = -1;
        qint64 bestCpu = -1;
        RecordingEvaluation::Result result;
        for (int run = 1; run <= 3; ++run) {
            QElapsedTimer timer;
            timer.start();
            const std::clock_t cpuStart = std::clock();
            result = RecordingEvaluation::evaluate({recording}, keys);
            const qint64 cpuMs = qint64(std::clock() - cpuStart) * 1000 / CLOCKS_PER_SEC;
            const qint64 ms = timer.elapsed();
            best = best < 0 ? ms : qMin(best, ms);
            bestCpu = bestCpu < 0 ? cpuMs : qMin(bestCpu, cpuMs);
            qInfo("evaluation of %d records x %d keys, run %d: %lld ms (processor %lld ms)",
                  kRecords, chip::kChannelCount, run, ms, cpuMs);
        }
        // The firmware models alone over the same counts, in the same run: what the load of the
        // machine makes of a scan now.
        std::vector<FirmwareKeyModel> models;
        for (const KeyPreview::Key &key : keys)
            models.emplace_back(*key.means.noTouch, *key.means.touch, *key.means.water);
        QElapsedTimer scansTimer;
        scansTimer.start();
        int pressed = 0;
        for (const RecordedRecord &r : qAsConst(recording.records)) {
            for (int k = 0; k < chip::kChannelCount; ++k)
                pressed += models[std::size_t(k)].feed(r.counts[k]);
        }
        const qint64 scansMs = scansTimer.elapsed();
        qInfo("evaluation of a 10-minute recording at 1,000 records/s: %lld ms, processor %lld ms "
              "(best of 3); the firmware models alone: %lld ms (%d pressed), ratio %.1f",
              best, bestCpu, scansMs, pressed, double(best) / double(qMax<qint64>(1, scansMs)));
        int hits = 0;
        for (const RecordingEvaluation::KeyFigures &key : result.keys)
            hits += key.hits;
        QVERIFY(hits > 0);
    }
};

QTEST_MAIN(BenchEvaluation)
#include "bench_evaluation.moc"
