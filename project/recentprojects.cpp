#include "project/recentprojects.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace
{
const QString kRecentKey = QStringLiteral("recentProjects");

QSettings userSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("touchtuner"),
                     QStringLiteral("touchtuner"));
}

// One project is one entry, however its path was written.
QString normalised(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool samePath(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}
} // namespace

QStringList RecentProjects::paths() const
{
    QStringList paths = userSettings().value(kRecentKey).toStringList();
    paths.removeAll(QString());
    return paths.mid(0, kMaxCount);
}

void RecentProjects::add(const QString &projectFile)
{
    if (projectFile.isEmpty())
        return;
    const QString path = normalised(projectFile);
    QStringList list = paths();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&path](const QString &p) { return samePath(p, path); }),
               list.end());
    list.prepend(path);
    store(list.mid(0, kMaxCount));
}

void RecentProjects::remove(const QString &projectFile)
{
    const QString path = normalised(projectFile);
    QStringList list = paths();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&path](const QString &p) { return samePath(p, path); }),
               list.end());
    store(list);
}

void RecentProjects::store(const QStringList &list)
{
    QSettings settings = userSettings();
    settings.setValue(kRecentKey, list);
    settings.sync();
}
