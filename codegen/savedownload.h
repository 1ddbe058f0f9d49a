#ifndef SAVEDOWNLOAD_H
#define SAVEDOWNLOAD_H

#include <QObject>
#include <QString>

#include <functional>

class DebuggerLink;
struct Pacing;
class PinMapSource;
class QPlainTextEdit;
class QWidget;
class TuningSession;

// Save & Download: quiets the board, writes the project's channel list into the test template's
// sources and runs its build script, which rebuilds the test firmware with the uVision command
// line; once it ran, the tuning starts afresh, the results measured on the old firmware kept in
// a dated copy of the project. Where the script cannot run, the sources are only rewritten and
// the results stay. The started script processes are children of this object.
class SaveDownload : public QObject
{
    Q_OBJECT

public:
    // applicationDir holds the test template folder "RM3KV5172_Touch_Test"; the pause after the
    // reader is disarmed, before the Stop exchange, follows pacing.
    SaveDownload(QWidget *dialogParent, TuningSession &session, DebuggerLink &link,
                 const Pacing &pacing, QPlainTextEdit *log, const PinMapSource &pins,
                 const QString &applicationDir, QObject *parent = nullptr);

    // One click of the button; a click while a previous one is still under way is refused.
    void run();
    bool isBusy() const { return saveDownloadBusy; }

    QString testFolder() const;

    // Saves the project file with its results and samples, as closing the window does; run
    // before measured results are cleared. Reports its own failure.
    std::function<bool()> saveProject;
    // Keeps the results as a dated copy of the project beside it and returns that project
    // file's name; empty after its failure was reported. None when unset.
    std::function<QString()> keepSnapshot;

private:
    void runSteps();
    // With results on the table: asks before they are cleared and keeps them first, in the
    // project and in its dated copy, whose file name goes to snapshot. True to go on.
    bool keepResultsFirst(QString *snapshot);
    bool stopBoard();
    bool rewriteTestProject();
    void dropFinishedBuilds();

    QWidget *dialogParent;
    TuningSession &session;
    DebuggerLink &link;
    const int settleMs;
    QPlainTextEdit *log;
    const PinMapSource &pins;
    QString applicationDir;
    bool saveDownloadBusy = false;
};

#endif // SAVEDOWNLOAD_H
