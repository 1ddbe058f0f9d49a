#ifndef PRODUCTIONLOG_H
#define PRODUCTIONLOG_H

#include "production/boardrecord.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QString>
#include <QVector>

#include <optional>

// The production log beside the project, "<name>_production_<yyyy-MM-dd>.csv": one line per board
// tested that day, "board,time,verdict,TK3_notouch,TK3_noise,TK3_signal,...,reasons", after a
// header line that names the columns (written again whenever the channels change). UTF-8 with a
// byte-order mark, so that a spreadsheet shows the reasons; CR LF line ends. Each line is on the
// disk before append() returns, so a crash or a power cut loses no board that was shown.
class ProductionLog
{
    Q_DECLARE_TR_FUNCTIONS(ProductionLog)

public:
    // A day's log of many thousand boards stays far below this; a larger file is no log.
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

    static QString fileName(const QString &projectName, const QDate &date);

    static QByteArray headerLine(const QList<int> &channels);
    static QByteArray lineOf(const BoardRecord &record, const QList<int> &channels);

    // The file can be appended to (it is created, empty, when missing); the reason of a failure
    // goes to error.
    [[nodiscard]] static bool checkWritable(const QString &path, QString *error);
    // Appends the board's line, after a header when the file has none for these channels, and
    // after a line break when a cut line ends the file; flushed to the disk before it returns.
    [[nodiscard]] static bool append(const QString &path, const BoardRecord &record,
                                     const QList<int> &channels, QString *error);

    // The boards of the text; a line that is no board under a header, or names a channel twice,
    // is skipped and counted. nextBoard is the number the next counted board gets: one past the
    // largest plain number in the board column of any line, read or skipped.
    static QVector<BoardRecord> fromText(const QByteArray &text, int *skipped = nullptr,
                                         int *nextBoard = nullptr);
    // The boards of the file; false with the reason in error when it cannot be read or is larger
    // than kMaxFileBytes.
    [[nodiscard]] static bool read(const QString &path, QVector<BoardRecord> *records,
                                   QString *error, int *skipped = nullptr,
                                   int *nextBoard = nullptr);

    // A board number as the counter gives them (digits only, at most nine), or none.
    static std::optional<int> plainNumber(const QString &board);
};

#endif // PRODUCTIONLOG_H
