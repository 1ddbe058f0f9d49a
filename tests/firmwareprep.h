#ifndef FIRMWAREPREP_H
#define FIRMWAREPREP_H

#include <QByteArray>
#include <QString>

// What firmwarecheck's prepare step leaves in the work folder for its compare step.
namespace firmwarecheck
{
// Exit status of a check that could not run, as against one that found a mismatch (1).
constexpr int kRunFailed = 2;

inline const QString kScanSource = QStringLiteral("/User/C/TouchKeyScan.c");
// Records of records.bin to a second of the firmware's clock: a finger held for 255 seconds fits
// in a few thousand records.
constexpr int kRecordsPerSecond = 5;
inline QString recordsPath(const QString &work) { return work + QLatin1String("/records.bin"); }

// Prints the message and returns kRunFailed.
int fail(const QString &message);
bool writeFile(const QString &path, const QByteArray &bytes);

// Measures every channel on the simulated board, writes with the tool's own
// generator the application projects for 1, 16 and 25 channels (app1, app16, app25) and the test
// firmware as Save & Download rewrites it for 25 channels (test25), and records.bin: count
// records of the board under fingers, water, noise and drift. 0 when all is written.
int prepare(const QString &templates, const QString &work, int count);
} // namespace firmwarecheck

#endif // FIRMWAREPREP_H
