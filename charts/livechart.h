#ifndef LIVECHART_H
#define LIVECHART_H

#include <QObject>
#include <QPointF>

class QComboBox;
class QLabel;
struct ChannelSamples;

namespace QtCharts
{
class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;
} // namespace QtCharts

// The chart of the debug page: its axes, the curve of the channel under test, the channel curves
// of verification, and the y range that follows the two limit combos and widens to fit the data.
class LiveChart : public QObject
{
    Q_OBJECT

public:
    LiveChart(QtCharts::QChartView *chartView, QComboBox *startValueCBox, QComboBox *endValueCBox,
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
    // Draws the newest sample of the running test at the curve's next x position and advances it;
    // a negative value (no sample yet) draws nothing.
    void appendTestPoint(int value);
    // The next point is drawn at x = 0 again.
    void restartCurve() { curveX = 0.0; }
    double curvePosition() const { return curveX; }
    void widenRange(int value);

    // The combos' current texts become the y limits.
    void applyStartValue();
    void applyEndValue();

    // A fresh chart with a channel's measured phases, each in its own colour, with a legend.
    void showStoredCurves(const ChannelSamples &samples);

    // Routes the test curve's hover signal to pointHovered (at most one connection).
    void connectHover();
    void showHover(QPointF point, bool state);

    QtCharts::QChart *chart() const { return currentChart; }
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

    QtCharts::QChartView *view;
    QComboBox *startCombo;
    QComboBox *endCombo;
    QLabel *hoverLabel;
    // x of the next point of the test curve.
    double curveX = 0.0;
    QtCharts::QChart *currentChart = nullptr;
    QtCharts::QValueAxis *axisX = nullptr;
    QtCharts::QValueAxis *axisY = nullptr;
    QtCharts::QLineSeries *testCurve = nullptr;
    int yStart = 1900;
    int yEnd = 2100;
};

#endif // LIVECHART_H
