#ifndef LANGUAGEMENU_H
#define LANGUAGEMENU_H

#include "app/uilanguage.h"

#include <QObject>

class QAction;
class QMenu;
class QPushButton;
class QWidget;

// The side menu's language choice: its button opens a menu of "中文" and "English". The choice is
// saved for the next start; choosing another language than the one shown says so, in the chosen
// language.
class LanguageMenu : public QObject
{
    Q_OBJECT

public:
    // shown is the language the window runs in.
    LanguageMenu(QPushButton *button, UiLanguage::Language shown, QWidget *dialogParent);

    void choose(UiLanguage::Language language);

private:
    void markSaved();

    QPushButton *button;
    UiLanguage::Language shown;
    QWidget *dialogParent;
    QMenu *choices = nullptr;
    QAction *chinese = nullptr;
    QAction *english = nullptr;
};

#endif // LANGUAGEMENU_H
