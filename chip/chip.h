#ifndef CHIP_H
#define CHIP_H

// The fixed facts of the RM3KV5172 touch controller and of the measurement that the tool runs on
// it. Depends on nothing, so every folder may include it.
namespace chip
{
// Touch channels TK0 ... TK24, numbered 0 ... 24 everywhere.
constexpr int kChannelCount = 25;
// Raw counts taken per channel in each measured phase (no touch, touch, water).
constexpr int kSamplesPerPhase = 162;

constexpr bool isChannel(int channel) { return channel >= 0 && channel < kChannelCount; }
} // namespace chip

#endif // CHIP_H
