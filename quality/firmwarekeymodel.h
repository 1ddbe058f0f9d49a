#ifndef FIRMWAREKEYMODEL_H
#define FIRMWAREKEYMODEL_H

#include "quality/keysettings.h"
#include "quality/keythresholds.h"

#include <QtGlobal>

#include <optional>

struct KeyQuality;

// One key as the application firmware's TouchKeyScan decides it, record by record, and as its
// once-a-second TouchKeySecond frees it. The base starts at the untouched mean and follows the
// pad by one count a record while the key is not pressed; a count further below it than the
// hysteresis for as many records as the debounce takes it at once. A press needs the debounce's
// records above the press threshold and the next one; a pressed key holds until a count is not
// above the release threshold, or until it has been pressed longer than its maximum press time,
// when the firmware releases it and takes its latest count for the base. Plain integers and no
// allocation: a scan costs a few comparisons.
class FirmwareKeyModel
{
public:
    // What one scan does to the key's bit in TouchKeyFlag.
    enum class Step {
        Keep,  // above the press threshold, still counting
        Set,   // pressed
        Clear, // not pressed
    };

    // A press as the firmware counts it, a key's or a slider's: the records above the threshold
    // before the press (TouchDebounce), the seconds since (TouchHeld), and the bit.
    struct Press
    {
        int debounce = 0;
        int held = 0;
        bool flag = false;

        // A scan above the threshold. The bit follows only on the record after the counter has
        // reached the debounce.
        Step above(int debounceLimit)
        {
            if (!flag) {
                if (debounce < debounceLimit) {
                    ++debounce;
                    return Step::Keep;
                }
                flag = true;
                held = 0;
            }
            return Step::Set;
        }
        // A scan not above it.
        void below()
        {
            debounce = 0;
            held = 0;
            flag = false;
        }
        // One second of the firmware's clock; true when the press outlasted maxPress seconds
        // and is released now (never with maxPress 0).
        bool second(int maxPress)
        {
            if (!flag || maxPress == 0)
                return false;
            if (held < maxPress) {
                ++held;
                return false;
            }
            below();
            return true;
        }
    };

    // The state after TouchKeyInit, from the means the generator writes into the firmware and
    // the key's settings.
    FirmwareKeyModel(int noTouchMean, int touchMean, int waterMean,
                     const KeySettings &settings = KeySettings());
    // A model for a key whose three means the firmware gets, with its settings; none otherwise.
    static std::optional<FirmwareKeyModel> forKey(const KeyQuality &quality);

    // One scan with this record's count, and what it does to the key's bit.
    Step scan(quint16 count);
    // One second of the firmware's clock; true when it released the key.
    bool second();
    // One scan; returns whether the key is now reported pressed, as when no other channel
    // shares its key number.
    bool feed(quint16 count);

    bool pressed() const { return press.flag; }
    // Records above the press threshold counted so far, 0 ... the debounce, as TouchDebounce
    // holds them.
    int debounceCount() const { return press.debounce; }
    // Records in a row far below the base, as TouchLow holds them.
    int lowCount() const { return low; }
    // Seconds counted since the press, as TouchHeld holds them.
    int heldSeconds() const { return press.held; }
    // The base the firmware holds now and the thresholds over it.
    int base() const { return currentBase; }
    int pressThreshold() const { return KeyThresholds::above(currentBase, pressOffset); }
    int releaseThreshold() const { return KeyThresholds::above(currentBase, releaseOffset); }
    // The threshold the next count is compared with: the release threshold while pressed.
    int threshold() const { return press.flag ? releaseThreshold() : pressThreshold(); }

    // How a base follows the pad's count while nothing presses: one count a scan, or at once to
    // a count that stays further below it than band for debounceLimit scans in a row (low counts
    // them). A slider's segments follow so too.
    static void follow(int count, int band, int debounceLimit, int *base, int *low);

private:
    int pressOffset;
    int releaseOffset;
    int band;
    int debounceLimit;
    int maxPress;
    int currentBase;
    int latest;
    int low = 0;
    Press press;
};

// Inline: an evaluation of a long recording scans every key of every record.
inline FirmwareKeyModel::Step FirmwareKeyModel::scan(quint16 count)
{
    latest = count;
    if (count > threshold()) {
        low = 0;
        return press.above(debounceLimit);
    }
    press.below();
    follow(count, band, debounceLimit, &currentBase, &low);
    return Step::Clear;
}

inline void FirmwareKeyModel::follow(int count, int band, int debounceLimit, int *base, int *low)
{
    // Without branches on the count's side of the base: noise puts it on either side at
    // random, and an evaluation of a long recording runs this for every key and record.
    const int below = *base - count;
    const int step = int(count > *base) - int(count < *base);
    const bool far = below > 0 && below > band;
    const int counted = far ? *low + 1 : 0;
    const bool jump = far && counted >= debounceLimit;
    *base = jump ? count : *base + step;
    *low = jump ? 0 : counted;
}

#endif // FIRMWAREKEYMODEL_H
