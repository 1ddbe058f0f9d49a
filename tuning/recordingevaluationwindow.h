#ifndef RECORDINGEVALUATIONWINDOW_H
#define RECORDINGEVALUATIONWINDOW_H

#include "quality/evaluationreport.h"
#include "quality/recordingevaluation.h"

#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <functional>
#include <optional>

class DecisionTimeline;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TuningSession;

// "评估录制文件…": what the keys' current settings would have done on recordings, without
// replaying them: nothing in the results table, the project or its folder changes. Several
// recordings are evaluated together; a change of a key's settings (or of a mean in the results
// table) evaluates them again. The keys' table sums the recordings, the events' table names the
// recording of each false press and miss, and clicking one shows it on the decision timeline.
class RecordingEvaluationWindow : public QDialog
{
    Q_OBJECT

public:
    RecordingEvaluationWindow(TuningSession &session, QWidget *parent = nullptr);

    // Asks for recordings in folder and adds them; shows the window.
    void addRecordings(const QString &folder);
    // Reads and adds the recordings at paths; one that cannot be read is reported and left out.
    void addFiles(const QStringList &paths);
    void addRecording(const EvaluatedRecording &recording);
    void removeRecording(int index);
    // A stretch of verification with no test running in recording index was untouched, as the
    // user says (its number in RecordingEvaluation::verificationStretches()).
    void setStretchUntouched(int index, int stretch, bool untouched);
    // Evaluates the recordings under the keys as the session has them now.
    void evaluate();
    // The last evaluation with the settings it was made with, as the session keeps it: none
    // without recordings, or the one kept with the project before recordings are added.
    const std::optional<EvaluationReport::Snapshot> &snapshot() const;
    // Shows the event of row in the events' table on the timeline.
    void jumpToEvent(int row);
    // The timeline shows channel over recording.
    void showTimeline(int channel, int recording);

    // The open dialog of addRecordings(); the platform's unless replaced.
    std::function<QStringList(QWidget *parent, const QString &caption, const QString &folder,
                              const QString &filter)>
        chooseFiles;

    QTableWidget *keyTable() const { return keys; }
    QTableWidget *eventTable() const { return events; }
    QTableWidget *recordingTable() const { return files; }
    DecisionTimeline *timeline() const { return picture; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildLayout();
    // What the buttons, tables and choices of buildLayout() do.
    void wire(QPushButton *add, QPushButton *remove);
    // The session's evidence changed: an evaluation loaded or forgotten.
    void evidenceChanged();
    void fillRecordings();
    // A row of the recordings' table; with a box to tick for stretch unless it is -1.
    void addFileRow(int recording, int stretch, const QStringList &cells, bool marked);
    void fillKeys();
    void fillEvents();
    // The timeline of the chosen key and recording; its trace is made unless ready.
    void refreshTimeline(const QVector<RecordingEvaluation::TracePoint> *ready = nullptr);
    // The key the timeline is to show, -1 for none.
    int chosenChannel() const;
    // The session's firmware table differs from the one evaluated (a mean edited, keys in use).
    bool keysChanged() const;

    TuningSession &session;
    QVector<EvaluatedRecording> recordings;
    QVector<KeyPreview::Key> evaluatedKeys;
    // The rows of the events' table, in their order.
    QVector<RecordingEvaluation::Event> listed;
    QTimer again;
    // The recording and the verification stretch (-1: none) of each row of files.
    QVector<QPair<int, int>> fileRows;
    QTableWidget *files = nullptr;
    QTableWidget *keys = nullptr;
    QTableWidget *events = nullptr;
    QComboBox *keyChoice = nullptr;
    QComboBox *recordingChoice = nullptr;
    QLabel *summary = nullptr;
    DecisionTimeline *picture = nullptr;
    // What the timeline shows, -1 for nothing.
    int tracedChannel = -1;
    int tracedRecording = -1;
};

#endif // RECORDINGEVALUATIONWINDOW_H
