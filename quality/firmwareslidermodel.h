#ifndef FIRMWARESLIDERMODEL_H
#define FIRMWARESLIDERMODEL_H

#include "quality/firmwarekeymodel.h"
#include "quality/keysettings.h"

#include <QVector>

#include <array>

// A slider runs along its segments from one end to the other; a wheel goes round and its position
// wraps.
enum class SliderShape {
    Slider,
    Wheel,
};

// One slider or wheel as the application firmware's TouchSliderScan decides it, record by record,
// and as TouchKeySecond frees it. Each segment's count over its base is normalised by the
// segment's own swing (touch mean - untouched mean) to 0 ... 255, so that a weak segment weighs
// as much as a strong one. The strongest segment (the first of equals) and its neighbours give
// the strength (the strongest plus the stronger neighbour) and the position (their centroid,
// 0 ... 255 from the first segment's centre to the last one's, or round a wheel). The strength is
// judged as a key's count is, with the slider's settings over a swing of 255: press threshold,
// release threshold below it, debounce, longest press, the water rule on the strength the water
// means give. Where that rule holds (its floor on and the water close), water over every segment
// would still add up to more than a finger's strength, so the levels are judged over the
// segments' common level, in 255ths of the room it leaves: water alone reads as nothing, a
// finger on wet segments as a finger (a slider of two segments is then touched only near its
// segments' centres, where they differ). While the slider is not touched its segments' bases follow
// their counts as a key's base does; while it is touched they hold, and the position follows the
// finger.
class FirmwareSliderModel
{
public:
    // A segment's normalised signal at its full swing, and the scale of the strength.
    static constexpr int kFullScale = 255;
    static constexpr int kMaxSegments = 8;
    // The segments a slider or wheel needs at least.
    static constexpr int minSegments(SliderShape shape)
    {
        return shape == SliderShape::Wheel ? 3 : 2;
    }

    // The three means of a segment, as the channel table holds them.
    struct Segment
    {
        int noTouch = 0;
        int touch = 0;
        int water = 0;
    };

    // What the rule reads from the segments' normalised levels.
    struct Reading
    {
        int strength = 0;
        // 0 ... 255; none when no segment has a signal.
        int position = -1;
    };

    // count over base in 255ths of swing, at most 255; 0 without a swing or a count above base.
    static int normalised(int count, int base, int swing);
    // Each of n levels over the lowest of them, in 255ths of the room above it; all 0 when
    // that is none.
    static void overCommonLevel(int *levels, int n);
    // The strength and position of n normalised levels along a slider or round a wheel.
    static Reading locate(SliderShape shape, const int *levels, int n);

    // The state after TouchKeyInit: the bases at the untouched means. segments holds 1 ... 8
    // segments in order; settings are the slider's (its segments' rows carry the same).
    FirmwareSliderModel(SliderShape shape, const QVector<Segment> &segments,
                        const KeySettings &settings = KeySettings());

    // One scan with this record's counts of the segments, in order.
    FirmwareKeyModel::Step scan(const int *counts);
    // The same from a record's counts of every channel; channels[k] is segment k's channel.
    FirmwareKeyModel::Step scanChannels(const quint16 *channelCounts, const QVector<int> &channels);
    // One second of the firmware's clock; true when it released the slider.
    bool second();

    SliderShape shape() const { return sliderShape; }
    int segmentCount() const { return int(segmentList.size()); }
    bool touched() const { return press.flag; }
    // The finger's last position while touched; the one before a release is kept. 0 at start.
    int position() const { return currentPosition; }
    // The strength of the last scan, and the thresholds it is compared with.
    int strength() const { return lastStrength; }
    int pressThreshold() const { return pressOffset; }
    int releaseThreshold() const { return releaseOffset; }
    // The water rule lifted or would have lifted the press threshold (as for a key).
    const KeyThresholds &thresholds() const { return strengthThresholds; }
    // The levels are judged over their common level (the water rule holds).
    bool judgedOverWater() const { return overWater; }
    int debounceCount() const { return press.debounce; }
    int heldSeconds() const { return press.held; }
    int base(int segment) const { return bases.at(std::size_t(segment)); }
    int lowCount(int segment) const { return lows.at(std::size_t(segment)); }
    // The last scan's normalised signal of a segment, before any common level is taken off.
    int level(int segment) const { return levels.at(std::size_t(segment)); }

private:
    SliderShape sliderShape;
    QVector<Segment> segmentList;
    KeyThresholds strengthThresholds;
    int pressOffset = KeyThresholds::kNever;
    int releaseOffset = KeyThresholds::kNever;
    int debounceLimit;
    int maxPress;
    bool overWater = false;
    std::array<int, kMaxSegments> swings{};
    std::array<int, kMaxSegments> bands{};
    std::array<int, kMaxSegments> bases{};
    std::array<int, kMaxSegments> lows{};
    std::array<int, kMaxSegments> latest{};
    std::array<int, kMaxSegments> levels{};
    int lastStrength = 0;
    int currentPosition = 0;
    FirmwareKeyModel::Press press;
};

#endif // FIRMWARESLIDERMODEL_H
