#ifndef SAMPLESFILE_H
#define SAMPLESFILE_H

#include "quality/channelsamples.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// The samples of every measured channel, kept beside the project file as
// "<project name>_samples.csv": one line per channel and measured phase, "TK3,touch,v1,...,v162",
// with CR LF line ends. The phase words are notouch, touch and water. After them, for a key whose
// touch was measured with every channel's count, "TK3,shifts,s0,...,s24": channel k's sum over
// the touch phase's records less its sum over the no-touch phase's (ShiftSums), what judges how
// a touch on that key moves the others when the project is opened again.
class SamplesFile
{
    Q_DECLARE_TR_FUNCTIONS(SamplesFile)

public:
    // Largest raw count: the board sends 16-bit counts.
    static constexpr int kMaxCount = chip::kMaxCount;
    // A file of every channel's three phases is about 75 KB; a larger one than this is no
    // samples file and is not read.
    static constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;
    // What a spreadsheet may put before the first line of a CSV file it saves as UTF-8.
    static const QByteArray kByteOrderMark;

    static QString fileName(const QString &projectName);
    // Where a file that did not read cleanly is kept: "<name>_samples.csv.bak".
    static QString backupPath(const QString &path);

    // The file's text: channels in order, each with its complete phases in the order above and
    // its shifts.
    static QByteArray toText(const SampleStore &store);
    // Reads what it can: a line with an unknown channel or phase word, a value that is no count
    // from 0 to kMaxCount, or another number of values than a phase holds is skipped and counted
    // in skipped. A later line of the same channel and phase replaces the earlier one. A UTF-8
    // byte-order mark before the first line is no part of it.
    static SampleStore fromText(const QByteArray &text, int *skipped = nullptr);

    // Replaces the file whole or leaves it as it was; the reason of a failure goes to error.
    [[nodiscard]] static bool write(const QString &path, const SampleStore &store, QString *error);
    // Fills store from the file, line by line as fromText reads; false, store untouched and the
    // reason in error when it cannot be read or is larger than kMaxFileBytes.
    [[nodiscard]] static bool read(const QString &path, SampleStore *store, QString *error,
                                   int *skipped = nullptr);
    // Moves the file to backupPath, replacing an older backup; false with the reason in error
    // when it stays where it is.
    [[nodiscard]] static bool keepAsBackup(const QString &path, QString *error);
};

#endif // SAMPLESFILE_H
