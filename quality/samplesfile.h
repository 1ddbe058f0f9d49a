#ifndef SAMPLESFILE_H
#define SAMPLESFILE_H

#include "quality/channelsamples.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// The samples of every measured channel, kept beside the project file as
// "<project name>_samples.csv": one line per channel and measured phase, "TK3,touch,v1,...,v162",
// with CR LF line ends. The phase words are notouch, touch and water.
class SamplesFile
{
    Q_DECLARE_TR_FUNCTIONS(SamplesFile)

public:
    // Largest raw count: the board sends 16-bit counts.
    static constexpr int kMaxCount = 65535;

    static QString fileName(const QString &projectName);

    // The file's text: channels in order, each with its complete phases in the order above.
    static QByteArray toText(const SampleStore &store);
    // Reads what it can: a line with an unknown channel or phase word, a value that is no count
    // from 0 to kMaxCount, or another number of values than a phase holds is skipped and counted
    // in skipped. A later line of the same channel and phase replaces the earlier one.
    static SampleStore fromText(const QByteArray &text, int *skipped = nullptr);

    // Replaces the file whole or leaves it as it was; the reason of a failure goes to error.
    [[nodiscard]] static bool write(const QString &path, const SampleStore &store, QString *error);
    // Fills store from the file; false, store untouched and the reason in error when it cannot be
    // read.
    [[nodiscard]] static bool read(const QString &path, SampleStore *store, QString *error,
                                   int *skipped = nullptr);
};

#endif // SAMPLESFILE_H
