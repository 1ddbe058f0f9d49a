#ifndef LOGHISTORY_H
#define LOGHISTORY_H

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>

class QPlainTextEdit;
class QWidget;

// Every line the log pane showed in this session with the time it was written, whoever wrote it;
// a pane cleared for a new run leaves its lines here. "保存日志…" writes them all, with their
// times, to <name>_<yyyy-MM-dd-HH-mm-ss>_log.txt beside the project.
class LogHistory : public QObject
{
    Q_OBJECT

public:
    struct Line
    {
        QDateTime time;
        QString text;
        // The pane was cleared here; text is empty.
        bool cleared = false;
    };

    explicit LogHistory(QPlainTextEdit *log, QObject *parent = nullptr);

    const QVector<Line> &lines() const { return kept; }
    static QString fileName(const QString &projectName, const QDateTime &at);
    // The file's bytes: UTF-8 with its mark, one line per log line after its time, Windows line
    // ends.
    QByteArray fileText() const;
    // Writes the session's log into folder and says where in the log; a file that cannot be
    // written is reported.
    void saveInto(const QString &folder, const QString &projectName, QWidget *dialogParent);
    // The clock of the lines and of the file's name; the system's unless replaced.
    std::function<QDateTime()> now = &QDateTime::currentDateTime;

private:
    void documentChanged(int position, int removed, int added);

    QPlainTextEdit *log;
    QVector<Line> kept;
    bool paneHoldsLines = false;
};

#endif // LOGHISTORY_H
