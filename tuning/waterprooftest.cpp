#include "tuning/waterprooftest.h"

#include "charts/livechart.h"
#include "chip/chip.h"
#include "project/pinmapsource.h"
#include "project/writefailure.h"
#include "quality/capturecheck.h"
#include "quality/channelsamples.h"
#include "tuning/channelrecorder.h"
#include "tuning/resultstable.h"
#include "tuning/tuninglink.h"
#include "tuning/tuningrun.h"

#include <QDateTime>
#include <QDir>
#include <QMessageBox>

WaterproofTest::WaterproofTest(TuningRun &run, ChannelRecorder &recorder, LiveChart &chart,
                               ResultsTable &results, SampleStore &store, PinMapSource &pinMap,
                               TuningLink &link, QWidget *dialogParent, const QString &exportFolder,
                               QObject *parent)
    : QObject(parent), run(run), recorder(recorder), chart(chart), results(results), store(store),
      pinMap(pinMap), link(link), dialogParent(dialogParent), exportFolder(exportFolder)
{
}

void WaterproofTest::start()
{
    if (!link.isOpen()) {
        recorder.warn(tr("请确认调试器是否连接！"));
        return;
    }
    // A waterproof run is not testBusy, so a run under way is refused here as well.
    if (run.startRefused()) {
        recorder.warn(tr("正在调试请勿点击！"));
        return;
    }
    chart.rebuild(6, 5);
    const QList<int> channels = recorder.channelsInUse();
    if (channels.isEmpty()) {
        recorder.warn(tr("请选择需要调试的通道！"));
        return;
    }
    runOver(channels);
}

void WaterproofTest::runOver(QList<int> channels, bool askForWater)
{
    if (channels.isEmpty())
        return;
    recorder.cancelRearm();
    runChannels.clear();
    const int first = channels.takeFirst();
    run.start(TuningRun::Kind::Waterproof, channels);
    chart.installTestSeries();
    chart.clearTestSeries();
    beginChannel(first);
    // The first record after Start raises the add-water prompt.
    if (run.sampling() && askForWater)
        run.awaitWater();
}

void WaterproofTest::beginChannel(int channel)
{
    recorder.beginChannel(channel);
    recorder.appendLog(tr("开始TK%1防水测试 ...").arg(channel));
    (void)results.assignRow(channel);
    link.startSamplingDirect();
}

void WaterproofTest::promptAddWater()
{
    // The reader has delivered this record and is idle; the drain keeps the board's queue empty
    // while the user wets the pad. The record itself is neither counted nor drawn.
    link.stopBlink();
    link.startDrain();
    // Only the window waits on the answer: the hands that wet the pad stay free, and with them
    // the panel of the simulated board.
    QMessageBox box(QMessageBox::Warning, tr("提示"), tr("请给触摸板加水！"), QMessageBox::Ok,
                    dialogParent);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
    run.startSampling();
    link.armReader();
    link.startBlink();
    link.stopDrain();
}

void WaterproofTest::recordCounted()
{
    if (run.sampleCount() >= chip::kSamplesPerPhase)
        finishChannel();
    else if (!run.halted())
        recorder.scheduleRearm();
}

void WaterproofTest::finishChannel()
{
    const int channel = run.channel();
    const QVector<int> water = run.samplesFrom(0, chip::kSamplesPerPhase);
    recorder.endChannelSampling();
    const QString doubt = CaptureCheck::waterDoubt(store.at(channel).noTouch, water);
    const CaptureChoice choice =
        recorder.askAboutCapture(doubt, tr("TK%1 的防水测量可疑（%2）。").arg(channel));
    if (choice == CaptureChoice::Keep) {
        store.set(channel, SamplePhase::Water, water);
        runChannels.removeAll(channel);
        runChannels.append(channel);
        results.writeWaterproofResults(channel, store.at(channel), pinMap.keyNumber(channel));
        emit channelFinished(channel);
    } else if (choice == CaptureChoice::Discard) {
        results.releaseEmptyRow(channel);
    }
    // A retake measures the same channel again, with the water still on the pad.
    const int next = choice == CaptureChoice::Retake ? channel : run.takeNextChannel();
    if (next < 0) {
        finishRun();
    } else {
        chart.clearTestSeries();
        beginChannel(next);
    }
    chart.connectHover();
}

void WaterproofTest::finishRun()
{
    run.finish();
    recorder.stopBoardAfterRun();
    QStringList written;
    QString failedPath;
    const bool exported =
        !exporting || results.exportCsv(exportFolder, QDateTime::currentDateTime(), runChannels,
                                        store, &written, &failedPath);
    runChannels.clear();
    emit runFinished(written);
    // The run's raw counts are its record: a run whose export failed is not reported complete.
    if (!exported) {
        warnWriteFailed(dialogParent, failedPath);
        return;
    }
    if (!written.isEmpty())
        recorder.appendLog(
            tr("防水测试数据已导出：%1").arg(QDir::toNativeSeparators(exportFolder)));
    recorder.warn(tr("所选通道防水测试完成！"));
}
