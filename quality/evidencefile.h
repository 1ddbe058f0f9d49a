#ifndef EVIDENCEFILE_H
#define EVIDENCEFILE_H

#include "quality/projectevidence.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

// A project's evidence kept beside its file as "<project name>_evidence.json", so that the project
// file stays what an older tool reads and writes. One JSON object, each part present only when
// there is one:
//   "swipes": [{"slider", "shape" ("slider", "wheel"), "on" [[channel, no-touch, touch, water
//   mean or null], ...], "verdict" ("pass", "caution", "fail", null), "linearity", "jitter" (null
//   when not measured), "restUntouched", "deadSpots" [[no touch 1 or stuck 0, from, to, ms], ...],
//   "strokes" [{"slope", "offset", "deviation", "scans" [[ms, touched, position, unwrapped],
//   ...]}, ...]}, ...]
//   "evaluation", "falseTouch": {"made" (local ISO time), "minutes", "recordings", "records",
//   "durationMs", "unmodelled", "keys" [{"channel", "key", "means", "settings" (firmware row
//   order), the key's figures by their names}, ...], "falsePresses" [[channel, recording,
//   situation, touched or -1, count, first ms, last ms], ...]}
// An evaluation keeps its false presses by group, as the report lists them, not each event.
// Decimals are written in their shortest exact form, so that every figure reads back the same.
class EvidenceFile
{
    Q_DECLARE_TR_FUNCTIONS(EvidenceFile)

public:
    // A swipe test's strokes take a few tens of KB; a larger file than this is not read.
    static constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

    static QString fileName(const QString &projectName);
    static QString backupPath(const QString &path);

    static QByteArray toJson(const ProjectEvidence &evidence);
    // Reads each part on its own: one with a value missing or out of place is left out and named
    // in unread. False, evidence untouched, when the text is no JSON object; the byte where it
    // breaks goes to brokenAt.
    static bool fromJson(const QByteArray &text, ProjectEvidence *evidence, QStringList *unread,
                         int *brokenAt = nullptr);

    // Replaces the file whole, or removes it when there is no evidence; the reason of a failure
    // goes to error.
    [[nodiscard]] static bool write(const QString &path, const ProjectEvidence &evidence,
                                    QString *error);
    // Reads the file as fromJson does; false with the reason in error when it cannot be read, is
    // larger than kMaxFileBytes or is no JSON object.
    [[nodiscard]] static bool read(const QString &path, ProjectEvidence *evidence, QString *error,
                                   QStringList *unread);
    // Moves the file to backupPath, replacing an older backup.
    [[nodiscard]] static bool keepAsBackup(const QString &path, QString *error);
};

#endif // EVIDENCEFILE_H
