#ifndef NUMBERSVIEW_H
#define NUMBERSVIEW_H

#include "charts/framethrottle.h"
#include "quality/streamnumbers.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVector>

class KeyPreview;
class QTableWidget;

// The numbers beside the live curves during verification: one row per channel shown, with its
// raw count, the firmware's base, press and release thresholds, the delta over the base, the
// pressed state and the noise of the last second. Every record goes into the figures; the table
// shows them a few times a second, so that they can be read, and holds still while the picture is
// paused. A figure that is not known reads "-".
class NumbersView : public QObject
{
    Q_OBJECT

public:
    // Table updates a second at most: as often as figures can be read, since redrawing 200 cells
    // costs more than the rest of a record's way through verification.
    static constexpr int kUpdatesPerSecond = 4;

    NumbersView(QTableWidget *table, const KeyPreview &preview, QObject *parent = nullptr);

    // Shows the table with a row per channel, the figures afresh.
    void start(const QList<int> &channels);
    // Hides the table.
    void stop();
    void feed(qint64 arrivalMs, const QByteArray &record);
    void setPaused(bool paused) { frames.hold(paused); }
    // Shows the figures now if they changed since they were last shown.
    void flush() { frames.flush(); }
    const StreamNumbers &numbers() const { return model; }
    // The texts of a row, in column order.
    static QStringList cells(const StreamNumbers::Row &row);

private:
    void show();

    QTableWidget *table;
    const KeyPreview &preview;
    StreamNumbers model;
    FrameThrottle frames;
};

#endif // NUMBERSVIEW_H
