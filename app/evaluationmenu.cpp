#include "app/evaluationmenu.h"

#include "tuning/falsetouchtest.h"
#include "tuning/recordingevaluationwindow.h"
#include "tuning/tuningsession.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

EvaluationMenu::EvaluationMenu(QVBoxLayout *sideMenu, QPushButton *after, TuningSession &session,
                               QPlainTextEdit *log, int falseTouchMinuteMs,
                               std::function<QString()> folder,
                               std::function<QString()> projectName, QWidget *dialogParent)
    : QObject(dialogParent)
{
    evaluation = new RecordingEvaluationWindow(session, dialogParent);
    falseTouch = new FalseTouchTest(session, log, dialogParent, falseTouchMinuteMs, this);
    entry = addEntry(sideMenu, after);
    // A child of the window: the side menu's style sheet would make it one pixel wide.
    entries = new QMenu(dialogParent);
    entries->setObjectName(QStringLiteral("evaluationMenu"));
    evaluate = entries->addAction(QIcon(QStringLiteral(":/image/svg_icons/icon_evaluate.svg")),
                                  tr("评估录制文件…"));
    evaluate->setObjectName(QStringLiteral("evaluateRecordingsAction"));
    quiet = entries->addAction(QIcon(QStringLiteral(":/image/svg_icons/icon_falsetouch.svg")),
                               tr("误触发测试"));
    quiet->setObjectName(QStringLiteral("falseTouchTestAction"));
    connect(evaluate, &QAction::triggered, this,
            [this, folder] { evaluation->addRecordings(folder()); });
    connect(quiet, &QAction::triggered, this,
            [this, folder, projectName] { falseTouch->start(folder(), projectName()); });
    connect(entry, &QPushButton::clicked, this, [this] {
        // At the right edge of the button as far as the side menu shows it.
        const int right = std::min(entry->width(), entry->parentWidget()->width() - entry->x());
        entries->exec(entry->mapToGlobal(QPoint(right, 0)));
    });
}

EvaluationMenu::~EvaluationMenu() { delete evaluation; }

QPushButton *EvaluationMenu::addEntry(QVBoxLayout *sideMenu, QPushButton *after)
{
    auto *button = new QPushButton(after->parentWidget());
    button->setObjectName(QStringLiteral("evaluationBtn"));
    button->setMinimumSize(after->minimumSize());
    button->setFont(after->font());
    button->setStyleSheet(after->styleSheet());
    button->setIcon(QIcon(QStringLiteral(":/image/svg_icons/icon_evaluate.svg")));
    // As short as the side menu's other entries, so that the opened menu keeps its width.
    button->setText(tr("   评估 "));
    button->setToolTip(tr("评估录制文件与误触发测试"));
    sideMenu->insertWidget(sideMenu->indexOf(after) + 1, button);
    return button;
}
