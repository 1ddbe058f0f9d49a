#ifndef STREAMNUMBERS_H
#define STREAMNUMBERS_H

#include "chip/chip.h"

#include <QByteArray>
#include <QList>
#include <QVector>

#include <array>
#include <deque>
#include <optional>
#include <utility>

class KeyPreview;

// The live figures of the channels shown during verification: each channel's latest raw count,
// the firmware model's base and its press and release thresholds with the count's delta over the
// base, whether the firmware reports the key pressed, and the channel's noise as peak to peak
// over the last second of records.
class StreamNumbers
{
public:
    static constexpr int kNoiseWindowMs = 1000;

    struct Row
    {
        int channel = 0;
        std::optional<int> raw;
        std::optional<int> base;
        std::optional<int> pressThreshold;
        std::optional<int> releaseThreshold;
        std::optional<int> delta;
        bool pressed = false;
        std::optional<int> noise;
    };

    // The channels to show, in order; the figures start afresh.
    void reset(const QList<int> &channels);
    const QList<int> &channels() const { return shown; }
    // One record that arrived at arrivalMs (milliseconds on any steady clock). A record that
    // does not hold a channel leaves that channel's figures as they were.
    void feed(qint64 arrivalMs, const QByteArray &record);
    // The rows in channel order of reset(), with the firmware figures the preview holds now.
    QVector<Row> rows(const KeyPreview &preview) const;

private:
    QList<int> shown;
    std::array<std::optional<int>, chip::kChannelCount> latest{};
    // The counts of the last second per channel, oldest first, with their arrival times.
    std::array<std::deque<std::pair<qint64, int>>, chip::kChannelCount> recent;
};

#endif // STREAMNUMBERS_H
