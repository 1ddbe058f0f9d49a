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

FirmwareKeyModel::Step FirmwareKeyModel::scan(quint16 count)
{
    latest = count;
    if (count > threshold()) {
        low = 0;
        if (!flag) {
            // The bit follows only on the record after the counter has reached the debounce.
            if (debounce < debounceLimit) {
                ++debounce;
                return Step::Keep;
            }
            flag = true;
            held = 0;
        }
        return Step::Set;
    }
    debounce = 0;
    held = 0;
    flag = false;
    follow(count, band, debounceLimit, &currentBase, &low);
    return Step::Clear;
}

void FirmwareKeyModel::follow(int count, int band, int debounceLimit, int *base, int *low)
{
    if (count > *base) {
        ++*base;
        *low = 0;
    } else if (count < *base) {
        if (*base - count > band) {
            if (++*low >= debounceLimit) {
                *base = count;
                *low = 0;
            } else {
                --*base;
            }
        } else {
            --*base;
            *low = 0;
        }
    } else {
        *low = 0;
    }
}

bool FirmwareKeyModel::second()
{
    if (!flag || maxPress == 0)
        return false;
    if (held < maxPress) {
        ++held;
        return false;
    }
    flag = false;
    debounce = 0;
    held = 0;
    currentBase = latest;
    return true;
}

bool FirmwareKeyModel::feed(quint16 count)
{
    scan(count);
    return flag;
}
