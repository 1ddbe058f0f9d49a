#include "tuning/loghistory.h"

#include "project/writefailure.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>

namespace
{
// Marks a block of the pane whose line is kept already.
class KeptMark : public QTextBlockUserData
{
};
} // namespace

LogHistory::LogHistory(QPlainTextEdit *log, QObject *parent) : QObject(parent), log(log)
{
    connect(log->document(), &QTextDocument::contentsChange, this, &LogHistory::documentChanged);
}

void LogHistory::documentChanged(int position, int, int added)
{
    QTextDocument *document = log->document();
    const QDateTime time = now();
    if (document->isEmpty()) {
        if (paneHoldsLines)
            kept.append({time, QString(), true});
        paneHoldsLines = false;
        return;
    }
    // A line appended is a block without a mark, at or after the change's start.
    for (QTextBlock block = document->findBlock(position);
         block.isValid() && block.position() <= position + added; block = block.next()) {
        if (block.userData())
            continue;
        block.setUserData(new KeptMark);
        kept.append({time, block.text(), false});
        paneHoldsLines = true;
    }
}

QString LogHistory::fileName(const QString &projectName, const QDateTime &at)
{
    return projectName + QLatin1Char('_') + at.toString(QStringLiteral("yyyy-MM-dd-HH-mm-ss")) +
           QStringLiteral("_log.txt");
}

QByteArray LogHistory::fileText() const
{
    QString text;
    for (const Line &line : kept) {
        text += line.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) +
                QStringLiteral("  ") + (line.cleared ? tr("—— 日志窗口已清空 ——") : line.text) +
                QStringLiteral("\r\n");
    }
    // The mark tells Windows' editors that the file is UTF-8.
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

void LogHistory::saveInto(const QString &folder, const QString &projectName, QWidget *dialogParent)
{
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(fileName(projectName, now()));
    QSaveFile file(path);
    const QByteArray bytes = fileText();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        warnWriteFailed(dialogParent, path);
        return;
    }
    log->appendPlainText(tr("日志已保存：%1").arg(QDir::toNativeSeparators(path)));
}
