#include "charts/numbersview.h"

#include "quality/keypreview.h"

#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>

#include <algorithm>

namespace
{
QString figure(const std::optional<int> &value)
{
    return value ? QString::number(*value) : QStringLiteral("-");
}
} // namespace

NumbersView::NumbersView(QTableWidget *table, const KeyPreview &preview, QObject *parent)
    : QObject(parent), table(table), preview(preview), frames([this] { show(); })
{
    frames.setFrameMs(1000 / kUpdatesPerSecond);
    const QStringList header = {tr("通道"),     tr("原始值"), tr("基线"), tr("按下阈值"),
                                tr("释放阈值"), tr("差值"),   tr("按下"), tr("噪声(1s)")};
    table->setColumnCount(header.size());
    table->setHorizontalHeaderLabels(header);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    // Every figure fits its column: a cell is drawn without laying its text out for wrapping or
    // eliding, several times a second for each of 200 cells.
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideNone);
    // Each column as wide as its heading or the widest figure it can hold, whichever is wider,
    // in whatever font and language; the table wide enough for them all and the scroll bar that
    // 25 rows bring. Fixed, so that changing figures never move the columns.
    const QStringList widest = {QStringLiteral("TK24"),
                                QStringLiteral("65535"),
                                QStringLiteral("65535"),
                                QStringLiteral("65535"),
                                QStringLiteral("65535"),
                                QStringLiteral("-65535"),
                                tr("是"),
                                QStringLiteral("65535")};
    const int cellMargin =
        2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1) + 2;
    QHeaderView *columns = table->horizontalHeader();
    // The interface's own font rather than the page's larger one: beside the curves, seven
    // columns of five figures fit the room a small screen leaves them, in any language.
    QFont compact = QGuiApplication::font();
    compact.setPointSizeF(compact.pointSizeF());
    table->setFont(compact);
    columns->setFont(compact);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setStretchLastSection(true);
    int width = 2 * table->frameWidth() +
                table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    for (int c = 0; c < header.size(); ++c) {
        const int column =
            std::max(columns->sectionSizeHint(c),
                     table->fontMetrics().horizontalAdvance(widest.at(c)) + cellMargin);
        columns->resizeSection(c, column);
        width += column;
    }
    table->setMinimumWidth(std::max(table->minimumWidth(), width));
    table->setMaximumWidth(std::max(table->maximumWidth(), table->minimumWidth()));
    table->hide();
}

void NumbersView::start(const QList<int> &channels)
{
    model.reset(channels);
    frames.cancel();
    show();
    table->show();
}

void NumbersView::stop()
{
    frames.cancel();
    table->hide();
}

void NumbersView::feed(qint64 arrivalMs, const QByteArray &record)
{
    model.feed(arrivalMs, record);
    frames.request();
}

QStringList NumbersView::cells(const StreamNumbers::Row &row)
{
    return {QStringLiteral("TK%1").arg(row.channel),
            figure(row.raw),
            figure(row.base),
            figure(row.pressThreshold),
            figure(row.releaseThreshold),
            figure(row.delta),
            row.pressed ? tr("是") : QString(),
            figure(row.noise)};
}

void NumbersView::show()
{
    const QVector<StreamNumbers::Row> rows = model.rows(preview);
    if (table->rowCount() != rows.size())
        table->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList texts = cells(rows.at(r));
        for (int c = 0; c < texts.size(); ++c) {
            QTableWidgetItem *item = table->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignCenter);
                table->setItem(r, c, item);
            }
            if (item->text() != texts.at(c))
                item->setText(texts.at(c));
        }
    }
}
