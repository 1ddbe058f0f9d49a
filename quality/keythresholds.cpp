#include "quality/keythresholds.h"

#include <algorithm>

int KeyThresholds::share(int swing, int percent)
{
    return (swing / 100) * percent + (swing % 100) * percent / 100;
}

int KeyThresholds::lowestRelease(int swing, int pressOffset)
{
    // A release threshold on the base would hold a key pressed for ever over a pad that rests a
    // count above it (a hysteresis as large as the press position): it stays a hundredth of the
    // swing, one count at least, above the base, and never above the press threshold.
    return std::min(pressOffset, std::max(1, swing / 100));
}

KeyThresholds KeyThresholds::of(int noTouchMean, int touchMean, int waterMean,
                                const KeySettings &settings)
{
    KeyThresholds t;
    const int base = noTouchMean & 0xFFFF;
    const int touch = touchMean & 0xFFFF;
    const int water = waterMean & 0xFFFF;
    if (touch <= base)
        return t;
    t.swing = touch - base;
    t.pressOffset = share(t.swing, settings.pressPercent);
    // Water that comes more than half the swing above the base would otherwise sit close under
    // the press threshold: the firmware's rule puts it at three quarters, rounded up.
    const int floor = t.swing - t.swing / 4;
    t.waterClose = water > base && water - base > t.swing / 2;
    if (t.waterClose && t.pressOffset < floor) {
        if (settings.waterFloor) {
            t.pressOffset = floor;
            t.waterFloorRaised = true;
        } else {
            t.waterFloorWaived = true;
        }
    }
    const int hysteresis = share(t.swing, settings.hysteresisPercent);
    t.releaseOffset = std::max(t.pressOffset - hysteresis, lowestRelease(t.swing, t.pressOffset));
    return t;
}
