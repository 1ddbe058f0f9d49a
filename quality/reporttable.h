#ifndef REPORTTABLE_H
#define REPORTTABLE_H

#include <QColor>
#include <QStringList>
#include <QVector>

class QPainter;
class ReportPage;

// A table of the tuning report: the header in bold on grey, then a row per key. One column may
// wrap its text (the row grows with it) and one may carry the row's colour; a row that does not
// fit goes on the next page, under the header again.
class ReportTable
{
public:
    struct Row
    {
        QStringList cells;
        QColor fill;
    };

    // columnMm: the width of each column but the last, which takes what is left of the page;
    // -1 for no wrapping or coloured column.
    ReportTable(const QStringList &header, const QVector<double> &columnMm, int wrapColumn,
                int fillColumn);

    void draw(QPainter &painter, ReportPage &page, const QVector<Row> &rows) const;

private:
    QVector<double> widths(const ReportPage &page) const;
    void drawRow(QPainter &painter, ReportPage &page, const QStringList &cells, double height,
                 const QColor &fill, bool header) const;

    QStringList header;
    QVector<double> columnMm;
    int wrapColumn;
    int fillColumn;
};

#endif // REPORTTABLE_H
