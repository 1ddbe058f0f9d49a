#include "quality/firmwarekeymodel.h"

#include "quality/keyquality.h"

FirmwareKeyModel::FirmwareKeyModel(int noTouchMean, int touchMean, int waterMean)
    : touchMean(quint16(touchMean)), waterMean(quint16(waterMean)),
      currentBase(quint16(noTouchMean))
{
}

std::optional<FirmwareKeyModel> FirmwareKeyModel::forKey(const KeyQuality &quality)
{
    if (!quality.noTouch || !quality.touch || !quality.water)
        return std::nullopt;
    return FirmwareKeyModel(quality.noTouch->mean, quality.touch->mean, quality.water->mean);
}

int FirmwareKeyModel::threshold() const
{
    return KeyQuality::firmwareThreshold(currentBase, touchMean, waterMean);
}

bool FirmwareKeyModel::feed(quint16 count)
{
    if (count > threshold()) {
        // The flag follows only on the record after the counter has reached TK_DEBOUNCE.
        if (debounce < kDebounce)
            ++debounce;
        else
            flag = true;
    } else {
        debounce = 0;
        flag = false;
        if (count > currentBase)
            ++currentBase;
        else if (count < currentBase)
            --currentBase;
    }
    return flag;
}
