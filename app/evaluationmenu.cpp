#include "app/evaluationmenu.h"

#include "quality/reportpage.h"
#include "quality/tuningreport.h"
#include "tuning/falsetouchtest.h"
#include "tuning/recordingevaluationwindow.h"
#include "tuning/tuningsession.h"

#include <QPushButton>
#include <QVBoxLayout>

EvaluationMenu::EvaluationMenu(QVBoxLayout *sideMenu, QPushButton *after, TuningSession &session,
                               QPlainTextEdit *log, int falseTouchMinuteMs, std::function<QString()> folder,
                               std::function<QString()> projectName, QWidget *dialogParent)
    : QObject(dialogParent)
{
    evaluation = new RecordingEvaluationWindow(session, dialogParent);
    falseTouch = new FalseTouchTest(session, log, dialogParent,
                                    falseTouchMinuteMs, this);
    QPushButton *evaluate = entry(sideMenu, after, QStringLiteral("evaluateRecordingsBtn"),
                                  QStringLiteral("icon_evaluate.svg"), tr("评估录制文件…"));
    QPushButton *quiet = entry(sideMenu, evaluate, QStringLiteral("falseTouchTestBtn"),
                               QStringLiteral("icon_falsetouch.svg"), tr("误触发测试"));
    connect(evaluate, &QPushButton::clicked, this,
            [this, folder] { evaluation->addRecordings(folder()); });
    connect(quiet, &QPushButton::clicked, this,
            [this, folder, projectName] { falseTouch->start(folder(), projectName()); });
    session.addReportPages([this](TuningReport &report) {
        for (const auto *made : {&evaluation->snapshot(), &falseTouch->result()}) {
            if (*made)
                report.addPage([snapshot = **made](QPainter &painter, ReportPage &page) {
                    EvaluationReport::draw(painter, page, snapshot);
                });
        }
    });
}

QPushButton *EvaluationMenu::entry(QVBoxLayout *sideMenu, QPushButton *after,
                                   const QString &objectName, const QString &icon,
                                   const QString &text)
{
    auto *button = new QPushButton(after->parentWidget());
    button->setObjectName(objectName);
    button->setMinimumSize(after->minimumSize());
    button->setFont(after->font());
    button->setStyleSheet(after->styleSheet());
    button->setIcon(QIcon(QStringLiteral(":/image/svg_icons/") + icon));
    // The blanks keep the text clear of the icon, as the side menu's other entries do.
    button->setText(QStringLiteral("   ") + text);
    button->setToolTip(text);
    sideMenu->insertWidget(sideMenu->indexOf(after) + 1, button);
    return button;
}
