#ifndef SAMPLINGSTARTER_H
#define SAMPLINGSTARTER_H

#include "link/pacing.h"
#include "tuning/tuninglink.h"

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>

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

    // Where the countdown badge of this size goes, in the coordinates of its parent; unset, it
    // goes to a fixed place.
    std::function<QPoint(const QSize &)> placeBadge;

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
    void armCheckReaderForBacklog() override;
    void disarmCheckReader() override;
    int sendStartCommand() override;
    int sendStopCommand() override;
    int waitStopAck() override;
    StopOutcome runStopExchange(StopExchange exchange) override;

signals:
    // Start could not be written; "发送数据超时，请检查是否连接调试板！" follows.
    void startFailed();

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
