#ifndef KEYTHRESHOLDS_H
#define KEYTHRESHOLDS_H

#include "quality/keysettings.h"

// The press and release thresholds of one key as TouchKeyInit sets them up from the key's rows
// of the firmware's tables: offsets above the base, fixed from the measured means and the key's
// settings, so that both follow the base as it follows the pad. All in the firmware's 16-bit
// unsigned arithmetic; a threshold beyond 65535 stays at 65535, where no count exceeds it.
struct KeyThresholds
{
    // The offset of a key whose touch mean is not above its untouched mean: never pressed.
    static constexpr int kNever = 0xFFFF;

    // Touch mean - untouched mean; 0 when the touch is not above.
    int swing = 0;
    int pressOffset = kNever;
    int releaseOffset = kNever;
    // Water comes more than half the swing above the untouched mean: the water rule's case.
    bool waterClose = false;
    // The water rule lifted the press threshold to three quarters of the swing.
    bool waterFloorRaised = false;
    // The water rule would have lifted it, but the key's settings switched its floor off.
    bool waterFloorWaived = false;

    static KeyThresholds of(int noTouchMean, int touchMean, int waterMean,
                            const KeySettings &settings);
    // The lowest release offset any hysteresis leaves a key with that swing and press offset.
    static int lowestRelease(int swing, int pressOffset);
    // percent % of swing, rounded down, in 16 bits: (swing / 100) * percent plus the rest.
    static int share(int swing, int percent);
    // base + offset, held at 65535.
    static int above(int base, int offset)
    {
        const int sum = base + offset;
        return sum > 0xFFFF ? 0xFFFF : sum;
    }

    bool canPress() const { return swing > 0; }
    int pressAt(int base) const { return above(base, pressOffset); }
    int releaseAt(int base) const { return above(base, releaseOffset); }
    // A count this far below the base or further is no drift: the hysteresis in counts.
    int recoveryBand() const { return pressOffset - releaseOffset; }
    // The share of the swing a count difference is, in whole percent cut toward 0; 0 without a
    // swing.
    int percentOfSwing(int counts) const { return swing > 0 ? counts * 100 / swing : 0; }
};

#endif // KEYTHRESHOLDS_H
