#include "app/languagemenu.h"

#include <QActionGroup>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

LanguageMenu::LanguageMenu(QPushButton *button, UiLanguage::Language shown, QWidget *dialogParent)
    : QObject(button), button(button), shown(shown), dialogParent(dialogParent)
{
    // A child of the window: the side menu's style sheet would make it one pixel wide.
    choices = new QMenu(dialogParent);
    choices->setObjectName(QStringLiteral("languageMenu"));
    // Each language is named in itself, whatever the interface speaks.
    chinese = choices->addAction(QStringLiteral("中文"));
    english = choices->addAction(QStringLiteral("English"));
    auto *group = new QActionGroup(choices);
    for (QAction *action : {chinese, english}) {
        action->setCheckable(true);
        group->addAction(action);
    }
    markSaved();
    connect(chinese, &QAction::triggered, this, [this] { choose(UiLanguage::Language::Chinese); });
    connect(english, &QAction::triggered, this, [this] { choose(UiLanguage::Language::English); });
    // The menu opens at the right edge of the button as far as the side menu shows it: a
    // collapsed side menu shows its icon only.
    connect(button, &QPushButton::clicked, this, [this] {
        markSaved();
        const QPushButton *sideButton = this->button;
        const int right =
            std::min(sideButton->width(), sideButton->parentWidget()->width() - sideButton->x());
        choices->exec(sideButton->mapToGlobal(QPoint(right, 0)));
    });
}

void LanguageMenu::markSaved()
{
    const bool isEnglish = UiLanguage::saved() == UiLanguage::Language::English;
    english->setChecked(isEnglish);
    chinese->setChecked(!isEnglish);
}

void LanguageMenu::choose(UiLanguage::Language language)
{
    UiLanguage::save(language);
    markSaved();
    if (language == shown)
        return;
    // Told in the language chosen, which is the one the user reads.
    if (language == UiLanguage::Language::English)
        QMessageBox::warning(dialogParent, QStringLiteral("Notice"),
                             QStringLiteral("The interface will be in English from the next "
                                            "start of the tool."));
    else
        QMessageBox::warning(dialogParent, QStringLiteral("提示"),
                             QStringLiteral("下次启动本工具时，界面语言为中文。"));
}
