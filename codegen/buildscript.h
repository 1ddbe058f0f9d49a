#ifndef BUILDSCRIPT_H
#define BUILDSCRIPT_H

#include <QCoreApplication>
#include <QString>

class QObject;
class QWidget;

// The test template's config.bat: points its project and open lines at the test folder and
// starts it, which builds the firmware with the uVision command line.
class BuildScript
{
    Q_DECLARE_TR_FUNCTIONS(BuildScript)

public:
    static constexpr int kRunTimeoutMs = 30000;

    // The script with its project line ("set UV_PRO_PATH=") and open lines ("start /b" without
    // the build command) pointed at projectDir + "RM3KV5172.uvproj"; an open line takes the
    // uVision path of the nearest "set UV=" line above it. text and result have LF line ends,
    // as TextFile reads them; a CR left before an LF is a byte of its line and stays.
    static QString rewriteText(const QString &text, const QString &projectDir);

    // Rewrites the script in place with CR LF line ends, every untouched byte kept and the
    // project directory in the system's encoding. False, after "写配置文件失败！", only when
    // the script cannot be read; a script that cannot be written is left as it is (true).
    [[nodiscard]] static bool writeBuildScript(QWidget *parent, const QString &scriptPath,
                                               const QString &projectDir);
    // Rewrites folder + "config.bat" and, when that succeeded, starts it as a program (no shell,
    // its path kept whole) and waits for it at most kRunTimeoutMs. The process object is a child
    // of processParent, so a build that outlasts the wait keeps running until that owner goes.
    [[nodiscard]] static bool runBuildScript(QWidget *parent, QObject *processParent,
                                             const QString &folder, const QString &projectDir);
};

#endif // BUILDSCRIPT_H
