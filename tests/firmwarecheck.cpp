// The host side of scripts/check-firmware, on the simulated board. Not a CTest test: it needs
// SDCC's 8051 simulator s51, and the script builds the firmware it runs.
//
//   firmwarecheck prepare <templates folder> <work folder> <records>
//       The projects, samples and records to check (firmwareprep.h).
//   firmwarecheck compare <work folder> <project folder> <driver.ihx> <records> [<file>]
//       Runs keyscandriver.c, built against the project, on s51 over the first records of
//       records.bin (or file of the work folder), kRecordsPerSecond records to a second of the
//       firmware's clock, and compares every row of every record with FirmwareKeyModel and the
//       key preview: press and release thresholds, base, debounce, scans far below the base,
//       seconds pressed and pressed state; and every slider and wheel with FirmwareSliderModel
//       and the slider preview: touched, position, debounce, seconds touched, thresholds, and its
//       segments' bases.
//       Exit 0 when they agree, 1 on a mismatch, 2 when the run itself failed.
//   firmwarecheck serial <test firmware.ihx>
//       Runs the test firmware on s51 and checks that it streams records after Start on its
//       serial input, and nothing without.

#include "chip/chip.h"
#include "firmwareprep.h"
#include "firmwaretables.h"
#include "slidercomparison.h"
#include "link/protocol.h"
#include "quality/firmwarekeymodel.h"
#include "quality/keypreview.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <vector>

using namespace firmwarecheck;

namespace
{
constexpr int kS51TimeoutMs = 20 * 60 * 1000;
// Instructions the test firmware runs on s51 for the serial check: about 1.6 s at 24 MHz.
constexpr int kSerialSteps = 2000000;

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

// The records are kRecordsPerSecond to a second of the firmware's clock, as the key preview sees
// them at their times.
constexpr qint64 kMsPerRecord = 1000 / kRecordsPerSecond;

// The seconds that pass after record r: the preview's count of whole seconds since the first.
int secondsAfter(int r)
{
    return r == 0 ? 0 : int(r * kMsPerRecord / 1000 - (r - 1) * kMsPerRecord / 1000);
}

int be16(const QByteArray &bytes, int at)
{
    return quint8(bytes.at(at)) << 8 | quint8(bytes.at(at + 1));
}

// The tool's view of a project's keys, fed record by record beside the firmware: one model per
// row of the channel table that carries a key, and the key preview over all of them; the rows
// of the sliders' and wheels' segments follow their slider's model.
class KeyComparison
{
public:
    // Bytes per row in the driver's output: press and release thresholds, base, debounce, scans
    // far below the base, seconds pressed.
    static constexpr int kRowBytes = 9;

    // From the rows the firmware was generated with, which is what the tool's model and the
    // preview take as well.
    bool reset(const QList<TableRow> &tableRows, const QList<SliderRow> &sliderRows)
    {
        rows = tableRows;
        if (!sliders.reset(rows, sliderRows))
            return false;
        QVector<KeyPreview::Key> keys;
        for (int i = 0; i < rows.size(); ++i) {
            const TableRow &row = rows.at(i);
            models.emplace_back(*row.means.noTouch, *row.means.touch, *row.means.water,
                                row.settings);
            if (sliders.isSegment(i))
                continue;
            if (row.key < 1 || row.key > 32)
                return false;
            keys.append({row.channel, row.key, row.means, row.settings});
            keyMask |= 1U << (row.key - 1);
        }
        preview.reset(keys);
        return true;
    }

    int keyBytes() const { return rows.size() * kRowBytes + 4; }
    int stateBytes() const { return keyBytes() + sliders.stateBytes(); }

    // Feeds the record, at ms, and the seconds that pass after it to the tool's side and holds
    // the firmware's state after them against it: what differs, one entry per row, as
    // firmware/model(/preview).
    QStringList differences(const QByteArray &record, qint64 ms, int seconds,
                            const QByteArray &state)
    {
        QStringList found;
        const quint32 flag =
            quint32(be16(state, keyBytes() - 4)) << 16 | quint32(be16(state, keyBytes() - 2));
        if (flag & ~keyMask)
            found << QStringLiteral("flag %1 beyond the keys").arg(flag, 8, 16);
        preview.feed(record, ms);
        sliders.feed(record, ms, seconds);
        for (int i = 0; i < rows.size(); ++i) {
            const int count =
                chip::channelReading(record.constData(), record.size(), rows[i].channel);
            edgeCounts += count == 0 || count == 0xFFFF;
            if (sliders.isSegment(i)) {
                found << segmentDifferences(i, count, state.mid(i * kRowBytes, kRowBytes));
                continue;
            }
            FirmwareKeyModel &model = models[std::size_t(i)];
            const bool wasPressed = model.pressed();
            const int baseBefore = model.base();
            model.feed(quint16(count));
            presses += model.pressed() && !wasPressed;
            recoveries += model.base() < baseBefore - 1;
            for (int s = 0; s < seconds; ++s)
                expiries += model.second();
            const QByteArray row = state.mid(i * kRowBytes, kRowBytes);
            const QVector<int> firmware = {be16(row, 0),
                                           be16(row, 2),
                                           be16(row, 4),
                                           quint8(row[6]),
                                           quint8(row[7]),
                                           quint8(row[8]),
                                           int((flag >> (rows[i].key - 1)) & 1U)};
            const QVector<int> modelled = {model.pressThreshold(), model.releaseThreshold(),
                                           model.base(),           model.debounceCount(),
                                           model.lowCount(),       model.heldSeconds(),
                                           model.pressed()};
            const bool previewed = preview.pressed(rows[i].channel);
            if (firmware != modelled || previewed != model.pressed()) {
                QStringList pairs;
                for (int f = 0; f < firmware.size(); ++f)
                    pairs << QStringLiteral("%1/%2").arg(firmware[f]).arg(modelled[f]);
                found << QStringLiteral("TK%1 count %2: press, release, base, debounce, low, "
                                        "held, pressed %3 (preview %4)")
                             .arg(rows[i].channel)
                             .arg(count)
                             .arg(pairs.join(QLatin1Char(' ')))
                             .arg(previewed);
            }
        }
        found << sliders.differences(state.mid(keyBytes()));
        return found;
    }

    QList<TableRow> rows;
    SliderComparison sliders;
    int presses = 0;
    int recoveries = 0;
    int expiries = 0;
    int edgeCounts = 0;

private:
    // A segment's row against its slider's model; none or one entry.
    QStringList segmentDifferences(int i, int count, const QByteArray &row) const
    {
        const QVector<int> firmware = {be16(row, 0),   be16(row, 2),   be16(row, 4), quint8(row[6]),
                                       quint8(row[7]), quint8(row[8]), 0};
        const QVector<int> modelled = sliders.segmentRow(i);
        if (firmware == modelled)
            return {};
        QStringList pairs;
        for (int f = 0; f < firmware.size(); ++f)
            pairs << QStringLiteral("%1/%2").arg(firmware[f]).arg(modelled.value(f));
        return {QStringLiteral("segment TK%1 count %2: press, release, base, debounce, low, held %3")
                    .arg(rows[i].channel)
                    .arg(count)
                    .arg(pairs.join(QLatin1Char(' ')))};
    }

    std::vector<FirmwareKeyModel> models;
    KeyPreview preview;
    quint32 keyMask = 0;
};

// Runs keyscandriver.c, built against the project, on s51 over the first count records and
// compares every row of every record. 0 when all agree, 1 on a mismatch.
int compare(const QString &work, const QString &project, const QString &driver, int count,
            const QString &recordsFile)
{
    const QByteArray records =
        testsupport::readBytes(work + QLatin1Char('/') + recordsFile).left(count * chip::kRecordSize);
    KeyComparison keys;
    if (records.size() != count * chip::kRecordSize ||
        !keys.reset(tableRows(project), sliderRows(project)) || keys.rows.isEmpty())
        return fail(
            QStringLiteral("no records, or keys that cannot be modelled, for %1").arg(project));

    // Each record followed by the seconds of the firmware's clock that pass after it.
    QByteArray driven;
    for (int r = 0; r < count; ++r)
        driven += records.mid(r * chip::kRecordSize, chip::kRecordSize) + char(secondsAfter(r));
    const QString input = driver + QLatin1String(".in");
    const QString output = driver + QLatin1String(".out");
    QFile::remove(output);
    if (!writeFile(input, driven))
        return fail(QStringLiteral("cannot write %1").arg(input));
    const QString simif = QStringLiteral("if=xram[0xffff],in=%1,out=%2").arg(input, output);
    if (!runS51({"-t", "8052", "-I", simif, "-G", driver}))
        return fail(QStringLiteral("s51 did not finish %1").arg(driver));
    const QByteArray states = testsupport::readBytes(output);
    const int perRecord = keys.stateBytes();
    if (states.size() != count * perRecord)
        return fail(
            QStringLiteral("s51 gave %1 bytes for %2 records").arg(states.size()).arg(count));

    int mismatches = 0;
    for (int r = 0; r < count; ++r) {
        const QStringList found = keys.differences(
            records.mid(r * chip::kRecordSize, chip::kRecordSize), r * kMsPerRecord,
            secondsAfter(r), states.mid(r * perRecord, perRecord));
        if (!found.isEmpty() && ++mismatches <= 3)
            std::printf("  record %d (8051/model/preview): %s\n", r,
                        qPrintable(found.join(QLatin1String("; "))));
    }
    std::printf("%s: %d records, %d rows, %d mismatches (%d presses, %d held too long, %d quick "
                "recoveries of the base, %d counts at 0 or 65535)\n",
                qPrintable(QDir(project).dirName()), count, int(keys.rows.size()), mismatches,
                keys.presses, keys.expiries, keys.recoveries, keys.edgeCounts);
    if (!keys.sliders.isEmpty())
        std::printf("  sliders and wheels: %d touches, %d held too long, %d scans on a wheel's "
                    "wrap\n",
                    keys.sliders.touches, keys.sliders.expiries, keys.sliders.wrapScans);
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
    // Unless told to check its input file at every cycle, s51 looks at it on a poll of its own in
    // wall-clock time, so the byte came in after a share of the steps that the machine's speed
    // decided, or after all of them. Checked at every cycle, it is in the UART from the first.
    if (!runS51(
            {"-t", "8052", "-X", "24M", "-S", serial, firmware},
            QStringLiteral("uart0_check_often=1\nstep %1\nquit\n").arg(kSerialSteps).toLatin1()))
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
    if (mode == QLatin1String("prepare") && args.size() == 4) {
        const int keys = prepare(args.at(1), args.at(2), args.at(3).toInt());
        return keys != 0 ? keys : prepareSliders(args.at(1), args.at(2), args.at(3).toInt());
    }
    if (mode == QLatin1String("compare") && (args.size() == 5 || args.size() == 6))
        return compare(args.at(1), args.at(2), args.at(3), args.at(4).toInt(),
                       args.value(5, QFileInfo(recordsPath(QString())).fileName()));
    if (mode == QLatin1String("serial") && args.size() == 2)
        return serial(args.at(1));
    return fail(QStringLiteral("usage: firmwarecheck prepare <templates> <work> <records> | "
                               "compare <work> <project> <driver.ihx> <records> [<file>] | "
                               "serial <firmware.ihx>"));
}
