#include "quality/samplesfile.h"

#include "chip/chip.h"
#include <QFile>
#include <QList>
#include <QSaveFile>

#include <array>
#include <optional>

const QByteArray SamplesFile::kByteOrderMark("\xEF\xBB\xBF");

namespace
{
constexpr std::array<SamplePhase, 3> kPhases = {SamplePhase::NoTouch, SamplePhase::Touch,
                                                SamplePhase::Water};
// "TK24,notouch" and 162 counts of up to five digits, each after a comma, with room for blanks.
constexpr int kMaxLineBytes = 2 * (12 + 6 * chip::kSamplesPerPhase);
const QByteArray kShiftsWord("shifts");

QByteArray phaseWord(SamplePhase phase)
{
    switch (phase) {
    case SamplePhase::NoTouch:
        return QByteArrayLiteral("notouch");
    case SamplePhase::Touch:
        return QByteArrayLiteral("touch");
    case SamplePhase::Water:
        return QByteArrayLiteral("water");
    }
    return QByteArray();
}

bool isDigits(const QByteArray &text, int maxLength)
{
    if (text.isEmpty() || text.size() > maxLength)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// Channel number of "TK0" ... "TK24", or -1.
int channelOf(const QByteArray &name)
{
    if (!name.startsWith("TK") || !isDigits(name.mid(2), 2))
        return -1;
    const int channel = name.mid(2).toInt();
    return chip::isChannel(channel) ? channel : -1;
}

std::optional<SamplePhase> phaseOf(const QByteArray &word)
{
    for (SamplePhase phase : kPhases) {
        if (word == phaseWord(phase))
            return phase;
    }
    return std::nullopt;
}

// The shifts of a touch on a channel, "-1,0,300,...": one whole number a channel, each within
// what a phase of 16-bit counts can sum to.
bool readShifts(const QList<QByteArray> &fields, int channel, SampleStore &store)
{
    if (fields.size() != 2 + chip::kChannelCount)
        return false;
    constexpr qint64 kLimit = qint64(chip::kSamplesPerPhase) * SamplesFile::kMaxCount;
    ShiftSums sums{};
    for (int k = 0; k < chip::kChannelCount; ++k) {
        QByteArray value = fields.at(2 + k).trimmed();
        const bool negative = value.startsWith('-');
        if (negative)
            value.remove(0, 1);
        if (!isDigits(value, 8) || value.toLongLong() > kLimit)
            return false;
        sums[k] = negative ? -value.toLongLong() : value.toLongLong();
    }
    store.setShifts(channel, sums);
    return true;
}

// Stores one line's samples or shifts; false for a line that is neither.
bool readLine(const QByteArray &line, SampleStore &store)
{
    // No line of the file is longer; a longer one is not split into fields at all.
    if (line.size() > kMaxLineBytes)
        return false;
    const QList<QByteArray> fields = line.split(',');
    if (fields.size() < 2)
        return false;
    const int channel = channelOf(fields.at(0).trimmed());
    if (channel >= 0 && fields.at(1).trimmed() == kShiftsWord)
        return readShifts(fields, channel, store);
    const std::optional<SamplePhase> phase = phaseOf(fields.at(1).trimmed());
    if (channel < 0 || !phase || fields.size() != 2 + chip::kSamplesPerPhase)
        return false;
    QVector<int> samples;
    samples.reserve(chip::kSamplesPerPhase);
    for (int i = 2; i < fields.size(); ++i) {
        const QByteArray value = fields.at(i).trimmed();
        if (!isDigits(value, 5))
            return false;
        const int count = value.toInt();
        if (count > SamplesFile::kMaxCount)
            return false;
        samples.append(count);
    }
    store.set(channel, *phase, samples);
    return true;
}

// Reads the lines of a samples file one by one into a store and counts those it skips.
class LineReader
{
public:
    void take(QByteArray line)
    {
        if (first && line.startsWith(SamplesFile::kByteOrderMark))
            line.remove(0, SamplesFile::kByteOrderMark.size());
        first = false;
        line = line.trimmed();
        if (!line.isEmpty() && !readLine(line, store))
            ++skipped;
    }
    // A line too long to be read whole.
    void skipLine()
    {
        first = false;
        ++skipped;
    }

    SampleStore store;
    int skipped = 0;

private:
    bool first = true;
};
} // namespace

QString SamplesFile::fileName(const QString &projectName)
{
    return projectName + QStringLiteral("_samples.csv");
}

QByteArray SamplesFile::toText(const SampleStore &store)
{
    QByteArray text;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        const ChannelSamples &samples = store.at(channel);
        for (SamplePhase phase : kPhases) {
            if (!samples.has(phase))
                continue;
            text += "TK" + QByteArray::number(channel) + ',' + phaseWord(phase);
            for (int v : samples.of(phase))
                text += ',' + QByteArray::number(v);
            text += "\r\n";
        }
        if (const std::optional<ShiftSums> shifts = samples.touchShifts()) {
            text += "TK" + QByteArray::number(channel) + ',' + kShiftsWord;
            for (qint64 sum : *shifts)
                text += ',' + QByteArray::number(sum);
            text += "\r\n";
        }
    }
    return text;
}

SampleStore SamplesFile::fromText(const QByteArray &text, int *skipped)
{
    LineReader reader;
    for (const QByteArray &line : text.split('\n'))
        reader.take(line);
    if (skipped)
        *skipped = reader.skipped;
    return reader.store;
}

bool SamplesFile::write(const QString &path, const SampleStore &store, QString *error)
{
    QSaveFile file(path);
    const QByteArray text = toText(store);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error)
            *error = tr("无法写入采样文件 %1：%2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool SamplesFile::read(const QString &path, SampleStore *store, QString *error, int *skipped)
{
    QFile file(path);
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!file.open(QIODevice::ReadOnly))
        return fail(tr("无法读取采样文件 %1：%2").arg(path, file.errorString()));
    const auto tooLarge = [&] {
        return fail(tr("采样文件 %1 大于 %2 MB，未读取").arg(path).arg(kMaxFileBytes >> 20));
    };
    if (file.size() > kMaxFileBytes)
        return tooLarge();
    LineReader reader;
    qint64 total = 0;
    bool inLongLine = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(kMaxLineBytes + 2);
        total += line.size();
        // The size need not be known beforehand (a pipe, a file still growing).
        if (total > kMaxFileBytes)
            return tooLarge();
        // Short of the end, every read returns at least a byte: nothing means it failed.
        if (line.isEmpty())
            return fail(tr("无法读取采样文件 %1：%2").arg(path, file.errorString()));
        // A line longer than any of the file's comes in pieces: skipped once, as one line.
        const bool lineEnds = line.endsWith('\n') || file.atEnd();
        if (!inLongLine && lineEnds)
            reader.take(line);
        else if (!inLongLine)
            reader.skipLine();
        inLongLine = !lineEnds;
    }
    *store = reader.store;
    if (skipped)
        *skipped = reader.skipped;
    return true;
}

QString SamplesFile::backupPath(const QString &path) { return path + QStringLiteral(".bak"); }

bool SamplesFile::keepAsBackup(const QString &path, QString *error)
{
    const QString backup = backupPath(path);
    if ((QFile::exists(backup) && !QFile::remove(backup)) || !QFile::rename(path, backup)) {
        if (error)
            *error = tr("无法保留采样文件 %1 为 %2").arg(path, backup);
        return false;
    }
    return true;
}
