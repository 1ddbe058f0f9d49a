#ifndef TOOLPATHS_H
#define TOOLPATHS_H

#include <QString>
#include <QStringList>

#include <functional>

// Where the tool finds its firmware templates and where it writes. A portable copy (templates
// beside the executable, in a writable folder) works beside the executable. Otherwise, as for an
// installed package, the tool writes to a per-user folder that gets its own copy of the test
// template, since Save & Download rewrites that template in place.
class ToolPaths
{
public:
    using WritableProbe = std::function<bool(const QString &folder)>;

    static const QString kTestTemplate; // "RM3KV5172_Touch_Test"
    static const QString kAppTemplate;  // "RM3KV5172_Touch_Demo"

    // installedDataDirs are looked at in order after executableDir; userDataDir is the writable
    // folder used when the executable's folder is not the place to write.
    ToolPaths(const QString &executableDir, const QStringList &installedDataDirs,
              const QString &userDataDir, WritableProbe writable = &isWritableFolder);
    // The running program: its folder, then "../share/touchtuner" from it, and the per-user
    // application data folder.
    static ToolPaths forThisProgram();

    // The folder holding both templates as shipped: the first that has them, else the
    // executable's folder (where their absence is then reported as before).
    QString templateDir() const;
    QString appTemplate() const { return templateDir() + QLatin1Char('/') + kAppTemplate; }
    // The folder of app_Project, the application projects and the test template that is built.
    QString writableDir() const;
    QString appProjectDir() const { return writableDir() + QLatin1String("/app_Project"); }
    bool isPortable() const;

    // Creates app_Project in the writable folder and, when that is not the template folder,
    // copies the test template there; files already there are kept. A copy of an older template
    // version is refreshed first: every file is replaced but those the tool rewrites. False when
    // a folder or a file could not be made.
    [[nodiscard]] bool prepareWritableDir() const;

    static bool isWritableFolder(const QString &folder);

    // The version a template folder states in its kVersionFile; 1 for a folder without one, as
    // the templates were before they carried it.
    static int templateVersion(const QString &folder);
    static const QString kVersionFile; // "TemplateVersion.txt"

private:
    static bool holdsTemplates(const QString &folder);
    static bool refreshCopy(const QString &source, const QString &destination, int copyVersion);
    // Copies the files below source into destination, making folders on the way. A file already
    // there is replaced when replace(its path below destination) says so, and kept otherwise.
    static bool copyTree(const QString &source, const QString &destination,
                         const std::function<bool(const QString &)> &replace,
                         const QString &below = QString());

    QString executableDir;
    QStringList installedDataDirs;
    QString userDataDir;
    WritableProbe writable;
};

#endif // TOOLPATHS_H
