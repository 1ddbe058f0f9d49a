#include "production/productionline.h"

#include "production/operatorview.h"
#include "production/productionlog.h"
#include "tuning/tuninglink.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

ProductionLine::ProductionLine(TuningLink &link, const Pacing &pacing, OperatorView &view,
                               QWidget *dialogParent, QObject *parent)
    : QObject(parent), link(link), view(view), dialogParent(dialogParent), run(link, pacing)
{
    connect(&run, &BoardRun::finished, this, &ProductionLine::finished);
    connect(&run, &BoardRun::repeated, this, &ProductionLine::repeated);
    connect(&run, &BoardRun::phaseChanged, this, &ProductionLine::phaseChanged);
    connect(&run, &BoardRun::keyLit, this, [this](int channel) {
        this->view.picture()->setState(channel, PanelPicture::State::Lit);
        for (const BoardRun::Key &key : qAsConst(testedKeys)) {
            if (key.channel == channel)
                this->view.showVerdict(OperatorView::Verdict::Testing,
                                       tr("板 %1：请触摸按键 %2（TK%3）")
                                           .arg(run.record().board)
                                           .arg(key.keyNumber)
                                           .arg(channel));
        }
    });
    connect(&run, &BoardRun::keyJudged, this, [this](int channel, bool ok) {
        this->view.picture()->setState(channel, ok ? PanelPicture::State::Passed
                                                   : PanelPicture::State::Failed);
    });
    connect(&view, &OperatorView::startRequested, this, &ProductionLine::startBoard);
    connect(&view, &OperatorView::abortRequested, this, &ProductionLine::abortBoard);
}

QString ProductionLine::logPath() const
{
    const QString folder = projectFolder ? projectFolder() : QString();
    const QString name = projectName ? projectName() : QString();
    if (folder.isEmpty() || name.isEmpty())
        return QString();
    return QDir(folder).filePath(ProductionLog::fileName(name, QDate::currentDate()));
}

void ProductionLine::refreshLog()
{
    readPath = logPath();
    readError.clear();
    QVector<BoardRecord> records;
    unreadLines = 0;
    nextNumber = 1;
    // A log not there yet is a day without boards; one that cannot be read stops the next start.
    if (!readPath.isEmpty() && QFileInfo::exists(readPath))
        (void)ProductionLog::read(readPath, &records, &readError, &unreadLines, &nextNumber);
    logged = int(records.size());
    passed = int(std::count_if(records.cbegin(), records.cend(),
                               [](const BoardRecord &r) { return r.passed; }));
    view.setNextBoard(nextNumber);
    showSummary();
}

void ProductionLine::showSummary()
{
    if (readPath.isEmpty()) {
        view.setSummary(QString());
        return;
    }
    QString summary = tr("今日记录 %1：%2 块，合格 %3，不合格 %4")
                          .arg(QDir::toNativeSeparators(readPath))
                          .arg(logged)
                          .arg(passed)
                          .arg(logged - passed);
    if (unreadLines > 0)
        summary += tr("（%1 行无法读取）").arg(unreadLines);
    view.setSummary(summary);
}

QString ProductionLine::refusal() const
{
    if (boardBusy && boardBusy())
        return tr("调试、验证或回放正在进行，请先停止");
    if (logPath().isEmpty() || !QFileInfo(projectFolder()).isDir())
        return tr("请先在设置页选择工程路径并填写工程名");
    if (testedKeys.isEmpty())
        return tr("工程中没有使用的按键");
    QStringList unlimited;
    QStringList inverted;
    for (const BoardRun::Key &key : testedKeys) {
        if (!key.limits.noTouchLow && !key.limits.noTouchHigh && !key.limits.maxNoise)
            unlimited << QStringLiteral("TK%1").arg(key.channel);
        if (ProductionLimits::isInverted(key.limits))
            inverted << ProductionLimits::invertedText(key.channel, key.limits);
    }
    // No board passes such a window: every one would be failed for nothing.
    if (!inverted.isEmpty())
        return tr("以下按键的无触摸值下限高于上限，请在量产限值页改正：%1")
            .arg(inverted.join(tr("、")));
    // A key with nothing to hold it to would pass every board.
    if (!unlimited.isEmpty())
        return tr("以下按键没有限值，请先调试或在量产限值页填写：%1").arg(unlimited.join(tr("、")));
    return QString();
}

void ProductionLine::startBoard()
{
    if (run.isRunning())
        return;
    testedKeys = keys ? keys() : QVector<BoardRun::Key>();
    const QString refused = refusal();
    if (!refused.isEmpty()) {
        view.showVerdict(OperatorView::Verdict::Stopped, refused);
        return;
    }
    const QString path = logPath();
    QString error;
    if (!ProductionLog::checkWritable(path, &error)) {
        stopLine(error);
        return;
    }
    if (!link.isOpen()) {
        view.showVerdict(OperatorView::Verdict::Stopped, tr("调试器无连接"));
        return;
    }
    if (path != readPath || !readError.isEmpty())
        refreshLog();
    // Numbers counted past a log that cannot be read would repeat the day's boards.
    if (!readError.isEmpty()) {
        stopLine(readError);
        return;
    }
    const QString typed = view.typedBoard();
    const QString board = typed.isEmpty() ? QString::number(nextNumber) : typed;
    QVector<PanelPicture::Key> pictured;
    for (const BoardRun::Key &key : qAsConst(testedKeys))
        pictured.append({key.channel, key.keyNumber, PanelPicture::State::Waiting});
    view.picture()->setKeys(pictured);
    view.setReasons({});
    if (!run.start(board, testedKeys, touchTest && touchTest(),
                   touchSeconds ? touchSeconds() : 5)) {
        view.showVerdict(OperatorView::Verdict::Stopped, tr("调试器无连接"));
        return;
    }
    if (run.isRunning()) {
        readerUsed = true;
        view.setRunning(true);
        phaseChanged();
    }
}

void ProductionLine::abortBoard() { run.abort(tr("已中止")); }

void ProductionLine::phaseChanged()
{
    if (run.phase() == BoardRun::Phase::Settling || run.phase() == BoardRun::Phase::Capturing)
        view.showVerdict(OperatorView::Verdict::Testing,
                         tr("板 %1：无触摸采集中，请勿触摸").arg(run.record().board));
}

void ProductionLine::finished(const BoardRecord &record)
{
    view.setRunning(false);
    QStringList shown;
    for (const QString &reason : record.reasons)
        shown << BoardFailure::shown(reason);
    view.setReasons(shown);
    QList<int> channels;
    for (const BoardRun::Key &key : qAsConst(testedKeys))
        channels << key.channel;
    std::sort(channels.begin(), channels.end());
    QString error;
    if (!ProductionLog::append(logPath(), record, channels, &error)) {
        stopLine(tr("板 %1 的结果未能记录，修复后请重测此板。%2").arg(record.board, error));
        return;
    }
    ++logged;
    passed += record.passed ? 1 : 0;
    // A typed number moves the count as the log's lines do when it is read again.
    if (const std::optional<int> number = ProductionLog::plainNumber(record.board))
        nextNumber = std::max(nextNumber, *number + 1);
    view.clearTypedBoard();
    view.setNextBoard(nextNumber);
    showSummary();
    view.showVerdict(record.passed ? OperatorView::Verdict::Pass : OperatorView::Verdict::Fail,
                     tr("板 %1").arg(record.board));
    emit boardLogged(record);
}

void ProductionLine::repeated(const QString &why)
{
    view.setRunning(false);
    view.showVerdict(OperatorView::Verdict::Repeat,
                     tr("板 %1 未判定，请重测：%2").arg(run.record().board, why));
}

void ProductionLine::stopLine(const QString &why)
{
    view.showVerdict(OperatorView::Verdict::Stopped, why);
    QMessageBox::warning(dialogParent, tr("量产记录无法写入"),
                         tr("%1\n\n停线：在记录能写入之前不测试任何板。").arg(why));
}

bool ProductionLine::handleRecord(const QByteArray &record, int crcFailed)
{
    if (!run.isRunning())
        return false;
    run.handleRecord(record, crcFailed);
    return true;
}

bool ProductionLine::readerFailed(const QString &text)
{
    if (run.isRunning()) {
        run.readerFailed(text);
        return true;
    }
    // A failure the reader sent before a board ended (the cable pulled, seen first as the
    // debugger's removal) arrives afterwards: it is the line's, unless a test has the reader now.
    return readerUsed && !(boardBusy && boardBusy());
}
