#include "codegen/buildscript.h"

#include "codegen/textfile.h"

#include <QMessageBox>
#include <QProcess>

namespace
{
const QLatin1String kProjectLine("set UV_PRO_PATH=");
const QLatin1String kStartLine("start /b");
const QLatin1String kBuildCommand("%UV% -j0 -r%UV_PRO_PATH%");
const QLatin1String kToolLine("set UV=");
const QLatin1String kProjectFile("RM3KV5172.uvproj");

// The text after the first "=" of a tool line, up to a second "=" if there is one.
QString toolPath(const QString &line) { return line.section(QLatin1Char('='), 1, 1); }
} // namespace

QString BuildScript::rewriteText(const QString &text, const QString &projectDir)
{
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::KeepEmptyParts);
    QString uvPath;
    QString out;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.contains(kProjectLine)) {
            out += kProjectLine + projectDir + kProjectFile + QLatin1Char('\n');
        } else if (line.contains(kStartLine) && line.contains(kBuildCommand)) {
            out += line + QLatin1Char('\n');
        } else if (line.contains(kStartLine)) {
            out += QLatin1String("start /b ") + uvPath + QLatin1Char(' ') + projectDir +
                   kProjectFile + QLatin1Char('\n');
        } else if (line.contains(kToolLine)) {
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

bool BuildScript::runBuildScript(QWidget *parent, QObject *processParent, const QString &folder,
                                 const QString &projectDir)
{
    const QString scriptPath = folder + QLatin1String("config.bat");
    if (!writeBuildScript(parent, scriptPath, projectDir))
        return false;
    auto *process = new QProcess(processParent);
    process->setProgram(scriptPath);
    process->start(QIODevice::ReadWrite);
    // The build's outcome is not examined: a script that fails to start or runs too long is
    // left to the user, who sees uVision's own output.
    process->waitForFinished(kRunTimeoutMs);
    return true;
}
