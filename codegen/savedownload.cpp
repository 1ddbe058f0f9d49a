#include "codegen/savedownload.h"

#include "codegen/buildscript.h"
#include "codegen/question.h"
#include "codegen/sourcegenerator.h"
#include "link/debuggerlink.h"
#include "link/pacing.h"
#include "project/keynumbercheck.h"
#include "project/pinmapsource.h"
#include "tuning/resultstable.h"
#include "tuning/tuningrun.h"
#include "tuning/tuningsession.h"

#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QThread>

SaveDownload::SaveDownload(QWidget *dialogParent, TuningSession &session, DebuggerLink &link,
                           const Pacing &pacing, QPlainTextEdit *log, const PinMapSource &pins,
                           const QString &applicationDir, QObject *parent)
    : QObject(parent), dialogParent(dialogParent), session(session), link(link),
      settleMs(pacing.saveDownloadSettleMs), log(log), pins(pins), applicationDir(applicationDir)
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
    const TuningRun &run = session.run();
    // A countdown, a measurement, a waterproof run or verification holds the board: stopping it
    // from here would lose the channel under way.
    if (run.startRefused()) {
        QMessageBox::warning(dialogParent, tr("提示"), tr("正在调试请勿点击！"));
        return;
    }
    // Refused before the board is stopped or a file is touched.
    if (KeyNumberCheck::refuseForFirmware(dialogParent, pins))
        return;
    if (run.sampling() || run.autoSequence()) {
        if (QMessageBox::warning(dialogParent, tr("提示"), tr("请确认是否已经停止测试！"),
                                 QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
            return;
    }
    // A folder that cmd would read wrongly is refused before anything is asked or touched.
    if (!BuildScript::checkPathFitsScript(dialogParent, testFolder()))
        return;
    // Where the build cannot run, the user hears it before anything is asked or touched; the
    // board keeps its firmware then, and with it the results stay.
    const bool builds = BuildScript::checkScriptCanRun(dialogParent, testFolder());
    QString snapshot;
    if (builds && !keepResultsFirst(&snapshot))
        return;
    if (!stopBoard() || !rewriteTestProject())
        return;
    if (!builds) {
        log->appendPlainText(tr("测试工程已改写，未编译和下载，调试结果保留：%1")
                                 .arg(QDir::toNativeSeparators(testFolder())));
        return;
    }
    dropFinishedBuilds();
    const BuildScript::Run build =
        BuildScript::startBuildScript(this, testFolder() + QLatin1Char('/'));
    // The results go once the new firmware is being built: a failed rewrite or build leaves the
    // board with the firmware they were measured on. Rows are handed out again from row 0.
    if (build.outcome == BuildScript::Run::Outcome::Succeeded ||
        build.outcome == BuildScript::Run::Outcome::StillRunning) {
        log->setPlainText(QString());
        session.clearResults();
    }
    if (!snapshot.isEmpty())
        log->appendPlainText(tr("调试结果已另存为 %1").arg(snapshot));
    BuildScript::reportRun(dialogParent, log, build);
}

bool SaveDownload::rewriteTestProject()
{
    const QString folder = testFolder();
    const QStringList rows = SourceGenerator::channelConfigRows(pins);
    if (!SourceGenerator::rewriteChannelCount(dialogParent,
                                              folder + QLatin1String("/User/H/TouchKeyScan.h"),
                                              rows.size(), tr("写头文件失败！")))
        return false;
    if (!SourceGenerator::rewriteChannelTable(
            dialogParent, folder + QLatin1String("/User/C/TouchKeyScan.c"), rows))
        return false;
    // The project directory as the script wants it: native separators, then a forward slash.
    return BuildScript::prepareBuildScript(dialogParent, folder + QLatin1Char('/'),
                                           QDir::toNativeSeparators(folder) + QLatin1Char('/'));
}

bool SaveDownload::keepResultsFirst(QString *snapshot)
{
    const int measured = session.results().filledRowCount();
    if (measured == 0)
        return true;
    if (!askToGoOn(dialogParent,
                   tr("保存并下载将清除当前 %1 个通道的调试结果，是否继续？").arg(measured),
                   tr("继续")))
        return false;
    // What was measured is on disk before the table is cleared, and stays there after the next
    // save of the project.
    if (saveProject && !saveProject())
        return false;
    if (keepSnapshot) {
        *snapshot = keepSnapshot();
        return !snapshot->isEmpty();
    }
    return true;
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

void SaveDownload::dropFinishedBuilds()
{
    const QList<QProcess *> builds =
        findChildren<QProcess *>(QString(), Qt::FindDirectChildrenOnly);
    for (QProcess *build : builds) {
        if (build->state() == QProcess::NotRunning)
            delete build;
    }
}
