#ifndef EVALUATIONREPORT_H
#define EVALUATIONREPORT_H

#include "quality/recordingevaluation.h"
#include "quality/reporttable.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>
#include <QVector>

class QPainter;
class ReportPage;

// An evaluation as the window shows it and the tuning report prints it: the figures of each key
// under the settings it was made with, the false presses with their recording, and for a
// false-touch run each key's verdict. In the interface's language, as the report is.
class EvaluationReport
{
    Q_DECLARE_TR_FUNCTIONS(EvaluationReport)

public:
    struct Snapshot
    {
        RecordingEvaluation::Result result;
        // The firmware's table it was made with, the settings too.
        QVector<KeyPreview::Key> keys;
        QDateTime made;
        // A false-touch run of that many minutes; 0 for an evaluation of recordings.
        int minutes = 0;
    };

    // The columns of the evaluation's table.
    static QStringList header();
    // A key's cells under header(): name, key number, touches, hits, misses, false presses,
    // time to press "median / max", the margins to the press and release thresholds.
    static QStringList cells(const KeyPreview::Key &key,
                             const RecordingEvaluation::KeyFigures &figures);
    // The columns and cells of a false-touch run: name, false presses, largest excursion and
    // its share of the press threshold's distance, verdict.
    static QStringList quietHeader();
    static QStringList quietCells(const KeyPreview::Key &key,
                                  const RecordingEvaluation::KeyFigures &figures);
    // "合格" or "不合格".
    static QString quietVerdict(const RecordingEvaluation::KeyFigures &figures);
    // "TK3：误触发 2 次，最大偏移 180（占余量 120%），不合格"
    static QString quietLine(const KeyPreview::Key &key,
                             const RecordingEvaluation::KeyFigures &figures);
    // The heading of settingsText()'s column.
    static QString settingsHeader();
    // The settings of a key, short: "50% / 10% / 3 次 / 20 秒 / 开".
    static QString settingsText(const KeySettings &settings);

    // A page of its own: the evaluation, or the false-touch run.
    static void draw(QPainter &painter, ReportPage &page, const Snapshot &snapshot);

private:
    // The false presses by key, recording and cause: their count, first and last time; total
    // gets every false press, unlisted those of the rows beyond the page's list.
    static QVector<ReportTable::Row> falsePressRows(const RecordingEvaluation::Result &result,
                                                    int *total, int *unlisted);
};

#endif // EVALUATIONREPORT_H
