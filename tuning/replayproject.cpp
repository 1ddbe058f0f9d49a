#include "tuning/replayproject.h"

#include "tuning/tuningsession.h"

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

struct ReplayProject::Stash
{
    TuningSession::SavedResults results;
};

ReplayProject::ReplayProject(TuningSession &session, QPlainTextEdit *log, QWidget *dialogParent,
                             QObject *parent)
    : QObject(parent), session(session), log(log), dialogParent(dialogParent)
{
}

ReplayProject::~ReplayProject() = default;

bool ReplayProject::begin(const QVector<RecordedRecord> &records)
{
    QList<int> measured;
    for (const RecordedRecord &record : records) {
        if (record.channel >= 0 && record.kind != RecordedRecord::Kind::End &&
            !measured.contains(record.channel))
            measured << record.channel;
    }
    std::sort(measured.begin(), measured.end());
    const QList<int> inUse = session.recorder().channelsInUse();
    QStringList foreign;
    for (int channel : qAsConst(measured)) {
        if (!inUse.contains(channel))
            foreign << QStringLiteral("TK%1").arg(channel);
    }
    const Choice choice = session.hasResults() || !foreign.isEmpty()
                              ? ask(session.results().filledRowCount(), foreign)
                              : Choice::Project;
    if (choice == Choice::Cancel)
        return false;
    if (choice == Choice::Scratch) {
        stashed = std::make_unique<Stash>(Stash{session.saveResults()});
        log->appendPlainText(tr("回放到临时工程：回放的结果不保存，结束回放后恢复本工程的结果"));
    } else if (session.hasResults() && keepSnapshot) {
        const QString copy = keepSnapshot();
        if (copy.isEmpty())
            return false;
        log->appendPlainText(tr("调试结果已另存为 %1").arg(copy));
    }
    // The replay's runs start from nothing, as the recorded ones did on their board; its
    // waterproof runs export nothing, since the recording holds their counts already.
    session.clearResults();
    session.waterproof().setExporting(false);
    return true;
}

void ReplayProject::end()
{
    session.waterproof().setExporting(true);
    if (!stashed)
        return;
    session.restoreResults(stashed->results);
    stashed.reset();
    log->appendPlainText(tr("已恢复本工程的调试结果"));
}

ReplayProject::Choice ReplayProject::ask(int resultRows, const QStringList &foreignChannels) const
{
    QStringList reasons;
    if (resultRows > 0)
        reasons << tr("结果表中已有 %1 个通道的调试结果。").arg(resultRows);
    else if (session.hasResults())
        reasons << tr("本工程有未列入结果表的采样。");
    if (!foreignChannels.isEmpty())
        reasons << tr("录制文件中的 %1 不是本工程使用的通道，回放会为它们新建结果行。")
                       .arg(foreignChannels.join(tr("、")));
    const bool replacing = session.hasResults();
    QString text = reasons.join(QLatin1Char('\n')) + QLatin1String("\n\n") +
                   tr("回放到临时工程：回放的结果不保存，结束回放后恢复本工程的结果。");
    text += QLatin1Char('\n') +
            (replacing ? tr("替换当前结果：当前结果先另存为带日期的工程文件，再由回放的结果替换。")
                       : tr("回放到本工程：回放的结果写入本工程。"));
    QMessageBox box(QMessageBox::Warning, tr("提示"), text, QMessageBox::NoButton, dialogParent);
    QPushButton *scratch = box.addButton(tr("回放到临时工程"), QMessageBox::AcceptRole);
    QPushButton *project =
        box.addButton(replacing ? tr("替换当前结果") : tr("回放到本工程"), QMessageBox::ApplyRole);
    QPushButton *cancel = box.addButton(tr("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(scratch);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == scratch)
        return Choice::Scratch;
    return box.clickedButton() == project ? Choice::Project : Choice::Cancel;
}
