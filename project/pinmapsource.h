#ifndef PINMAPSOURCE_H
#define PINMAPSOURCE_H

#include "project/sliderdefinition.h"

#include <QVector>

#include <optional>
#include <utility>

// The pin map that the tests and indicators follow: the package widget on the current page of the
// settings page's package stack. Read at the moment of use, never cached.
class PinMapSource
{
public:
    virtual ~PinMapSource() = default;

    // 1 when the channel carries a key in the shown package; channels outside 0 ... 24 give 0.
    virtual int channelInUse(int channel) const = 0;
    // Key number of the channel in the shown package, 0 when none was chosen.
    virtual int keyNumber(int channel) const = 0;
    // Number of keys the shown package offers (25, 17 or 13).
    virtual int keyCount() const = 0;
    // Clears the pin maps of the packages that are not shown.
    virtual void resetHiddenPackages() = 0;
    // The sliders and wheels of the shown package, in the order they were made; their channels
    // are in use without a key number.
    virtual QVector<SliderDefinition> sliders() const { return {}; }

    // The slider or wheel a channel is a segment of, and the segment, as (index, segment).
    std::optional<std::pair<int, int>> segmentOf(int channel) const
    {
        return SliderDefinition::placeOf(sliders(), channel);
    }
    // A channel in use that carries a key, not a segment.
    bool isKey(int channel) const { return channelInUse(channel) == 1 && !segmentOf(channel); }
};

#endif // PINMAPSOURCE_H
