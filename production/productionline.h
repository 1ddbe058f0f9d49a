#ifndef PRODUCTIONLINE_H
#define PRODUCTIONLINE_H

#include "link/pacing.h"
#include "production/boardrun.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>

class OperatorView;
class ProductionLimits;
class QWidget;
class TuningLink;

// The line at the fixture: on the operator's start the next board is tested against the project's
// limits, its verdict shown, and its line appended to the day's production log before another
// board may start. A log that cannot be written stops the line; a board whose debugger failed
// under it is neither passed nor failed, and is tested again.
class ProductionLine : public QObject
{
    Q_OBJECT

public:
    ProductionLine(TuningLink &link, const Pacing &pacing, OperatorView &view,
                   QWidget *dialogParent, QObject *parent = nullptr);

    // The project's name and folder, where the log goes.
    std::function<QString()> projectName;
    std::function<QString()> projectFolder;
    // The keys in use with their limits, in the order they are to be touched, and the rule's
    // touch test and seconds.
    std::function<QVector<BoardRun::Key>()> keys;
    std::function<bool()> touchTest;
    std::function<int()> touchSeconds;
    // Something else holds the board (a test, verification, a replay): no board may start.
    std::function<bool()> boardBusy;

    // The operator's start; refused with its reason on the view while a board is under test or
    // the line cannot run.
    void startBoard();
    void abortBoard();
    bool isRunning() const { return run.isRunning(); }
    // The day's log of the open project.
    QString logPath() const;
    BoardRun &boardRun() { return run; }

    // Records and reader failures while a board is under test; false when none is, and the
    // tuning gets them. A failure after the line's last board, with no test running, is the
    // board's late one, and taken.
    bool handleRecord(const QByteArray &record, int crcFailed);
    bool readerFailed(const QString &text);
    void linkLost() { run.linkLost(); }
    // Reads the day's log again: the next board's number and the day's figures.
    void refreshLog();

signals:
    // A board's line is on the disk.
    void boardLogged(const BoardRecord &record);

private:
    QString refusal() const;
    void finished(const BoardRecord &record);
    void repeated(const QString &why);
    void phaseChanged();
    void stopLine(const QString &why);
    void showSummary();

    TuningLink &link;
    OperatorView &view;
    QWidget *dialogParent;
    BoardRun run;
    QVector<BoardRun::Key> testedKeys;
    // The day's log as last read or written: its path, its boards and how many passed.
    QString readPath;
    QString readError;
    int unreadLines = 0;
    int logged = 0;
    int passed = 0;
    int nextNumber = 1;
    // A board has armed the reader since the window opened.
    bool readerUsed = false;
};

#endif // PRODUCTIONLINE_H
