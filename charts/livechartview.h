#ifndef LIVECHARTVIEW_H
#define LIVECHARTVIEW_H

#include <QtCharts/QChartView>

// The chart view of the debug page. It times its own painting, so that the live pictures can
// space their frames by what a frame really costs.
class LiveChartView : public QtCharts::QChartView
{
    Q_OBJECT

public:
    explicit LiveChartView(QWidget *parent = nullptr);

    // Nanoseconds the last paint of the view took.
    qint64 lastPaintNs() const { return paintNs; }

protected:
    bool viewportEvent(QEvent *event) override;

private:
    qint64 paintNs = 0;
};

#endif // LIVECHARTVIEW_H
