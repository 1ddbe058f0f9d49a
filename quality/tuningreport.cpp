#include "quality/tuningreport.h"

#include "quality/couplingmatrix.h"
#include "quality/keyquality.h"
#include "quality/samplesplot.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
constexpr int kResolution = 300; // device units per inch of the PDF
constexpr double kTableFontPt = 8.0;
constexpr int kPlotColumns = 3;
constexpr double kPlotHeightMm = 55.0;
const QColor kHeaderFill(232, 232, 232);
const QColor kRuleColour(150, 150, 150);

// Width in millimetres of every table column but the last, which takes what is left.
constexpr std::array<double, 14> kColumnMm = {13, 11, 16, 16, 16, 12, 13,
                                              16, 19, 14, 15, 17, 15, 18};

QFont reportFont(double pointSize, bool bold = false)
{
    QFont font;
    // CJK fonts of Windows first, then those of Linux desktops.
    font.setFamilies({QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

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

// The cells of one channel's table row, in column order.
QStringList rowCells(const TuningReport::Channel &c, const KeyQuality &q)
{
    QString shift = orMissing(q.waterShift);
    if (q.waterShare)
        shift += QStringLiteral(" (%1)").arg(q.waterShareText());
    return {QStringLiteral("TK%1").arg(c.channel),
            QString::number(c.keyNumber),
            KeyQuality::shown(q.meanText(SamplePhase::NoTouch)),
            KeyQuality::shown(q.meanText(SamplePhase::Touch)),
            KeyQuality::shown(q.meanText(SamplePhase::Water)),
            KeyQuality::shown(q.noiseText()),
            orMissing(q.signal),
            KeyQuality::shown(q.snrText()),
            shift,
            orMissing(q.threshold),
            KeyQuality::shown(q.marginText(q.touchMargin)),
            KeyQuality::shown(q.marginText(q.noTouchMargin)),
            KeyQuality::shown(q.marginText(q.waterMargin)),
            verdictOf(q),
            q.shownReasons().join(trReport(QT_TRANSLATE_NOOP("TuningReport", "、")))};
}

// Places blocks down the pages of the writer, breaking to a new page when a block does not fit.
class PageFlow
{
public:
    PageFlow(QPdfWriter &writer, QPainter &painter, const QString &footer)
        : writer(writer), painter(painter), footer(footer)
    {
        drawFooter();
    }
    double mm(double v) const { return v * kResolution / 25.4; }
    double width() const { return writer.width(); }
    double bottom() const { return writer.height() - mm(7); }
    // Moves to a new page unless height fits below y; true when it broke the page.
    bool reserve(double height)
    {
        if (y + height <= bottom() || y == 0.0)
            return false;
        writer.newPage();
        y = 0.0;
        drawFooter();
        return true;
    }

    double y = 0.0;

private:
    void drawFooter()
    {
        painter.save();
        painter.setFont(reportFont(7));
        painter.setPen(kRuleColour);
        ++page;
        painter.drawText(QRectF(0, writer.height() - mm(5), width(), mm(5)),
                         Qt::AlignRight | Qt::AlignBottom,
                         trReport(QT_TRANSLATE_NOOP("TuningReport", "%1 — 第 %2 页"))
                             .arg(footer, QString::number(page)));
        painter.restore();
    }

    QPdfWriter &writer;
    QPainter &painter;
    QString footer;
    int page = 0;
};
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
void drawHeading(QPainter &painter, PageFlow &flow, const QString &about, const QString &summary)
{
    painter.setPen(Qt::black);
    painter.setFont(reportFont(16, true));
    const double titleHeight = painter.fontMetrics().height();
    painter.drawText(QRectF(0, flow.y, flow.width(), titleHeight), Qt::AlignLeft,
                     TuningReport::tr("触摸按键调试报告"));
    flow.y += titleHeight + flow.mm(2);
    painter.setFont(reportFont(10));
    const double line = painter.fontMetrics().height();
    for (const QString &text : {about, summary}) {
        painter.drawText(QRectF(0, flow.y, flow.width(), line), Qt::AlignLeft, text);
        flow.y += line;
    }
    flow.y += flow.mm(3);
}

QVector<double> columnWidths(const PageFlow &flow)
{
    QVector<double> widths;
    double used = 0.0;
    for (double w : kColumnMm) {
        widths << flow.mm(w);
        used += flow.mm(w);
    }
    widths << flow.width() - used;
    return widths;
}

// One table row; fill colours the verdict cell (or every cell of the header row).
void drawRow(QPainter &painter, PageFlow &flow, const QStringList &cells, double height,
             const QColor &fill, bool header)
{
    const QVector<double> widths = columnWidths(flow);
    const double pad = flow.mm(1);
    double x = 0.0;
    for (int i = 0; i < cells.size() && i < widths.size(); ++i) {
        const QRectF cell(x, flow.y, widths.at(i), height);
        const bool verdictCell = i == widths.size() - 2;
        if ((header || verdictCell) && fill.isValid())
            painter.fillRect(cell, fill);
        painter.setPen(QPen(kRuleColour, flow.mm(0.15)));
        painter.drawRect(cell);
        painter.setPen(Qt::black);
        const bool reasons = i == widths.size() - 1 && !header;
        painter.drawText(cell.adjusted(pad, pad / 2, -pad, -pad / 2),
                         (reasons ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter)) |
                             Qt::TextWordWrap,
                         cells.at(i));
        x += widths.at(i);
    }
    flow.y += height;
}

void drawTable(QPainter &painter, PageFlow &flow, const QVector<TuningReport::Channel> &channels,
               const QVector<KeyQuality> &qualities)
{
    const QStringList header = {TuningReport::tr("键名"),
                                TuningReport::tr("按键"),
                                TuningReport::tr("不触摸\n均值"),
                                TuningReport::tr("触摸\n均值"),
                                TuningReport::tr("防水\n均值"),
                                TuningReport::tr("噪声"),
                                TuningReport::tr("信号"),
                                TuningReport::tr("信噪比"),
                                TuningReport::tr("防水偏移\n(占信号)"),
                                TuningReport::tr("阈值"),
                                TuningReport::tr("触摸\n余量"),
                                TuningReport::tr("不触摸\n余量"),
                                TuningReport::tr("防水\n余量"),
                                TuningReport::tr("结论"),
                                TuningReport::tr("原因")};
    const QFont bodyFont = reportFont(kTableFontPt);
    const QFont headerFont = reportFont(kTableFontPt, true);
    painter.setFont(headerFont);
    const double headerHeight = painter.fontMetrics().height() * 2 + flow.mm(2);
    painter.setFont(bodyFont);
    const double lineHeight = painter.fontMetrics().height();
    const QVector<double> widths = columnWidths(flow);
    // A row is as high as its most wrapped cell: the reasons, or a word wider than its column
    // in a longer language.
    const auto rowHeight = [&](const QStringList &cells) {
        double height = lineHeight + flow.mm(1.6);
        for (int i = 0; i < cells.size() && i < widths.size(); ++i) {
            const QRect room(0, 0, int(widths.at(i) - flow.mm(2)), 100000);
            height = std::max(
                height,
                painter.fontMetrics().boundingRect(room, Qt::TextWordWrap, cells.at(i)).height() +
                    flow.mm(1.2));
        }
        return height;
    };
    const auto drawHeader = [&] {
        painter.setFont(headerFont);
        drawRow(painter, flow, header, headerHeight, kHeaderFill, true);
        painter.setFont(bodyFont);
    };
    flow.reserve(headerHeight + lineHeight * 2);
    drawHeader();
    for (int i = 0; i < channels.size(); ++i) {
        const KeyQuality &q = qualities.at(i);
        const QStringList cells = rowCells(channels.at(i), q);
        const double height = rowHeight(cells);
        if (flow.reserve(height))
            drawHeader();
        drawRow(painter, flow, cells, height,
                q.verdict ? KeyQuality::verdictColour(*q.verdict) : QColor(), false);
    }
    flow.y += flow.mm(3);
}

void drawRules(QPainter &painter, PageFlow &flow)
{
    const QString text = TuningReport::tr(
        "均值：结果表中的均值，即写入应用固件的值。噪声：不触摸采样的最大值减最小值（0 记为 1）。"
        "信号：触摸均值减不触摸均值，按采样的精确均值（无采样时按表中均值）。"
        "信噪比：信号除以噪声。防水偏移：防水均值减不触摸均值。"
        "阈值：应用固件 TouchThreshold 的计算（16 位无符号运算），不触摸均值加触摸摆幅的一半；"
        "防水偏移超过摆幅一半时加摆幅的四分之三。余量：触摸最小值减阈值，阈值减不触摸最大值，"
        "阈值减防水最大值。\n不合格：信号不为正，信噪比低于 5:1，触摸最小值未超过阈值，"
        "或防水最大值达到阈值。注意：信噪比低于 10:1，防水偏移达到信号的一半，"
        "或表中均值与采样不符。其余为合格。");
    painter.setFont(reportFont(8));
    painter.setPen(Qt::black);
    const QRectF box(0, 0, flow.width(), 100000);
    const double height =
        painter.fontMetrics().boundingRect(box.toRect(), Qt::TextWordWrap, text).height();
    flow.reserve(height);
    painter.drawText(QRectF(0, flow.y, flow.width(), height), Qt::TextWordWrap, text);
    flow.y += height + flow.mm(5);
}

void drawPlots(QPainter &painter, PageFlow &flow, const QVector<TuningReport::Channel> &channels,
               const QVector<KeyQuality> &qualities)
{
    const double gap = flow.mm(6);
    const double width = (flow.width() - gap * (kPlotColumns - 1)) / kPlotColumns;
    const double height = flow.mm(kPlotHeightMm);
    painter.setFont(reportFont(11, true));
    painter.setPen(Qt::black);
    const double headingHeight = painter.fontMetrics().height() + flow.mm(2);
    flow.reserve(headingHeight + height);
    painter.drawText(QRectF(0, flow.y, flow.width(), headingHeight), Qt::AlignLeft,
                     TuningReport::tr("各通道采样曲线"));
    flow.y += headingHeight;
    painter.setFont(reportFont(7.5));
    for (int i = 0; i < channels.size(); ++i) {
        const int column = i % kPlotColumns;
        if (column == 0 && i > 0)
            flow.y += height + gap / 2;
        if (column == 0)
            flow.reserve(height);
        const TuningReport::Channel &c = channels.at(i);
        const KeyQuality &q = qualities.at(i);
        const QString title = TuningReport::tr("TK%1（按键 %2）：%3")
                                  .arg(c.channel)
                                  .arg(c.keyNumber)
                                  .arg(verdictOf(q));
        // A threshold is drawn only over a positive signal; otherwise it wraps far off the curves.
        const std::optional<int> threshold = q.signal && *q.signal > 0 ? q.threshold : std::nullopt;
        SamplesPlot::draw(painter, QRectF(column * (width + gap), flow.y, width, height), title,
                          c.samples, threshold, flow.mm(0.25));
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
void drawCouplingPage(QPainter &painter, PageFlow &flow, const CouplingMatrix &matrix)
{
    flow.reserve(flow.bottom());
    painter.setPen(Qt::black);
    painter.setFont(reportFont(11, true));
    const double headingHeight = painter.fontMetrics().height() + flow.mm(2);
    painter.drawText(QRectF(0, flow.y, flow.width(), headingHeight), Qt::AlignLeft,
                     TuningReport::tr("按键耦合：触摸行按键时列按键均值的偏移"));
    flow.y += headingHeight;
    const QList<int> &columns = matrix.channels();
    const QList<int> &rows = matrix.touchedChannels();
    const double labelWidth = flow.mm(16);
    const double cell = std::min((flow.width() - labelWidth) / std::max(1, int(columns.size())),
                                 flow.mm(14));
    const double rowHeight = std::min(flow.mm(9), (flow.bottom() - flow.y - flow.mm(24)) /
                                                      std::max(1, int(rows.size()) + 1));
    painter.setFont(reportFont(6.5));
    const auto box = [&](double x, const QString &text, const QColor &fill) {
        const QRectF r(x, flow.y, x == 0 ? labelWidth : cell, rowHeight);
        if (fill.isValid())
            painter.fillRect(r, fill);
        painter.setPen(QPen(kRuleColour, flow.mm(0.15)));
        painter.drawRect(r);
        painter.setPen(Qt::black);
        painter.drawText(r, Qt::AlignCenter, text);
    };
    box(0, TuningReport::tr("触摸＼受影响"), kHeaderFill);
    for (int c = 0; c < columns.size(); ++c)
        box(labelWidth + c * cell, QStringLiteral("TK%1").arg(columns.at(c)), kHeaderFill);
    flow.y += rowHeight;
    for (int touched : rows) {
        box(0, QStringLiteral("TK%1").arg(touched), kHeaderFill);
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
        flow.y += rowHeight;
    }
    flow.y += flow.mm(3);
    painter.setFont(reportFont(8));
    const QString legend = TuningReport::tr(
        "每格上为偏移（触摸均值减不触摸均值，计数），下为其占受影响按键阈值余量（阈值减不触摸均值）"
        "的百分比；超过 50% 为警告，达到 100% 时触摸行按键会使列按键被按下，该按键判为不合格。"
        "未测防水的按键按防水不偏移时固件的阈值计算。");
    const double height =
        painter.fontMetrics()
            .boundingRect(QRect(0, 0, int(flow.width()), 100000), Qt::TextWordWrap, legend)
            .height();
    painter.drawText(QRectF(0, flow.y, flow.width(), height), Qt::TextWordWrap, legend);
    flow.y += height;
}
} // namespace

bool TuningReport::write(const QString &path, QString *error) const
{
    QSaveFile file(path);
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = tr("无法写入调试报告 %1：%2").arg(path, reason);
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    QVector<CouplingMatrix::Key> keys;
    for (const Channel &c : channels)
        keys.append({c.channel, &c.samples, c.means});
    const CouplingMatrix coupling = CouplingMatrix::measure(keys);
    QVector<KeyQuality> qualities;
    int counts[3] = {};
    int incomplete = 0;
    for (const Channel &c : channels) {
        qualities << KeyQuality::of(c.samples, c.means);
        coupling.judge(c.channel, &qualities.last());
        if (qualities.constLast().verdict)
            ++counts[int(*qualities.constLast().verdict)];
        else
            ++incomplete;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(kResolution);
        writer.setTitle(tr("%1 触摸按键调试报告").arg(projectName));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(12, 12, 12, 10), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer))
            return fail(tr("无法生成 PDF"));
        PageFlow flow(writer, painter, projectName);
        drawHeading(painter, flow,
                    tr("工程：%1　　芯片：RM3KV5172　　封装：%2　　日期：%3")
                        .arg(projectName, packageText, date.toString(QStringLiteral("yyyy-MM-dd"))),
                    tr("已测通道 %1 个：合格 %2，注意 %3，不合格 %4，数据不全 %5")
                        .arg(channels.size())
                        .arg(counts[int(KeyVerdict::Pass)])
                        .arg(counts[int(KeyVerdict::Caution)])
                        .arg(counts[int(KeyVerdict::Fail)])
                        .arg(incomplete));
        drawTable(painter, flow, channels, qualities);
        drawRules(painter, flow);
        drawPlots(painter, flow, channels, qualities);
        if (!coupling.touchedChannels().isEmpty())
            drawCouplingPage(painter, flow, coupling);
        if (!painter.end())
            return fail(tr("无法生成 PDF"));
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
