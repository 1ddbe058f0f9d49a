#ifndef SLIDERREPORTPAGE_H
#define SLIDERREPORTPAGE_H

#include "quality/firmwareslidermodel.h"
#include "quality/keyquality.h"
#include "quality/swipejudgement.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

#include <optional>

class QPainter;
class QRectF;
class ReportPage;

// A page of the tuning report for one slider or wheel: its segments' figures and verdicts, the
// positions of its swipe test against the straight line fitted through each stroke, linearity,
// jitter, dead spots and its verdict.
class SliderReportPage
{
    Q_DECLARE_TR_FUNCTIONS(SliderReportPage)

public:
    struct Segment
    {
        int channel = 0;
        KeyQuality quality;
    };
    struct Slider
    {
        QString name;
        SliderShape shape = SliderShape::Slider;
        QVector<Segment> segments;
        // None before its swipe test.
        std::optional<SwipeJudgement> swipe;
    };

    static void draw(QPainter &painter, ReportPage &page, const Slider &slider);

private:
    static void drawSegments(QPainter &painter, ReportPage &page, const Slider &slider);
    static void drawStrokes(QPainter &painter, const QRectF &room, const SwipeJudgement &swipe,
                            double pen);
    static void drawFigures(QPainter &painter, ReportPage &page, const Slider &slider);
};

#endif // SLIDERREPORTPAGE_H
