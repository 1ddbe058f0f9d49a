#include "tuning/channeltestsequencer.h"

#include "tuning/channelindicators.h"
#include "tuning/livechart.h"
#include "tuning/pinmapsource.h"
#include "tuning/resultstable.h"
#include "tuning/sequencerlink.h"
#include "tuning/tuningstate.h"

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>

ChannelTestSequencer::ChannelTestSequencer(TuningState &state, LiveChart &chart,
                                           ResultsTable &results, ChannelIndicators &indicators,
                                           PinMapSource &pinMap, SequencerLink &link,
                                           QPlainTextEdit *log, QWidget *dialogParent,
                                           QObject *parent)
    : QObject(parent), state(state), chart(chart), results(results), indicators(indicators),
      pinMap(pinMap), link(link), log(log), dialogParent(dialogParent)
{
    // A timer rather than a sleep, so the window keeps painting between records. It is set a
    // little short and the last fraction of the pause is slept, so that the timer's lateness
    // does not add to every one of the 324 records of a test.
    rearmTimer.setSingleShot(true);
    rearmTimer.setTimerType(Qt::PreciseTimer);
    rearmTimer.setInterval(kRearmDelayMs - 1);
    connect(&rearmTimer, &QTimer::timeout, this, [this] {
        if (recordArrival.isValid()) {
            const qint64 leftUs = kRearmDelayMs * 1000 - recordArrival.nsecsElapsed() / 1000;
            if (leftUs > 0)
                QThread::usleep(static_cast<unsigned long>(leftUs));
        }
        if (!this->state.halted)
            this->link.armReader();
    });
}

int ChannelTestSequencer::channelReading(const QByteArray &record, int channel)
{
    if (channel < 0 || channel >= kChannels || record.size() < 3 + 2 * channel)
        return -1;
    const auto high = static_cast<unsigned char>(record.at(1 + 2 * channel));
    const auto low = static_cast<unsigned char>(record.at(2 + 2 * channel));
    return high << 8 | low;
}

void ChannelTestSequencer::startAutoTest()
{
    const auto answer =
        QMessageBox::warning(dialogParent, tr("提示"), tr("请确保触摸板干净、无触摸、无水渍！"),
                             QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    // A waterproof run keeps testBusy clear, yet must not have a second run interleaved with it.
    if (state.startRefused()) {
        warn(tr("正在调试请勿点击！"));
        return;
    }
    chart.rebuild(12, 11);
    if (collectSelectedChannels() == 0) {
        warn(tr("请选择需要调试的通道！"));
        return;
    }
    state.autoSequence = true;
    --state.remainingChannels;
    state.halted = false;
    state.waterproofMode = false;
    chart.installTestSeries();
    chart.clearTestSeries();
    beginChannel(state.selectedChannels[0] - 1);
}

void ChannelTestSequencer::startSingleChannel(int channel)
{
    // A waterproof run keeps testBusy clear, yet must not have a second run interleaved with it.
    if (state.startRefused()) {
        warn(tr("正在调试请勿点击！"));
        return;
    }
    if (channel < 0 || channel >= kChannels || pinMap.channelInUse(channel) != 1)
        return;
    setCurrentChannel(channel);
    markTested(channel);
    appendLog(tr("开始调试TK%1，先请勿触摸！").arg(channel));
    prepareChart();
    state.halted = false;
    state.waterproofMode = false;
    // A record that was on its way when the last run stopped must not count for this one.
    state.tkData.clear();
    link.beginSampling();
}

int ChannelTestSequencer::collectSelectedChannels()
{
    state.remainingChannels = 0;
    state.nextSelectedIndex = 1;
    std::fill(std::begin(state.selectedChannels), std::end(state.selectedChannels), 0);
    for (int channel = 0; channel < kChannels; ++channel) {
        if (pinMap.channelInUse(channel) == 1)
            state.selectedChannels[state.remainingChannels++] = channel + 1;
    }
    return state.remainingChannels;
}

void ChannelTestSequencer::markTested(int channel)
{
    (void)results.assignRow(channel);
}

void ChannelTestSequencer::prepareChart()
{
    chart.rebuild(12, 11);
    chart.installTestSeries();
    chart.clearTestSeries();
}

void ChannelTestSequencer::beginChannel(int channel)
{
    setCurrentChannel(channel);
    // The first channel's prompt has always carried a blank before its name.
    appendLog(channel == 0 ? tr("请勿触摸 TK0，开始测量（不触摸） ...")
                           : tr("请勿触摸TK%1，开始测量（不触摸） ...").arg(channel));
    markTested(channel);
    state.tkData.clear();
    link.beginSampling();
}

void ChannelTestSequencer::setCurrentChannel(int channel)
{
    state.currentChannel = channel;
    state.currentKeyButton = indicators.keyButton(channel);
}

void ChannelTestSequencer::handleRecord(const QByteArray &record, int crcFailed)
{
    recordArrival.start();
    if (state.waterPromptPending) {
        if (onWaterPrompt)
            onWaterPrompt();
        return;
    }
    bool counted = false;
    if (crcFailed == 0) {
        const int value = channelReading(record, state.currentChannel);
        counted = value >= 0;
        if (counted) {
            state.tkData.append(value);
            chart.widenRange(value);
        } else {
            chart.widenRange(0);
        }
    }
    chart.appendTestPoint();
    // Only a counted record can end a phase: a bad one right after a phase switch would start
    // that switch a second time.
    if (!counted) {
        if (!state.halted)
            scheduleRearm();
        return;
    }
    if (state.waterproofMode) {
        if (onWaterproofRecord)
            onWaterproofRecord();
        return;
    }
    const int count = state.tkData.size();
    if (count == kSamplesPerPhase)
        finishNoTouchPhase();
    else if (count == kSamplesPerTest)
        finishTouchPhase();
    else if (!state.halted)
        scheduleRearm();
}

void ChannelTestSequencer::finishNoTouchPhase()
{
    appendLog(tr("请按TK%1 ，开始测量(触摸)...！").arg(state.currentChannel));
    state.sampling = false;
    // The touch samples follow the no-touch ones in tkData; the countdown's end sends Start and
    // arms the reader again.
    QThread::msleep(1);
    link.restartCountdown();
}

void ChannelTestSequencer::finishTouchPhase()
{
    // Both phases are kept together, when the row shows them: a test stopped in its touch phase
    // leaves the channel's earlier pair as it was.
    const int channel = state.currentChannel;
    state.samples.set(channel, SamplePhase::NoTouch, phaseSamples(0));
    state.samples.set(channel, SamplePhase::Touch, phaseSamples(kSamplesPerPhase));
    endChannelSampling();
    results.writeTouchResults(channel, state.samples.at(channel));
    emit channelFinished(state.currentChannel);
    continueSequence([this](int channel) { beginChannel(channel); },
                     [this] { finishAutoTest(); });
    chart.connectHover();
}

QVector<int> ChannelTestSequencer::phaseSamples(int from) const
{
    return state.tkData.mid(from, kSamplesPerPhase).toVector();
}

void ChannelTestSequencer::endChannelSampling()
{
    link.stopBlinkTimer();
    if (state.currentKeyButton)
        state.currentKeyButton->setStyleSheet(ChannelIndicators::greenKeyStyle());
    state.sampling = false;
    state.testBusy = false;
    state.chartX = 0.0;
    state.tkData.clear();
}

void ChannelTestSequencer::continueSequence(const std::function<void(int)> &begin,
                                            const std::function<void()> &finish)
{
    if (!state.autoSequence)
        return;
    const int next = state.nextSelectedChannel();
    if (next < 0) {
        finish();
        return;
    }
    chart.clearTestSeries();
    begin(next);
    --state.remainingChannels;
    ++state.nextSelectedIndex;
}

void ChannelTestSequencer::stopBoardAfterRun()
{
    if (link.isOpen()) {
        (void)link.sendStopCommand();
        (void)link.sendStopCommand();
    }
}

void ChannelTestSequencer::finishAutoTest()
{
    state.autoSequence = false;
    state.nextSelectedIndex = 0;
    state.remainingChannels = 0;
    state.tkData.clear();
    stopBoardAfterRun();
    emit autoTestFinished();
    warn(tr("所选通道不触摸与触摸测试完成！"));
}

void ChannelTestSequencer::stop()
{
    if (state.stopInProgress) {
        warn(tr("正在执行停止，请稍等！"));
        return;
    }
    state.stopInProgress = true;
    link.stopDrain();
    link.disarmReader();
    cancelRearm();
    indicators.refresh();
    // The board is given time to finish the report in flight before it is told to stop.
    QThread::msleep(kStopSettleMs);
    if (!link.isOpen()) {
        state.stopInProgress = false;
        warn(tr("请连接调试器！"));
        return;
    }
    link.sendStopCommand();
    link.sendStopCommand();
    if (link.sendStopCommand() < 0 || link.waitStopAck() != 1) {
        state.stopInProgress = false;
        warn(tr("停止测试失败！"));
        return;
    }
    state.sampling = false;
    state.testBusy = false;
    state.autoSequence = false;
    state.waterproofMode = false;
    state.halted = true;
    link.hideCountdownDigit();
    state.tkData.clear();
    state.countdownStep = 0;
    link.stopBlinkTimer();
    link.stopCountdownTimer();
    state.stopInProgress = false;
}

void ChannelTestSequencer::abandonRun(const QString &text)
{
    if (state.testBusy)
        chart.clearTestSeries();
    state.tkData.clear();
    state.sampling = false;
    state.testBusy = false;
    state.halted = true;
    // The run is over: a later single-channel test must not carry on with the old queue.
    state.autoSequence = false;
    state.waterproofMode = false;
    state.remainingChannels = 0;
    state.nextSelectedIndex = 0;
    state.countdownStep = 0;
    state.chartX = 0.0;
    cancelRearm();
    link.stopBlinkTimer();
    link.stopCountdownTimer();
    if (state.currentKeyButton)
        state.currentKeyButton->setStyleSheet(ChannelIndicators::greenKeyStyle());
    warn(text);
}

void ChannelTestSequencer::setWaterproofHandlers(std::function<void()> waterPrompt,
                                                 std::function<void()> waterproofRecord)
{
    onWaterPrompt = std::move(waterPrompt);
    onWaterproofRecord = std::move(waterproofRecord);
}

void ChannelTestSequencer::scheduleRearm()
{
    rearmTimer.start();
}

void ChannelTestSequencer::cancelRearm()
{
    rearmTimer.stop();
}

void ChannelTestSequencer::appendLog(const QString &line)
{
    log->appendPlainText(line);
}

void ChannelTestSequencer::warn(const QString &text)
{
    QMessageBox::warning(dialogParent, tr("提示"), text, QMessageBox::Ok);
}
