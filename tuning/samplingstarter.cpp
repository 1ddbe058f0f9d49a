#include "tuning/samplingstarter.h"

#include "link/debuggerlink.h"
#include "link/reademptyth.h"
#include "link/readthread.h"
#include "tuning/tuningstate.h"

#include <QLabel>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

SamplingStarter::SamplingStarter(TuningState &state, DebuggerLink &link, ReadThread *readThread,
                                 ReadEmptyTh *drain, QLabel *countdownLabel,
                                 QTimer *countdownTimer, QTimer *blinkTimer, QWidget *dialogParent,
                                 QObject *parent)
    : QObject(parent), state(state), link(link), readThread(readThread), drain(drain),
      countdownLabel(countdownLabel), countdownTimer(countdownTimer), blinkTimer(blinkTimer),
      dialogParent(dialogParent)
{
}

void SamplingStarter::beginSampling()
{
    state.chartX = 0.0;
    if (!link.isConnected()) {
        warn(tr("调试器打开失败！"));
        return;
    }
    state.testBusy = true;
    readThread->start(QThread::InheritPriority);
    state.countdownStep = 0;
    countdownTimer->stop();
    blinkTimer->stop();
    QThread::msleep(1);
    showCountdownDigit(QStringLiteral("3"), true);
    countdownTimer->start(kCountdownStepMs);
}

void SamplingStarter::restartCountdown()
{
    showCountdownDigit(QStringLiteral("3"), true);
    countdownTimer->start(kCountdownStepMs);
}

void SamplingStarter::warmTimerOut()
{
    link.drainInput();
    countdownLabel->hide();
    if (state.countdownStep < 2) {
        showCountdownDigit(state.countdownStep == 0 ? QStringLiteral("2") : QStringLiteral("1"),
                           true);
        ++state.countdownStep;
        countdownTimer->start(kCountdownStepMs);
        return;
    }
    state.countdownStep = 0;
    countdownTimer->stop();
    blinkTimer->stop();
    // A countdown that ends while sampling runs (a second start) must not send a second Start.
    if (state.sampling)
        return;
    state.sampling = true;
    btnDebugFunction();
}

void SamplingStarter::btnDebugFunction()
{
    if (link.sendStartCommand() < 0) {
        countdownTimer->stop();
        failStart();
        return;
    }
    readThread->arm();
    // The board settles after Start before the key under test starts blinking.
    QThread::msleep(kStartSettleMs);
    state.sampling = true;
    blinkTimer->start(kBlinkMs);
}

void SamplingStarter::startSamplingDirect()
{
    link.drainInput();
    blinkTimer->stop();
    if (state.sampling)
        return;
    state.sampling = true;
    if (link.sendStartCommand() < 0) {
        failStart();
        return;
    }
    readThread->arm();
    QThread::msleep(kStartSettleMs);
    blinkTimer->start(kBlinkMs);
}

void SamplingStarter::failStart()
{
    state.testBusy = false;
    blinkTimer->stop();
    state.countdownStep = 0;
    state.sampling = false;
    warn(tr("发送数据超时，请检查是否连接调试板！"));
}

void SamplingStarter::showCountdownDigit(const QString &digit, bool visible)
{
    countdownLabel->setText(digit);
    countdownLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QFont font = countdownLabel->font();
    font.setPointSize(20);
    countdownLabel->setFont(font);
    countdownLabel->setStyleSheet(QStringLiteral(
        "min-width: 50px; min-height: 50px;max-width:50px; max-height: 50px;border-radius: 8px;  "
        "border:1px solid black;background:green"));
    countdownLabel->move(350, 100);
    countdownLabel->raise();
    countdownLabel->setVisible(visible);
}

bool SamplingStarter::isOpen() const
{
    return link.isOpen();
}

void SamplingStarter::armReader()
{
    readThread->arm();
}

void SamplingStarter::disarmReader()
{
    readThread->disarm();
}

void SamplingStarter::stopDrain()
{
    drain->requestStop();
}

int SamplingStarter::sendStopCommand()
{
    return link.sendStopCommand();
}

int SamplingStarter::waitStopAck()
{
    return link.waitStopAck();
}

void SamplingStarter::stopBlinkTimer()
{
    blinkTimer->stop();
}

void SamplingStarter::stopCountdownTimer()
{
    countdownTimer->stop();
}

void SamplingStarter::hideCountdownDigit()
{
    countdownLabel->hide();
}

void SamplingStarter::warn(const QString &text) const
{
    QMessageBox::warning(dialogParent, tr("提示"), text);
}
