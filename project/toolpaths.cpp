#include "project/toolpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

const QString ToolPaths::kTestTemplate = QStringLiteral("RM3KV5172_Touch_Test");
const QString ToolPaths::kAppTemplate = QStringLiteral("RM3KV5172_Touch_Demo");

ToolPaths::ToolPaths(const QString &executableDir, const QStringList &installedDataDirs,
                     const QString &userDataDir, WritableProbe writable)
    : executableDir(executableDir), installedDataDirs(installedDataDirs), userDataDir(userDataDir),
      writable(std::move(writable))
{
}

ToolPaths ToolPaths::forThisProgram()
{
    const QString executableDir = QCoreApplication::applicationDirPath();
    return ToolPaths(executableDir,
                     {QDir::cleanPath(executableDir + QLatin1String("/../share/touchtuner"))},
                     QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString ToolPaths::templateDir() const
{
    if (holdsTemplates(executableDir))
        return executableDir;
    for (const QString &folder : installedDataDirs) {
        if (holdsTemplates(folder))
            return folder;
    }
    return executableDir;
}

bool ToolPaths::isPortable() const
{
    return holdsTemplates(executableDir) && writable(executableDir);
}

QString ToolPaths::writableDir() const
{
    return isPortable() || userDataDir.isEmpty() ? executableDir : userDataDir;
}

bool ToolPaths::prepareWritableDir() const
{
    const QString base = writableDir();
    if (!QDir().mkpath(base + QLatin1String("/app_Project")))
        return false;
    if (QDir(base) == QDir(templateDir()))
        return true;
    return copyMissing(templateDir() + QLatin1Char('/') + kTestTemplate,
                       base + QLatin1Char('/') + kTestTemplate);
}

bool ToolPaths::isWritableFolder(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

bool ToolPaths::holdsTemplates(const QString &folder)
{
    const QDir dir(folder);
    return dir.exists(kTestTemplate) && dir.exists(kAppTemplate);
}

// A copy from a read-only installation keeps the read-only marks; the owner gets to write.
bool ToolPaths::copyMissing(const QString &source, const QString &destination)
{
    if (!QDir().mkpath(destination))
        return false;
    bool complete = true;
    const QFileInfoList entries =
        QDir(source).entryInfoList(QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString target = destination + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            complete = copyMissing(entry.filePath(), target) && complete;
        } else if (!QFileInfo::exists(target)) {
            complete = QFile::copy(entry.filePath(), target) &&
                       QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner |
                                                         QFile::WriteOwner) &&
                       complete;
        }
    }
    return complete;
}
