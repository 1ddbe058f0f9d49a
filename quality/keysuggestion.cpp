#include "quality/keysuggestion.h"

#include "quality/keyquality.h"
#include "quality/keythresholds.h"

#include <cmath>
#include <cstdlib>

namespace
{
using Field = KeySettings::Field;

// The value of field, within its range, whose threshold (from thresholdOf) lies strictly between
// low and high and nearest to the middle; none when none does.
template <typename ThresholdOf>
std::optional<int> nearestToMiddle(Field field, int low, int high, ThresholdOf thresholdOf)
{
    const double middle = (double(low) + high) / 2.0;
    std::optional<int> best;
    double bestDistance = 0.0;
    const KeySettings::Range range = KeySettings::range(field);
    for (int value = range.minimum; value <= range.maximum; ++value) {
        const std::optional<int> threshold = thresholdOf(value);
        if (!threshold || *threshold <= low || *threshold >= high)
            continue;
        const double distance = std::abs(*threshold - middle);
        if (!best || distance < bestDistance) {
            best = value;
            bestDistance = distance;
        }
    }
    return best;
}
} // namespace

KeySuggestion KeySuggestion::of(const ChannelSamples &samples, const KeyMeans &means,
                                const KeySettings &current, const Neighbour &neighbour)
{
    KeySuggestion s;
    s.settings = current;
    s.neighbourChannel = neighbour.channel;
    if (!samples.has(SamplePhase::NoTouch) || !samples.has(SamplePhase::Touch) ||
        !samples.has(SamplePhase::Water) || !means.isComplete())
        return s;
    const int base = *means.noTouch;
    const auto thresholds = [&](const KeySettings &settings) {
        return KeyThresholds::of(base, *means.touch, *means.water, settings);
    };
    const KeyThresholds probe = thresholds(current);
    s.swing = probe.swing;
    const int restMaximum = PhaseFigures::of(samples.noTouch).maximum;
    const int waterMaximum = PhaseFigures::of(samples.water).maximum;
    const int lowestTouched = PhaseFigures::of(samples.touch).minimum;
    const int untouched = std::max(restMaximum, waterMaximum);
    const int risen = restMaximum + std::max(0, int(std::ceil(neighbour.rise)));
    const int highest = std::max(untouched, risen);
    s.problem = !probe.canPress()               ? Problem::NoSignal
                : restMaximum >= lowestTouched  ? Problem::RestAboveTouch
                : waterMaximum >= lowestTouched ? Problem::WaterAboveTouch
                : highest >= lowestTouched      ? Problem::NeighbourAboveTouch
                                                : Problem::None;
    if (s.problem != Problem::None)
        return s;

    // Where the water rule applies its floor stays on, unless no position above the floor lies
    // in the gap: then the suggestion lowers the threshold below it, which it says.
    const QList<bool> floors =
        probe.waterClose ? QList<bool>{true, false} : QList<bool>{current.waterFloor};
    std::optional<int> press;
    for (bool floor : floors) {
        s.settings.waterFloor = floor;
        press = nearestToMiddle(Field::Press, highest, lowestTouched, [&](int percent) {
            KeySettings candidate = s.settings;
            candidate.pressPercent = percent;
            const KeyThresholds t = thresholds(candidate);
            // A position the floor overrides says nothing of where the threshold is.
            return t.waterFloorRaised ? std::nullopt : std::optional<int>(t.pressAt(base));
        });
        if (press)
            break;
    }
    if (!press) {
        s.problem = Problem::OutsideRange;
        s.settings = current;
        return s;
    }
    s.settings.pressPercent = *press;
    s.pressThreshold = thresholds(s.settings).pressAt(base);
    // Hysteresis 0 always keeps the release threshold above every untouched reading.
    s.settings.hysteresisPercent =
        nearestToMiddle(Field::Hysteresis, untouched, s.pressThreshold + 1, [&](int percent) {
            KeySettings candidate = s.settings;
            candidate.hysteresisPercent = percent;
            return std::optional<int>(thresholds(candidate).releaseAt(base));
        }).value_or(0);
    s.releaseThreshold = thresholds(s.settings).releaseAt(base);
    s.belowWaterFloor = thresholds(s.settings).waterFloorWaived;
    s.touchMargin = lowestTouched - s.pressThreshold;
    s.untouchedMargin = s.pressThreshold - highest;
    s.releaseMargin = s.releaseThreshold - untouched;
    return s;
}

QString KeySuggestion::marginText(int margin) const
{
    return tr("%1（%2%）").arg(margin).arg(swing > 0 ? margin * 100 / swing : 0);
}

QString KeySuggestion::text(const QString &channelName) const
{
    switch (problem) {
    case Problem::None:
        break;
    case Problem::Unmeasured:
        return tr("%1：测试未完成，无法建议设置").arg(channelName);
    case Problem::NoSignal:
        return tr("%1：触摸时的均值不高于不触摸时的均值，没有可用的阈值").arg(channelName);
    case Problem::RestAboveTouch:
        return tr("%1：不触摸时的最大值高于触摸时的最小值，没有可用的阈值").arg(channelName);
    case Problem::WaterAboveTouch:
        return tr("%1：加水时的最大值高于触摸时的最小值，没有可用的阈值").arg(channelName);
    case Problem::NeighbourAboveTouch:
        return tr("%1：触摸 TK%2 时的读数高于触摸时的最小值，没有可用的阈值")
            .arg(channelName)
            .arg(neighbourChannel);
    case Problem::OutsideRange:
        return tr("%1：安全区间不在按下位置 10%～90% 之内，没有可用的阈值").arg(channelName);
    }
    const QString floorOff = belowWaterFloor ? tr("，防水下限 关") : QString();
    return tr("%1：按下位置 %2%，迟滞 %3%%4（按下阈值 %5，释放阈值 %6；余量：触摸 %7，未触摸 %8，"
              "释放 %9）")
        .arg(channelName, QString::number(settings.pressPercent),
             QString::number(settings.hysteresisPercent), floorOff, QString::number(pressThreshold),
             QString::number(releaseThreshold), marginText(touchMargin),
             marginText(untouchedMargin), marginText(releaseMargin));
}
