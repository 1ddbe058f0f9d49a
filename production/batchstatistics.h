#ifndef BATCHSTATISTICS_H
#define BATCHSTATISTICS_H

#include "production/boardrecord.h"
#include "production/productionlimits.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVector>

#include <array>
#include <functional>
#include <optional>

// The three figures a board shows per channel.
enum class BoardFigure {
    NoTouch, // the no-touch mean
    Noise,
    Signal,
};

// One figure of one channel across the boards: count, mean, standard deviation (of a sample,
// n - 1), minimum and maximum, and the process capability against the limits that apply to it:
// both sides of the no-touch window, the noise maximum, the signal minimum.
struct FigureStats
{
    int count = 0;
    double mean = 0.0;
    double sigma = 0.0;
    int minimum = 0;
    int maximum = 0;
    std::optional<int> lower;
    std::optional<int> upper;
    // min(upper - mean, mean - lower) / 3 sigma over the limits there are; none without a limit,
    // with fewer than two boards or without spread.
    std::optional<double> cpk;
    // The values counted, in board order.
    QVector<int> values;
    // Boards that showed the figure but are not counted: a defect of theirs says it is no
    // measure of the process.
    int setApart = 0;

    static FigureStats of(const QVector<int> &values, std::optional<int> lower,
                          std::optional<int> upper);
};

// Every figure of one channel across the boards.
struct ChannelStats
{
    int channel = 0;
    std::array<FigureStats, 3> figures{};

    const FigureStats &of(BoardFigure figure) const { return figures[int(figure)]; }
};

// The statistics of a batch of boards: the yield, the failures by how often they came, and per
// channel each figure's statistics against the limits. Every board counts, failed or not, so that
// a spread that fails boards shows in the capability; only a figure that a board's defect makes
// meaningless is set apart: every figure of a pad shorted or open, and the signal of a key not
// touched or without signal. One shorted board would otherwise stand for the whole process.
class BatchStatistics
{
public:
    // limitsOf gives the limits a channel's figures are held to.
    static BatchStatistics of(const QVector<BoardRecord> &boards,
                              const std::function<ChannelLimits(int channel)> &limitsOf);

    // The channels the boards show, ascending.
    static QList<int> channelsOf(const QVector<BoardRecord> &boards);

    int boards = 0;
    int passed = 0;
    // passed / boards; 0 without boards.
    double yield() const { return boards > 0 ? double(passed) / boards : 0.0; }
    QVector<ChannelStats> channels;
    // Each failure without its figures (in the sources' language) and how many boards had it,
    // most frequent first.
    QVector<QPair<QString, int>> failures;
};

#endif // BATCHSTATISTICS_H
