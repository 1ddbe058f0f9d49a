#include "tuning/verificationplot.h"

#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <QtTest>

using namespace QtCharts;

// Cost of one full verification redraw (25 ticked curves of 132 points) on a shown chart,
// one replace() per curve against the point-by-point way. Benchmarks only: nothing is timed
// against a limit here.
class BenchVerificationPlot : public QObject
{
    Q_OBJECT

private:
    QChartView *view = nullptr;
    QValueAxis *axisX = nullptr;
    QValueAxis *axisY = nullptr;
    VerificationPlot plot;
    VerificationPlot::Ticked all{};
    int startValue = 1900;
    int endValue = 2100;

    void widen(int v)
    {
        if (endValue < v)
            endValue = (v / 100 + 1) * 100;
        if (v < startValue && v > 0)
            startValue = 0;
        axisY->setRange(startValue, endValue);
    }

private slots:
    void initTestCase()
    {
        auto *chart = new QChart;
        chart->legend()->hide();
        axisX = new QValueAxis;
        axisX->setRange(0, 12);
        axisY = new QValueAxis;
        axisY->setRange(startValue, endValue);
        chart->addAxis(axisX, Qt::AlignBottom);
        chart->addAxis(axisY, Qt::AlignLeft);
        view = new QChartView(chart);
        view->resize(1000, 500);
        view->show();
        std::array<QColor, VerificationPlot::kChannelCount> colours;
        colours.fill(Qt::blue);
        plot.createCurves(colours, [chart, this](QLineSeries *s, const QColor &c) {
            s->setPen(QPen(c, 2));
            chart->addSeries(s);
            s->attachAxis(axisX);
            s->attachAxis(axisY);
        });
        for (int n = 0; n < VerificationPlot::kWindow; ++n) {
            QByteArray data(VerificationPlot::kRecordSize, '\0');
            data[0] = char(0x36);
            for (int k = 0; k < VerificationPlot::kChannelCount; ++k) {
                const int v = 1950 + (n * 7 + k * 13) % 100;
                data[1 + 2 * k] = char(v >> 8);
                data[2 + 2 * k] = char(v & 0xFF);
            }
            plot.appendRecord(data);
        }
        all.fill(true);
        QCoreApplication::processEvents();
    }

    void cleanupTestCase() { delete view; }

    void fullRedrawReplacingEachCurve()
    {
        QBENCHMARK {
            plot.redraw(all, [this](int v) { widen(v); });
        }
        QCOMPARE(plot.curve(24)->count(), VerificationPlot::kWindow);
    }

    void fullRedrawPointByPoint()
    {
        QBENCHMARK {
            for (int k = 0; k < VerificationPlot::kChannelCount; ++k)
                plot.curve(k)->clear();
            double x = 0.0;
            for (int i = 0; i < VerificationPlot::kWindow; ++i) {
                for (int k = 0; k < VerificationPlot::kChannelCount; ++k) {
                    const int v = plot.history(k).at(i);
                    widen(v);
                    plot.curve(k)->append(x, v);
                }
                x += VerificationPlot::kStep;
            }
        }
        QCOMPARE(plot.curve(24)->count(), VerificationPlot::kWindow);
    }

    // The redraw plus the repaint it causes, as the user sees it.
    void fullRedrawAndRepaint()
    {
        QBENCHMARK {
            plot.redraw(all, [this](int v) { widen(v); });
            view->viewport()->repaint();
        }
    }
};

QTEST_MAIN(BenchVerificationPlot)
#include "bench_verificationplot.moc"
