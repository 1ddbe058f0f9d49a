#include "quality/recordingevaluation.h"

#include "quality/keythresholds.h"

#include <algorithm>
#include <climits>
#include <map>
#include <tuple>

namespace
{
using Kind = RecordedRecord::Kind;
using Phase = RecordedRecord::Phase;
using Context = RecordingEvaluation::Context;
using Event = RecordingEvaluation::Event;

// Per key while one recording runs: plain integers, so that a scan stays a few comparisons.
struct KeyRun
{
    int pressMargin = INT_MAX;
    int releaseMargin = INT_MAX;
    int excursion = INT_MIN;
    // Half the swing: a finger has arrived once the count is that far above the base.
    int halfSwing = 0;
};

// The context of the keys that are not touched, and the key touched (-1 for none).
struct Touch
{
    Context others = Context::Unknown;
    int touched = -1;
};

Touch touchOf(const RecordedRecord &r, bool quiet)
{
    switch (r.kind) {
    case Kind::Single:
    case Kind::Auto:
        if (r.phase == Phase::Touch)
            return {Context::Coupling, r.channel};
        return {Context::NoTouch, -1};
    case Kind::Waterproof:
        return {Context::Water, -1};
    case Kind::Verification:
        return {quiet ? Context::Quiet : Context::Unknown, -1};
    case Kind::None:
    case Kind::End:
    case Kind::Mark:
        break;
    }
    return {Context::Unknown, -1};
}

// Numbers the stretches of verification record by record, the same way for the list the user
// marks and for the evaluation.
class StretchCounter
{
public:
    // The stretch r belongs to, -1 outside verification.
    int feed(const RecordedRecord &r)
    {
        if (r.kind != Kind::Verification) {
            inside = false;
            return -1;
        }
        if (!inside)
            ++number;
        inside = true;
        return number;
    }

private:
    int number = -1;
    bool inside = false;
};

// One recording through the firmware models, its figures added to a result; the decision of one
// channel kept record by record when a trace is asked for.
class Pass
{
public:
    Pass(const QVector<KeyPreview::Key> &keys, int recording, RecordingEvaluation::Result *result,
         int traceChannel = -1, QVector<RecordingEvaluation::TracePoint> *trace = nullptr)
        : recording(recording), result(result), traceChannel(traceChannel), trace(trace)
    {
        preview.reset(keys);
        for (int k = 0; k < chip::kChannelCount; ++k) {
            models[k] = preview.model(k);
            if (models[k]) {
                modelled |= quint32(1) << k;
                channels[channelCount++] = k;
            }
        }
        for (const KeyPreview::Key &key : keys) {
            if (!chip::isChannel(key.channel) || !key.means.isComplete())
                continue;
            const KeyThresholds t = KeyThresholds::of(*key.means.noTouch, *key.means.touch,
                                                      *key.means.water, key.settings);
            runs[key.channel].halfSwing = std::max(1, t.swing / 2);
            result->keys[key.channel].pressOffset = t.pressOffset;
        }
    }

    void run(const EvaluatedRecording &input)
    {
        const int firstEvent = result->events.size();
        bool quiet = false;
        StretchCounter stretches;
        for (int i = 0; i < input.records.size(); ++i) {
            const RecordedRecord &r = input.records.at(i);
            const int stretch = stretches.feed(r);
            if (r.kind == Kind::End) {
                closePhase();
                quiet = false;
                continue;
            }
            if (r.kind == Kind::Mark) {
                quiet = r.phase == Phase::Untouched;
                continue;
            }
            // The firmware gets no record that failed its check; neither does the preview.
            if (r.crcFailed || r.countCount != chip::kChannelCount)
                continue;
            const Touch touch = touchOf(r, quiet || input.verificationUntouched ||
                                               input.untouchedStretches.contains(stretch));
            if (touch.touched != phaseChannel || phaseRecords >= chip::kSamplesPerPhase) {
                closePhase();
                if (touch.touched >= 0)
                    openPhase(touch.touched, i, r.ms);
            }
            scan(r, i, touch);
        }
        closePhase();
        std::stable_sort(result->events.begin() + firstEvent, result->events.end(),
                         [](const Event &a, const Event &b) { return a.record < b.record; });
        for (int i = 0; i < channelCount; ++i) {
            const int k = channels[i];
            RecordingEvaluation::KeyFigures &figures = result->keys[k];
            figures.modelled = true;
            const KeyRun &key = runs[k];
            if (key.pressMargin != INT_MAX)
                figures.pressMargin =
                    std::min(figures.pressMargin.value_or(INT_MAX), key.pressMargin);
            if (key.releaseMargin != INT_MAX)
                figures.releaseMargin =
                    std::min(figures.releaseMargin.value_or(INT_MAX), key.releaseMargin);
            if (key.excursion != INT_MIN)
                figures.excursion = std::max(figures.excursion.value_or(INT_MIN), key.excursion);
        }
    }

private:
    void scan(const RecordedRecord &r, int index, const Touch &touch)
    {
        const quint32 before = pressedNow;
        for (int i = 0; i < channelCount; ++i) {
            const int k = channels[i];
            const FirmwareKeyModel *model = models[k];
            const int count = r.counts[k];
            const bool pressed = (before >> k) & 1;
            KeyRun &key = runs[k];
            if (k == touch.touched) {
                if (pressed)
                    key.releaseMargin =
                        std::min(key.releaseMargin, count - model->releaseThreshold());
                if (!arrivalMs && count - model->base() >= key.halfSwing)
                    arrivalMs = r.ms;
            } else if (touch.others != Context::Unknown) {
                if (!pressed)
                    key.pressMargin = std::min(key.pressMargin, model->pressThreshold() - count);
                key.excursion = std::max(key.excursion, count - model->base());
            }
        }
        RecordingEvaluation::TracePoint point;
        const FirmwareKeyModel *traced = trace ? models[traceChannel] : nullptr;
        if (traced) {
            const FirmwareKeyModel *model = traced;
            point.ms = r.ms;
            point.count = r.counts[traceChannel];
            point.base = quint16(model->base());
            point.pressThreshold = quint16(model->pressThreshold());
            point.releaseThreshold = quint16(model->releaseThreshold());
            point.context = traceChannel == touch.touched ? Context::Touched : touch.others;
        }
        const quint32 changed = preview.feedCounts(r.counts, r.ms);
        if (changed)
            pressedNow ^= changed;
        const quint32 after = pressedNow;
        if (const quint32 rising = changed & after)
            pressed(rising, index, r.ms, touch);
        if (phaseChannel >= 0 && ((after >> phaseChannel) & 1))
            phasePressed = true;
        ++phaseRecords;
        if (traced) {
            point.debounce = quint8(traced->debounceCount());
            point.pressed = (after >> traceChannel) & 1;
            trace->append(point);
        }
    }

    void pressed(quint32 rising, int index, qint64 ms, const Touch &touch)
    {
        for (int i = 0; i < channelCount; ++i) {
            const int k = channels[i];
            if (!((rising >> k) & 1))
                continue;
            RecordingEvaluation::KeyFigures &figures = result->keys[k];
            Event event;
            event.channel = k;
            event.recording = recording;
            event.record = index;
            event.ms = ms;
            if (k == touch.touched) {
                ++figures.hits;
                event.type = Event::Type::Hit;
                event.context = Context::Touched;
                if (!phaseHit) {
                    phaseHit = true;
                    figures.pressTimes.append(ms - std::min(ms, arrivalMs.value_or(ms)));
                }
            } else if (touch.others != Context::Unknown) {
                ++figures.falsePresses;
                event.type = Event::Type::FalsePress;
                event.context = touch.others;
                event.touched = touch.others == Context::Coupling ? touch.touched : -1;
            } else {
                continue;
            }
            result->events.append(event);
        }
    }

    void openPhase(int channel, int index, qint64 ms)
    {
        phaseChannel = channel;
        phaseStart = index;
        phaseStartMs = ms;
        phaseRecords = 0;
        phasePressed = false;
        phaseHit = false;
        arrivalMs.reset();
    }

    // A touch phase ends: a whole one without a press is a miss; one the run cut short counts
    // only when it pressed.
    void closePhase()
    {
        const int channel = phaseChannel;
        phaseChannel = -1;
        if (channel < 0 || !((modelled >> channel) & 1))
            return;
        if (!phasePressed && phaseRecords < chip::kSamplesPerPhase)
            return;
        RecordingEvaluation::KeyFigures &figures = result->keys[channel];
        ++figures.touchPhases;
        if (phasePressed)
            return;
        ++figures.misses;
        Event miss;
        miss.type = Event::Type::Miss;
        miss.context = Context::Touched;
        miss.channel = channel;
        miss.recording = recording;
        miss.record = phaseStart;
        miss.ms = phaseStartMs;
        result->events.append(miss);
    }

    KeyPreview preview;
    int recording;
    RecordingEvaluation::Result *result;
    int traceChannel;
    QVector<RecordingEvaluation::TracePoint> *trace;
    quint32 modelled = 0;
    // The models and the channels that have one, in channel order.
    std::array<const FirmwareKeyModel *, chip::kChannelCount> models{};
    std::array<int, chip::kChannelCount> channels{};
    int channelCount = 0;
    quint32 pressedNow = 0;
    std::array<KeyRun, chip::kChannelCount> runs{};
    // The touch phase under way.
    int phaseChannel = -1;
    int phaseStart = 0;
    qint64 phaseStartMs = 0;
    int phaseRecords = 0;
    bool phasePressed = false;
    bool phaseHit = false;
    std::optional<qint64> arrivalMs;
};
} // namespace

std::optional<qint64> RecordingEvaluation::KeyFigures::medianPressMs() const
{
    if (pressTimes.isEmpty())
        return std::nullopt;
    QVector<qint64> sorted = pressTimes;
    std::sort(sorted.begin(), sorted.end());
    const int middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted.at(middle) : (sorted.at(middle - 1) + sorted.at(middle)) / 2;
}

std::optional<qint64> RecordingEvaluation::KeyFigures::maxPressMs() const
{
    if (pressTimes.isEmpty())
        return std::nullopt;
    return *std::max_element(pressTimes.cbegin(), pressTimes.cend());
}

std::optional<int> RecordingEvaluation::KeyFigures::excursionPercent() const
{
    if (!excursion || pressOffset <= 0 || pressOffset == KeyThresholds::kNever)
        return std::nullopt;
    return int(qint64(std::max(0, *excursion)) * 100 / pressOffset);
}

bool RecordingEvaluation::KeyFigures::quietPass() const
{
    // Twice the excursion below the distance: below half of it, exact in integers.
    return modelled && falsePresses == 0 && excursion && pressOffset != KeyThresholds::kNever &&
           qint64(*excursion) * 2 < pressOffset;
}

QVector<RecordingEvaluation::Stretch>
RecordingEvaluation::verificationStretches(const QVector<RecordedRecord> &records)
{
    QVector<Stretch> list;
    StretchCounter counter;
    bool marked = false;
    for (int i = 0; i < records.size(); ++i) {
        const RecordedRecord &r = records.at(i);
        if (r.kind == Kind::Mark)
            marked = r.phase == Phase::Untouched;
        else if (r.kind == Kind::End)
            marked = false;
        const int stretch = counter.feed(r);
        if (stretch < 0)
            continue;
        if (stretch == list.size())
            list.append({i, i, r.ms, r.ms, marked});
        list.last().last = i;
        list.last().toMs = r.ms;
    }
    return list;
}

RecordingEvaluation::Result
RecordingEvaluation::evaluate(const QVector<EvaluatedRecording> &recordings,
                              const QVector<KeyPreview::Key> &keys, int tracedRecording,
                              int tracedChannel, QVector<TracePoint> *trace)
{
    Result result;
    for (const KeyPreview::Key &key : keys) {
        if (chip::isChannel(key.channel) && !key.means.isComplete())
            result.unmodelled << key.channel;
    }
    for (int i = 0; i < recordings.size(); ++i) {
        const EvaluatedRecording &recording = recordings.at(i);
        const bool traced = trace && i == tracedRecording && chip::isChannel(tracedChannel);
        if (traced) {
            trace->clear();
            trace->reserve(recording.records.size());
        }
        Pass(keys, i, &result, traced ? tracedChannel : -1, traced ? trace : nullptr)
            .run(recording);
        result.recordings << recording.name;
        result.records += recording.records.size();
        if (!recording.records.isEmpty())
            result.durationMs += recording.records.constLast().ms;
    }
    // A noisy key presses hundreds of times: its presses are told by group.
    std::map<std::tuple<int, int, int, int>, FalsePresses> groups;
    for (const Event &event : qAsConst(result.events)) {
        if (event.type != Event::Type::FalsePress)
            continue;
        FalsePresses &group =
            groups[{event.channel, event.recording, int(event.context), event.touched}];
        if (group.count == 0)
            group = {event.channel, event.recording, event.context, event.touched, 0, event.ms, 0};
        ++group.count;
        group.lastMs = event.ms;
    }
    for (const auto &entry : groups)
        result.falsePresses.append(entry.second);
    return result;
}

QVector<RecordingEvaluation::TracePoint>
RecordingEvaluation::trace(const EvaluatedRecording &recording,
                           const QVector<KeyPreview::Key> &keys, int channel)
{
    QVector<TracePoint> points;
    if (!chip::isChannel(channel))
        return points;
    Result scratch;
    points.reserve(recording.records.size());
    Pass(keys, 0, &scratch, channel, &points).run(recording);
    return points;
}

QString RecordingEvaluation::contextText(Context context, int touched)
{
    switch (context) {
    case Context::Unknown:
        return tr("未判定");
    case Context::Touched:
        return tr("触摸本键");
    case Context::NoTouch:
        return tr("不触摸");
    case Context::Water:
        return tr("加水");
    case Context::Quiet:
        return tr("验证（无人触摸）");
    case Context::Coupling:
        return tr("触摸 TK%1 时").arg(touched);
    }
    return QString();
}
