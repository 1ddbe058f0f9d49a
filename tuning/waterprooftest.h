#ifndef WATERPROOFTEST_H
#define WATERPROOFTEST_H

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class ChannelRecorder;
class LiveChart;
class PinMapSource;
class QWidget;
class ResultsTable;
class SampleStore;
class TuningLink;
class TuningRun;

// The waterproof test: over every channel in use, 162 samples per channel with water on the pad,
// after one add-water prompt for the whole run. Writes each channel's waterproof mean, index and
// key into the results table and exports each channel's samples as CSV at the end.
class WaterproofTest : public QObject
{
    Q_OBJECT

public:
    WaterproofTest(TuningRun &run, ChannelRecorder &recorder, LiveChart &chart,
                   ResultsTable &results, SampleStore &store, PinMapSource &pinMap,
                   TuningLink &link, QWidget *dialogParent, const QString &exportFolder,
                   QObject *parent = nullptr);

    // The waterproof button.
    void start();
    // The run as the button begins it once its checks are passed, on a chart built for it; a run
    // taken up after its first channel (a replay's seek) finds the water on the pad already.
    void runOver(QList<int> channels, bool askForWater = true);
    // Whether a finished run exports its CSV files (a replay's does not).
    void setExporting(bool on) { exporting = on; }
    // The first record of a run: asks for water on the pad while the input is drained.
    void promptAddWater();
    // A record of the channel under test was counted.
    void recordCounted();

signals:
    // A channel's waterproof row was written.
    void channelFinished(int channel);
    // The last channel is done: Stop sent, one CSV file per channel of the run exported (the
    // paths written; fewer than the channels when an export failed).
    void runFinished(const QStringList &csvPaths);

private:
    void beginChannel(int channel);
    void finishChannel();
    void finishRun();

    TuningRun &run;
    ChannelRecorder &recorder;
    LiveChart &chart;
    ResultsTable &results;
    SampleStore &store;
    PinMapSource &pinMap;
    TuningLink &link;
    QWidget *dialogParent;
    QString exportFolder;
    // The channels that finished in this run, in order.
    QList<int> runChannels;
    bool exporting = true;
};

#endif // WATERPROOFTEST_H
