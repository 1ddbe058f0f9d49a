#ifndef RESULTSTABLE_H
#define RESULTSTABLE_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QDateTime;
class QTableWidget;
struct TuningState;

// The results table of the debug page (one row per tested channel, in the order of first test)
// and the CSV export of the last sample records.
class ResultsTable
{
    Q_DECLARE_TR_FUNCTIONS(ResultsTable)

public:
    static constexpr int kRows = 32;
    static constexpr int kColumns = 6;
    static constexpr int kSamplesPerPhase = 162;

    ResultsTable(QTableWidget *tableWidget, const TuningState &state,
                 const QStringList &channelNames);

    // Row count, header labels, font and stretch; run once when the window is built.
    void setup();

    // The channel's row: its slot in testedChannels, or -1 when it has none.
    int rowOf(int channel) const;

    // Name, no-touch mean and touch mean of currentChannel.
    void writeTouchResults();
    // Waterproof mean, channel index and key number of currentChannel.
    void writeWaterproofResults(int keyNumber);

    // Writes the 162 sample lines "no-touch,waterproof,touch" and an empty line, each ending in
    // CR LF, into folder/<channel>_<yyyy-MM-d-HH-mm-ss>-data.csv, creating the folder when it is
    // missing and replacing a file of the same name. The written path goes to *writtenPath.
    [[nodiscard]] bool exportCsv(const QString &folder, const QDateTime &now,
                                 QString *writtenPath = nullptr) const;
    static QString csvFileName(const QString &channelName, const QDateTime &now);

private:
    void setCell(int row, int column, const QString &text);

    QTableWidget *table;
    const TuningState &state;
    QStringList names;
};

#endif // RESULTSTABLE_H
