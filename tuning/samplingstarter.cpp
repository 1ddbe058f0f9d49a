#include "tuning/samplingstarter.h"

#include "link/debuggerlink.h"
#include "tuning/tuningrun.h"

#include <QLabel>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

SamplingStarter::SamplingStarter(TuningRun &run, DebuggerLink &link, const Pacing &pacing,
                                 QLabel *countdownLabel, QTimer *countdownTimer, QTimer *blinkTimer,
                                 QWidget *dialogParent, QObject *parent)
    : QObject(parent), run(run), link(link), pacing(pacing), countdownLabel(countdownLabel),
      countdownTimer(countdownTimer), blinkTimer(blinkTimer), dialogParent(dialogParent)
{
}

void SamplingStarter::beginSampling()
{
    if (!link.isConnected()) {
        warn(tr("调试器打开失败！"));
        return;
    }
    // A start while sampling runs counts down without a second Start (see warmTimerOut).
    if (!run.sampling())
        run.startCountdown();
    link.startReader();
    countdownStep = 0;
    countdownTimer->stop();
    blinkTimer->stop();
    QThread::msleep(pacing.countdownLeadMs);
    showCountdownDigit(QStringLiteral("3"));
    countdownTimer->start(pacing.countdownStepMs);
}

void SamplingStarter::restartCountdown()
{
    run.startCountdown();
    showCountdownDigit(QStringLiteral("3"));
    countdownTimer->start(pacing.countdownStepMs);
}

void SamplingStarter::warmTimerOut()
{
    link.drainInput();
    countdownLabel->hide();
    if (countdownStep < 2) {
        showCountdownDigit(countdownStep == 0 ? QStringLiteral("2") : QStringLiteral("1"));
        ++countdownStep;
        countdownTimer->start(pacing.countdownStepMs);
        return;
    }
    countdownStep = 0;
    countdownTimer->stop();
    blinkTimer->stop();
    // A countdown that ends while sampling runs (a second start) must not send a second Start.
    if (run.sampling())
        return;
    run.startSampling();
    btnDebugFunction();
}

void SamplingStarter::btnDebugFunction()
{
    if (link.sendStartCommand() < 0) {
        countdownTimer->stop();
        failStart();
        return;
    }
    link.armReader();
    // The board settles after Start before the key under test starts blinking.
    QThread::msleep(pacing.startSettleMs);
    blinkTimer->start(kBlinkMs);
}

void SamplingStarter::startSamplingDirect()
{
    link.drainInput();
    blinkTimer->stop();
    if (run.sampling())
        return;
    run.startSampling();
    if (link.sendStartCommand() < 0) {
        failStart();
        return;
    }
    link.armReader();
    QThread::msleep(pacing.startSettleMs);
    blinkTimer->start(kBlinkMs);
}

void SamplingStarter::cancelCountdown(bool hideDigit)
{
    countdownStep = 0;
    countdownTimer->stop();
    if (hideDigit)
        countdownLabel->hide();
}

void SamplingStarter::failStart()
{
    emit startFailed();
    run.endChannel();
    blinkTimer->stop();
    countdownStep = 0;
    warn(tr("发送数据超时，请检查是否连接调试板！"));
}

void SamplingStarter::showCountdownDigit(const QString &digit)
{
    countdownLabel->setText(digit);
    countdownLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QFont font = countdownLabel->font();
    font.setPointSize(20);
    countdownLabel->setFont(font);
    countdownLabel->setStyleSheet(QStringLiteral(
        "min-width: 50px; min-height: 50px;max-width:50px; max-height: 50px;border-radius: 8px;  "
        "border:1px solid black;background:green"));
    countdownLabel->ensurePolished();
    countdownLabel->move(placeBadge ? placeBadge(countdownLabel->size()) : QPoint(350, 100));
    countdownLabel->raise();
    countdownLabel->setVisible(true);
}

bool SamplingStarter::isOpen() const { return link.isOpen(); }

void SamplingStarter::armReader() { link.armReader(); }

void SamplingStarter::disarmReader() { link.disarmReader(); }

void SamplingStarter::startDrain() { link.startDrain(); }

void SamplingStarter::stopDrain() { link.stopDrain(); }

void SamplingStarter::startBlink() { blinkTimer->start(kBlinkMs); }

void SamplingStarter::stopBlink() { blinkTimer->stop(); }

void SamplingStarter::startCheckReader() { link.startCheckReader(); }

void SamplingStarter::armCheckReader() { link.armCheckReader(); }

void SamplingStarter::armCheckReaderForBacklog() { link.armCheckReaderForBacklog(); }

void SamplingStarter::disarmCheckReader() { link.disarmCheckReader(); }

int SamplingStarter::sendStartCommand() { return link.sendStartCommand(); }

int SamplingStarter::sendStopCommand() { return link.sendStopCommand(); }

int SamplingStarter::waitStopAck() { return link.waitStopAck(); }

StopOutcome SamplingStarter::runStopExchange(StopExchange exchange)
{
    return link.runStopExchange(exchange);
}

void SamplingStarter::warn(const QString &text) const
{
    QMessageBox::warning(dialogParent, tr("提示"), text);
}
