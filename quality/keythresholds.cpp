#include "quality/keythresholds.h"

int KeyThresholds::share(int swing, int percent)
{
    return (swing / 100) * percent + (swing % 100) * percent / 100;
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
    t.releaseOffset = t.pressOffset > hysteresis ? t.pressOffset - hysteresis : 0;
    return t;
}
