#include "project/toolpaths.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

const QString ToolPaths::kTestTemplate = QStringLiteral("RM3KV5172_Touch_Test");
const QString ToolPaths::kAppTemplate = QStringLiteral("RM3KV5172_Touch_Demo");
const QString ToolPaths::kVersionFile = QStringLiteral("TemplateVersion.txt");

namespace
{
// The files that Save & Download rewrites: a refresh keeps the user's copies of them.
const QStringList kRewrittenFiles = {QStringLiteral("config.bat"),
                                     QStringLiteral("User/H/TouchKeyScan.h"),
                                     QStringLiteral("User/C/TouchKeyScan.c")};
// Before this version TouchKeyScan.h and .c also held the scan code, which later templates keep
// in files of their own; an older copy of them would not build with the refreshed files.
constexpr int kFirstConfigOnlyVersion = 2;
} // namespace

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
    const QString shipped = templateDir() + QLatin1Char('/') + kTestTemplate;
    const QString copy = base + QLatin1Char('/') + kTestTemplate;
    // Before any missing file is added, which would bring the new version marker along.
    bool refreshed = true;
    if (QFileInfo(copy).isDir()) {
        const int copyVersion = templateVersion(copy);
        if (copyVersion < templateVersion(shipped))
            refreshed = refreshCopy(shipped, copy, copyVersion);
    }
    return copyTree(shipped, copy, [](const QString &) { return false; }) && refreshed;
}

int ToolPaths::templateVersion(const QString &folder)
{
    QFile file(folder + QLatin1Char('/') + kVersionFile);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    bool isNumber = false;
    const int version = file.readLine().trimmed().toInt(&isNumber);
    return isNumber ? version : 1;
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

// The version marker goes last, so that a refresh cut short is tried again at the next start.
bool ToolPaths::refreshCopy(const QString &source, const QString &destination, int copyVersion)
{
    QStringList kept = kRewrittenFiles;
    if (copyVersion < kFirstConfigOnlyVersion)
        kept = QStringList{kRewrittenFiles.first()};
    const bool complete =
        copyTree(
            source, destination,
            [&](const QString &path) { return path != kVersionFile && !kept.contains(path); }) &&
        copyTree(source, destination, [](const QString &path) { return path == kVersionFile; });
    if (complete)
        qInfo().noquote() << QStringLiteral(
                                 "Refreshed %1 from template version %2 to %3, keeping %4")
                                 .arg(destination)
                                 .arg(copyVersion)
                                 .arg(templateVersion(source))
                                 .arg(kept.join(QLatin1String(", ")));
    return complete;
}

// A copy from a read-only installation keeps the read-only marks; the owner gets to write.
bool ToolPaths::copyTree(const QString &source, const QString &destination,
                         const std::function<bool(const QString &)> &replace, const QString &below)
{
    if (!QDir().mkpath(destination))
        return false;
    bool complete = true;
    const QFileInfoList entries =
        QDir(source).entryInfoList(QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString target = destination + QLatin1Char('/') + entry.fileName();
        const QString path =
            below.isEmpty() ? entry.fileName() : below + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            complete = copyTree(entry.filePath(), target, replace, path) && complete;
            continue;
        }
        if (QFileInfo::exists(target)) {
            if (!replace(path))
                continue;
            if (!QFile::remove(target)) {
                complete = false;
                continue;
            }
        }
        complete = QFile::copy(entry.filePath(), target) &&
                   QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner |
                                                     QFile::WriteOwner) &&
                   complete;
    }
    return complete;
}
