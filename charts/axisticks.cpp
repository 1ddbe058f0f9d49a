#include "charts/axisticks.h"

#include <QFontMetricsF>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

using namespace QtCharts;

namespace
{
// Qt Charts' padding either side of an axis label, with a pixel to spare.
constexpr double kLabelPadding = 5.0;

QString formatFor(int decimals)
{
    return decimals == 0 ? QStringLiteral("%d") : QStringLiteral("%.%1f").arg(decimals);
}
} // namespace

double AxisTicks::roundStep(double min, double max, int maxTicks)
{
    if (!(max > min))
        return 1.0;
    // Ticks sit on whole multiples of the step: the step that spreads maxTicks over the span
    // evenly may fit one more, so the search starts one round step below it.
    const double even = (max - min) / std::max(1, maxTicks - 1);
    double power = std::pow(10.0, std::floor(std::log10(even)) - 1);
    for (;; power *= 10.0) {
        for (double factor : {1.0, 2.0, 5.0}) {
            const double step = factor * power;
            // A hair of tolerance, so that a tick on the range's edge counts once.
            const double ticks = std::floor(max / step + 1e-9) - std::ceil(min / step - 1e-9) + 1.0;
            if (ticks <= maxTicks)
                return step;
        }
    }
}

int AxisTicks::decimals(double step)
{
    return step >= 1.0 ? 0 : int(std::ceil(-std::log10(step) - 1e-9));
}

double AxisTicks::labelExtent(const QValueAxis *axis, const QString &format, bool across)
{
    const QFontMetricsF metrics(axis->labelsFont());
    if (!across)
        return metrics.height() + kLabelPadding;
    const int places = format == QLatin1String("%d") ? 0 : format.mid(2, 1).toInt();
    double widest = 0.0;
    for (double value : {axis->min(), axis->max()})
        widest = std::max(widest, metrics.horizontalAdvance(QString::number(value, 'f', places)));
    return widest + 2 * kLabelPadding;
}

void AxisTicks::fit(QValueAxis *axis, const Built &built, double pixels, bool across)
{
    if (!axis || pixels <= 0.0)
        return;
    const QString builtFormat = QStringLiteral("%d");
    const bool asBuilt = axis->min() == built.min && axis->max() == built.max;
    if (asBuilt && built.tickCount * labelExtent(axis, builtFormat, across) <= pixels) {
        if (axis->tickType() != QValueAxis::TicksFixed)
            axis->setTickType(QValueAxis::TicksFixed);
        axis->setTickCount(built.tickCount);
        axis->setLabelFormat(builtFormat);
        return;
    }
    // The labels' width depends on their decimals, which depend on the step: the step is chosen
    // again once with the decimals it needs.
    QString format = builtFormat;
    double step = 1.0;
    for (int round = 0; round < 2; ++round) {
        const int fitting = std::max(2, int(pixels / labelExtent(axis, format, across)));
        step = roundStep(axis->min(), axis->max(), fitting);
        format = formatFor(decimals(step));
    }
    if (axis->tickType() != QValueAxis::TicksDynamic)
        axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0.0);
    axis->setTickInterval(step);
    axis->setLabelFormat(format);
}
