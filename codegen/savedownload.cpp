#include "codegen/savedownload.h"

#include "codegen/buildscript.h"
#include "codegen/question.h"
#include "codegen/sourcegenerator.h"
#include "link/debuggerlink.h"
#include "link/pacing.h"
#include "project/keynumbercheck.h"
#include "project/pinmapsource.h"
#include "quality/channelsamples.h"
#include "tuning/resultstable.h"
#include "tuning/tuningrun.h"

#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QThread>

SaveDownload::SaveDownload(QWidget *dialogParent, TuningRun &run, DebuggerLink &link,
                           const Pacing &pacing, QPlainTextEdit *log, ResultsTable &results,
                           SampleStore &samples, const PinMapSource &pins,
                           const QString &applicationDir, QObject *parent)
    : QObject(parent), dialogParent(dialogParent), tuningRun(run), link(link),
      settleMs(pacing.saveDownloadSettleMs), log(log), results(results), samples(samples),
      pins(pins), applicationDir(applicationDir)
{
}

QString SaveDownload::testFolder() const
{
    return applicationDir + QLatin1String("/RM3KV5172_Touch_Test");
}

void SaveDownload::run()
{
    if (saveDownloadBusy) {
        QMessageBox::warning(dialogParent, tr("提示"), tr("请稍等正在打开工程！"));
        return;
    }
    saveDownloadBusy = true;
    runSteps();
    // Cleared on every path, the finished build included, so the button works again.
    saveDownloadBusy = false;
}

void SaveDownload::runSteps()
{
    // A countdown, a measurement, a waterproof run or verification holds the board: stopping it
    // from here would lose the channel under way.
    if (tuningRun.startRefused()) {
        QMessageBox::warning(dialogParent, tr("提示"), tr("正在调试请勿点击！"));
        return;
    }
    // Refused before the board is stopped or a file is touched.
    if (KeyNumberCheck::warn(dialogParent, pins))
        return;
    if (tuningRun.sampling() || tuningRun.autoSequence()) {
        if (QMessageBox::warning(dialogParent, tr("提示"), tr("请确认是否已经停止测试！"),
                                 QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
            return;
    }
    // A folder that cmd would read wrongly is refused before anything is asked or touched.
    if (!BuildScript::checkPathFitsScript(dialogParent, testFolder()))
        return;
    if (!keepResultsFirst())
        return;
    // Where the build cannot run, the user hears it before anything is touched.
    (void)BuildScript::checkScriptCanRun(dialogParent, testFolder());
    if (!stopBoard())
        return;

    const QString folder = testFolder();
    const QStringList rows = SourceGenerator::channelConfigRows(pins);
    if (!SourceGenerator::rewriteChannelCount(dialogParent,
                                              folder + QLatin1String("/User/H/TouchKeyScan.h"),
                                              rows.size(), tr("写头文件失败！")))
        return;
    if (!SourceGenerator::rewriteChannelTable(
            dialogParent, folder + QLatin1String("/User/C/TouchKeyScan.c"), rows))
        return;
    // The project directory as the script wants it: native separators, then a forward slash.
    if (!BuildScript::prepareBuildScript(dialogParent, folder + QLatin1Char('/'),
                                         QDir::toNativeSeparators(folder) + QLatin1Char('/')))
        return;
    // The results go only once the new firmware's sources are complete: a failed rewrite leaves
    // the user with everything measured so far.
    resetTuning();
    dropFinishedBuilds();
    BuildScript::reportRun(dialogParent, log,
                           BuildScript::startBuildScript(this, folder + QLatin1Char('/')));
}

bool SaveDownload::keepResultsFirst()
{
    const int measured = results.filledRowCount();
    if (measured == 0)
        return true;
    if (!askToGoOn(dialogParent,
                   tr("保存并下载将清除当前 %1 个通道的调试结果，是否继续？").arg(measured),
                   tr("继续")))
        return false;
    // What was measured is on disk before the table is cleared.
    return !saveProject || saveProject();
}

// The reader is kept from taking the acknowledgements, then Stop is sent until acknowledged.
bool SaveDownload::stopBoard()
{
    link.disarmReader();
    QThread::msleep(settleMs);
    switch (link.runStopExchange(StopExchange::SaveDownload)) {
    case StopOutcome::Done:
        return true;
    case StopOutcome::NoDevice:
        QMessageBox::warning(dialogParent, tr("提示"), tr("请连接调试器！"));
        return false;
    case StopOutcome::WriteFailed:
    case StopOutcome::NotAcknowledged:
        break;
    }
    QMessageBox::warning(dialogParent, tr("提示"), tr("保存下载失败！"));
    return false;
}

// Results rows are handed out again from row 0 after the new firmware is on the board.
void SaveDownload::resetTuning()
{
    log->setPlainText(QString());
    results.clearResults();
    samples.clear();
    tuningRun.clearQueue();
}

void SaveDownload::dropFinishedBuilds()
{
    const QList<QProcess *> builds =
        findChildren<QProcess *>(QString(), Qt::FindDirectChildrenOnly);
    for (QProcess *build : builds) {
        if (build->state() == QProcess::NotRunning)
            delete build;
    }
}
