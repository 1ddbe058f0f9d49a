#include "production/projectbatch.h"

#include "chip/chip.h"
#include "quality/keyquality.h"
#include "quality/samplesfile.h"

#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace
{
// A mean as a results row holds it: a count in decimal, absent otherwise.
std::optional<int> countOf(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok && value >= 0 && value <= SamplesFile::kMaxCount ? std::optional<int>(value)
                                                               : std::nullopt;
}
} // namespace

bool ProjectBatch::read(const QString &iniPath, BoardRecord *board, QString *error)
{
    const QFileInfo info(iniPath);
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = tr("无法读取工程 %1：%2").arg(iniPath, reason);
        return false;
    };
    if (!info.isFile())
        return fail(tr("文件不存在"));
    const QSettings ini(iniPath, QSettings::IniFormat);
    // No more rows than a save writes, whatever the count says.
    const int rows = std::min(ini.value(QStringLiteral("/20/0")).toInt(), chip::kChannelCount);
    SampleStore store;
    const QString samplesPath =
        info.absolutePath() + QLatin1Char('/') + SamplesFile::fileName(info.completeBaseName());
    QString samplesError;
    if (QFileInfo::exists(samplesPath) && !SamplesFile::read(samplesPath, &store, &samplesError))
        return fail(samplesError);
    BoardRecord record;
    record.board = info.completeBaseName();
    record.time = info.lastModified();
    for (int i = 1; i <= rows; ++i) {
        const QStringList cells =
            ini.value(QStringLiteral("/20/%1").arg(i)).toString().split(QLatin1Char(':'));
        const std::optional<int> channel = countOf(cells.value(4));
        if (!channel || !chip::isChannel(*channel) || record.figuresOf(*channel))
            continue;
        const KeyMeans means{countOf(cells.value(1)), countOf(cells.value(2)),
                             countOf(cells.value(3))};
        const KeyQuality quality = KeyQuality::of(store.at(*channel), means);
        ChannelFigures figures;
        figures.channel = *channel;
        figures.noTouchMean = quality.means.noTouch;
        figures.noise = quality.noise;
        figures.signal = quality.signal;
        figures.waterShift = quality.waterShift;
        if (figures.noTouchMean)
            record.channels << figures;
    }
    if (record.channels.isEmpty())
        return fail(tr("工程中没有调试结果"));
    std::sort(
        record.channels.begin(), record.channels.end(),
        [](const ChannelFigures &a, const ChannelFigures &b) { return a.channel < b.channel; });
    *board = record;
    return true;
}
