#include "sim/sliderpad.h"

#include "sim/simslider.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace
{
constexpr double kPi = 3.14159265358979323846;
}

SliderPad::SliderPad(bool wheel, QWidget *parent) : QWidget(parent), wheel(wheel)
{
    setMinimumSize(wheel ? QSize(120, 120) : QSize(220, 48));
}

QSize SliderPad::sizeHint() const { return wheel ? QSize(140, 140) : QSize(280, 48); }

void SliderPad::setChannels(const QVector<int> &channels)
{
    liftFinger();
    segments = channels;
    update();
}

void SliderPad::putFinger(double place)
{
    finger = place;
    SimSlider::putFinger(segments, wheel, place);
    update();
}

void SliderPad::liftFinger()
{
    finger.reset();
    SimSlider::liftFinger(segments);
    update();
}

QRectF SliderPad::track() const
{
    if (!wheel)
        return QRectF(6, height() / 2.0 - 14, width() - 12, 28);
    const double side = std::min(width(), height()) - 12;
    return QRectF((width() - side) / 2, (height() - side) / 2, side, side);
}

double SliderPad::placeAt(const QPointF &point) const
{
    const int n = std::max(1, int(segments.size()));
    const QRectF t = track();
    if (!wheel) {
        const double share = std::clamp((point.x() - t.left()) / t.width(), 0.0, 1.0);
        return SimSlider::placeAt(n, false, share);
    }
    // Segment 0's centre at the top, the segments following clockwise.
    const QPointF d = point - t.center();
    double turn = std::atan2(d.x(), -d.y()) / (2 * kPi);
    if (turn < 0)
        turn += 1.0;
    return SimSlider::placeAt(n, true, turn);
}

void SliderPad::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int n = int(segments.size());
    const QRectF t = track();
    const QVector<int> shares =
        finger ? SimSlider::shares(n, wheel, *finger) : QVector<int>(n, 0);
    for (int k = 0; k < n; ++k) {
        const QColor fill = QColor(246, 246, 246).darker(100 + shares.at(k) / 10);
        painter.setBrush(shares.at(k) > 0 ? QColor(124, 207, 124, 60 + shares.at(k) / 6) : fill);
        painter.setPen(QPen(QColor(154, 154, 154), 1));
        const QString label = QStringLiteral("TK%1").arg(segments.at(k));
        if (!wheel) {
            const QRectF r(t.left() + t.width() * k / n, t.top(), t.width() / n, t.height());
            painter.drawRect(r);
            painter.setPen(Qt::black);
            painter.drawText(r, Qt::AlignCenter, label);
            continue;
        }
        // Segment k spans half a segment either side of its centre.
        const int start = int(std::lround((90.0 - 360.0 * (k + 0.5) / n) * 16));
        painter.drawPie(t, start, int(std::lround(360.0 / n * 16)));
        const double angle = 2 * kPi * k / n;
        const QPointF at(t.center().x() + t.width() * 0.35 * std::sin(angle),
                         t.center().y() - t.height() * 0.35 * std::cos(angle));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(at.x() - 20, at.y() - 8, 40, 16), Qt::AlignCenter, label);
    }
    if (wheel) {
        painter.setBrush(palette().window());
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(t.center(), t.width() * 0.12, t.height() * 0.12);
    }
}

void SliderPad::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !segments.isEmpty())
        putFinger(placeAt(QPointF(event->pos())));
}

void SliderPad::mouseMoveEvent(QMouseEvent *event)
{
    if ((event->buttons() & Qt::LeftButton) && finger)
        putFinger(placeAt(QPointF(event->pos())));
}

void SliderPad::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        liftFinger();
}
