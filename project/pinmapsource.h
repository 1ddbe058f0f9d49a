#ifndef PINMAPSOURCE_H
#define PINMAPSOURCE_H

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
};

#endif // PINMAPSOURCE_H
