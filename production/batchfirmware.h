#ifndef BATCHFIRMWARE_H
#define BATCHFIRMWARE_H

#include "production/boardrecord.h"
#include "quality/channelsamples.h"
#include "quality/keysettings.h"
#include "quality/keythresholds.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The means the application firmware should carry so that each key's press threshold holds on
// the worst board of a batch, under the key's own settings. The firmware puts both thresholds at
// offsets above a base that follows each board's pad, and starts that base at the carried no-touch
// mean:
// - the no-touch mean carried is the highest of the batch, so that no board starts with its count
//   above the base by more than the press offset (a board lower down drops its base to its count
//   at once, the firmware's quick recovery);
// - the swing carried (touch minus no-touch) is the weakest board's signal, so that the press
//   position is a share of the smallest swing of the batch;
// - the water shift carried is the largest the batch shows, or the tuned project's.
// Only the boards that passed count. On each board a margin is taken with the board's whole noise
// (peak to peak) on the side that narrows it: touch (signal - noise - press offset), no touch
// (release offset - noise), water (release offset - water shift - noise). A board without a noise
// of its own (a tuned project without its samples) is taken at the largest noise of the batch, or
// the tuned project's; with neither, the key has no values.
class BatchFirmware
{
    Q_DECLARE_TR_FUNCTIONS(BatchFirmware)

public:
    // A key of the project: its channel, key number, the tuned means of its results row, its
    // settings and its tuned noise.
    struct Key
    {
        int channel = 0;
        int keyNumber = 0;
        KeyMeans tuned;
        KeySettings settings = KeySettings();
        std::optional<int> tunedNoise;
    };
    // The smallest margin over the boards and the board it was found on.
    struct Margin
    {
        int counts = 0;
        QString board;
    };
    struct Values
    {
        int channel = 0;
        int keyNumber = 0;
        int boards = 0; // passed boards that showed the channel
        KeyMeans means; // what the firmware carries; a mean that cannot be had is absent
        KeySettings settings = KeySettings();
        KeyThresholds thresholds;
        std::optional<Margin> touch;
        std::optional<Margin> noTouch;
        std::optional<Margin> water;
        // Why the values are missing: no board, no signal, no water shift, no noise.
        QString missing;

        // The smallest of the three margins.
        std::optional<Margin> worst() const;
        // A margin as "132（44%）" of the carried swing, with the board "（板 17）" when shown.
        QString marginText(const std::optional<Margin> &margin, bool withBoard) const;
    };

    static QVector<Values> of(const QVector<BoardRecord> &boards, const QVector<Key> &keys);
    // Keys whose values are missing or whose worst margin is not positive, with why, in the
    // interface's language: "TK3：板 17 上的触摸余量 -12".
    static QStringList concerns(const QVector<Values> &values);

private:
    static Values valuesOf(const QVector<BoardRecord> &passed, const Key &key);
};

#endif // BATCHFIRMWARE_H
