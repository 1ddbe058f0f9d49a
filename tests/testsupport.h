#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include "tuning/pinmapsource.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtTest>

#include <initializer_list>
#include <utility>

// Pieces several test programs share: a pin map set by hand, measurement records, file bytes.
namespace testsupport
{
// The pin map of a package as plain arrays; channels outside 0 ... 24 read as not in use.
class FakePinMap : public PinMapSource
{
public:
    FakePinMap() = default;
    // The given (channel, key) pairs are in use with flag inUseValue.
    FakePinMap(std::initializer_list<std::pair<int, int>> channelKeys, int inUseValue = 1)
    {
        for (const auto &channelKey : channelKeys)
            use(channelKey.first, channelKey.second, inUseValue);
    }
    void use(int channel, int key, int inUseValue = 1)
    {
        inUse[channel] = inUseValue;
        keys[channel] = key;
    }
    int channelInUse(int channel) const override
    {
        return channel >= 0 && channel < 25 ? inUse[channel] : 0;
    }
    int keyNumber(int channel) const override
    {
        return channel >= 0 && channel < 25 ? keys[channel] : 0;
    }
    int keyCount() const override { return keysOffered; }
    void resetHiddenPackages() override { ++resets; }

    int inUse[25] = {};
    int keys[25] = {};
    int keysOffered = 25;
    int resets = 0;
};

// A 51-byte measurement record: channel reads value, every other channel k reads 1000 + k.
inline QByteArray measurementRecord(int channel, int value)
{
    QByteArray data(51, '\0');
    data[0] = 0x36;
    for (int k = 0; k < 25; ++k) {
        const int v = k == channel ? value : 1000 + k;
        data[1 + 2 * k] = char(v >> 8);
        data[2 + 2 * k] = char(v & 0xFF);
    }
    return data;
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Writes the file whole, making its folder; a failure fails the calling test.
inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}
} // namespace testsupport

#endif // TESTSUPPORT_H
