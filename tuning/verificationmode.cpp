#include "tuning/verificationmode.h"

#include "charts/channelpalette.h"
#include "charts/livechart.h"
#include "charts/livechartview.h"
#include "chip/chip.h"
#include "link/pacing.h"
#include "tuning/tuninglink.h"
#include "tuning/tuningrun.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QtCharts/QChart>

namespace
{
// The curves' window holds the last 132 records, a seventh of a second of a board at its full
// rate: ten pictures a second show all there is to see of it. Twenty-five curves cost a few
// milliseconds a picture, so their pictures are spaced 160 times a picture's cost apart: drawing
// takes at most a 161st of a core, which keeps verification as a whole within 3 % of one.
constexpr int kCurvesFrameMs = 100;
constexpr int kCurvesCostSpacing = 160;
} // namespace

VerificationMode::VerificationMode(LiveChart &chart, TuningRun &run, TuningLink &link,
                                   const Pacing &pacing, QPushButton *switchButton,
                                   const QList<QCheckBox *> &checkBoxes, QWidget *dialogParent,
                                   QObject *parent)
    : QObject(parent), chart(chart), run(run), link(link),
      offSettleMs(pacing.verificationOffSettleMs), switchButton(switchButton),
      checkBoxes(checkBoxes), dialogParent(dialogParent),
      frames([this] { drawCurves(); }, [&chart] { return chart.lastPaintNs(); })
{
    frames.setFrameMs(kCurvesFrameMs);
    frames.setCostSpacing(kCurvesCostSpacing);
    // The pause replaces a sleep on the GUI thread, so the window keeps painting meanwhile.
    recordPause.setSingleShot(true);
    recordPause.setInterval(pacing.verificationRecordPauseMs);
    connect(&recordPause, &QTimer::timeout, this, [this] { finishRecord(true); });
    blockPause.setSingleShot(true);
    blockPause.setInterval(pacing.verificationBlockMs);
    connect(&blockPause, &QTimer::timeout, this, [this] {
        if (verificationActive && !switchingOff)
            this->link.armCheckReaderForBacklog();
    });
}

void VerificationMode::toggle()
{
    if (switchingOff)
        return;
    link.stopDrain();
    chart.rebuild(12, 11);
    if (!link.isOpen()) {
        warn(tr("调试器打开失败！"));
        return;
    }
    if (verificationActive)
        switchOff();
    else
        switchOn();
}

void VerificationMode::switchOn()
{
    const auto answer =
        QMessageBox::warning(dialogParent, tr("验证效果按钮提示"), tr("请确认没有其他操作！"),
                             QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    switchOnConfirmed();
}

void VerificationMode::switchOnConfirmed()
{
    switchButton->setText(tr("停止验证效果"));
    createCurves();
    link.startCheckReader();
    link.armCheckReader();
    // A measurement or a waterproof run keeps its own stream; it must not be restarted under it.
    if (!run.startRefused() && anyCurveSelected) {
        run.start(TuningRun::Kind::Verification);
        (void)link.sendStartCommand();
    }
    verificationActive = true;
    emit activeChanged(true);
}

void VerificationMode::switchOff()
{
    switchingOff = true;
    stopPauses();
    link.disarmCheckReader();
    waitWithoutUserInput(offSettleMs);
    // A record that came in during the wait is drawn, but CheckThread stays idle for the Stop
    // exchange, whose replies are read here.
    stopPauses();
    switchingOff = false;
    frames.flush();
    switch (link.runStopExchange(StopExchange::VerificationOff)) {
    case StopOutcome::Done:
        break;
    case StopOutcome::NoDevice:
        warn(tr("请连接调试器！"));
        return;
    case StopOutcome::WriteFailed:
    case StopOutcome::NotAcknowledged:
        warn(tr("停止验证效果失败！"));
        return;
    }
    markOff();
}

void VerificationMode::markOff()
{
    switchButton->setText(tr("开启验证效果"));
    verificationActive = false;
    emit activeChanged(false);
    if (run.kind() == TuningRun::Kind::Verification)
        run.finish();
    anyCurveSelected = false;
}

bool VerificationMode::endOnReaderFailure()
{
    recordPause.stop();
    blockPause.stop();
    link.disarmCheckReader();
    // A switch-off under way ends verification itself, or reports why it could not.
    if (!verificationActive || switchingOff)
        return false;
    markOff();
    return true;
}

void VerificationMode::handleRecord(const QByteArray &record)
{
    takeRecord(record);
    endDelivery();
}

void VerificationMode::takeRecord(const QByteArray &record)
{
    stopPauses();
    curves.appendRecord(record);
    windowFull = curves.windowOverfull();
    if (windowFull)
        curves.dropOldest();
}

void VerificationMode::endDelivery()
{
    if (windowFull)
        finishRecord(true);
    else
        recordPause.start();
}

void VerificationMode::stopPauses()
{
    blockPause.stop();
    if (recordPause.isActive()) {
        recordPause.stop();
        finishRecord(false);
    }
}

void VerificationMode::clearCurves()
{
    curves.clearHistory();
    frames.request();
}

void VerificationMode::finishRecord(bool mayArm)
{
    frames.request();
    chart.restartCurve();
    if (!mayArm || !verificationActive || switchingOff)
        link.disarmCheckReader();
    else if (windowFull)
        blockPause.start();
    else
        link.armCheckReader();
}

void VerificationMode::createCurves()
{
    if (QtCharts::QChart *current = chart.chart())
        current->removeAllSeries();
    std::array<QColor, chip::kChannelCount> colours;
    for (int k = 0; k < chip::kChannelCount; ++k) {
        colours[k] =
            colourForNextStart[k].isValid() ? colourForNextStart[k] : ChannelPalette::colour(k);
        colourForNextStart[k] = QColor();
    }
    curves.createCurves(colours, [this](QtCharts::QLineSeries *series, const QColor &colour) {
        chart.addChannelSeries(series, colour.red(), colour.green(), colour.blue());
    });
    for (const QCheckBox *box : qAsConst(checkBoxes)) {
        if (box->isChecked())
            anyCurveSelected = true;
    }
}

void VerificationMode::applySwatchColour(int channel, const QColor &colour)
{
    if (channel < 0 || channel >= chip::kChannelCount || !colour.isValid())
        return;
    if (curves.curvesOn(chart.chart()))
        chart.addChannelSeries(curves.curve(channel), colour.red(), colour.green(), colour.blue());
    else
        colourForNextStart[channel] = colour;
}

void VerificationMode::setPaused(bool paused)
{
    if (paused == frames.isHeld())
        return;
    if (LiveChartView *view = chart.chartView())
        view->setNavigable(paused);
    if (!paused) {
        chart.resetView();
        frames.request();
    }
    frames.hold(paused);
}

void VerificationMode::drawCurves()
{
    curves.redraw(tickedChannels(), [this](int value) { chart.widenRange(value); });
}

VerificationPlot::Ticked VerificationMode::tickedChannels() const
{
    VerificationPlot::Ticked ticked{};
    for (int k = 0; k < chip::kChannelCount && k < checkBoxes.size(); ++k)
        ticked[k] = checkBoxes.at(k)->isChecked();
    return ticked;
}

void VerificationMode::waitWithoutUserInput(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void VerificationMode::warn(const QString &text) const
{
    QMessageBox::warning(dialogParent, tr("提示"), text);
}
