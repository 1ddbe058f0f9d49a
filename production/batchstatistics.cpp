#include "production/batchstatistics.h"

#include "chip/chip.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>

FigureStats FigureStats::of(const QVector<int> &values, std::optional<int> lower,
                            std::optional<int> upper)
{
    FigureStats stats;
    stats.lower = lower;
    stats.upper = upper;
    stats.values = values;
    stats.count = int(values.size());
    if (values.isEmpty())
        return stats;
    const auto [low, high] = std::minmax_element(values.cbegin(), values.cend());
    stats.minimum = *low;
    stats.maximum = *high;
    double sum = 0.0;
    for (int v : values)
        sum += v;
    stats.mean = sum / stats.count;
    if (stats.count < 2)
        return stats;
    double squares = 0.0;
    for (int v : values)
        squares += (v - stats.mean) * (v - stats.mean);
    stats.sigma = std::sqrt(squares / (stats.count - 1));
    if (stats.sigma <= 0.0 || (!lower && !upper))
        return stats;
    double nearest = std::numeric_limits<double>::max();
    if (upper)
        nearest = std::min(nearest, *upper - stats.mean);
    if (lower)
        nearest = std::min(nearest, stats.mean - *lower);
    stats.cpk = nearest / (3.0 * stats.sigma);
    return stats;
}

QList<int> BatchStatistics::channelsOf(const QVector<BoardRecord> &boards)
{
    QList<int> channels;
    for (const BoardRecord &board : boards) {
        for (const ChannelFigures &figures : board.channels) {
            if (!channels.contains(figures.channel))
                channels << figures.channel;
        }
    }
    std::sort(channels.begin(), channels.end());
    return channels;
}

namespace
{
// Per figure, the channels of a board whose figure its failure sets apart, a bit each.
using ApartMasks = std::array<quint32, 3>;

void setApart(ApartMasks &masks, const BoardFailure &failure)
{
    const quint32 bit = quint32(1) << failure.channel;
    if (failure.pad == BoardFailure::Pad::Shorted || failure.pad == BoardFailure::Pad::Open) {
        for (quint32 &mask : masks)
            mask |= bit;
    }
    if (failure.pad == BoardFailure::Pad::NoSignal ||
        failure.kind == BoardFailure::Kind::NotTouched)
        masks[int(BoardFigure::Signal)] |= bit;
}

std::optional<int> figureOf(const ChannelFigures &f, BoardFigure figure)
{
    return figure == BoardFigure::NoTouch ? f.noTouchMean
           : figure == BoardFigure::Noise ? f.noise
                                          : f.signal;
}

// A figure of a channel on every board that shows it and does not set it apart, in board order.
FigureStats statsOf(const QVector<BoardRecord> &boards, const QVector<ApartMasks> &apart,
                    int channel, BoardFigure figure, std::optional<int> lower,
                    std::optional<int> upper)
{
    QVector<int> values;
    int setApart = 0;
    for (int b = 0; b < boards.size(); ++b) {
        const ChannelFigures *f = boards.at(b).figuresOf(channel);
        const std::optional<int> value = f ? figureOf(*f, figure) : std::nullopt;
        if (!value)
            continue;
        if ((apart.at(b)[int(figure)] >> channel) & 1)
            ++setApart;
        else
            values << *value;
    }
    FigureStats stats = FigureStats::of(values, lower, upper);
    stats.setApart = setApart;
    return stats;
}
} // namespace

BatchStatistics BatchStatistics::of(const QVector<BoardRecord> &boards,
                                    const std::function<ChannelLimits(int channel)> &limitsOf)
{
    BatchStatistics batch;
    QHash<QString, int> counts;
    QStringList order;
    QVector<ApartMasks> apart(boards.size(), ApartMasks{});
    for (int b = 0; b < boards.size(); ++b) {
        const BoardRecord &board = boards.at(b);
        ++batch.boards;
        batch.passed += board.passed ? 1 : 0;
        // A board counts once for each kind of failure it had.
        QStringList seen;
        for (const QString &reason : board.reasons) {
            const std::optional<BoardFailure> failure = BoardFailure::parse(reason);
            if (failure && !board.passed && chip::isChannel(failure->channel))
                setApart(apart[b], *failure);
            const QString category = failure ? failure->category() : reason;
            if (seen.contains(category))
                continue;
            seen << category;
            if (!counts.contains(category))
                order << category;
            ++counts[category];
        }
    }
    for (const QString &category : order)
        batch.failures.append({category, counts.value(category)});
    // Most frequent first; equal counts in the order they first came.
    std::stable_sort(batch.failures.begin(), batch.failures.end(),
                     [](const QPair<QString, int> &a, const QPair<QString, int> &b) {
                         return a.second > b.second;
                     });
    for (int channel : channelsOf(boards)) {
        const ChannelLimits limits = limitsOf ? limitsOf(channel) : ChannelLimits();
        ChannelStats stats;
        stats.channel = channel;
        stats.figures[int(BoardFigure::NoTouch)] = statsOf(
            boards, apart, channel, BoardFigure::NoTouch, limits.noTouchLow, limits.noTouchHigh);
        stats.figures[int(BoardFigure::Noise)] =
            statsOf(boards, apart, channel, BoardFigure::Noise, std::nullopt, limits.maxNoise);
        stats.figures[int(BoardFigure::Signal)] =
            statsOf(boards, apart, channel, BoardFigure::Signal, limits.minSignal, std::nullopt);
        batch.channels << stats;
    }
    return batch;
}
