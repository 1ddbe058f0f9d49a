#include "production/productionlog.h"

#include "chip/chip.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>

namespace
{
const QByteArray kByteOrderMark("\xEF\xBB\xBF");
const QByteArray kBoardColumn("board");
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kReasonSeparator = QStringLiteral("；");
const QByteArray kPass("PASS");
const QByteArray kFail("FAIL");
// Per channel: no-touch mean, noise, signal.
constexpr int kFiguresPerChannel = 3;
constexpr int kLeadingColumns = 3;
const QList<QByteArray> kLeadingHeader = {kBoardColumn, "time", "verdict"};
const QByteArray kReasonsColumn("reasons");
// A board number the counter could have given: digits only, no more than fit an int.
constexpr int kMaxNumberDigits = 9;

QList<QByteArray> figureColumnsOf(int channel)
{
    const QByteArray name = "TK" + QByteArray::number(channel);
    return {name + "_notouch", name + "_noise", name + "_signal"};
}

QByteArray quoted(const QString &text, bool always = false)
{
    QByteArray bytes = text.toUtf8();
    // Spaces at either end are quoted too: a line is read trimmed.
    if (!always && !bytes.contains(',') && !bytes.contains('"') && bytes == bytes.trimmed())
        return bytes;
    bytes.replace('"', "\"\"");
    return '"' + bytes + '"';
}

// The fields of a CSV line; a quoted field may hold commas and doubled quotes. None for a quote
// that is not closed.
std::optional<QList<QByteArray>> fieldsOf(const QByteArray &line)
{
    QList<QByteArray> fields;
    QByteArray field;
    bool inQuotes = false;
    for (int i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (inQuotes) {
            if (c == '"' && i + 1 < line.size() && line.at(i + 1) == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                field += c;
            }
        } else if (c == '"' && field.isEmpty()) {
            inQuotes = true;
        } else if (c == ',') {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    if (inQuotes)
        return std::nullopt;
    fields << field;
    return fields;
}

QByteArray figure(const std::optional<int> &value)
{
    return value ? QByteArray::number(*value) : QByteArray();
}

// An empty field, or a whole number within what a 16-bit count and a difference of two can be.
bool readFigure(const QByteArray &text, std::optional<int> *value)
{
    if (text.isEmpty())
        return true;
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || text.size() > 6 || number < -0xFFFF || number > 0xFFFF)
        return false;
    *value = number;
    return true;
}

// The channels a header names in its figure columns, or none when the line is not a header as
// headerLine() writes it: the board's column alone does not make one, for "board" is a board
// number like any other.
std::optional<QList<int>> headerChannels(const QList<QByteArray> &fields)
{
    const int figureColumns = int(fields.size()) - kLeadingColumns - 1;
    if (figureColumns < 0 || figureColumns % kFiguresPerChannel != 0 ||
        fields.mid(0, kLeadingColumns) != kLeadingHeader || fields.last() != kReasonsColumn)
        return std::nullopt;
    QList<int> channels;
    for (int i = kLeadingColumns; i < kLeadingColumns + figureColumns; i += kFiguresPerChannel) {
        const QByteArray name = fields.at(i);
        const int end = name.indexOf('_');
        bool ok = false;
        const int channel = name.mid(2, end - 2).toInt(&ok);
        if (!name.startsWith("TK") || end < 3 || !ok || !chip::isChannel(channel) ||
            channels.contains(channel) ||
            fields.mid(i, kFiguresPerChannel) != figureColumnsOf(channel))
            return std::nullopt;
        channels << channel;
    }
    return channels;
}

// The header's fields of a text line, none when it is no header.
std::optional<QList<int>> headerOf(const QByteArray &line)
{
    const std::optional<QList<QByteArray>> fields = fieldsOf(line);
    return fields ? headerChannels(*fields) : std::nullopt;
}

std::optional<BoardRecord> boardOf(const QList<QByteArray> &fields, const QList<int> &channels)
{
    if (fields.size() != kLeadingColumns + kFiguresPerChannel * channels.size() + 1)
        return std::nullopt;
    BoardRecord record;
    record.board = QString::fromUtf8(fields.at(0));
    record.time = QDateTime::fromString(QString::fromUtf8(fields.at(1)), kTimeFormat);
    const QByteArray verdict = fields.at(2);
    if (record.board.isEmpty() || !record.time.isValid() || (verdict != kPass && verdict != kFail))
        return std::nullopt;
    record.passed = verdict == kPass;
    for (int i = 0; i < channels.size(); ++i) {
        ChannelFigures figures;
        figures.channel = channels.at(i);
        const int at = kLeadingColumns + kFiguresPerChannel * i;
        if (!readFigure(fields.at(at), &figures.noTouchMean) ||
            !readFigure(fields.at(at + 1), &figures.noise) ||
            !readFigure(fields.at(at + 2), &figures.signal))
            return std::nullopt;
        record.channels << figures;
    }
    const QString reasons = QString::fromUtf8(fields.last());
    if (!reasons.isEmpty())
        record.reasons = reasons.split(kReasonSeparator);
    // A failed board always says why; without its reasons the line was cut before them.
    if (!record.passed && record.reasons.isEmpty())
        return std::nullopt;
    return record;
}

// What the file holds now: its bytes, or empty for a file that is not there yet.
bool readAll(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    if (!file.exists())
        return true;
    if (file.size() > ProductionLog::kMaxFileBytes || !file.open(QIODevice::ReadOnly)) {
        *error = file.size() > ProductionLog::kMaxFileBytes
                     ? ProductionLog::tr("文件大于 %1 MB").arg(ProductionLog::kMaxFileBytes >> 20)
                     : file.errorString();
        return false;
    }
    *bytes = file.readAll();
    return true;
}

// The header of the last block of lines, or empty.
QByteArray lastHeader(const QByteArray &text)
{
    int from = text.size();
    while (from > 0) {
        const int start = text.lastIndexOf('\n', from - 1);
        QByteArray line = text.mid(start + 1, from - start - 1).trimmed();
        if (line.startsWith(kByteOrderMark))
            line.remove(0, kByteOrderMark.size());
        if (headerOf(line))
            return line;
        if (start < 0)
            break;
        from = start;
    }
    return QByteArray();
}

// The written bytes reach the disk, not only the system's cache.
bool syncToDisk(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}
} // namespace

QString ProductionLog::fileName(const QString &projectName, const QDate &date)
{
    return projectName + QStringLiteral("_production_") +
           date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".csv");
}

QByteArray ProductionLog::headerLine(const QList<int> &channels)
{
    QList<QByteArray> fields = kLeadingHeader;
    for (int channel : channels)
        fields += figureColumnsOf(channel);
    fields << kReasonsColumn;
    return fields.join(',');
}

QByteArray ProductionLog::lineOf(const BoardRecord &record, const QList<int> &channels)
{
    QByteArray line = quoted(record.board) + ',' + record.time.toString(kTimeFormat).toUtf8() +
                      ',' + (record.passed ? kPass : kFail);
    for (int channel : channels) {
        const ChannelFigures *figures = record.figuresOf(channel);
        const ChannelFigures none;
        const ChannelFigures &f = figures ? *figures : none;
        line += ',' + figure(f.noTouchMean) + ',' + figure(f.noise) + ',' + figure(f.signal);
    }
    // Always quoted: a line cut inside its reasons by a power cut leaves its quote open and is
    // not read as a board.
    return line + ',' + quoted(record.reasons.join(kReasonSeparator), true);
}

bool ProductionLog::checkWritable(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = tr("无法写入量产记录 %1：%2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool ProductionLog::append(const QString &path, const BoardRecord &record,
                           const QList<int> &channels, QString *error)
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = tr("无法写入量产记录 %1：%2").arg(path, reason);
        return false;
    };
    QByteArray existing;
    QString reason;
    if (!readAll(path, &existing, &reason))
        return fail(reason);
    QByteArray bytes;
    if (existing.isEmpty())
        bytes += kByteOrderMark;
    else if (!existing.endsWith('\n'))
        bytes += "\r\n";
    const QByteArray header = headerLine(channels);
    if (lastHeader(existing) != header)
        bytes += header + "\r\n";
    bytes += lineOf(record, channels) + "\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size() || !syncToDisk(file))
        return fail(file.errorString());
    file.close();
    return true;
}

std::optional<int> ProductionLog::plainNumber(const QString &board)
{
    if (board.isEmpty() || board.size() > kMaxNumberDigits)
        return std::nullopt;
    for (QChar c : board) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    return board.toInt();
}

QVector<BoardRecord> ProductionLog::fromText(const QByteArray &text, int *skipped, int *nextBoard)
{
    QVector<BoardRecord> records;
    std::optional<QList<int>> channels;
    int bad = 0;
    int largest = 0;
    for (QByteArray line : text.split('\n')) {
        if (line.startsWith(kByteOrderMark))
            line.remove(0, kByteOrderMark.size());
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const std::optional<QList<QByteArray>> fields = fieldsOf(line);
        if (fields && fields->mid(0, kLeadingColumns) == kLeadingHeader) {
            // A damaged header leaves no columns to read the lines below it by.
            channels = headerChannels(*fields);
            if (!channels)
                ++bad;
            continue;
        }
        // A line that cannot be read keeps its board's number from the counter all the same.
        const QByteArray first = fields ? fields->first() : line.left(line.indexOf(','));
        if (const std::optional<int> number = plainNumber(QString::fromUtf8(first)))
            largest = std::max(largest, *number);
        const std::optional<BoardRecord> record =
            fields && channels ? boardOf(*fields, *channels) : std::nullopt;
        if (record)
            records << *record;
        else
            ++bad;
    }
    if (skipped)
        *skipped = bad;
    if (nextBoard)
        *nextBoard = largest + 1;
    return records;
}

bool ProductionLog::read(const QString &path, QVector<BoardRecord> *records, QString *error,
                         int *skipped, int *nextBoard)
{
    QByteArray bytes;
    QString reason;
    if (!QFileInfo::exists(path))
        reason = tr("文件不存在");
    if (!reason.isEmpty() || !readAll(path, &bytes, &reason)) {
        if (error)
            *error = tr("无法读取量产记录 %1：%2").arg(path, reason);
        return false;
    }
    *records = fromText(bytes, skipped, nextBoard);
    return true;
}
