#include "tuning/tuningrun.h"

TuningRun::TuningRun(QObject *parent) : QObject(parent) {}

TuningRun::Phase TuningRun::effectivePhase() const
{
    return currentPhase == Phase::Stopping ? phaseBeforeStop : currentPhase;
}

bool TuningRun::testBusy() const
{
    const Phase phase = effectivePhase();
    switch (currentKind) {
    case Kind::Single:
    case Kind::Auto:
        return phase == Phase::CountingDown || phase == Phase::Sampling;
    case Kind::Verification:
        return phase == Phase::Sampling;
    case Kind::None:
    case Kind::Waterproof:
        break;
    }
    return false;
}

bool TuningRun::sampling() const
{
    if (currentKind == Kind::Verification)
        return false;
    const Phase phase = effectivePhase();
    return phase == Phase::Sampling || phase == Phase::AwaitingWater;
}

bool TuningRun::autoSequence() const
{
    return currentKind == Kind::Auto || currentKind == Kind::Waterproof;
}

void TuningRun::set(Kind kind, Phase phase)
{
    if (kind == currentKind && phase == currentPhase)
        return;
    currentKind = kind;
    currentPhase = phase;
    emit phaseChanged(kind, phase);
}

void TuningRun::start(Kind kind, const QList<int> &channels)
{
    pending = channels;
    clearSamples();
    set(kind, kind == Kind::Verification ? Phase::Sampling : Phase::Idle);
}

void TuningRun::beginChannel(int channel)
{
    currentChannel = channel;
    clearSamples();
}

int TuningRun::takeNextChannel() { return pending.isEmpty() ? -1 : pending.takeFirst(); }

void TuningRun::clearQueue() { pending.clear(); }

void TuningRun::startCountdown() { set(currentKind, Phase::CountingDown); }

void TuningRun::startSampling() { set(currentKind, Phase::Sampling); }

void TuningRun::awaitWater() { set(currentKind, Phase::AwaitingWater); }

void TuningRun::endChannel() { set(currentKind, Phase::Idle); }

void TuningRun::finish() { end(Ending::Finished); }

void TuningRun::halt(Ending ending) { end(ending); }

void TuningRun::end(Ending ending)
{
    const Kind ended = currentKind;
    pending.clear();
    clearSamples();
    set(Kind::None, Phase::Idle);
    if (ended != Kind::None)
        emit runEnded(ended, ended == Kind::Verification ? -1 : currentChannel, ending);
}

void TuningRun::beginStopping()
{
    phaseBeforeStop = currentPhase;
    set(currentKind, Phase::Stopping);
}

void TuningRun::stopFailed()
{
    if (currentPhase == Phase::Stopping)
        set(currentKind, phaseBeforeStop);
}
