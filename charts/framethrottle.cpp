#include "charts/framethrottle.h"

#include <QtGlobal>

#include <utility>

FrameThrottle::FrameThrottle(std::function<void()> draw, std::function<qint64()> extraCostNs,
                             QObject *parent)
    : QObject(parent), draw(std::move(draw)), extraCostNs(std::move(extraCostNs))
{
    due.setSingleShot(true);
    connect(&due, &QTimer::timeout, this, &FrameThrottle::drawNow);
}

void FrameThrottle::request()
{
    stale = true;
    if (held || due.isActive())
        return;
    const qint64 since = lastFrame.isValid() ? lastFrame.elapsed() : spacing;
    if (since >= spacing)
        drawNow();
    else
        due.start(int(spacing - since));
}

void FrameThrottle::flush()
{
    if (stale && !held)
        drawNow();
}

void FrameThrottle::cancel()
{
    due.stop();
    stale = false;
}

void FrameThrottle::hold(bool on)
{
    held = on;
    if (held)
        due.stop();
    else
        flush();
}

void FrameThrottle::drawNow()
{
    due.stop();
    if (!stale || held)
        return;
    stale = false;
    lastFrame.start();
    draw();
    ++frames;
    qint64 costNs = lastFrame.nsecsElapsed();
    if (extraCostNs)
        costNs += extraCostNs();
    spacing = int(qMax<qint64>(frameMs, costNs * costSpacing / 1000000));
}
