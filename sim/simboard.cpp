#include "sim/simboard.h"

#include "chip/chip.h"
#include "sim/simframe.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <random>
#include <utility>
#include <vector>

using Clock = std::chrono::steady_clock;

struct SimBoard::Handle
{
    int generation = 0;
    bool nonblocking = false;
    bool closed = false;
};

namespace
{
constexpr int kBoardReportBytes = 64;
constexpr int kMaxFrameInReport = kBoardReportBytes - 1;
constexpr int kRecordBytes = chip::kRecordSize;
constexpr int kShortRecordBytes = 1 + 2 * 3;

struct Board
{
    std::mutex mutex;
    std::condition_variable changed;

    bool plugged = true;
    int generation = 1;
    std::vector<std::unique_ptr<SimBoard::Handle>> handles;
    int opens = 0;
    int closes = 0;
    int closedUses = 0;
    // Reads blocked in read() until a report comes or their time-out ends.
    int waitingReads = 0;

    // The share of a whole finger on each pad, in thousandths: 1000 a finger on the key, less for
    // a segment of a slider that the finger only partly covers.
    int finger[chip::kChannelCount] = {};
    int baselines[chip::kChannelCount] = {};
    int fingerRise[chip::kChannelCount] = {};
    // coupling[a][b]: what a finger on a adds to b.
    int coupling[chip::kChannelCount][chip::kChannelCount] = {};
    bool water = false;
    int noise = 3;
    int burstChannel = -1;
    int burstAmplitude = 0;
    int channelNoise[chip::kChannelCount] = {};
    SimBoard::Pad pads[chip::kChannelCount] = {};
    bool batch = false;
    SimBoard::Spread spread;
    unsigned nextSeed = 1;
    int boardsDrawn = 0;
    std::mt19937 random{1};

    bool refuseStart = false;
    bool refuseStop = false;
    bool silent = false;
    bool openRefused = false;
    bool unplugOnWrite = false;
    int corruptRemaining = 0;
    int corruptEvery = 0;
    int shortenEvery = 0;
    unsigned framesSent = 0;
    int intervalMs = 5;
    double clockScale = 1.0;
    std::size_t queueLimit = 64;

    bool streaming = false;
    Clock::time_point nextFrameDue;
    std::deque<QByteArray> queue; // board reports, 64 bytes each
    QList<QByteArray> written;

    QPointer<QObject> hotplugTarget;

    Board() { restoreLevels(); }

    // Distinct and steady per channel: 1980 ... 2020.
    static int defaultBaseline(int channel) { return 2000 + (channel * 37) % 41 - 20; }

    void restoreLevels()
    {
        for (int k = 0; k < chip::kChannelCount; ++k) {
            baselines[k] = defaultBaseline(k);
            fingerRise[k] = SimBoard::kFingerRise;
            channelNoise[k] = -1;
            pads[k] = SimBoard::Pad::Good;
        }
    }

    void drawBoard(const SimBoard::Spread &s, unsigned seed)
    {
        std::mt19937 draw(seed);
        const auto within = [&draw](int low, int high) {
            return std::uniform_int_distribution<int>(std::min(low, high),
                                                      std::max(low, high))(draw);
        };
        for (int k = 0; k < chip::kChannelCount; ++k) {
            baselines[k] = std::clamp(defaultBaseline(k) + within(-s.offset, s.offset), 0, 0xFFFF);
            const int share = within(-s.signalPercent, s.signalPercent);
            fingerRise[k] = SimBoard::kFingerRise * (100 + share) / 100;
            channelNoise[k] = std::clamp(within(s.noiseLow, s.noiseHigh), 0, 1000);
            pads[k] = SimBoard::Pad::Good;
        }
        std::fill(std::begin(finger), std::end(finger), false);
        water = false;
        ++boardsDrawn;
    }

    void restoreDefaults()
    {
        std::fill(std::begin(finger), std::end(finger), 0);
        restoreLevels();
        for (auto &row : coupling)
            std::fill(std::begin(row), std::end(row), 0);
        water = false;
        noise = 3;
        burstChannel = -1;
        burstAmplitude = 0;
        batch = false;
        spread = SimBoard::Spread();
        nextSeed = 1;
        boardsDrawn = 0;
        random.seed(1);
        refuseStart = refuseStop = silent = openRefused = unplugOnWrite = false;
        corruptRemaining = corruptEvery = shortenEvery = 0;
        framesSent = 0;
        intervalMs = 5;
        queueLimit = 64;
        streaming = false;
        queue.clear();
        written.clear();
        plugged = true;
        ++generation;
    }

    void enqueue(const QByteArray &frame)
    {
        QByteArray report(kBoardReportBytes, '\0');
        const int n = std::min<int>(frame.size(), kMaxFrameInReport);
        report[0] = char(n);
        std::memcpy(report.data() + 1, frame.constData(), std::size_t(n));
        queue.push_back(report);
        // A full input buffer loses its oldest report, as the host's HID queue does.
        while (queue.size() > queueLimit)
            queue.pop_front();
        changed.notify_all();
    }

    int meanReading(int channel) const
    {
        if (pads[channel] == SimBoard::Pad::Shorted)
            return 0xFFFF;
        int coupled = 0;
        // Most pads are untouched: the board streams a thousand records a second.
        for (int touched = 0; touched < chip::kChannelCount; ++touched) {
            if (finger[touched] != 0)
                coupled += coupling[touched][channel] * finger[touched] / SimBoard::kWholeFinger;
        }
        const int sensed = fingerRise[channel] * finger[channel] / SimBoard::kWholeFinger + coupled +
                           (water ? SimBoard::kWaterShift : 0);
        // Without its pad the pin senses a small share of what reaches the pad.
        if (pads[channel] == SimBoard::Pad::Open)
            return std::clamp(baselines[channel] * SimBoard::kOpenPercent / 100 + sensed / 20, 0,
                              0xFFFF);
        return std::clamp(baselines[channel] + sensed, 0, 0xFFFF);
    }

    int reading(int channel)
    {
        int value = meanReading(channel);
        const int amplitude = channelNoise[channel] >= 0 ? channelNoise[channel] : noise;
        if (amplitude > 0 && pads[channel] != SimBoard::Pad::Shorted)
            value += std::uniform_int_distribution<int>(-amplitude, amplitude)(random);
        if (channel == burstChannel && burstAmplitude > 0)
            value += std::uniform_int_distribution<int>(-burstAmplitude, burstAmplitude)(random);
        return std::clamp(value, 0, 0xFFFF);
    }

    QByteArray dataFrame()
    {
        int values[chip::kChannelCount];
        for (int k = 0; k < chip::kChannelCount; ++k)
            values[k] = reading(k);
        ++framesSent;
        const auto nth = [this](int n) { return n > 0 && framesSent % unsigned(n) == 0; };
        const bool corrupt = corruptRemaining > 0 || nth(corruptEvery);
        const bool shortened = nth(shortenEvery);
        if (corruptRemaining > 0)
            --corruptRemaining;
        // The board sends a record in one report; a reading whose bytes would need escaping too
        // often is taken again one count higher until the frame fits.
        for (int attempt = 0;; ++attempt) {
            QByteArray payload(kRecordBytes, '\0');
            payload[0] = char(0x36);
            for (int k = 0; k < chip::kChannelCount; ++k) {
                payload[1 + 2 * k] = char((values[k] >> 8) & 0xFF);
                payload[2 + 2 * k] = char(values[k] & 0xFF);
            }
            if (shortened)
                payload.truncate(kShortRecordBytes);
            // A corrupt frame has one bit of its FCS low byte flipped.
            const QByteArray wire = simframe::frameWithFcs(
                payload, quint16(simframe::fcs(payload) ^ (corrupt ? 1 : 0)));
            if (wire.size() <= kMaxFrameInReport || attempt > 4 * chip::kChannelCount)
                return wire;
            for (int k = 0; k < chip::kChannelCount; ++k) {
                const int low = values[k] & 0xFF;
                const int high = (values[k] >> 8) & 0xFF;
                if (low == 0x7D || low == 0x7E || high == 0x7D || high == 0x7E) {
                    values[k] = std::min(values[k] + 1, 0xFFFF);
                    break;
                }
            }
        }
    }

    // The time between two Data frames on the board's clock, never below 1 ms: the tool's own
    // waits go no shorter on a fast clock either.
    std::chrono::microseconds frameInterval() const
    {
        return std::chrono::microseconds(
            std::max(1000L, std::lround(std::max(intervalMs, 1) * 1000.0 * clockScale)));
    }

    // Queues the Data frames that fell due since the last look; a board left unread for long
    // only keeps the newest queueLimit of them.
    void pump(Clock::time_point now)
    {
        if (!streaming || !plugged)
            return;
        const auto interval = frameInterval();
        const auto backlog = interval * static_cast<int>(queueLimit);
        if (now - nextFrameDue > backlog)
            nextFrameDue = now - backlog;
        while (nextFrameDue <= now) {
            enqueue(dataFrame());
            nextFrameDue += interval;
        }
    }

    bool usable(const SimBoard::Handle *handle) const
    {
        return plugged && handle && !handle->closed && handle->generation == generation;
    }

    // False, and counted, for a handle that was closed already.
    bool stillOpen(const SimBoard::Handle *handle)
    {
        if (handle && handle->closed) {
            ++closedUses;
            return false;
        }
        return true;
    }

    void command(const QByteArray &payload)
    {
        if (silent || payload.size() != 2 || payload.at(1) != 0x07)
            return;
        const unsigned char code = static_cast<unsigned char>(payload.at(0));
        if (code == 0xFE) {
            if (refuseStart) {
                enqueue(simframe::frame(QByteArray::fromHex("FE01")));
                return;
            }
            enqueue(simframe::frame(QByteArray::fromHex("FE00")));
            if (!streaming) {
                streaming = true;
                nextFrameDue = Clock::now() + frameInterval();
            }
        } else if (code == 0xFF) {
            if (refuseStop) {
                enqueue(simframe::frame(QByteArray::fromHex("FF01")));
                return;
            }
            const bool wasStreaming = streaming;
            pump(Clock::now());
            streaming = false;
            enqueue(simframe::frame(QByteArray::fromHex("FF00")));
            // The operator changes boards once the test stopped; a second Stop finds the next
            // board idle already.
            if (batch && wasStreaming)
                drawBoard(spread, nextSeed++);
        }
    }
};

Board &board()
{
    static Board instance;
    return instance;
}

void notifyHotplug(int kind)
{
    QPointer<QObject> target;
    {
        std::lock_guard<std::mutex> lock(board().mutex);
        target = board().hotplugTarget;
    }
    if (target)
        QMetaObject::invokeMethod(target, "deliverDeviceChange", Qt::QueuedConnection,
                                  Q_ARG(QString, SimBoard::interfaceName()), Q_ARG(int, kind));
}
} // namespace

void SimBoard::reset()
{
    Board &b = board();
    std::lock_guard<std::mutex> lock(b.mutex);
    b.restoreDefaults();
    b.changed.notify_all();
}

void SimBoard::setFinger(int channel, bool on)
{
    if (channel < 0 || channel >= chip::kChannelCount)
        return;
    std::lock_guard<std::mutex> lock(board().mutex);
    board().finger[channel] = on ? kWholeFinger : 0;
}

bool SimBoard::finger(int channel)
{
    return fingerShare(channel) > 0;
}

void SimBoard::setFingerShares(const QVector<int> &channels, const QVector<int> &shares)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    for (int i = 0; i < channels.size() && i < shares.size(); ++i) {
        if (chip::isChannel(channels.at(i)))
            board().finger[channels.at(i)] = std::clamp(shares.at(i), 0, kWholeFinger);
    }
}

int SimBoard::fingerShare(int channel)
{
    if (channel < 0 || channel >= chip::kChannelCount)
        return 0;
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().finger[channel];
}

void SimBoard::setWater(bool on)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().water = on;
}

bool SimBoard::water()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().water;
}

void SimBoard::setNoise(int amplitude, unsigned seed)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().noise = std::clamp(amplitude, 0, 1000);
    board().random.seed(seed);
}

void SimBoard::setNoiseBurst(int channel, int amplitude)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    const bool on = channel >= 0 && channel < chip::kChannelCount && amplitude > 0;
    board().burstChannel = on ? channel : -1;
    board().burstAmplitude = on ? std::min(amplitude, 0xFFFF) : 0;
}

int SimBoard::noiseBurstChannel()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().burstChannel;
}

quint16 SimBoard::baseline(int channel)
{
    if (channel < 0 || channel >= chip::kChannelCount)
        return 0;
    std::lock_guard<std::mutex> lock(board().mutex);
    return quint16(board().baselines[channel]);
}

void SimBoard::setChannelLevels(int channel, quint16 baseline, int fingerRise)
{
    if (channel < 0 || channel >= chip::kChannelCount)
        return;
    std::lock_guard<std::mutex> lock(board().mutex);
    board().baselines[channel] = baseline;
    board().fingerRise[channel] = std::clamp(fingerRise, -0xFFFF, 0xFFFF);
}

int SimBoard::fingerRise(int channel)
{
    if (channel < 0 || channel >= chip::kChannelCount)
        return 0;
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().fingerRise[channel];
}

quint16 SimBoard::meanReading(int channel)
{
    if (channel < 0 || channel >= chip::kChannelCount)
        return 0;
    std::lock_guard<std::mutex> lock(board().mutex);
    return quint16(std::clamp(board().meanReading(channel), 0, 0xFFFF));
}

void SimBoard::setCoupling(int touched, int affected, int counts)
{
    if (!chip::isChannel(touched) || !chip::isChannel(affected) || touched == affected)
        return;
    std::lock_guard<std::mutex> lock(board().mutex);
    board().coupling[touched][affected] = counts;
}

void SimBoard::setRefuseStart(bool refuse)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().refuseStart = refuse;
}

void SimBoard::setRefuseStop(bool refuse)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().refuseStop = refuse;
}

void SimBoard::setSilent(bool silent)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().silent = silent;
    if (silent)
        board().streaming = false;
}

void SimBoard::setOpenRefused(bool refused)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().openRefused = refused;
}

void SimBoard::corruptNextFrames(int count)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().corruptRemaining = std::max(count, 0);
}

void SimBoard::corruptEveryNthFrame(int n)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().corruptEvery = std::max(n, 0);
}

void SimBoard::shortenEveryNthFrame(int n)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().shortenEvery = std::max(n, 0);
}

void SimBoard::setDataInterval(int ms)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().intervalMs = std::clamp(ms, 1, 60000);
}

void SimBoard::setClockScale(double scale)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().clockScale = std::clamp(scale, 0.001, 1000.0);
}

void SimBoard::setQueueLimit(int reports)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().queueLimit = std::size_t(std::clamp(reports, 1, 100000));
    while (board().queue.size() > board().queueLimit)
        board().queue.pop_front();
}

bool SimBoard::isStreaming()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().streaming;
}

int SimBoard::queuedReports()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().pump(Clock::now());
    return int(board().queue.size());
}

void SimBoard::injectReport(const QByteArray &report)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    if (!board().plugged)
        return;
    QByteArray padded = report.left(kBoardReportBytes);
    padded.append(QByteArray(kBoardReportBytes - padded.size(), '\0'));
    board().queue.push_back(padded);
    while (board().queue.size() > board().queueLimit)
        board().queue.pop_front();
    board().changed.notify_all();
}

void SimBoard::unplug()
{
    {
        std::lock_guard<std::mutex> lock(board().mutex);
        if (!board().plugged)
            return;
        board().plugged = false;
        board().streaming = false;
        board().queue.clear();
        ++board().generation;
        board().changed.notify_all();
    }
    notifyHotplug(2);
}

void SimBoard::unplugOnNextWrite()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().unplugOnWrite = true;
}

void SimBoard::plug()
{
    {
        std::lock_guard<std::mutex> lock(board().mutex);
        if (board().plugged)
            return;
        board().plugged = true;
        board().changed.notify_all();
    }
    notifyHotplug(1);
}

bool SimBoard::isPlugged()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().plugged;
}

void SimBoard::setHotplugTarget(QObject *target)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().hotplugTarget = target;
}

QString SimBoard::interfaceName()
{
    return QStringLiteral(
        "\\\\?\\USB#VID_0483&PID_5850#SIM0001#{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
}

QList<QByteArray> SimBoard::writtenReports()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().written;
}

void SimBoard::clearWrittenReports()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().written.clear();
}

int SimBoard::openCount()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().opens;
}

int SimBoard::openHandles()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().opens - board().closes;
}

int SimBoard::waitingReads()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().waitingReads;
}

int SimBoard::closedHandleUses()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().closedUses;
}

SimBoard::Handle *SimBoard::open()
{
    Board &b = board();
    std::lock_guard<std::mutex> lock(b.mutex);
    if (!b.plugged || b.openRefused)
        return nullptr;
    auto handle = std::make_unique<Handle>();
    handle->generation = b.generation;
    b.handles.push_back(std::move(handle));
    ++b.opens;
    return b.handles.back().get();
}

void SimBoard::close(Handle *handle)
{
    Board &b = board();
    std::lock_guard<std::mutex> lock(b.mutex);
    if (!handle || !b.stillOpen(handle))
        return;
    handle->closed = true;
    ++b.closes;
    // A read still waiting on the handle wakes and counts the use.
    b.changed.notify_all();
}

int SimBoard::setNonblocking(Handle *handle, bool nonblocking)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    if (!handle || !board().stillOpen(handle))
        return -1;
    handle->nonblocking = nonblocking;
    return 0;
}

bool SimBoard::isNonblocking(Handle *handle)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    return handle && board().stillOpen(handle) && handle->nonblocking;
}

int SimBoard::write(Handle *handle, const unsigned char *data, std::size_t length)
{
    Board &b = board();
    std::unique_lock<std::mutex> lock(b.mutex);
    if (std::exchange(b.unplugOnWrite, false) && b.plugged) {
        lock.unlock();
        unplug();
        return -1;
    }
    if (!b.stillOpen(handle) || !b.usable(handle) || !data || length == 0)
        return -1;
    const QByteArray report(reinterpret_cast<const char *>(data), int(length));
    b.written.append(report);
    // Report ID, frame length, frame.
    if (report.size() >= 2) {
        const int n = std::min<int>(static_cast<unsigned char>(report.at(1)), report.size() - 2);
        QByteArray payload;
        if (simframe::unframe(report.mid(2, n), &payload))
            b.command(payload);
    }
    return int(length);
}

int SimBoard::read(Handle *handle, unsigned char *data, std::size_t length, int timeoutMs)
{
    Board &b = board();
    std::unique_lock<std::mutex> lock(b.mutex);
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        if (!b.stillOpen(handle) || !b.usable(handle))
            return -1;
        const auto now = Clock::now();
        b.pump(now);
        if (!b.queue.empty()) {
            const QByteArray report = b.queue.front();
            b.queue.pop_front();
            const std::size_t n = std::min<std::size_t>(length, std::size_t(report.size()));
            if (data)
                std::memcpy(data, report.constData(), n);
            return int(n);
        }
        if (timeoutMs == 0)
            return 0;
        if (timeoutMs > 0 && now >= deadline)
            return 0;
        auto wake = timeoutMs > 0 ? deadline : now + std::chrono::hours(1);
        if (b.streaming)
            wake = std::min(wake, b.nextFrameDue);
        ++b.waitingReads;
        b.changed.wait_until(lock, wake);
        --b.waitingReads;
    }
}

void SimBoard::setChannelNoise(int channel, int amplitude)
{
    if (!chip::isChannel(channel))
        return;
    std::lock_guard<std::mutex> lock(board().mutex);
    board().channelNoise[channel] = amplitude < 0 ? -1 : std::min(amplitude, 1000);
}

void SimBoard::setPad(int channel, Pad pad)
{
    if (!chip::isChannel(channel))
        return;
    std::lock_guard<std::mutex> lock(board().mutex);
    board().pads[channel] = pad;
}

SimBoard::Pad SimBoard::pad(int channel)
{
    if (!chip::isChannel(channel))
        return Pad::Good;
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().pads[channel];
}

void SimBoard::newBoard(const Spread &spread, unsigned seed)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().drawBoard(spread, seed);
}

void SimBoard::setBatch(bool on, const Spread &spread, unsigned seed)
{
    std::lock_guard<std::mutex> lock(board().mutex);
    board().batch = on;
    board().spread = spread;
    board().nextSeed = seed;
}

bool SimBoard::batch()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().batch;
}

int SimBoard::boardsDrawn()
{
    std::lock_guard<std::mutex> lock(board().mutex);
    return board().boardsDrawn;
}
