#include "quality/samplesplot.h"

#include "chip/chip.h"
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <QRectF>

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
constexpr std::array<SamplePhase, 3> kPhases = {SamplePhase::NoTouch, SamplePhase::Touch,
                                                SamplePhase::Water};
const QColor kThresholdColour(90, 90, 90);
const QColor kGridColour(215, 215, 215);
constexpr int kMaxCount = 65535;

struct Range
{
    double low = 0.0;
    double high = 0.0;
};

Range valueRange(const ChannelSamples &samples, const SamplesPlot::Lines &lines)
{
    bool any = false;
    Range r;
    const auto take = [&](double v) {
        r.low = any ? std::min(r.low, v) : v;
        r.high = any ? std::max(r.high, v) : v;
        any = true;
    };
    for (SamplePhase phase : kPhases) {
        for (int v : samples.of(phase))
            take(v);
    }
    for (const std::optional<int> &line : {lines.press, lines.release}) {
        if (line)
            take(*line);
    }
    const double pad = std::max(1.0, (r.high - r.low) * 0.06);
    // A count is 16 bits: the axis shows none that cannot occur.
    return {std::max(0.0, r.low - pad), std::min(double(kMaxCount), r.high + pad)};
}

const char *phaseSourceName(SamplePhase phase)
{
    switch (phase) {
    case SamplePhase::NoTouch:
        return QT_TRANSLATE_NOOP("SamplesPlot", "不触摸");
    case SamplePhase::Touch:
        return QT_TRANSLATE_NOOP("SamplesPlot", "触摸");
    case SamplePhase::Water:
        return QT_TRANSLATE_NOOP("SamplesPlot", "防水");
    }
    return "";
}

void drawLegend(QPainter &painter, const QRectF &line, const SamplesPlot::Lines &lines,
                double lineWidth)
{
    const QFontMetricsF fm(painter.font(), painter.device());
    const double sample = fm.height() * 1.4;
    double x = line.left();
    const auto entry = [&](const QColor &colour, Qt::PenStyle style, const QString &name) {
        painter.setPen(QPen(colour, lineWidth, style));
        const double y = line.center().y();
        painter.drawLine(QPointF(x, y), QPointF(x + sample, y));
        x += sample + fm.height() * 0.3;
        painter.setPen(Qt::black);
        const double w = fm.horizontalAdvance(name);
        painter.drawText(QRectF(x, line.top(), w + 1, line.height()), Qt::AlignVCenter, name);
        x += w + fm.height() * 0.8;
    };
    for (SamplePhase phase : kPhases)
        entry(SamplesPlot::colour(phase), Qt::SolidLine, SamplesPlot::phaseName(phase));
    if (lines.press)
        entry(kThresholdColour, Qt::DashLine, SamplesPlot::tr("按下 %1").arg(*lines.press));
    if (lines.release)
        entry(kThresholdColour, Qt::DotLine, SamplesPlot::tr("释放 %1").arg(*lines.release));
}
} // namespace

QVector<int> SamplesPlot::ticks(double low, double high)
{
    QVector<int> values;
    if (!(high > low))
        return values;
    // A fifth of the span, rounded up to 1, 2 or 5 times a power of ten: two to six ticks.
    const double rough = (high - low) / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10.0 * power;
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    }
    const qint64 whole = std::max<qint64>(1, qint64(std::llround(step)));
    for (qint64 v = qint64(std::ceil(low / whole)) * whole; v <= high; v += whole)
        values << int(v);
    return values;
}

QColor SamplesPlot::colour(SamplePhase phase)
{
    // Blue, orange and green, the first three of the common categorical palette.
    switch (phase) {
    case SamplePhase::NoTouch:
        return QColor(31, 119, 180);
    case SamplePhase::Touch:
        return QColor(255, 127, 14);
    case SamplePhase::Water:
        return QColor(44, 160, 44);
    }
    return QColor();
}

QString SamplesPlot::phaseName(SamplePhase phase) { return tr(phaseSourceName(phase)); }

void SamplesPlot::draw(QPainter &painter, const QRectF &area, const QString &title,
                       const ChannelSamples &samples, const Lines &lines, double lineWidth)
{
    painter.save();
    const QFontMetricsF fm(painter.font(), painter.device());
    const double line = fm.height();
    painter.setPen(Qt::black);
    const QFont regular = painter.font();
    QFont bold = regular;
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), line), Qt::AlignLeft, title);
    painter.setFont(regular);
    drawLegend(painter, QRectF(area.left(), area.top() + line, area.width(), line), lines,
               lineWidth);

    const Range range = valueRange(samples, lines);
    const QVector<int> yTicks = ticks(range.low, range.high);
    double labelWidth = 0.0;
    for (int v : yTicks)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(QString::number(v)));
    labelWidth += line * 0.4;
    const QRectF plot(area.left() + labelWidth, area.top() + 2.4 * line, area.width() - labelWidth,
                      area.height() - 3.6 * line);
    const auto yOf = [&](double v) {
        return plot.bottom() - (v - range.low) / (range.high - range.low) * plot.height();
    };

    for (int v : yTicks) {
        painter.setPen(QPen(kGridColour, lineWidth * 0.5));
        painter.drawLine(QPointF(plot.left(), yOf(v)), QPointF(plot.right(), yOf(v)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), yOf(v) - line / 2, labelWidth - line * 0.2, line),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
    }
    painter.setPen(QPen(Qt::black, lineWidth * 0.5));
    painter.drawRect(plot);
    const QRectF xLabels(plot.left(), plot.bottom(), plot.width(), line * 1.2);
    painter.drawText(xLabels, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("0"));
    painter.drawText(xLabels, Qt::AlignRight | Qt::AlignBottom,
                     QString::number(chip::kSamplesPerPhase - 1));
    painter.drawText(xLabels, Qt::AlignHCenter | Qt::AlignBottom, tr("采样序号"));

    painter.setClipRect(plot);
    painter.setRenderHint(QPainter::Antialiasing);
    const double step = plot.width() / (chip::kSamplesPerPhase - 1);
    for (SamplePhase phase : kPhases) {
        const QVector<int> &values = samples.of(phase);
        QPolygonF curve;
        curve.reserve(values.size());
        for (int i = 0; i < values.size(); ++i)
            curve << QPointF(plot.left() + i * step, yOf(values.at(i)));
        painter.setPen(QPen(colour(phase), lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(curve);
    }
    const std::pair<std::optional<int>, Qt::PenStyle> thresholds[] = {{lines.press, Qt::DashLine},
                                                                      {lines.release, Qt::DotLine}};
    for (const auto &[value, style] : thresholds) {
        if (!value)
            continue;
        painter.setPen(QPen(kThresholdColour, lineWidth, style));
        painter.drawLine(QPointF(plot.left(), yOf(*value)), QPointF(plot.right(), yOf(*value)));
    }
    painter.restore();
}
