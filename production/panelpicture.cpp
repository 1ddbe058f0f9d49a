#include "production/panelpicture.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace
{
QColor fillOf(PanelPicture::State state)
{
    switch (state) {
    case PanelPicture::State::Waiting:
        return QColor(236, 236, 236);
    case PanelPicture::State::Lit:
        return QColor(255, 204, 0);
    case PanelPicture::State::Passed:
        return QColor(72, 170, 84);
    case PanelPicture::State::Failed:
        return QColor(214, 64, 64);
    }
    return QColor();
}
} // namespace

PanelPicture::PanelPicture(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("panelPicture"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PanelPicture::setKeys(const QVector<Key> &keys)
{
    shown = keys;
    std::sort(shown.begin(), shown.end(),
              [](const Key &a, const Key &b) { return a.keyNumber < b.keyNumber; });
    update();
}

void PanelPicture::resetStates()
{
    for (Key &key : shown)
        key.state = State::Waiting;
    update();
}

void PanelPicture::setState(int channel, State state)
{
    for (Key &key : shown) {
        if (key.channel == channel)
            key.state = state;
    }
    update();
}

PanelPicture::State PanelPicture::stateOf(int channel) const
{
    for (const Key &key : shown) {
        if (key.channel == channel)
            return key.state;
    }
    return State::Waiting;
}

void PanelPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(250, 250, 250));
    if (shown.isEmpty())
        return;
    const int count = int(shown.size());
    // As square a grid as the room allows.
    const double aspect = double(width()) / std::max(1, height());
    const int columns = std::clamp(int(std::ceil(std::sqrt(count * aspect))), 1, count);
    const int rows = (count + columns - 1) / columns;
    const double cellWidth = double(width()) / columns;
    const double cellHeight = double(height()) / rows;
    const double gap = std::min(cellWidth, cellHeight) * 0.12;
    for (int i = 0; i < count; ++i) {
        const Key &key = shown.at(i);
        const QRectF cell((i % columns) * cellWidth + gap / 2, (i / columns) * cellHeight + gap / 2,
                          cellWidth - gap, cellHeight - gap);
        QPainterPath shape;
        shape.addRoundedRect(cell, gap, gap);
        painter.fillPath(shape, fillOf(key.state));
        painter.setPen(QPen(key.state == State::Lit ? QColor(200, 120, 0) : QColor(150, 150, 150),
                            key.state == State::Lit ? 4 : 1));
        painter.drawPath(shape);
        QFont font = painter.font();
        font.setPixelSize(std::max(10, int(std::min(cell.height() * 0.3, cell.width() * 0.22))));
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(key.state == State::Waiting || key.state == State::Lit ? Qt::black
                                                                              : Qt::white);
        painter.drawText(cell.adjusted(0, 0, 0, -cell.height() * 0.25), Qt::AlignCenter,
                         QStringLiteral("K%1").arg(key.keyNumber));
        font.setPixelSize(std::max(9, font.pixelSize() / 2));
        font.setBold(false);
        painter.setFont(font);
        painter.drawText(cell.adjusted(0, cell.height() * 0.45, 0, 0), Qt::AlignCenter,
                         QStringLiteral("TK%1").arg(key.channel));
    }
}
