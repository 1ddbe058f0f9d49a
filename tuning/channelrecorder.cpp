#include "tuning/channelrecorder.h"

#include "charts/channelindicators.h"
#include "charts/livechart.h"
#include "chip/chip.h"
#include "link/pacing.h"
#include "project/pinmapsource.h"
#include "tuning/tuninglink.h"
#include "tuning/tuningrun.h"

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>

ChannelRecorder::ChannelRecorder(TuningRun &run, LiveChart &chart, ChannelIndicators &indicators,
                                 PinMapSource &pinMap, TuningLink &link, const Pacing &pacing,
                                 QPlainTextEdit *log, QWidget *dialogParent, QObject *parent)
    : QObject(parent), run(run), chart(chart), indicators(indicators), pinMap(pinMap), link(link),
      rearmPauseMs(pacing.rearmPauseMs), log(log), dialogParent(dialogParent)
{
    // A timer rather than a sleep, so the window keeps painting between records. It is set a
    // little short and the last fraction of the pause is slept, so that the timer's lateness
    // does not add to every one of the 324 records of a test.
    rearmTimer.setSingleShot(true);
    rearmTimer.setTimerType(Qt::PreciseTimer);
    rearmTimer.setInterval(rearmPauseMs - 1);
    connect(&rearmTimer, &QTimer::timeout, this, [this] {
        if (recordArrival.isValid()) {
            const qint64 leftUs = rearmPauseMs * 1000 - recordArrival.nsecsElapsed() / 1000;
            if (leftUs > 0)
                QThread::usleep(static_cast<unsigned long>(leftUs));
        }
        if (!this->run.halted())
            this->link.armReader();
    });
}

bool ChannelRecorder::take(const QByteArray &record, int crcFailed)
{
    recordArrival.start();
    const int value =
        crcFailed == 0 ? chip::channelReading(record.constData(), record.size(), run.channel())
                       : -1;
    if (value >= 0) {
        run.addSample(value, recordCounts(record));
        chart.widenRange(value);
    } else if (crcFailed == 0) {
        chart.widenRange(0);
    }
    chart.appendTestPoint(run.sampleCount() > 0 ? run.samples().last() : -1);
    if (run.halted())
        chart.restartCurve();
    // Only a counted record can end a phase: a bad one right after a phase switch would start
    // that switch a second time.
    if (value < 0 && !run.halted())
        scheduleRearm();
    return value >= 0;
}

QList<int> ChannelRecorder::channelsInUse() const
{
    QList<int> channels;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (pinMap.channelInUse(channel) == 1)
            channels << channel;
    }
    return channels;
}

void ChannelRecorder::beginChannel(int channel) { run.beginChannel(channel); }

void ChannelRecorder::showKeyMeasured()
{
    if (QPushButton *key = indicators.keyButton(run.channel()))
        key->setStyleSheet(ChannelIndicators::greenKeyStyle());
}

void ChannelRecorder::endChannelSampling()
{
    link.stopBlink();
    showKeyMeasured();
    run.endChannel();
    run.clearSamples();
    chart.restartCurve();
}

void ChannelRecorder::stopBoardAfterRun()
{
    if (link.isOpen())
        (void)link.runStopExchange(StopExchange::EndOfRun);
}

void ChannelRecorder::scheduleRearm() { rearmTimer.start(); }

void ChannelRecorder::cancelRearm() { rearmTimer.stop(); }

void ChannelRecorder::appendLog(const QString &line) const { log->appendPlainText(line); }

void ChannelRecorder::warn(const QString &text) const
{
    QMessageBox::warning(dialogParent, QCoreApplication::translate("ChannelTestSequencer", "提示"),
                         text);
}

CaptureChoice ChannelRecorder::askAboutCapture(const QString &doubt,
                                              const QString &question) const
{
    if (doubt.isEmpty())
        return CaptureChoice::Keep;
    const QString text = question.arg(doubt);
    QMessageBox box(QMessageBox::Warning, tr("提示"), text, QMessageBox::NoButton, dialogParent);
    QPushButton *retake = box.addButton(tr("重新测量"), QMessageBox::AcceptRole);
    QPushButton *keep = box.addButton(tr("保留此结果"), QMessageBox::ApplyRole);
    QPushButton *discard = box.addButton(tr("放弃"), QMessageBox::RejectRole);
    box.setDefaultButton(retake);
    box.setEscapeButton(discard);
    box.exec();
    QPushButton *chosen = discard;
    if (box.clickedButton() == retake || box.clickedButton() == keep)
        chosen = static_cast<QPushButton *>(box.clickedButton());
    appendLog(text + tr("已选择：%1").arg(chosen->text()));
    return chosen == retake ? CaptureChoice::Retake
           : chosen == keep ? CaptureChoice::Keep
                            : CaptureChoice::Discard;
}

QString ChannelRecorder::segmentPlace(int channel) const
{
    const QVector<SliderDefinition> sliders = pinMap.sliders();
    const auto place = SliderDefinition::placeOf(sliders, channel);
    return place ? sliders.at(place->first).placeName(place->second) : QString();
}
