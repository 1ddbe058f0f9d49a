#include "charts/axisticks.h"
#include "charts/livechart.h"
#include "charts/livechartview.h"

#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QtCharts/QChart>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <QtTest>

#include <cmath>

using namespace QtCharts;

// A chart with the widgets it drives, as the debug page holds them.
struct ChartRig
{
    QWidget window;
    LiveChartView *view = new LiveChartView(&window);
    QComboBox *start = new QComboBox(&window);
    QComboBox *end = new QComboBox(&window);
    QLabel *hover = new QLabel(&window);
    LiveChart chart{view, start, end, hover};

    ChartRig()
    {
        window.resize(800, 600);
        chart.fillValueCombos();
        start->setCurrentText(QStringLiteral("1900"));
        end->setCurrentText(QStringLiteral("2100"));
        chart.rebuild(12, 11);
        chart.installTestSeries();
    }
};

class TestChart : public QObject
{
    Q_OBJECT

private slots:
    void valueCombosHoldTheirLists()
    {
        ChartRig rig;
        QCOMPARE(rig.start->count(), 21);
        QCOMPARE(rig.start->itemText(0), QStringLiteral("0"));
        QCOMPARE(rig.start->itemText(20), QStringLiteral("2000"));
        QCOMPARE(rig.end->count(), 160);
        QCOMPARE(rig.end->itemText(0), QStringLiteral("2100"));
        QCOMPARE(rig.end->itemText(1), QStringLiteral("2200"));
        QCOMPARE(rig.end->itemText(159), QStringLiteral("18000"));
    }

    void rebuildGivesAxesOfTheTest_data()
    {
        QTest::addColumn<int>("xMax");
        QTest::addColumn<int>("yTicks");
        QTest::newRow("channel test") << 12 << 11;
        QTest::newRow("waterproof test") << 6 << 5;
    }

    void rebuildGivesAxesOfTheTest()
    {
        QFETCH(int, xMax);
        QFETCH(int, yTicks);
        ChartRig rig;
        rig.chart.rebuild(xMax, yTicks);
        QChart *chart = rig.view->chart();
        QCOMPARE(chart, rig.chart.chart());
        QVERIFY(!chart->legend()->isVisible());
        QVERIFY(chart->series().isEmpty());
        QValueAxis *x = rig.chart.xAxis();
        QValueAxis *y = rig.chart.yAxis();
        QCOMPARE(chart->axes(Qt::Horizontal), QList<QAbstractAxis *>{x});
        QCOMPARE(chart->axes(Qt::Vertical), QList<QAbstractAxis *>{y});
        QCOMPARE(x->min(), 0.0);
        QCOMPARE(x->max(), double(xMax));
        QCOMPARE(x->tickCount(), xMax);
        QCOMPARE(x->labelFormat(), QStringLiteral("%d"));
        QCOMPARE(y->min(), 1900.0);
        QCOMPARE(y->max(), 2100.0);
        QCOMPARE(y->tickCount(), yTicks);
        QCOMPARE(y->labelFormat(), QStringLiteral("%d"));
        QCOMPARE(y->titleText(), QStringLiteral("value"));
        QVERIFY(rig.view->renderHints().testFlag(QPainter::Antialiasing));
    }

    void rebuildDeletesTheReplacedChartAndItsSeries()
    {
        ChartRig rig;
        QPointer<QChart> old = rig.chart.chart();
        QPointer<QLineSeries> oldTest = rig.chart.testSeries();
        auto *curve = new QLineSeries;
        QPointer<QLineSeries> oldCurve = curve;
        rig.chart.addChannelSeries(curve, 170, 0, 0);
        QSignalSpy rebuilt(&rig.chart, &LiveChart::rebuilt);
        rig.chart.rebuild(12, 11);
        QVERIFY(old.isNull());
        QVERIFY(oldTest.isNull());
        QVERIFY(oldCurve.isNull());
        QCOMPARE(rebuilt.count(), 1);
        QVERIFY(rig.chart.testSeries() == nullptr);
        // A point arriving before a test series exists is dropped, not drawn on freed memory.
        rig.chart.appendTestPoint(2000);
        QCOMPARE(rig.chart.curvePosition(), 0.036);
    }

    void rebuildKeepsTheYRangeOfTheCombos()
    {
        ChartRig rig;
        rig.chart.widenRange(2150);
        rig.chart.rebuild(6, 5);
        QCOMPARE(rig.chart.yAxis()->max(), 2200.0);
    }

    void testSeriesIsTheOnlySeriesWithItsPen()
    {
        ChartRig rig;
        rig.chart.addChannelSeries(new QLineSeries, 0, 85, 0);
        rig.chart.installTestSeries();
        QLineSeries *series = rig.chart.testSeries();
        QCOMPARE(rig.chart.chart()->series().size(), 1);
        QCOMPARE(rig.chart.chart()->series().first(), series);
        QCOMPARE(series->pen().color(), QColor(0, 200, 200));
        QCOMPARE(series->pen().width(), 2);
        QCOMPARE(series->pen().style(), Qt::SolidLine);
        QCOMPARE(series->attachedAxes().size(), 2);
    }

    void channelSeriesTakesColourAndAxes()
    {
        ChartRig rig;
        auto *series = new QLineSeries;
        rig.chart.addChannelSeries(series, 179, 212, 255);
        QCOMPARE(series->chart(), rig.chart.chart());
        QCOMPARE(series->pen().color(), QColor(179, 212, 255));
        QCOMPARE(series->pen().width(), 2);
        QVERIFY(series->attachedAxes().contains(rig.chart.xAxis()));
        QVERIFY(series->attachedAxes().contains(rig.chart.yAxis()));
        // A new colour for a curve already shown recolours it without adding it twice.
        rig.chart.addChannelSeries(series, 1, 2, 3);
        QCOMPARE(series->pen().color(), QColor(1, 2, 3));
        QCOMPARE(rig.chart.chart()->series().count(series), 1);
    }

    void widenRangeFollowsTheComboLists_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::newRow("inside") << 2000 << 1900 << 2100;
        QTest::newRow("at the end value") << 2100 << 1900 << 2100;
        QTest::newRow("just above") << 2150 << 1900 << 2200;
        QTest::newRow("on an item") << 2200 << 1900 << 2300;
        QTest::newRow("below start") << 1850 << 0 << 2100;
        QTest::newRow("one above zero") << 1 << 0 << 2100;
        QTest::newRow("zero") << 0 << 1900 << 2100;
        QTest::newRow("negative") << -5 << 1900 << 2100;
        QTest::newRow("below the top item") << 17999 << 1900 << 18000;
        QTest::newRow("top item") << 18000 << 1900 << 2100;
        QTest::newRow("beyond the list") << 40000 << 1900 << 2100;
    }

    void widenRangeFollowsTheComboLists()
    {
        QFETCH(int, value);
        QFETCH(int, start);
        QFETCH(int, end);
        ChartRig rig;
        rig.chart.widenRange(value);
        QCOMPARE(rig.chart.startValue(), start);
        QCOMPARE(rig.chart.endValue(), end);
        QCOMPARE(rig.start->currentText(), QString::number(start));
        QCOMPARE(rig.end->currentText(), QString::number(end));
        QCOMPARE(rig.chart.yAxis()->min(), double(start));
        QCOMPARE(rig.chart.yAxis()->max(), double(end));
    }

    void choosingALimitAppliesItAtOnce()
    {
        ChartRig rig;
        rig.start->setCurrentText(QStringLiteral("1500"));
        rig.chart.applyStartValue();
        QCOMPARE(rig.chart.yAxis()->min(), 1500.0);
        QCOMPARE(rig.chart.yAxis()->max(), 2100.0);
        rig.end->setCurrentText(QStringLiteral("3000"));
        rig.chart.applyEndValue();
        QCOMPARE(rig.chart.yAxis()->min(), 1500.0);
        QCOMPARE(rig.chart.yAxis()->max(), 3000.0);
        // A limit that a loaded project sets, without the user choosing it.
        rig.end->setCurrentText(QStringLiteral("2400"));
        rig.start->setCurrentText(QStringLiteral("1800"));
        QCOMPARE(rig.chart.yAxis()->max(), 2400.0);
        QCOMPARE(rig.chart.yAxis()->min(), 1800.0);
        rig.chart.rebuild(6, 5);
        QCOMPARE(rig.chart.yAxis()->max(), 2400.0);
    }

    // Ticks on round values wherever the axis is not as built or its labels would not fit, as
    // many as fit, and no two labels alike; as built, the built count.
    void ticksAreRoundAndTheirLabelsFit_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("pixels");
        QTest::addColumn<bool>("across");
        QTest::addColumn<bool>("asBuilt");
        QTest::newRow("time as built") << 0.0 << 12.0 << 800.0 << true << true;
        QTest::newRow("time in a narrow plot") << 0.0 << 12.0 << 150.0 << true << false;
        QTest::newRow("time zoomed in") << 3.21 << 5.94 << 600.0 << true << false;
        QTest::newRow("time zoomed far in") << 4.012 << 4.208 << 600.0 << true << false;
        QTest::newRow("counts zoomed in") << 2031.5 << 2066.2 << 300.0 << false << false;
        QTest::newRow("counts zoomed out") << 1700.0 << 2300.0 << 120.0 << false << false;
    }

    void ticksAreRoundAndTheirLabelsFit()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, pixels);
        QFETCH(bool, across);
        QFETCH(bool, asBuilt);
        QValueAxis axis;
        axis.setRange(min, max);
        AxisTicks::fit(&axis, {0.0, 12.0, 12}, pixels, across);
        if (asBuilt) {
            QCOMPARE(axis.tickType(), QValueAxis::TicksFixed);
            QCOMPARE(axis.tickCount(), 12);
            return;
        }
        QCOMPARE(axis.tickType(), QValueAxis::TicksDynamic);
        const double step = axis.tickInterval();
        const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        QVERIFY2(QList<double>({1, 2, 5}).contains(std::round(step / power * 1000) / 1000),
                 qPrintable(QString::number(step)));
        QStringList labels;
        for (double v = std::ceil(min / step - 1e-9) * step; v <= max + 1e-9; v += step)
            labels << QString::number(v, 'f', AxisTicks::decimals(step));
        QVERIFY(labels.size() >= 2);
        QCOMPARE(labels.size(), QSet<QString>(labels.begin(), labels.end()).size());
        const QFontMetricsF metrics(axis.labelsFont());
        double room = 0.0;
        for (const QString &label : labels)
            room += across ? metrics.horizontalAdvance(label) + 10 : metrics.height() + 5;
        QVERIFY2(room <= pixels, qPrintable(labels.join(QLatin1Char(' '))));
    }

    void testPointsAdvanceAndRepeatAfterABadRecord()
    {
        ChartRig rig;
        rig.chart.appendTestPoint(-1); // no sample yet: no point, x still advances
        QCOMPARE(rig.chart.testSeries()->count(), 0);
        QCOMPARE(rig.chart.curvePosition(), 0.036);
        rig.chart.restartCurve();
        rig.chart.appendTestPoint(2000);
        rig.chart.appendTestPoint(2010);
        rig.chart.appendTestPoint(2010); // a record whose CRC failed repeats the last sample
        rig.chart.flushTestPoints();
        const QVector<QPointF> points = qtcompat::seriesPoints(*rig.chart.testSeries());
        QCOMPARE(points.size(), 3);
        QCOMPARE(points.at(0), QPointF(0.0, 2000));
        QCOMPARE(points.at(1), QPointF(0.036, 2010));
        QCOMPARE(points.at(2), QPointF(0.072, 2010));
    }

    void fullTestSpansTheAxis()
    {
        ChartRig rig;
        for (int i = 0; i < 324; ++i) {
            rig.chart.appendTestPoint(2000 + i % 7);
        }
        rig.chart.flushTestPoints();
        QCOMPARE(rig.chart.testSeries()->count(), 324);
        QVERIFY(qAbs(rig.chart.testSeries()->at(323).x() - 11.628) < 1e-9);
    }

    void restartDrawsTheNextPointAtZero()
    {
        ChartRig rig;
        for (int i = 0; i < 3; ++i)
            rig.chart.appendTestPoint(2000);
        rig.chart.restartCurve();
        rig.chart.appendTestPoint(2050);
        rig.chart.flushTestPoints();
        QCOMPARE(rig.chart.testSeries()->at(3), QPointF(0.0, 2050));
    }

    void hoverShowsTheValueAboveTheCursor()
    {
        ChartRig rig;
        rig.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        QCursor::setPos(rig.window.mapToGlobal(QPoint(300, 200)));
        rig.chart.showHover(QPointF(1.5, 2034), true);
        QCOMPARE(rig.hover->text(), QStringLiteral("2034"));
        QVERIFY(rig.hover->isVisible());
        const QPoint cursor = rig.window.mapFromGlobal(QCursor::pos());
        QCOMPARE(rig.hover->pos(), QPoint(cursor.x() - rig.hover->width() / 2,
                                          int(cursor.y() - 1.5 * rig.hover->height())));
        rig.chart.showHover(QPointF(1.5, 2034), false);
        QVERIFY(!rig.hover->isVisible());
    }

    void hoverOfTheTestSeriesReachesTheWindowOnce()
    {
        ChartRig rig;
        QSignalSpy hovered(&rig.chart, &LiveChart::pointHovered);
        emit rig.chart.testSeries()->hovered(QPointF(0, 2034), true);
        QCOMPARE(hovered.count(), 0);
        rig.chart.connectHover();
        rig.chart.connectHover();
        emit rig.chart.testSeries()->hovered(QPointF(0, 2034), true);
        QCOMPARE(hovered.count(), 1);
        QCOMPARE(hovered.at(0).at(0).toPointF(), QPointF(0, 2034));
    }
};

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
