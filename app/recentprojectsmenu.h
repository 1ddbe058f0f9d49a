#ifndef RECENTPROJECTSMENU_H
#define RECENTPROJECTSMENU_H

#include "project/recentprojects.h"

#include <QObject>
#include <QString>

#include <functional>

class QMenu;
class QPushButton;
class QVBoxLayout;
class QWidget;

// "最近的工程" in the side menu: its button ("最近"), placed below the side menu's last mode, opens
// a menu of the last projects opened or saved; choosing one loads it as "载入" would. A project
// that is gone is said to be gone (by open) and dropped from the list.
class RecentProjectsMenu : public QObject
{
    Q_OBJECT

public:
    // The button looks like model, the side menu's button it follows in sideMenu; open loads a
    // project file and says false when it is gone.
    RecentProjectsMenu(QVBoxLayout *sideMenu, QPushButton *model, QWidget *dialogParent,
                       std::function<bool(const QString &)> open);

    QPushButton *button() const { return recentButton; }
    QMenu *menu() const { return entries; }
    // A project was opened or saved: it is the newest.
    void remember(const QString &projectFile) { recent.add(projectFile); }

private:
    void fillMenu();
    void choose(const QString &projectFile);

    RecentProjects recent;
    QPushButton *recentButton = nullptr;
    QMenu *entries = nullptr;
    std::function<bool(const QString &)> open;
};

#endif // RECENTPROJECTSMENU_H
