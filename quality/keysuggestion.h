#ifndef KEYSUGGESTION_H
#define KEYSUGGESTION_H

#include "quality/channelsamples.h"
#include "quality/keysettings.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

// The press position and hysteresis a key's samples ask for: the press threshold in the middle
// of the safe gap between the highest untouched reading (with water, and with the strongest rise
// a neighbour's touch causes) and the lowest touched one, and the release threshold halfway
// between the highest untouched reading without neighbours, which it must stay clear of, and the
// press threshold. Thresholds are those the firmware builds from the key's means; the water
// floor stays on unless it would lift the press threshold out of the gap. The debounce and the
// maximum press time stay as they were.
class KeySuggestion
{
    Q_DECLARE_TR_FUNCTIONS(KeySuggestion)

public:
    // Why no setting is safe.
    enum class Problem {
        None,
        Unmeasured,          // not every phase has its samples and means
        NoSignal,            // the touch mean is not above the untouched one
        RestAboveTouch,      // the untouched maximum reaches the touched minimum
        WaterAboveTouch,     // the water maximum reaches the touched minimum
        NeighbourAboveTouch, // a neighbour's touch lifts the untouched maximum that far
        OutsideRange,        // no press position from 10 % to 90 % lies in the gap
    };

    // What a neighbour's touch does to the key: the strongest rise of its mean, and whose touch.
    struct Neighbour
    {
        int channel;
        double rise;
    };

    static KeySuggestion of(const ChannelSamples &samples, const KeyMeans &means,
                            const KeySettings &current, const Neighbour &neighbour = {-1, 0.0});

    bool isSafe() const { return problem == Problem::None; }
    // "TK3：按下位置 55%，迟滞 22%（按下阈值 2165，释放阈值 2099；余量：触摸 132（44%），
    // 未触摸 96（32%），释放 66（22%））", or the reason:
    // "TK3：加水时的最大值高于触摸时的最小值，没有可用的阈值".
    QString text(const QString &channelName) const;

    Problem problem = Problem::Unmeasured;
    KeySettings settings;
    int swing = 0;
    int pressThreshold = 0;
    int releaseThreshold = 0;
    // Lowest touched reading - press threshold.
    int touchMargin = 0;
    // Press threshold - highest untouched reading, water and neighbours included.
    int untouchedMargin = 0;
    // Release threshold - highest untouched reading, water included.
    int releaseMargin = 0;
    // The press threshold lies below the water rule's floor, which the settings switch off.
    bool belowWaterFloor = false;
    // The neighbour whose touch comes closest, for the reason.
    int neighbourChannel = -1;

private:
    QString marginText(int margin) const;
};

#endif // KEYSUGGESTION_H
