#ifndef BUILDSCRIPT_H
#define BUILDSCRIPT_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QObject;
class QWidget;

// The test template's config.bat: points its project and open lines at the test folder and
// starts it, which builds the firmware with the uVision command line. On Windows the script is
// started itself; elsewhere through wine's cmd, when wine is installed.
class BuildScript
{
    Q_DECLARE_TR_FUNCTIONS(BuildScript)

public:
    static constexpr int kRunTimeoutMs = 30000;

    // How the script at scriptPath is started on this system; no program when it cannot be.
    struct Launch
    {
        QString program;
        QStringList arguments;
        bool throughWine = false;
    };
    // Windows: the script itself. Elsewhere: "wine cmd /c" with the script's path on wine's Z:
    // drive when wine is found on the PATH, else nothing.
    static Launch scriptLaunch(const QString &scriptPath);
    // A path of this system as a Windows program under wine sees it: on the Z: drive, with
    // backslashes, a final '/' kept. Other paths are returned as they are.
    static QString pathUnderWine(const QString &path);
    // Where the script cannot be started, says what is missing and that the rewrites still made
    // can be built on Windows; testFolder names them. False then.
    static bool checkScriptCanRun(QWidget *parent, const QString &testFolder);

    // The script with its project line ("set UV_PRO_PATH=") and open lines ("start /b" without
    // the build command) pointed at projectDir + "RM3KV5172.uvproj"; an open line takes the
    // uVision path of the nearest "set UV=" line above it. Paths are written quoted
    // (set "UV_PRO_PATH=...", start "" /b "uv" "project"), the build line's arguments too, so
    // that a folder with blanks stays whole; scripts in the older unquoted form are read as
    // well. text and result have LF line ends, as TextFile reads them; a CR left before an LF is
    // a byte of its line and stays.
    static QString rewriteText(const QString &text, const QString &projectDir);

    // Rewrites the script in place with CR LF line ends, every untouched byte kept and the
    // project directory in the system's encoding. False, after "写配置文件失败！", when the
    // script cannot be read or written; a script that cannot be written is left as it was.
    [[nodiscard]] static bool writeBuildScript(QWidget *parent, const QString &scriptPath,
                                               const QString &projectDir);
    // Rewrites folder + "config.bat" for the way it is started here: under wine the project
    // directory is written as wine sees it. False after "写配置文件失败！".
    [[nodiscard]] static bool prepareBuildScript(QWidget *parent, const QString &folder,
                                                 const QString &projectDir);
    // Starts folder + "config.bat" as scriptLaunch says (no shell, its path kept whole) and waits
    // for it at most kRunTimeoutMs; a script that cannot be started here is not. The process
    // object is a child of processParent, so a build that outlasts the wait keeps running until
    // that owner goes.
    static void startBuildScript(QObject *processParent, const QString &folder);
    // Both of the above, the start only when the rewrite succeeded.
    [[nodiscard]] static bool runBuildScript(QWidget *parent, QObject *processParent,
                                             const QString &folder, const QString &projectDir);
};

#endif // BUILDSCRIPT_H
