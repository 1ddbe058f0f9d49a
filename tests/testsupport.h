#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include "link/pacing.h"
#include "project/pinmapsource.h"
#include "sim/simboard.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <QtTest>

#include <functional>
#include <initializer_list>
#include <utility>

#ifdef Q_OS_UNIX
#include <time.h>
#endif

// Pieces several test programs share: the clock, a pin map set by hand, measurement records,
// file bytes.
namespace testsupport
{
// CPU seconds of the whole process, every thread, as the scheduler counts them (finer than the
// ticks getrusage adds up, which matters for an idle window's few milliseconds); the benchmarks'
// share of a core.
inline double processCpuSeconds()
{
#ifdef Q_OS_UNIX
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
#else
    return 0.0;
#endif
}

// The tests' clock: the window's waits and the simulated board's frames at one twentieth of the
// tool's pace, so that a channel's no-touch/touch test takes well under a second.
constexpr double kFastClock = 1.0 / 20;

// True in the sanitizer builds, where every record costs several times its plain cost: a test
// that measures the tool's own speed against its pacing holds only a lower bound there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// Puts the simulated board on the fast clock and returns the pacing to build the window or the
// link with.
inline Pacing scaledClock(double scale)
{
    SimBoard::setClockScale(scale);
    return Pacing().scaled(scale);
}
inline Pacing fastClock() { return scaledClock(kFastClock); }

// The tool's own pacing with the board on its real clock, for the few tests that check the
// pacing itself.
inline Pacing realClock() { return scaledClock(1.0); }

// The Start and Stop commands as the board receives them: report ID 0, the frame's length, the
// frame, zeros to 65 bytes.
inline const QByteArray kStartReport =
    QByteArray::fromHex("00067EFE07E09D7E").leftJustified(65, '\0');
inline const QByteArray kStopReport =
    QByteArray::fromHex("00067EFF0738847E").leftJustified(65, '\0');

// True while the count "n/162" beside the countdown shows a phase being measured with 5 to 100 of
// its records taken: an action now meets the sampling, whatever record is still in flight. The
// test curve cannot tell, since it is drawn at the display's rate and may lag a phase's end.
inline bool midPhase(const QLabel *progress)
{
    const QStringList parts = progress->text().split(QLatin1Char('/'));
    const int taken = parts.value(0).toInt();
    return progress->isVisible() && parts.value(1) == QLatin1String("162") && taken >= 5 &&
           taken <= 100;
}

#ifdef TOUCH_TEMPLATES_DIR
// The committed template folder of that name (not the copy beside the executables, which the tool
// rewrites); empty when it is not there.
inline QString shippedTemplate(const QString &name)
{
    const QString folder = QStringLiteral(TOUCH_TEMPLATES_DIR "/") + name;
    return QFileInfo(folder).isDir() ? folder : QString();
}
#endif

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
    QVector<SliderDefinition> sliders() const override { return sliderList; }
    // A slider or wheel of these channels, in use without a key number.
    void addSlider(SliderDefinition::Kind kind, const QString &name, const QVector<int> &channels)
    {
        for (int channel : channels)
            use(channel, 0);
        SliderDefinition definition;
        definition.kind = kind;
        definition.name = name;
        definition.channels = channels;
        sliderList.append(definition);
    }

    int inUse[25] = {};
    int keys[25] = {};
    int keysOffered = 25;
    int resets = 0;
    QVector<SliderDefinition> sliderList;
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

// The PATH, for the helper's life, is one folder of stand-ins alone, so that no wine of the
// system is ever found. With wine, the folder holds the stand-in built beside the tests from
// winestandin.cpp as "wine": it records the script and the project it found. setLocale sets the
// locale the tool and the stand-in see. One helper at a time: it restores the PATH and the locale
// it found, so a second one must not outlive it (switch wine with setWine instead).
class StandInPath
{
public:
    StandInPath(const QString &folder, bool withWine) : folder(folder)
    {
        QVERIFY2(++alive == 1, "one StandInPath at a time");
        for (const char *name : {"PATH", "LC_ALL", "WINE_STANDIN_CODEPAGE"})
            saved.append({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
        QDir().mkpath(folder);
        qputenv("PATH", folder.toLocal8Bit());
        setWine(withWine);
    }
    ~StandInPath()
    {
        for (const Saved &variable : qAsConst(saved)) {
            if (variable.set)
                qputenv(variable.name, variable.value);
            else
                qunsetenv(variable.name);
        }
        --alive;
    }
    StandInPath(const StandInPath &) = delete;
    StandInPath &operator=(const StandInPath &) = delete;

    void setWine(bool withWine)
    {
        QFile::remove(wineProgram());
        QFile::remove(folder + QStringLiteral("/wine-ran.txt"));
        if (withWine)
            QVERIFY(QFile::link(QCoreApplication::applicationDirPath() + "/winestandin",
                                wineProgram()));
    }
    // The tool takes the script's code page from LC_ALL; the stand-in reads it in codecName.
    void setLocale(const QByteArray &locale, const QByteArray &codecName)
    {
        qputenv("LC_ALL", locale);
        qputenv("WINE_STANDIN_CODEPAGE", codecName);
    }

    // The script that cmd took from its command line and the project its project line names,
    // both as Windows paths; empty when the stand-in never ran.
    QStringList wineRan() const
    {
        QFile file(folder + QStringLiteral("/wine-ran.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QString wineProgram() const { return folder + QStringLiteral("/wine"); }

private:
    struct Saved
    {
        const char *name;
        bool set;
        QByteArray value;
    };
    static inline int alive = 0;
    QString folder;
    QList<Saved> saved;
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
