#ifndef WATERPROOFTEST_H
#define WATERPROOFTEST_H

#include "chip/chip.h"

#include <QList>
#include <QObject>
#include <QString>

class ChannelIndicators;
class ChannelTestSequencer;
class LiveChart;
class PinMapSource;
class QPlainTextEdit;
class QTimer;
class QWidget;
class ReadEmptyTh;
class ResultsTable;
class SamplingStarter;
struct TuningState;

// The waterproof test: over every channel in use, 162 samples per channel with water on the pad,
// after one add-water prompt for the whole run. Writes each channel's waterproof mean, index and
// key into the results table and exports the sample records as CSV at the end. Shares the
// sequencer's record path: the sequencer counts and draws each record, then hands over here.
class WaterproofTest : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSamples = chip::kSamplesPerPhase;

    WaterproofTest(TuningState &state, ChannelTestSequencer &sequencer, SamplingStarter &starter,
                   LiveChart &chart, ResultsTable &results, ChannelIndicators &indicators,
                   PinMapSource &pinMap, ReadEmptyTh *drain, QTimer *blinkTimer,
                   QPlainTextEdit *log, QWidget *dialogParent, const QString &exportFolder,
                   QObject *parent = nullptr);

    // The waterproof button.
    void start();
    // The first record of a run: asks for water on the pad while the input is drained.
    void promptAddWater();
    // Every counted record while waterproofMode is set.
    void handleRecord();

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
    void warn(const QString &text) const;

    TuningState &state;
    ChannelTestSequencer &sequencer;
    SamplingStarter &starter;
    LiveChart &chart;
    ResultsTable &results;
    ChannelIndicators &indicators;
    PinMapSource &pinMap;
    ReadEmptyTh *drain;
    QTimer *blinkTimer;
    QPlainTextEdit *log;
    QWidget *dialogParent;
    QString exportFolder;
    // The channels that finished in this run, in order.
    QList<int> runChannels;
};

#endif // WATERPROOFTEST_H
