#ifndef TUNINGSESSION_H
#define TUNINGSESSION_H

#include "charts/channelindicators.h"
#include "charts/livechart.h"
#include "charts/numbersview.h"
#include "link/pacing.h"
#include "quality/channelsamples.h"
#include "quality/couplingmatrix.h"
#include "quality/keypreview.h"
#include "quality/keysettingsstore.h"
#include "quality/keysuggestion.h"
#include "quality/projectevidence.h"
#include "quality/sliderreportpage.h"
#include "quality/tuningreport.h"
#include "tuning/channelrecorder.h"
#include "tuning/channeltestsequencer.h"
#include "tuning/linkswitch.h"
#include "tuning/loghistory.h"
#include "tuning/logpane.h"
#include "tuning/phaseprogress.h"
#include "tuning/recordingplayer.h"
#include "tuning/resultstable.h"
#include "tuning/streamrecording.h"
#include "tuning/verificationmode.h"
#include "tuning/waterprooftest.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <functional>

class LiveChartView;
class PinMapSource;
class QCheckBox;
class KeySettingsPanel;
class QComboBox;
class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSettings;
class QTableWidget;
class QWidget;
class TuningLink;
class TuningRun;
struct KeyQuality;

// The widgets of the debug page that the tuning companions drive.
struct TuningWidgets
{
    LiveChartView *chartView = nullptr;
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
    // Beside the curves during verification: the numbers, and the button that pauses both.
    QTableWidget *numbersTable = nullptr;
    QPushButton *pauseButton = nullptr;
    // "录制": every record of any run into a file beside the project.
    QPushButton *recordButton = nullptr;
    // The bar of a replay.
    RecordingPlayer::Controls replay;
    // "n/162" beside the countdown badge, a child of overlayParent as the badge is.
    QLabel *progressLabel = nullptr;
    QWidget *overlayParent = nullptr;
    QWidget *dialogParent = nullptr;
    // Where the panel of the keys' settings goes: a new row across this layout (none without).
    QGridLayout *settingsPanelLayout = nullptr;
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
    ~TuningSession() override;

    // A record from the measurement reader with its check flag (0 = intact).
    void handleRecord(const QByteArray &record, int crcFailed);
    // A record from the verification reader with its check flag (1 = corrupt or cut short): the
    // curves draw every record, the preview of the firmware's decision only intact ones.
    void handleCheckRecord(const QByteArray &record, int crcFailed);
    // The records of one block from the verification reader, oldest first, with their flags: each
    // taken as above, at a time spread evenly since the delivery before (the board sends at a
    // steady rate, and the block was read in one go). A replay hands its records one at a time.
    void handleCheckRecords(const QByteArrayList &records, const QVector<int> &crcFailed);
    // The measurement reader timed out or the board refused Start.
    void readerFailed(const QString &text);
    // The verification reader timed out, the board refused Start or went: verification ends,
    // the log says why, and text is shown.
    void checkReaderFailed(const QString &text);

    // The results start afresh: the table, every channel's row and samples, the queue, the
    // coupling of the keys with what the log said of it, and the evidence. The one reset of the
    // session's results.
    void clearResults();
    // The results as they stand, put aside while a replay plays into a scratch project, and put
    // back after it.
    struct SavedResults
    {
        ResultsTable::Saved table;
        SampleStore store;
        QHash<QPair<int, int>, QString> loggedCouplings;
        ProjectEvidence evidence;
    };
    SavedResults saveResults() const;
    // A results row or a channel's samples.
    bool hasResults() const;
    void restoreResults(const SavedResults &saved);
    // The table was filled from a project file: its rows are the results now, with the samples
    // kept beside that file (samplesPath; a project without that file has no samples). Lines the
    // file loses are told in the log.
    void adoptLoadedResults(const QString &samplesPath);
    // Writes every channel's samples to samplesPath; the reason of a failure goes to error. A file
    // there that did not read cleanly is kept as <path>.bak first, and is not overwritten when
    // that fails.
    [[nodiscard]] bool saveSamples(const QString &samplesPath, QString *error);

    // The swipe judgements, the evaluation of recordings and the false-touch run that the report
    // shows. Each goes with the results, and as soon as a mean it was measured on changes.
    const ProjectEvidence &evidence() const { return kept; }
    void keepSwipe(const QString &slider, const ProjectEvidence::Swipe &swipe);
    void keepEvaluation(const std::optional<EvaluationReport::Snapshot> &snapshot);
    void keepFalseTouch(const EvaluationReport::Snapshot &snapshot);
    // The evidence kept beside a project file just loaded (path; none without that file). What
    // cannot be read, or was measured on other means than the loaded results', is told in the
    // log and left out.
    void adoptLoadedEvidence(const QString &path);
    // Writes the evidence to path, as saveSamples writes the samples.
    [[nodiscard]] bool saveEvidence(const QString &path, QString *error);

    // The channels of the report in channel order: every channel with a results row or samples,
    // with its key number from the pin map and the means of its row.
    QVector<TuningReport::Channel> reportChannels() const;
    // Each key in use judged 不合格 or 注意 as its row shows it (its row's means, its samples and
    // its neighbours' touches), with its reasons and their figures: "TK0：信噪比 0.0:1 低于 5:1",
    // in channel order.
    QStringList keyConcerns() const;
    // Everything that failed or needs attention, the one list the user is asked about before
    // any firmware is generated and that heads the report: the keys (their coupling too), each
    // slider's swipe test that was not 合格, and each key the kept false-touch run failed.
    QStringList concerns() const;
    // The firmware's table as the preview and the evaluation of recordings run it: every
    // channel in use with its key number, its row's means and its settings.
    QVector<KeyPreview::Key> firmwareKeys() const;
    // The tuning report of those channels, with a page for each slider, the evaluation of
    // recordings and the false-touch run, written to path; the reason of a failure to error.
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
    // The pages of the sliders and wheels in the report; none unless set.
    std::function<QVector<SliderReportPage::Slider>()> reportSliders;

    // A results row was clicked: with no run going, the chart shows that channel's measured
    // curves with its thresholds.
    void showRowCurves(int row);

    // The keys' decision settings, part of the project, and their panel.
    KeySettingsStore &keySettings() { return keySettingsStore; }
    KeySettingsPanel *settingsPanel() const;
    // The settings from a project file's section; values that are not valid are told in the log.
    void loadKeySettings(const QSettings &ini);
    // What the key's samples suggest for its settings.
    KeySuggestion suggestionOf(int channel) const;
    // "建议设置": the suggestion for each channel, with its margins or why there is none, asked
    // before the safe ones are applied; what was applied goes to the log.
    void suggestSettings(const QList<int> &channels);
    // The pause button: the live picture and its numbers hold still, or follow the stream again.
    void togglePicturePause();
    // The curves, the numbers and the preview of verification start afresh from the next record.
    void restartStreamFigures();
    // Draws at once what waits for its frame: the test curve, the curves, the numbers.
    void drawNow();

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
    NumbersView &numbers() { return numbersView; }
    StreamRecording &recording() { return streamRecording; }
    RecordingPlayer &replay() { return player; }
    // The link the tests and verification use: the board's, or a replay's (source, null for the
    // board).
    TuningLink &link() { return linkSwitch; }
    void useSource(TuningLink *source) { linkSwitch.use(source); }
    // The stop button: ends a replay, or stops the run on the board.
    void stopRun();
    const LogPane &logPane() const { return pane; }
    LogHistory &logHistory() { return history; }
    PhaseProgress &progress() { return phaseProgress; }

signals:
    // clearResults() emptied the results.
    void resultsCleared();
    // Evidence was kept, forgotten or loaded.
    void evidenceChanged();
    // The evidence of a project file just loaded replaced the session's; evidenceChanged follows.
    void evidenceLoaded();
    // An intact record of verification (or its replay) at ms of the stream's clock.
    void checkRecordTaken(const QByteArray &record, qint64 ms);
    // "导出调试报告…" was chosen in the results table's context menu.
    void reportRequested();
    // "保存日志…" was chosen in the log's context menu.
    void logSaveRequested();

private:
    // A channel's phase ended: its figures in the log and on its results row.
    void showChannelQuality(int channel);
    void showAllQuality();
    // The key judged from its samples, the means of its results row and its neighbours' touches.
    KeyQuality qualityOf(int channel) const;
    // The coupling of the keys with results rows or samples, from their kept records.
    void updateCoupling();
    // Each pair whose warning the log has not given yet with the figures it has now.
    void logCouplingWarnings();
    // The channel's name, with its place for a slider's segment: "TK4（S1-2）".
    QString shownName(int channel) const;
    // A mean edited in the table: the row's figures follow what the firmware will get.
    void tableCellChanged(int row, int column);
    // Forgets the evidence measured on other means than the table's; false when all holds.
    bool dropStaleEvidence(QStringList *forgotten = nullptr);
    void switchPreview(bool on);
    // The firmware's table for the preview: every channel in use with its key number, its row's
    // means and its settings.
    void resetPreview();
    // A key's settings changed (-1: every key's): every place that shows the key follows.
    void keySettingsChanged(int channel);
    // The panel's line about a key: its verdict, thresholds and margins.
    QString settingsSummary(int channel) const;
    void setPicturePaused(bool paused);
    // One record of a verification delivery at ms of the stream's clock (lateMs before now).
    void takeCheckRecord(const QByteArray &record, int crcFailed, qint64 ms, qint64 lateMs);

    TuningRun &tuningRun;
    PinMapSource &pinMap;
    QWidget *dialogParent;
    QPlainTextEdit *log;
    LogPane pane;
    LogHistory history;
    QStringList names;
    SampleStore store;
    KeySettingsStore keySettingsStore;
    // The samples file that lost lines or was refused when it was read; kept before it is
    // overwritten. The same for the evidence.
    QString uncleanSamplesPath;
    QString uncleanEvidencePath;
    ProjectEvidence kept;
    // Declared before the companions it is handed to.
    LinkSwitch linkSwitch;
    LiveChart liveChart;
    ResultsTable resultsTable;
    ChannelIndicators channelIndicators;
    ChannelRecorder channelRecorder;
    ChannelTestSequencer testSequencer;
    WaterproofTest waterproofTest;
    VerificationMode verificationMode;
    KeyPreview keyPreview;
    NumbersView numbersView;
    QPushButton *pauseButton;
    StreamRecording streamRecording;
    RecordingPlayer player;
    // Arrival times of the verification records, and the time of the last delivery.
    QElapsedTimer streamClock;
    qint64 lastDeliveryMs = 0;
    PhaseProgress phaseProgress;
    CouplingMatrix coupling;
    // The warning the log gave last for each pair (touched, affected).
    QHash<QPair<int, int>, QString> loggedCouplings;
    QTimer couplingLog;
    QPointer<KeySettingsPanel> panel;
    // The channel whose measured curves the chart shows; -1 for none.
    int curvesChannel = -1;
};

#endif // TUNINGSESSION_H
