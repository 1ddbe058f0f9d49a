#ifndef HISTOGRAM_H
#define HISTOGRAM_H

#include <QString>
#include <QVector>

#include <optional>

class QPainter;
class QRectF;

// A histogram of one figure of one channel across a batch, with its limits as red lines.
// Painter-only, so that the batch view and the batch report draw the same picture.
class Histogram
{
public:
    // The bins over the values and the limits: count bins of equal width from low, every value
    // and limit inside, each bin a whole number of counts wide.
    struct Bins
    {
        int low = 0;
        int width = 1;
        QVector<int> counts;

        int high() const { return low + width * int(counts.size()); }
    };
    static Bins bins(const QVector<int> &values, std::optional<int> lower, std::optional<int> upper,
                     int count = 12);

    // Title, bars, count axis on the left, value ticks below and the limit lines inside area;
    // "无数据" without values. lineWidth is the pen width in device units.
    static void draw(QPainter &painter, const QRectF &area, const QString &title,
                     const QVector<int> &values, std::optional<int> lower, std::optional<int> upper,
                     double lineWidth);
};

#endif // HISTOGRAM_H
