#ifndef PROJECTBATCH_H
#define PROJECTBATCH_H

#include "production/boardrecord.h"

#include <QCoreApplication>
#include <QString>

// A tuned project as one board of a batch: each channel of its results rows with the figures of
// its samples file beside it (no-touch mean as the row holds it, noise, signal and water shift).
// The board is named after the project and dated by its file; its verdict is given against the
// limits of the project open now, by the caller.
class ProjectBatch
{
    Q_DECLARE_TR_FUNCTIONS(ProjectBatch)

public:
    // False with the reason in error when the file is no project with results.
    [[nodiscard]] static bool read(const QString &iniPath, BoardRecord *board, QString *error);
};

#endif // PROJECTBATCH_H
