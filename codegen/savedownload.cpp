#include "codegen/savedownload.h"

#include "codegen/buildscript.h"
#include "codegen/sourcegenerator.h"
#include "link/debuggerlink.h"
#include "link/readthread.h"
#include "tuning/pinmapsource.h"
#include "tuning/tuningstate.h"

#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTableWidget>
#include <QThread>

#include <algorithm>
#include <iterator>

SaveDownload::SaveDownload(QWidget *dialogParent, TuningState &state, DebuggerLink &link,
                           ReadThread *readThread, QPlainTextEdit *log, QTableWidget *results,
                           const PinMapSource &pins, const QString &applicationDir, QObject *parent)
    : QObject(parent), dialogParent(dialogParent), state(state), link(link), readThread(readThread),
      log(log), results(results), pins(pins), applicationDir(applicationDir)
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
    // Where the build cannot run, the user hears it before anything is touched.
    BuildScript::checkScriptCanRun(dialogParent, testFolder());
    runSteps();
    // Cleared on every path, the finished build included, so the button works again.
    saveDownloadBusy = false;
}

void SaveDownload::runSteps()
{
    if (state.testBusy || state.sampling) {
        if (QMessageBox::warning(dialogParent, tr("提示"), tr("请确认是否已经停止测试！"),
                                 QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
            return;
    }
    if (!stopBoard())
        return;
    resetTuning();

    const QString folder = testFolder();
    const QStringList rows = SourceGenerator::channelConfigRows(pins);
    if (!SourceGenerator::rewriteChannelCount(dialogParent,
                                              folder + QLatin1String("/User/H/TouchKeyScan.h"),
                                              rows.size(), tr("写头文件失败！")))
        return;
    if (!SourceGenerator::rewriteChannelTable(
            dialogParent, folder + QLatin1String("/User/C/TouchKeyScan.c"), rows))
        return;
    dropFinishedBuilds();
    // The project directory as the script wants it: native separators, then a forward slash.
    (void)BuildScript::runBuildScript(dialogParent, this, folder + QLatin1Char('/'),
                                      QDir::toNativeSeparators(folder) + QLatin1Char('/'));
}

// The reader is kept from taking the acknowledgements, then Stop is sent until acknowledged.
bool SaveDownload::stopBoard()
{
    if (readThread)
        readThread->disarm();
    QThread::msleep(kSettleMs);
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
    std::fill(std::begin(state.testedChannels), std::end(state.testedChannels), 0);
    log->setPlainText(QString());
    results->clearContents();
    std::fill(std::begin(state.selectedChannels), std::end(state.selectedChannels), 0);
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
