#include "tuning/phaseprogress.h"

#include "chip/chip.h"
#include "tuning/tuningrun.h"

#include <QLabel>

#include <utility>

PhaseProgress::PhaseProgress(const TuningRun &run, QLabel *label,
                             std::function<QPoint(const QSize &)> place)
    : run(run), label(label), place(std::move(place))
{
    QFont font = label->font();
    font.setPointSize(14);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral(
        "background:white;border:1px solid black;border-radius:4px;padding:2px 6px;"));
    // As wide as the widest count, so that the group does not move while it counts.
    label->setText(text(chip::kSamplesPerPhase));
    label->adjustSize();
    label->setFixedSize(label->size());
    label->hide();
}

QPoint PhaseProgress::badgePosition(const QSize &badge)
{
    badgeSize = badge;
    const QSize group(label->width() + kGap + badge.width(), qMax(label->height(), badge.height()));
    return place(group) + QPoint(label->width() + kGap, 0);
}

QString PhaseProgress::text(int taken)
{
    return QStringLiteral("%1/%2").arg(taken).arg(chip::kSamplesPerPhase);
}

void PhaseProgress::update()
{
    const bool measuring = run.kind() == TuningRun::Kind::Single ||
                           run.kind() == TuningRun::Kind::Auto ||
                           run.kind() == TuningRun::Kind::Waterproof;
    const TuningRun::Phase phase = run.phase();
    if (!measuring || phase == TuningRun::Phase::Idle || phase == TuningRun::Phase::Stopping) {
        label->hide();
        return;
    }
    // A countdown announces a phase still to be measured: the samples taken by then (the
    // no-touch phase's, before the touch phase) are not this phase's. A new channel starts
    // from none.
    const int count = run.sampleCount();
    if (phase == TuningRun::Phase::CountingDown || count < phaseStart)
        phaseStart = count;
    const int taken = phase == TuningRun::Phase::CountingDown ? 0 : count - phaseStart;
    label->setText(text(taken));
    label->move(badgePosition(badgeSize) - QPoint(label->width() + kGap, 0));
    label->raise();
    label->show();
}
