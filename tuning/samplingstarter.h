#ifndef SAMPLINGSTARTER_H
#define SAMPLINGSTARTER_H

#include "link/pacing.h"
#include "tuning/tuninglink.h"

#include <QObject>
#include <QString>

class DebuggerLink;
class QLabel;
class QTimer;
class QWidget;
class TuningRun;

// Starts sampling on the board: the 3-2-1 countdown on countdownLabel followed by Start, or Start
// at once for the waterproof test. Arms the measurement reader for the first record and starts
// the blinking of the key under test. The tools' link to the board.
class SamplingStarter : public QObject, public TuningLink
{
    Q_OBJECT

public:
    static constexpr int kBlinkMs = 100;

    // The countdown's digits and the settle after Start follow pacing.
    SamplingStarter(TuningRun &run, DebuggerLink &link, const Pacing &pacing,
                    QLabel *countdownLabel, QTimer *countdownTimer, QTimer *blinkTimer,
                    QWidget *dialogParent, QObject *parent = nullptr);

    // countdownTimer's timeout: next digit, or after "1" the Start (unless already sampling).
    void warmTimerOut();
    // Sends Start, arms the reader, lets the board settle and starts the blinking.
    void btnDebugFunction();

    // TuningLink
    bool isOpen() const override;
    void beginSampling() override;
    void restartCountdown() override;
    void startSamplingDirect() override;
    void cancelCountdown(bool hideDigit) override;
    void armReader() override;
    void disarmReader() override;
    void startDrain() override;
    void stopDrain() override;
    void startBlink() override;
    void stopBlink() override;
    void startCheckReader() override;
    void armCheckReader() override;
    void disarmCheckReader() override;
    int sendStartCommand() override;
    int sendStopCommand() override;
    int waitStopAck() override;
    StopOutcome runStopExchange(StopExchange exchange) override;

private:
    void showCountdownDigit(const QString &digit);
    void failStart();
    void warn(const QString &text) const;

    TuningRun &run;
    DebuggerLink &link;
    const Pacing pacing;
    QLabel *countdownLabel;
    QTimer *countdownTimer;
    QTimer *blinkTimer;
    QWidget *dialogParent;
    // Countdown position 0, 1, 2: the digits "3", "2", "1" shown so far.
    int countdownStep = 0;
};

#endif // SAMPLINGSTARTER_H
