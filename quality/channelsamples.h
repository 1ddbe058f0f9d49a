#ifndef CHANNELSAMPLES_H
#define CHANNELSAMPLES_H

#include "chip/chip.h"

#include <QByteArray>
#include <QVector>

#include <algorithm>
#include <array>
#include <optional>

// The three measured phases of a channel.
enum class SamplePhase {
    NoTouch,
    Touch,
    Water,
};

// The counts of every channel in one measurement record.
using RecordCounts = std::array<quint16, chip::kChannelCount>;

// The counts a measurement record holds; a channel it does not reach reads 0.
inline RecordCounts recordCounts(const QByteArray &record)
{
    RecordCounts counts{};
    for (int k = 0; k < chip::kChannelCount; ++k)
        counts[k] = quint16(qMax(0, chip::channelReading(record.constData(), record.size(), k)));
    return counts;
}

// Per channel, the sum of its counts over the records of a key's touch phase less the sum over
// those of its no-touch phase: how far a finger on that key moves each channel, times the
// samples of a phase, exact in integers.
using ShiftSums = std::array<qint64, chip::kChannelCount>;

// The raw counts of one channel, per phase; a phase not measured yet is empty. The no-touch and
// touch phases also keep the whole records they were taken from, every channel's count, for
// what a touch on this key does to the others; a channel read from the samples file has instead
// the shifts they gave (keptShifts), or nothing when the file is older than those.
struct ChannelSamples
{
    QVector<int> noTouch;
    QVector<int> touch;
    QVector<int> water;
    QVector<RecordCounts> noTouchRecords{};
    QVector<RecordCounts> touchRecords{};
    std::optional<ShiftSums> keptShifts{};

    // What a touch on this key does to every channel: from the records of both its phases, else
    // as kept; none when neither is there.
    std::optional<ShiftSums> touchShifts() const
    {
        if (noTouchRecords.size() != chip::kSamplesPerPhase ||
            touchRecords.size() != chip::kSamplesPerPhase)
            return keptShifts;
        ShiftSums sums{};
        for (int k = 0; k < chip::kChannelCount; ++k) {
            for (int i = 0; i < chip::kSamplesPerPhase; ++i)
                sums[k] += qint64(touchRecords.at(i)[k]) - noTouchRecords.at(i)[k];
        }
        return sums;
    }

    const QVector<int> &of(SamplePhase phase) const
    {
        return phase == SamplePhase::NoTouch ? noTouch
               : phase == SamplePhase::Touch ? touch
                                             : water;
    }
    QVector<int> &of(SamplePhase phase)
    {
        return phase == SamplePhase::NoTouch ? noTouch
               : phase == SamplePhase::Touch ? touch
                                             : water;
    }
    bool has(SamplePhase phase) const { return of(phase).size() == chip::kSamplesPerPhase; }
    bool isEmpty() const { return noTouch.isEmpty() && touch.isEmpty() && water.isEmpty(); }
};

// The three means of a channel as its results row holds them: what the generator writes into the
// application firmware. A mean the row lacks, or holds as no count, is absent.
struct KeyMeans
{
    std::optional<int> noTouch;
    std::optional<int> touch;
    std::optional<int> water;

    const std::optional<int> &of(SamplePhase phase) const
    {
        return phase == SamplePhase::NoTouch ? noTouch
               : phase == SamplePhase::Touch ? touch
                                             : water;
    }
    std::optional<int> &of(SamplePhase phase)
    {
        return phase == SamplePhase::NoTouch ? noTouch
               : phase == SamplePhase::Touch ? touch
                                             : water;
    }
    bool isComplete() const { return noTouch && touch && water; }
    bool operator==(const KeyMeans &other) const
    {
        return noTouch == other.noTouch && touch == other.touch && water == other.water;
    }
    bool operator!=(const KeyMeans &other) const { return !(*this == other); }
};

// Every channel's samples, kept after its phases end. A new measurement of a phase replaces the
// old one; nothing else removes samples but clear().
class SampleStore
{
public:
    void set(int channel, SamplePhase phase, const QVector<int> &samples)
    {
        if (chip::isChannel(channel))
            channels[channel].of(phase) = samples;
    }
    // The records of the no-touch or touch phase (no others are kept).
    void setRecords(int channel, SamplePhase phase, const QVector<RecordCounts> &records)
    {
        if (!chip::isChannel(channel) || phase == SamplePhase::Water)
            return;
        (phase == SamplePhase::NoTouch ? channels[channel].noTouchRecords
                                       : channels[channel].touchRecords) = records;
        // The records measured now say what the shifts of an earlier measurement said.
        channels[channel].keptShifts.reset();
    }
    // The shifts of a touch on the channel as the samples file kept them.
    void setShifts(int channel, const ShiftSums &sums)
    {
        if (chip::isChannel(channel))
            channels[channel].keptShifts = sums;
    }
    const ChannelSamples &at(int channel) const
    {
        static const ChannelSamples none;
        return chip::isChannel(channel) ? channels[channel] : none;
    }
    void clear() { channels = {}; }
    bool isEmpty() const
    {
        return std::all_of(channels.begin(), channels.end(),
                           [](const ChannelSamples &c) { return c.isEmpty(); });
    }

private:
    std::array<ChannelSamples, chip::kChannelCount> channels;
};

#endif // CHANNELSAMPLES_H
