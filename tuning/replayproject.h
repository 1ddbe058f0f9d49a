#ifndef REPLAYPROJECT_H
#define REPLAYPROJECT_H

#include "quality/recordingfile.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

class QPlainTextEdit;
class QWidget;
class TuningSession;

// Where a replay's results go. When the table holds results, or the recording measured channels
// the pin map does not use, the user chooses before it plays: a scratch project (the default),
// which keeps nothing and gives way to the project's own results when the replay ends, or the
// project itself, whose results are first kept in a dated copy of it. Either way the replay
// starts from empty results and writes no waterproof CSV files.
class ReplayProject : public QObject
{
    Q_OBJECT

public:
    ReplayProject(TuningSession &session, QPlainTextEdit *log, QWidget *dialogParent,
                  QObject *parent = nullptr);
    ~ReplayProject() override;

    // Asks where the recording's results go when that needs asking; false when the user
    // cancelled or the copy of the results could not be made, and nothing was changed.
    bool begin(const QVector<RecordedRecord> &records);
    // The replay ended: a scratch project gives way to the project's results again.
    void end();
    bool isScratch() const { return stashed != nullptr; }

    // Keeps the results as a dated copy of the project beside it and returns that project
    // file's name; empty after its failure was reported. Unset, results are replaced unkept.
    std::function<QString()> keepSnapshot;

private:
    struct Stash;
    enum class Choice {
        Scratch,
        Project,
        Cancel,
    };
    Choice ask(int resultRows, const QStringList &foreignChannels) const;

    TuningSession &session;
    QPlainTextEdit *log;
    QWidget *dialogParent;
    std::unique_ptr<Stash> stashed;
};

#endif // REPLAYPROJECT_H
