#include "charts/livechart.h"

#include "charts/axisticks.h"
#include "charts/livechartview.h"
#include "chip/chip.h"
#include "quality/channelsamples.h"
#include "quality/samplesplot.h"

#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QPen>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <tuple>

using namespace QtCharts;

namespace
{
// Nominal seconds between two samples on the x axis.
constexpr double kSampleStep = 0.036;
} // namespace

LiveChart::LiveChart(LiveChartView *chartView, QComboBox *startValueCBox, QComboBox *endValueCBox,
                     QLabel *hoverLabel, QObject *parent)
    : QObject(parent), view(chartView), startCombo(startValueCBox), endCombo(endValueCBox),
      hoverLabel(hoverLabel),
      testFrames([this] { drawTestPoints(); }, [this] { return lastPaintNs(); })
{
    // A limit set anywhere (a loaded project, a widened range, the user) is the axis's limit.
    connect(startCombo, &QComboBox::currentTextChanged, this, [this](const QString &text) {
        bool number = false;
        const int value = text.toInt(&number);
        if (number && value != yStart) {
            yStart = value;
            applyYRange();
        }
    });
    connect(endCombo, &QComboBox::currentTextChanged, this, [this](const QString &text) {
        bool number = false;
        const int value = text.toInt(&number);
        if (number && value != yEnd) {
            yEnd = value;
            applyYRange();
        }
    });
}

qint64 LiveChart::lastPaintNs() const { return view ? view->lastPaintNs() : 0; }

void LiveChart::fillValueCombos()
{
    if (startCombo->count() == 0) {
        for (int v = 0; v <= 2000; v += 100)
            startCombo->addItem(QString::number(v));
    }
    endCombo->clear();
    for (int v = 2100; v <= 18000; v += 100)
        endCombo->addItem(QString::number(v));
}

void LiveChart::rebuild(int xMax, int yTicks)
{
    builtXMax = xMax;
    builtYTicks = yTicks;
    auto *x = new QValueAxis;
    x->setRange(0, xMax);
    x->setLabelFormat(QStringLiteral("%d"));
    x->setTickCount(xMax);

    auto *y = new QValueAxis;
    y->setRange(yStart, yEnd);
    y->setTickCount(yTicks);
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTitleText(QStringLiteral("value"));

    auto *fresh = new QChart;
    fresh->removeAllSeries();
    const auto defaultAxes = fresh->axes();
    for (QAbstractAxis *axis : defaultAxes)
        fresh->removeAxis(axis);
    fresh->legend()->hide();
    // The chart's own background is a rounded gradient that every frame of the curves fills anew
    // under them; the view's plain white fill looks the same at a fraction of the cost.
    fresh->setBackgroundVisible(false);
    fresh->addAxis(x, Qt::AlignBottom);
    fresh->addAxis(y, Qt::AlignLeft);

    // The view hands the previous chart back without deleting it; its series go with it.
    QChart *previous = view->chart();
    view->setChart(fresh);
    view->setRenderHint(QPainter::Antialiasing);
    view->setBackgroundBrush(Qt::white);
    dropTestPoints();
    testCurve = nullptr;
    currentChart = fresh;
    axisX = x;
    axisY = y;
    delete previous;
    connect(fresh, &QChart::plotAreaChanged, this, &LiveChart::fitTicks);
    connect(x, &QValueAxis::rangeChanged, this, &LiveChart::fitTicks);
    connect(y, &QValueAxis::rangeChanged, this, &LiveChart::fitTicks);
    fitTicks();
    emit rebuilt();
}

void LiveChart::installTestSeries()
{
    if (!currentChart)
        return;
    currentChart->removeAllSeries();
    dropTestPoints();
    testCurve = new QLineSeries;
    QPen pen(QColor(0, 200, 200, 255));
    pen.setStyle(Qt::SolidLine);
    pen.setWidth(2);
    testCurve->setPen(pen);
    currentChart->addSeries(testCurve);
    testCurve->attachAxis(axisX);
    testCurve->attachAxis(axisY);
}

void LiveChart::clearTestSeries()
{
    dropTestPoints();
    if (testCurve)
        testCurve->clear();
}

void LiveChart::addChannelSeries(QLineSeries *series, int red, int green, int blue)
{
    if (!currentChart || !series)
        return;
    QPen pen(QColor(red, green, blue, 255));
    pen.setStyle(Qt::SolidLine);
    pen.setWidth(2);
    series->setPen(pen);
    if (series->chart() != currentChart)
        currentChart->addSeries(series);
    if (!series->attachedAxes().contains(axisX))
        series->attachAxis(axisX);
    if (!series->attachedAxes().contains(axisY))
        series->attachAxis(axisY);
}

void LiveChart::appendTestPoint(int value)
{
    if (testCurve && value >= 0) {
        pendingTestPoints.append(QPointF(curveX, value));
        testFrames.request();
    }
    curveX += kSampleStep;
}

void LiveChart::restartCurve()
{
    testFrames.flush();
    curveX = 0.0;
}

void LiveChart::drawTestPoints()
{
    if (testCurve && !pendingTestPoints.isEmpty())
        testCurve->append(pendingTestPoints);
    pendingTestPoints.clear();
}

void LiveChart::dropTestPoints()
{
    testFrames.cancel();
    pendingTestPoints.clear();
}

void LiveChart::showStoredCurves(const ChannelSamples &samples, const SamplesPlot::Lines &lines)
{
    rebuild(6, 5);
    testCurve = nullptr;
    for (SamplePhase phase : {SamplePhase::NoTouch, SamplePhase::Touch, SamplePhase::Water}) {
        const QVector<int> &values = samples.of(phase);
        if (values.isEmpty())
            continue;
        auto *curve = new QLineSeries;
        curve->setName(SamplesPlot::phaseName(phase));
        for (int i = 0; i < values.size(); ++i) {
            curve->append(i * kSampleStep, values.at(i));
            widenRange(values.at(i));
        }
        const QColor colour = SamplesPlot::colour(phase);
        addChannelSeries(curve, colour.red(), colour.green(), colour.blue());
    }
    const std::tuple<std::optional<int>, QString, Qt::PenStyle> thresholds[] = {
        {lines.press, tr("按下阈值 %1"), Qt::DashLine},
        {lines.release, tr("释放阈值 %1"), Qt::DotLine}};
    for (const auto &[value, name, style] : thresholds) {
        if (!value)
            continue;
        auto *line = new QLineSeries;
        line->setName(name.arg(*value));
        line->append(0, *value);
        line->append((chip::kSamplesPerPhase - 1) * kSampleStep, *value);
        widenRange(*value);
        addChannelSeries(line, 90, 90, 90);
        QPen pen = line->pen();
        pen.setStyle(style);
        line->setPen(pen);
    }
    currentChart->legend()->setAlignment(Qt::AlignTop);
    currentChart->legend()->show();
}

void LiveChart::widenRange(int value)
{
    if (yEnd < value) {
        for (int i = 0; i < endCombo->count(); ++i) {
            const int item = endCombo->itemText(i).toInt();
            if (item > value) {
                yEnd = item;
                endCombo->setCurrentText(endCombo->itemText(i));
                break;
            }
        }
    }
    if (value < yStart) {
        for (int i = 0; i < startCombo->count(); ++i) {
            const int item = startCombo->itemText(i).toInt();
            if (item < value) {
                yStart = item;
                startCombo->setCurrentText(startCombo->itemText(i));
                break;
            }
        }
    }
    applyYRange();
}

void LiveChart::resetView()
{
    if (axisX)
        axisX->setRange(0, builtXMax);
    applyYRange();
}

void LiveChart::applyStartValue()
{
    yStart = startCombo->currentText().toInt();
    applyYRange();
}

void LiveChart::applyEndValue()
{
    yEnd = endCombo->currentText().toInt();
    applyYRange();
}

void LiveChart::applyYRange()
{
    if (axisY)
        axisY->setRange(yStart, yEnd);
}

void LiveChart::fitTicks()
{
    if (!currentChart || !axisX || !axisY)
        return;
    const QRectF plot = currentChart->plotArea();
    AxisTicks::fit(axisX, {0.0, double(builtXMax), builtXMax}, plot.width(), true);
    AxisTicks::fit(axisY, {double(yStart), double(yEnd), builtYTicks}, plot.height(), false);
}

void LiveChart::connectHover()
{
    if (testCurve)
        connect(testCurve, &QLineSeries::hovered, this, &LiveChart::pointHovered,
                Qt::UniqueConnection);
}

void LiveChart::showHover(QPointF point, bool state)
{
    if (!state) {
        hoverLabel->hide();
        return;
    }
    hoverLabel->setText(QString::number(point.y(), 'g', 6));
    QWidget *window = hoverLabel->parentWidget();
    const QPoint cursor = window ? window->mapFromGlobal(QCursor::pos()) : QCursor::pos();
    const int w = hoverLabel->width();
    const int h = hoverLabel->height();
    hoverLabel->move(cursor.x() - w / 2, static_cast<int>(cursor.y() - 1.5 * h));
    hoverLabel->show();
}
