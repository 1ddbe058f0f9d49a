#include "production/boardrun.h"

#include "quality/channelsamples.h"
#include "quality/keyquality.h"
#include "tuning/tuninglink.h"

#include <algorithm>
#include <limits>

namespace
{
constexpr int kNoRise = std::numeric_limits<int>::min();
}

BoardRun::BoardRun(TuningLink &link, const Pacing &pacing, QObject *parent)
    : QObject(parent), link(link), pacing(pacing)
{
    rearmTimer.setSingleShot(true);
    rearmTimer.setTimerType(Qt::PreciseTimer);
    rearmTimer.setInterval(pacing.rearmPauseMs);
    connect(&rearmTimer, &QTimer::timeout, this, [this] {
        if (isRunning())
            this->link.armReader();
    });
    touchTimer.setSingleShot(true);
    connect(&touchTimer, &QTimer::timeout, this, [this] {
        if (currentPhase == Phase::Touching)
            judgeLitKey(true);
    });
}

bool BoardRun::start(const QString &board, const QVector<Key> &boardKeys, bool touch, int seconds)
{
    if (isRunning() || boardKeys.isEmpty() || !link.isOpen())
        return false;
    keys = boardKeys;
    touchTest = touch;
    touchSeconds = seconds;
    current = BoardRecord();
    current.board = board;
    counts.clear();
    toTouch.clear();
    if (drainInput)
        drainInput();
    setPhase(Phase::Settling);
    settleClock.start();
    if (link.sendStartCommand() < 0) {
        endRepeated(tr("发送数据超时"));
        return true;
    }
    link.armReader();
    return true;
}

int BoardRun::litChannel() const
{
    return currentPhase == Phase::Touching && !toTouch.isEmpty() ? keys.at(toTouch.first()).channel
                                                                 : -1;
}

void BoardRun::setPhase(Phase phase)
{
    if (phase == currentPhase)
        return;
    currentPhase = phase;
    emit phaseChanged();
}

void BoardRun::scheduleRearm() { rearmTimer.start(); }

void BoardRun::handleRecord(const QByteArray &record, int crcFailed)
{
    if (!isRunning())
        return;
    // Only an intact record with every channel is a reading of the board.
    if (crcFailed != 0 || record.size() < chip::kRecordSize) {
        scheduleRearm();
        return;
    }
    // What comes while the board settles after Start is not counted.
    if (currentPhase == Phase::Settling) {
        if (settleClock.elapsed() < pacing.startSettleMs) {
            scheduleRearm();
            return;
        }
        setPhase(Phase::Capturing);
    }
    const RecordCounts all = recordCounts(record);
    if (currentPhase == Phase::Capturing) {
        QVector<int> reading;
        for (const Key &key : qAsConst(keys))
            reading << all[key.channel];
        counts << reading;
        if (counts.size() == chip::kSamplesPerPhase) {
            finishCapture();
            return;
        }
    } else if (currentPhase == Phase::Touching) {
        takeTouch(all[keys.at(toTouch.first()).channel]);
        if (currentPhase != Phase::Touching)
            return;
    }
    scheduleRearm();
}

void BoardRun::finishCapture()
{
    for (int i = 0; i < keys.size(); ++i) {
        QVector<int> samples;
        for (const QVector<int> &reading : qAsConst(counts))
            samples << reading.at(i);
        const PhaseFigures phase = PhaseFigures::of(samples);
        ChannelFigures figures;
        figures.channel = keys.at(i).channel;
        figures.noTouchMean = phase.mean;
        figures.noise = phase.maximum - phase.minimum;
        current.channels << figures;
        const QVector<BoardFailure> failures =
            BoardJudgement::judgeNoTouch(figures, keys.at(i).limits);
        bool padFault = false;
        for (const BoardFailure &failure : failures) {
            current.reasons << failure.text();
            padFault = padFault || failure.pad != BoardFailure::Pad::None;
        }
        // A pad that is open or shorted has failed already; its touch would only cost time.
        if (touchTest && keys.at(i).limits.minSignal && !padFault)
            toTouch << i;
    }
    std::sort(
        current.channels.begin(), current.channels.end(),
        [](const ChannelFigures &a, const ChannelFigures &b) { return a.channel < b.channel; });
    if (toTouch.isEmpty()) {
        finish();
        return;
    }
    setPhase(Phase::Touching);
    lightKey(0);
    scheduleRearm();
}

void BoardRun::lightKey(int index)
{
    toTouch = toTouch.mid(index);
    rises.clear();
    largestRise = kNoRise;
    holdLeft = -1;
    touchTimer.start(touchSeconds * 1000);
    emit keyLit(keys.at(toTouch.first()).channel);
}

void BoardRun::takeTouch(int count)
{
    const Key &key = keys.at(toTouch.first());
    const ChannelFigures *figures = current.figuresOf(key.channel);
    rises << count - figures->noTouchMean.value_or(count);
    if (rises.size() > kTouchRecords)
        rises.removeFirst();
    if (rises.size() == kTouchRecords) {
        int sum = 0;
        for (int rise : qAsConst(rises))
            sum += rise;
        largestRise = std::max(largestRise, sum / kTouchRecords);
    }
    if (holdLeft < 0 && largestRise >= *key.limits.minSignal)
        holdLeft = kHoldRecords;
    if (holdLeft >= 0 && holdLeft-- == 0)
        judgeLitKey(false);
}

void BoardRun::judgeLitKey(bool timedOut)
{
    touchTimer.stop();
    const Key &key = keys.at(toTouch.first());
    const int signal = largestRise == kNoRise ? 0 : largestRise;
    for (ChannelFigures &figures : current.channels) {
        if (figures.channel == key.channel)
            figures.signal = signal;
    }
    const std::optional<BoardFailure> failure =
        BoardJudgement::judgeTouch(key.channel, signal, timedOut, touchSeconds, key.limits);
    if (failure)
        current.reasons << failure->text();
    emit keyJudged(key.channel, !failure);
    if (toTouch.size() > 1)
        lightKey(1);
    else
        finish();
}

void BoardRun::finish()
{
    stopBoard();
    current.time = QDateTime::currentDateTime();
    current.passed = current.reasons.isEmpty();
    setPhase(Phase::Idle);
    emit finished(current);
}

void BoardRun::stopBoard()
{
    rearmTimer.stop();
    touchTimer.stop();
    link.disarmReader();
    // The board stops streaming while the next one is put on the fixture; the answers are not
    // awaited, as at the end of a run.
    if (link.isOpen())
        (void)link.runStopExchange(StopExchange::EndOfRun);
}

void BoardRun::endRepeated(const QString &why)
{
    stopBoard();
    setPhase(Phase::Idle);
    emit repeated(why);
}

void BoardRun::readerFailed(const QString &text)
{
    if (isRunning())
        endRepeated(link.isOpen() ? text : tr("调试器已断开"));
}

void BoardRun::linkLost()
{
    if (isRunning())
        endRepeated(tr("调试器已断开"));
}

void BoardRun::abort(const QString &why)
{
    if (isRunning())
        endRepeated(why);
}
