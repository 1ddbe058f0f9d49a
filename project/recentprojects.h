#ifndef RECENTPROJECTS_H
#define RECENTPROJECTS_H

#include <QString>
#include <QStringList>

// The last projects opened or saved, newest first, kept for the user beside the language choice
// (touchtuner.ini of the user's settings), so that the next start offers them.
class RecentProjects
{
public:
    static constexpr int kMaxCount = 5;

    // The project files, newest first; at most kMaxCount.
    QStringList paths() const;
    // The project file becomes the newest; the oldest beyond kMaxCount is dropped.
    void add(const QString &projectFile);
    void remove(const QString &projectFile);

private:
    void store(const QStringList &paths);
};

#endif // RECENTPROJECTS_H
