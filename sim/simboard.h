#ifndef SIMBOARD_H
#define SIMBOARD_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

#include <cstddef>

class QObject;

// The simulated debugger board behind the hidapi functions of touchsim, with the controls that
// tests and the demo use in place of hands on real hardware. It is one board for the whole process,
// as the hardware would be; every function is thread-safe.
class SimBoard
{
public:
    static constexpr int kFingerRise = 300;
    // A finger wholly on a pad, in thousandths.
    static constexpr int kWholeFinger = 1000;
    static constexpr int kWaterShift = 30;

    // Back to the power-on state: plugged in and allowed to open, idle, 5 ms pacing, noise 3 with
    // seed 1, no finger, no water, nothing refused, no corruption, empty queue and log. Old
    // handles go stale. The clock scale stays.
    static void reset();

    // What the target board senses.
    static void setFinger(int channel, bool on);
    // Any share of a finger on the pad.
    static bool finger(int channel);
    // The share of a finger on each of the channels, in thousandths (a slider's segments under a
    // finger), all at once: no record sees some of them changed.
    static void setFingerShares(const QVector<int> &channels, const QVector<int> &shares);
    static int fingerShare(int channel);
    static void setWater(bool on);
    static bool water();
    // Readings vary by up to +-amplitude around the mean, from a generator started at seed.
    static void setNoise(int amplitude, unsigned seed = 1);
    // A burst of noise on one channel (a charger, a noise generator on the supply): its readings
    // vary by a further +-amplitude until the burst is switched off (amplitude 0, or channel -1).
    static void setNoiseBurst(int channel, int amplitude);
    static int noiseBurstChannel();
    static quint16 baseline(int channel);
    // The channel's count without finger and water, and what a finger adds to it (below 0 for a
    // pad whose count falls under a finger); reset() brings back the defaults, a baseline of
    // 1980 ... 2020 and kFingerRise.
    static void setChannelLevels(int channel, quint16 baseline, int fingerRise);
    // What a finger adds to the channel's count.
    static int fingerRise(int channel);
    // Mean reading of the channel with the current finger and water, without noise.
    static quint16 meanReading(int channel);
    // A finger on touched raises affected by counts as well (key-to-key coupling), a share of a
    // finger by that share of counts; 0 removes it.
    static void setCoupling(int touched, int affected, int counts);
    // The channel's own noise amplitude; -1 gives it the board's (setNoise) again.
    static void setChannelNoise(int channel, int amplitude);

    // A pad of the target board: an open pad has lost most of its capacitance (its count falls to
    // kOpenPercent of its baseline and a finger hardly moves it), a shorted one holds its counter
    // at 65535 whatever touches it.
    enum class Pad { Good, Open, Shorted };
    static constexpr int kOpenPercent = 55;
    static void setPad(int channel, Pad pad);
    static Pad pad(int channel);

    // A production batch: what sets one board apart from the next.
    struct Spread
    {
        int offset = 40;        // each baseline within +-offset of its default
        int signalPercent = 10; // each finger rise within +-this % of kFingerRise
        int noiseLow = 2;       // each channel's noise amplitude within noiseLow ... noiseHigh
        int noiseHigh = 4;
    };
    // The next board of a batch on the fixture: each channel's baseline, finger rise and noise
    // drawn from spread by a generator started at seed; every pad good, no finger, no water.
    static void newBoard(const Spread &spread, unsigned seed);
    // While on, each Stop the board accepts puts the next board of the batch on the fixture (the
    // seeds count up from seed), as an operator changes boards between two tests.
    static void setBatch(bool on, const Spread &spread, unsigned seed);
    static bool batch();
    // Boards put on the fixture by newBoard or the batch since reset().
    static int boardsDrawn();

    // Board behaviour.
    static void setRefuseStart(bool refuse); // Start is answered FE 01
    static void setRefuseStop(bool refuse);  // Stop is answered FF 01 and the stream goes on
    static void setSilent(bool silent);      // writes are taken but nothing is ever answered
    // The board is listed by hid_enumerate but hid_open fails, as a hidraw node the user may
    // not open.
    static void setOpenRefused(bool refused);
    static void corruptNextFrames(int count); // the next count Data frames carry a wrong FCS
    // Every nth Data frame the board sends carries a wrong FCS (0: none), until set otherwise.
    static void corruptEveryNthFrame(int n);
    // Every nth Data frame is cut after channel 2 (7 payload bytes) under an intact FCS (0: none).
    static void shortenEveryNthFrame(int n);
    static void setDataInterval(int ms);    // one Data frame every ms while streaming
    // The board's clock: every interval it keeps is multiplied by scale, to no less than 1 ms
    // (tests run the board at the pace of a window on a faster clock). 1 until set.
    static void setClockScale(double scale);
    static void setQueueLimit(int reports); // input reports held for the host; the oldest drop
    static bool isStreaming();
    static int queuedReports();
    // Queues a raw input report as the board would send it (byte 0 = frame length).
    static void injectReport(const QByteArray &report);

    // The cable.
    static void unplug();
    // The cable is pulled as the host writes next: that write fails.
    static void unplugOnNextWrite();
    static void plug();
    static bool isPlugged();
    // Plug and unplug events go to target's slot deliverDeviceChange(QString, int) through its
    // event loop, as the operating system's notifications would; null stops them.
    static void setHotplugTarget(QObject *target);
    static QString interfaceName();

    // Every report the host wrote while the board was attached, 65 bytes each, in order.
    static QList<QByteArray> writtenReports();
    static void clearWrittenReports();
    static int openCount();
    // Handles opened and not yet closed (reset and unplug make them stale, not closed).
    static int openHandles();
    // Calls that used a handle after hid_close, or were inside a read when it was closed;
    // hidapi frees the device on close, so each one would be a use after free.
    static int closedHandleUses();
    // Reads waiting for a report right now, so that a test can act while a read is under way.
    static int waitingReads();

    // The hidapi side (sim/simhid.cpp). A handle stays valid until the board is unplugged or reset,
    // or until it is closed.
    struct Handle;
    static Handle *open();
    static void close(Handle *handle);
    static int setNonblocking(Handle *handle, bool nonblocking);
    static int write(Handle *handle, const unsigned char *data, std::size_t length);
    // timeoutMs < 0 waits for a report; 0 returns at once.
    static int read(Handle *handle, unsigned char *data, std::size_t length, int timeoutMs);
    static bool isNonblocking(Handle *handle);
};

#endif // SIMBOARD_H
