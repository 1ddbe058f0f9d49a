#ifndef BOARDRUN_H
#define BOARDRUN_H

#include "chip/chip.h"
#include "link/pacing.h"
#include "production/boardrecord.h"
#include "production/productionlimits.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include <functional>

class TuningLink;

// The test of one board on the fixture: Start, the board's settle, then one no-touch capture of
// every channel in use at once (each record holds every channel), judged against the limits; then,
// when asked, each key in turn lights and must be touched within its seconds. The board ends with
// its record (finished), or, when the debugger fails under it, with neither verdict (repeated).
// Records reach it as they reach a test, one report per arming of the reader, paced alike.
class BoardRun : public QObject
{
    Q_OBJECT

public:
    enum class Phase {
        Idle,
        Settling,  // Start sent; records that come before the board settled are not counted
        Capturing, // the no-touch capture
        Touching,  // a key is lit and waits for its touch
    };
    // A key of the board as it is tested: its channel, key number and limits.
    struct Key
    {
        int channel = 0;
        int keyNumber = 0;
        ChannelLimits limits;
    };
    // A touch is counted over this many records in a row: the mean of their rises.
    static constexpr int kTouchRecords = 5;
    // After the minimum is reached the key is held this many records more, so that the signal
    // logged is the touch's, not the moment it crossed the minimum.
    static constexpr int kHoldRecords = 10;

    BoardRun(TuningLink &link, const Pacing &pacing, QObject *parent = nullptr);

    // Throws away what the board queued before Start; none when unset.
    std::function<void()> drainInput;

    // Starts the test of a board, keys in the order they are to be touched. False, nothing sent,
    // when no debugger is open or no key is given.
    bool start(const QString &board, const QVector<Key> &keys, bool touchTest, int touchSeconds);
    bool isRunning() const { return currentPhase != Phase::Idle; }
    Phase phase() const { return currentPhase; }
    // Records of the no-touch capture taken so far.
    int captured() const { return int(counts.size()); }
    // The lit key's channel, -1 when none is lit.
    int litChannel() const;
    // The board's no-touch figures and failures so far (after the capture).
    const BoardRecord &record() const { return current; }

    void handleRecord(const QByteArray &record, int crcFailed);
    // The reader failed (time-out, refused Start) or the debugger went: the board is repeated.
    void readerFailed(const QString &text);
    void linkLost();
    // The operator gave up on the board: it is repeated.
    void abort(const QString &why);

signals:
    void phaseChanged();
    // A key lights for its touch, or was judged.
    void keyLit(int channel);
    void keyJudged(int channel, bool passed);
    void finished(const BoardRecord &record);
    void repeated(const QString &why);

private:
    void setPhase(Phase phase);
    void scheduleRearm();
    void finishCapture();
    void lightKey(int index);
    void takeTouch(int count);
    void judgeLitKey(bool timedOut);
    void finish();
    void stopBoard();
    void endRepeated(const QString &why);

    TuningLink &link;
    const Pacing pacing;
    Phase currentPhase = Phase::Idle;
    QVector<Key> keys;
    bool touchTest = false;
    int touchSeconds = 0;
    BoardRecord current;
    QElapsedTimer settleClock;
    QTimer rearmTimer;
    QTimer touchTimer;
    // The no-touch capture: every key's count of each record.
    QVector<QVector<int>> counts;
    // The keys still to touch, as indices into keys; the lit one first.
    QVector<int> toTouch;
    // The lit key: its last rises, the largest mean of kTouchRecords of them, and the records
    // left to hold it once the minimum was reached (-1 before).
    QVector<int> rises;
    int largestRise = 0;
    int holdLeft = -1;
};

#endif // BOARDRUN_H
