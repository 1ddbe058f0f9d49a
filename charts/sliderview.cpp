#include "charts/sliderview.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace
{
constexpr double kItemWidth = 150.0;
constexpr double kItemHeight = 84.0;
constexpr double kFullScale = 255.0;
const QColor kFinger(220, 40, 40);
const QColor kMarker(40, 110, 220);
const QColor kTrack(225, 225, 225);
} // namespace

SliderView::SliderView(QWidget *parent)
    : QWidget(parent), frames([this] {
          shown = pending;
          update();
      })
{
    setMinimumHeight(int(kItemHeight));
}

void SliderView::setItems(const QVector<Item> &items)
{
    pending = items;
    frames.request();
}

QSize SliderView::sizeHint() const
{
    return QSize(int(kItemWidth) * qMax(1, int(pending.size())), int(kItemHeight));
}

void SliderView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (shown.isEmpty())
        return;
    const double width = qMin(kItemWidth * 1.6, double(this->width()) / shown.size());
    for (int i = 0; i < shown.size(); ++i) {
        const QRectF room(i * width, 0, width, height());
        const Item &item = shown.at(i);
        painter.setPen(Qt::black);
        const QString state = !item.measured ? (item.verdict.isEmpty() ? tr("未测") : item.verdict)
                              : item.touched ? QString::number(item.position)
                                             : tr("无触摸");
        painter.drawText(room.adjusted(4, 2, -4, 0), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("%1  %2").arg(item.name, state));
        const QRectF picture = room.adjusted(8, 22, -8, -6);
        if (item.wheel)
            paintDial(painter, picture, item);
        else
            paintBar(painter, picture, item);
    }
}

void SliderView::paintBar(QPainter &painter, const QRectF &room, const Item &item) const
{
    const QRectF track(room.left(), room.center().y() - 8, room.width(), 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kTrack);
    painter.drawRoundedRect(track, 6, 6);
    const auto xAt = [&track](double share) { return track.left() + share * track.width(); };
    if (item.marker) {
        painter.setPen(QPen(kMarker, 3));
        const double x = xAt(*item.marker);
        painter.drawLine(QPointF(x, track.top() - 8), QPointF(x, track.bottom() + 8));
    }
    if (item.measured) {
        const double x = xAt(item.position / kFullScale);
        painter.setPen(Qt::NoPen);
        painter.setBrush(item.touched ? kFinger : QColor(kFinger.red(), 160, 160));
        painter.drawRect(QRectF(track.left(), track.top() + 4, x - track.left(), 8));
        painter.drawEllipse(QPointF(x, track.center().y()), item.touched ? 9 : 5,
                            item.touched ? 9 : 5);
    }
}

void SliderView::paintDial(QPainter &painter, const QRectF &room, const Item &item) const
{
    const double radius = qMin(room.width(), room.height()) / 2 - 4;
    const QPointF centre = room.center();
    painter.setPen(QPen(kTrack, 12));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    // Position 0 at the top, growing clockwise.
    const auto pointAt = [&](double turn, double r) {
        const double angle = turn * 2 * M_PI;
        return QPointF(centre.x() + r * std::sin(angle), centre.y() - r * std::cos(angle));
    };
    if (item.marker) {
        painter.setPen(QPen(kMarker, 3));
        painter.drawLine(pointAt(*item.marker, radius - 10), pointAt(*item.marker, radius + 6));
    }
    if (item.measured) {
        const double turn = item.position / (kFullScale + 1);
        painter.setPen(QPen(item.touched ? kFinger : QColor(kFinger.red(), 160, 160), 3));
        painter.drawLine(centre, pointAt(turn, radius));
        painter.setPen(Qt::NoPen);
        painter.setBrush(item.touched ? kFinger : QColor(kFinger.red(), 160, 160));
        painter.drawEllipse(pointAt(turn, radius), item.touched ? 8 : 4, item.touched ? 8 : 4);
    }
}
