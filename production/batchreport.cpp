#include "production/batchreport.h"

#include "production/histogram.h"
#include "quality/reportpage.h"
#include "quality/reporttable.h"

#include <QPainter>

#include <array>

namespace
{
constexpr std::array<BoardFigure, 3> kFigures = {BoardFigure::NoTouch, BoardFigure::Noise,
                                                 BoardFigure::Signal};
constexpr double kHistogramHeightMm = 42.0;

QString limitText(const std::optional<int> &limit)
{
    return limit ? QString::number(*limit) : QStringLiteral("—");
}

void drawLine(QPainter &painter, ReportPage &page, const QString &text, double points, bool bold)
{
    painter.setPen(Qt::black);
    painter.setFont(ReportPage::font(points, bold));
    const double height = painter.fontMetrics().height() + page.mm(points > 10 ? 2 : 0.5);
    page.reserve(height * (bold ? 3 : 1));
    painter.drawText(QRectF(0, page.y, page.width(), height), Qt::AlignLeft, text);
    page.y += height;
}

QVector<ReportTable::Row> statisticsRows(const BatchStatistics &statistics)
{
    QVector<ReportTable::Row> rows;
    for (const ChannelStats &channel : statistics.channels) {
        for (BoardFigure figure : kFigures) {
            const FigureStats &s = channel.of(figure);
            const bool any = s.count > 0;
            const bool capable = !s.cpk || *s.cpk >= 1.33;
            rows.append(
                {{QStringLiteral("TK%1").arg(channel.channel), BatchReport::figureName(figure),
                  QString::number(s.count), QString::number(s.setApart),
                  any ? QString::number(s.mean, 'f', 1) : QStringLiteral("—"),
                  any ? QString::number(s.sigma, 'f', 2) : QStringLiteral("—"),
                  any ? QString::number(s.minimum) : QStringLiteral("—"),
                  any ? QString::number(s.maximum) : QStringLiteral("—"), limitText(s.lower),
                  limitText(s.upper), BatchReport::cpkText(s.cpk)},
                 capable ? QColor() : QColor(255, 226, 166)});
        }
    }
    return rows;
}

QVector<ReportTable::Row> firmwareRows(const QVector<BatchFirmware::Values> &values)
{
    QVector<ReportTable::Row> rows;
    for (const BatchFirmware::Values &v : values) {
        const auto mean = [](const std::optional<int> &m) { return limitText(m); };
        const bool complete = v.missing.isEmpty();
        const std::optional<BatchFirmware::Margin> worst = v.worst();
        QStringList cells{QStringLiteral("TK%1").arg(v.channel),
                          QString::number(v.keyNumber),
                          QString::number(v.boards),
                          mean(v.means.noTouch),
                          mean(v.means.touch),
                          mean(v.means.water)};
        if (complete)
            cells << QString::number(v.thresholds.pressAt(*v.means.noTouch))
                  << QString::number(v.thresholds.releaseAt(*v.means.noTouch))
                  << v.marginText(v.touch, true) << v.marginText(v.noTouch, true)
                  << v.marginText(v.water, true);
        else
            cells << QStringLiteral("—") << QStringLiteral("—") << v.missing << QString()
                  << QString();
        const bool safe = complete && worst && worst->counts > 0;
        rows.append({cells, safe ? QColor(214, 240, 214) : QColor(246, 196, 196)});
    }
    return rows;
}
} // namespace

QString BatchReport::exportFileName(const QString &projectName)
{
    return tr("%1_批次报告.pdf").arg(projectName);
}

QString BatchReport::figureName(BoardFigure figure)
{
    switch (figure) {
    case BoardFigure::NoTouch:
        return tr("无触摸值");
    case BoardFigure::Noise:
        return tr("噪声");
    case BoardFigure::Signal:
        return tr("信号");
    }
    return QString();
}

QString BatchReport::cpkText(const std::optional<double> &cpk)
{
    return cpk ? QString::number(*cpk, 'f', 2) : QStringLiteral("—");
}

BatchReport::BatchReport(const QString &projectName, const QDate &date, const QString &sources,
                         const BatchStatistics &statistics,
                         const QVector<BatchFirmware::Values> &firmware)
    : projectName(projectName), date(date), sources(sources), statistics(statistics),
      firmware(firmware)
{
}

bool BatchReport::write(const QString &path, QString *error) const
{
    const auto draw = [this](QPainter &painter, ReportPage &page) {
        drawLine(painter, page, tr("批次统计报告"), 16, true);
        drawLine(painter, page,
                 tr("工程：%1　　日期：%2　　来源：%3")
                     .arg(projectName, date.toString(QStringLiteral("yyyy-MM-dd")), sources),
                 10, false);
        drawLine(painter, page,
                 tr("%1 块板：合格 %2，不合格 %3，良率 %4%")
                     .arg(statistics.boards)
                     .arg(statistics.passed)
                     .arg(statistics.boards - statistics.passed)
                     .arg(100.0 * statistics.yield(), 0, 'f', 1),
                 10, false);
        page.y += page.mm(3);
        drawBody(painter, page);
    };
    QString reason;
    if (ReportPage::writePdf(path, tr("%1 批次统计报告").arg(projectName), projectName, draw,
                             &reason))
        return true;
    if (error)
        *error =
            tr("无法写入批次报告 %1：%2").arg(path, reason.isEmpty() ? tr("无法生成 PDF") : reason);
    return false;
}

void BatchReport::drawBody(QPainter &painter, ReportPage &page) const
{
    if (!statistics.failures.isEmpty()) {
        drawLine(painter, page, tr("失败原因"), 11, true);
        QVector<ReportTable::Row> rows;
        for (const auto &failure : statistics.failures)
            rows.append(
                {{BoardFailure::shownCategory(failure.first), QString::number(failure.second)},
                 QColor()});
        ReportTable({tr("原因"), tr("板数")}, {120}, 0, -1).draw(painter, page, rows);
        page.y += page.mm(3);
    }
    drawLine(painter, page, tr("各通道统计"), 11, true);
    ReportTable({tr("通道"), tr("数值"), tr("数量"), tr("另列"), tr("均值"), tr("标准差"),
                 tr("最小"), tr("最大"), tr("下限"), tr("上限"), tr("Cpk")},
                {18, 26, 18, 16, 26, 26, 22, 22, 22, 22}, -1, 10)
        .draw(painter, page, statisticsRows(statistics));
    page.y += page.mm(3);
    drawLine(painter, page, tr("批次固件值"), 11, true);
    ReportTable({tr("通道"), tr("按键"), tr("合格板"), tr("不触摸\n均值"), tr("触摸\n均值"),
                 tr("防水\n均值"), tr("按下\n阈值"), tr("释放\n阈值"), tr("最差触摸余量"),
                 tr("最差不触摸余量"), tr("最差防水余量")},
                {16, 14, 16, 20, 20, 20, 18, 18, 45, 45}, 8, 0)
        .draw(painter, page, firmwareRows(firmware));
    page.y += page.mm(2);
    painter.setFont(ReportPage::font(8));
    page.paragraph(
        tr("统计计入每块板的测量值，合格与否，使造成不合格的散布也反映在 Cpk 中；只有焊盘短路、"
           "开路的通道的各值和未触摸或无信号的按键的信号不计入（“另列”列为其板数），它们是板的缺"
           "陷，不是过程的散布，并已列在不合格原因中。标准差按样本（n−1）计算。Cpk：均值到最近限值"
           "的距离除以三倍标准差"
           "（无触摸值按上下限，噪声按上限，信号按下限），低于 1.33 "
           "的行标为黄色。批次固件值只取合格"
           "板：不触摸均值取批次最高值，使任何板上电时计数都不高出基线一个按下偏移；触摸均值为它加"
           "上"
           "批次最弱板的信号，按下位置因而是最小摆幅的份额；防水均值加上批次最大的防水偏移（没有时"
           "用"
           "调试工程的）。余量在每块板上按其整个噪声（峰峰值）计算：触摸为信号减噪声减按下偏移，不"
           "触摸"
           "为释放偏移减噪声，防水为释放偏移减防水偏移再减噪声；没有噪声的板（没有采样文件的调试工"
           "程）"
           "按批次最大的噪声计算（没有时用调试工程的）；括号内为占摆幅的百分比及所在的板。"),
        5);
    drawHistograms(painter, page);
}

void BatchReport::drawHistograms(QPainter &painter, ReportPage &page) const
{
    const double gap = page.mm(6);
    const double width = (page.width() - 2 * gap) / 3;
    const double height = page.mm(kHistogramHeightMm);
    drawLine(painter, page, tr("各通道分布"), 11, true);
    painter.setFont(ReportPage::font(7.5));
    for (const ChannelStats &channel : statistics.channels) {
        page.reserve(height + gap / 2);
        for (int i = 0; i < int(kFigures.size()); ++i) {
            const FigureStats &s = channel.of(kFigures[i]);
            Histogram::draw(painter, QRectF(i * (width + gap), page.y, width, height),
                            tr("TK%1 %2（Cpk %3）")
                                .arg(channel.channel)
                                .arg(figureName(kFigures[i]), cpkText(s.cpk)),
                            s.values, s.lower, s.upper, page.mm(0.25));
        }
        page.y += height + gap / 2;
    }
}
