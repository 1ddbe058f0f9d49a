#ifndef TUNINGSESSION_H
#define TUNINGSESSION_H

#include "charts/channelindicators.h"
#include "charts/livechart.h"
#include "link/pacing.h"
#include "quality/channelsamples.h"
#include "quality/keypreview.h"
#include "quality/tuningreport.h"
#include "tuning/channelrecorder.h"
#include "tuning/channeltestsequencer.h"
#include "tuning/resultstable.h"
#include "tuning/verificationmode.h"
#include "tuning/waterprooftest.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

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
    // CSV files of waterproof runs go to exportFolder; the tests and verification wait as pacing
    // says.
    TuningSession(const TuningWidgets &widgets, const QStringList &channelNames, TuningRun &run,
                  PinMapSource &pinMap, TuningLink &link, const Pacing &pacing,
                  const QString &exportFolder, QObject *parent = nullptr);

    // A record from the measurement reader with its check flag (0 = intact).
    void handleRecord(const QByteArray &record, int crcFailed);
    // A record from the verification reader.
    void handleCheckRecord(const QByteArray &record);
    // The measurement reader timed out or the board refused Start.
    void readerFailed(const QString &text);

    // The results start afresh: the table, every channel's row and samples, the log and queue.
    void clearResults();
    // The table was filled from a project file: its rows are the results now, with the samples
    // kept beside that file (samplesPath; a project without that file has no figures).
    void adoptLoadedResults(const QString &samplesPath);
    // Writes every channel's samples to samplesPath; the reason of a failure goes to error.
    [[nodiscard]] bool saveSamples(const QString &samplesPath, QString *error) const;

    // The channels of the report in channel order: every channel with a results row or samples,
    // with its key number from the pin map.
    QVector<TuningReport::Channel> reportChannels() const;
    // The tuning report of those channels written to path; the reason of a failure to error.
    [[nodiscard]] bool writeReport(const QString &path, const QString &projectName,
                                   const QString &packageText, QString *error) const;
    // "导出调试报告…": asks where, proposing <project name>_调试报告.pdf in projectFolder, and
    // writes the report there; a failure is reported.
    void exportReport(const QString &projectName, const QString &projectFolder,
                      const QString &packageText);
    // The save dialog of exportReport; the platform's unless replaced.
    std::function<QString(QWidget *parent, const QString &caption, const QString &proposed,
                          const QString &filter)>
        chooseReportFile;

    // A results row was clicked: with no run going, the chart shows that channel's measured
    // curves.
    void showRowCurves(int row);

    TuningRun &run() { return tuningRun; }
    LiveChart &chart() { return liveChart; }
    ResultsTable &results() { return resultsTable; }
    SampleStore &samples() { return store; }
    ChannelIndicators &indicators() { return channelIndicators; }
    ChannelRecorder &recorder() { return channelRecorder; }
    ChannelTestSequencer &sequencer() { return testSequencer; }
    WaterproofTest &waterproof() { return waterproofTest; }
    VerificationMode &verification() { return verificationMode; }
    const KeyPreview &preview() const { return keyPreview; }

signals:
    // "导出调试报告…" was chosen in the results table's context menu.
    void reportRequested();

private:
    // A channel's phase ended: its figures in the log and on its results row.
    void showChannelQuality(int channel);
    void showAllQuality();
    void switchPreview(bool on);

    TuningRun &tuningRun;
    PinMapSource &pinMap;
    QWidget *dialogParent;
    QPlainTextEdit *log;
    QStringList names;
    SampleStore store;
    LiveChart liveChart;
    ResultsTable resultsTable;
    ChannelIndicators channelIndicators;
    ChannelRecorder channelRecorder;
    ChannelTestSequencer testSequencer;
    WaterproofTest waterproofTest;
    VerificationMode verificationMode;
    KeyPreview keyPreview;
};

#endif // TUNINGSESSION_H
