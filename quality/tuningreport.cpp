#include "quality/tuningreport.h"

#include "quality/couplingmatrix.h"
#include "quality/keyquality.h"
#include "quality/reportpage.h"
#include "quality/reporttable.h"
#include "quality/samplesplot.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
constexpr int kPlotColumns = 3;
constexpr double kPlotHeightMm = 55.0;

// The report is read by people: its texts are in the interface's language, as every text the
// tool shows.
QString trReport(const char *text) { return QCoreApplication::translate("TuningReport", text); }

QString orMissing(const std::optional<int> &value)
{
    return value ? QString::number(*value) : KeyQuality::shown(QStringLiteral("未测"));
}

// The verdict, or why there is none, in the interface's language.
QString verdictOf(const KeyQuality &q)
{
    return q.verdict ? KeyQuality::shown(q.verdictText())
                     : trReport(QT_TRANSLATE_NOOP("TuningReport", "数据不全"));
}

QColor fillOf(const KeyQuality &q)
{
    return q.verdict ? KeyQuality::verdictColour(*q.verdict) : QColor();
}

// The figures of a channel, in the columns of the first table.
ReportTable::Row figuresRow(const TuningReport::Channel &c, const KeyQuality &q)
{
    QString shift = orMissing(q.waterShift);
    if (q.waterShare)
        shift += QStringLiteral(" (%1)").arg(q.waterShareText());
    return {{QStringLiteral("TK%1").arg(c.channel), QString::number(c.keyNumber),
             KeyQuality::shown(q.meanText(SamplePhase::NoTouch)),
             KeyQuality::shown(q.meanText(SamplePhase::Touch)),
             KeyQuality::shown(q.meanText(SamplePhase::Water)), KeyQuality::shown(q.noiseText()),
             orMissing(q.signal), KeyQuality::shown(q.snrText()), shift, verdictOf(q),
             q.shownReasons().join(trReport(QT_TRANSLATE_NOOP("TuningReport", "、")))},
            fillOf(q)};
}

// The settings of a channel, its thresholds and the margins under them.
ReportTable::Row settingsRow(const TuningReport::Channel &c, const KeyQuality &q)
{
    QStringList cells{QStringLiteral("TK%1").arg(c.channel)};
    // The debounce's column says under its name when the press comes; its cells keep the count.
    for (KeySettings::Field field : KeySettings::kFields)
        cells << (field == KeySettings::Field::Debounce
                      ? TuningReport::tr("%1 次").arg(q.settings.debounce)
                      : KeySettings::valueText(field, q.settings.value(field), true));
    cells << orMissing(q.pressThreshold) << orMissing(q.releaseThreshold)
          << q.marginText(q.touchMargin, true) << q.marginText(q.noTouchMargin, true)
          << q.marginText(q.waterMargin, true) << verdictOf(q);
    return {cells, fillOf(q)};
}
} // namespace

QString TuningReport::exportFileName(const QString &projectName)
{
    return tr("%1_调试报告.pdf").arg(projectName);
}

TuningReport::TuningReport(const QString &projectName, const QString &packageText,
                           const QDate &date, const QVector<Channel> &channels)
    : projectName(projectName), packageText(packageText), date(date), channels(channels)
{
}

namespace
{
void drawHeading(QPainter &painter, ReportPage &page, const QString &about, const QString &summary)
{
    painter.setPen(Qt::black);
    painter.setFont(ReportPage::font(16, true));
    const double titleHeight = painter.fontMetrics().height();
    painter.drawText(QRectF(0, page.y, page.width(), titleHeight), Qt::AlignLeft,
                     TuningReport::tr("触摸按键调试报告"));
    page.y += titleHeight + page.mm(2);
    painter.setFont(ReportPage::font(10));
    const double line = painter.fontMetrics().height();
    for (const QString &text : {about, summary}) {
        painter.drawText(QRectF(0, page.y, page.width(), line), Qt::AlignLeft, text);
        page.y += line;
    }
    page.y += page.mm(3);
}

void drawTables(QPainter &painter, ReportPage &page, const QVector<TuningReport::Channel> &channels,
                const QVector<KeyQuality> &qualities)
{
    const ReportTable figures({TuningReport::tr("键名"), TuningReport::tr("按键"),
                               TuningReport::tr("不触摸\n均值"), TuningReport::tr("触摸\n均值"),
                               TuningReport::tr("防水\n均值"), TuningReport::tr("噪声"),
                               TuningReport::tr("信号"), TuningReport::tr("信噪比"),
                               TuningReport::tr("防水偏移\n(占信号)"), TuningReport::tr("结论"),
                               TuningReport::tr("原因")},
                              {13, 11, 16, 16, 16, 12, 13, 16, 19, 14}, 10, 9);
    const ReportTable settings(
        {TuningReport::tr("键名"), TuningReport::tr("按下位置"), TuningReport::tr("迟滞"),
         TuningReport::tr("消抖\n(次后按下)"), TuningReport::tr("最长按下"),
         TuningReport::tr("防水下限"), TuningReport::tr("按下\n阈值"), TuningReport::tr("释放\n阈值"),
         TuningReport::tr("触摸余量\n(占摆幅)"), TuningReport::tr("不触摸余量\n(占摆幅)"),
         TuningReport::tr("防水余量\n(占摆幅)"), TuningReport::tr("结论")},
        {13, 17, 14, 14, 16, 16, 16, 16, 27, 27, 27}, -1, 11);
    QVector<ReportTable::Row> figureRows;
    QVector<ReportTable::Row> settingRows;
    for (int i = 0; i < channels.size(); ++i) {
        figureRows << figuresRow(channels.at(i), qualities.at(i));
        settingRows << settingsRow(channels.at(i), qualities.at(i));
    }
    figures.draw(painter, page, figureRows);
    page.heading(TuningReport::tr("按键设置与余量"));
    settings.draw(painter, page, settingRows);
}

void drawRules(QPainter &painter, ReportPage &page)
{
    painter.setFont(ReportPage::font(8));
    painter.setPen(Qt::black);
    page.paragraph(
        TuningReport::tr(
            "均值：结果表中的均值，即写入应用固件的值。噪声：不触摸采样的最大值减最小值（0 记为 "
            "1）。信号：触摸均值减不触摸均值，按采样的精确均值（无采样时按表中均值）。"
            "信噪比：信号除以噪声。防水偏移：防水均值减不触摸均值。摆幅：表中触摸均值减不触摸均值。"
            "按下阈值：不触摸均值加摆幅的按下位置；防水偏移超过摆幅一半时，防水下限开则不低于摆幅的"
            "四分之三。释放阈值：按下阈值减摆幅的迟滞，但不低于不触摸均值加摆幅的百分之一（至少"
            "加 1），也不高于按下阈值。两者在固件中随基线移动（16 位无符号运算，不超过 65535）。"
            "消抖：连续超过按下阈值的扫描次数，其后的下一次扫描按下（消抖 3 次即第 4 次扫描按下）。"
            "按下持续超过最长按下时间时固件释放按键并以当前值为基线。余量：触摸最小值减按下阈值，"
            "释放阈值减不触摸最大值，释放阈值减防水最大值，括号内为占摆幅的百分比。\n不合格：信号不为正，信噪比低于 5:1，触摸最小值未超过按下阈值，"
            "不触摸最大值或防水最大值达到释放阈值。注意：信噪比低于 10:1，防水偏移达到信号的一半，"
            "防水下限已关闭，或表中均值与采样不符。其余为合格。"),
        5);
}

void drawPlots(QPainter &painter, ReportPage &page, const QVector<TuningReport::Channel> &channels,
               const QVector<KeyQuality> &qualities)
{
    const double gap = page.mm(6);
    const double width = (page.width() - gap * (kPlotColumns - 1)) / kPlotColumns;
    const double height = page.mm(kPlotHeightMm);
    painter.setFont(ReportPage::font(11, true));
    painter.setPen(Qt::black);
    const double headingHeight = painter.fontMetrics().height() + page.mm(2);
    page.reserve(headingHeight + height);
    painter.drawText(QRectF(0, page.y, page.width(), headingHeight), Qt::AlignLeft,
                     TuningReport::tr("各通道采样曲线"));
    page.y += headingHeight;
    painter.setFont(ReportPage::font(7.5));
    for (int i = 0; i < channels.size(); ++i) {
        const int column = i % kPlotColumns;
        if (column == 0 && i > 0)
            page.y += height + gap / 2;
        if (column == 0)
            page.reserve(height);
        const TuningReport::Channel &c = channels.at(i);
        const KeyQuality &q = qualities.at(i);
        const QString title = TuningReport::tr("TK%1（按键 %2）：%3")
                                  .arg(c.channel)
                                  .arg(c.keyNumber)
                                  .arg(verdictOf(q));
        // The thresholds are drawn only over a positive signal; otherwise they lie far off the
        // curves, at 65535.
        SamplesPlot::Lines lines;
        if (q.signal && *q.signal > 0 && q.thresholds.canPress())
            lines = {q.pressThreshold, q.releaseThreshold};
        SamplesPlot::draw(painter, QRectF(column * (width + gap), page.y, width, height), title,
                          c.samples, lines, page.mm(0.25));
    }
}
// The colour of a coupling: white without a shift toward the threshold, amber at half the margin,
// red at the whole margin and beyond.
QColor couplingColour(const CouplingMatrix::Entry &entry)
{
    const double share = entry.percent ? std::clamp(*entry.percent / 100.0, 0.0, 1.0) : 0.0;
    const QColor amber(255, 214, 120);
    const QColor red(235, 110, 110);
    const auto mix = [](const QColor &a, const QColor &b, double t) {
        return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                                a.greenF() + (b.greenF() - a.greenF()) * t,
                                a.blueF() + (b.blueF() - a.blueF()) * t);
    };
    return share < 0.5 ? mix(Qt::white, amber, share * 2) : mix(amber, red, share * 2 - 1);
}

// A page of its own: for every touched key (rows) the shift of every other key (columns), with
// its share of that key's threshold margin, coloured by the share.
void drawCouplingPage(QPainter &painter, ReportPage &page, const CouplingMatrix &matrix)
{
    page.reserve(page.bottom());
    painter.setPen(Qt::black);
    painter.setFont(ReportPage::font(11, true));
    const double headingHeight = painter.fontMetrics().height() + page.mm(2);
    painter.drawText(QRectF(0, page.y, page.width(), headingHeight), Qt::AlignLeft,
                     TuningReport::tr("按键耦合：触摸行按键时列按键均值的偏移"));
    page.y += headingHeight;
    const QList<int> &columns = matrix.channels();
    const QList<int> &rows = matrix.touchedChannels();
    const double labelWidth = page.mm(16);
    const double cell =
        std::min((page.width() - labelWidth) / std::max(1, int(columns.size())), page.mm(14));
    const double rowHeight = std::min(page.mm(9), (page.bottom() - page.y - page.mm(24)) /
                                                      std::max(1, int(rows.size()) + 1));
    painter.setFont(ReportPage::font(6.5));
    const auto box = [&](double x, const QString &text, const QColor &fill) {
        const QRectF r(x, page.y, x == 0 ? labelWidth : cell, rowHeight);
        if (fill.isValid())
            painter.fillRect(r, fill);
        painter.setPen(QPen(ReportPage::ruleColour(), page.mm(0.15)));
        painter.drawRect(r);
        painter.setPen(Qt::black);
        painter.drawText(r, Qt::AlignCenter, text);
    };
    box(0, TuningReport::tr("触摸＼受影响"), ReportPage::headerFill());
    for (int c = 0; c < columns.size(); ++c)
        box(labelWidth + c * cell, QStringLiteral("TK%1").arg(columns.at(c)),
            ReportPage::headerFill());
    page.y += rowHeight;
    for (int touched : rows) {
        box(0, QStringLiteral("TK%1").arg(touched), ReportPage::headerFill());
        for (int c = 0; c < columns.size(); ++c) {
            const std::optional<CouplingMatrix::Entry> entry = matrix.at(touched, columns.at(c));
            if (!entry) {
                box(labelWidth + c * cell, QStringLiteral("—"), QColor(245, 245, 245));
                continue;
            }
            QString text = QString::number(std::lround(entry->shift));
            if (entry->percent)
                text += QStringLiteral("\n%1%").arg(entry->wholePercent());
            box(labelWidth + c * cell, text, couplingColour(*entry));
        }
        page.y += rowHeight;
    }
    page.y += page.mm(3);
    painter.setFont(ReportPage::font(8));
    const QString legend = TuningReport::tr(
        "每格上为偏移（触摸均值减不触摸均值，计数），下为其占受影响按键阈值余量（按下阈值减不触摸均"
        "值）"
        "的百分比；超过 50% 为警告，达到 100% 时触摸行按键会使列按键被按下，该按键判为不合格。"
        "未测防水的按键按防水不偏移时固件的按下阈值计算。");
    page.paragraph(legend, 0);
}
} // namespace

bool TuningReport::write(const QString &path, QString *error) const
{
    QVector<CouplingMatrix::Key> keys;
    for (const Channel &c : channels)
        keys.append({c.channel, &c.samples, c.means, c.settings});
    const CouplingMatrix coupling = CouplingMatrix::measure(keys);
    QVector<KeyQuality> qualities;
    int counts[3] = {};
    int incomplete = 0;
    for (const Channel &c : channels) {
        qualities << KeyQuality::of(c.samples, c.means, c.settings);
        coupling.judge(c.channel, &qualities.last());
        if (qualities.constLast().verdict)
            ++counts[int(*qualities.constLast().verdict)];
        else
            ++incomplete;
    }
    const auto draw = [&](QPainter &painter, ReportPage &page) {
        drawHeading(painter, page,
                    TuningReport::tr("工程：%1　　芯片：RM3KV5172　　封装：%2　　日期：%3")
                        .arg(projectName, packageText, date.toString(QStringLiteral("yyyy-MM-dd"))),
                    tr("已测通道 %1 个：合格 %2，注意 %3，不合格 %4，数据不全 %5")
                        .arg(channels.size())
                        .arg(counts[int(KeyVerdict::Pass)])
                        .arg(counts[int(KeyVerdict::Caution)])
                        .arg(counts[int(KeyVerdict::Fail)])
                        .arg(incomplete));
        page.paragraph(concerns.isEmpty()
                           ? tr("未通过或需注意：无")
                           : tr("未通过或需注意：%1").arg(concerns.join(tr("；"))),
                       3);
        drawTables(painter, page, channels, qualities);
        drawRules(painter, page);
        drawPlots(painter, page, channels, qualities);
        if (!coupling.touchedChannels().isEmpty())
            drawCouplingPage(painter, page, coupling);
        for (const Page &extra : pages) {
            page.reserve(page.bottom());
            extra(painter, page);
        }
    };
    QString reason;
    if (ReportPage::writePdf(path, TuningReport::tr("%1 触摸按键调试报告").arg(projectName),
                             projectName, draw, &reason))
        return true;
    if (error)
        *error =
            tr("无法写入调试报告 %1：%2").arg(path, reason.isEmpty() ? tr("无法生成 PDF") : reason);
    return false;
}
