#ifndef CHIP_H
#define CHIP_H

#include <array>

// The fixed facts of the RM3KV5172 touch controller and of the measurement that the tool runs on
// it, each stated once. Depends on nothing, so every folder may include it.
namespace chip
{
// Touch channels TK0 ... TK24, numbered 0 ... 24 everywhere.
constexpr int kChannelCount = 25;
// Raw counts taken per channel in each measured phase (no touch, touch, water).
constexpr int kSamplesPerPhase = 162;
// The measurement record of the test firmware: a tag byte, then every channel's 16-bit count.
constexpr int kRecordSize = 1 + 2 * kChannelCount;
// The largest raw count a record can carry.
constexpr int kMaxCount = 0xFFFF;

constexpr bool isChannel(int channel) { return channel >= 0 && channel < kChannelCount; }

// The raw count of a channel in a measurement record: an unsigned 16-bit value, high byte at
// 1 + 2k and low byte at 2 + 2k. -1 when the record does not hold that channel.
constexpr int channelReading(const char *record, int size, int channel)
{
    if (!isChannel(channel) || size < 3 + 2 * channel)
        return -1;
    const auto high = static_cast<unsigned char>(record[1 + 2 * channel]);
    const auto low = static_cast<unsigned char>(record[2 + 2 * channel]);
    return high << 8 | low;
}

// The channels that have a pin in each package, ascending; a package offers as many key numbers
// as it has channel pins.
constexpr std::array<int, 25> kSop28Channels = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                                13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
constexpr std::array<int, 17> kSop20Channels = {0,  1,  2,  3,  4,  5,  8,  9, 12,
                                                13, 14, 15, 18, 19, 20, 21, 22};
constexpr std::array<int, 13> kSop16Channels = {0, 1, 5, 8, 9, 12, 13, 14, 18, 19, 20, 21, 22};
} // namespace chip

#endif // CHIP_H
