#include "codegen/buildscript.h"

#include "codegen/scriptcodepage.h"
#include "codegen/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextCodec>

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

// Any other line that names the project path bare (the template's "echo Building
// %UV_PRO_PATH%") gets it quoted, so that cmd does not split it at a blank or an '&' of the folder.
QString withQuotedProjectPath(const QString &line)
{
    static const QRegularExpression bare(QStringLiteral("(?<!\")%UV_PRO_PATH%(?!\")"));
    return QString(line).replace(bare, QStringLiteral("\"%UV_PRO_PATH%\""));
}

const int kErrorLines = 5;

// cmd writes its messages in the script's code page; wine's own are UTF-8, as are those of a
// stand-in. Wine's debug channel lines ("0024:fixme:...") say nothing about the script.
QStringList firstErrorLines(const QByteArray &output)
{
    QTextCodec::ConverterState state;
    QString text =
        QTextCodec::codecForName("UTF-8")->toUnicode(output.constData(), output.size(), &state);
    if (state.invalidChars > 0)
        text = ScriptCodePage::current().decode(output);
    static const QRegularExpression wineDebug(QStringLiteral("^[0-9a-f]{4}:[a-z]+:"));
    QStringList lines;
    for (const QString &line : text.split(QRegularExpression(QStringLiteral("[\r\n]+")))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !wineDebug.match(trimmed).hasMatch())
            lines << trimmed;
        if (lines.size() == kErrorLines)
            break;
    }
    return lines;
}

// The first character of path that cannot stand in a quoted path of the script read in
// codePage: one it lacks, a quote (which would end the path) or a control character (a line
// end would start a command of its own). Empty when there is none.
QString firstUnwritable(const QString &path, const ScriptCodePage &codePage)
{
    QByteArray bytes;
    for (int i = 0; i < path.size(); ++i) {
        const int length = path.at(i).isHighSurrogate() && i + 1 < path.size() ? 2 : 1;
        const QString character = path.mid(i, length);
        if (character.at(0).unicode() < 0x20)
            return QStringLiteral("U+%1").arg(character.at(0).unicode(), 4, 16, QLatin1Char('0'));
        if (character == QLatin1String("\"") || !codePage.encode(character, &bytes))
            return character;
        i += length - 1;
    }
    return QString();
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
            out += withQuotedProjectPath(line);
        } else {
            out += withQuotedProjectPath(line) + QLatin1Char('\n');
        }
    }
    return out;
}

bool BuildScript::writeBuildScript(QWidget *parent, const QString &scriptPath,
                                   const QString &projectDir, const ScriptCodePage &codePage)
{
    QString text;
    QByteArray directory;
    // A script that cannot be rewritten, or only with a garbled folder, would build the project
    // it named last time, or none: not run.
    if (TextFile::read(scriptPath, &text) != TextFile::ReadStatus::Ok ||
        !firstUnwritable(projectDir, codePage).isEmpty() ||
        !codePage.encode(QString(projectDir).replace(QLatin1Char('%'), QLatin1String("%%")),
                         &directory) ||
        !TextFile::write(scriptPath, rewriteText(text, TextFile::fromFileBytes(directory)))) {
        QMessageBox::warning(parent, tr("提示"), tr("写配置文件失败！"));
        return false;
    }
    return true;
}

BuildScript::Launch BuildScript::scriptLaunch(const QString &scriptPath)
{
    const QFileInfo script(scriptPath);
    Launch launch;
    launch.workingDirectory = script.path();
#ifdef Q_OS_WIN
    launch.program = QStringLiteral("cmd.exe");
    launch.nativeArguments = QLatin1String("/s /c \"\"") +
                             QDir::toNativeSeparators(script.absoluteFilePath()) +
                             QLatin1String("\"\"");
#else
    launch.program = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (launch.program.isEmpty())
        return {};
    launch.arguments = QStringList{QStringLiteral("cmd"), QStringLiteral("/c"),
                                   QLatin1String(".\\") + script.fileName()};
    launch.throughWine = true;
#endif
    return launch;
}

QString BuildScript::Launch::commandLine() const
{
    QStringList words{QFileInfo(program).fileName()};
    words << arguments;
    if (!nativeArguments.isEmpty())
        words << nativeArguments;
    return words.join(QLatin1Char(' '));
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

bool BuildScript::checkPathFitsScript(QWidget *parent, const QString &testFolder)
{
    const ScriptCodePage codePage = ScriptCodePage::current();
    const QString unwritable = firstUnwritable(testFolder, codePage);
    if (unwritable.isEmpty())
        return true;
    // The character may well be in the code page: it is the tool that cannot write it.
    if (!codePage.isKnown() && unwritable.at(0).unicode() > 0x7F) {
        QMessageBox::warning(parent, tr("提示"),
                             tr("测试工程的路径含有非 ASCII 字符“%1”，而本工具无法按代码页 %2"
                                "（cmd 读取编译脚本 config.bat 所用的代码页）写入非 ASCII "
                                "字符：\n%3\n\n本次没有改写任何文件，也没有运行编译脚本。"
                                "请将工具放到路径中只有 ASCII 字符的文件夹后再试。")
                                 .arg(unwritable, QString::number(codePage.number()),
                                      QDir::toNativeSeparators(testFolder)));
        return false;
    }
    QMessageBox::warning(parent, tr("提示"),
                         tr("测试工程的路径含有无法写入编译脚本 config.bat 的字符“%1”"
                            "（cmd 以代码页 %2 读取该脚本）：\n%3\n\n"
                            "本次没有改写任何文件，也没有运行编译脚本。"
                            "请将工具放到路径中没有这个字符的文件夹后再试。")
                             .arg(unwritable, QString::number(codePage.number()),
                                  QDir::toNativeSeparators(testFolder)));
    return false;
}

bool BuildScript::prepareBuildScript(QWidget *parent, const QString &folder,
                                     const QString &projectDir)
{
    const QString scriptPath = folder + QLatin1String("config.bat");
    const bool underWine = scriptLaunch(scriptPath).throughWine;
    return writeBuildScript(parent, scriptPath, underWine ? pathUnderWine(projectDir) : projectDir,
                            ScriptCodePage::current());
}

BuildScript::Run BuildScript::startBuildScript(QObject *processParent, const QString &folder)
{
    const Launch launch = scriptLaunch(folder + QLatin1String("config.bat"));
    Run run;
    // Told at the start of the click; the rewrites are kept for a build elsewhere.
    if (launch.program.isEmpty())
        return run;
    run.command = launch.commandLine();
    run.folder = QDir::toNativeSeparators(launch.workingDirectory);
    auto *process = new QProcess(processParent);
    process->setProgram(launch.program);
    process->setArguments(launch.arguments);
#ifdef Q_OS_WIN
    process->setNativeArguments(launch.nativeArguments);
#endif
    process->setWorkingDirectory(launch.workingDirectory);
    process->start(QIODevice::ReadWrite);
    // A "pause" in the script reads the end of its input instead of waiting out the time.
    process->closeWriteChannel();
    const bool finished = process->waitForFinished(kRunTimeoutMs);
    if (process->error() == QProcess::FailedToStart) {
        run.outcome = Run::Outcome::Failed;
        run.exitCode = -1;
        run.errorLines = QStringList{process->errorString()};
        return run;
    }
    if (!finished) {
        run.outcome = Run::Outcome::StillRunning;
        return run;
    }
    const bool crashed = process->exitStatus() == QProcess::CrashExit;
    run.exitCode = crashed ? -1 : process->exitCode();
    run.outcome = run.exitCode == 0 && !crashed ? Run::Outcome::Succeeded : Run::Outcome::Failed;
    if (run.outcome == Run::Outcome::Failed) {
        run.errorLines = firstErrorLines(process->readAllStandardError());
        if (run.errorLines.isEmpty() && crashed)
            run.errorLines = QStringList{process->errorString()};
    }
    return run;
}

void BuildScript::reportRun(QWidget *parent, QPlainTextEdit *log, const Run &run)
{
    QString line;
    switch (run.outcome) {
    case Run::Outcome::NotStarted:
        return;
    case Run::Outcome::Succeeded:
        line = tr("已运行编译脚本 config.bat，目录：%1").arg(run.folder);
        break;
    case Run::Outcome::StillRunning:
        line = tr("编译脚本 config.bat 已运行 %1 秒，仍在后台运行，目录：%2")
                   .arg(QString::number(kRunTimeoutMs / 1000), run.folder);
        break;
    case Run::Outcome::Failed:
        line = tr("编译脚本运行失败（退出码 %1）：%2，目录：%3")
                   .arg(QString::number(run.exitCode), run.command, run.folder);
        break;
    }
    if (log)
        log->appendPlainText(line);
    if (run.outcome != Run::Outcome::Failed)
        return;
    QString text = tr("编译脚本运行失败（退出码 %1）").arg(run.exitCode);
    if (!run.errorLines.isEmpty())
        text += QLatin1String("\n\n") + run.errorLines.join(QLatin1Char('\n'));
    QMessageBox::warning(parent, tr("提示"), text);
}

bool BuildScript::runBuildScript(QWidget *parent, QObject *processParent, const QString &folder,
                                 const QString &projectDir, QPlainTextEdit *log)
{
    if (!prepareBuildScript(parent, folder, projectDir))
        return false;
    reportRun(parent, log, startBuildScript(processParent, folder));
    return true;
}
