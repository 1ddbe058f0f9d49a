#ifndef REPORTPAGE_H
#define REPORTPAGE_H

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>

class QPainter;
class QPdfWriter;

// The pages of the tuning report as they fill: places blocks down the pages of the writer,
// breaking to a new page, with its footer, when a block does not fit.
class ReportPage
{
public:
    static constexpr int kResolution = 300; // device units per inch of the PDF

    ReportPage(QPdfWriter &writer, QPainter &painter, const QString &footer);

    using Draw = std::function<void(QPainter &painter, ReportPage &page)>;
    // Writes an A4 landscape PDF titled title whose pages draw fills, each with footer, or leaves
    // the path as it was. A failure's reason goes to reason: the file's error, or empty when the
    // PDF could not be drawn.
    [[nodiscard]] static bool writePdf(const QString &path, const QString &title,
                                       const QString &footer, const Draw &draw, QString *reason);

    // The report's fonts: CJK fonts of Windows first, then those of Linux desktops.
    static QFont font(double pointSize, bool bold = false);
    static QColor headerFill() { return QColor(232, 232, 232); }
    static QColor ruleColour() { return QColor(150, 150, 150); }

    double mm(double v) const { return v * kResolution / 25.4; }
    double width() const;
    double bottom() const;
    // Moves to a new page unless height fits below y; true when it broke the page.
    bool reserve(double height);
    // Word-wrapped text across the page in the painter's font, and the room after it.
    void paragraph(const QString &text, double spaceAfterMm);
    // A section's heading in bold, kept on the page with room for a few lines under it.
    void heading(const QString &text);

    double y = 0.0;

private:
    void drawFooter();

    QPdfWriter &writer;
    QPainter &painter;
    QString footer;
    int page = 0;
};

#endif // REPORTPAGE_H
