// The host side of scripts/check-firmware, on the simulated board. Not a CTest test: it needs
// SDCC's 8051 simulator s51, and the script builds the firmware it runs.
//
//   firmwarecheck prepare <templates folder> <work folder> <records>
//       Measures every channel on the simulated board (samples.csv), writes with the tool's own
//       generator the application projects for 1, 16 and 25 channels (app1, app16, app25) and the
//       test firmware as Save & Download rewrites it for 25 channels (test25), and records.bin:
//       records of the board under fingers, water, noise and drift.
//   firmwarecheck compare <work folder> <project folder> <driver.ihx> <records>
//       Runs keyscandriver.c, built against the project, on s51 over the first records of
//       records.bin and compares every row of every record with FirmwareKeyModel and the key
//       preview: threshold, base, debounce and pressed state. Exit 0 when they agree, 1 on a
//       mismatch, 2 when the run itself failed.
//   firmwarecheck serial <test firmware.ihx>
//       Runs the test firmware on s51 and checks that it streams records after Start on its
//       serial input, and nothing without.

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
#include "tuning/firmwarekeymodel.h"
#include "tuning/keypreview.h"
#include "tuning/keyquality.h"
#include "tuning/resultstable.h"
#include "tuning/samplesfile.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QTableWidget>

#include <hidapi/hidapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>
#include <optional>
#include <random>
#include <vector>

namespace
{
constexpr int kRunFailed = 2;
constexpr int kS51TimeoutMs = 20 * 60 * 1000;
// Instructions the test firmware runs on s51 for the serial check: about 1.6 s at 24 MHz.
constexpr int kSerialSteps = 2000000;

const QString kScanSource = QStringLiteral("/User/C/TouchKeyScan.c");

int fail(const QString &message)
{
    std::fprintf(stderr, "firmwarecheck: %s\n", qPrintable(message));
    return kRunFailed;
}

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

// The simulated board through hidapi, its records decoded as the tool's readers decode them.
class BoardRecords
{
public:
    ~BoardRecords()
    {
        if (device)
            hid_close(device);
        hid_exit();
    }

    bool start()
    {
        hid_init();
        device = hid_open(protocol::kVendorId, protocol::kProductId, nullptr);
        const QByteArray &start = testsupport::kStartReport;
        return device && hid_write(device, reinterpret_cast<const unsigned char *>(start.data()),
                                   std::size_t(start.size())) == start.size();
    }

    // Drops what the board queued before its last change, so the next record follows it.
    void drain()
    {
        unsigned char report[protocol::kReportSize];
        while (hid_read_timeout(device, report, sizeof report, 0) > 0) {
        }
    }

    // The next intact record; empty when the board stays silent.
    QByteArray next()
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

private:
    hid_device *device = nullptr;
    EncodeDecode codec;
    DecoderState decoder;
};

QString recordsPath(const QString &work) { return work + QLatin1String("/records.bin"); }
QString samplesPath(const QString &work) { return work + QLatin1String("/samples.csv"); }

// Every channel's three phases, measured at once as the tests measure one channel.
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
                samples[channel] << protocol::channelReading(record.constData(), record.size(),
                                                             channel);
        }
        for (int channel = 0; channel < chip::kChannelCount; ++channel)
            store->set(channel, phase, samples[channel]);
    }
    return true;
}

// Segments of 1 to 40 records, each with its own fingers, water and noise, while the pads drift
// slowly up and down.
QByteArray recordStream(BoardRecords &board, const std::array<Pad, chip::kChannelCount> &pads,
                        int count)
{
    std::mt19937 random(20);
    const int noises[] = {0, 1, 3, 12, 60, 400};
    int drift = 0;
    int made = 0;
    QByteArray stream;
    for (unsigned segment = 1; made < count; ++segment) {
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
        board.drain();
        const int length = 1 + int(random() % 40);
        for (int i = 0; i < length && made < count; ++i, ++made) {
            const QByteArray record = board.next();
            if (record.isEmpty())
                return {};
            stream += record;
        }
    }
    return stream;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
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

// The application project for the pin map, generated as "生成应用代码" does, moved to folder.
bool generateApp(ProjectWidgets &widgets, const testsupport::FakePinMap &pins,
                 const QString &templates, const QString &folder)
{
    const QString projectPath = folder + QLatin1String("-project");
    QDir().mkpath(projectPath);
    widgets.proPath.setText(projectPath);
    const SettingsPage settings(widgets.settings());
    AppProject generator(nullptr, settings, pins, widgets.results,
                         templates + QLatin1Char('/') + ToolPaths::kAppTemplate,
                         [] { return true; });
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
           SourceGenerator::rewriteChannelTable(nullptr, folder + kScanSource, rows);
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
    QString error;
    if (!SamplesFile::write(samplesPath(work), store, &error))
        return fail(error);
    const QByteArray stream = recordStream(board, pads, count);
    if (stream.isEmpty() || !writeFile(recordsPath(work), stream))
        return fail(QStringLiteral("no records for %1").arg(recordsPath(work)));

    ProjectWidgets widgets;
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
        if (!generateApp(widgets, *app.first, templates, work + QLatin1Char('/') + app.second))
            return fail(
                QStringLiteral("the application project %1 was not generated").arg(app.second));
    }
    if (!rewriteTestFirmware(widgets, all, templates, work + QLatin1String("/test25")))
        return fail(QStringLiteral("the test firmware was not rewritten"));
    std::printf("prepared: %d channels measured, %d records of the simulated board\n",
                chip::kChannelCount, int(stream.size() / chip::kRecordSize));
    return 0;
}

// One row of the channel table as the firmware reads it.
struct TableRow
{
    int key;
    int channel;
};

// The rows between the table's name line and its closing line.
QList<TableRow> tableRows(const QString &project)
{
    QList<TableRow> rows;
    const QList<QByteArray> lines = testsupport::readBytes(project + kScanSource).split('\n');
    bool inTable = false;
    for (const QByteArray &raw : lines) {
        const QByteArray line = raw.trimmed();
        if (!inTable) {
            inTable = line.contains("TKChnCfg");
            continue;
        }
        if (line.contains("};"))
            break;
        const QList<QByteArray> fields = line.split(',');
        if (fields.size() >= 2)
            rows.append({fields.at(0).toInt(), fields.at(1).toInt()});
    }
    return rows;
}

// Runs s51 on firmware; commands go to its console. The console stays open, since an ended
// input would stop the simulation.
bool runS51(const QStringList &arguments, const QByteArray &commands = QByteArray())
{
    QProcess s51;
    s51.setProcessChannelMode(QProcess::MergedChannels);
    s51.start(QStringLiteral("s51"), arguments);
    if (!s51.waitForStarted())
        return false;
    s51.write(commands);
    const bool finished = s51.waitForFinished(kS51TimeoutMs);
    if (!finished)
        s51.kill();
    return finished && s51.exitStatus() == QProcess::NormalExit;
}

// What the firmware holds for one row after a record.
struct RowState
{
    int threshold;
    int base;
    int debounce;
    bool pressed;
};

int be16(const QByteArray &bytes, int at)
{
    return quint8(bytes.at(at)) << 8 | quint8(bytes.at(at + 1));
}

int compare(const QString &work, const QString &project, const QString &driver, int count)
{
    SampleStore store;
    QString error;
    if (!SamplesFile::read(samplesPath(work), &store, &error))
        return fail(error);
    const QByteArray records =
        testsupport::readBytes(recordsPath(work)).left(count * chip::kRecordSize);
    const QList<TableRow> rows = tableRows(project);
    if (records.size() != count * chip::kRecordSize || rows.isEmpty())
        return fail(QStringLiteral("no records or no channel table for %1").arg(project));

    QList<int> channels;
    std::vector<FirmwareKeyModel> models;
    quint32 keyMask = 0;
    for (const TableRow &row : rows) {
        const auto model = FirmwareKeyModel::forKey(KeyQuality::of(store.at(row.channel)));
        if (!model || row.key < 1 || row.key > 32)
            return fail(QStringLiteral("TK%1 cannot be modelled").arg(row.channel));
        models.push_back(*model);
        channels << row.channel;
        keyMask |= 1U << (row.key - 1);
    }
    KeyPreview preview;
    preview.reset(channels, store);

    const QString input = driver + QLatin1String(".in");
    const QString output = driver + QLatin1String(".out");
    QFile::remove(output);
    if (!writeFile(input, records))
        return fail(QStringLiteral("cannot write %1").arg(input));
    const QString simif = QStringLiteral("if=xram[0xffff],in=%1,out=%2").arg(input, output);
    if (!runS51({"-t", "8052", "-I", simif, "-G", driver}))
        return fail(QStringLiteral("s51 did not finish %1").arg(driver));
    const QByteArray states = testsupport::readBytes(output);
    const int rowBytes = 5;
    const int perRecord = rows.size() * rowBytes + 4;
    if (states.size() != count * perRecord)
        return fail(
            QStringLiteral("s51 gave %1 bytes for %2 records").arg(states.size()).arg(count));

    int mismatches = 0;
    int presses = 0;
    int edgeCounts = 0;
    for (int r = 0; r < count; ++r) {
        const QByteArray record = records.mid(r * chip::kRecordSize, chip::kRecordSize);
        const QByteArray state = states.mid(r * perRecord, perRecord);
        const quint32 flag =
            quint32(be16(state, perRecord - 4)) << 16 | quint32(be16(state, perRecord - 2));
        preview.feed(record);
        QStringList differences;
        if (flag & ~keyMask)
            differences << QStringLiteral("flag %1 beyond the keys").arg(flag, 8, 16);
        for (int i = 0; i < rows.size(); ++i) {
            const int count16 =
                protocol::channelReading(record.constData(), record.size(), rows[i].channel);
            edgeCounts += count16 == 0 || count16 == 0xFFFF;
            FirmwareKeyModel &model = models[std::size_t(i)];
            const bool wasPressed = model.pressed();
            model.feed(quint16(count16));
            presses += model.pressed() && !wasPressed;
            const RowState firmware{be16(state, i * rowBytes), be16(state, i * rowBytes + 2),
                                    quint8(state.at(i * rowBytes + 4)),
                                    ((flag >> (rows[i].key - 1)) & 1U) != 0};
            const bool previewPressed = preview.pressed(rows[i].channel);
            if (firmware.threshold != model.threshold() || firmware.base != model.base() ||
                firmware.debounce != model.debounceCount() || firmware.pressed != model.pressed() ||
                firmware.pressed != previewPressed)
                differences << QStringLiteral("TK%1 count %2: threshold %3/%4 base %5/%6 "
                                              "debounce %7/%8 pressed %9/%10/%11")
                                   .arg(rows[i].channel)
                                   .arg(count16)
                                   .arg(firmware.threshold)
                                   .arg(model.threshold())
                                   .arg(firmware.base)
                                   .arg(model.base())
                                   .arg(firmware.debounce)
                                   .arg(model.debounceCount())
                                   .arg(firmware.pressed)
                                   .arg(model.pressed())
                                   .arg(previewPressed);
        }
        if (!differences.isEmpty() && ++mismatches <= 3)
            std::printf("  record %d (8051/model/preview): %s\n", r,
                        qPrintable(differences.join(QLatin1String("; "))));
    }
    std::printf("%s: %d records, %d rows, %d mismatches (%d presses, %d counts at 0 or 65535)\n",
                qPrintable(QDir(project).dirName()), count, int(rows.size()), mismatches, presses,
                edgeCounts);
    return mismatches == 0 ? 0 : 1;
}

// Bytes the test firmware sends in kSerialSteps instructions with byte on its serial input.
QByteArray serialOutput(const QString &firmware, char byte)
{
    const QString input = firmware + QLatin1String(".serial-in");
    const QString output = firmware + QLatin1String(".serial-out");
    QFile::remove(output);
    if (!writeFile(input, QByteArray(1, byte)))
        return QByteArray("<no input>");
    const QString serial = QStringLiteral("in=%1,out=%2").arg(input, output);
    if (!runS51({"-t", "8052", "-X", "24M", "-S", serial, firmware},
                QStringLiteral("step %1\nquit\n").arg(kSerialSteps).toLatin1()))
        return QByteArray("<s51 did not finish>");
    return QFile::exists(output) ? testsupport::readBytes(output) : QByteArray();
}

int serial(const QString &firmware)
{
    const char startCommand = 0x07;
    const QByteArray started = serialOutput(firmware, startCommand);
    const QByteArray idle = serialOutput(firmware, 0);
    const int record = chip::kRecordSize;
    const bool streams =
        started.size() >= 2 * record && started.at(0) == 0x36 && started.at(record) == 0x36;
    std::printf("test firmware: %d bytes after Start, %d without\n", int(started.size()),
                int(idle.size()));
    return streams && idle.isEmpty() ? 0 : 1;
}

// The offscreen platform's notes about the message boxes are no finding of this check.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}
} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    if (mode == QLatin1String("prepare") && args.size() == 4)
        return prepare(args.at(1), args.at(2), args.at(3).toInt());
    if (mode == QLatin1String("compare") && args.size() == 5)
        return compare(args.at(1), args.at(2), args.at(3), args.at(4).toInt());
    if (mode == QLatin1String("serial") && args.size() == 2)
        return serial(args.at(1));
    return fail(QStringLiteral("usage: firmwarecheck prepare <templates> <work> <records> | "
                               "compare <work> <project> <driver.ihx> <records> | "
                               "serial <firmware.ihx>"));
}
