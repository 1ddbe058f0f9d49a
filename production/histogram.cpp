#include "production/histogram.h"

#include "quality/samplesplot.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QRectF>

#include <algorithm>

Histogram::Bins Histogram::bins(const QVector<int> &values, std::optional<int> lower,
                                std::optional<int> upper, int count)
{
    Bins bins;
    count = std::max(1, count);
    bins.counts = QVector<int>(count, 0);
    QVector<int> span = values;
    for (const std::optional<int> &limit : {lower, upper}) {
        if (limit)
            span << *limit;
    }
    if (span.isEmpty())
        return bins;
    const auto [low, high] = std::minmax_element(span.cbegin(), span.cend());
    const int range = *high - *low + 1;
    bins.width = std::max(1, (range + count - 1) / count);
    // Values that are all one count sit in the middle bin.
    bins.low = range == 1 ? *low - count / 2 : *low;
    for (int v : values)
        ++bins.counts[std::clamp((v - bins.low) / bins.width, 0, count - 1)];
    return bins;
}

void Histogram::draw(QPainter &painter, const QRectF &area, const QString &title,
                     const QVector<int> &values, std::optional<int> lower, std::optional<int> upper,
                     double lineWidth)
{
    painter.save();
    const QFontMetricsF metrics(painter.font());
    const double line = metrics.height();
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), line), Qt::AlignLeft, title);
    const QRectF plot(area.left() + metrics.horizontalAdvance(QStringLiteral("0000")),
                      area.top() + line * 1.3,
                      area.width() - metrics.horizontalAdvance(QStringLiteral("0000")) - line,
                      area.height() - line * 2.6);
    if (values.isEmpty() || plot.width() <= 0 || plot.height() <= 0) {
        painter.drawText(plot, Qt::AlignCenter, QCoreApplication::translate("Histogram", "无数据"));
        painter.restore();
        return;
    }
    const Bins b = bins(values, lower, upper);
    const int most = std::max(1, *std::max_element(b.counts.cbegin(), b.counts.cend()));
    const double span = b.high() - b.low;
    const auto xOf = [&](double value) {
        return plot.left() + (value - b.low) / span * plot.width();
    };
    const double barWidth = plot.width() / b.counts.size();
    for (int i = 0; i < b.counts.size(); ++i) {
        const double h = plot.height() * b.counts.at(i) / most;
        painter.fillRect(QRectF(plot.left() + i * barWidth, plot.bottom() - h, barWidth, h),
                         QColor(110, 150, 210));
    }
    painter.setPen(QPen(Qt::black, lineWidth));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawText(
        QRectF(area.left(), plot.top() - line / 2, plot.left() - area.left() - 2, line),
        Qt::AlignRight, QString::number(most));
    painter.drawText(
        QRectF(area.left(), plot.bottom() - line / 2, plot.left() - area.left() - 2, line),
        Qt::AlignRight, QStringLiteral("0"));
    for (int tick : SamplesPlot::ticks(b.low, b.high())) {
        const double x = xOf(tick);
        if (x < plot.left() - 0.5 || x > plot.right() + 0.5)
            continue;
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + line * 0.2));
        painter.drawText(QRectF(x - line * 3, plot.bottom() + line * 0.2, line * 6, line),
                         Qt::AlignHCenter, QString::number(tick));
    }
    painter.setPen(QPen(QColor(210, 40, 40), lineWidth * 2, Qt::DashLine));
    // A value v fills [v, v + 1): the lower limit's line at the left of the lowest count it
    // passes, the upper's at the right of the highest.
    for (const double at : {lower ? double(*lower) : -1.0, upper ? *upper + 1.0 : -1.0}) {
        if (at >= 0.0)
            painter.drawLine(QPointF(xOf(at), plot.top()), QPointF(xOf(at), plot.bottom()));
    }
    painter.restore();
}
