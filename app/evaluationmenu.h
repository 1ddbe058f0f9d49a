#ifndef EVALUATIONMENU_H
#define EVALUATIONMENU_H

#include <QObject>
#include <QString>

#include <functional>

class FalseTouchTest;
class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;
class RecordingEvaluationWindow;
class TuningSession;

// The side menu's entry "评估" with its menu "评估录制文件…" and "误触发测试": the evaluation
// window of recordings and the false-touch run, whose results, once made, are pages of the
// tuning report.
class EvaluationMenu : public QObject
{
    Q_OBJECT

public:
    // The entry goes below after in sideMenu; folder and projectName give where recordings are
    // looked for and kept.
    EvaluationMenu(QVBoxLayout *sideMenu, QPushButton *after, TuningSession &session,
                   QPlainTextEdit *log, int falseTouchMinuteMs, std::function<QString()> folder,
                   std::function<QString()> projectName, QWidget *dialogParent);
    // Takes the evaluation window with it: both hold the session.
    ~EvaluationMenu() override;

    RecordingEvaluationWindow *window() const { return evaluation; }
    FalseTouchTest *falseTouchTest() const { return falseTouch; }
    QPushButton *button() const { return entry; }
    QAction *evaluateAction() const { return evaluate; }
    QAction *falseTouchAction() const { return quiet; }

private:
    QPushButton *addEntry(QVBoxLayout *sideMenu, QPushButton *after);

    RecordingEvaluationWindow *evaluation = nullptr;
    FalseTouchTest *falseTouch = nullptr;
    QPushButton *entry = nullptr;
    QMenu *entries = nullptr;
    QAction *evaluate = nullptr;
    QAction *quiet = nullptr;
};

#endif // EVALUATIONMENU_H
