#include "quality/reportpage.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

ReportPage::ReportPage(QPdfWriter &writer, QPainter &painter, const QString &footer)
    : writer(writer), painter(painter), footer(footer)
{
    drawFooter();
}

bool ReportPage::writePdf(const QString &path, const QString &title, const QString &footer,
                          const Draw &draw, QString *reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(kResolution);
        writer.setTitle(title);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(12, 12, 12, 10), QPageLayout::Millimeter));
        QPainter painter;
        reason->clear();
        if (!painter.begin(&writer))
            return false;
        ReportPage page(writer, painter, footer);
        draw(painter, page);
        if (!painter.end())
            return false;
    }
    if (!file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

QFont ReportPage::font(double pointSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

double ReportPage::width() const { return writer.width(); }

double ReportPage::bottom() const { return writer.height() - mm(7); }

bool ReportPage::reserve(double height)
{
    if (y + height <= bottom() || y == 0.0)
        return false;
    writer.newPage();
    y = 0.0;
    drawFooter();
    return true;
}

void ReportPage::paragraph(const QString &text, double spaceAfterMm)
{
    const double height =
        painter.fontMetrics()
            .boundingRect(QRect(0, 0, int(width()), 100000), Qt::TextWordWrap, text)
            .height();
    reserve(height);
    painter.drawText(QRectF(0, y, width(), height), Qt::TextWordWrap, text);
    y += height + mm(spaceAfterMm);
}

void ReportPage::heading(const QString &text)
{
    painter.setPen(Qt::black);
    painter.setFont(font(11, true));
    const double height = painter.fontMetrics().height() + mm(2);
    reserve(height * 3);
    painter.drawText(QRectF(0, y, width(), height), Qt::AlignLeft, text);
    y += height;
}

void ReportPage::drawFooter()
{
    painter.save();
    painter.setFont(font(7));
    painter.setPen(ruleColour());
    ++page;
    painter.drawText(QRectF(0, writer.height() - mm(5), width(), mm(5)),
                     Qt::AlignRight | Qt::AlignBottom,
                     QCoreApplication::translate("TuningReport", "%1 — 第 %2 页")
                         .arg(footer, QString::number(page)));
    painter.restore();
}
