#include "quality/evidencefile.h"

#include "chip/chip.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <climits>
#include <cmath>

namespace
{
using Context = RecordingEvaluation::Context;
using Field = KeySettings::Field;

// Times and counts beyond what a double holds exactly are no figures of ours.
constexpr qint64 kLargest = qint64(1) << 53;

const char *const kShapes[] = {"slider", "wheel"};
const char *const kVerdicts[] = {"pass", "caution", "fail"};
const char *const kContexts[] = {"unknown", "touched", "notouch", "water", "quiet", "coupling"};

template <typename T> QJsonValue orNull(const std::optional<T> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonArray meansJson(const KeyMeans &means)
{
    return {orNull(means.noTouch), orNull(means.touch), orNull(means.water)};
}

QJsonObject swipeJson(const QString &slider, const ProjectEvidence::Swipe &swipe)
{
    const SwipeJudgement &j = swipe.judgement;
    QJsonArray on;
    for (const auto &[channel, means] : swipe.measuredOn) {
        QJsonArray entry = meansJson(means);
        entry.prepend(channel);
        on.append(entry);
    }
    QJsonArray spots;
    for (const SwipeJudgement::DeadSpot &spot : j.deadSpots)
        spots.append(QJsonArray{spot.noTouch ? 1 : 0, spot.from, spot.to, spot.ms});
    QJsonArray strokes;
    for (const SwipeJudgement::Stroke &stroke : j.strokes) {
        QJsonArray scans;
        for (int i = 0; i < stroke.samples.size(); ++i) {
            const SwipeSample &s = stroke.samples.at(i);
            scans.append(QJsonArray{s.ms, s.touched ? 1 : 0, s.position, stroke.unwrapped.at(i)});
        }
        strokes.append(QJsonObject{{"slope", stroke.slope},
                                   {"offset", stroke.offset},
                                   {"deviation", stroke.deviation},
                                   {"scans", scans}});
    }
    return {{"slider", slider},
            {"shape", kShapes[j.shape == SliderShape::Wheel ? 1 : 0]},
            {"on", on},
            {"verdict",
             j.verdict ? QJsonValue(kVerdicts[int(*j.verdict)]) : QJsonValue(QJsonValue::Null)},
            {"linearity", orNull(j.linearity)},
            {"jitter", orNull(j.jitter)},
            {"restUntouched", j.restUntouched},
            {"deadSpots", spots},
            {"strokes", strokes}};
}

QJsonObject keyJson(const KeyPreview::Key &key, const RecordingEvaluation::KeyFigures &f)
{
    QJsonArray settings;
    for (Field field : KeySettings::kFields)
        settings.append(key.settings.value(field));
    QJsonArray pressTimes;
    for (qint64 ms : f.pressTimes)
        pressTimes.append(ms);
    return {{"channel", key.channel},
            {"key", key.keyNumber},
            {"means", meansJson(key.means)},
            {"settings", settings},
            {"modelled", f.modelled},
            {"touchPhases", f.touchPhases},
            {"hits", f.hits},
            {"misses", f.misses},
            {"falsePresses", f.falsePresses},
            {"pressTimes", pressTimes},
            {"pressMargin", orNull(f.pressMargin)},
            {"releaseMargin", orNull(f.releaseMargin)},
            {"excursion", orNull(f.excursion)},
            {"pressOffset", f.pressOffset}};
}

QJsonObject snapshotJson(const EvaluationReport::Snapshot &s)
{
    const RecordingEvaluation::Result &r = s.result;
    QJsonArray keys;
    for (const KeyPreview::Key &key : s.keys)
        keys.append(keyJson(key, r.keys.at(key.channel)));
    QJsonArray unmodelled;
    for (int channel : r.unmodelled)
        unmodelled.append(channel);
    QJsonArray groups;
    for (const RecordingEvaluation::FalsePresses &g : r.falsePresses)
        groups.append(QJsonArray{g.channel, g.recording, kContexts[int(g.context)], g.touched,
                                 g.count, g.firstMs, g.lastMs});
    return {{"made", s.made.toString(Qt::ISODateWithMs)},
            {"minutes", s.minutes},
            {"recordings", QJsonArray::fromStringList(r.recordings)},
            {"records", r.records},
            {"durationMs", r.durationMs},
            {"unmodelled", unmodelled},
            {"keys", keys},
            {"falsePresses", groups}};
}

// Reads the values of one part, each checked; one that is missing or out of place spoils the
// part, and the reading goes on with a harmless value so that nothing breaks on the way.
class Part
{
public:
    bool sound = true;

    qint64 number(const QJsonValue &value, qint64 low = -kLargest, qint64 high = kLargest)
    {
        const double d = value.toDouble();
        if (!value.isDouble() || d != std::floor(d) || d < double(low) || d > double(high))
            return fail(low);
        return qint64(d);
    }
    int integer(const QJsonValue &value, int low = INT_MIN, int high = INT_MAX)
    {
        return int(number(value, low, high));
    }
    template <typename T> std::optional<T> maybe(const QJsonValue &value, T low, T high)
    {
        if (value.isNull())
            return std::nullopt;
        return T(number(value, low, high));
    }
    double real(const QJsonValue &value)
    {
        return value.isDouble() && std::isfinite(value.toDouble()) ? value.toDouble() : fail(0.0);
    }
    std::optional<double> maybeReal(const QJsonValue &value)
    {
        return value.isNull() ? std::nullopt : std::optional<double>(real(value));
    }
    bool flag(const QJsonValue &value) { return value.isBool() ? value.toBool() : fail(false); }
    QString text(const QJsonValue &value)
    {
        return value.isString() ? value.toString() : fail(QString());
    }
    QJsonArray array(const QJsonValue &value, int size = -1)
    {
        const QJsonArray a = value.toArray();
        return value.isArray() && (size < 0 || a.size() == size) ? a : fail(QJsonArray());
    }
    // The place of value among words; -1 (and the part spoilt) when it is none of them.
    template <std::size_t n> int word(const QJsonValue &value, const char *const (&words)[n])
    {
        for (std::size_t i = 0; i < n; ++i) {
            if (value.toString() == QLatin1String(words[i]))
                return int(i);
        }
        return fail(-1);
    }
    int channel(const QJsonValue &value) { return integer(value, 0, chip::kChannelCount - 1); }
    // The three means from values' place first on.
    KeyMeans means(const QJsonArray &values, int first = 0)
    {
        KeyMeans m;
        m.noTouch = maybe<int>(values.at(first), 0, chip::kMaxCount);
        m.touch = maybe<int>(values.at(first + 1), 0, chip::kMaxCount);
        m.water = maybe<int>(values.at(first + 2), 0, chip::kMaxCount);
        return m;
    }

private:
    template <typename T> T fail(T harmless)
    {
        sound = false;
        return harmless;
    }
};

SwipeJudgement::Stroke strokeOf(Part &part, const QJsonObject &o)
{
    SwipeJudgement::Stroke stroke;
    stroke.slope = part.real(o.value("slope"));
    stroke.offset = part.real(o.value("offset"));
    stroke.deviation = part.real(o.value("deviation"));
    const QJsonArray scans = part.array(o.value("scans"));
    // A stroke is drawn from its first scan to its last.
    if (scans.isEmpty())
        part.sound = false;
    for (const QJsonValue &value : scans) {
        const QJsonArray scan = part.array(value, 4);
        if (!part.sound)
            break;
        stroke.samples.append({part.number(scan.at(0)), part.integer(scan.at(1), 0, 1) == 1,
                               part.integer(scan.at(2), 0, FirmwareSliderModel::kFullScale)});
        stroke.unwrapped.append(part.real(scan.at(3)));
    }
    return stroke;
}

// The swipe of one slider and its name; none when a value is out of place.
std::optional<QPair<QString, ProjectEvidence::Swipe>> swipeOf(const QJsonObject &o, QString *name)
{
    Part part;
    *name = o.value("slider").toString();
    if (name->trimmed().isEmpty())
        return std::nullopt;
    ProjectEvidence::Swipe swipe;
    SwipeJudgement &j = swipe.judgement;
    j.shape = part.word(o.value("shape"), kShapes) == 1 ? SliderShape::Wheel : SliderShape::Slider;
    for (const QJsonValue &value : part.array(o.value("on"))) {
        const QJsonArray entry = part.array(value, 4);
        if (part.sound)
            swipe.measuredOn.append({part.channel(entry.at(0)), part.means(entry, 1)});
    }
    if (!o.value("verdict").isNull())
        j.verdict = KeyVerdict(std::max(0, part.word(o.value("verdict"), kVerdicts)));
    j.linearity = part.maybeReal(o.value("linearity"));
    j.jitter = part.maybeReal(o.value("jitter"));
    j.restUntouched = part.flag(o.value("restUntouched"));
    for (const QJsonValue &value : part.array(o.value("deadSpots"))) {
        const QJsonArray spot = part.array(value, 4);
        if (part.sound)
            j.deadSpots.append({part.integer(spot.at(0), 0, 1) == 1, part.integer(spot.at(1)),
                                part.integer(spot.at(2)), part.number(spot.at(3))});
    }
    for (const QJsonValue &value : part.array(o.value("strokes")))
        j.strokes.append(strokeOf(part, value.toObject()));
    if (!part.sound)
        return std::nullopt;
    return qMakePair(*name, swipe);
}

void readKey(Part &part, const QJsonObject &o, EvaluationReport::Snapshot *s)
{
    KeyPreview::Key key;
    key.channel = part.channel(o.value("channel"));
    key.keyNumber = part.integer(o.value("key"), 0, 255);
    key.means = part.means(part.array(o.value("means"), 3));
    const QJsonArray settings = part.array(o.value("settings"), KeySettings::kFieldCount);
    for (int i = 0; i < settings.size(); ++i) {
        const Field field = KeySettings::kFields.at(i);
        key.settings.setValue(field, part.integer(settings.at(i), KeySettings::range(field).minimum,
                                                  KeySettings::range(field).maximum));
    }
    RecordingEvaluation::KeyFigures &f = s->result.keys[key.channel];
    f.modelled = part.flag(o.value("modelled"));
    f.touchPhases = part.integer(o.value("touchPhases"), 0);
    f.hits = part.integer(o.value("hits"), 0);
    f.misses = part.integer(o.value("misses"), 0);
    f.falsePresses = part.integer(o.value("falsePresses"), 0);
    for (const QJsonValue &value : part.array(o.value("pressTimes")))
        f.pressTimes.append(part.number(value, 0));
    f.pressMargin = part.maybe<int>(o.value("pressMargin"), INT_MIN, INT_MAX);
    f.releaseMargin = part.maybe<int>(o.value("releaseMargin"), INT_MIN, INT_MAX);
    f.excursion = part.maybe<int>(o.value("excursion"), INT_MIN, INT_MAX);
    f.pressOffset = part.integer(o.value("pressOffset"));
    s->keys.append(key);
}

std::optional<EvaluationReport::Snapshot> snapshotOf(const QJsonObject &o)
{
    Part part;
    EvaluationReport::Snapshot s;
    RecordingEvaluation::Result &r = s.result;
    s.made = QDateTime::fromString(part.text(o.value("made")), Qt::ISODateWithMs);
    s.minutes = part.integer(o.value("minutes"), 0, 24 * 60);
    for (const QJsonValue &value : part.array(o.value("recordings")))
        r.recordings << part.text(value);
    r.records = part.number(o.value("records"), 0);
    r.durationMs = part.number(o.value("durationMs"), 0);
    for (const QJsonValue &value : part.array(o.value("unmodelled")))
        r.unmodelled << part.channel(value);
    for (const QJsonValue &value : part.array(o.value("keys")))
        readKey(part, value.toObject(), &s);
    for (const QJsonValue &value : part.array(o.value("falsePresses"))) {
        const QJsonArray g = part.array(value, 7);
        if (!part.sound)
            break;
        r.falsePresses.append(
            {part.channel(g.at(0)), part.integer(g.at(1), 0, int(r.recordings.size()) - 1),
             Context(std::max(0, part.word(g.at(2), kContexts))),
             part.integer(g.at(3), -1, chip::kChannelCount - 1), part.integer(g.at(4), 1),
             part.number(g.at(5)), part.number(g.at(6))});
    }
    if (!part.sound || !s.made.isValid())
        return std::nullopt;
    return s;
}
} // namespace

QString EvidenceFile::fileName(const QString &projectName)
{
    return projectName + QStringLiteral("_evidence.json");
}

QString EvidenceFile::backupPath(const QString &path) { return path + QStringLiteral(".bak"); }

QByteArray EvidenceFile::toJson(const ProjectEvidence &evidence)
{
    QJsonObject root;
    if (!evidence.swipes.isEmpty()) {
        QJsonArray swipes;
        for (auto it = evidence.swipes.cbegin(); it != evidence.swipes.cend(); ++it)
            swipes.append(swipeJson(it.key(), it.value()));
        root.insert("swipes", swipes);
    }
    if (evidence.evaluation)
        root.insert("evaluation", snapshotJson(*evidence.evaluation));
    if (evidence.falseTouch)
        root.insert("falseTouch", snapshotJson(*evidence.falseTouch));
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

bool EvidenceFile::fromJson(const QByteArray &text, ProjectEvidence *evidence, QStringList *unread,
                            int *brokenAt)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (!document.isObject()) {
        if (brokenAt)
            *brokenAt = error.error == QJsonParseError::NoError ? 0 : error.offset;
        return false;
    }
    const QJsonObject root = document.object();
    ProjectEvidence read;
    QStringList left;
    for (const QJsonValue &value : root.value("swipes").toArray()) {
        QString name;
        if (const auto swipe = swipeOf(value.toObject(), &name))
            read.swipes.insert(swipe->first, swipe->second);
        else
            left << ProjectEvidence::swipeName(name.isEmpty() ? QStringLiteral("?") : name);
    }
    const auto snapshot = [&root, &left](const char *key, const QString &name) {
        std::optional<EvaluationReport::Snapshot> s;
        if (root.contains(key) && !(s = snapshotOf(root.value(key).toObject())))
            left << name;
        return s;
    };
    read.evaluation = snapshot("evaluation", ProjectEvidence::evaluationName());
    read.falseTouch = snapshot("falseTouch", ProjectEvidence::falseTouchName());
    *evidence = read;
    if (unread)
        *unread = left;
    return true;
}

bool EvidenceFile::write(const QString &path, const ProjectEvidence &evidence, QString *error)
{
    if (evidence.isEmpty()) {
        if (!QFile::exists(path) || QFile::remove(path))
            return true;
        if (error)
            *error = tr("无法删除测试结论文件 %1").arg(path);
        return false;
    }
    QSaveFile file(path);
    const QByteArray text = toJson(evidence);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error)
            *error = tr("无法写入测试结论文件 %1：%2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool EvidenceFile::read(const QString &path, ProjectEvidence *evidence, QString *error,
                        QStringList *unread)
{
    QFile file(path);
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!file.open(QIODevice::ReadOnly))
        return fail(tr("无法读取测试结论文件 %1：%2").arg(path, file.errorString()));
    // Read one byte past the limit: a file still growing is not taken by its size alone.
    const QByteArray text = file.read(kMaxFileBytes + 1);
    if (text.size() > kMaxFileBytes)
        return fail(tr("测试结论文件 %1 大于 %2 MB，未读取").arg(path).arg(kMaxFileBytes >> 20));
    int brokenAt = 0;
    if (!fromJson(text, evidence, unread, &brokenAt))
        return fail(tr("测试结论文件 %1 已损坏（第 %2 字节），未读取").arg(path).arg(brokenAt));
    return true;
}

bool EvidenceFile::keepAsBackup(const QString &path, QString *error)
{
    const QString backup = backupPath(path);
    if ((QFile::exists(backup) && !QFile::remove(backup)) || !QFile::rename(path, backup)) {
        if (error)
            *error = tr("无法保留测试结论文件 %1 为 %2").arg(path, backup);
        return false;
    }
    return true;
}
