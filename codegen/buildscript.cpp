#include "codegen/buildscript.h"

#include "codegen/textfile.h"

#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace
{
// Each kind of line is recognised in the unquoted form of older scripts and in the quoted form
// written now, which keeps paths with blanks whole in cmd.
const QLatin1String kProjectLine("set UV_PRO_PATH=");
const QLatin1String kQuotedProjectLine("set \"UV_PRO_PATH=");
const QLatin1String kStartLine("start /b");
const QLatin1String kTitledStartLine("start \"\" /b");
const QLatin1String kBuildCommand("%UV% -j0 -r%UV_PRO_PATH%");
const QLatin1String kQuotedBuildCommand("\"%UV%\" -j0 -r \"%UV_PRO_PATH%\"");
const QLatin1String kToolLine("set UV=");
const QLatin1String kQuotedToolLine("set \"UV=");
const QLatin1String kProjectFile("RM3KV5172.uvproj");

// The text after the first "=" of a tool line, up to a second "=" if there is one, without the
// quotes a hand-written line may carry.
QString toolPath(const QString &line)
{
    QString path = line.section(QLatin1Char('='), 1, 1);
    path.remove(QLatin1Char('"'));
    return path;
}

QString quoted(const QString &text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

bool isStartLine(const QString &line)
{
    return line.contains(kStartLine) || line.contains(kTitledStartLine);
}

bool isBuildLine(const QString &line)
{
    return isStartLine(line) &&
           (line.contains(kBuildCommand) || line.contains(kQuotedBuildCommand));
}

// The build line keeps its options; its command gets quoted arguments, and "start" an empty
// window title so that it does not take the first quoted argument for one. Only the command as
// the template writes it is changed, so a rewritten script reads back the same.
QString quotedBuildLine(QString line)
{
    line.replace(QLatin1String("start /b %UV% -j0 -r%UV_PRO_PATH%"),
                 QLatin1String("start \"\" /b \"%UV%\" -j0 -r \"%UV_PRO_PATH%\""));
    return line;
}
} // namespace

QString BuildScript::rewriteText(const QString &text, const QString &projectDir)
{
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::KeepEmptyParts);
    QString uvPath;
    QString out;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.contains(kProjectLine) || line.contains(kQuotedProjectLine)) {
            out += kQuotedProjectLine + projectDir + kProjectFile + QLatin1String("\"\n");
        } else if (isBuildLine(line)) {
            out += quotedBuildLine(line) + QLatin1Char('\n');
        } else if (isStartLine(line)) {
            out += kTitledStartLine + QLatin1Char(' ') + quoted(uvPath) + QLatin1Char(' ') +
                   quoted(projectDir + kProjectFile) + QLatin1Char('\n');
        } else if (line.contains(kToolLine) || line.contains(kQuotedToolLine)) {
            uvPath = toolPath(line);
            out += line + QLatin1Char('\n');
        } else if (i == lines.size() - 1) {
            out += line;
        } else {
            out += line + QLatin1Char('\n');
        }
    }
    return out;
}

bool BuildScript::writeBuildScript(QWidget *parent, const QString &scriptPath,
                                   const QString &projectDir)
{
    QString text;
    if (TextFile::read(scriptPath, &text) != TextFile::ReadStatus::Ok) {
        QMessageBox::warning(parent, tr("提示"), tr("写配置文件失败！"));
        return false;
    }
    // A script that cannot be rewritten would build the project it named last time: not run.
    if (!TextFile::write(scriptPath, rewriteText(text, TextFile::fromLocalText(projectDir)))) {
        QMessageBox::warning(parent, tr("提示"), tr("写配置文件失败！"));
        return false;
    }
    return true;
}

BuildScript::Launch BuildScript::scriptLaunch(const QString &scriptPath)
{
#ifdef Q_OS_WIN
    return {scriptPath, {}, false};
#else
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (wine.isEmpty())
        return {};
    return {wine, {QStringLiteral("cmd"), QStringLiteral("/c"), pathUnderWine(scriptPath)}, true};
#endif
}

QString BuildScript::pathUnderWine(const QString &path)
{
    if (!path.startsWith(QLatin1Char('/')))
        return path;
    const bool slashEnd = path.size() > 1 && path.endsWith(QLatin1Char('/'));
    QString windows = QLatin1String("Z:") + (slashEnd ? path.chopped(1) : path);
    windows.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return slashEnd ? windows + QLatin1Char('/') : windows;
}

bool BuildScript::checkScriptCanRun(QWidget *parent, const QString &testFolder)
{
    if (!scriptLaunch(testFolder + QLatin1String("/config.bat")).program.isEmpty())
        return true;
    QMessageBox::warning(
        parent, tr("提示"),
        tr("未找到 wine：在本系统上无法运行测试工程的编译脚本 config.bat，它调用的 Keil µVision "
           "是 Windows 程序。\n\n"
           "本次仍会改写测试工程的源文件和 config.bat，但不会编译和下载。"
           "请安装 wine 并在其中安装 Keil µVision 后再试，"
           "或在 Windows 上用 Keil µVision 编译改写后的测试工程：\n%1")
            .arg(QDir::toNativeSeparators(testFolder)));
    return false;
}

bool BuildScript::prepareBuildScript(QWidget *parent, const QString &folder,
                                     const QString &projectDir)
{
    const QString scriptPath = folder + QLatin1String("config.bat");
    const bool underWine = scriptLaunch(scriptPath).throughWine;
    return writeBuildScript(parent, scriptPath, underWine ? pathUnderWine(projectDir) : projectDir);
}

void BuildScript::startBuildScript(QObject *processParent, const QString &folder)
{
    const Launch launch = scriptLaunch(folder + QLatin1String("config.bat"));
    // Told at the start of the click; the rewrites are kept for a build elsewhere.
    if (launch.program.isEmpty())
        return;
    auto *process = new QProcess(processParent);
    process->setProgram(launch.program);
    process->setArguments(launch.arguments);
    if (launch.throughWine)
        process->setWorkingDirectory(folder);
    process->start(QIODevice::ReadWrite);
    // The build's outcome is not examined: a script that fails to start or runs too long is
    // left to the user, who sees uVision's own output.
    process->waitForFinished(kRunTimeoutMs);
}

bool BuildScript::runBuildScript(QWidget *parent, QObject *processParent, const QString &folder,
                                 const QString &projectDir)
{
    if (!prepareBuildScript(parent, folder, projectDir))
        return false;
    startBuildScript(processParent, folder);
    return true;
}
