#ifndef SOURCEGENERATOR_H
#define SOURCEGENERATOR_H

#include "chip/chip.h"
#include "quality/channelsamples.h"
#include "quality/keysettings.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

class PinMapSource;
class ResultsTable;
class QWidget;

// Writes the touch configuration into a firmware template's TouchKeyScan.h / TouchKeyScan.c: the
// channel count, the channel table, the keys' settings table and the deep-sleep row replace the
// lines that belong to their marker lines; every other line is copied. The text functions work on
// LF text and are pure; the file functions read and write the Windows files byte for byte
// (TextFile), encode what they put in, and show the failure message.
class SourceGenerator
{
    Q_DECLARE_TR_FUNCTIONS(SourceGenerator)

public:
    // Key number, channel index and fixed placeholder values for every channel in use, ascending.
    static QStringList channelConfigRows(const PinMapSource &pins);
    // One row per channel in use, ascending: its key number in the pin map, the channel, 20, and
    // the no-touch, touch and waterproof means of the channel's results row. A channel that lacks
    // a mean is named in *incomplete with what it lacks, for example "TK3（防水）".
    static QStringList resultRows(const PinMapSource &pins, const ResultsTable &results,
                                  QStringList *incomplete);
    // The same rows with each channel's means from meansOf (a batch's firmware values).
    static QStringList resultRows(const PinMapSource &pins,
                                  const std::function<KeyMeans(int channel)> &meansOf,
                                  QStringList *incomplete);
    // One row per channel in use, ascending as the channel table's rows: the key's settings as
    // the firmware's settings table holds them, "50,10,3,20,1,". Every segment of a slider or
    // wheel carries the slider's (KeySettings::ofSlider of its segments').
    static QStringList keySettingsRows(const PinMapSource &pins,
                                       const std::function<KeySettings(int channel)> &settingsOf);
    // Bit (key number - 1) mod 32 for every channel in use whose wake box is ticked; a key number
    // beyond the keys the package offers, or below 0, sets no bit.
    static quint32 wakeKeyMask(const PinMapSource &pins,
                               const bool (&wakeKey)[chip::kChannelCount]);
    // Eight comma-terminated fields: enable, wake-time index, the entry time's quotient and
    // remainder by 256 (text that is no integer counts as 0), mask bytes 31..24 down to 7..0.
    static QString deepSleepRow(bool lowPower, int wakeTimeIndex, const QString &enterTimeText,
                                quint32 wakeKeyMask);
    static QString channelCountLine(int channelCount);
    // One row per complete slider or wheel, in the pin map's order: its shape (0 slider,
    // 1 wheel), its segment count and its segments' rows of the channel table, padded with 0 to
    // eight, and its name in a comment: "0,4,3,4,5,6,0,0,0,0, /* S1 */".
    static QStringList sliderRows(const PinMapSource &pins);
    static QString sliderCountLine(int sliderCount);
    // The slider count's line ("TKL_SLD_NUM") becomes the count. False, out untouched, when the
    // text has no such line but sliders are to be written.
    [[nodiscard]] static bool rewriteSliderCountText(const QString &text, int sliderCount,
                                                     QString *out);
    // The lines between the "TKSliderCfg" line and its closing "};" become rows. False, out
    // untouched, when the text has no such table but rows are to be written.
    [[nodiscard]] static bool rewriteSliderTableText(const QString &text, const QStringList &rows,
                                                     QString *out);

    // Every line holding "TKL_CHN_NUM" becomes the channel-count line.
    static QString rewriteChannelCountText(const QString &text, int channelCount);
    // The lines between a "TKChnCfg" line and its closing "};" (within the next 26 lines) become
    // rows. False, out untouched, when a marker has no closing line or nothing after it.
    [[nodiscard]] static bool rewriteChannelTableText(const QString &text, const QStringList &rows,
                                                      QString *out);
    // The lines between the "TKKeyCfg" line and its closing "};" become rows, as for the
    // channel table. False, out untouched, when the text has no such table.
    [[nodiscard]] static bool rewriteKeySettingsTableText(const QString &text,
                                                          const QStringList &rows, QString *out);
    // The line after a "DeepSleepCfg" line becomes row; its "};" must stand two lines below the
    // marker with one more line after it, else false with out untouched.
    [[nodiscard]] static bool rewriteDeepSleepCfgText(const QString &text, const QString &row,
                                                      QString *out);

    // The file versions. A missing file counts as empty text and is created. An empty,
    // unreadable or misshapen file is left as it is: the failure message is shown in a "提示"
    // box over parent and the result is false. A file that does not open for writing keeps its
    // content and the result is true.
    [[nodiscard]] static bool rewriteChannelCount(QWidget *parent, const QString &path,
                                                  int channelCount, const QString &failureMessage);
    [[nodiscard]] static bool rewriteChannelTable(QWidget *parent, const QString &path,
                                                  const QStringList &rows);
    [[nodiscard]] static bool rewriteDeepSleepCfg(QWidget *parent, const QString &path,
                                                  const QString &row);
    // A source without the settings table (from a template older than the settings) is a
    // failure too: its firmware would not carry them.
    [[nodiscard]] static bool rewriteKeySettingsTable(QWidget *parent, const QString &path,
                                                      const QStringList &rows);
    // The sliders' count into the header and their table into the source; a template older
    // than the sliders fails when there are any.
    [[nodiscard]] static bool rewriteSliders(QWidget *parent, const QString &header,
                                             const QString &source, const PinMapSource &pins);
};

#endif // SOURCEGENERATOR_H
