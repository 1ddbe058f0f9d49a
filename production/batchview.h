#ifndef BATCHVIEW_H
#define BATCHVIEW_H

#include "production/batchfirmware.h"
#include "production/batchstatistics.h"
#include "production/boardrecord.h"

#include <QStringList>
#include <QVector>
#include <QWidget>

#include <functional>

class HistogramView;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

// "批次统计": the boards of one or more production logs, or of several tuned projects, with the
// yield, the failures by count, each channel's statistics and process capability against the
// limits of the project open now, the histogram of the chosen channel and figure, and the
// firmware values from the batch with each key's margin on its worst board.
class BatchView : public QWidget
{
    Q_OBJECT

public:
    explicit BatchView(QWidget *parent = nullptr);

    // The limits a channel is held to, and the keys of the project open now.
    std::function<ChannelLimits(int channel)> limitsOf;
    std::function<QVector<BatchFirmware::Key>()> keys;
    // The file dialog to open several files; the platform's unless replaced.
    std::function<QStringList(QWidget *parent, const QString &caption, const QString &filter)>
        chooseFiles;
    // Today's log of the project, for "今日记录".
    std::function<QString()> todayLog;

    // Adds the boards of production logs, or of tuned projects judged against the limits; the
    // files that could not be read are told in a box. A file already in the batch gives its
    // boards as it holds them now in place of those it gave before (today's log grows). The
    // batch is shown anew.
    void addLogs(const QStringList &paths);
    void addProjects(const QStringList &paths);
    void clear();
    // Every figure anew from the boards, under the limits and keys as they are now.
    void refresh();

    const QVector<BoardRecord> &boards() const { return batch; }
    const BatchStatistics &statistics() const { return stats; }
    const QVector<BatchFirmware::Values> &firmware() const { return values; }
    // The files the boards came from, by name.
    QString sources() const;

signals:
    void generateRequested();
    void reportRequested();

private:
    // A file of the batch: its path as the system names it, and the boards it gave.
    struct Source
    {
        QString path;
        QVector<BoardRecord> boards;
        int skippedLines = 0;
    };
    void addSource(const QString &path, const QVector<BoardRecord> &boards, int skippedLines);
    void showStatistics();
    void showFirmware();
    void showHistogram();
    void warnUnread(const QStringList &failures);

    QVector<Source> sourceFiles;
    // Every source's boards, in the order the sources came.
    QVector<BoardRecord> batch;
    int skippedLines = 0;
    BatchStatistics stats;
    QVector<BatchFirmware::Values> values;
    QLabel *summaryLabel = nullptr;
    QComboBox *figureBox = nullptr;
    QTableWidget *statsTable = nullptr;
    QListWidget *failureList = nullptr;
    QTableWidget *firmwareTable = nullptr;
    HistogramView *histogram = nullptr;
    QPushButton *generateButton = nullptr;
    QPushButton *reportButton = nullptr;
};

#endif // BATCHVIEW_H
