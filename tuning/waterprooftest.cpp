#include "tuning/waterprooftest.h"

#include "link/reademptyth.h"
#include "project/writefailure.h"
#include "tuning/channelindicators.h"
#include "tuning/channeltestsequencer.h"
#include "tuning/livechart.h"
#include "tuning/pinmapsource.h"
#include "tuning/resultstable.h"
#include "tuning/samplingstarter.h"
#include "tuning/tuningstate.h"

#include <QDateTime>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>

WaterproofTest::WaterproofTest(TuningState &state, ChannelTestSequencer &sequencer,
                               SamplingStarter &starter, LiveChart &chart, ResultsTable &results,
                               ChannelIndicators &indicators, PinMapSource &pinMap,
                               ReadEmptyTh *drain, QTimer *blinkTimer, QPlainTextEdit *log,
                               QWidget *dialogParent, const QString &exportFolder, QObject *parent)
    : QObject(parent), state(state), sequencer(sequencer), starter(starter), chart(chart),
      results(results), indicators(indicators), pinMap(pinMap), drain(drain),
      blinkTimer(blinkTimer), log(log), dialogParent(dialogParent), exportFolder(exportFolder)
{
}

void WaterproofTest::start()
{
    if (!starter.isOpen()) {
        warn(tr("请确认调试器是否连接！"));
        return;
    }
    // A waterproof run keeps testBusy clear, so a run under way is refused here as well.
    if (state.startRefused()) {
        warn(tr("正在调试请勿点击！"));
        return;
    }
    chart.rebuild(6, 5);
    if (sequencer.collectSelectedChannels() == 0) {
        warn(tr("请选择需要调试的通道！"));
        return;
    }
    sequencer.cancelRearm();
    runChannels.clear();
    state.autoSequence = true;
    --state.remainingChannels;
    state.halted = false;
    state.waterproofMode = true;
    state.waterPromptPending = true;
    chart.installTestSeries();
    chart.clearTestSeries();
    beginChannel(state.selectedChannels[0] - 1);
}

void WaterproofTest::beginChannel(int channel)
{
    state.currentChannel = channel;
    state.currentKeyButton = indicators.keyButton(channel);
    log->appendPlainText(tr("开始TK%1防水测试 ...").arg(channel));
    sequencer.markTested(channel);
    state.tkData.clear();
    starter.startSamplingDirect();
}

void WaterproofTest::promptAddWater()
{
    // A prompt left pending by a run that ended before its first record must not interrupt a
    // later no-touch/touch test: that record is skipped and the reader goes on.
    if (!state.waterproofMode) {
        state.waterPromptPending = false;
        if (!state.halted)
            sequencer.scheduleRearm();
        return;
    }
    // The reader has delivered this record and is idle; the drain keeps the board's queue empty
    // while the user wets the pad.
    blinkTimer->stop();
    drain->start(QThread::InheritPriority);
    warn(tr("请给触摸板加水！"));
    state.waterPromptPending = false;
    starter.armReader();
    blinkTimer->start(SamplingStarter::kBlinkMs);
    starter.stopDrain();
}

void WaterproofTest::handleRecord()
{
    if (state.tkData.size() >= kSamples)
        finishChannel();
    else if (!state.halted)
        sequencer.scheduleRearm();
}

void WaterproofTest::finishChannel()
{
    const int channel = state.currentChannel;
    state.samples.set(channel, SamplePhase::Water, sequencer.phaseSamples(0));
    runChannels.removeAll(channel);
    runChannels.append(channel);
    sequencer.endChannelSampling();
    results.writeWaterproofResults(channel, state.samples.at(channel), pinMap.keyNumber(channel));
    emit channelFinished(state.currentChannel);
    sequencer.continueSequence([this](int channel) { beginChannel(channel); },
                               [this] { finishRun(); });
    chart.connectHover();
}

void WaterproofTest::finishRun()
{
    state.autoSequence = false;
    state.tkData.clear();
    state.nextSelectedIndex = 0;
    state.remainingChannels = 0;
    sequencer.stopBoardAfterRun();
    QStringList written;
    QString failedPath;
    const bool exported = results.exportCsv(exportFolder, QDateTime::currentDateTime(),
                                            runChannels, state.samples, &written, &failedPath);
    runChannels.clear();
    emit runFinished(written);
    // The run's raw counts are its record: a run whose export failed is not reported complete.
    if (!exported) {
        warnWriteFailed(dialogParent, failedPath);
        return;
    }
    warn(tr("所选通道防水测试完成！"));
}

void WaterproofTest::warn(const QString &text) const
{
    QMessageBox::warning(dialogParent, tr("提示"), text);
}
