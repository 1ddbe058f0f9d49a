#include "tuning/falsetouchtest.h"

#include "quality/recordingfile.h"
#include "tuning/tuningsession.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

FalseTouchTest::FalseTouchTest(TuningSession &session, QPlainTextEdit *log, QWidget *dialogParent,
                               int minuteMs, QObject *parent)
    : QObject(parent), session(session), log(log), dialogParent(dialogParent),
      minuteMs(std::max(1, minuteMs))
{
    end.setSingleShot(true);
    connect(&end, &QTimer::timeout, this, &FalseTouchTest::finish);
    minuteTick.setInterval(this->minuteMs);
    connect(&minuteTick, &QTimer::timeout, this, [this] {
        if (--minutesLeft > 0)
            this->log->appendPlainText(tr("误触发测试：还剩 %1 分钟").arg(minutesLeft));
    });
    // Verification that ends before the run's time (the button, a reader failure, the cable)
    // ends the run without a verdict.
    connect(&session.verification(), &VerificationMode::activeChanged, this, [this](bool on) {
        if (!on && running && !finishing)
            aborted(tr("误触发测试已中止，录制文件已保留：%1").arg(QDir::toNativeSeparators(path)));
    });
    // A verdict on part of the run would pass keys on what was never recorded: a recording that
    // ends early (its file full) ends the run without one.
    connect(&session.recording(), &StreamRecording::ended, this, [this](bool failed) {
        if (!running || finishing)
            return;
        const QString at =
            QString::number(double(this->session.recording().elapsedMs()) / 1000.0, 'f', 1);
        const QString of = QString::number(double(minutes) * this->minuteMs / 1000.0, 'f', 1);
        aborted(failed ? tr("误触发测试已中止：录制在 %1 秒（共 %2 秒）时写入失败，只录下部分数据，"
                            "不作判断")
                             .arg(at, of)
                       : tr("误触发测试已中止：录制在 %1 秒（共 %2 秒）时结束，只录下部分数据，"
                            "不作判断")
                             .arg(at, of));
    });
}

const std::optional<EvaluationReport::Snapshot> &FalseTouchTest::result() const
{
    return session.evidence().falseTouch;
}

void FalseTouchTest::warn(const QString &text) const
{
    QMessageBox::warning(dialogParent, tr("提示"), text);
}

void FalseTouchTest::start(const QString &folder, const QString &projectName)
{
    QMessageBox box(
        QMessageBox::Warning, tr("误触发测试"),
        tr("测试期间请勿触摸面板（可开启风扇、充电器、电源噪声或喷水）。请选择测试时长："),
        QMessageBox::Cancel, dialogParent);
    QList<QPair<QAbstractButton *, int>> choices;
    for (int length : kMinutes)
        choices.append({box.addButton(tr("%1 分钟").arg(length), QMessageBox::AcceptRole), length});
    box.exec();
    for (const auto &choice : qAsConst(choices)) {
        if (box.clickedButton() == choice.first) {
            (void)startFor(choice.second, folder, projectName);
            return;
        }
    }
}

bool FalseTouchTest::startFor(int length, const QString &folder, const QString &projectName)
{
    if (running || session.run().kind() != TuningRun::Kind::None ||
        session.verification().isActive() || session.replay().isActive() ||
        session.recording().isRecording()) {
        warn(tr("正在调试请勿点击！"));
        return false;
    }
    if (!session.link().isOpen()) {
        warn(tr("调试器打开失败！"));
        return false;
    }
    bool anyKey = false;
    for (const KeyPreview::Key &key : session.firmwareKeys())
        anyKey = anyKey || key.means.isComplete();
    if (!anyKey) {
        warn(tr("结果表中没有测完不触摸、触摸与防水的按键，无法判断误触发！"));
        return false;
    }
    if (!session.recording().startIn(folder, projectName))
        return false;
    session.recording().markUntouched();
    // Every key in use is drawn, so that verification has a curve to start the board for.
    session.indicators().selectAll();
    session.verification().switchOnConfirmed();
    if (!session.verification().isActive() ||
        session.run().kind() != TuningRun::Kind::Verification) {
        if (session.verification().isActive())
            session.verification().switchOff();
        session.recording().stop();
        warn(tr("误触发测试无法开始：验证效果未能启动！"));
        return false;
    }
    path = session.recording().path();
    minutes = minutesLeft = length;
    running = true;
    session.recording().setHeld(true);
    end.start(length * minuteMs);
    minuteTick.start();
    log->appendPlainText(tr("误触发测试开始：%1 分钟，请勿触摸面板").arg(length));
    return true;
}

void FalseTouchTest::finish()
{
    minuteTick.stop();
    finishing = true;
    if (session.verification().isActive())
        session.verification().switchOff();
    running = false;
    session.recording().setHeld(false);
    const bool whole = session.recording().isRecording() && session.recording().stop();
    finishing = false;
    if (!whole || !QFileInfo::exists(path)) {
        aborted(tr("误触发测试已中止：录制没有录完整个测试，不作判断"));
        return;
    }
    EvaluatedRecording recording;
    recording.name = QFileInfo(path).fileName();
    int skipped = 0;
    QString error;
    if (!RecordingFile::read(path, &recording.records, &skipped, &error)) {
        warn(error);
        emit finished(false);
        return;
    }
    EvaluationReport::Snapshot snapshot;
    snapshot.keys = session.firmwareKeys();
    snapshot.result = RecordingEvaluation::evaluate({recording}, snapshot.keys);
    snapshot.made = QDateTime::currentDateTime();
    snapshot.minutes = minutes;
    session.keepFalseTouch(snapshot);
    int passed = 0;
    int failed = 0;
    for (const KeyPreview::Key &key : qAsConst(snapshot.keys)) {
        const RecordingEvaluation::KeyFigures &figures = snapshot.result.keys.at(key.channel);
        log->appendPlainText(EvaluationReport::quietLine(key, figures));
        if (figures.modelled)
            ++(figures.quietPass() ? passed : failed);
    }
    log->appendPlainText(tr("误触发测试结束，录制文件：%1").arg(QDir::toNativeSeparators(path)));
    emit finished(true);
    warn(tr("误触发测试完成：合格 %1 个，不合格 %2 个").arg(passed).arg(failed));
}

void FalseTouchTest::aborted(const QString &reason)
{
    end.stop();
    minuteTick.stop();
    running = false;
    session.recording().setHeld(false);
    session.recording().stop();
    if (session.verification().isActive()) {
        finishing = true;
        session.verification().switchOff();
        finishing = false;
    }
    log->appendPlainText(reason);
    emit finished(false);
}
