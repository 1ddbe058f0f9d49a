#ifndef LIVECHARTVIEW_H
#define LIVECHARTVIEW_H

#include "compat/qtcompat.h"

#include <QPoint>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QtCharts/QChartView>

// The chart view of the debug page. It times its own painting, so that the live pictures can
// space their frames by what a frame really costs. While navigable (the live picture paused) the
// wheel zooms around the cursor, a drag with the left button moves the picture, and the value of
// the curve point under the cursor shows beside it.
class LiveChartView : public QtCharts::QChartView
{
    Q_OBJECT

public:
    explicit LiveChartView(QWidget *parent = nullptr);

    // Nanoseconds the last paint of the view took.
    qint64 lastPaintNs() const { return paintNs; }

    void setNavigable(bool on);
    bool isNavigable() const { return navigable; }
    // Zooms by factor (below 1 zooms in) around pos, in viewport coordinates: a wheel step.
    void zoomAround(const QPoint &pos, double factor);
    // Moves the picture as a drag by delta (viewport pixels) does.
    void dragBy(const QPoint &delta);
    // "TK5：2034" for the curve point nearest to pos within a few pixels (the value alone for a
    // curve without name); empty when no point is that near.
    QString valueTextAt(const QPoint &pos) const;

    // The width of plot the time axis needs for every label whole: Qt Charts cuts a label wider
    // than its share of the axis less its padding.
    static int plotWidthForTimeLabels(const QtCharts::QChart &chart);

protected:
    bool viewportEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Asks the layout for room when the plot is too narrow for the time axis's labels (the
    // numbers view beside it, a small window).
    void keepTimeLabelsWhole(const QRectF &plot);

    QPointer<QtCharts::QChart> watchedChart;
    qint64 paintNs = 0;
    bool navigable = false;
    bool dragging = false;
    QPoint lastDragPos;
};

#endif // LIVECHARTVIEW_H
