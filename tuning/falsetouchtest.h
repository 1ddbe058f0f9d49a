#ifndef FALSETOUCHTEST_H
#define FALSETOUCHTEST_H

#include "quality/evaluationreport.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

class QPlainTextEdit;
class QWidget;
class TuningSession;

// "误触发测试": verification for 1, 5, 15 or 60 minutes in which nobody touches the panel, while
// fans, chargers, noise on the supply or sprayed water try to press the keys. The run is
// recorded beside the project, marked as untouched, and at its end evaluated under the keys'
// settings as they are then: each key's false presses and its largest excursion over the base
// as a share of the press threshold's distance, and its verdict (合格: no false press, and the
// excursion below half that distance). The result is kept for the tuning report.
class FalseTouchTest : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMinutes[] = {1, 5, 15, 60};

    // minuteMs: a minute of the run, as the window's pacing has it.
    FalseTouchTest(TuningSession &session, QPlainTextEdit *log, QWidget *dialogParent, int minuteMs,
                   QObject *parent = nullptr);

    // Asks how long, then starts; refused while anything else runs.
    void start(const QString &folder, const QString &projectName);
    // Starts a run of minutes into folder without asking; false, with its message shown, when
    // it cannot start.
    bool startFor(int minutes, const QString &folder, const QString &projectName);
    bool isRunning() const { return running; }
    // The last run's result, with the settings it was judged under, as the session keeps it.
    const std::optional<EvaluationReport::Snapshot> &result() const;
    QString recordingPath() const { return path; }

signals:
    // The run ended: completed with its result, or stopped before its time.
    void finished(bool completed);

private:
    void finish();
    // Ends the run without a verdict; reason is logged.
    void aborted(const QString &reason);
    void warn(const QString &text) const;

    TuningSession &session;
    QPlainTextEdit *log;
    QWidget *dialogParent;
    int minuteMs;
    QTimer end;
    QTimer minuteTick;
    int minutes = 0;
    int minutesLeft = 0;
    bool running = false;
    bool finishing = false;
    QString path;
};

#endif // FALSETOUCHTEST_H
