#include "charts/livechartview.h"

#include <QElapsedTimer>
#include <QEvent>

LiveChartView::LiveChartView(QWidget *parent) : QtCharts::QChartView(parent) {}

bool LiveChartView::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return QtCharts::QChartView::viewportEvent(event);
    QElapsedTimer clock;
    clock.start();
    const bool handled = QtCharts::QChartView::viewportEvent(event);
    paintNs = clock.nsecsElapsed();
    return handled;
}
