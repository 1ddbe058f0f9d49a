#ifndef TUNINGREPORT_H
#define TUNINGREPORT_H

#include "quality/channelsamples.h"
#include "quality/keysettings.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class QPainter;
class ReportPage;

// The tuning report as a PDF: project, package and date, a table of every tested channel with its
// figures, verdict and reasons, a table of each channel's settings with the thresholds and margins
// they give, and a small plot of each channel's three measured phases. It is written for people,
// so it speaks the interface's language, unlike the files meant for the tool or the firmware.
class TuningReport
{
    Q_DECLARE_TR_FUNCTIONS(TuningReport)

public:
    struct Channel
    {
        int channel = 0;
        ChannelSamples samples;
        int keyNumber = 0;
        // The means of its results row, which the firmware gets; none for a key judged from its
        // samples alone.
        KeyMeans means;
        KeySettings settings = KeySettings();
    };

    // The report's name in an application project folder.
    static QString appFileName() { return QStringLiteral("TuningReport.pdf"); }
    // The name proposed for a report exported from the results table, in the interface's
    // language: "<name>_调试报告.pdf", "<name>_tuning_report.pdf".
    static QString exportFileName(const QString &projectName);

    TuningReport(const QString &projectName, const QString &packageText, const QDate &date,
                 const QVector<Channel> &channels);

    // A page that another part of the tool adds after the report's own, from a fresh page on.
    using Page = std::function<void(QPainter &painter, ReportPage &page)>;
    void addPage(const Page &page) { pages.append(page); }
    // Everything that failed or needs attention, as the user is asked about it before a firmware
    // is generated; listed under the heading.
    void setConcerns(const QStringList &list) { concerns = list; }

    // Writes the whole report to path or leaves the path as it was; the reason of a failure goes
    // to error.
    [[nodiscard]] bool write(const QString &path, QString *error) const;

private:
    QString projectName;
    QString packageText;
    QDate date;
    QVector<Channel> channels;
    QVector<Page> pages;
    QStringList concerns;
};

#endif // TUNINGREPORT_H
