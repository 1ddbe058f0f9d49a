#ifndef BUILDSCRIPT_H
#define BUILDSCRIPT_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QObject;
class QPlainTextEdit;
class QWidget;
class ScriptCodePage;

// The test template's config.bat: points its project and open lines at the test folder and
// starts it, which builds the firmware with the uVision command line. On Windows the script runs
// in cmd; elsewhere in wine's cmd, when wine is installed. Says what became of it.
class BuildScript
{
    Q_DECLARE_TR_FUNCTIONS(BuildScript)

public:
    static constexpr int kRunTimeoutMs = 30000;

    // How the script at scriptPath is started on this system; no program when it cannot be. It
    // runs in its own folder. Windows: cmd.exe /s /c ""<script>"", whose outer quotes cmd strips,
    // so that the quoted path stays whole whatever it holds ('&', blanks). Under wine cmd cannot
    // be handed those quotes (wine writes a '"' of its arguments as \" into cmd's command line),
    // so "wine cmd /c .\config.bat" names the script within the folder it runs in.
    struct Launch
    {
        QString program;
        QStringList arguments;
        QString nativeArguments;
        QString workingDirectory;
        bool throughWine = false;

        // The command as a user would type it, for the log.
        QString commandLine() const;
    };
    static Launch scriptLaunch(const QString &scriptPath);
    // A path of this system as a Windows program under wine sees it: on the Z: drive, with
    // backslashes, a final '/' kept. Other paths are returned as they are.
    static QString pathUnderWine(const QString &path);
    // Where the script cannot be started, says what is missing and that the rewrites still made
    // can be built on Windows; testFolder names them. False then.
    static bool checkScriptCanRun(QWidget *parent, const QString &testFolder);
    // Where the test folder's path cannot be written into the script as cmd reads it (a character
    // the script's code page lacks, a '"' or a control character), says so, naming the folder
    // and the character. False then, and nothing should be rewritten or run.
    static bool checkPathFitsScript(QWidget *parent, const QString &testFolder);

    // The script with its project line ("set UV_PRO_PATH=") and open lines ("start /b" without
    // the build command) pointed at projectDir + "RM3KV5172.uvproj"; an open line takes the
    // uVision path of the nearest "set UV=" line above it. Paths are written quoted
    // (set "UV_PRO_PATH=...", start "" /b "uv" "project"), the build line's arguments too, so
    // that a folder with blanks stays whole, and so is "%UV_PRO_PATH%" wherever another line
    // names it; scripts in the older unquoted form are read as well. text and result have LF line
    // ends, as TextFile reads them; a CR left before an LF is a byte of its line and stays.
    static QString rewriteText(const QString &text, const QString &projectDir);

    // Rewrites the script in place with CR LF line ends, every untouched byte kept and the
    // project directory in codePage, its '%' doubled so that cmd does not expand it. False, after
    // "写配置文件失败！", when the script cannot be read or written or the directory cannot be
    // written in codePage; the script is then left as it was.
    [[nodiscard]] static bool writeBuildScript(QWidget *parent, const QString &scriptPath,
                                               const QString &projectDir,
                                               const ScriptCodePage &codePage);
    // Rewrites folder + "config.bat" for the way it is started here, in the code page cmd reads it
    // with: under wine the project directory is written as wine sees it. False after
    // "写配置文件失败！".
    [[nodiscard]] static bool prepareBuildScript(QWidget *parent, const QString &folder,
                                                 const QString &projectDir);

    // What became of one start of the script.
    struct Run
    {
        enum class Outcome {
            NotStarted, // cannot be started here (no wine); the user was told beforehand
            Succeeded,
            Failed, // did not start, crashed or exited non-zero
            StillRunning,
        };
        Outcome outcome = Outcome::NotStarted;
        int exitCode = 0;       // -1 when there is none
        QStringList errorLines; // the first lines of its error output
        QString command;
        QString folder;
    };
    // Starts folder + "config.bat" as scriptLaunch says and waits for it at most kRunTimeoutMs.
    // The process object is a child of processParent, so a build that outlasts the wait keeps
    // running until that owner goes.
    static Run startBuildScript(QObject *processParent, const QString &folder);
    // Says what became of it: one line in log (when given) naming the script and its folder, or
    // on failure the command; a failure also in "编译脚本运行失败（退出码 N）" with its first
    // error lines.
    static void reportRun(QWidget *parent, QPlainTextEdit *log, const Run &run);
    // Rewrite, start and report, the start only when the rewrite succeeded.
    [[nodiscard]] static bool runBuildScript(QWidget *parent, QObject *processParent,
                                             const QString &folder, const QString &projectDir,
                                             QPlainTextEdit *log = nullptr);
};

#endif // BUILDSCRIPT_H
