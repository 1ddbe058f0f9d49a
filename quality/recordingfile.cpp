#include "quality/recordingfile.h"

#include "quality/samplesfile.h"

#include <QDateTime>
#include <QFile>
#include <QList>

#include <algorithm>

namespace
{
using Kind = RecordedRecord::Kind;
using Phase = RecordedRecord::Phase;

constexpr int kLeadingFields = 5;
constexpr int kFields = kLeadingFields + chip::kChannelCount;
constexpr char kTag = 0x36;

// The decimal digits of a value that is not negative, appended without a temporary array: a
// recording builds the line of every record so, a thousand times a second.
void appendNumber(QByteArray *text, quint64 value)
{
    char digits[20];
    int n = sizeof digits;
    do {
        digits[--n] = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    text->append(digits + n, int(sizeof digits) - n);
}

const char *kindWord(Kind kind)
{
    switch (kind) {
    case Kind::None:
        return "none";
    case Kind::Single:
        return "single";
    case Kind::Auto:
        return "auto";
    case Kind::Waterproof:
        return "waterproof";
    case Kind::Verification:
        return "verification";
    case Kind::End:
        return "end";
    case Kind::Mark:
        return "mark";
    }
    return "none";
}

const char *phaseWord(Phase phase)
{
    switch (phase) {
    case Phase::None:
        return "-";
    case Phase::NoTouch:
        return "notouch";
    case Phase::Touch:
        return "touch";
    case Phase::Water:
        return "water";
    case Phase::Finished:
        return "finished";
    case Phase::Stopped:
        return "stopped";
    case Phase::Failed:
        return "failed";
    case Phase::Untouched:
        return "untouched";
    }
    return "-";
}

template <typename E> bool wordOf(const QByteArray &word, const char *(*name)(E), int count, E *out)
{
    for (int i = 0; i < count; ++i) {
        if (word == name(E(i))) {
            *out = E(i);
            return true;
        }
    }
    return false;
}

// A number of at most maxDigits digits, nothing else.
bool number(const QByteArray &text, int maxDigits, qint64 *value)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return false;
    qint64 v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    *value = v;
    return true;
}

// The phases a run of each kind records.
bool fits(Kind kind, Phase phase)
{
    switch (kind) {
    case Kind::Single:
    case Kind::Auto:
        return phase == Phase::NoTouch || phase == Phase::Touch;
    case Kind::Waterproof:
        return phase == Phase::Water;
    case Kind::None:
    case Kind::Verification:
        return phase == Phase::None;
    case Kind::End:
        return phase == Phase::Finished || phase == Phase::Stopped || phase == Phase::Failed;
    case Kind::Mark:
        return phase == Phase::Untouched;
    }
    return false;
}
} // namespace

RecordedRecord RecordedRecord::of(qint64 ms, Kind kind, Phase phase, int channel, int crcFailed,
                                  const QByteArray &record)
{
    RecordedRecord r;
    r.ms = ms;
    r.kind = kind;
    r.phase = phase;
    r.channel = qint8(chip::isChannel(channel) ? channel : -1);
    r.crcFailed = crcFailed ? 1 : 0;
    for (int k = 0; k < chip::kChannelCount; ++k) {
        const int count = chip::channelReading(record.constData(), record.size(), k);
        if (count < 0)
            break;
        r.counts[k] = quint16(count);
        r.countCount = quint8(k + 1);
    }
    return r;
}

QByteArray RecordedRecord::toRecord() const
{
    QByteArray record(1 + 2 * countCount, '\0');
    record[0] = kTag;
    for (int k = 0; k < countCount; ++k) {
        record[1 + 2 * k] = char(counts[k] >> 8);
        record[2 + 2 * k] = char(counts[k] & 0xFF);
    }
    return record;
}

QString RecordingFile::fileName(const QString &projectName, const QDateTime &start, int copy)
{
    const QString number = copy > 1 ? QStringLiteral("-%1").arg(copy) : QString();
    return projectName + QLatin1Char('_') + start.toString(QStringLiteral("yyyy-MM-dd-HH-mm-ss")) +
           number + QStringLiteral("_rec.csv");
}

QByteArray RecordingFile::header()
{
    QByteArray text = "time_ms,kind,phase,channel,crc_failed";
    for (int k = 0; k < chip::kChannelCount; ++k)
        text += ",TK" + QByteArray::number(k);
    return text + "\r\n";
}

void RecordingFile::appendLine(QByteArray *text, const RecordedRecord &r)
{
    appendNumber(text, quint64(std::max<qint64>(r.ms, 0)));
    text->append(',');
    text->append(kindWord(r.kind));
    text->append(',');
    text->append(phaseWord(r.phase));
    if (r.channel >= 0) {
        text->append(",TK");
        appendNumber(text, quint64(r.channel));
    } else {
        text->append(",-");
    }
    text->append(r.crcFailed ? ",1" : ",0");
    for (int k = 0; k < chip::kChannelCount; ++k) {
        text->append(',');
        if (k < r.countCount)
            appendNumber(text, r.counts[k]);
    }
    text->append("\r\n");
}

bool RecordingFile::parseLine(const QByteArray &line, RecordedRecord *out)
{
    const QList<QByteArray> fields = line.split(',');
    if (fields.size() != kFields)
        return false;
    RecordedRecord r;
    qint64 value = 0;
    if (!number(fields.at(0), 12, &value) || value > kMaxMs)
        return false;
    r.ms = value;
    if (!wordOf(fields.at(1), kindWord, 7, &r.kind) ||
        !wordOf(fields.at(2), phaseWord, 8, &r.phase) || !fits(r.kind, r.phase))
        return false;
    const QByteArray &channel = fields.at(3);
    if (channel != "-") {
        if (!channel.startsWith("TK") || !number(channel.mid(2), 2, &value) ||
            !chip::isChannel(int(value)))
            return false;
        r.channel = qint8(value);
    }
    // A test names the channel it measures; no run, verification and a mark name none; an end
    // names the channel of the test it ended, if it ended one.
    const bool namesNone =
        r.kind == Kind::None || r.kind == Kind::Verification || r.kind == Kind::Mark;
    if (r.kind != Kind::End && (r.channel >= 0) != !namesNone)
        return false;
    if (fields.at(4) != "0" && fields.at(4) != "1")
        return false;
    r.crcFailed = fields.at(4) == "1" ? 1 : 0;
    for (int k = 0; k < chip::kChannelCount; ++k) {
        const QByteArray &count = fields.at(kLeadingFields + k);
        if (count.isEmpty())
            continue;
        // Counts stop where a cut-short record ended: none may follow an empty one.
        if (k != r.countCount || !number(count, 5, &value) || value > 0xFFFF)
            return false;
        r.counts[k] = quint16(value);
        r.countCount = quint8(k + 1);
    }
    // Only a record that failed its check can be cut short (a zero read for a missing count
    // would pass for a measurement); an end or a mark holds none.
    const bool noCounts = r.kind == Kind::End || r.kind == Kind::Mark;
    const int counts = noCounts ? 0 : r.crcFailed ? r.countCount : chip::kChannelCount;
    if (r.countCount != counts || (noCounts && r.crcFailed))
        return false;
    *out = r;
    return true;
}

bool RecordingFile::read(const QString &path, QVector<RecordedRecord> *records, int *skipped,
                         QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = tr("无法读取录制文件 %1：%2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > kMaxFileBytes) {
        if (error)
            *error = tr("录制文件 %1 过大（%2 MB），不是本工具的录制文件")
                         .arg(path)
                         .arg(file.size() / (1024 * 1024));
        return false;
    }
    records->clear();
    int bad = 0;
    const QByteArray head = header().trimmed();
    // Line by line, and a line no longer than a record line can be: a file without line ends
    // is not held whole.
    constexpr qint64 kMaxLine = 256;
    bool first = true;
    while (!file.atEnd()) {
        QByteArray line = file.readLine(kMaxLine);
        if (first && line.startsWith(SamplesFile::kByteOrderMark))
            line.remove(0, SamplesFile::kByteOrderMark.size());
        first = false;
        if (!line.endsWith('\n') && !file.atEnd()) {
            ++bad;
            while (!file.atEnd() && !file.readLine(kMaxLine).endsWith('\n')) {
            }
            continue;
        }
        line = line.trimmed();
        if (line.isEmpty() || line == head)
            continue;
        RecordedRecord r;
        // The recording's clock never goes back: a line earlier than the one before it is not
        // where it was written, and its seconds would be counted twice.
        if (parseLine(line, &r) && (records->isEmpty() || r.ms >= records->constLast().ms))
            records->append(r);
        else
            ++bad;
    }
    if (skipped)
        *skipped = bad;
    return true;
}
