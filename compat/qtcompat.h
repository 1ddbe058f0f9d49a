#ifndef QTCOMPAT_H
#define QTCOMPAT_H

#include <QLibraryInfo>
#include <QPointF>
#include <QString>
#include <QVector>
#include <QtGlobal>

// What the tool uses where Qt 5 and Qt 6 differ, so that the code reads the same on both.

// Qt 5 declares the chart classes in namespace QtCharts, Qt 6 beside Qt's other classes. The code
// names them QtCharts::QChart and so on; on Qt 6 that namespace carries the names of those in use.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
QT_BEGIN_NAMESPACE
class QAbstractAxis;
class QAbstractSeries;
class QChart;
class QChartView;
class QLegend;
class QLineSeries;
class QValueAxis;
class QXYSeries;
QT_END_NAMESPACE

namespace QtCharts
{
using QT_PREPEND_NAMESPACE(QAbstractAxis);
using QT_PREPEND_NAMESPACE(QAbstractSeries);
using QT_PREPEND_NAMESPACE(QChart);
using QT_PREPEND_NAMESPACE(QChartView);
using QT_PREPEND_NAMESPACE(QLegend);
using QT_PREPEND_NAMESPACE(QLineSeries);
using QT_PREPEND_NAMESPACE(QValueAxis);
using QT_PREPEND_NAMESPACE(QXYSeries);
} // namespace QtCharts
#else
namespace QtCharts
{
class QAbstractAxis;
class QAbstractSeries;
class QChart;
class QChartView;
class QLegend;
class QLineSeries;
class QValueAxis;
class QXYSeries;
} // namespace QtCharts
#endif

namespace qtcompat
{
// A chart series' points: Qt 5's points() copies them into a QList, Qt 6 has only that one (its
// QList is QVector).
template <typename Series> QVector<QPointF> seriesPoints(const Series &series)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return series.points();
#else
    return series.pointsVector();
#endif
}

// A mouse event's position in the widget's coordinates, in fractions of a pixel where the screen
// is scaled: Qt 6 names it position(), Qt 5 localPos().
template <typename MouseEvent> QPointF mousePosition(const MouseEvent &event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event.position();
#else
    return event.localPos();
#endif
}

// The type of QWidget::nativeEvent's result.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
using NativeEventResult = qintptr;
#else
using NativeEventResult = long;
#endif

// The folder of Qt's own translations (qtbase_*.qm).
inline QString qtTranslationsPath()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}
} // namespace qtcompat

#endif // QTCOMPAT_H
