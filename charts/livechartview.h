#ifndef LIVECHARTVIEW_H
#define LIVECHARTVIEW_H

#include "compat/qtcompat.h"

#include <QPoint>
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

protected:
    bool viewportEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    qint64 paintNs = 0;
    bool navigable = false;
    bool dragging = false;
    QPoint lastDragPos;
};

#endif // LIVECHARTVIEW_H
