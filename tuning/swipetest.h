#ifndef SWIPETEST_H
#define SWIPETEST_H

#include "quality/firmwareslidermodel.h"
#include "quality/swipejudgement.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVector>

#include <optional>

// The swipe test ("滑动测试") of one slider or wheel, on the verification stream: the finger
// goes to the start and follows a marker from end to end (back and forth along a slider, round
// and round a wheel) at a steady pace, then rests on the middle segment. Every intact record is
// scanned by the firmware's model of the slider; the positions of the strokes and of the rest are
// judged by SwipeJudgement when the rest is over. The phases follow the records' times, so a
// replay runs the test as the board did.
class SwipeTest : public QObject
{
    Q_OBJECT

public:
    enum class Phase {
        Idle,
        // The finger goes to the start; its scans are not judged.
        LeadIn,
        Swipe,
        Rest,
    };
    static constexpr int kLeadInMs = 2000;
    static constexpr int kStrokes = 3;
    static constexpr int kStrokeMs = 2500; // one end to the other, or once round
    static constexpr int kRestMs = 3000;

    explicit SwipeTest(QObject *parent = nullptr);

    // Starts the test of the slider named name with a fresh model of it.
    void start(const QString &name, const FirmwareSliderModel &model, const QVector<int> &channels);
    // Ends the test without a judgement.
    void cancel();
    // One intact record of the verification stream at ms. Records that are not steady (paced
    // while verification fills its window, so the board's queue lags behind the finger) keep
    // the test in its lead-in: its time starts with the steady stream.
    void feed(const QByteArray &record, qint64 ms, bool steady = true);

    bool isActive() const { return phase != Phase::Idle; }
    Phase currentPhase() const { return phase; }
    const QString &sliderName() const { return name; }
    // Where the finger should be now, 0 ... 1 of the position's scale (round a wheel); none when
    // idle.
    std::optional<double> marker() const;
    const FirmwareSliderModel *model() const { return sliderModel ? &*sliderModel : nullptr; }

signals:
    // A prompt for the user, in the interface's language.
    void prompted(const QString &text);
    // The rest is over: the slider's judgement.
    void finished(const QString &name, const SwipeJudgement &judgement);

private:
    void enter(Phase next, qint64 ms);
    // ms since the phase began; 0 before the phase's first record.
    qint64 elapsed() const;

    QString name;
    QVector<int> channels;
    std::optional<FirmwareSliderModel> sliderModel;
    Phase phase = Phase::Idle;
    std::optional<qint64> phaseStartMs;
    qint64 lastMs = 0;
    QVector<SwipeSample> swipe;
    QVector<SwipeSample> rest;
};

#endif // SWIPETEST_H
