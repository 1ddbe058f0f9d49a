#include "firmwareprep.h"

#include "codegen/appproject.h"
#include "codegen/sourcegenerator.h"
#include "link/encodedecode.h"
#include "link/protocol.h"
#include "link/reportparser.h"
#include "modalhelper.h"
#include "project/settingspage.h"
#include "project/toolpaths.h"
#include "sim/simboard.h"
#include "testsupport.h"
#include "tuning/resultstable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTableWidget>

#include <hidapi/hidapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>
#include <random>

namespace
{
using firmwarecheck::BoardRecords;

// A pad of the target board: its count untouched and what a finger adds.
struct Pad
{
    int baseline;
    int fingerRise;
};

// Most pads as the board has them; the first ones try the firmware's 16-bit arithmetic at its
// edges.
Pad padOf(int channel, quint16 defaultBaseline)
{
    switch (channel) {
    case 0:
        return {10, 300}; // counts at 0
    case 1:
        return {65300, 300}; // touch counts at 65535
    case 2:
        return {40000, -300}; // touch below no-touch: the threshold wraps below the counts
    case 3:
        return {3000, -300}; // touch below no-touch: the threshold lies far above
    case 4:
        return {2000, 40}; // water beyond half the swing: the three-quarter threshold
    case 5:
        return {2000, 4}; // noisy counts land on the threshold itself
    case 6:
        return {65500, -200}; // touch below no-touch at the top
    case 7:
        return {100, 20};
    case 8:
        return {65520, 10}; // water and noise push the counts to 65535
    default:
        return {defaultBaseline, 100 + 20 * channel};
    }
}

// The settings of each channel's key in the generated projects: every field at both of its
// limits somewhere, in varied company.
KeySettings checkSettings(int channel)
{
    KeySettings s;
    s.pressPercent = std::array{10, 90, 50, 33, 70}[std::size_t(channel % 5)];
    s.hysteresisPercent = std::array{0, 50, 10, 20, 3}[std::size_t((channel + 1) % 5)];
    s.debounce = std::array{1, 15, 3, 2, 7}[std::size_t((channel + 2) % 5)];
    s.maxPressSeconds = std::array{0, 1, 255, 2, 20}[std::size_t((channel + 3) % 5)];
    s.waterFloor = channel % 2 == 0;
    return s;
}

// What real life does to a key, first: fingers present at power-up that leave after 8 seconds,
// water left for 40 seconds and wiped off, and an object resting on every other key for longer
// than the longest press time, then taken away.
bool lifeEvents(BoardRecords &board, int count, QByteArray *stream)
{
    // A finger on every channel whose number divides by every; none with 0.
    const auto fingers = [](int every) {
        for (int channel = 0; channel < chip::kChannelCount; ++channel)
            SimBoard::setFinger(channel, every > 0 && channel % every == 0);
    };
    SimBoard::setNoise(3, 1);
    fingers(3);
    bool ok = board.take(8 * firmwarecheck::kRecordsPerSecond, count, stream);
    fingers(0);
    SimBoard::setWater(true);
    ok = ok && board.take(40 * firmwarecheck::kRecordsPerSecond, count, stream);
    SimBoard::setWater(false);
    ok = ok && board.take(20, count, stream);
    // Past the longest press time even for a key that counts 15 scans before its press.
    fingers(2);
    ok = ok && board.take(262 * firmwarecheck::kRecordsPerSecond, count, stream);
    fingers(0);
    return ok && board.take(40, count, stream);
}

// The events of real life, then segments of 1 to 40 records, each with its own fingers, water and
// noise, while the pads drift slowly up and down.
QByteArray recordStream(BoardRecords &board, const std::array<Pad, chip::kChannelCount> &pads,
                        int count)
{
    std::mt19937 random(20);
    const int noises[] = {0, 1, 3, 12, 60, 400};
    int drift = 0;
    QByteArray stream;
    if (!lifeEvents(board, count, &stream))
        return {};
    for (unsigned segment = 1; stream.size() < count * chip::kRecordSize; ++segment) {
        const bool fingers = random() % 4 != 0;
        drift = std::clamp(drift + int(random() % 7) - 3, -60, 60);
        for (int channel = 0; channel < chip::kChannelCount; ++channel) {
            SimBoard::setFinger(channel, fingers && random() % 3 == 0);
            SimBoard::setChannelLevels(
                channel, quint16(std::clamp(pads[channel].baseline + drift, 0, 0xFFFF)),
                pads[channel].fingerRise);
        }
        SimBoard::setWater(random() % 4 == 0);
        SimBoard::setNoise(noises[random() % std::size(noises)], segment);
        if (!board.take(1 + int(random() % 40), count, &stream))
            return {};
    }
    return stream;
}

// The settings page and results table of a window, as far as the application project reads them.
struct ProjectWidgets
{
    QLineEdit proPath;
    QCheckBox lowPower;
    QComboBox wakeTime;
    QLineEdit entryTime;
    std::array<QCheckBox, chip::kChannelCount> wakeBoxes;
    QTableWidget table;
    ResultsTable results{&table, channelNames()};

    static QStringList channelNames()
    {
        QStringList names;
        for (int channel = 0; channel < chip::kChannelCount; ++channel)
            names << QStringLiteral("TK%1").arg(channel);
        return names;
    }

    SettingsWidgets settings()
    {
        SettingsWidgets w;
        w.proPathLineEdit = &proPath;
        w.lowpower_cBox = &lowPower;
        w.keyCountCBox = &wakeTime;
        w.lineEdit = &entryTime;
        for (int channel = 0; channel < chip::kChannelCount; ++channel)
            w.wpChbox[channel] = &wakeBoxes[channel];
        w.tableWidget = &table;
        return w;
    }
};

// Low power after 300 s, TK3 a wake key, and every channel's means in the results table.
void fillWidgets(ProjectWidgets &widgets, const SampleStore &store)
{
    widgets.results.setup();
    widgets.wakeTime.addItems({"4ms", "8ms", "16ms", "32ms", "256ms", "512ms", "1024ms", "2048ms"});
    widgets.wakeTime.setCurrentIndex(6);
    widgets.lowPower.setChecked(true);
    widgets.entryTime.setText(QStringLiteral("300"));
    widgets.wakeBoxes[3].setChecked(true);
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        widgets.results.assignRow(channel);
        widgets.results.writeTouchResults(channel, store.at(channel));
        widgets.results.writeWaterproofResults(channel, store.at(channel), channel + 1);
    }
}

// The application project for the pin map, generated as "生成应用代码" does, moved to folder.
bool generateApp(ProjectWidgets &widgets, const testsupport::FakePinMap &pins,
                 const std::function<KeySettings(int channel)> &keySettings,
                 const QString &templates, const QString &folder)
{
    const QString projectPath = folder + QLatin1String("-project");
    QDir().mkpath(projectPath);
    widgets.proPath.setText(projectPath);
    const SettingsPage settings(widgets.settings());
    AppProject generator(nullptr, settings, pins, widgets.results,
                         templates + QLatin1Char('/') + ToolPaths::kAppTemplate,
                         [] { return true; });
    generator.keySettings = keySettings;
    ModalHelper boxes;
    generator.generate();
    const QStringList made =
        QDir(projectPath).entryList({"fullChipTouchPro*"}, QDir::Dirs | QDir::NoDotAndDotDot);
    if (boxes.lastText() != QStringLiteral("生成应用代码完成！") || made.size() != 1) {
        std::fprintf(stderr, "%s\n", qPrintable(boxes.texts().join(QLatin1String(" | "))));
        return false;
    }
    return QDir().rename(projectPath + QLatin1Char('/') + made.first(), folder);
}

// The test template copied to folder and rewritten as Save & Download rewrites it.
bool rewriteTestFirmware(ProjectWidgets &widgets, const testsupport::FakePinMap &pins,
                         const QString &templates, const QString &folder)
{
    const SettingsPage settings(widgets.settings());
    const AppProject copier(nullptr, settings, pins, widgets.results, QString(),
                            [] { return true; });
    QDir().mkpath(folder);
    if (!copier.copyDirectory(templates + QLatin1Char('/') + ToolPaths::kTestTemplate, folder,
                              true))
        return false;
    const QStringList rows = SourceGenerator::channelConfigRows(pins);
    return SourceGenerator::rewriteChannelCount(nullptr, folder + "/User/H/TouchKeyScan.h",
                                                rows.size(), QStringLiteral("写头文件失败！")) &&
           SourceGenerator::rewriteChannelTable(nullptr, folder + firmwarecheck::kScanSource, rows);
}
} // namespace

namespace firmwarecheck
{
BoardRecords::~BoardRecords()
{
    if (device)
        hid_close(device);
    hid_exit();
}

bool BoardRecords::start()
{
    hid_init();
    device = hid_open(protocol::kVendorId, protocol::kProductId, nullptr);
    const QByteArray &start = testsupport::kStartReport;
    return device && hid_write(device, reinterpret_cast<const unsigned char *>(start.data()),
                               std::size_t(start.size())) == start.size();
}

void BoardRecords::drain()
{
    unsigned char report[protocol::kReportSize];
    while (hid_read_timeout(device, report, sizeof report, 0) > 0) {
    }
}

QByteArray BoardRecords::next()
{
    unsigned char report[protocol::kReportSize];
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int n = hid_read_timeout(device, report, sizeof report, 1000);
        if (n < 0)
            return {};
        QByteArray record;
        if (parseBoardReport(codec, decoder, report, n, &record) == BoardReport::DataIntact)
            return record;
    }
    return {};
}

bool BoardRecords::take(int length, int count, QByteArray *stream)
{
    drain();
    for (int i = 0; i < length && stream->size() < count * chip::kRecordSize; ++i) {
        const QByteArray record = next();
        if (record.isEmpty())
            return false;
        *stream += record;
    }
    return true;
}

bool measure(BoardRecords &board, SampleStore *store)
{
    const SamplePhase phases[] = {SamplePhase::NoTouch, SamplePhase::Touch, SamplePhase::Water};
    for (SamplePhase phase : phases) {
        for (int channel = 0; channel < chip::kChannelCount; ++channel)
            SimBoard::setFinger(channel, phase == SamplePhase::Touch);
        SimBoard::setWater(phase == SamplePhase::Water);
        board.drain();
        std::array<QVector<int>, chip::kChannelCount> samples;
        for (int i = 0; i < chip::kSamplesPerPhase; ++i) {
            const QByteArray record = board.next();
            if (record.isEmpty())
                return false;
            for (int channel = 0; channel < chip::kChannelCount; ++channel)
                samples[channel] << chip::channelReading(record.constData(), record.size(),
                                                         channel);
        }
        for (int channel = 0; channel < chip::kChannelCount; ++channel)
            store->set(channel, phase, samples[channel]);
    }
    return true;
}

bool generateApplication(const SampleStore &store, const testsupport::FakePinMap &pins,
                         const std::function<KeySettings(int channel)> &settings,
                         const QString &templates, const QString &folder)
{
    ProjectWidgets widgets;
    fillWidgets(widgets, store);
    return generateApp(widgets, pins, settings, templates, folder);
}

int fail(const QString &message)
{
    std::fprintf(stderr, "firmwarecheck: %s\n", qPrintable(message));
    return kRunFailed;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

int prepare(const QString &templates, const QString &work, int count)
{
    SimBoard::reset();
    SimBoard::setDataInterval(1);
    std::array<Pad, chip::kChannelCount> pads;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        pads[channel] = padOf(channel, SimBoard::baseline(channel));
        SimBoard::setChannelLevels(channel, quint16(pads[channel].baseline),
                                   pads[channel].fingerRise);
    }
    BoardRecords board;
    if (!board.start())
        return fail(QStringLiteral("the simulated board did not start"));
    SampleStore store;
    if (!measure(board, &store))
        return fail(QStringLiteral("the simulated board went silent while measuring"));
    const QByteArray stream = recordStream(board, pads, count);
    if (stream.isEmpty() || !writeFile(recordsPath(work), stream))
        return fail(QStringLiteral("no records for %1").arg(recordsPath(work)));

    ProjectWidgets widgets;
    fillWidgets(widgets, store);

    // 25 channels with keys 1 ... 25; 16 of SOP20's channels with their keys in reverse; one
    // channel of SOP16 with its last key.
    testsupport::FakePinMap all;
    for (int channel = 0; channel < chip::kChannelCount; ++channel)
        all.use(channel, channel + 1);
    testsupport::FakePinMap sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen.use(chip::kSop20Channels[std::size_t(i)], 16 - i);
    testsupport::FakePinMap one{{chip::kSop16Channels.back(), int(chip::kSop16Channels.size())}};
    const std::pair<const testsupport::FakePinMap *, QString> apps[] = {
        {&one, "app1"}, {&sixteen, "app16"}, {&all, "app25"}};
    for (const auto &app : apps) {
        if (!generateApp(widgets, *app.first, checkSettings, templates,
                         work + QLatin1Char('/') + app.second))
            return fail(
                QStringLiteral("the application project %1 was not generated").arg(app.second));
    }
    if (!rewriteTestFirmware(widgets, all, templates, work + QLatin1String("/test25")))
        return fail(QStringLiteral("the test firmware was not rewritten"));
    std::printf("prepared: %d channels measured, %d records of the simulated board\n",
                chip::kChannelCount, int(stream.size() / chip::kRecordSize));
    return 0;
}
} // namespace firmwarecheck
