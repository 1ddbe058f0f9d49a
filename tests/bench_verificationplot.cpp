#include "charts/livechart.h"
#include "charts/livechartview.h"
#include "charts/verificationplot.h"
#include "chip/chip.h"

#include <QComboBox>
#include <QLabel>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtTest>

using namespace QtCharts;

// Cost of one full verification redraw (25 ticked curves of 132 points) on a shown chart,
// one replace() per curve against the point-by-point way. Benchmarks only: nothing is timed
// against a limit here.
class BenchVerificationPlot : public QObject
{
    Q_OBJECT

private:
    LiveChartView *view = nullptr;
    QComboBox startCombo;
    QComboBox endCombo;
    QLabel hoverLabel;
    LiveChart *chart = nullptr;
    VerificationPlot plot;
    VerificationPlot::Ticked all{};

    void widen(int v) { chart->widenRange(v); }

private slots:
    void initTestCase()
    {
        view = new LiveChartView;
        view->resize(1000, 500);
        chart = new LiveChart(view, &startCombo, &endCombo, &hoverLabel, this);
        chart->fillValueCombos();
        chart->rebuild(12, 11);
        view->show();
        std::array<QColor, chip::kChannelCount> colours;
        colours.fill(Qt::blue);
        plot.createCurves(colours, [this](QLineSeries *s, const QColor &c) {
            chart->addChannelSeries(s, c.red(), c.green(), c.blue());
        });
        for (int n = 0; n < VerificationPlot::kWindow; ++n) {
            QByteArray data(chip::kRecordSize, '\0');
            data[0] = char(0x36);
            for (int k = 0; k < chip::kChannelCount; ++k) {
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
        QBENCHMARK
        {
            plot.redraw(all, [this](int v) { widen(v); });
        }
        QCOMPARE(plot.curve(24)->count(), VerificationPlot::kWindow);
    }

    void fullRedrawPointByPoint()
    {
        QBENCHMARK
        {
            for (int k = 0; k < chip::kChannelCount; ++k)
                plot.curve(k)->clear();
            double x = 0.0;
            for (int i = 0; i < VerificationPlot::kWindow; ++i) {
                for (int k = 0; k < chip::kChannelCount; ++k) {
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
        QBENCHMARK
        {
            plot.redraw(all, [this](int v) { widen(v); });
            view->viewport()->repaint();
        }
    }
};

QTEST_MAIN(BenchVerificationPlot)
#include "bench_verificationplot.moc"
