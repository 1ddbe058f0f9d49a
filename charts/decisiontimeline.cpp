#include "charts/decisiontimeline.h"

#include "compat/qtcompat.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace
{
using Point = RecordingEvaluation::TracePoint;

constexpr double kLeft = 56.0;
constexpr double kRight = 12.0;
constexpr double kTop = 8.0;
constexpr double kBottom = 22.0;
constexpr double kStateHeight = 46.0;
constexpr qint64 kAroundMs = 4000;

const QColor kCountColour(20, 20, 20);
const QColor kBaseColour(120, 120, 120);
const QColor kPressColour(210, 40, 40);
const QColor kReleaseColour(230, 140, 20);
const QColor kDebounceColour(40, 90, 200);
const QColor kPressedColour(60, 170, 80);

double xPosition(const QMouseEvent *event) { return qtcompat::mousePosition(*event).x(); }
} // namespace

DecisionTimeline::DecisionTimeline(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setMinimumSize(minimumSizeHint());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DecisionTimeline::setTrace(const QVector<Point> &trace, const QVector<Marker> &events,
                                int limit)
{
    points = trace;
    debounceLimit = std::max(1, limit);
    shown = events;
    // Press and release where the pressed state changes.
    for (int i = 1; i < points.size(); ++i) {
        if (points.at(i).pressed != points.at(i - 1).pressed)
            shown.append({points.at(i).ms,
                          points.at(i).pressed ? Marker::Type::Press : Marker::Type::Release});
    }
    if (!points.isEmpty() && points.constFirst().pressed)
        shown.append({points.constFirst().ms, Marker::Type::Press});
    cursor = -1;
    cursorValues.clear();
    if (points.isEmpty())
        span.setData(0, 1);
    else
        span.setData(points.constFirst().ms, points.constLast().ms);
    update();
}

void DecisionTimeline::setView(qint64 from, qint64 to)
{
    span.show(from, to);
    update();
}

void DecisionTimeline::showAround(qint64 ms)
{
    setView(ms - kAroundMs / 2, ms + kAroundMs / 2);
    cursor = nearest(ms);
    cursorValues = valuesAt(ms);
    update();
}

QRectF DecisionTimeline::plotArea() const
{
    return QRectF(kLeft, kTop, std::max(10.0, width() - kLeft - kRight),
                  std::max(10.0, height() - kTop - kBottom - kStateHeight - 6));
}

QRectF DecisionTimeline::stateArea() const
{
    const QRectF plot = plotArea();
    return QRectF(plot.left(), plot.bottom() + 6, plot.width(), kStateHeight);
}

double DecisionTimeline::xOf(qint64 ms) const
{
    const QRectF plot = plotArea();
    return span.x(ms, plot.left(), plot.width());
}

qint64 DecisionTimeline::msAt(double x) const
{
    const QRectF plot = plotArea();
    return span.msAt(x, plot.left(), plot.width());
}

int DecisionTimeline::indexAt(qint64 ms) const
{
    const auto it = std::lower_bound(points.cbegin(), points.cend(), ms,
                                     [](const Point &p, qint64 t) { return p.ms < t; });
    return int(it - points.cbegin());
}

int DecisionTimeline::nearest(qint64 ms) const
{
    if (points.isEmpty())
        return -1;
    const int after = std::min(indexAt(ms), int(points.size()) - 1);
    if (after > 0 && ms - points.at(after - 1).ms <= points.at(after).ms - ms)
        return after - 1;
    return after;
}

QString DecisionTimeline::valuesAt(qint64 ms) const
{
    const int i = nearest(ms);
    if (i < 0)
        return QString();
    const Point &p = points.at(i);
    return tr("%1 秒：计数 %2，基线 %3，按下阈值 %4，释放阈值 %5，消抖 %6/%7，%8")
        .arg(QString::number(p.ms / 1000.0, 'f', 3))
        .arg(p.count)
        .arg(p.base)
        .arg(p.pressThreshold)
        .arg(p.releaseThreshold)
        .arg(p.debounce)
        .arg(debounceLimit)
        .arg(p.pressed ? tr("按下") : tr("未按下"));
}

void DecisionTimeline::valueRange(int from, int to, double *low, double *high) const
{
    int lo = INT_MAX;
    int hi = INT_MIN;
    for (int i = from; i < to; ++i) {
        const Point &p = points.at(i);
        lo = std::min({lo, int(p.count), int(p.base), int(p.releaseThreshold)});
        // A key that can never press has its threshold at 65535, far off the curves.
        hi = std::max({hi, int(p.count), p.pressThreshold < 0xFFFF ? int(p.pressThreshold) : 0});
    }
    if (lo > hi) {
        lo = 0;
        hi = 1;
    }
    const double pad = std::max(2.0, (hi - lo) * 0.06);
    *low = lo - pad;
    *high = hi + pad;
}

void DecisionTimeline::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QRectF plot = plotArea();
    const QRectF state = stateArea();
    painter.setPen(QColor(190, 190, 190));
    painter.drawRect(plot);
    painter.drawRect(state);
    if (points.isEmpty()) {
        painter.setPen(Qt::darkGray);
        painter.drawText(plot, Qt::AlignCenter, tr("选择按键与录制文件"));
        return;
    }
    // One record either side, so that the lines run to the edges.
    const int from = std::max(0, indexAt(span.start()) - 1);
    const int to = std::min(int(points.size()), indexAt(span.end()) + 1);
    double low = 0.0;
    double high = 1.0;
    valueRange(from, to, &low, &high);
    painter.setPen(Qt::darkGray);
    const QFontMetrics metrics(font());
    for (int tick = 0; tick <= 4; ++tick) {
        const double value = low + (high - low) * tick / 4;
        const double y = plot.bottom() - plot.height() * tick / 4;
        painter.drawText(QRectF(0, y - metrics.height() / 2.0, kLeft - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(std::lround(value)));
    }
    for (int tick = 0; tick <= 4; ++tick) {
        const qint64 ms = span.start() + span.length() * tick / 4;
        const double x = xOf(ms);
        painter.drawText(
            QRectF(x - 40, state.bottom() + 2, 80, kBottom - 4), Qt::AlignCenter,
            tr("%1 秒").arg(QString::number(ms / 1000.0, 'f', span.length() < 10000 ? 2 : 1)));
    }
    painter.save();
    painter.setClipRect(plot);
    drawCurves(painter, from, to, low, high);
    painter.restore();
    painter.save();
    painter.setClipRect(state);
    drawState(painter, from, to);
    painter.restore();
    painter.save();
    painter.setClipRect(plot.united(state));
    drawMarkers(painter);
    drawLegend(painter);
    drawCursor(painter, low, high);
    painter.restore();
}

void DecisionTimeline::drawCurves(QPainter &painter, int from, int to, double low,
                                  double high) const
{
    const QRectF plot = plotArea();
    const auto yOf = [&](int value) {
        return plot.bottom() - (value - low) * plot.height() / (high - low);
    };
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Thresholds and base as lines through the last record of each pixel column; the count as
    // the span from its lowest to its highest record in the column.
    const auto line = [&](const QColor &colour, Qt::PenStyle style, auto value) {
        QPainterPath path;
        int column = INT_MIN;
        for (int i = from; i < to; ++i) {
            const double x = xOf(points.at(i).ms);
            const QPointF at(x, yOf(value(points.at(i))));
            if (i == from)
                path.moveTo(at);
            else if (int(x) != column || i + 1 == to)
                path.lineTo(at);
            column = int(x);
        }
        painter.setPen(QPen(colour, 1.5, style));
        painter.drawPath(path);
    };
    line(kBaseColour, Qt::SolidLine, [](const Point &p) { return int(p.base); });
    line(kReleaseColour, Qt::DashLine, [](const Point &p) { return int(p.releaseThreshold); });
    line(kPressColour, Qt::DashLine, [](const Point &p) { return int(p.pressThreshold); });
    painter.setPen(QPen(kCountColour, 1));
    int column = INT_MIN;
    int lo = 0;
    int hi = 0;
    QPointF previous;
    for (int i = from; i <= to; ++i) {
        const int x = i < to ? int(xOf(points.at(i).ms)) : INT_MAX;
        if (x != column && column != INT_MIN) {
            const QPointF top(column, yOf(hi));
            const QPointF bottom(column, yOf(lo));
            if (!previous.isNull())
                painter.drawLine(previous, QPointF(column, yOf((lo + hi) / 2)));
            painter.drawLine(top, bottom);
            previous = QPointF(column, yOf((lo + hi) / 2));
        }
        if (i == to)
            break;
        const int count = points.at(i).count;
        if (x != column) {
            lo = hi = count;
            column = x;
        } else {
            lo = std::min(lo, count);
            hi = std::max(hi, count);
        }
    }
}

void DecisionTimeline::drawState(QPainter &painter, int from, int to) const
{
    const QRectF state = stateArea();
    const double half = state.height() / 2;
    // The pressed state as a green band in the upper half, the debounce count as steps below.
    for (int i = from; i < to; ++i) {
        const double x0 = xOf(points.at(i).ms);
        const double x1 = i + 1 < int(points.size()) ? xOf(points.at(i + 1).ms) : x0 + 1;
        if (points.at(i).pressed)
            painter.fillRect(QRectF(x0, state.top() + 2, std::max(1.0, x1 - x0), half - 4),
                             kPressedColour);
        const int debounce = points.at(i).debounce;
        if (debounce > 0) {
            const double h = (half - 4) * std::min(debounce, debounceLimit) / debounceLimit;
            painter.fillRect(QRectF(x0, state.bottom() - 2 - h, std::max(1.0, x1 - x0), h),
                             kDebounceColour);
        }
    }
    painter.setPen(Qt::darkGray);
    painter.drawText(QRectF(0, state.top(), kLeft - 4, half), Qt::AlignRight | Qt::AlignVCenter,
                     tr("按下"));
    painter.drawText(QRectF(0, state.top() + half, kLeft - 4, half),
                     Qt::AlignRight | Qt::AlignVCenter, tr("消抖"));
}

void DecisionTimeline::drawMarkers(QPainter &painter) const
{
    const QRectF plot = plotArea();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const Marker &marker : shown) {
        if (!span.contains(marker.ms))
            continue;
        const double x = xOf(marker.ms);
        QColor colour = kPressedColour;
        switch (marker.type) {
        case Marker::Type::Press:
            break;
        case Marker::Type::Release:
            colour = kBaseColour;
            break;
        case Marker::Type::FalsePress:
            colour = kPressColour;
            break;
        case Marker::Type::Miss:
            colour = kReleaseColour;
            break;
        }
        const bool event =
            marker.type == Marker::Type::FalsePress || marker.type == Marker::Type::Miss;
        painter.setPen(QPen(colour, event ? 2 : 1, event ? Qt::SolidLine : Qt::DotLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, stateArea().bottom()));
        QPolygonF mark;
        if (marker.type == Marker::Type::Release)
            mark << QPointF(x - 5, plot.top()) << QPointF(x + 5, plot.top())
                 << QPointF(x, plot.top() + 8);
        else
            mark << QPointF(x - 5, plot.top() + 8) << QPointF(x + 5, plot.top() + 8)
                 << QPointF(x, plot.top());
        painter.setBrush(colour);
        painter.drawPolygon(mark);
        if (event)
            painter.drawText(QPointF(x + 6, plot.top() + 18),
                             marker.type == Marker::Type::FalsePress ? tr("误触发") : tr("漏触"));
    }
    painter.setBrush(Qt::NoBrush);
}

void DecisionTimeline::drawLegend(QPainter &painter) const
{
    const QRectF plot = plotArea();
    const QFontMetrics metrics(font());
    const struct
    {
        QColor colour;
        Qt::PenStyle style;
        QString text;
    } entries[] = {{kCountColour, Qt::SolidLine, tr("计数")},
                   {kBaseColour, Qt::SolidLine, tr("基线")},
                   {kPressColour, Qt::DashLine, tr("按下阈值")},
                   {kReleaseColour, Qt::DashLine, tr("释放阈值")}};
    // Right to left from the plot's top right corner, on a white ground over the curves.
    double x = plot.right() - 6;
    const double y = plot.top() + 4;
    const double rowHeight = metrics.height() + 2;
    for (int i = int(std::size(entries)) - 1; i >= 0; --i) {
        const double width = 22 + metrics.horizontalAdvance(entries[i].text) + 10;
        x -= width;
        painter.fillRect(QRectF(x, y, width, rowHeight), QColor(255, 255, 255, 220));
        painter.setPen(QPen(entries[i].colour, 1.5, entries[i].style));
        painter.drawLine(QPointF(x + 2, y + rowHeight / 2), QPointF(x + 18, y + rowHeight / 2));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x + 22, y, width - 22, rowHeight), Qt::AlignVCenter | Qt::AlignLeft,
                         entries[i].text);
    }
}

void DecisionTimeline::drawCursor(QPainter &painter, double low, double high) const
{
    if (cursor < 0 || cursor >= points.size())
        return;
    const Point &p = points.at(cursor);
    if (!span.contains(p.ms))
        return;
    const QRectF plot = plotArea();
    const double x = xOf(p.ms);
    painter.setPen(QPen(QColor(0, 0, 0, 90), 1));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, stateArea().bottom()));
    const double y = plot.bottom() - (p.count - low) * plot.height() / (high - low);
    painter.drawEllipse(QPointF(x, y), 3, 3);
    const QFontMetrics metrics(font());
    QRectF box(plot.left() + 6, plot.bottom() - metrics.height() - 8,
               metrics.horizontalAdvance(cursorValues) + 12, metrics.height() + 4);
    box.setWidth(std::min(box.width(), plot.width() - 12));
    painter.fillRect(box, QColor(255, 255, 255, 230));
    painter.setPen(Qt::black);
    painter.drawText(box.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, cursorValues);
}

void DecisionTimeline::moveCursor(double x)
{
    if (points.isEmpty())
        return;
    const qint64 ms = msAt(x);
    cursor = nearest(ms);
    cursorValues = valuesAt(ms);
    update();
}

void DecisionTimeline::wheelEvent(QWheelEvent *event)
{
    if (points.isEmpty())
        return;
    span.zoom(msAt(event->position().x()), std::pow(0.8, event->angleDelta().y() / 120.0));
    update();
    event->accept();
}

void DecisionTimeline::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragging = true;
    dragX = xPosition(event);
    dragStart = span.start();
}

void DecisionTimeline::mouseMoveEvent(QMouseEvent *event)
{
    const double x = xPosition(event);
    if (dragging)
        span.drag(dragStart, x - dragX, plotArea().width());
    moveCursor(x);
}

void DecisionTimeline::mouseReleaseEvent(QMouseEvent *) { dragging = false; }

void DecisionTimeline::leaveEvent(QEvent *)
{
    if (dragging)
        return;
    cursor = -1;
    cursorValues.clear();
    update();
}
