#include "project/projectkeeper.h"

#include "project/projectfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

ProjectKeeper::ProjectKeeper(const ProjectFile &projectFile) : projectFile(projectFile) {}

QByteArray ProjectKeeper::currentBytes() const
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("project.ini"));
    if (!scratch.isValid() || !projectFile.saveAs(path))
        return QByteArray();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ProjectKeeper::takeBaseline() { baseline = currentBytes(); }

void ProjectKeeper::adopt(const QString &filePath)
{
    adopted = QFileInfo(filePath).absoluteFilePath();
}

bool ProjectKeeper::hasChanges(bool hasSamples) const
{
    if (!adopted.isEmpty() || hasSamples)
        return true;
    // Without a scratch folder nothing can be compared: saving is the safe side, since a save
    // over a file of another session keeps that file first.
    const QByteArray now = currentBytes();
    return now.isEmpty() || baseline.isEmpty() || now != baseline;
}

ProjectKeeper::Kept ProjectKeeper::keepBeforeSaving(const QString &filePath,
                                                    const QStringList &besidePaths,
                                                    const QDateTime &now) const
{
    Kept kept;
    const QFileInfo project(filePath);
    if (!project.exists() || project.absoluteFilePath() == adopted)
        return kept;
    const QString name = project.completeBaseName();
    const QString dated = ProjectFile::snapshotName(name, now);
    QStringList made;
    const auto copy = [&](const QString &from, const QString &to) {
        if (QFile::copy(from, to)) {
            made << to;
            return true;
        }
        for (const QString &file : made)
            QFile::remove(file);
        kept.ok = false;
        kept.failedPath = to;
        return false;
    };
    const QString projectCopy =
        project.absoluteDir().filePath(dated + QLatin1Char('.') + project.suffix());
    if (!copy(project.absoluteFilePath(), projectCopy))
        return kept;
    for (const QString &path : besidePaths) {
        const QFileInfo beside(path);
        if (!beside.exists() || !beside.fileName().startsWith(name))
            continue;
        if (!copy(beside.absoluteFilePath(),
                  beside.dir().filePath(dated + beside.fileName().mid(name.size()))))
            return kept;
    }
    kept.projectCopy = projectCopy;
    return kept;
}

QString ProjectKeeper::keptText(const Kept &kept)
{
    return tr("工程文件已存在，且不是本次打开的工程：原文件已另存为 %1")
        .arg(QDir::toNativeSeparators(kept.projectCopy));
}
