#ifndef TUNINGRIG_H
#define TUNINGRIG_H

#include "charts/livechartview.h"
#include "link/debuggerlink.h"
#include "sim/simboard.h"
#include "testsupport.h"
#include "tuning/samplingstarter.h"
#include "tuning/tuninglink.h"
#include "tuning/tuningrun.h"
#include "tuning/tuningsession.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

// The tuning session on plain widgets, wired as the window wires it, and the two links a test
// puts under it: a recorder of calls without threads, or the simulated board through the real
// link, readers and counted-down start.
namespace testsupport
{
inline QStringList channelNames()
{
    QStringList names;
    for (int n = 0; n < 25; ++n)
        names << QStringLiteral("TK%1").arg(n);
    return names;
}

// Records what is asked of the board; the counted-down start and the direct start succeed at
// once, as the real ones do after their countdown and Start.
class FakeTuningLink : public TuningLink
{
public:
    explicit FakeTuningLink(TuningRun &run) : run(run) {}
    TuningRun &run;
    QStringList calls;
    bool open = true;
    StopOutcome stopOutcome = StopOutcome::Done;
    int arms = 0;

    int count(const QString &call) const { return calls.count(call); }

    bool isOpen() const override { return open; }
    void beginSampling() override
    {
        calls << QStringLiteral("begin");
        run.startCountdown();
        run.startSampling();
    }
    void restartCountdown() override
    {
        calls << QStringLiteral("countdown");
        run.startCountdown();
        run.startSampling();
    }
    void startSamplingDirect() override
    {
        calls << QStringLiteral("direct");
        if (!run.sampling())
            run.startSampling();
    }
    void cancelCountdown(bool hideDigit) override
    {
        calls << (hideDigit ? QStringLiteral("countdownOff+hide") : QStringLiteral("countdownOff"));
    }
    void armReader() override { ++arms; }
    void disarmReader() override { calls << QStringLiteral("disarm"); }
    void startDrain() override { calls << QStringLiteral("drainOn"); }
    void stopDrain() override { calls << QStringLiteral("drain"); }
    void startBlink() override { calls << QStringLiteral("blinkOn"); }
    void stopBlink() override { calls << QStringLiteral("blinkOff"); }
    void startCheckReader() override { calls << QStringLiteral("checkStart"); }
    void armCheckReader() override { calls << QStringLiteral("checkArm"); }
    void armCheckReaderForBacklog() override { calls << QStringLiteral("checkArmBacklog"); }
    void disarmCheckReader() override { calls << QStringLiteral("checkDisarm"); }
    int sendStartCommand() override
    {
        calls << QStringLiteral("start");
        return open ? 65 : -1;
    }
    int sendStopCommand() override
    {
        calls << QStringLiteral("stop");
        return open ? 65 : -1;
    }
    int waitStopAck() override
    {
        calls << QStringLiteral("ack");
        return stopOutcome == StopOutcome::Done ? 1 : 0;
    }
    StopOutcome runStopExchange(StopExchange exchange) override
    {
        calls << QStringLiteral("exchange%1").arg(int(exchange));
        return open ? stopOutcome : StopOutcome::NoDevice;
    }
};

// The board side as the window has it: the simulated board through the real link with its
// readers, and the counted-down start, on the fast clock unless given another. The measurement
// reader is not started: a test hands the records to the session itself unless it starts the
// reader. The link stops its readers and closes the board when the rig goes.
struct SimTuningLink
{
    Pacing pacing;
    DebuggerLink link;
    QWidget window;
    QLabel *countdown = new QLabel(&window);
    QTimer countdownTimer;
    QTimer blinkTimer;
    SamplingStarter starter;

    explicit SimTuningLink(TuningRun &run, const Pacing &clock = fastClock())
        : pacing(clock), link(clock),
          starter(run, link, clock, countdown, &countdownTimer, &blinkTimer, &window)
    {
        // As the window's: the countdown sets the pace of every phase.
        countdownTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&countdownTimer, &QTimer::timeout, &starter,
                         &SamplingStarter::warmTimerOut);
    }
};

// The tuning session on plain widgets with a pin map set by hand.
struct TuningRig
{
    QWidget window;
    LiveChartView *view = new LiveChartView(&window);
    QComboBox *startCombo = new QComboBox(&window);
    QComboBox *endCombo = new QComboBox(&window);
    QLabel *hover = new QLabel(&window);
    QTableWidget *table = new QTableWidget(&window);
    QPlainTextEdit *log = new QPlainTextEdit(&window);
    QPushButton *verifyButton = new QPushButton(QStringLiteral("开启验证效果"), &window);
    QTableWidget *numbersTable = new QTableWidget(&window);
    QPushButton *pauseButton = new QPushButton(QStringLiteral("暂停画面"), &window);
    QPushButton *recordButton = new QPushButton(QStringLiteral("录制"), &window);
    QWidget *replayBar = new QWidget(&window);
    QPushButton *replayPause = new QPushButton(replayBar);
    QComboBox *replaySpeed = new QComboBox(replayBar);
    QSlider *replaySlider = new QSlider(Qt::Horizontal, replayBar);
    QLabel *replayTime = new QLabel(replayBar);
    QLabel *progress = new QLabel(&window);
    QList<QPushButton *> keys;
    QList<QPushButton *> swatches;
    QList<QCheckBox *> boxes;
    TuningRun run;
    FakePinMap pinMap;
    // The waits of the session's tests and verification.
    Pacing pacing = fastClock();
    QTemporaryDir exportDir;
    std::unique_ptr<TuningSession> session;

    TuningRig()
    {
        for (int n = 0; n < 25; ++n) {
            keys << new QPushButton(&window);
            swatches << new QPushButton(&window);
            boxes << new QCheckBox(&window);
        }
    }
    // Builds the session over the link; CSV files go to exportFolder, or to the rig's own.
    void build(TuningLink &link, const QString &exportFolder = QString())
    {
        TuningWidgets w;
        w.chartView = view;
        w.startValueCBox = startCombo;
        w.endValueCBox = endCombo;
        w.hoverLabel = hover;
        w.tableWidget = table;
        w.log = log;
        w.keys = keys;
        w.swatches = swatches;
        w.checkBoxes = boxes;
        w.verificationButton = verifyButton;
        w.numbersTable = numbersTable;
        w.pauseButton = pauseButton;
        w.recordButton = recordButton;
        w.replay = {replayBar, replayPause, replaySpeed, replaySlider, replayTime};
        w.progressLabel = progress;
        w.overlayParent = &window;
        w.dialogParent = &window;
        session = std::make_unique<TuningSession>(w, channelNames(), run, pinMap, link, pacing,
                                                  exportFolder.isEmpty() ? exportDir.path()
                                                                         : exportFolder);
        chart().fillValueCombos();
        startCombo->setCurrentText(QStringLiteral("1900"));
        endCombo->setCurrentText(QStringLiteral("2100"));
    }

    LiveChart &chart() const { return session->chart(); }
    ResultsTable &results() const { return session->results(); }
    ChannelTestSequencer &sequencer() const { return session->sequencer(); }
    WaterproofTest &waterproof() const { return session->waterproof(); }
    VerificationMode &verification() const { return session->verification(); }
    ChannelRecorder &recorder() const { return session->recorder(); }
    const ChannelSamples &samples(int channel) const { return session->samples().at(channel); }

    void use(int channel, int key) { pinMap.use(channel, key); }
    QStringList logLines() const { return log->toPlainText().split(QLatin1Char('\n')); }
    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = table->item(row, column);
        return item ? item->text() : QString();
    }
    void record(int value, int crcFailed = 0)
    {
        session->handleRecord(measurementRecord(run.channel(), value), crcFailed);
    }
    // Feeds good records of value base + i % 3 (mean base + 1) for the channel under test, with
    // a finger (touchRise more) through a touch phase, taking back each re-arm the sequencer
    // schedules.
    void feed(int count, int base, int touchRise = kTouchRise)
    {
        for (int i = 0; i < count; ++i) {
            recorder().cancelRearm();
            const bool touched = !run.waterproofMode() && run.sampleCount() >= 162;
            record(base + i % 3 + (touched ? touchRise : 0));
        }
    }
    static constexpr int kTouchRise = 300;
};
} // namespace testsupport

#endif // TUNINGRIG_H
