#include "quality/firmwarekeymodel.h"

#include "quality/keyquality.h"

FirmwareKeyModel::FirmwareKeyModel(int noTouchMean, int touchMean, int waterMean)
    : touchMean(quint16(touchMean)), waterMean(quint16(waterMean)),
      currentBase(quint16(noTouchMean))
{
}

std::optional<FirmwareKeyModel> FirmwareKeyModel::forKey(const KeyQuality &quality)
{
    const KeyMeans &means = quality.means;
    if (!means.isComplete())
        return std::nullopt;
    return FirmwareKeyModel(*means.noTouch, *means.touch, *means.water);
}

int FirmwareKeyModel::threshold() const
{
    return KeyQuality::firmwareThreshold(currentBase, touchMean, waterMean);
}

FirmwareKeyModel::Step FirmwareKeyModel::scan(quint16 count)
{
    if (count > threshold()) {
        // The bit follows only on the record after the counter has reached TK_DEBOUNCE.
        if (debounce < kDebounce) {
            ++debounce;
            return Step::Keep;
        }
        flag = true;
        return Step::Set;
    }
    debounce = 0;
    flag = false;
    if (count > currentBase)
        ++currentBase;
    else if (count < currentBase)
        --currentBase;
    return Step::Clear;
}

bool FirmwareKeyModel::feed(quint16 count)
{
    scan(count);
    return flag;
}
