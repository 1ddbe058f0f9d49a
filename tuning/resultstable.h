#ifndef RESULTSTABLE_H
#define RESULTSTABLE_H

#include "chip/chip.h"
#include "project/resultcolumns.h"
#include "quality/channelsamples.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

class QDateTime;
class QTableWidget;
struct KeyQuality;

// The results table of the debug page, one row per tested channel in the order of first test,
// and the CSV export of the waterproof channels' samples. Owns which row belongs to which channel.
class ResultsTable
{
    Q_DECLARE_TR_FUNCTIONS(ResultsTable)

public:
    static constexpr int kRows = 32;

    ResultsTable(QTableWidget *tableWidget, const QStringList &channelNames);

    // Row count, header labels, font and stretch; run once when the window is built.
    void setup();

    // Rows that hold anything: the results Save & Download would clear.
    int filledRowCount() const;
    // The channel's row, or -1 when it has none.
    int rowOf(int channel) const;
    // The channel's row, handing it the first free row (one that holds nothing) on its first test;
    // -1 when every row is taken.
    int assignRow(int channel);
    // A channel whose first measurement was discarded gives its row back while the row holds
    // nothing.
    void releaseEmptyRow(int channel);
    // Empties the table and forgets every channel's row.
    void clearResults();
    // The texts of every cell and the channel of every row, to be put back as they were.
    struct Saved
    {
        QVector<QStringList> cells;
        std::array<int, chip::kChannelCount> testedChannels{};
    };
    Saved save() const;
    // The table as it was saved; emits no itemChanged.
    void restore(const Saved &saved);
    // After the table was filled from a project file: each row belongs to the channel that its
    // name ("TK7") names, or, for a row without a name, its channel column. A channel named twice
    // keeps its first row. No row keeps the figures it showed before.
    void adoptLoadedRows();
    // The channel of a row's name or channel cell, or -1.
    int channelOfRow(int row) const;
    // The channel the row belongs to, or -1.
    int channelAt(int row) const;
    // The no-touch, touch and waterproof means of the channel's row: each a count 0 ... 65535 in
    // decimal, absent otherwise. These are what the generator writes into the firmware.
    KeyMeans tableMeans(int channel) const;
    // Whether the column holds one of the three means.
    static bool isMeanColumn(int column);
    // The text of a cell; empty for a cell without item.
    QString cellText(int row, int column) const;

    // The channel's figures as tooltip on every cell of its row, and its verdict as the name
    // cell's background (none without a verdict). Emits no itemChanged.
    // shownName names the row in its tooltip: the channel's name unless given ("TK4（S1-2）").
    void showQuality(int channel, const KeyQuality &quality, const QString &shownName = {});
    // Name, no-touch mean and touch mean of the channel, in its row.
    void writeTouchResults(int channel, const ChannelSamples &samples);
    // Waterproof mean, channel index and key number, in its row.
    void writeWaterproofResults(int channel, const ChannelSamples &samples, int keyNumber);
    // The mean as the table shows it: the sum over the samples divided by their count, truncated.
    static QString meanText(const QVector<int> &samples);

    // One file per channel, folder/<channel>_<yyyy-MM-d-HH-mm-ss>-data.csv, of 162 lines
    // "no-touch,waterproof,touch" and an empty line, each ending in CR LF; a phase the channel
    // has not been measured in leaves its column empty. The folder is made when missing and a file
    // of the same name replaced. Stops at the first file that cannot be written, whose path goes
    // to *failedPath; the written paths go to *written.
    [[nodiscard]] bool exportCsv(const QString &folder, const QDateTime &now,
                                 const QList<int> &channels, const SampleStore &store,
                                 QStringList *written = nullptr,
                                 QString *failedPath = nullptr) const;
    static QString csvFileName(const QString &channelName, const QDateTime &now);
    static QByteArray csvText(const ChannelSamples &samples);

private:
    void setCell(int row, int column, const QString &text);
    bool rowIsEmpty(int row) const;

    QTableWidget *table;
    QStringList names;
    // Channel + 1 of each row in order of first test; 0 marks a free row.
    std::array<int, chip::kChannelCount> testedChannels{};
};

#endif // RESULTSTABLE_H
