#ifndef BOARDRECORD_H
#define BOARDRECORD_H

#include "production/boardfailure.h"
#include "production/productionlimits.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// What one board showed on one channel. A figure not measured is absent: the signal without the
// touch test, the water shift everywhere but on a tuned project.
struct ChannelFigures
{
    int channel = 0;
    std::optional<int> noTouchMean; // truncated, as the results table shows a mean
    std::optional<int> noise;       // no-touch maximum - minimum
    std::optional<int> signal;      // touch mean - no-touch mean; for a key not touched in time,
                                    // the largest rise seen
    std::optional<int> waterShift;  // water mean - no-touch mean
};

// One board's test: its number, when, the verdict, every channel's figures in channel order and
// the failures as the production log keeps them.
struct BoardRecord
{
    QString board;
    QDateTime time;
    bool passed = false;
    QVector<ChannelFigures> channels;
    QStringList reasons;

    const ChannelFigures *figuresOf(int channel) const;
};

// The verdict on a board's figures against the limits: pure functions, so that each failure and
// the pad it names follow from exact figures.
class BoardJudgement
{
public:
    // A counter stands this close to 0 or 65535 only when the pin is tied to a rail.
    static constexpr int kRailCounts = 256;
    // A touch that raised the count by less than this share of the minimum signal: none at all.
    static constexpr int kNoSignalPercent = 20;
    // A key whose time ran out with at least this share of the minimum signal was touched, but
    // too weakly; below it, it was not touched at all.
    static constexpr int kTouchSeenPercent = 50;

    // What the no-touch figures say of the pad: shorted at a rail, open far below the window
    // (more than half the window's width under its lower limit).
    static BoardFailure::Pad padOf(int noTouchMean, const ChannelLimits &limits);
    // The failures of the no-touch mean and the noise, in that order.
    static QVector<BoardFailure> judgeNoTouch(const ChannelFigures &figures,
                                              const ChannelLimits &limits);
    // The failure of a key's touch, signal being the largest rise seen; timedOut when the key's
    // seconds ran out without the minimum. None when it passed or has no signal limit.
    static std::optional<BoardFailure> judgeTouch(int channel, int signal, bool timedOut,
                                                  int seconds, const ChannelLimits &limits);
    // A tuned project's key as a board: no-touch, noise and signal judged alike.
    static QVector<BoardFailure> judge(const ChannelFigures &figures, const ChannelLimits &limits);
};

#endif // BOARDRECORD_H
