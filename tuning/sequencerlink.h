#ifndef SEQUENCERLINK_H
#define SEQUENCERLINK_H

// What the channel test sequencer needs of the debugger link, the measurement reader and the
// counted-down start. The window's implementation forwards to them; tests substitute a recorder.
class SequencerLink
{
public:
    virtual ~SequencerLink() = default;

    // A debugger handle is open.
    virtual bool isOpen() const = 0;
    // The counted-down start of a measurement: 3-2-1, then Start, reader armed, sampling flagged.
    // Shows its own message when no debugger is connected.
    virtual void beginSampling() = 0;
    // The countdown again from "3" for the touch phase, without the connection check.
    virtual void restartCountdown() = 0;
    // Lets the measurement reader take one more report, or stops it from taking any.
    virtual void armReader() = 0;
    virtual void disarmReader() = 0;
    // Ends the input drain that runs while the waterproof test waits on the user.
    virtual void stopDrain() = 0;
    // hid_write's result: the bytes written, or -1.
    virtual int sendStopCommand() = 0;
    // 1 when the board accepted Stop, 0 when it refused or never answered.
    virtual int waitStopAck() = 0;
    virtual void stopBlinkTimer() = 0;
    virtual void stopCountdownTimer() = 0;
    virtual void hideCountdownDigit() = 0;
};

#endif // SEQUENCERLINK_H
