#include "tuning/channeltestsequencer.h"

#include "charts/channelindicators.h"
#include "charts/livechart.h"
#include "chip/chip.h"
#include "quality/capturecheck.h"
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
    const QList<int> channels = recorder.channelsInUse();
    if (channels.isEmpty()) {
        recorder.warn(tr("请选择需要调试的通道！"));
        return;
    }
    runAutoTest(channels);
}

void ChannelTestSequencer::runAutoTest(QList<int> channels)
{
    if (channels.isEmpty())
        return;
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
    runSingleChannel(channel);
}

void ChannelTestSequencer::runSingleChannel(int channel)
{
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
    // A segment is touched where a finger covers it most, and its place says which one it is.
    const QString place = recorder.segmentPlace(run.channel());
    if (!place.isEmpty())
        recorder.appendLog(tr("TK%1 是 %2 段：请按在该段中央。").arg(run.channel()).arg(place));
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
    const QVector<int> noTouch = run.samplesFrom(0, chip::kSamplesPerPhase);
    const QVector<int> touch = run.samplesFrom(chip::kSamplesPerPhase, chip::kSamplesPerPhase);
    const QVector<RecordCounts> noTouchRecords = run.recordsFrom(0, chip::kSamplesPerPhase);
    const QVector<RecordCounts> touchRecords =
        run.recordsFrom(chip::kSamplesPerPhase, chip::kSamplesPerPhase);
    recorder.endChannelSampling();
    // A finger in the no-touch phase would be blamed on the touch phase: that phase is judged
    // first, on its own.
    QString doubt = CaptureCheck::noTouchDoubt(noTouch, store.at(channel).noTouch);
    QString question = tr("TK%1 的不触摸测量可疑（%2）。");
    if (doubt.isEmpty()) {
        doubt = CaptureCheck::touchDoubt(noTouch, touch);
        question = tr("TK%1 的触摸测量可疑（%2）。");
    }
    const CaptureChoice choice = recorder.askAboutCapture(doubt, question.arg(channel));
    if (choice == CaptureChoice::Keep) {
        store.set(channel, SamplePhase::NoTouch, noTouch);
        store.set(channel, SamplePhase::Touch, touch);
        store.setRecords(channel, SamplePhase::NoTouch, noTouchRecords);
        store.setRecords(channel, SamplePhase::Touch, touchRecords);
        results.writeTouchResults(channel, store.at(channel));
        emit channelFinished(channel);
    } else if (choice == CaptureChoice::Discard) {
        results.releaseEmptyRow(channel);
    }
    if (choice == CaptureChoice::Retake)
        retake(channel);
    else
        goOn();
    chart.connectHover();
}

void ChannelTestSequencer::retake(int channel)
{
    if (run.kind() == TuningRun::Kind::Auto) {
        chart.clearTestSeries();
        beginChannel(channel);
    } else {
        startSingleChannel(channel);
    }
}

void ChannelTestSequencer::goOn()
{
    if (run.kind() != TuningRun::Kind::Auto) {
        run.finish();
        return;
    }
    const int next = run.takeNextChannel();
    if (next < 0) {
        finishAutoTest();
    } else {
        chart.clearTestSeries();
        beginChannel(next);
    }
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
    logEnd(tr("停止测试"));
    run.halt();
    link.cancelCountdown(true);
    link.stopBlink();
}

void ChannelTestSequencer::abandonRun(const QString &text)
{
    logEnd(link.isOpen() ? text : tr("调试器已断开"));
    if (run.testBusy())
        chart.clearTestSeries();
    // The run is over: a later single-channel test must not carry on with an old queue.
    run.halt(TuningRun::Ending::Failed);
    chart.restartCurve();
    recorder.cancelRearm();
    link.stopBlink();
    link.cancelCountdown(false);
    recorder.showKeyMeasured();
    recorder.warn(text);
}

void ChannelTestSequencer::startFailed()
{
    logEnd(link.isOpen() ? tr("发送数据超时") : tr("调试器已断开"));
}

void ChannelTestSequencer::logEnd(const QString &why) const
{
    QString test;
    switch (run.kind()) {
    case TuningRun::Kind::Single:
    case TuningRun::Kind::Auto:
        test = tr("TK%1 的触摸测试").arg(run.channel());
        break;
    case TuningRun::Kind::Waterproof:
        test = tr("TK%1 的防水测试").arg(run.channel());
        break;
    case TuningRun::Kind::None:
    case TuningRun::Kind::Verification:
        return;
    }
    recorder.appendLog(tr("%1已中止：%2").arg(test, why));
}
