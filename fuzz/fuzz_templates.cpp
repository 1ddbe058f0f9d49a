// The template rewrites and the build-script rewrite on arbitrary file bytes: lines outside the
// rewritten blocks are kept, the tool's own output can be rewritten again, and the channel count
// in the header agrees with the rows of the table. The keys' settings table is rewritten as the
// channel table is, under its own marker.
#include "codegen/buildscript.h"
#include "codegen/sourcegenerator.h"
#include "codegen/textfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
const QString kCountMarker = QStringLiteral("TKL_CHN_NUM");
const QString kTableMarker = QStringLiteral("TKChnCfg");
const QString kSettingsMarker = QStringLiteral("TKKeyCfg");
const QString kDeepSleepMarker = QStringLiteral("DeepSleepCfg");
const QString kClosing = QStringLiteral("};");
const QString kProjectDir = QStringLiteral("C:\\tools\\RM3KV5172_Touch_Test/");
constexpr int kMaxRows = 25;
constexpr int kTableWindow = 26;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

QStringList linesOf(const QString &text) { return text.split(QLatin1Char('\n')); }

QStringList rowsOf(int count)
{
    QStringList rows;
    for (int i = 0; i < count; ++i)
        rows << QStringLiteral("%1,%2,20,100,100,100,").arg(i + 1).arg(i);
    return rows;
}

// The file bytes survive the text round trip except that every line end becomes CR LF.
void checkBytesRoundTrip(const QByteArray &bytes, const QString &text)
{
    QByteArray windows = bytes;
    windows.replace("\r\n", "\n");
    windows.replace("\n", "\r\n");
    check(TextFile::toFileBytes(text) == windows);
}

// `all` is a subsequence of `out`, in order.
bool keptInOrder(const QStringList &all, const QStringList &out)
{
    int j = 0;
    for (const QString &line : all) {
        while (j < out.size() && out.at(j) != line)
            ++j;
        if (j == out.size())
            return false;
        ++j;
    }
    return true;
}

void checkChannelCount(const QString &text, int count)
{
    const QString out = SourceGenerator::rewriteChannelCountText(text, count);
    const QStringList in = linesOf(text);
    const QStringList lines = linesOf(out);
    check(lines.size() == in.size() || (lines.size() == in.size() + 1 && lines.last().isEmpty()));
    for (int i = 0; i < in.size(); ++i) {
        const bool marker = in.at(i).contains(kCountMarker);
        check(lines.at(i) == (marker ? SourceGenerator::channelCountLine(count) : in.at(i)));
    }
    check(SourceGenerator::rewriteChannelCountText(out, count) == out);
}

// Lines that may be dropped: strictly between a marker line and the first closing line after it,
// within the window.
QStringList linesOutsideBlocks(const QStringList &in, const QString &marker = kTableMarker)
{
    QVector<bool> inBlock(in.size(), false);
    for (int i = 0; i < in.size(); ++i) {
        if (!in.at(i).contains(marker))
            continue;
        for (int j = i + 1; j < in.size() && j <= i + kTableWindow; ++j) {
            if (in.at(j).contains(kClosing)) {
                for (int k = i + 1; k < j; ++k)
                    inBlock[k] = true;
                break;
            }
        }
    }
    QStringList kept;
    for (int i = 0; i < in.size(); ++i) {
        if (!inBlock.at(i))
            kept << in.at(i);
    }
    return kept;
}

// After every marker line that the walk took as one, the rows and then the closing line.
void checkTableRows(const QStringList &lines, const QStringList &rows,
                    const QString &marker = kTableMarker)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines.at(i).contains(marker))
            continue;
        check(i + rows.size() + 1 < lines.size());
        for (int r = 0; r < rows.size(); ++r)
            check(lines.at(i + 1 + r) == rows.at(r));
        check(lines.at(i + 1 + rows.size()).contains(kClosing));
        // The line after the closing line is copied as it is, marker or not.
        i += rows.size() + 2;
    }
}

void checkChannelTable(const QString &text, int count)
{
    const QStringList rows = rowsOf(count);
    QString out;
    if (!SourceGenerator::rewriteChannelTableText(text, rows, &out))
        return;
    const QStringList lines = linesOf(out);
    check(keptInOrder(linesOutsideBlocks(linesOf(text)), lines));
    checkTableRows(lines, rows);
    // The header written beside it counts the same rows.
    const QString header = SourceGenerator::rewriteChannelCountText(text, rows.size());
    for (const QString &line : linesOf(header)) {
        if (line.contains(kCountMarker))
            check(line == SourceGenerator::channelCountLine(rows.size()));
    }
    // The next run reads this output: any number of rows fits, and the same rows only add the
    // one empty line at the end.
    QString again;
    check(SourceGenerator::rewriteChannelTableText(out, rows, &again));
    check(again == out + QLatin1Char('\n'));
    for (int other : {0, kMaxRows}) {
        check(SourceGenerator::rewriteChannelTableText(out, rowsOf(other), &again));
        checkTableRows(linesOf(again), rowsOf(other));
    }
}

// Only a text with the table takes the keys' settings; then as the channel table takes its rows.
void checkSettingsTable(const QString &text, int count)
{
    QStringList rows;
    for (int i = 0; i < count; ++i)
        rows << QStringLiteral("50,10,3,20,1,");
    QString out;
    if (!SourceGenerator::rewriteKeySettingsTableText(text, rows, &out)) {
        check(out.isEmpty());
        return;
    }
    check(text.contains(kSettingsMarker));
    const QStringList lines = linesOf(out);
    check(keptInOrder(linesOutsideBlocks(linesOf(text), kSettingsMarker), lines));
    checkTableRows(lines, rows, kSettingsMarker);
    QString again;
    check(SourceGenerator::rewriteKeySettingsTableText(out, rows, &again));
    check(again == out + QLatin1Char('\n'));
}

void checkDeepSleep(const QString &text, const QString &row)
{
    QString out;
    if (!SourceGenerator::rewriteDeepSleepCfgText(text, row, &out))
        return;
    const QStringList in = linesOf(text);
    const QStringList lines = linesOf(out);
    check(lines.size() == in.size() + 1 && lines.last().isEmpty());
    for (int i = 0; i < in.size(); ++i) {
        const bool replaceable = i > 0 && in.at(i - 1).contains(kDeepSleepMarker);
        check(lines.at(i) == in.at(i) || (replaceable && lines.at(i) == row));
    }
    QString again;
    check(SourceGenerator::rewriteDeepSleepCfgText(out, QStringLiteral("1,7,255,255,"), &again));
}

QString withoutPathQuotes(QString line)
{
    return line.replace(QLatin1String("\"%UV_PRO_PATH%\""), QLatin1String("%UV_PRO_PATH%"));
}

void checkBuildScript(const QString &text)
{
    const QString out = BuildScript::rewriteText(text, kProjectDir);
    const QStringList in = linesOf(text);
    const QStringList lines = linesOf(out);
    check(lines.size() == in.size() || lines.size() == in.size() + 1);
    for (int i = 0; i < in.size(); ++i) {
        // Project and start lines are rewritten, in the older unquoted form or the quoted one.
        const bool rewritten = in.at(i).contains(QLatin1String("set UV_PRO_PATH=")) ||
                               in.at(i).contains(QLatin1String("set \"UV_PRO_PATH=")) ||
                               in.at(i).contains(QLatin1String("start /b")) ||
                               in.at(i).contains(QLatin1String("start \"\" /b"));
        // Any other line only gets the project path quoted where it stood bare.
        check(rewritten || withoutPathQuotes(lines.at(i)) == withoutPathQuotes(in.at(i)));
    }
    check(BuildScript::rewriteText(out, kProjectDir) == out);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const QString text = TextFile::fromFileBytes(bytes);
    checkBytesRoundTrip(bytes, text);
    const int count = size > 0 ? data[0] % (kMaxRows + 1) : 0;
    checkChannelCount(text, count);
    checkChannelTable(text, count);
    checkSettingsTable(text, count);
    checkDeepSleep(text, QStringLiteral("1,6,0,10,0,0,0,5,"));
    checkBuildScript(text);
    return 0;
}
