#include "production/boardrecord.h"

const ChannelFigures *BoardRecord::figuresOf(int channel) const
{
    for (const ChannelFigures &figures : channels) {
        if (figures.channel == channel)
            return &figures;
    }
    return nullptr;
}

BoardFailure::Pad BoardJudgement::padOf(int noTouchMean, const ChannelLimits &limits)
{
    if (noTouchMean <= kRailCounts || noTouchMean >= 0xFFFF - kRailCounts)
        return BoardFailure::Pad::Shorted;
    if (limits.noTouchLow && limits.noTouchHigh) {
        const int width = *limits.noTouchHigh - *limits.noTouchLow;
        if (noTouchMean < *limits.noTouchLow - width / 2)
            return BoardFailure::Pad::Open;
    }
    return BoardFailure::Pad::None;
}

QVector<BoardFailure> BoardJudgement::judgeNoTouch(const ChannelFigures &figures,
                                                   const ChannelLimits &limits)
{
    QVector<BoardFailure> failures;
    const auto fail = [&](BoardFailure::Kind kind, int value, int limit, BoardFailure::Pad pad) {
        BoardFailure failure;
        failure.kind = kind;
        failure.channel = figures.channel;
        failure.value = value;
        failure.limit = limit;
        failure.pad = pad;
        failures << failure;
    };
    if (const std::optional<int> mean = figures.noTouchMean) {
        // A pad is named only where its count is out of the window: within it, it is a pad.
        const BoardFailure::Pad pad = padOf(*mean, limits);
        if (limits.noTouchLow && *mean < *limits.noTouchLow)
            fail(BoardFailure::Kind::NoTouchLow, *mean, *limits.noTouchLow, pad);
        else if (limits.noTouchHigh && *mean > *limits.noTouchHigh)
            fail(BoardFailure::Kind::NoTouchHigh, *mean, *limits.noTouchHigh, pad);
    }
    if (figures.noise && limits.maxNoise && *figures.noise > *limits.maxNoise)
        fail(BoardFailure::Kind::NoiseHigh, *figures.noise, *limits.maxNoise,
             BoardFailure::Pad::None);
    return failures;
}

std::optional<BoardFailure> BoardJudgement::judgeTouch(int channel, int signal, bool timedOut,
                                                       int seconds, const ChannelLimits &limits)
{
    if (!limits.minSignal || signal >= *limits.minSignal)
        return std::nullopt;
    const bool seen = signal * 100 >= *limits.minSignal * kTouchSeenPercent;
    BoardFailure failure;
    failure.kind =
        timedOut && !seen ? BoardFailure::Kind::NotTouched : BoardFailure::Kind::SignalLow;
    failure.channel = channel;
    failure.value = signal;
    failure.limit = *limits.minSignal;
    failure.seconds = failure.kind == BoardFailure::Kind::NotTouched ? seconds : 0;
    if (signal * 100 < *limits.minSignal * kNoSignalPercent)
        failure.pad = BoardFailure::Pad::NoSignal;
    return failure;
}

QVector<BoardFailure> BoardJudgement::judge(const ChannelFigures &figures,
                                            const ChannelLimits &limits)
{
    QVector<BoardFailure> failures = judgeNoTouch(figures, limits);
    if (figures.signal) {
        if (const std::optional<BoardFailure> touch =
                judgeTouch(figures.channel, *figures.signal, false, 0, limits))
            failures << *touch;
    }
    return failures;
}
