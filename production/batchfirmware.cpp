#include "production/batchfirmware.h"

#include "chip/chip.h"

#include <algorithm>

namespace
{
// Keeps the smaller margin; a margin on an earlier board stays when equal.
void keepSmaller(std::optional<BatchFirmware::Margin> &margin, int counts, const QString &board)
{
    if (!margin || counts < margin->counts)
        margin = BatchFirmware::Margin{counts, board};
}
} // namespace

std::optional<BatchFirmware::Margin> BatchFirmware::Values::worst() const
{
    std::optional<Margin> smallest;
    for (const std::optional<Margin> &margin : {touch, noTouch, water}) {
        if (margin && (!smallest || margin->counts < smallest->counts))
            smallest = margin;
    }
    return smallest;
}

QString BatchFirmware::Values::marginText(const std::optional<Margin> &margin, bool withBoard) const
{
    if (!margin)
        return tr("—");
    QString text =
        thresholds.canPress()
            ? tr("%1（%2%）").arg(margin->counts).arg(thresholds.percentOfSwing(margin->counts))
            : QString::number(margin->counts);
    if (withBoard)
        text += tr("（板 %1）").arg(margin->board);
    return text;
}

BatchFirmware::Values BatchFirmware::valuesOf(const QVector<BoardRecord> &passed, const Key &key)
{
    Values v;
    v.channel = key.channel;
    v.keyNumber = key.keyNumber;
    v.settings = key.settings;
    std::optional<int> highest;
    std::optional<int> weakest;
    std::optional<int> largestShift;
    std::optional<int> largestNoise;
    for (const BoardRecord &board : passed) {
        const ChannelFigures *f = board.figuresOf(key.channel);
        if (!f || !f->noTouchMean)
            continue;
        ++v.boards;
        highest = std::max(highest.value_or(*f->noTouchMean), *f->noTouchMean);
        if (f->signal)
            weakest = std::min(weakest.value_or(*f->signal), *f->signal);
        if (f->waterShift)
            largestShift = std::max(largestShift.value_or(*f->waterShift), *f->waterShift);
        if (f->noise)
            largestNoise = std::max(largestNoise.value_or(*f->noise), *f->noise);
    }
    const KeyMeans &tuned = key.tuned;
    // Without a touch or water test in the batch, the tuned key says what they do.
    if (!weakest && tuned.noTouch && tuned.touch)
        weakest = *tuned.touch - *tuned.noTouch;
    if (!largestShift && tuned.noTouch && tuned.water)
        largestShift = *tuned.water - *tuned.noTouch;
    if (!highest) {
        v.missing = tr("批次中没有合格板的数据");
        return v;
    }
    v.means.noTouch = *highest;
    if (weakest)
        v.means.touch = std::clamp(*highest + *weakest, 0, chip::kMaxCount);
    if (largestShift)
        v.means.water = std::clamp(*highest + *largestShift, 0, chip::kMaxCount);
    if (!largestNoise)
        largestNoise = key.tunedNoise;
    if (!v.means.touch || !v.means.water || !largestNoise) {
        v.missing = !v.means.touch   ? tr("没有信号数据")
                    : !v.means.water ? tr("没有防水数据")
                                     : tr("没有噪声数据");
        return v;
    }
    v.thresholds =
        KeyThresholds::of(*v.means.noTouch, *v.means.touch, *v.means.water, key.settings);
    const KeyThresholds &t = v.thresholds;
    for (const BoardRecord &board : passed) {
        const ChannelFigures *f = board.figuresOf(key.channel);
        if (!f || !f->noTouchMean)
            continue;
        const int noise = f->noise.value_or(*largestNoise);
        if (f->signal)
            keepSmaller(v.touch, *f->signal - noise - t.pressOffset, board.board);
        keepSmaller(v.noTouch, t.releaseOffset - noise, board.board);
        keepSmaller(v.water, t.releaseOffset - f->waterShift.value_or(*largestShift) - noise,
                    board.board);
    }
    return v;
}

QVector<BatchFirmware::Values> BatchFirmware::of(const QVector<BoardRecord> &boards,
                                                 const QVector<Key> &keys)
{
    QVector<BoardRecord> passed;
    for (const BoardRecord &board : boards) {
        if (board.passed)
            passed << board;
    }
    QVector<Values> values;
    for (const Key &key : keys)
        values << valuesOf(passed, key);
    return values;
}

QStringList BatchFirmware::concerns(const QVector<Values> &values)
{
    QStringList lines;
    for (const Values &v : values) {
        const QString name = QStringLiteral("TK%1").arg(v.channel);
        if (!v.missing.isEmpty()) {
            lines << tr("%1：%2").arg(name, v.missing);
            continue;
        }
        QStringList small;
        const auto check = [&](const std::optional<Margin> &margin, const QString &what) {
            if (margin && margin->counts <= 0)
                small << tr("板 %1 上的%2 %3").arg(margin->board, what).arg(margin->counts);
        };
        check(v.touch, tr("触摸余量"));
        check(v.noTouch, tr("不触摸余量"));
        check(v.water, tr("防水余量"));
        if (!small.isEmpty())
            lines << tr("%1：%2").arg(name, small.join(tr("，")));
    }
    return lines;
}
