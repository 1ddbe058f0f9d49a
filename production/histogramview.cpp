#include "production/histogramview.h"

#include "production/histogram.h"

#include <QPainter>

HistogramView::HistogramView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("histogramView"));
}

void HistogramView::showFigure(const QString &shownTitle, const QVector<int> &shownValues,
                               std::optional<int> shownLower, std::optional<int> shownUpper)
{
    title = shownTitle;
    values = shownValues;
    lower = shownLower;
    upper = shownUpper;
    update();
}

void HistogramView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    Histogram::draw(painter, QRectF(rect()).adjusted(6, 6, -6, -6), title, values, lower, upper,
                    1.0);
}
