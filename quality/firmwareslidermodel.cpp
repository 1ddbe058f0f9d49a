#include "quality/firmwareslidermodel.h"

#include "chip/chip.h"
#include "quality/keythresholds.h"

int FirmwareSliderModel::normalised(int count, int base, int swing)
{
    if (swing <= 0 || count <= base)
        return 0;
    const int delta = count - base;
    if (delta >= swing)
        return kFullScale;
    return int(qint64(delta) * kFullScale / swing);
}

FirmwareSliderModel::Reading FirmwareSliderModel::locate(SliderShape shape, const int *levels,
                                                         int n)
{
    Reading reading;
    if (n <= 0)
        return reading;
    int peak = 0;
    for (int k = 1; k < n; ++k) {
        if (levels[k] > levels[peak])
            peak = k;
    }
    const bool wheel = shape == SliderShape::Wheel;
    const int previous = wheel ? (peak + n - 1) % n : peak - 1;
    const int next = wheel ? (peak + 1) % n : peak + 1;
    const int a = previous >= 0 && previous != peak ? levels[previous] : 0;
    const int c = next < n && next != peak ? levels[next] : 0;
    const int b = levels[peak];
    reading.strength = b + (a > c ? a : c);
    const qint64 weight = qint64(a) + b + c;
    if (weight == 0)
        return reading;
    if (wheel) {
        // The centroid may lie before segment 0's centre: a whole turn keeps it positive.
        const qint64 at = peak * weight + c - a + n * weight;
        reading.position = int(at * 256 / (n * weight) % 256);
    } else if (n > 1) {
        const qint64 at = peak * weight + c - a;
        reading.position = int(at * kFullScale / ((n - 1) * weight));
    } else {
        reading.position = 0;
    }
    return reading;
}

void FirmwareSliderModel::overCommonLevel(int *levels, int n)
{
    if (n <= 0)
        return;
    int common = levels[0];
    for (int k = 1; k < n; ++k)
        common = levels[k] < common ? levels[k] : common;
    const int room = kFullScale - common;
    for (int k = 0; k < n; ++k)
        levels[k] = room > 0 ? (levels[k] - common) * kFullScale / room : 0;
}

FirmwareSliderModel::FirmwareSliderModel(SliderShape shape, const QVector<Segment> &segments,
                                         const KeySettings &settings)
    : sliderShape(shape), segmentList(segments.mid(0, kMaxSegments)),
      debounceLimit(settings.debounce), maxPress(settings.maxPressSeconds)
{
    std::array<int, kMaxSegments> water{};
    for (int k = 0; k < segmentList.size(); ++k) {
        const Segment &s = segmentList.at(k);
        const std::size_t i = std::size_t(k);
        bases[i] = s.noTouch & 0xFFFF;
        latest[i] = bases[i];
        const int touch = s.touch & 0xFFFF;
        swings[i] = touch > bases[i] ? touch - bases[i] : 0;
        bands[i] = KeyThresholds::of(s.noTouch, s.touch, s.water, settings).recoveryBand();
        water[i] = normalised(s.water & 0xFFFF, bases[i], swings[i]);
    }
    // The water means read by the same rule: how strong water alone makes the slider.
    const int waterStrength = locate(shape, water.data(), segmentCount()).strength;
    strengthThresholds = KeyThresholds::of(0, kFullScale, waterStrength, settings);
    pressOffset = strengthThresholds.pressOffset;
    releaseOffset = strengthThresholds.releaseOffset;
    overWater = settings.waterFloor && strengthThresholds.waterClose;
}

FirmwareKeyModel::Step FirmwareSliderModel::scan(const int *counts)
{
    const int n = segmentCount();
    for (int k = 0; k < n; ++k) {
        const std::size_t i = std::size_t(k);
        latest[i] = counts[k] & 0xFFFF;
        levels[i] = normalised(latest[i], bases[i], swings[i]);
    }
    std::array<int, kMaxSegments> judged = levels;
    if (overWater)
        overCommonLevel(judged.data(), n);
    const Reading reading = locate(sliderShape, judged.data(), n);
    lastStrength = reading.strength;
    if (reading.strength > (press.flag ? releaseOffset : pressOffset)) {
        lows.fill(0);
        const FirmwareKeyModel::Step step = press.above(debounceLimit);
        if (step == FirmwareKeyModel::Step::Set && reading.position >= 0)
            currentPosition = reading.position;
        return step;
    }
    press.below();
    for (int k = 0; k < n; ++k) {
        const std::size_t i = std::size_t(k);
        FirmwareKeyModel::follow(latest[i], bands[i], debounceLimit, &bases[i], &lows[i]);
    }
    return FirmwareKeyModel::Step::Clear;
}

FirmwareKeyModel::Step FirmwareSliderModel::scanChannels(const quint16 *channelCounts,
                                                         const QVector<int> &channels)
{
    std::array<int, kMaxSegments> counts{};
    for (int k = 0; k < segmentCount() && k < channels.size(); ++k) {
        const int channel = channels.at(k);
        counts[std::size_t(k)] = chip::isChannel(channel) ? channelCounts[channel] : 0;
    }
    return scan(counts.data());
}

bool FirmwareSliderModel::second()
{
    if (!press.second(maxPress))
        return false;
    for (int k = 0; k < segmentCount(); ++k)
        bases[std::size_t(k)] = latest[std::size_t(k)];
    return true;
}
