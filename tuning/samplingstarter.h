#ifndef SAMPLINGSTARTER_H
#define SAMPLINGSTARTER_H

#include "tuning/sequencerlink.h"

#include <QObject>
#include <QString>

class DebuggerLink;
class QLabel;
class QTimer;
class QWidget;
class ReadEmptyTh;
class ReadThread;
struct TuningState;

// Starts sampling on the board: the 3-2-1 countdown on countdownLabel followed by Start, or Start
// at once for the waterproof test. Arms the measurement reader for the first record and starts
// the blinking of the key under test. Serves the sequencer as its link to the board.
class SamplingStarter : public QObject, public SequencerLink
{
    Q_OBJECT

public:
    static constexpr int kCountdownStepMs = 1000;
    static constexpr int kStartSettleMs = 1000;
    static constexpr int kBlinkMs = 100;

    SamplingStarter(TuningState &state, DebuggerLink &link, ReadThread *readThread,
                    ReadEmptyTh *drain, QLabel *countdownLabel, QTimer *countdownTimer,
                    QTimer *blinkTimer, QWidget *dialogParent, QObject *parent = nullptr);

    // The counted-down start: "调试器打开失败！" without a board, else 3, 2, 1 and then Start.
    void beginSampling() override;
    // countdownTimer's timeout: next digit, or after "1" the Start (unless already sampling).
    void warmTimerOut();
    // Sends Start, arms the reader, lets the board settle and starts the blinking.
    void btnDebugFunction();
    // Start without countdown, once per run of sampling.
    void startSamplingDirect();
    void showCountdownDigit(const QString &digit, bool visible);

    // SequencerLink
    bool isOpen() const override;
    void restartCountdown() override;
    void armReader() override;
    void disarmReader() override;
    void stopDrain() override;
    int sendStopCommand() override;
    int waitStopAck() override;
    void stopBlinkTimer() override;
    void stopCountdownTimer() override;
    void hideCountdownDigit() override;

private:
    void failStart();
    void warn(const QString &text) const;

    TuningState &state;
    DebuggerLink &link;
    ReadThread *readThread;
    ReadEmptyTh *drain;
    QLabel *countdownLabel;
    QTimer *countdownTimer;
    QTimer *blinkTimer;
    QWidget *dialogParent;
};

#endif // SAMPLINGSTARTER_H
