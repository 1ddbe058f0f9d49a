#ifndef TUNINGSTATE_H
#define TUNINGSTATE_H

#include "tuning/channelsamples.h"

#include <QList>

#include <iterator>

class QPushButton;

// The measurement state shared by the counted-down start, the sequencer, the waterproof test,
// verification and Save & Download. Lives in the window; everything reads it on the GUI thread.
struct TuningState
{
    QList<int> tkData;
    // Every channel's samples of its finished phases.
    SampleStore samples;
    bool waterPromptPending = false;
    int currentChannel = 100;
    QPushButton *currentKeyButton = nullptr;
    int selectedChannels[35] = {};
    int remainingChannels = 0;
    int nextSelectedIndex = 1;
    bool testBusy = false;
    bool sampling = false;
    bool autoSequence = false;
    bool waterproofMode = false;
    bool halted = false;
    bool stopInProgress = false;
    int countdownStep = 0;
    double chartX = 0.0;

    // A waterproof run is sampling. It keeps testBusy clear (its channels have no countdown), so
    // the start guards and the other users of testBusy ask for this as well.
    bool waterproofRunning() const { return waterproofMode && sampling; }
    // A test start must be refused with "busy".
    bool startRefused() const { return testBusy || waterproofRunning(); }
    // The channel in slot nextSelectedIndex of selectedChannels while a multi-channel run has
    // channels left; -1 when the run is over (or the slot holds no valid channel).
    int nextSelectedChannel() const
    {
        const int slot = nextSelectedIndex;
        if (remainingChannels < 1 || slot < 1 || slot >= int(std::size(selectedChannels)))
            return -1;
        const int channel = selectedChannels[slot] - 1;
        return channel >= 0 && channel < 25 ? channel : -1;
    }
};

#endif // TUNINGSTATE_H
