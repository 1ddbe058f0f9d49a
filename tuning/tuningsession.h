#ifndef TUNINGSESSION_H
#define TUNINGSESSION_H

#include "tuning/channelindicators.h"
#include "tuning/channelrecorder.h"
#include "tuning/channelsamples.h"
#include "tuning/channeltestsequencer.h"
#include "tuning/livechart.h"
#include "tuning/resultstable.h"
#include "tuning/verificationmode.h"
#include "tuning/waterprooftest.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class PinMapSource;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QWidget;
class TuningLink;
class TuningRun;

namespace QtCharts
{
class QChartView;
}

// The widgets of the debug page that the tuning companions drive.
struct TuningWidgets
{
    QtCharts::QChartView *chartView = nullptr;
    QComboBox *startValueCBox = nullptr;
    QComboBox *endValueCBox = nullptr;
    QLabel *hoverLabel = nullptr;
    QTableWidget *tableWidget = nullptr;
    QPlainTextEdit *log = nullptr;
    // The per-channel rows, in channel order: key indicators, colour swatches, curve boxes.
    QList<QPushButton *> keys;
    QList<QPushButton *> swatches;
    QList<QCheckBox *> checkBoxes;
    QPushButton *verificationButton = nullptr;
    QWidget *dialogParent = nullptr;
};

// The tuning work of the debug page: builds the chart, the results table, the indicators, the
// sequencer, the waterproof test and verification in the order they depend on each other, owns
// them and the measured samples, and hands each record to the run in progress.
class TuningSession : public QObject
{
    Q_OBJECT

public:
    // CSV files of waterproof runs go to exportFolder.
    TuningSession(const TuningWidgets &widgets, const QStringList &channelNames, TuningRun &run,
                  PinMapSource &pinMap, TuningLink &link, const QString &exportFolder,
                  QObject *parent = nullptr);

    // A record from the measurement reader with its check flag (0 = intact).
    void handleRecord(const QByteArray &record, int crcFailed);
    // A record from the verification reader.
    void handleCheckRecord(const QByteArray &record);
    // The measurement reader timed out or the board refused Start.
    void readerFailed(const QString &text);

    // The results start afresh: the table, every channel's row and samples, the log and queue.
    void clearResults();
    // The table was filled from a project file: its rows are the results now, and samples of
    // the previous project belong to none of them.
    void adoptLoadedResults();

    TuningRun &run() { return tuningRun; }
    LiveChart &chart() { return liveChart; }
    ResultsTable &results() { return resultsTable; }
    SampleStore &samples() { return store; }
    ChannelIndicators &indicators() { return channelIndicators; }
    ChannelRecorder &recorder() { return channelRecorder; }
    ChannelTestSequencer &sequencer() { return testSequencer; }
    WaterproofTest &waterproof() { return waterproofTest; }
    VerificationMode &verification() { return verificationMode; }

private:
    TuningRun &tuningRun;
    QPlainTextEdit *log;
    SampleStore store;
    LiveChart liveChart;
    ResultsTable resultsTable;
    ChannelIndicators channelIndicators;
    ChannelRecorder channelRecorder;
    ChannelTestSequencer testSequencer;
    WaterproofTest waterproofTest;
    VerificationMode verificationMode;
};

#endif // TUNINGSESSION_H
