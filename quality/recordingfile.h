#ifndef RECORDINGFILE_H
#define RECORDINGFILE_H

#include "chip/chip.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QVector>

#include <array>

class QDateTime;

// One record of a recording: when it arrived, what the run was doing, and the counts it held.
struct RecordedRecord
{
    enum class Kind : quint8 {
        None,         // no run: a record that still arrived
        Single,       // no-touch/touch test of one channel
        Auto,         // no-touch/touch test of every channel in use
        Waterproof,   // water on the pad
        Verification, // delivered by the verification reader
        End,          // no record: the run in progress ended here, as its phase says
        Mark,         // no record: what the phase says holds from here to the run's end
    };
    enum class Phase : quint8 {
        None,
        NoTouch,
        Touch,
        Water,
        Finished, // of an end: the run came to its end
        Stopped,  // of an end: the stop button
        Failed,   // of an end: the board failed, refused or went
        Untouched, // of a mark: nobody touches the panel (a false-touch run)
    };

    qint64 ms = 0; // arrival, milliseconds from the start of the recording
    Kind kind = Kind::None;
    Phase phase = Phase::None;
    qint8 channel = -1; // the channel under test, -1 for none
    quint8 crcFailed = 0;
    // The counts of the channels the record holds, from channel 0; a cut-short record holds fewer.
    quint8 countCount = 0;
    std::array<quint16, chip::kChannelCount> counts{};

    static RecordedRecord of(qint64 ms, Kind kind, Phase phase, int channel, int crcFailed,
                             const QByteArray &record);
    // The measurement record again: the tag byte and every count it held.
    QByteArray toRecord() const;
};

// A recording of the live stream as CSV: a header line naming the columns, then one line per
// record, "1534,auto,touch,TK3,0,2012,...,2310" (arrival in milliseconds, run kind, phase, the
// channel under test or "-", the check flag, then TK0 ... TK24, empty where a cut-short record
// held no count), with CR LF line ends. Where a run ended, a line of the kind "end" with no
// counts says how ("5230,end,stopped,TK5,0,,,..."; finished, stopped or failed), so that a run
// started again is replayed as a run of its own; a reader that knows no such line skips it. A
// line of the kind "mark" with no counts says what holds until that end: "untouched"
// ("0,mark,untouched,-,0,,,...") before the verification of a false-touch run, whose presses
// are all false; an older reader skips it too.
class RecordingFile
{
    Q_DECLARE_TR_FUNCTIONS(RecordingFile)

public:
    // A file above this size is no recording of ours (ten minutes at 1,000 records a second
    // take about 90 MB).
    static constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;
    // A line later than a week into the recording is no line of it.
    static constexpr qint64 kMaxMs = 7LL * 24 * 3600 * 1000;

    // "<project name>_<yyyy-MM-dd-HH-mm-ss>_rec.csv"; a further recording begun in the same
    // second as copy 2, 3, ...: "<project name>_<yyyy-MM-dd-HH-mm-ss>-2_rec.csv".
    static QString fileName(const QString &projectName, const QDateTime &start, int copy = 1);
    static QByteArray header();
    static void appendLine(QByteArray *text, const RecordedRecord &record);
    // False for a line that is no record line of a recording (the header is none either): an
    // intact record holds every channel's count, only one that failed its check may be cut short.
    static bool parseLine(const QByteArray &line, RecordedRecord *record);
    // Reads the file line by line: every record line, the other lines but the header (after a
    // UTF-8 byte-order mark, if any) counted in skipped, and so is a line whose time is earlier
    // than the record before it. False with the reason in error when it
    // cannot be read or is far larger than a recording.
    [[nodiscard]] static bool read(const QString &path, QVector<RecordedRecord> *records,
                                   int *skipped, QString *error);
};

#endif // RECORDINGFILE_H
