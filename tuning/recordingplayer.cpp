#include "tuning/recordingplayer.h"

#include "charts/verificationplot.h"
#include "chip/chip.h"
#include "link/protocol.h"
#include "quality/streamnumbers.h"
#include "tuning/streamrecording.h"
#include "tuning/tuningrun.h"
#include "tuning/tuningsession.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

namespace
{
using Kind = RecordedRecord::Kind;

// A record later than this was held up (a box waited for the user): the pace starts again there.
constexpr qint64 kLateMs = 200;
// As fast as possible still hands the event loop back this often, so the window keeps drawing.
constexpr qint64 kSliceMs = 15;
constexpr int kPositionMs = 100;

QString secondsText(qint64 ms) { return QString::number(ms / 1000.0, 'f', 1); }
} // namespace

RecordingPlayer::RecordingPlayer(TuningSession &session, const Controls &controls,
                                 QPlainTextEdit *log, QWidget *dialogParent, QObject *parent)
    : QObject(parent), session(session), controls(controls), log(log), dialogParent(dialogParent),
      target(session, log, dialogParent)
{
    chooseFile = [](QWidget *parent, const QString &caption, const QString &folder,
                    const QString &filter) {
        return QFileDialog::getOpenFileName(parent, caption, folder, filter);
    };
    tick.setSingleShot(true);
    connect(&tick, &QTimer::timeout, this, &RecordingPlayer::pump);
    clock.start();
    controls.bar->hide();
    controls.speed->clear();
    controls.speed->addItems({tr("1×"), tr("4×"), tr("最快")});
    connect(controls.speed, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { setSpeed(Speed(qBound(0, index, 2))); });
    connect(controls.slider, &QSlider::sliderReleased, this,
            [this] { seek(this->controls.slider->value()); });
    connect(controls.slider, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove)
            seek(this->controls.slider->sliderPosition());
    });
}

void RecordingPlayer::open(const QString &folder)
{
    const TuningRun &run = session.run();
    if (active || run.kind() != TuningRun::Kind::None || session.verification().isActive() ||
        session.recording().isRecording()) {
        QMessageBox::warning(dialogParent, tr("提示"), tr("正在调试请勿点击！"));
        return;
    }
    const QString path =
        chooseFile(dialogParent, tr("打开录制文件"), folder, tr("录制文件(*_rec.csv);;CSV(*.csv)"));
    if (path.isEmpty())
        return;
    QVector<RecordedRecord> read;
    int skipped = 0;
    QString error;
    if (!RecordingFile::read(path, &read, &skipped, &error)) {
        QMessageBox::warning(dialogParent, tr("提示"), error);
        return;
    }
    const QString name = QFileInfo(path).fileName();
    if (skipped > 0)
        log->appendPlainText(tr("录制文件 %1：跳过 %2 行").arg(name).arg(skipped));
    if (read.isEmpty()) {
        log->appendPlainText(tr("录制文件 %1 中没有记录").arg(name));
        return;
    }
    if (!target.begin(read))
        return;
    (void)play(read);
    log->appendPlainText(tr("开始回放：%1，%2 条记录").arg(name).arg(read.size()));
}

bool RecordingPlayer::play(const QVector<RecordedRecord> &played)
{
    if (played.isEmpty())
        return false;
    records = played;
    next = 0;
    resumeMidRun = -1;
    active = true;
    session.useSource(this);
    controls.slider->setRange(0, int(qMin<qint64>(records.constLast().ms, INT_MAX)));
    controls.bar->show();
    emit activeChanged(true);
    setPaused(false);
    return true;
}

void RecordingPlayer::close()
{
    if (!active)
        return;
    tick.stop();
    delivering = true;
    endRun();
    if (session.verification().isActive())
        session.verification().switchOff();
    delivering = false;
    active = false;
    records.clear();
    next = 0;
    session.useSource(nullptr);
    controls.bar->hide();
    log->appendPlainText(tr("回放结束"));
    target.end();
    emit activeChanged(false);
}

void RecordingPlayer::setPaused(bool on)
{
    // Played to the end, going on starts again from the beginning.
    if (!on && atEnd())
        seek(0);
    paused = on;
    controls.pauseButton->setText(paused ? tr("继续回放") : tr("暂停回放"));
    if (paused) {
        tick.stop();
        return;
    }
    rebase();
    tick.start(0);
}

void RecordingPlayer::setSpeed(Speed chosen)
{
    speed = chosen;
    rebase();
    // A wait for a far record is measured again at the new pace.
    if (active && !paused && !delivering)
        tick.start(0);
}

void RecordingPlayer::seek(qint64 ms)
{
    if (!active)
        return;
    int target = 0;
    while (target < records.size() && records.at(target).ms < ms)
        ++target;
    // The picture and the figures at the new place come from the records that lead up to it:
    // a test's from the first record of its channel's measurement, so that its phases are
    // counted whole; verification's from as far back as its curves and its noise reach.
    const int from = leadIn(target);
    // A waterproof run taken up after its first channel finds the water already on the pad.
    const bool midRun = from > 0 && from < records.size() &&
                        records.at(from).kind == Kind::Waterproof &&
                        records.at(from - 1).kind == Kind::Waterproof;
    resumeMidRun = midRun ? from : -1;
    delivering = true;
    endRun();
    session.restartStreamFigures();
    for (next = from; next < target && active; ++next) {
        const RecordedRecord &record = records.at(next);
        if (prepare(record))
            deliver(record);
    }
    delivering = false;
    if (!active)
        return;
    next = target;
    session.drawNow();
    rebase();
    sinceShown.invalidate();
    showPosition();
    if (!paused)
        tick.start(0);
}

int RecordingPlayer::leadIn(int target) const
{
    if (target >= records.size())
        return target;
    const RecordedRecord &at = records.at(target);
    int from = target;
    if (at.kind == Kind::Verification) {
        const qint64 since = at.ms - StreamNumbers::kNoiseWindowMs;
        while (from > 0 && records.at(from - 1).kind == Kind::Verification &&
               (target - from < VerificationPlot::kWindow || records.at(from - 1).ms >= since))
            --from;
    } else if (at.kind != Kind::None) {
        while (from > 0 && records.at(from - 1).kind == at.kind &&
               records.at(from - 1).channel == at.channel)
            --from;
    }
    return from;
}

void RecordingPlayer::rebase()
{
    anchorWallMs = clock.elapsed();
    anchorRecordMs = next < records.size() ? records.at(next).ms : 0;
}

void RecordingPlayer::pump()
{
    if (!active || paused || delivering)
        return;
    QElapsedTimer slice;
    slice.start();
    while (next < records.size()) {
        const RecordedRecord &record = records.at(next);
        if (speed != Speed::Fastest) {
            const int factor = speed == Speed::Fourfold ? 4 : 1;
            const qint64 due = anchorWallMs + qMax<qint64>(0, record.ms - anchorRecordMs) / factor;
            const qint64 now = clock.elapsed();
            if (now < due) {
                showPosition();
                tick.start(int(qMin<qint64>(due - now, INT_MAX)));
                return;
            }
            if (now - due > kLateMs)
                rebase();
        }
        delivering = true;
        if (prepare(record))
            deliver(record);
        delivering = false;
        if (!active || paused)
            return;
        ++next;
        if (slice.elapsed() >= kSliceMs) {
            showPosition();
            tick.start(0);
            return;
        }
    }
    // Played to the end: the last picture and figures stay until the replay is ended.
    sinceShown.invalidate();
    showPosition();
    paused = true;
    controls.pauseButton->setText(tr("继续回放"));
}

bool RecordingPlayer::prepare(const RecordedRecord &record)
{
    const TuningRun &run = session.run();
    VerificationMode &verification = session.verification();
    if (record.kind == Kind::Verification) {
        if (!verification.isActive())
            verification.switchOnConfirmed();
        return verification.isActive();
    }
    if (record.kind == Kind::End) {
        endRunAsRecorded(record);
        return false;
    }
    if (verification.isActive())
        verification.switchOff();
    const Kind running = StreamRecording::recordedKind(run.kind());
    if (record.kind == Kind::None) {
        endRun();
        return true;
    }
    // A new run began where the recording names another kind or channel, or goes back to a
    // channel's no-touch phase.
    const bool fresh = running != record.kind || run.channel() != record.channel ||
                       (record.phase == RecordedRecord::Phase::NoTouch &&
                        run.sampleCount() >= chip::kSamplesPerPhase);
    if (fresh) {
        endRun();
        startRun(record);
    }
    return StreamRecording::recordedKind(run.kind()) == record.kind;
}

void RecordingPlayer::startRun(const RecordedRecord &record)
{
    // The channels of the run: this one and those that follow it in the recording.
    QList<int> channels = {record.channel};
    for (int i = next; i < records.size() && records.at(i).kind == record.kind; ++i) {
        if (!channels.contains(records.at(i).channel))
            channels << records.at(i).channel;
    }
    switch (record.kind) {
    case Kind::Single:
        session.sequencer().runSingleChannel(record.channel);
        break;
    case Kind::Auto:
        session.chart().rebuild(12, 11);
        session.sequencer().runAutoTest(channels);
        break;
    case Kind::Waterproof:
        // The add-water prompt came with the run's first record; a run a seek takes up later has
        // its water on the pad already.
        session.chart().rebuild(6, 5);
        session.waterproof().runOver(channels, next != resumeMidRun);
        break;
    case Kind::None:
    case Kind::Verification:
    case Kind::End:
        break;
    }
}

void RecordingPlayer::endRunAsRecorded(const RecordedRecord &end)
{
    if (session.verification().isActive()) {
        session.verification().switchOff();
        return;
    }
    const TuningRun &run = session.run();
    if (run.kind() == TuningRun::Kind::None || run.kind() == TuningRun::Kind::Verification)
        return;
    if (end.phase != RecordedRecord::Phase::Finished) {
        const QString test = run.kind() == TuningRun::Kind::Waterproof
                                 ? tr("TK%1 的防水测试").arg(run.channel())
                                 : tr("TK%1 的触摸测试").arg(run.channel());
        log->appendPlainText(tr("%1已中止：%2")
                                 .arg(test, end.phase == RecordedRecord::Phase::Stopped
                                                ? tr("停止测试")
                                                : tr("录制时测试中断")));
    }
    endRun();
}

void RecordingPlayer::endRun()
{
    TuningRun &run = session.run();
    if (run.kind() == TuningRun::Kind::None || run.kind() == TuningRun::Kind::Verification)
        return;
    session.recorder().cancelRearm();
    run.halt();
    session.chart().restartCurve();
    session.recorder().showKeyMeasured();
    session.link().stopBlink();
}

void RecordingPlayer::deliver(const RecordedRecord &record)
{
    currentRecordMs = record.ms;
    if (record.kind == Kind::Verification)
        session.handleCheckRecord(record.toRecord(), record.crcFailed);
    else
        session.handleRecord(record.toRecord(), record.crcFailed);
}

void RecordingPlayer::showPosition()
{
    if (sinceShown.isValid() && sinceShown.elapsed() < kPositionMs)
        return;
    sinceShown.start();
    const qint64 at = next < records.size() ? records.at(next).ms : records.value(next - 1).ms;
    if (!controls.slider->isSliderDown())
        controls.slider->setValue(int(qMin<qint64>(at, INT_MAX)));
    controls.position->setText(
        tr("%1 / %2 秒")
            .arg(secondsText(at), secondsText(records.isEmpty() ? 0 : records.constLast().ms)));
}

void RecordingPlayer::beginSampling()
{
    TuningRun &run = session.run();
    if (!run.sampling()) {
        run.startCountdown();
        run.startSampling();
    }
}

void RecordingPlayer::restartCountdown()
{
    TuningRun &run = session.run();
    run.startCountdown();
    run.startSampling();
}

void RecordingPlayer::startSamplingDirect()
{
    TuningRun &run = session.run();
    if (!run.sampling())
        run.startSampling();
}

int RecordingPlayer::sendStartCommand() { return protocol::kReportSize; }

int RecordingPlayer::sendStopCommand() { return protocol::kReportSize; }
