#include "app/recentprojectsmenu.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
// An entry's folder is cut in its middle beyond this many pixels; its tooltip names it whole.
constexpr int kFolderWidth = 420;
} // namespace

RecentProjectsMenu::RecentProjectsMenu(QVBoxLayout *sideMenu, QPushButton *model,
                                       QWidget *dialogParent,
                                       std::function<bool(const QString &)> open)
    : QObject(dialogParent), open(std::move(open))
{
    recentButton = new QPushButton(model->parentWidget());
    recentButton->setObjectName(QStringLiteral("recentProjectsBtn"));
    recentButton->setMinimumSize(model->minimumSize());
    recentButton->setFont(model->font());
    recentButton->setStyleSheet(model->styleSheet());
    recentButton->setIcon(QIcon(QStringLiteral(":/image/svg_icons/icon_recent.svg")));
    // As short as the side menu's other entries, so that the opened menu keeps its width.
    recentButton->setText(tr("   最近 "));
    recentButton->setToolTip(tr("最近的工程"));
    sideMenu->insertWidget(sideMenu->indexOf(model) + 1, recentButton);
    // A child of the window: the side menu's style sheet would make it one pixel wide.
    entries = new QMenu(dialogParent);
    entries->setObjectName(QStringLiteral("recentProjectsMenu"));
    entries->setToolTipsVisible(true);
    connect(recentButton, &QPushButton::clicked, this, [this] {
        fillMenu();
        // At the right edge of the button as far as the side menu shows it.
        const int right = std::min(recentButton->width(),
                                   recentButton->parentWidget()->width() - recentButton->x());
        entries->exec(recentButton->mapToGlobal(QPoint(right, 0)));
    });
}

void RecentProjectsMenu::fillMenu()
{
    entries->clear();
    entries->addAction(tr("最近的工程"))->setEnabled(false);
    entries->addSeparator();
    const QStringList paths = recent.paths();
    if (paths.isEmpty()) {
        entries->addAction(tr("（无）"))->setEnabled(false);
        return;
    }
    const QFontMetrics metrics(entries->font());
    for (const QString &path : paths) {
        const QFileInfo info(path);
        const QString folder = metrics.elidedText(QDir::toNativeSeparators(info.absolutePath()),
                                                  Qt::ElideMiddle, kFolderWidth);
        QAction *entry =
            entries->addAction(info.completeBaseName() + QStringLiteral("    ") + folder, this,
                               [this, path] { choose(path); });
        entry->setToolTip(QDir::toNativeSeparators(path));
    }
}

void RecentProjectsMenu::choose(const QString &projectFile)
{
    if (open(projectFile))
        recent.add(projectFile);
    else
        recent.remove(projectFile);
}
