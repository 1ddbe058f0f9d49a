#ifndef SLIDERVIEW_H
#define SLIDERVIEW_H

#include "charts/framethrottle.h"

#include <QString>
#include <QVector>
#include <QWidget>

#include <optional>

// The sliders and wheels during verification: each slider a bar with the finger's position on
// it, each wheel a dial with the finger's angle, as the application firmware would report them,
// and the marker the swipe test asks the finger to follow. The items go into the model at once;
// the picture follows at the display's rate.
class SliderView : public QWidget
{
    Q_OBJECT

public:
    struct Item
    {
        QString name;
        bool wheel = false;
        // Whether all its segments have their means: without them there is no position.
        bool measured = false;
        bool touched = false;
        // 0 ... 255 along a slider, round a wheel.
        int position = 0;
        // Where the swipe test wants the finger, 0 ... 1 of the way (round a wheel).
        std::optional<double> marker;
        // The last swipe test's verdict, shown while there is no position.
        QString verdict;
    };

    explicit SliderView(QWidget *parent = nullptr);

    void setItems(const QVector<Item> &items);
    // What the picture shows now (the items of the last frame).
    const QVector<Item> &shownItems() const { return shown; }
    const FrameThrottle &frameThrottle() const { return frames; }
    // Draws now what waits for its frame.
    void flush() { frames.flush(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintBar(QPainter &painter, const QRectF &room, const Item &item) const;
    void paintDial(QPainter &painter, const QRectF &room, const Item &item) const;

    QVector<Item> pending;
    QVector<Item> shown;
    FrameThrottle frames;
};

#endif // SLIDERVIEW_H
