#include "tuning/logpane.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

namespace
{
constexpr int kOverlayMargin = 4;
} // namespace

LogPane::LogPane(QPlainTextEdit *log, QObject *parent) : QObject(parent), log(log)
{
    QScrollBar *bar = log->verticalScrollBar();
    // Only the user moves the bar below its end; a new line only makes the range grow.
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { followNewest = value >= bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (!followNewest)
            return;
        bar->setValue(maximum);
        // Lines are not wrapped: a new line is shown from its start.
        this->log->horizontalScrollBar()->setValue(0);
    });
}

QRect LogPane::newestLineRect() const
{
    if (log->document()->isEmpty())
        return QRect();
    QTextCursor end(log->document());
    end.movePosition(QTextCursor::End);
    // The cursor after the last character: the line's height, and where its text ends.
    const QRect cursor = log->cursorRect(end);
    const QRect shown =
        QRect(0, cursor.top(), cursor.right() + 1, cursor.height()) & log->viewport()->rect();
    return shown.translated(log->viewport()->mapTo(log, QPoint(0, 0)));
}

QPoint LogPane::overlayPosition(const QSize &size, const QWidget *overlayParent) const
{
    const QRect pane = log->rect();
    const int right = log->viewport()->mapTo(log, QPoint(log->viewport()->width(), 0)).x();
    QRect place(QPoint(right - size.width() - kOverlayMargin, pane.top() + kOverlayMargin), size);
    const QRect newest = newestLineRect();
    if (place.intersects(newest))
        place.moveBottom(pane.bottom() - kOverlayMargin);
    // A long newest line in the middle of the pane: the overlay goes beside the pane.
    if (place.intersects(newest))
        place.moveTopLeft(QPoint(pane.right() + kOverlayMargin, pane.top() + kOverlayMargin));
    return log->mapTo(overlayParent, place.topLeft());
}
