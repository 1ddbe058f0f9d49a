#ifndef FIRMWAREKEYMODEL_H
#define FIRMWAREKEYMODEL_H

#include <QtGlobal>

#include <optional>

struct KeyQuality;

// One key as the application firmware's TouchKeyScan decides it, record by record: the threshold
// from the measured means over a base that follows slow drift by one count per record while the
// key is not above it, and the press reported only after TK_DEBOUNCE records above the threshold.
class FirmwareKeyModel
{
public:
    // Records above the threshold that the firmware counts before it reports the press.
    static constexpr int kDebounce = 3;

    // The state after TouchKeyInit, from the means the generator writes into the firmware.
    FirmwareKeyModel(int noTouchMean, int touchMean, int waterMean);
    // A model for a key with complete figures; none otherwise.
    static std::optional<FirmwareKeyModel> forKey(const KeyQuality &quality);

    // One scan with this record's count; returns whether the key is now reported pressed.
    bool feed(quint16 count);
    bool pressed() const { return flag; }
    // Records above the threshold counted so far, 0 ... kDebounce, as TouchDebounce holds them.
    int debounceCount() const { return debounce; }
    // The base the firmware holds now, and the threshold it compares the next count with.
    int base() const { return currentBase; }
    int threshold() const;

private:
    quint16 touchMean;
    quint16 waterMean;
    quint16 currentBase;
    int debounce = 0;
    bool flag = false;
};

#endif // FIRMWAREKEYMODEL_H
