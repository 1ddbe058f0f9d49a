#include "tuning/channeltestsequencer.h"

#include "charts/channelindicators.h"
#include "charts/livechart.h"
#include "chip/chip.h"
#include "quality/channelsamples.h"
#include "tuning/channelrecorder.h"
#include "tuning/resultstable.h"
#include "tuning/tuninglink.h"
#include "tuning/tuningrun.h"

#include <QMessageBox>
#include <QThread>

ChannelTestSequencer::ChannelTestSequencer(TuningRun &run, ChannelRecorder &recorder,
                                           LiveChart &chart, ResultsTable &results,
                                           SampleStore &store, ChannelIndicators &indicators,
                                           TuningLink &link, const Pacing &pacing,
                                           QWidget *dialogParent, QObject *parent)
    : QObject(parent), run(run), recorder(recorder), chart(chart), results(results), store(store),
      indicators(indicators), link(link), pacing(pacing), dialogParent(dialogParent)
{
}

void ChannelTestSequencer::startAutoTest()
{
    const auto answer =
        QMessageBox::warning(dialogParent, tr("提示"), tr("请确保触摸板干净、无触摸、无水渍！"),
                             QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    // A waterproof run is not testBusy, yet must not have a second run interleaved with it.
    if (run.startRefused()) {
        recorder.warn(tr("正在调试请勿点击！"));
        return;
    }
    chart.rebuild(12, 11);
    QList<int> channels = recorder.channelsInUse();
    if (channels.isEmpty()) {
        recorder.warn(tr("请选择需要调试的通道！"));
        return;
    }
    const int first = channels.takeFirst();
    run.start(TuningRun::Kind::Auto, channels);
    chart.installTestSeries();
    chart.clearTestSeries();
    beginChannel(first);
}

void ChannelTestSequencer::startSingleChannel(int channel)
{
    // A waterproof run is not testBusy, yet must not have a second run interleaved with it.
    if (run.startRefused()) {
        recorder.warn(tr("正在调试请勿点击！"));
        return;
    }
    if (!recorder.channelsInUse().contains(channel))
        return;
    run.start(TuningRun::Kind::Single);
    recorder.beginChannel(channel);
    (void)results.assignRow(channel);
    recorder.appendLog(tr("开始调试TK%1，先请勿触摸！").arg(channel));
    prepareChart();
    chart.restartCurve();
    link.beginSampling();
}

void ChannelTestSequencer::prepareChart()
{
    chart.rebuild(12, 11);
    chart.installTestSeries();
    chart.clearTestSeries();
}

void ChannelTestSequencer::beginChannel(int channel)
{
    recorder.beginChannel(channel);
    // The first channel's prompt has always carried a blank before its name.
    recorder.appendLog(channel == 0 ? tr("请勿触摸 TK0，开始测量（不触摸） ...")
                                    : tr("请勿触摸TK%1，开始测量（不触摸） ...").arg(channel));
    (void)results.assignRow(channel);
    chart.restartCurve();
    link.beginSampling();
}

void ChannelTestSequencer::recordCounted()
{
    const int count = run.sampleCount();
    if (count == chip::kSamplesPerPhase)
        finishNoTouchPhase();
    else if (count == kSamplesPerTest)
        finishTouchPhase();
    else if (!run.halted())
        recorder.scheduleRearm();
}

void ChannelTestSequencer::finishNoTouchPhase()
{
    recorder.appendLog(tr("请按TK%1 ，开始测量(触摸)...！").arg(run.channel()));
    // The touch samples follow the no-touch ones; the countdown's end sends Start and arms the
    // reader again.
    QThread::msleep(pacing.countdownLeadMs);
    link.restartCountdown();
}

void ChannelTestSequencer::finishTouchPhase()
{
    // Both phases are kept together, when the row shows them: a test stopped in its touch phase
    // leaves the channel's earlier pair as it was.
    const int channel = run.channel();
    store.set(channel, SamplePhase::NoTouch, run.samplesFrom(0, chip::kSamplesPerPhase));
    store.set(channel, SamplePhase::Touch,
              run.samplesFrom(chip::kSamplesPerPhase, chip::kSamplesPerPhase));
    recorder.endChannelSampling();
    results.writeTouchResults(channel, store.at(channel));
    emit channelFinished(channel);
    if (run.kind() == TuningRun::Kind::Auto) {
        const int next = run.takeNextChannel();
        if (next < 0) {
            finishAutoTest();
        } else {
            chart.clearTestSeries();
            beginChannel(next);
        }
    } else {
        run.finish();
    }
    chart.connectHover();
}

void ChannelTestSequencer::finishAutoTest()
{
    run.finish();
    recorder.stopBoardAfterRun();
    emit autoTestFinished();
    recorder.warn(tr("所选通道不触摸与触摸测试完成！"));
}

void ChannelTestSequencer::stop()
{
    if (run.stopping()) {
        recorder.warn(tr("正在执行停止，请稍等！"));
        return;
    }
    run.beginStopping();
    link.stopDrain();
    link.disarmReader();
    recorder.cancelRearm();
    indicators.refresh();
    // The board is given time to finish the report in flight before it is told to stop.
    QThread::msleep(pacing.stopSettleMs);
    switch (link.runStopExchange(StopExchange::StopButton)) {
    case StopOutcome::Done:
        break;
    case StopOutcome::NoDevice:
        run.stopFailed();
        recorder.warn(tr("请连接调试器！"));
        return;
    case StopOutcome::WriteFailed:
    case StopOutcome::NotAcknowledged:
        run.stopFailed();
        recorder.warn(tr("停止测试失败！"));
        return;
    }
    run.halt();
    link.cancelCountdown(true);
    link.stopBlink();
}

void ChannelTestSequencer::abandonRun(const QString &text)
{
    if (run.testBusy())
        chart.clearTestSeries();
    // The run is over: a later single-channel test must not carry on with an old queue.
    run.halt();
    chart.restartCurve();
    recorder.cancelRearm();
    link.stopBlink();
    link.cancelCountdown(false);
    recorder.showKeyMeasured();
    recorder.warn(text);
}
