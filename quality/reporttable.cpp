#include "quality/reporttable.h"

#include "quality/reportpage.h"

#include <QPainter>

#include <algorithm>

namespace
{
constexpr double kTableFontPt = 8.0;
} // namespace

ReportTable::ReportTable(const QStringList &header, const QVector<double> &columnMm, int wrapColumn,
                         int fillColumn)
    : header(header), columnMm(columnMm), wrapColumn(wrapColumn), fillColumn(fillColumn)
{
}

QVector<double> ReportTable::widths(const ReportPage &page) const
{
    QVector<double> result;
    double used = 0.0;
    for (double w : columnMm) {
        result << page.mm(w);
        used += page.mm(w);
    }
    result << page.width() - used;
    return result;
}

void ReportTable::drawRow(QPainter &painter, ReportPage &page, const QStringList &cells,
                          double height, const QColor &fill, bool isHeader) const
{
    const QVector<double> w = widths(page);
    const double pad = page.mm(1);
    double x = 0.0;
    for (int i = 0; i < cells.size() && i < w.size(); ++i) {
        const QRectF cell(x, page.y, w.at(i), height);
        if ((isHeader || i == fillColumn) && fill.isValid())
            painter.fillRect(cell, fill);
        painter.setPen(QPen(ReportPage::ruleColour(), page.mm(0.15)));
        painter.drawRect(cell);
        painter.setPen(Qt::black);
        // Every cell wraps: a word of a longer language may be wider than its column.
        const bool left = i == wrapColumn && !isHeader;
        painter.drawText(cell.adjusted(pad, pad / 2, -pad, -pad / 2),
                         (left ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter)) |
                             Qt::TextWordWrap,
                         cells.at(i));
        x += w.at(i);
    }
    page.y += height;
}

void ReportTable::draw(QPainter &painter, ReportPage &page, const QVector<Row> &rows) const
{
    const QFont bodyFont = ReportPage::font(kTableFontPt);
    const QFont headerFont = ReportPage::font(kTableFontPt, true);
    painter.setFont(headerFont);
    const double headerHeight = painter.fontMetrics().height() * 2 + page.mm(2);
    painter.setFont(bodyFont);
    const double lineHeight = painter.fontMetrics().height();
    const QVector<double> w = widths(page);
    const auto drawHeader = [&] {
        painter.setFont(headerFont);
        drawRow(painter, page, header, headerHeight, ReportPage::headerFill(), true);
        painter.setFont(bodyFont);
    };
    page.reserve(headerHeight + lineHeight * 2);
    drawHeader();
    for (const Row &row : rows) {
        // As high as its most wrapped cell.
        double height = lineHeight + page.mm(1.6);
        for (int i = 0; i < row.cells.size() && i < w.size(); ++i) {
            const QRectF text = painter.fontMetrics().boundingRect(
                QRect(0, 0, int(w.at(i) - page.mm(2)), 100000), Qt::TextWordWrap, row.cells.at(i));
            height = std::max(height, text.height() + page.mm(1.2));
        }
        if (page.reserve(height))
            drawHeader();
        drawRow(painter, page, row.cells, height, row.fill, false);
    }
    page.y += page.mm(3);
}
