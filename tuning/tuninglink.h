#ifndef TUNINGLINK_H
#define TUNINGLINK_H

#include "link/debuggerlink.h"

// What the tests and verification need of the board: the debugger link, its readers and the
// counted-down start with the blinking key. One narrow interface for all of them, so each can be
// driven in a test by a fake without threads.
class TuningLink
{
public:
    virtual ~TuningLink() = default;

    // A debugger handle is open.
    virtual bool isOpen() const = 0;
    // The counted-down start of a measurement: 3-2-1, then Start, reader armed, sampling. Shows
    // its own message when no debugger is connected.
    virtual void beginSampling() = 0;
    // The countdown again from "3" for the touch phase, without the connection check.
    virtual void restartCountdown() = 0;
    // Start at once (waterproof test), unless sampling runs already; reader armed, then blinking.
    virtual void startSamplingDirect() = 0;
    // The countdown is abandoned; hideDigit also takes its figure off the window.
    virtual void cancelCountdown(bool hideDigit) = 0;
    // Lets the measurement reader take one more report, or stops it from taking any.
    virtual void armReader() = 0;
    virtual void disarmReader() = 0;
    // The input drain that runs while the waterproof test waits on the user.
    virtual void startDrain() = 0;
    virtual void stopDrain() = 0;
    // The blinking of the key under test.
    virtual void startBlink() = 0;
    virtual void stopBlink() = 0;
    // The verification reader: started once, then armed for each report, or for every report
    // queued since its last read.
    virtual void startCheckReader() = 0;
    virtual void armCheckReader() = 0;
    virtual void armCheckReaderForBacklog() = 0;
    virtual void disarmCheckReader() = 0;
    // hid_write's result: the bytes written, or -1.
    virtual int sendStartCommand() = 0;
    virtual int sendStopCommand() = 0;
    // 1 when the board accepted Stop, 0 when it refused or never answered.
    virtual int waitStopAck() = 0;
    virtual StopOutcome runStopExchange(StopExchange exchange) = 0;
};

#endif // TUNINGLINK_H
