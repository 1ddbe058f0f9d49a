#ifndef LIVECHART_H
#define LIVECHART_H

#include "charts/framethrottle.h"
#include "compat/qtcompat.h"
#include "quality/samplesplot.h"

#include <QList>
#include <QObject>
#include <QPointF>

class LiveChartView;
class QComboBox;
class QLabel;
struct ChannelSamples;

// The chart of the debug page: its axes, the curve of the channel under test, the channel curves
// of verification, and the y range that follows the two limit combos, whoever sets them, and
// widens to fit the data. The axes keep readable ticks in any room and at any zoom (AxisTicks).
// The test curve takes its points at the display's rate: a record's point waits for the next
// frame, and every change of the run's phase draws what waits.
class LiveChart : public QObject
{
    Q_OBJECT

public:
    LiveChart(LiveChartView *chartView, QComboBox *startValueCBox, QComboBox *endValueCBox,
              QLabel *hoverLabel, QObject *parent = nullptr);

    // "2100" ... "18000" into endValueCBox; "0" ... "2000" into startValueCBox if the form left
    // it empty.
    void fillValueCombos();

    // A fresh chart with x 0 ... xMax and the current y range; the previous chart and every
    // series in it are deleted (rebuilt() tells the holders of channel curves).
    void rebuild(int xMax, int yTicks);
    // Replaces every series of the chart by one new, empty test curve.
    void installTestSeries();
    void clearTestSeries();
    // Gives the series a solid 2 px pen of that colour and adds it to the chart with both axes.
    void addChannelSeries(QtCharts::QLineSeries *series, int red, int green, int blue);
    // Puts the newest sample of the running test at the curve's next x position and advances it;
    // a negative value (no sample yet) puts nothing. The point is drawn with the next frame.
    void appendTestPoint(int value);
    // Draws the test points that wait for their frame.
    void flushTestPoints() { testFrames.flush(); }
    // The next point is drawn at x = 0 again (after those that wait are drawn).
    void restartCurve();
    double curvePosition() const { return curveX; }
    void widenRange(int value);

    // The axes as built, with the current y range: what a zoom or a drag changed is undone.
    void resetView();

    // The combos' current texts become the y limits.
    void applyStartValue();
    void applyEndValue();

    // A fresh chart with a channel's measured phases, each in its own colour, and the firmware's
    // press (dashed) and release (dotted) thresholds across them, with a legend.
    void showStoredCurves(const ChannelSamples &samples, const SamplesPlot::Lines &lines = {});

    // Routes the test curve's hover signal to pointHovered (at most one connection).
    void connectHover();
    void showHover(QPointF point, bool state);

    QtCharts::QChart *chart() const { return currentChart; }
    LiveChartView *chartView() const { return view; }
    // What the last paint of the view cost, for the frame spacing of the live pictures.
    qint64 lastPaintNs() const;
    QtCharts::QLineSeries *testSeries() const { return testCurve; }
    QtCharts::QValueAxis *xAxis() const { return axisX; }
    QtCharts::QValueAxis *yAxis() const { return axisY; }
    int startValue() const { return yStart; }
    int endValue() const { return yEnd; }

signals:
    void pointHovered(QPointF point, bool state);
    void rebuilt();

private:
    void applyYRange();
    // Ticks that the plot's room and the axes' ranges let be read.
    void fitTicks();
    void drawTestPoints();
    void dropTestPoints();

    LiveChartView *view;
    QComboBox *startCombo;
    QComboBox *endCombo;
    QLabel *hoverLabel;
    // x of the next point of the test curve.
    double curveX = 0.0;
    QtCharts::QChart *currentChart = nullptr;
    QtCharts::QValueAxis *axisX = nullptr;
    QtCharts::QValueAxis *axisY = nullptr;
    QtCharts::QLineSeries *testCurve = nullptr;
    int builtXMax = 12;
    int builtYTicks = 11;
    QList<QPointF> pendingTestPoints;
    FrameThrottle testFrames;
    int yStart = 1900;
    int yEnd = 2100;
};

#endif // LIVECHART_H
