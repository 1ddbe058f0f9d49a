#include "codegen/buildscript.h"

#include "codegen/textfile.h"

#include <QMessageBox>
#include <QProcess>

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
// window title so that it does not take the first quoted argument for one.
QString quotedBuildLine(QString line)
{
    line.replace(kBuildCommand, kQuotedBuildCommand);
    if (!line.contains(kTitledStartLine))
        line.replace(kStartLine, kTitledStartLine);
    return line;
}
} // namespace

QString BuildScript::rewriteText(const QString &text, const QString &projectDir)
{
    QString lf = text;
    lf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QStringList lines = lf.split(QLatin1Char('\n'), Qt::KeepEmptyParts);
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
    if (!TextFile::write(scriptPath, rewriteText(text, projectDir))) {
        QMessageBox::warning(parent, tr("提示"), tr("写配置文件失败！"));
        return false;
    }
    return true;
}

bool BuildScript::runBuildScript(QWidget *parent, QObject *processParent, const QString &folder,
                                 const QString &projectDir)
{
    const QString scriptPath = folder + QLatin1String("config.bat");
    if (!writeBuildScript(parent, scriptPath, projectDir))
        return false;
    startBuildScript(processParent, scriptPath);
    return true;
}

void BuildScript::startBuildScript(QObject *processParent, const QString &scriptPath)
{
    auto *process = new QProcess(processParent);
    process->setProgram(scriptPath);
    process->start(QIODevice::ReadWrite);
    // The build's outcome is not examined: a script that fails to start or runs too long is
    // left to the user, who sees uVision's own output.
    process->waitForFinished(kRunTimeoutMs);
}
