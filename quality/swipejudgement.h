#ifndef SWIPEJUDGEMENT_H
#define SWIPEJUDGEMENT_H

#include "quality/firmwareslidermodel.h"
#include "quality/keyquality.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// One scan of a slider during the swipe test, as the firmware model gave it.
struct SwipeSample
{
    qint64 ms = 0;
    bool touched = false;
    int position = 0;
};

// How well a slider or wheel follows a finger, from its swipe test: the finger slid from end to
// end (round a wheel) several times, then rested on the middle segment.
//  - Linearity: each stroke's position against the straight line fitted through it (least
//    squares over time); the largest deviation, as a share of full scale, over all strokes. A
//    slider's stroke runs from the last scan in one end band to the first in the other, its line
//    fitted away from the end bands and every touched scan held to it (within the scale at the
//    ends, where the position rests); a wheel's is one turn of the position unwrapped.
//  - Jitter: the spread (maximum - minimum) of the position while the finger rests, after the
//    first quarter of the rest, as a share of full scale.
//  - Dead spots: within a stroke, scans in a row without touch, or a position that stays put
//    while the line moves on.
// Each has a pass mark and a caution mark; the verdict is a key's: 合格, 注意 or 不合格.
struct SwipeJudgement
{
    Q_DECLARE_TR_FUNCTIONS(SwipeJudgement)

public:
    // The pass marks, in percent of full scale.
    static constexpr double kPassLinearity = 5.0;
    static constexpr double kCautionLinearity = 8.0;
    static constexpr double kPassJitter = 1.0;
    static constexpr double kCautionJitter = 2.0;
    // A slider's end bands: within this share of full scale from either end.
    static constexpr double kEndBand = 8.0;
    // A dead spot: at least this many scans without touch in a stroke, or the position within
    // kStuckBand counts while the fitted line moves kStuckTravel percent of full scale or more.
    static constexpr int kLiftScans = 2;
    static constexpr int kStuckBand = 2;
    static constexpr double kStuckTravel = 8.0;
    // Scans a stroke or a rest needs to be judged.
    static constexpr int kMinScans = 8;

    struct Stroke
    {
        QVector<SwipeSample> samples;
        // The positions unwrapped (a wheel's run on past 255), in the samples' order.
        QVector<double> unwrapped;
        // position = slope * (ms - samples.first().ms) + offset, over the unwrapped positions.
        double slope = 0.0;
        double offset = 0.0;
        double deviation = 0.0; // largest, in counts
    };
    struct DeadSpot
    {
        bool noTouch = true; // else the position stuck
        int from = 0;        // positions along the line where it starts and ends
        int to = 0;
        qint64 ms = 0; // its length
    };

    static SwipeJudgement of(SliderShape shape, const QVector<SwipeSample> &swipe,
                             const QVector<SwipeSample> &rest);
    // 255 along a slider, 256 round a wheel.
    static int fullScale(SliderShape shape);

    SliderShape shape = SliderShape::Slider;
    QVector<Stroke> strokes;
    std::optional<double> linearity; // percent of full scale
    std::optional<double> jitter;    // percent of full scale
    QVector<DeadSpot> deadSpots;
    // The rest had no touch to judge.
    bool restUntouched = false;
    std::optional<KeyVerdict> verdict;

    // Why the verdict is not 合格, with the figures: "线性度 9.1% 超过 8%".
    QStringList reasons(bool shownInInterface = true) const;
    // "线性度 3.2%，抖动 0.4%，死区 无" in the interface's language unless asked for the sources'.
    QString summary(bool shownInInterface = true) const;
    // 合格, 注意 or 不合格, or 未测 without a swipe.
    QString verdictText(bool shownInInterface = true) const;
    // "位置 96–128 无触摸 120 ms"
    static QString deadSpotText(const DeadSpot &spot, bool shownInInterface = true);
    static QString percentText(const std::optional<double> &percent);

private:
    void findSliderStrokes(const QVector<SwipeSample> &swipe);
    void findWheelTurns(const QVector<SwipeSample> &swipe);
    // Fits the stroke's line and finds its dead spots; false when it has too few scans.
    bool judgeStroke(Stroke *stroke);
    void findStuck(const Stroke &stroke, const QVector<int> &active);
    void judgeRest(const QVector<SwipeSample> &rest);
    void decide();
    // A position along the stroke's line at ms, on the scale (wrapped round a wheel).
    int lineAt(const Stroke &stroke, qint64 ms) const;
};

#endif // SWIPEJUDGEMENT_H
