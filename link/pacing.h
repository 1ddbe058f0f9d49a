#ifndef PACING_H
#define PACING_H

#include <algorithm>
#include <array>
#include <cmath>

// Every duration that paces the tool's exchange with the board, in milliseconds, in one place.
// The tool always runs on these defaults; the window that owns the run hands them to the link,
// the counted-down start, the tests, verification and Save & Download. Tests build the window and
// the simulated board on a faster clock (scaled).
struct Pacing
{
    // Before the first digit of a countdown.
    int countdownLeadMs = 1;
    // Each digit of the 3-2-1 countdown before Start.
    int countdownStepMs = 1000;
    // After Start is written: the board settles before the key under test blinks.
    int startSettleMs = 1000;
    // The Stop button: the report in flight ends before the Stop commands.
    int stopSettleMs = 500;
    // Verification off: after its reader is disarmed, before the Stop rounds.
    int verificationOffSettleMs = 800;
    // Save & Download: after the reader is disarmed, before the Stop rounds.
    int saveDownloadSettleMs = 800;
    // After each record of a test, before the reader may take the next report.
    int rearmPauseMs = 20;
    // After each verification record while the curves' window fills.
    int verificationRecordPauseMs = 20;
    // Once it is full, between two reads of what the board queued meanwhile: a read per about 25
    // records rather than one per record, well within the 64 reports a HID device queues.
    int verificationBlockMs = 25;
    // The whole wait for a Stop acknowledgement, and the pause after an empty read within it.
    int stopAckDeadlineMs = 3000;
    int stopAckRetryMs = 2;
    // Read time-outs of the measurement reader and of the verification reader.
    int readTimeoutMs = 8000;
    int checkReadTimeoutMs = 2000;
    // After the board's arrival is announced, before it is opened.
    int arrivalSettleMs = 1;
    // A minute of a false-touch run.
    int falseTouchMinuteMs = 60000;

    // Every duration times factor, none shorter than 1 ms.
    Pacing scaled(double factor) const
    {
        Pacing p;
        for (int Pacing::*field : fields())
            p.*field = std::max(1, static_cast<int>(std::lround(this->*field * factor)));
        return p;
    }

    bool operator==(const Pacing &other) const
    {
        for (int Pacing::*field : fields()) {
            if (this->*field != other.*field)
                return false;
        }
        return true;
    }
    bool operator!=(const Pacing &other) const { return !(*this == other); }

private:
    static const std::array<int Pacing::*, 15> &fields()
    {
        static constexpr std::array<int Pacing::*, 15> list = {
            &Pacing::countdownLeadMs,
            &Pacing::countdownStepMs,
            &Pacing::startSettleMs,
            &Pacing::stopSettleMs,
            &Pacing::verificationOffSettleMs,
            &Pacing::saveDownloadSettleMs,
            &Pacing::rearmPauseMs,
            &Pacing::verificationRecordPauseMs,
            &Pacing::verificationBlockMs,
            &Pacing::stopAckDeadlineMs,
            &Pacing::stopAckRetryMs,
            &Pacing::readTimeoutMs,
            &Pacing::checkReadTimeoutMs,
            &Pacing::arrivalSettleMs,
            &Pacing::falseTouchMinuteMs,
        };
        return list;
    }
};
// A duration added to Pacing is added to its list of fields too, or scaling would skip it.
static_assert(sizeof(Pacing) == 15 * sizeof(int), "Pacing::fields() lists every duration");

#endif // PACING_H
