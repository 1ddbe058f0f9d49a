#include "quality/firmwarekeymodel.h"
#include "quality/keyquality.h"
#include "quality/samplesfile.h"
#include "quality/tuningreport.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

// Cost of the key figures, the firmware preview, the samples file and the report for all 25
// channels. Benchmarks only: nothing is timed against a limit here.
class BenchKeyQuality : public QObject
{
    Q_OBJECT

private:
    QVector<TuningReport::Channel> channels;

private slots:
    void initTestCase()
    {
        for (int k = 0; k < 25; ++k) {
            TuningReport::Channel c;
            c.channel = k;
            c.keyNumber = k + 1;
            c.samples.noTouch = testsupport::noisyPhase(2000 + k, 5, 3 * k);
            c.samples.touch = testsupport::noisyPhase(2300 + k, 8, 3 * k + 1);
            c.samples.water = testsupport::noisyPhase(2030 + k, 5, 3 * k + 2);
            channels << c;
        }
    }

    void figuresFor25Channels()
    {
        int complete = 0;
        QBENCHMARK
        {
            complete = 0;
            for (const TuningReport::Channel &c : channels)
                complete += KeyQuality::of(c.samples).isComplete();
        }
        QCOMPARE(complete, 25);
    }

    // What the verification preview adds to each record: one scan step of 25 keys.
    void previewStepFor25Channels()
    {
        std::vector<FirmwareKeyModel> models;
        for (const TuningReport::Channel &c : channels)
            models.push_back(*FirmwareKeyModel::forKey(KeyQuality::of(c.samples)));
        int record = 0;
        const auto step = [&] {
            int pressed = 0;
            for (int k = 0; k < 25; ++k)
                pressed += models[k].feed(quint16(channels[k].samples.touch[record % 162]));
            ++record;
            return pressed;
        };
        for (int i = 0; i < KeySettings().debounce; ++i)
            step();
        int pressed = 0;
        QBENCHMARK { pressed = step(); }
        QCOMPARE(pressed, 25);
    }

    // A recording of ten minutes at 1,000 records a second through 25 keys' firmware models, as
    // the evaluation of a recording under the keys' settings runs them: 15 million scans.
    void firmwareScansOfATenMinuteRecording()
    {
        std::vector<FirmwareKeyModel> models;
        for (const TuningReport::Channel &c : channels)
            models.push_back(*FirmwareKeyModel::forKey(KeyQuality::of(c.samples)));
        // A second of each phase by turns, every key's counts of a record side by side.
        constexpr int kRecords = 600000;
        std::vector<quint16> counts;
        for (int record = 0; record < 3000; ++record) {
            for (const TuningReport::Channel &c : channels)
                counts.push_back(quint16(c.samples.of(SamplePhase(record / 1000))[record % 162]));
        }
        QElapsedTimer timer;
        timer.start();
        qint64 pressed = 0;
        for (int record = 0; record < kRecords; ++record) {
            const quint16 *row = counts.data() + std::size_t(record % 3000) * 25;
            for (std::size_t k = 0; k < 25; ++k)
                pressed += models[k].feed(row[k]);
            if (record % 1000 == 999) {
                for (FirmwareKeyModel &model : models)
                    model.second();
            }
        }
        qInfo("%d scans in %lld ms, %lld of them pressed", kRecords * 25, timer.elapsed(),
              pressed);
        QVERIFY(pressed > 0);
    }

    void samplesFileFor25Channels()
    {
        QTemporaryDir dir;
        SampleStore store;
        for (const TuningReport::Channel &c : channels) {
            for (SamplePhase phase : {SamplePhase::NoTouch, SamplePhase::Touch, SamplePhase::Water})
                store.set(c.channel, phase, c.samples.of(phase));
        }
        const QString path = dir.filePath(SamplesFile::fileName("bench"));
        QString error;
        QBENCHMARK
        {
            QVERIFY(SamplesFile::write(path, store, &error));
            SampleStore back;
            QVERIFY(SamplesFile::read(path, &back, &error));
        }
    }

    void reportFor25Channels()
    {
        QTemporaryDir dir;
        const TuningReport report("bench", "SOP28", QDate(2024, 5, 6), channels);
        const QString path = dir.filePath(TuningReport::appFileName());
        QString error;
        for (int run = 1; run <= 3; ++run) {
            QElapsedTimer timer;
            timer.start();
            QVERIFY(report.write(path, &error));
            qInfo("report for 25 channels, run %d: %lld ms, %lld bytes", run, timer.elapsed(),
                  QFileInfo(path).size());
        }
    }
};

QTEST_MAIN(BenchKeyQuality)
#include "bench_keyquality.moc"
