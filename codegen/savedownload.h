#ifndef SAVEDOWNLOAD_H
#define SAVEDOWNLOAD_H

#include <QObject>
#include <QString>

class DebuggerLink;
struct Pacing;
class PinMapSource;
class QPlainTextEdit;
class QWidget;
class ResultsTable;
class SampleStore;
class TuningRun;

// Save & Download: quiets the board, starts the tuning afresh, writes the project's channel list
// into the test template's sources and runs its build script, which rebuilds the test firmware
// with the uVision command line. The started script processes are children of this object.
class SaveDownload : public QObject
{
    Q_OBJECT

public:
    // applicationDir holds the test template folder "RM3KV5172_Touch_Test"; the pause after the
    // reader is disarmed, before the Stop exchange, follows pacing.
    SaveDownload(QWidget *dialogParent, TuningRun &run, DebuggerLink &link, const Pacing &pacing,
                 QPlainTextEdit *log, ResultsTable &results, SampleStore &samples,
                 const PinMapSource &pins, const QString &applicationDir,
                 QObject *parent = nullptr);

    // One click of the button; a click while a previous one is still under way is refused.
    void run();
    bool isBusy() const { return saveDownloadBusy; }

    QString testFolder() const;

private:
    void runSteps();
    bool stopBoard();
    void resetTuning();
    void dropFinishedBuilds();

    QWidget *dialogParent;
    TuningRun &tuningRun;
    DebuggerLink &link;
    const int settleMs;
    QPlainTextEdit *log;
    ResultsTable &results;
    SampleStore &samples;
    const PinMapSource &pins;
    QString applicationDir;
    bool saveDownloadBusy = false;
};

#endif // SAVEDOWNLOAD_H
