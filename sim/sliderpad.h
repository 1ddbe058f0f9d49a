#ifndef SLIDERPAD_H
#define SLIDERPAD_H

#include <QVector>
#include <QWidget>

#include <optional>

// A slider (a bar of segments) or a wheel (a ring of them) of the simulated target board: the
// finger goes where the mouse is held and follows it while it is dragged; letting go lifts it.
// The segments' counts follow through SimSlider, with the finger's spread over the neighbours.
class SliderPad : public QWidget
{
    Q_OBJECT

public:
    SliderPad(bool wheel, QWidget *parent = nullptr);

    // The board's channels of the segments, in order; a finger on the old ones is lifted.
    void setChannels(const QVector<int> &channels);
    const QVector<int> &channels() const { return segments; }
    bool isWheel() const { return wheel; }
    // The finger at place (segment pitches from the first segment's centre), or lifted.
    void putFinger(double place);
    void liftFinger();
    std::optional<double> fingerPlace() const { return finger; }
    // The place under a point of the widget.
    double placeAt(const QPointF &point) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRectF track() const;

    const bool wheel;
    QVector<int> segments;
    std::optional<double> finger;
};

#endif // SLIDERPAD_H
