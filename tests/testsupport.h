#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include "link/pacing.h"
#include "project/pinmapsource.h"
#include "sim/simboard.h"

#include <QByteArray>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <QtTest>

#include <functional>
#include <initializer_list>
#include <utility>

// Pieces several test programs share: the clock, a pin map set by hand, measurement records,
// file bytes.
namespace testsupport
{
// The tests' clock: the window's waits and the simulated board's frames at one twentieth of the
// tool's pace, so that a channel's no-touch/touch test takes well under a second.
constexpr double kFastClock = 1.0 / 20;

// Puts the simulated board on the fast clock and returns the pacing to build the window or the
// link with.
inline Pacing fastClock()
{
    SimBoard::setClockScale(kFastClock);
    return Pacing().scaled(kFastClock);
}

// The tool's own pacing with the board on its real clock, for the few tests that check the
// pacing itself.
inline Pacing realClock()
{
    SimBoard::setClockScale(1.0);
    return Pacing();
}

// The Start and Stop commands as the board receives them: report ID 0, the frame's length, the
// frame, zeros to 65 bytes.
inline const QByteArray kStartReport =
    QByteArray::fromHex("00067EFE07E09D7E").leftJustified(65, '\0');
inline const QByteArray kStopReport =
    QByteArray::fromHex("00067EFF0738847E").leftJustified(65, '\0');

// Runs the event loop until the condition holds or timeoutMs passed; true when it holds. Looks
// every 5 ms (QTRY_* sleeps 10 ms between looks, which would add to the pace of a run).
inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    if (condition())
        return true;
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (condition())
            loop.quit();
    });
    look.start(5);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return condition();
}

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

// The PATH, for the helper's life, is one folder of stand-ins before the system's folders. With
// wine, the folder holds a stand-in "wine" that writes its arguments to wine-args.txt there, one
// a line, then runs the script that "cmd /c" names on wine's Z: drive. Without wine, the PATH is
// that folder alone, so no wine of the system is found either.
class StandInPath
{
public:
    StandInPath(const QString &folder, bool withWine) : folder(folder), saved(qgetenv("PATH"))
    {
        QDir().mkpath(folder);
        const QString wine = folder + QStringLiteral("/wine");
        QFile::remove(wine);
        QFile::remove(folder + QStringLiteral("/wine-args.txt"));
        if (withWine) {
            writeBytes(wine, "#!/bin/sh\n"
                             "printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/wine-args.txt\"\n"
                             "exec \"$(printf '%s' \"$3\" | sed -e 's/^Z://' -e 's#\\\\#/#g')\"\n");
            QFile::setPermissions(wine, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", withWine ? folder.toLocal8Bit() + ':' + saved : folder.toLocal8Bit());
    }
    ~StandInPath() { qputenv("PATH", saved); }
    StandInPath(const StandInPath &) = delete;
    StandInPath &operator=(const StandInPath &) = delete;

    // The arguments of the last start of the stand-in wine; empty when it never ran.
    QStringList wineArguments() const
    {
        QFile file(folder + QStringLiteral("/wine-args.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QString wineProgram() const { return folder + QStringLiteral("/wine"); }

private:
    QString folder;
    QByteArray saved;
};
// A phase's counts around mean, within +-amplitude, from a fixed pseudo-random sequence of seed.
inline QVector<int> noisyPhase(int mean, int amplitude, unsigned seed, int count = 162)
{
    QVector<int> values;
    values.reserve(count);
    unsigned state = seed * 2654435761u + 1;
    for (int i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        values << mean - amplitude + int((state >> 16) % unsigned(2 * amplitude + 1));
    }
    return values;
}
// The text of a PDF as poppler's pdftotext reads it, pages separated by form feeds.
inline QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<pdftotext (poppler-utils) failed: %1>").arg(process.errorString());
    return QString::fromUtf8(process.readAllStandardOutput());
}
} // namespace testsupport

#endif // TESTSUPPORT_H
