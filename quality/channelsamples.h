#ifndef CHANNELSAMPLES_H
#define CHANNELSAMPLES_H

#include "chip/chip.h"

#include <QVector>

#include <array>

// The three measured phases of a channel.
enum class SamplePhase {
    NoTouch,
    Touch,
    Water,
};

// The raw counts of one channel, per phase; a phase not measured yet is empty.
struct ChannelSamples
{
    QVector<int> noTouch;
    QVector<int> touch;
    QVector<int> water;

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
    const ChannelSamples &at(int channel) const
    {
        static const ChannelSamples none;
        return chip::isChannel(channel) ? channels[channel] : none;
    }
    void clear() { channels = {}; }

private:
    std::array<ChannelSamples, chip::kChannelCount> channels;
};

#endif // CHANNELSAMPLES_H
