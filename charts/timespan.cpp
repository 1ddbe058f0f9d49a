#include "charts/timespan.h"

#include <algorithm>
#include <cmath>

void TimeSpan::setData(qint64 firstMs, qint64 lastMs)
{
    first = firstMs;
    last = std::max(firstMs, lastMs);
    show(first, last);
}

void TimeSpan::show(qint64 start, qint64 end)
{
    const qint64 span = std::max(kMinSpanMs, end - start);
    const qint64 whole = std::max(kMinSpanMs, last - first);
    if (span >= whole) {
        from = first;
        to = first + whole;
    } else {
        from = std::clamp(start, first, last - span);
        to = from + span;
    }
}

void TimeSpan::zoom(qint64 anchor, double factor)
{
    const double span = double(length()) * factor;
    const double share = double(anchor - from) / double(std::max<qint64>(1, length()));
    const qint64 start = anchor - qint64(std::llround(span * share));
    show(start, start + qint64(std::llround(span)));
}

void TimeSpan::drag(qint64 startAtPress, double pixels, double width)
{
    const qint64 span = length();
    const qint64 shift = qint64(std::llround(-pixels * double(span) / std::max(1.0, width)));
    show(startAtPress + shift, startAtPress + shift + span);
}

double TimeSpan::x(qint64 ms, double left, double width) const
{
    return left + double(ms - from) * width / double(std::max<qint64>(1, length()));
}

qint64 TimeSpan::msAt(double x, double left, double width) const
{
    return from + qint64(std::llround((x - left) * double(length()) / std::max(1.0, width)));
}
