#ifndef LOGPANE_H
#define LOGPANE_H

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QPlainTextEdit;
class QWidget;

// The log pane of the debug page, where the prompts the user must obey appear: each new line is
// scrolled into view unless the user has scrolled up to read, and an overlay such as the
// countdown badge is given a place over the pane that leaves the newest line's text free.
class LogPane : public QObject
{
    Q_OBJECT

public:
    explicit LogPane(QPlainTextEdit *log, QObject *parent = nullptr);

    // Where an overlay of this size sits, in the coordinates of overlayParent (an ancestor of the
    // pane): in the pane's top right corner, else its bottom right one, whichever the newest
    // line's text does not reach; beside the pane when that line reaches both.
    QPoint overlayPosition(const QSize &size, const QWidget *overlayParent) const;
    // The shown part of the newest line's text, in the pane's coordinates; empty when the pane
    // is empty.
    QRect newestLineRect() const;

private:
    QPlainTextEdit *log;
    bool followNewest = true;
};

#endif // LOGPANE_H
