#ifndef COUPLINGMATRIX_H
#define COUPLINGMATRIX_H

#include "quality/channelsamples.h"
#include "quality/keysettings.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QVector>

#include <optional>

struct KeyQuality;

// How far a finger on one key moves the others (channel coupling, the classic cause of false
// presses on a dense panel), from the whole records of the auto test: while key A is measured
// without and with a finger, every other channel is in each record. For every pair (A touched,
// B) the shift of B's mean between A's two phases, and that shift as a share of B's own margin
// from its resting mean (the firmware's base) up to its press threshold under its settings. A key
// without a water mean yet is given the threshold the firmware builds when water stays at rest.
class CouplingMatrix
{
    Q_DECLARE_TR_FUNCTIONS(CouplingMatrix)

public:
    // Beyond this share of its margin a neighbour's shift is warned of.
    static constexpr int kWarnPercent = 50;

    struct Key
    {
        int channel = 0;
        const ChannelSamples *samples = nullptr;
        // The means of its results row, which the firmware gets, and its settings.
        KeyMeans means;
        KeySettings settings = KeySettings();
    };
    struct Entry
    {
        int touched = 0;
        int affected = 0;
        double shift = 0.0;
        // The shift's share of the affected key's margin, in percent; none without a margin.
        std::optional<double> percent;

        // The whole percent shown, cut ("62%" for 62.9%).
        int wholePercent() const;
        bool warns() const { return percent && *percent > kWarnPercent; }
        // The affected key would be pressed by a touch on the other.
        bool presses() const { return percent && *percent >= 100.0; }
    };

    CouplingMatrix() = default;
    // Every pair of a touched key with the records of both its phases and another of the keys.
    static CouplingMatrix measure(const QVector<Key> &keys);

    bool isEmpty() const { return pairs.isEmpty(); }
    // The keys in the order given, those among them that were touched with records, and those
    // measured without what their touch did to the others (read from an older samples file).
    const QList<int> &channels() const { return keyChannels; }
    const QList<int> &touchedChannels() const { return touched; }
    const QList<int> &unmeasuredChannels() const { return unmeasured; }
    std::optional<Entry> at(int touchedChannel, int affectedChannel) const;
    // The pairs that warn about the affected key (every key with -1), strongest first.
    QVector<Entry> warnings(int affectedChannel = -1) const;
    // The pair whose touch moves the affected key furthest up; none when no touch raises it.
    std::optional<Entry> strongestRise(int affectedChannel) const;
    // "触摸 TK3 时 TK4 偏移 120，达到阈值余量的 62%"
    static QString warningText(const Entry &entry);
    // The affected key's warnings go to its notes; a neighbour whose touch takes it to its
    // threshold makes its verdict 不合格. Neighbours whose touch was not measured are named in a
    // note of their own: "触摸 TK3、TK5 时的邻键影响未测".
    void judge(int affectedChannel, KeyQuality *quality) const;

private:
    QList<int> keyChannels;
    QList<int> touched;
    QList<int> unmeasured;
    QVector<Entry> pairs;
};

#endif // COUPLINGMATRIX_H
