#ifndef DECISIONTIMELINE_H
#define DECISIONTIMELINE_H

#include "charts/timespan.h"
#include "quality/recordingevaluation.h"

#include <QString>
#include <QVector>
#include <QWidget>

// One key's decision over a recording's time: its count, the firmware's base, the press and
// release thresholds it was compared with, and below them the debounce count and the pressed
// state, with a marker at each press, release, false press and miss. The wheel zooms around the
// cursor, a drag moves the picture, and the cursor reads the values of the record under it. A
// column of pixels shows the lowest and highest count of its records, so that a spike of one
// record among a million stays in the picture.
class DecisionTimeline : public QWidget
{
    Q_OBJECT

public:
    struct Marker
    {
        enum class Type {
            Press,
            Release,
            FalsePress,
            Miss,
        };
        qint64 ms = 0;
        Type type = Type::Press;
    };

    explicit DecisionTimeline(QWidget *parent = nullptr);

    // The picture of a key: its trace, with press and release markers where the pressed state
    // changes, and the false presses and misses of the evaluation; the whole recording shown.
    void setTrace(const QVector<RecordingEvaluation::TracePoint> &trace,
                  const QVector<Marker> &events, int debounceLimit);
    void clear() { setTrace({}, {}, 1); }
    // The time shown, in the recording's milliseconds.
    qint64 viewStart() const { return span.start(); }
    qint64 viewEnd() const { return span.end(); }
    void setView(qint64 from, qint64 to);
    // Shows a few seconds around ms, the cursor on its record.
    void showAround(qint64 ms);
    const QVector<Marker> &markers() const { return shown; }
    // The values of the record nearest ms: "12.345 秒：计数 2012，基线 2001，按下阈值
    // 2151，释放阈值 2121，消抖 0/3，未按下"; empty without a trace.
    QString valuesAt(qint64 ms) const;
    // What the cursor reads now.
    QString cursorText() const { return cursorValues; }

    QSize sizeHint() const override { return QSize(800, 320); }
    QSize minimumSizeHint() const override { return QSize(300, 200); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QRectF plotArea() const;
    QRectF stateArea() const;
    double xOf(qint64 ms) const;
    qint64 msAt(double x) const;
    // The first point at or after ms.
    int indexAt(qint64 ms) const;
    int nearest(qint64 ms) const;
    // Counts and thresholds of the points shown, padded.
    void valueRange(int from, int to, double *low, double *high) const;
    void drawCurves(QPainter &painter, int from, int to, double low, double high) const;
    void drawState(QPainter &painter, int from, int to) const;
    void drawMarkers(QPainter &painter) const;
    void drawLegend(QPainter &painter) const;
    void drawCursor(QPainter &painter, double low, double high) const;
    void moveCursor(double x);

    QVector<RecordingEvaluation::TracePoint> points;
    QVector<Marker> shown;
    int debounceLimit = 1;
    TimeSpan span;
    // The record under the cursor, -1 for none.
    int cursor = -1;
    QString cursorValues;
    bool dragging = false;
    double dragX = 0.0;
    qint64 dragStart = 0;
};

#endif // DECISIONTIMELINE_H
