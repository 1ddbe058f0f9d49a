#include "charts/livechartview.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <QtCharts/QChart>
#include <QtCharts/QValueAxis>
#include <QtCharts/QXYSeries>

#include <algorithm>
#include <cmath>

using namespace QtCharts;

namespace
{
// How far from a point, in pixels, the cursor still reads its value.
constexpr double kPickRadius = 8.0;
constexpr double kWheelZoom = 0.8;
} // namespace

LiveChartView::LiveChartView(QWidget *parent) : QChartView(parent) {}

bool LiveChartView::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return QChartView::viewportEvent(event);
    QElapsedTimer clock;
    clock.start();
    const bool handled = QChartView::viewportEvent(event);
    paintNs = clock.nsecsElapsed();
    return handled;
}

void LiveChartView::setNavigable(bool on)
{
    navigable = on;
    dragging = false;
    setMouseTracking(on);
    viewport()->setMouseTracking(on);
    if (!on)
        QToolTip::hideText();
}

void LiveChartView::zoomAround(const QPoint &pos, double factor)
{
    QChart *current = chart();
    if (!current || factor <= 0.0)
        return;
    const QRectF area = current->plotArea();
    QPointF at = current->mapFromScene(mapToScene(pos));
    if (!area.contains(at))
        at = area.center();
    current->zoomIn(QRectF(at.x() - (at.x() - area.left()) * factor,
                           at.y() - (at.y() - area.top()) * factor, area.width() * factor,
                           area.height() * factor));
}

void LiveChartView::dragBy(const QPoint &delta)
{
    if (QChart *current = chart())
        current->scroll(-delta.x(), delta.y());
}

QString LiveChartView::valueTextAt(const QPoint &pos) const
{
    QChart *current = chart();
    if (!current)
        return QString();
    double best = kPickRadius * kPickRadius;
    QString text;
    for (QAbstractSeries *abstract : current->series()) {
        const auto *series = qobject_cast<const QXYSeries *>(abstract);
        if (!series || !series->isVisible())
            continue;
        for (const QPointF &point : qtcompat::seriesPoints(*series)) {
            const QPointF at =
                mapFromScene(current->mapToScene(current->mapToPosition(point, abstract)));
            const double dx = at.x() - pos.x();
            const double dy = at.y() - pos.y();
            if (dx * dx + dy * dy > best)
                continue;
            best = dx * dx + dy * dy;
            const QString value = QString::number(std::lround(point.y()));
            text = series->name().isEmpty() ? value : tr("%1：%2").arg(series->name(), value);
        }
    }
    return text;
}

void LiveChartView::wheelEvent(QWheelEvent *event)
{
    if (!navigable) {
        QChartView::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y();
    if (steps != 0)
        zoomAround(event->position().toPoint(), steps > 0 ? kWheelZoom : 1.0 / kWheelZoom);
    event->accept();
}

void LiveChartView::mousePressEvent(QMouseEvent *event)
{
    if (!navigable || event->button() != Qt::LeftButton) {
        QChartView::mousePressEvent(event);
        return;
    }
    dragging = true;
    lastDragPos = event->pos();
    event->accept();
}

void LiveChartView::mouseMoveEvent(QMouseEvent *event)
{
    if (!navigable) {
        QChartView::mouseMoveEvent(event);
        return;
    }
    if (dragging) {
        dragBy(event->pos() - lastDragPos);
        lastDragPos = event->pos();
    }
    const QString text = valueTextAt(event->pos());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(viewport()->mapToGlobal(event->pos()), text, this);
    event->accept();
}

void LiveChartView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!navigable || event->button() != Qt::LeftButton) {
        QChartView::mouseReleaseEvent(event);
        return;
    }
    dragging = false;
    event->accept();
}
