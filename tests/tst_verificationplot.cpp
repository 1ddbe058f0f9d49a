#include "charts/verificationplot.h"
#include "chip/chip.h"

#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include <memory>

using QtCharts::QChart;
using QtCharts::QLineSeries;

namespace
{

// A measurement record with channel k reading values(k).
template <typename F> QByteArray record(F values)
{
    QByteArray data(chip::kRecordSize, '\0');
    data[0] = char(0x36);
    for (int k = 0; k < chip::kChannelCount; ++k) {
        const int v = values(k);
        data[1 + 2 * k] = char(v >> 8);
        data[2 + 2 * k] = char(v & 0xFF);
    }
    return data;
}

VerificationPlot::Ticked ticked(std::initializer_list<int> channels)
{
    VerificationPlot::Ticked t{};
    for (int k : channels)
        t[k] = true;
    return t;
}

// One record as verification handles it: append, trim a full window, redraw.
void feed(VerificationPlot &plot, const QByteArray &data, const VerificationPlot::Ticked &t,
          const VerificationPlot::WidenRange &widen = {})
{
    plot.appendRecord(data);
    if (plot.windowOverfull())
        plot.dropOldest();
    plot.redraw(t, widen);
}

} // namespace

class TestVerificationPlot : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QChart> chart;
    VerificationPlot plot;

    void putOnChart()
    {
        std::array<QColor, chip::kChannelCount> colours;
        colours.fill(Qt::red);
        plot.createCurves(colours, [this](QLineSeries *s, const QColor &) { chart->addSeries(s); });
    }

private slots:
    void init()
    {
        chart.reset(new QChart);
        plot = VerificationPlot();
        putOnChart();
    }

    void recordReadingsAreBigEndianPerChannel()
    {
        QByteArray data = record([](int k) { return k == 24 ? 0xFFFF : 2000 + k; });
        data[1] = char(0x12);
        data[2] = char(0x34);
        QVERIFY(plot.appendRecord(data));
        QCOMPARE(plot.history(0), QList<int>{0x1234});
        QCOMPARE(plot.history(7), QList<int>{2007});
        QCOMPARE(plot.history(24), QList<int>{65535});
    }

    void shortRecordIsIgnored()
    {
        QVERIFY(!plot.appendRecord(QByteArray(50, '\x36')));
        QVERIFY(!plot.appendRecord(QByteArray()));
        for (int k = 0; k < chip::kChannelCount; ++k)
            QVERIFY(plot.history(k).isEmpty());
    }

    void onlyTickedCurvesGetPointsWhileAllHistoriesGrow()
    {
        const auto t = ticked({0, 5});
        for (int n = 0; n < 10; ++n)
            feed(plot, record([n](int k) { return 1000 + 10 * k + n; }), t);
        for (int k = 0; k < chip::kChannelCount; ++k) {
            QCOMPARE(plot.history(k).size(), 10);
            QCOMPARE(plot.curve(k)->count(), t[k] ? 10 : 0);
        }
        QCOMPARE(plot.curve(5)->at(9), QPointF(9 * 0.09, 1059));
    }

    void fullWindowKeeps132NewestValuesOverElevenPointSevenNine()
    {
        VerificationPlot::Ticked all;
        all.fill(true);
        for (int n = 1; n <= 133; ++n)
            feed(plot, record([n](int k) { return n + k; }), all);
        for (int k = 0; k < chip::kChannelCount; ++k) {
            QCOMPARE(plot.history(k).size(), VerificationPlot::kWindow);
            QCOMPARE(plot.history(k).first(), 2 + k);
            QLineSeries *curve = plot.curve(k);
            QCOMPARE(curve->count(), 132);
            QCOMPARE(curve->at(0), QPointF(0.0, 2 + k));
            QVERIFY(qAbs(curve->at(131).x() - 11.79) < 1e-9);
            QCOMPARE(curve->at(131).y(), qreal(133 + k));
        }
        // The window stays bounded however long verification runs.
        for (int n = 134; n <= 300; ++n)
            feed(plot, record([n](int) { return n; }), all);
        QCOMPARE(plot.history(3).size(), 132);
        QCOMPARE(plot.curve(3)->count(), 132);
        QCOMPARE(plot.history(3).last(), 300);
    }

    void untickingHidesAndTickingShowsTheWholeWindow()
    {
        for (int n = 0; n < 20; ++n)
            feed(plot, record([n](int) { return 2000 + n; }), ticked({1, 2}));
        feed(plot, record([](int) { return 2100; }), ticked({2, 3}));
        QCOMPARE(plot.curve(1)->count(), 0);
        QCOMPARE(plot.curve(2)->count(), 21);
        QCOMPARE(plot.curve(3)->count(), 21);
        QCOMPARE(plot.curve(3)->at(0).y(), qreal(2000));
    }

    void widenSeesTickedValuesPositionByPosition()
    {
        const auto t = ticked({4, 1});
        plot.appendRecord(record([](int k) { return 100 + k; }));
        QList<int> seen;
        plot.appendRecord(record([](int k) { return 200 + k; }));
        plot.redraw(t, [&seen](int v) { seen << v; });
        QCOMPARE(seen, (QList<int>{101, 104, 201, 204}));
    }

    void curvesDeletedWithTheirChartAreSkipped()
    {
        QVERIFY(plot.curvesOn(chart.get()));
        QChart other;
        QVERIFY(!plot.curvesOn(&other));
        chart.reset();
        QVERIFY(!plot.curve(0));
        QVERIFY(!plot.curvesOn(nullptr));
        plot.appendRecord(record([](int) { return 5; }));
        VerificationPlot::Ticked all;
        all.fill(true);
        int widened = 0;
        plot.redraw(all, [&widened](int) { ++widened; });
        QCOMPARE(widened, 25);
        chart.reset(new QChart);
        putOnChart();
        plot.redraw(all, {});
        QCOMPARE(plot.curve(24)->count(), 1);
    }
};

QTEST_MAIN(TestVerificationPlot)
#include "tst_verificationplot.moc"
