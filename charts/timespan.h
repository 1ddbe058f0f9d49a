#ifndef TIMESPAN_H
#define TIMESPAN_H

#include <QtGlobal>

// The part of a recording's time a picture shows: never beyond the data nor narrower than a
// few records, zoomed around a point, moved by a drag, and mapped onto a row of pixels.
class TimeSpan
{
public:
    // The narrowest view: zooming in stops at this many milliseconds.
    static constexpr qint64 kMinSpanMs = 40;

    // The data runs from first to last; the whole of it is shown.
    void setData(qint64 first, qint64 last);
    // Shows from ... to, moved inside the data and widened to the narrowest view.
    void show(qint64 from, qint64 to);
    // Narrows (factor < 1) or widens the view, anchor staying where it is.
    void zoom(qint64 anchor, double factor);
    // The view moved by a drag of pixels across a row width pixels wide, from the start it had
    // when the drag began.
    void drag(qint64 startAtPress, double pixels, double width);

    qint64 start() const { return from; }
    qint64 end() const { return to; }
    qint64 length() const { return to - from; }
    bool contains(qint64 ms) const { return ms >= from && ms <= to; }
    // The pixel of ms in a row from left, width wide, and back.
    double x(qint64 ms, double left, double width) const;
    qint64 msAt(double x, double left, double width) const;

private:
    qint64 first = 0;
    qint64 last = 1;
    qint64 from = 0;
    qint64 to = 1;
};

#endif // TIMESPAN_H
