#ifndef RECORDINGEVALUATION_H
#define RECORDINGEVALUATION_H

#include "chip/chip.h"
#include "quality/keypreview.h"
#include "quality/recordingfile.h"

#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

// One recording as the evaluation reads it.
struct EvaluatedRecording
{
    QString name;
    QVector<RecordedRecord> records;
    // The user says nobody touched the panel in any stretch of verification with no test
    // running; the stretch a false-touch run marked is untouched whatever this says.
    bool verificationUntouched = false;
    // The stretches the user says nobody touched, by their number in
    // RecordingEvaluation::verificationStretches().
    QSet<int> untouchedStretches;
};

// What the application firmware would have decided on recorded data under the keys' settings:
// each recording runs through the preview's firmware models from their start (the firmware's
// power-up), with every intact record and the firmware's seconds from the records' times. The
// recording says who touched what: a key's own touch phase is touched, the no-touch phases,
// water, a marked verification and another key's touch are not; anything else (verification the
// user did not mark, records of no run) is scanned but not judged.
class RecordingEvaluation
{
    Q_DECLARE_TR_FUNCTIONS(RecordingEvaluation)

public:
    // Who touched a key during a record.
    enum class Context : quint8 {
        Unknown,  // not judged
        Touched,  // the key's own touch phase
        NoTouch,  // a no-touch phase
        Water,    // water on the pad
        Quiet,    // verification that nobody touched
        Coupling, // another key's touch phase
    };
    struct Event
    {
        enum class Type : quint8 {
            Hit,        // a press in the key's touch phase
            Miss,       // a touch phase of the key without a press
            FalsePress, // a press while the key was not touched
        };
        Type type = Type::Hit;
        Context context = Context::Unknown;
        int channel = 0;
        int recording = 0;
        // The record of the press, or the first of the missed phase.
        int record = 0;
        qint64 ms = 0;
        // The key touched during a coupling press, -1 otherwise.
        int touched = -1;
    };
    struct KeyFigures
    {
        // The key has a firmware model: its three means are in the results.
        bool modelled = false;
        int touchPhases = 0;
        int hits = 0;
        int misses = 0;
        int falsePresses = 0;
        // Milliseconds from the finger's arrival to each phase's first press.
        QVector<qint64> pressTimes;
        // Smallest press threshold - count while untouched and not pressed: how close the key
        // came to a false press (below 0: crossed).
        std::optional<int> pressMargin;
        // Smallest count - release threshold while touched and pressed: how close the finger
        // came to letting go.
        std::optional<int> releaseMargin;
        // Largest count - base while untouched, and the press threshold's distance above the
        // base it is measured against.
        std::optional<int> excursion;
        int pressOffset = 0;

        std::optional<qint64> medianPressMs() const;
        std::optional<qint64> maxPressMs() const;
        // The excursion as a share of the press threshold's distance, in whole percent, cut.
        std::optional<int> excursionPercent() const;
        // A false-touch run's verdict: no false press and the excursion below half the
        // distance to the press threshold.
        bool quietPass() const;
    };
    // The false presses of one key in one recording and one situation (and key touched).
    struct FalsePresses
    {
        int channel = 0;
        int recording = 0;
        Context context = Context::Unknown;
        int touched = -1;
        int count = 0;
        qint64 firstMs = 0;
        qint64 lastMs = 0;
    };
    struct Result
    {
        std::array<KeyFigures, chip::kChannelCount> keys;
        // In recording order, then record order.
        QVector<Event> events;
        // The false presses grouped in the order of key, recording, situation and key touched:
        // what the report lists of them. A result kept with the project has these, not events.
        QVector<FalsePresses> falsePresses;
        QStringList recordings;
        qint64 records = 0;
        qint64 durationMs = 0;
        // Channels in the firmware's table whose means are not complete: not evaluated.
        QList<int> unmodelled;
    };

    // A record of one key's decision, for the timeline: the thresholds the count was compared
    // with, and the debounce and pressed state the scan left.
    struct TracePoint
    {
        qint64 ms = 0;
        quint16 count = 0;
        quint16 base = 0;
        quint16 pressThreshold = 0;
        quint16 releaseThreshold = 0;
        quint8 debounce = 0;
        bool pressed = false;
        Context context = Context::Unknown;
    };

    // A stretch of verification with no test running: from a run's first verification record
    // to its last, ended by a line of another kind (a test, a run's end).
    struct Stretch
    {
        int first = 0;
        int last = 0;
        qint64 fromMs = 0;
        qint64 toMs = 0;
        // A false-touch run's mark stands before it: untouched whatever the user says.
        bool marked = false;
    };
    static QVector<Stretch> verificationStretches(const QVector<RecordedRecord> &records);

    // With a trace, the decision of tracedChannel over recordings[tracedRecording] is kept in it
    // on the way, as trace() gives it.
    static Result evaluate(const QVector<EvaluatedRecording> &recordings,
                           const QVector<KeyPreview::Key> &keys, int tracedRecording = -1,
                           int tracedChannel = -1, QVector<TracePoint> *trace = nullptr);
    // The decision of channel over the intact records of one recording; empty without a model.
    static QVector<TracePoint> trace(const EvaluatedRecording &recording,
                                     const QVector<KeyPreview::Key> &keys, int channel);

    // "不触摸", "加水", "验证（无触摸）", "触摸 TK3 时", in the interface's language.
    static QString contextText(Context context, int touched = -1);
};

#endif // RECORDINGEVALUATION_H
