#include "codegen/sourcegenerator.h"

#include "chip/chip.h"
#include "codegen/textfile.h"
#include "project/pinmapsource.h"
#include "project/resultcolumns.h"
#include "quality/samplesplot.h"
#include "tuning/resultstable.h"

#include <QMessageBox>

#include <functional>

namespace
{
const QLatin1String kCountMarker("TKL_CHN_NUM");
const QLatin1String kTableMarker("TKChnCfg");
const QLatin1String kSettingsMarker("TKKeyCfg");
const QLatin1String kDeepSleepMarker("DeepSleepCfg");
const QLatin1String kSliderCountMarker("TKL_SLD_NUM");
const QLatin1String kSliderMarker("TKSliderCfg");
const QLatin1String kClosingLine("};");
// The closing line of a channel table is looked for among this many lines after its marker: a
// table of all 25 channels, as this tool writes it, puts its closing line 26 lines down.
constexpr int kTableWindow = chip::kChannelCount + 1;

// The generated lines as the file's text: encoded as the tool has always written them.
QStringList fileLines(const QStringList &lines)
{
    QStringList encoded;
    for (const QString &line : lines)
        encoded << TextFile::fromLocalText(line);
    return encoded;
}

QStringList splitLines(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::KeepEmptyParts);
}

using LineWalk = std::function<bool(const QString &text, QString *out)>;

void showFailure(QWidget *parent, const QString &message)
{
    QMessageBox::warning(parent, SourceGenerator::tr("提示"), message);
}

// Shared frame of the three rewrites: read, walk, write back in place.
bool rewriteFile(QWidget *parent, const QString &path, const QString &failureMessage,
                 const LineWalk &walk)
{
    QString text;
    const TextFile::ReadStatus status = TextFile::read(path, &text);
    // An unreadable file is reported like an empty one rather than overwritten.
    if (status == TextFile::ReadStatus::Unreadable ||
        (status == TextFile::ReadStatus::Ok && text.isEmpty())) {
        showFailure(parent, failureMessage);
        return false;
    }
    QString out;
    if (!walk(text, &out)) {
        showFailure(parent, failureMessage);
        return false;
    }
    // A file that cannot be written keeps its old content, and the caller must not carry on as
    // if the firmware had been configured.
    if (!TextFile::write(path, out)) {
        showFailure(parent, failureMessage);
        return false;
    }
    return true;
}
} // namespace

QStringList SourceGenerator::channelConfigRows(const PinMapSource &pins)
{
    QStringList rows;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (pins.channelInUse(channel) == 1)
            rows << QStringLiteral("%1,%2,20,100,100,100,")
                        .arg(pins.keyNumber(channel))
                        .arg(channel);
    }
    return rows;
}

QStringList SourceGenerator::resultRows(const PinMapSource &pins, const ResultsTable &results,
                                        QStringList *incomplete)
{
    return resultRows(
        pins, [&results](int channel) { return results.tableMeans(channel); }, incomplete);
}

QStringList SourceGenerator::resultRows(const PinMapSource &pins,
                                        const std::function<KeyMeans(int channel)> &meansOf,
                                        QStringList *incomplete)
{
    QStringList rows;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (pins.channelInUse(channel) != 1)
            continue;
        const KeyMeans means = meansOf(channel);
        QString line = QString::number(pins.keyNumber(channel)) + QLatin1Char(',') +
                       QString::number(channel) + QLatin1String(",20,");
        QStringList lacking;
        for (SamplePhase phase : {SamplePhase::NoTouch, SamplePhase::Touch, SamplePhase::Water}) {
            const std::optional<int> &mean = means.of(phase);
            if (!mean)
                lacking << SamplesPlot::phaseName(phase);
            line += QString::number(mean.value_or(0)) + QLatin1Char(',');
        }
        if (!lacking.isEmpty() && incomplete)
            *incomplete << QStringLiteral("TK%1（%2）").arg(channel).arg(lacking.join(tr("、")));
        rows << line;
    }
    return rows;
}

QStringList
SourceGenerator::keySettingsRows(const PinMapSource &pins,
                                 const std::function<KeySettings(int channel)> &settingsOf)
{
    const QVector<SliderDefinition> sliders = pins.sliders();
    QStringList rows;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (pins.channelInUse(channel) != 1)
            continue;
        // The firmware takes a slider's settings from its first segment's row, and follows
        // each segment's base by its own row: all of them carry the slider's.
        const auto place = SliderDefinition::placeOf(sliders, channel);
        if (!place) {
            rows << settingsOf(channel).firmwareRow();
            continue;
        }
        QVector<KeySettings> segments;
        for (int segment : sliders.at(place->first).channels)
            segments << settingsOf(segment);
        rows << KeySettings::ofSlider(segments).firmwareRow();
    }
    return rows;
}

QStringList SourceGenerator::sliderRows(const PinMapSource &pins)
{
    // A segment's row is its place among the channels in use, ascending, as the channel table's.
    std::array<int, chip::kChannelCount> rowOf{};
    int rowCount = 0;
    for (int channel = 0; channel < chip::kChannelCount; ++channel)
        rowOf[std::size_t(channel)] = pins.channelInUse(channel) == 1 ? rowCount++ : -1;
    QStringList rows;
    for (const SliderDefinition &slider : pins.sliders()) {
        if (!slider.isComplete())
            continue;
        QStringList fields{slider.isWheel() ? QStringLiteral("1") : QStringLiteral("0"),
                           QString::number(slider.channels.size())};
        for (int k = 0; k < SliderDefinition::kMaxSegments; ++k) {
            const int channel = slider.channels.value(k, -1);
            fields << QString::number(chip::isChannel(channel) ? qMax(0, rowOf[std::size_t(channel)]) : 0);
        }
        rows << fields.join(QLatin1Char(',')) + QStringLiteral(", /* %1 */").arg(slider.name);
    }
    return rows;
}

QString SourceGenerator::sliderCountLine(int sliderCount)
{
    return QStringLiteral("#define   TKL_SLD_NUM      (%1)").arg(sliderCount);
}

bool SourceGenerator::rewriteSliderCountText(const QString &text, int sliderCount, QString *out)
{
    QStringList lines = splitLines(text);
    bool found = false;
    for (QString &line : lines) {
        if (line.contains(kSliderCountMarker)) {
            line = sliderCountLine(sliderCount);
            found = true;
        }
    }
    if (!found && sliderCount > 0)
        return false;
    *out = lines.join(QLatin1Char('\n'));
    return true;
}

quint32 SourceGenerator::wakeKeyMask(const PinMapSource &pins,
                                     const bool (&wakeKey)[chip::kChannelCount])
{
    quint32 mask = 0;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (pins.channelInUse(channel) != 1 || !wakeKey[channel])
            continue;
        const int key = pins.keyNumber(channel);
        // A key the package does not offer (from a hand-edited project file) wakes nothing.
        if (key < 0 || key > pins.keyCount())
            continue;
        // Key numbers start at 1; key 0 (none chosen) wraps round to bit 31.
        const quint32 bit = (quint32(key) - 1U) % 32U;
        mask |= quint32(1) << bit;
    }
    return mask;
}

QString SourceGenerator::deepSleepRow(bool lowPower, int wakeTimeIndex,
                                      const QString &enterTimeText, quint32 wakeKeyMask)
{
    bool isNumber = false;
    int seconds = enterTimeText.toInt(&isNumber, 10);
    if (!isNumber)
        seconds = 0;
    // Values outside 0 ... 65535 are written as they divide, not clamped.
    const QList<qint64> fields = {lowPower ? 1 : 0,
                                  wakeTimeIndex,
                                  seconds / 256,
                                  seconds % 256,
                                  (wakeKeyMask >> 24) & 0xFF,
                                  (wakeKeyMask >> 16) & 0xFF,
                                  (wakeKeyMask >> 8) & 0xFF,
                                  wakeKeyMask & 0xFF};
    QString row;
    for (const qint64 field : fields)
        row += QString::number(field) + QLatin1Char(',');
    return row;
}

QString SourceGenerator::channelCountLine(int channelCount)
{
    return QStringLiteral("#define   TKL_CHN_NUM      (%1)").arg(channelCount);
}

QString SourceGenerator::rewriteChannelCountText(const QString &text, int channelCount)
{
    const QStringList lines = splitLines(text);
    QString out;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).contains(kCountMarker))
            out += channelCountLine(channelCount) + QLatin1Char('\n');
        else if (i == lines.size() - 1)
            out += lines.at(i);
        else
            out += lines.at(i) + QLatin1Char('\n');
    }
    return out;
}

namespace
{
// The lines between each marker line and its closing "};" within the table window become rows;
// every line written gets a line end. False when a marker has no closing line or nothing after
// it; found counts the tables rewritten.
bool rewriteTables(const QString &text, QLatin1String marker, const QStringList &rows, QString *out,
                   int *found)
{
    const QStringList lines = splitLines(text);
    const int count = lines.size();
    QString result;
    int i = 0;
    *found = 0;
    while (i < count) {
        result += lines.at(i) + QLatin1Char('\n');
        if (!lines.at(i).contains(marker)) {
            ++i;
            continue;
        }
        int closing = -1;
        for (int j = i + 1; j <= i + kTableWindow && j < count; ++j) {
            if (lines.at(j).contains(kClosingLine)) {
                closing = j;
                break;
            }
        }
        if (closing < 0 || closing + 1 >= count)
            return false;
        ++*found;
        for (const QString &row : rows)
            result += row + QLatin1Char('\n');
        // The line after the closing line is copied without looking for a marker in it.
        result += lines.at(closing) + QLatin1Char('\n') + lines.at(closing + 1) + QLatin1Char('\n');
        i = closing + 2;
    }
    *out = result;
    return true;
}
} // namespace

bool SourceGenerator::rewriteChannelTableText(const QString &text, const QStringList &rows,
                                              QString *out)
{
    int found = 0;
    return rewriteTables(text, kTableMarker, rows, out, &found);
}

bool SourceGenerator::rewriteKeySettingsTableText(const QString &text, const QStringList &rows,
                                                  QString *out)
{
    QString result;
    int found = 0;
    if (!rewriteTables(text, kSettingsMarker, rows, &result, &found) || found == 0)
        return false;
    *out = result;
    return true;
}

bool SourceGenerator::rewriteSliderTableText(const QString &text, const QStringList &rows,
                                             QString *out)
{
    QString result;
    int found = 0;
    if (!rewriteTables(text, kSliderMarker, rows, &result, &found) ||
        (found == 0 && !rows.isEmpty()))
        return false;
    // The walk ends every line it copies, the empty one after the file's last line end too; the
    // file keeps the end it had.
    if (text.endsWith(QLatin1Char('\n')) && result.endsWith(QLatin1String("\n\n")))
        result.chop(1);
    *out = result;
    return true;
}

bool SourceGenerator::rewriteDeepSleepCfgText(const QString &text, const QString &row, QString *out)
{
    const QStringList lines = splitLines(text);
    const int count = lines.size();
    QString result;
    int i = 0;
    while (i < count) {
        result += lines.at(i) + QLatin1Char('\n');
        if (!lines.at(i).contains(kDeepSleepMarker)) {
            ++i;
            continue;
        }
        if (i + 3 >= count || !lines.at(i + 2).contains(kClosingLine))
            return false;
        result += row + QLatin1Char('\n') + lines.at(i + 2) + QLatin1Char('\n') + lines.at(i + 3) +
                  QLatin1Char('\n');
        i += 4;
    }
    *out = result;
    return true;
}

bool SourceGenerator::rewriteChannelCount(QWidget *parent, const QString &path, int channelCount,
                                          const QString &failureMessage)
{
    return rewriteFile(parent, path, failureMessage,
                       [channelCount](const QString &text, QString *out) {
                           *out = rewriteChannelCountText(text, channelCount);
                           return true;
                       });
}

bool SourceGenerator::rewriteChannelTable(QWidget *parent, const QString &path,
                                          const QStringList &rows)
{
    const QStringList encoded = fileLines(rows);
    return rewriteFile(parent, path, tr("写头文件失败！"),
                       [&encoded](const QString &text, QString *out) {
                           return rewriteChannelTableText(text, encoded, out);
                       });
}

bool SourceGenerator::rewriteDeepSleepCfg(QWidget *parent, const QString &path, const QString &row)
{
    const QString encoded = TextFile::fromLocalText(row);
    return rewriteFile(parent, path, tr("写头文件失败！"),
                       [&encoded](const QString &text, QString *out) {
                           return rewriteDeepSleepCfgText(text, encoded, out);
                       });
}

bool SourceGenerator::rewriteKeySettingsTable(QWidget *parent, const QString &path,
                                              const QStringList &rows)
{
    const QStringList encoded = fileLines(rows);
    return rewriteFile(parent, path, tr("写按键设置表（TKKeyCfg）失败！"),
                       [&encoded](const QString &text, QString *out) {
                           return rewriteKeySettingsTableText(text, encoded, out);
                       });
}

bool SourceGenerator::rewriteSliders(QWidget *parent, const QString &header, const QString &source,
                                     const PinMapSource &pins)
{
    const QStringList rows = fileLines(sliderRows(pins));
    const int count = rows.size();
    return rewriteFile(parent, header, tr("写.H文件失败！"),
                       [count](const QString &text, QString *out) {
                           return rewriteSliderCountText(text, count, out);
                       }) &&
           rewriteFile(parent, source, tr("写滑条表（TKSliderCfg）失败！"),
                       [&rows](const QString &text, QString *out) {
                           return rewriteSliderTableText(text, rows, out);
                       });
}
