#include "quality/sliderreportpage.h"

#include "quality/reportpage.h"
#include "quality/reporttable.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kPlotHeightMm = 80.0;

QString figure(const std::optional<int> &value)
{
    return value ? QString::number(*value) : KeyQuality::shown(QStringLiteral("未测"));
}

// A stroke's positions from its start: a wheel's turn counted from where it began, either way.
double strokeValue(const SwipeJudgement::Stroke &stroke, double value, bool wheel)
{
    if (!wheel)
        return value;
    const double travel = stroke.unwrapped.last() - stroke.unwrapped.first();
    return travel < 0 ? stroke.unwrapped.first() - value : value - stroke.unwrapped.first();
}
} // namespace

void SliderReportPage::draw(QPainter &painter, ReportPage &page, const Slider &slider)
{
    page.reserve(page.bottom());
    painter.setPen(Qt::black);
    painter.setFont(ReportPage::font(11, true));
    const double heading = painter.fontMetrics().height() + page.mm(2);
    QStringList channels;
    for (const Segment &segment : slider.segments)
        channels << QStringLiteral("TK%1").arg(segment.channel);
    painter.drawText(QRectF(0, page.y, page.width(), heading), Qt::AlignLeft,
                     tr("%1 %2：%3")
                         .arg(slider.name,
                              slider.shape == SliderShape::Wheel ? tr("滚轮") : tr("滑条"),
                              channels.join(QStringLiteral(" → "))));
    page.y += heading;
    drawSegments(painter, page, slider);
    if (slider.swipe && !slider.swipe->strokes.isEmpty()) {
        const double height = page.mm(kPlotHeightMm);
        page.reserve(height);
        drawStrokes(painter, QRectF(0, page.y, page.width() * 0.7, height), *slider.swipe,
                    page.mm(0.25));
        page.y += height + page.mm(3);
    }
    drawFigures(painter, page, slider);
}

void SliderReportPage::drawSegments(QPainter &painter, ReportPage &page, const Slider &slider)
{
    const ReportTable table({tr("段"), tr("通道"), tr("不触摸\n均值"), tr("触摸\n均值"),
                             tr("防水\n均值"), tr("噪声"), tr("信号"), tr("信噪比"), tr("结论"),
                             tr("原因")},
                            {14, 14, 18, 18, 18, 14, 14, 18, 16}, 9, 8);
    QVector<ReportTable::Row> rows;
    for (int k = 0; k < slider.segments.size(); ++k) {
        const Segment &s = slider.segments.at(k);
        const KeyQuality &q = s.quality;
        rows.append({{QStringLiteral("%1-%2").arg(slider.name).arg(k + 1),
                      QStringLiteral("TK%1").arg(s.channel),
                      KeyQuality::shown(q.meanText(SamplePhase::NoTouch)),
                      KeyQuality::shown(q.meanText(SamplePhase::Touch)),
                      KeyQuality::shown(q.meanText(SamplePhase::Water)),
                      KeyQuality::shown(q.noiseText()), figure(q.signal),
                      KeyQuality::shown(q.snrText()),
                      q.verdict ? KeyQuality::shown(q.verdictText()) : tr("数据不全"),
                      q.shownReasons().join(tr("、"))},
                     q.verdict ? KeyQuality::verdictColour(*q.verdict) : QColor()});
    }
    table.draw(painter, page, rows);
    page.y += page.mm(3);
}

void SliderReportPage::drawStrokes(QPainter &painter, const QRectF &room,
                                   const SwipeJudgement &swipe, double pen)
{
    const bool wheel = swipe.shape == SliderShape::Wheel;
    const double full = SwipeJudgement::fullScale(swipe.shape);
    painter.setFont(ReportPage::font(8));
    const double label = painter.fontMetrics().height();
    painter.setPen(Qt::black);
    painter.drawText(QRectF(room.left(), room.top(), room.width(), label), Qt::AlignLeft,
                     tr("滑动测试：各次滑动的位置（点）与拟合直线（线），横轴为该次滑动的时间"));
    const QRectF plot = room.adjusted(label * 2.5, label * 1.5, 0, -label);
    painter.setPen(QPen(ReportPage::ruleColour(), pen));
    painter.drawRect(plot);
    for (int tick = 0; tick <= 4; ++tick) {
        const double y = plot.bottom() - plot.height() * tick / 4;
        painter.drawText(QRectF(room.left(), y - label / 2, label * 2.3, label),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(int(full * tick / 4)));
    }
    const QColor colours[] = {QColor(30, 90, 200), QColor(200, 60, 40), QColor(40, 150, 60),
                              QColor(150, 80, 170)};
    for (int i = 0; i < swipe.strokes.size(); ++i) {
        const SwipeJudgement::Stroke &stroke = swipe.strokes.at(i);
        const qint64 t0 = stroke.samples.first().ms;
        const double span = std::max<qint64>(1, stroke.samples.last().ms - t0);
        const auto at = [&](qint64 ms, double value) {
            const double y = std::clamp(strokeValue(stroke, value, wheel) / full, -0.05, 1.05);
            return QPointF(plot.left() + plot.width() * double(ms - t0) / span,
                           plot.bottom() - plot.height() * y);
        };
        const QColor colour = colours[i % 4];
        painter.setPen(QPen(colour.lighter(150), pen * 3));
        const qint64 t1 = stroke.samples.last().ms;
        painter.drawLine(at(t0, stroke.offset), at(t1, stroke.slope * double(t1 - t0) + stroke.offset));
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        for (int k = 0; k < stroke.samples.size(); ++k) {
            if (stroke.samples.at(k).touched)
                painter.drawEllipse(at(stroke.samples.at(k).ms, stroke.unwrapped.at(k)), pen * 3,
                                    pen * 3);
        }
    }
    painter.setBrush(Qt::NoBrush);
}

void SliderReportPage::drawFigures(QPainter &painter, ReportPage &page, const Slider &slider)
{
    painter.setPen(Qt::black);
    painter.setFont(ReportPage::font(10));
    if (!slider.swipe) {
        page.paragraph(tr("未做滑动测试。"), 3);
        return;
    }
    const SwipeJudgement &s = *slider.swipe;
    QStringList spots;
    for (const SwipeJudgement::DeadSpot &spot : s.deadSpots)
        spots << SwipeJudgement::deadSpotText(spot);
    QStringList lines{
        tr("线性度：%1（合格线 %2%，注意线 %3%）")
            .arg(SwipeJudgement::percentText(s.linearity))
            .arg(SwipeJudgement::kPassLinearity)
            .arg(SwipeJudgement::kCautionLinearity),
        tr("抖动：%1（合格线 %2%，注意线 %3%）")
            .arg(SwipeJudgement::percentText(s.jitter))
            .arg(SwipeJudgement::kPassJitter)
            .arg(SwipeJudgement::kCautionJitter),
        tr("死区：%1").arg(spots.isEmpty() ? tr("无") : spots.join(tr("；"))),
        tr("结论：%1").arg(s.verdictText())};
    if (!s.reasons().isEmpty())
        lines.last() += tr("（%1）").arg(s.reasons().join(tr("；")));
    for (const QString &line : lines)
        page.paragraph(line, 1);
    painter.setFont(ReportPage::font(8));
    page.paragraph(
        tr("位置：固件的滑条位置（0～255，滑条从第一段中心到最后一段中心，滚轮绕一圈）。线性度：每次"
           "滑动的位置与按时间拟合的直线的最大偏差，占满量程的百分比（滑条两端各 8% 不计）。抖动："
           "手指静放在中间段时位置的最大值减最小值（去掉前四分之一），占满量程的百分比。死区：滑动"
           "中连续无触摸，或直线移动满量程 8% 以上而位置不动的一段。"),
        3);
}
