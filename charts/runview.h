#ifndef RUNVIEW_H
#define RUNVIEW_H

// What the channel indicators ask of the run in progress, so that they show it without depending
// on the run itself.
class RunView
{
public:
    virtual ~RunView() = default;

    // The channel under test, -1 before the first.
    virtual int channel() const = 0;
    // Start was sent and records are collected.
    virtual bool sampling() const = 0;
    // A channel measurement holds the start buttons.
    virtual bool testBusy() const = 0;
};

#endif // RUNVIEW_H
