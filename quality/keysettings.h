#ifndef KEYSETTINGS_H
#define KEYSETTINGS_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// How the application firmware decides one key, as the engineer sets it: where the press
// threshold lies in the swing from the untouched to the touched mean, how far below it the key is
// released, how many scans above it come before a press, how long a press may last before the
// firmware takes what rests on the pad for its new base, and whether the water rule keeps the
// press threshold at its floor. Small integers, as the firmware's settings table holds them.
struct KeySettings
{
    Q_DECLARE_TR_FUNCTIONS(KeySettings)

public:
    enum class Field {
        Press,      // press threshold, % of the swing
        Hysteresis, // release threshold below the press threshold, % of the swing
        Debounce,   // scans above the press threshold before the one that presses
        MaxPress,   // seconds a press may last; 0 for ever
        WaterFloor, // 1: never below the water rule's three quarters of the swing
    };
    static constexpr int kFieldCount = 5;
    static constexpr std::array<Field, kFieldCount> kFields = {
        Field::Press, Field::Hysteresis, Field::Debounce, Field::MaxPress, Field::WaterFloor};

    struct Range
    {
        int minimum;
        int maximum;
        constexpr bool holds(int value) const { return value >= minimum && value <= maximum; }
    };
    static constexpr Range range(Field field)
    {
        switch (field) {
        case Field::Press:
            return {10, 90};
        case Field::Hysteresis:
            return {0, 50};
        case Field::Debounce:
            return {1, 15};
        case Field::MaxPress:
            return {0, 255};
        case Field::WaterFloor:
            return {0, 1};
        }
        return {0, 0};
    }

    // The defaults suit a typical key. Press at half the swing and three scans of debounce are
    // the firmware's rule from before settings existed. A hysteresis of a tenth of the swing is
    // the whole noise of a good key (signal to noise 10:1) and half that of the weakest key the
    // judgement passes (5:1), while the release threshold stays two fifths of the swing above
    // the untouched mean. Twenty seconds is far beyond any deliberate press, yet frees a key that
    // water or an object holds down before a user gives up on the product.
    int pressPercent = 50;
    int hysteresisPercent = 10;
    int debounce = 3;
    int maxPressSeconds = 20;
    bool waterFloor = true;

    int value(Field field) const;
    void setValue(Field field, int value);
    // Every field within its range.
    bool isValid() const;
    bool operator==(const KeySettings &other) const;
    bool operator!=(const KeySettings &other) const { return !(*this == other); }

    // A slider's settings from its segments' in order: the first that differ from the defaults
    // (the tool keeps every segment's equal; an earlier version kept them on any one), else the
    // defaults.
    static KeySettings ofSlider(const QVector<KeySettings> &segments);

    // The row of the firmware's settings table, in field order: "50,10,3,20,1,".
    QString firmwareRow() const;

    // A field's name and its value with its unit, in the interface's language unless the
    // sources' is asked for (the report): "按下位置", "50%"; "3 次（第 4 次扫描按下）" for the
    // debounce; "不限" for a maximum press time of 0, "开" or "关" for the water floor.
    static QString fieldName(Field field);
    static QString valueText(Field field, int value, bool shownInInterface = true);
    // The fields that differ from the defaults: "按下位置 60%（默认 50%）", in field order.
    QStringList differencesFromDefaults() const;
};

#endif // KEYSETTINGS_H
