#ifndef PRODUCTIONLIMITS_H
#define PRODUCTIONLIMITS_H

#include "chip/chip.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QSettings;

// What the tuned project says of a key: its no-touch mean as the firmware gets it, its noise and
// its signal. A figure the project has not measured is absent.
struct TunedKey
{
    std::optional<int> noTouchMean;
    std::optional<int> noise;
    std::optional<int> signal;
};

// The limits a board's channel must keep to pass. A limit that is absent is not checked: the
// project did not measure what it would be derived from, and nobody set it.
struct ChannelLimits
{
    std::optional<int> noTouchLow;
    std::optional<int> noTouchHigh;
    std::optional<int> maxNoise;
    std::optional<int> minSignal;

    bool operator==(const ChannelLimits &o) const
    {
        return noTouchLow == o.noTouchLow && noTouchHigh == o.noTouchHigh &&
               maxNoise == o.maxNoise && minSignal == o.minSignal;
    }
};

// How the limits follow from the tuned project, for every channel at once, and how the operator
// is asked to touch the keys.
struct LimitRule
{
    enum class Field {
        Window,       // the no-touch window: +- this % of the tuned no-touch mean
        NoiseFactor,  // the noise maximum: the tuned noise times this %
        SignalShare,  // the signal minimum: this % of the tuned signal
        TouchSeconds, // the time each key has to be touched
        TouchTest,    // 1: the operator touches every key in turn
    };
    static constexpr int kFieldCount = 5;
    static constexpr std::array<Field, kFieldCount> kFields = {
        Field::Window, Field::NoiseFactor, Field::SignalShare, Field::TouchSeconds,
        Field::TouchTest};

    struct Range
    {
        int minimum;
        int maximum;
        constexpr bool holds(int value) const { return value >= minimum && value <= maximum; }
    };
    static constexpr Range range(Field field)
    {
        switch (field) {
        case Field::Window:
            return {1, 50};
        case Field::NoiseFactor:
            return {100, 1000};
        case Field::SignalShare:
            return {10, 100};
        case Field::TouchSeconds:
            return {1, 60};
        case Field::TouchTest:
            return {0, 1};
        }
        return {0, 0};
    }

    // +-15 % holds a thicker overlay or another parasitic load, yet not a pad that lost its
    // copper. Twice the tuned noise allows for a bench quieter than the line. Half the tuned
    // signal is still twice the margin the judgement asks of a key (5:1 against the noise).
    // A pad that read quiet on the bench (a noise of 0 or 1) still moves by a few counts of the
    // counter on the line: no derived noise maximum is below this.
    static constexpr int kMinNoiseLimit = 5;

    int windowPercent = 15;
    int noiseFactorPercent = 200;
    int signalSharePercent = 50;
    int touchSeconds = 5;
    bool touchTest = true;

    int value(Field field) const;
    void setValue(Field field, int value);
    bool isValid() const;
    bool operator==(const LimitRule &other) const;
    bool operator!=(const LimitRule &other) const { return !(*this == other); }

    // The limits of a key as this rule derives them from its tuned figures.
    ChannelLimits derive(const TunedKey &tuned) const;
};

// The production limits of the project: the rule and, per channel, the limits the engineer set
// by hand in place of the derived ones. Kept in the project file's section [Production]: the
// rule's fields, then one group per channel with a limit set ("TK3\noTouchLow=1700"). A file
// without the section has the default rule and no limit set.
class ProductionLimits : public QObject
{
    Q_OBJECT

public:
    enum class Limit { NoTouchLow, NoTouchHigh, MaxNoise, MinSignal };
    static constexpr std::array<Limit, 4> kLimits = {Limit::NoTouchLow, Limit::NoTouchHigh,
                                                     Limit::MaxNoise, Limit::MinSignal};
    static const QString kSection;

    explicit ProductionLimits(QObject *parent = nullptr);

    const LimitRule &rule() const { return currentRule; }
    // A rule that is not valid is refused.
    bool setRule(const LimitRule &rule);

    // The limit set by hand for the channel, if any.
    std::optional<int> limitSetByHand(int channel, Limit limit) const;
    // value 0 ... 65535 replaces the derived limit; none gives the channel the derived one again.
    // Refused when it would leave the channel, tuned as given, a no-touch window no board passes.
    bool setLimit(int channel, Limit limit, std::optional<int> value,
                  const TunedKey &tuned = TunedKey());
    // Every channel back to the derived limits.
    void clearSetLimits();

    // The limits the channel is tested against: those set by hand, else the rule's.
    ChannelLimits limitsOf(int channel, const TunedKey &tuned) const;

    void save(QSettings &ini) const;
    // A value that is no whole number in its range keeps its default and is named in invalid,
    // "TK3 noTouchLow abc"; so does a key the file gives twice, and a window set by hand whose
    // lower limit lies above its upper one ("TK3 noTouchLow 3000 > noTouchHigh 1000"). One
    // changed() afterwards.
    void load(const QSettings &ini, QStringList *invalid);

    // A no-touch window whose lower limit lies above its upper one: no board passes it.
    static bool isInverted(const ChannelLimits &limits);
    // "TK3 noTouchLow 3000 > noTouchHigh 1000".
    static QString invertedText(int channel, const ChannelLimits &limits);

    static std::optional<int> &of(ChannelLimits &limits, Limit limit);
    static std::optional<int> of(const ChannelLimits &limits, Limit limit);

signals:
    void changed();

private:
    LimitRule currentRule;
    std::array<ChannelLimits, chip::kChannelCount> set{};
};

#endif // PRODUCTIONLIMITS_H
