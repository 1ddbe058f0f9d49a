#include "quality/firmwarekeymodel.h"

#include "quality/keyquality.h"

FirmwareKeyModel::FirmwareKeyModel(int noTouchMean, int touchMean, int waterMean,
                                   const KeySettings &settings)
    : debounceLimit(settings.debounce), maxPress(settings.maxPressSeconds),
      currentBase(noTouchMean & 0xFFFF), latest(currentBase)
{
    const KeyThresholds t = KeyThresholds::of(noTouchMean, touchMean, waterMean, settings);
    pressOffset = t.pressOffset;
    releaseOffset = t.releaseOffset;
    band = t.recoveryBand();
}

std::optional<FirmwareKeyModel> FirmwareKeyModel::forKey(const KeyQuality &quality)
{
    const KeyMeans &means = quality.means;
    if (!means.isComplete())
        return std::nullopt;
    return FirmwareKeyModel(*means.noTouch, *means.touch, *means.water, quality.settings);
}

bool FirmwareKeyModel::second()
{
    if (!press.second(maxPress))
        return false;
    currentBase = latest;
    return true;
}

bool FirmwareKeyModel::feed(quint16 count)
{
    scan(count);
    return press.flag;
}
