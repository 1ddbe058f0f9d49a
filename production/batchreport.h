#ifndef BATCHREPORT_H
#define BATCHREPORT_H

#include "production/batchfirmware.h"
#include "production/batchstatistics.h"
#include "production/boardrecord.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QVector>

class QPainter;
class ReportPage;

// The batch report as a PDF: the yield and the failures by count, each channel's statistics with
// their process capability, the firmware values from the batch with the margin each key keeps on
// its worst board, and a histogram of each figure of each channel with its limits. Written for
// people, in the interface's language, on the tuning report's pages and tables.
class BatchReport
{
    Q_DECLARE_TR_FUNCTIONS(BatchReport)

public:
    // The report's name in an application project folder.
    static QString appFileName() { return QStringLiteral("BatchReport.pdf"); }
    // "<name>_批次报告.pdf", "<name>_batch_report.pdf".
    static QString exportFileName(const QString &projectName);

    BatchReport(const QString &projectName, const QDate &date, const QString &sources,
                const BatchStatistics &statistics, const QVector<BatchFirmware::Values> &firmware);

    // Writes the whole report to path or leaves the path as it was; the reason of a failure goes
    // to error.
    [[nodiscard]] bool write(const QString &path, QString *error) const;

    // The texts of a figure and of a process capability as the report and the batch view show
    // them: "无触摸值", "1.33" (or "—").
    static QString figureName(BoardFigure figure);
    static QString cpkText(const std::optional<double> &cpk);

private:
    // The failures, the statistics, the firmware values and the histograms.
    void drawBody(QPainter &painter, ReportPage &page) const;
    void drawHistograms(QPainter &painter, ReportPage &page) const;

    QString projectName;
    QDate date;
    QString sources;
    BatchStatistics statistics;
    QVector<BatchFirmware::Values> firmware;
};

#endif // BATCHREPORT_H
