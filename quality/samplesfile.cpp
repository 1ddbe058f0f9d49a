#include "quality/samplesfile.h"

#include "chip/chip.h"
#include <QFile>
#include <QList>
#include <QSaveFile>

#include <array>
#include <optional>

namespace
{
constexpr std::array<SamplePhase, 3> kPhases = {SamplePhase::NoTouch, SamplePhase::Touch,
                                                SamplePhase::Water};

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

// Stores one line's samples; false for a line that is not a channel's phase.
bool readLine(const QByteArray &line, SampleStore &store)
{
    const QList<QByteArray> fields = line.split(',');
    if (fields.size() != 2 + chip::kSamplesPerPhase)
        return false;
    const int channel = channelOf(fields.at(0).trimmed());
    const std::optional<SamplePhase> phase = phaseOf(fields.at(1).trimmed());
    if (channel < 0 || !phase)
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
    }
    return text;
}

SampleStore SamplesFile::fromText(const QByteArray &text, int *skipped)
{
    SampleStore store;
    int bad = 0;
    for (const QByteArray &rawLine : text.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.isEmpty())
            continue;
        if (!readLine(line, store))
            ++bad;
    }
    if (skipped)
        *skipped = bad;
    return store;
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
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = tr("无法读取采样文件 %1：%2").arg(path, file.errorString());
        return false;
    }
    *store = fromText(file.readAll(), skipped);
    return true;
}
