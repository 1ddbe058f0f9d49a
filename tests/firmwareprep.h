#ifndef FIRMWAREPREP_H
#define FIRMWAREPREP_H

#include "link/encodedecode.h"
#include "link/reportparser.h"
#include "quality/channelsamples.h"
#include "quality/keysettings.h"

#include <QByteArray>
#include <QString>

#include <functional>

struct hid_device_;

namespace testsupport
{
class FakePinMap;
}

// What firmwarecheck's prepare step leaves in the work folder for its compare step.
namespace firmwarecheck
{
// Exit status of a check that could not run, as against one that found a mismatch (1).
constexpr int kRunFailed = 2;

inline const QString kScanSource = QStringLiteral("/User/C/TouchKeyScan.c");
// Records of records.bin to a second of the firmware's clock: a finger held for 255 seconds fits
// in a few thousand records.
constexpr int kRecordsPerSecond = 5;
inline const QString kRecordsFile = QStringLiteral("records.bin");
inline const QString kSliderRecordsFile = QStringLiteral("sliders.bin");
inline QString recordsPath(const QString &work, const QString &file = kRecordsFile)
{
    return work + QLatin1Char('/') + file;
}

// Prints the message and returns kRunFailed.
int fail(const QString &message);
bool writeFile(const QString &path, const QByteArray &bytes);

// The simulated board through hidapi, its records decoded as the tool's readers decode them.
class BoardRecords
{
public:
    ~BoardRecords();
    bool start();
    // Drops what the board queued before its last change, so the next record follows it.
    void drain();
    // The next intact record; empty when the board stays silent.
    QByteArray next();
    // Records in the board's present state, length of them or up to count in all in stream;
    // false when the board went silent.
    bool take(int length, int count, QByteArray *stream);

private:
    hid_device_ *device = nullptr;
    EncodeDecode codec;
    DecoderState decoder;
};

// Every channel's three phases, measured at once as the tests measure one channel.
bool measure(BoardRecords &board, SampleStore *store);
// The application project for the pin map, with the means measured in store and each key's
// settings, generated as "生成应用代码" does and moved to folder.
bool generateApplication(const SampleStore &store, const testsupport::FakePinMap &pins,
                         const std::function<KeySettings(int channel)> &settings,
                         const QString &templates, const QString &folder);
// The application project with sliders and wheels (appsliders) and its records (sliders.bin),
// count of them: swipes, rests, water and noise on a board of its own.
int prepareSliders(const QString &templates, const QString &work, int count);

// Measures every channel on the simulated board, writes with the tool's own
// generator the application projects for 1, 16 and 25 channels (app1, app16, app25) and the test
// firmware as Save & Download rewrites it for 25 channels (test25), and records.bin: count
// records of the board under fingers, water, noise and drift. 0 when all is written.
int prepare(const QString &templates, const QString &work, int count);
} // namespace firmwarecheck

#endif // FIRMWAREPREP_H
