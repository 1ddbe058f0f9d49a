#ifndef LINKSWITCH_H
#define LINKSWITCH_H

#include "tuning/tuninglink.h"

// The link the tests and verification talk to: the board's, or while a recording is replayed,
// the player's, which sends nothing. The blinking of the key under test is the window's own and
// always goes to the board's side.
class LinkSwitch : public TuningLink
{
public:
    explicit LinkSwitch(TuningLink &board) : board(board), active(&board) {}

    // The source of records from now on; null for the board.
    void use(TuningLink *source) { active = source ? source : &board; }
    bool usesBoard() const { return active == &board; }

    bool isOpen() const override { return active->isOpen(); }
    void beginSampling() override { active->beginSampling(); }
    void restartCountdown() override { active->restartCountdown(); }
    void startSamplingDirect() override { active->startSamplingDirect(); }
    void cancelCountdown(bool hideDigit) override { active->cancelCountdown(hideDigit); }
    void armReader() override { active->armReader(); }
    void disarmReader() override { active->disarmReader(); }
    void startDrain() override { active->startDrain(); }
    void stopDrain() override { active->stopDrain(); }
    void startBlink() override { board.startBlink(); }
    void stopBlink() override { board.stopBlink(); }
    void startCheckReader() override { active->startCheckReader(); }
    void armCheckReader() override { active->armCheckReader(); }
    void armCheckReaderForBacklog() override { active->armCheckReaderForBacklog(); }
    void disarmCheckReader() override { active->disarmCheckReader(); }
    int sendStartCommand() override { return active->sendStartCommand(); }
    int sendStopCommand() override { return active->sendStopCommand(); }
    int waitStopAck() override { return active->waitStopAck(); }
    StopOutcome runStopExchange(StopExchange exchange) override
    {
        return active->runStopExchange(exchange);
    }

private:
    TuningLink &board;
    TuningLink *active;
};

#endif // LINKSWITCH_H
