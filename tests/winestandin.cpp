// Stands in for "wine" on the PATH of the tests (testsupport.h, StandInPath), as far as
// "wine cmd /c <script>" goes. It builds cmd's command line from its arguments as wine does, takes
// the script from it as cmd does, reads the script's project line in the code page cmd reads
// batch files in (WINE_STANDIN_CODEPAGE, a Qt codec name; the tests set it with the locale) and
// expands it as a batch file's line. Then it plays the build: the project file must exist. It
// writes what it found to wine-ran.txt beside itself, and fails with cmd's message when the
// script is not there, or with the build's when the project is not.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>
#include <QTextCodec>

#include <cstdio>

namespace
{
// Wine quotes an argument that holds a blank or a tab, or is empty; a '"' becomes \" (with the
// backslashes before it doubled), so that the argument list can be read back from the line.
QString wineCommandLine(const QStringList &arguments)
{
    QStringList parts;
    for (const QString &argument : arguments) {
        QString part;
        int backslashes = 0;
        for (const QChar c : argument) {
            if (c == QLatin1Char('"'))
                part += QString(backslashes + 1, QLatin1Char('\\'));
            backslashes = c == QLatin1Char('\\') ? backslashes + 1 : 0;
            part += c;
        }
        if (argument.isEmpty() || argument.contains(QLatin1Char(' ')) ||
            argument.contains(QLatin1Char('\t')))
            part = QLatin1Char('"') + part + QString(backslashes, QLatin1Char('\\')) + '"';
        parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

// The command "cmd /c" runs: what follows /c, its first and last quote taken away unless there
// are exactly two, around text with a blank and none of &<>()@^| (with /s: always).
QString commandAfterSlashC(const QString &line)
{
    const QRegularExpressionMatch c =
        QRegularExpression(QStringLiteral("/[cC][ \\t,=;]*(.*)$")).match(line);
    QString command = c.captured(1);
    const int first = command.indexOf(QLatin1Char('"'));
    const int second = command.indexOf(QLatin1Char('"'), first + 1);
    const QString quoted = command.mid(first + 1, second - first - 1);
    const bool keep =
        !line.left(c.capturedStart()).contains(QLatin1String("/s"), Qt::CaseInsensitive) &&
        command.count(QLatin1Char('"')) == 2 && quoted.contains(QLatin1Char(' ')) &&
        !quoted.contains(QRegularExpression(QStringLiteral("[&<>()@^|]")));
    if (!keep && command.startsWith(QLatin1Char('"'))) {
        command.remove(command.lastIndexOf(QLatin1Char('"')), 1);
        command.remove(0, 1);
    }
    return command;
}

// cmd's first word: quotes group and are dropped, '^' escapes outside them, and a blank, '&',
// '|', '<' or '>' outside them ends the word.
QString firstWord(const QString &command)
{
    QString word;
    bool quoted = false;
    for (int i = 0; i < command.size(); ++i) {
        const QChar c = command.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('^') && i + 1 < command.size())
            word += command.at(++i);
        else if (!quoted && QStringLiteral(" \t&|<>").contains(c))
            break;
        else
            word += c;
    }
    return word;
}

// A batch file's line as cmd runs it: %% is %, %NAME% the variable (empty when unset), a lone %
// is dropped.
QString expandBatchLine(const QString &line)
{
    QString out;
    for (int i = 0; i < line.size(); ++i) {
        if (line.at(i) != QLatin1Char('%')) {
            out += line.at(i);
        } else if (line.mid(i + 1, 1) == QLatin1String("%")) {
            out += QLatin1Char('%');
            ++i;
        } else if (line.indexOf(QLatin1Char('%'), i + 1) > 0) {
            const int end = line.indexOf(QLatin1Char('%'), i + 1);
            out += QProcessEnvironment::systemEnvironment().value(line.mid(i + 1, end - i - 1));
            i = end;
        }
    }
    return out;
}

// Z:\a\b on wine's Z: drive is /a/b here; other drives are not there.
QString unixPath(const QString &windowsPath)
{
    if (!windowsPath.startsWith(QLatin1String("Z:"), Qt::CaseInsensitive))
        return QString();
    return QDir::cleanPath(windowsPath.mid(2).replace(QLatin1Char('\\'), QLatin1Char('/')));
}

int fail(const QString &message, int code)
{
    std::fputs(message.toUtf8().constData(), stderr);
    return code;
}
} // namespace

int main(int argc, char **argv)
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString here = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();

    const QString word = firstWord(commandAfterSlashC(wineCommandLine(arguments)));
    const QString script =
        word.contains(QLatin1Char(':'))
            ? word
            : QLatin1String("Z:") + QDir::currentPath().replace('/', '\\') + QLatin1Char('\\') +
                  QString(word).remove(QRegularExpression(QStringLiteral("^\\.\\\\")));
    QFile file(unixPath(script));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("'%1' is not recognized as an internal or external command,\r\n"
                                   "operable program or batch file.\r\n")
                        .arg(word),
                    9009);
    QTextCodec *codec = QTextCodec::codecForName(qgetenv("WINE_STANDIN_CODEPAGE"));
    const QString text =
        (codec ? codec : QTextCodec::codecForName("IBM437"))->toUnicode(file.readAll());
    QString project;
    for (const QString &line : text.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QLatin1String("set \"UV_PRO_PATH=")) ||
            line.startsWith(QLatin1String("set UV_PRO_PATH=")))
            project = expandBatchLine(line.section(QLatin1Char('='), 1)).remove(QLatin1Char('"'));
    }
    QFile ran(here + QLatin1String("/wine-ran.txt"));
    if (ran.open(QIODevice::WriteOnly))
        ran.write((script + QLatin1Char('\n') + project + QLatin1Char('\n')).toUtf8());
    if (!QFileInfo::exists(unixPath(project)))
        return fail(QStringLiteral("Build failed: cannot read project file '%1'.\n").arg(project),
                    1);
    return 0;
}
