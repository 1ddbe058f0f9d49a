#ifndef PROJECTKEEPER_H
#define PROJECTKEEPER_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

class ProjectFile;
class QDateTime;

// Keeps a project file that this session did not open or write from being replaced by another
// project. The tool starts on the default project name in app_Project, where the last session's
// tuned project may lie: an idle start and close must not write its defaults over it, and a save
// onto a project the session never opened keeps the old file and its samples under dated names.
class ProjectKeeper
{
    Q_DECLARE_TR_FUNCTIONS(ProjectKeeper)

public:
    explicit ProjectKeeper(const ProjectFile &projectFile);

    // The project as the session starts: what a save would write now, before anything was
    // loaded or changed.
    void takeBaseline();
    // The project file was loaded or written by this session: it may be saved over.
    void adopt(const QString &filePath);
    // Whether a close has anything to save: the session loaded or saved a project, has samples,
    // or a save would write anything other than what it started with.
    bool hasChanges(bool hasSamples) const;

    struct Kept
    {
        bool ok = true;
        // The dated copy of the project file, empty when nothing had to be kept.
        QString projectCopy;
        // The path that could not be written when !ok.
        QString failedPath;
    };
    // Before the project is saved to filePath with the files kept beside it (its samples, its
    // evidence), each named "<name>" and an ending of its own: when filePath holds a project that
    // this session did not load or save, it and those of its files that exist are copied to
    // "<name>_<yyyy-MM-dd-HH-mm-ss>" and their endings. Not ok when a copy could not be made; the
    // save must then not go on.
    Kept keepBeforeSaving(const QString &filePath, const QStringList &besidePaths,
                          const QDateTime &now) const;
    // The log line for a kept copy: "已保留原工程：…".
    static QString keptText(const Kept &kept);

private:
    QByteArray currentBytes() const;

    const ProjectFile &projectFile;
    QByteArray baseline;
    QString adopted;
};

#endif // PROJECTKEEPER_H
