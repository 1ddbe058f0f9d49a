#ifndef KEYPREVIEW_H
#define KEYPREVIEW_H

#include "chip/chip.h"
#include "quality/channelsamples.h"
#include "quality/firmwarekeymodel.h"

#include <QByteArray>
#include <QList>
#include <QVector>

#include <array>
#include <optional>

// What the application firmware would decide for each key while verification streams: one
// firmware key model per channel in use whose three means the results table holds, with its
// settings, scanned in the firmware's table order (ascending channel) with that channel's count
// of every intact record, each scan setting, keeping or clearing its key's bit in the firmware's
// key flags; after the scans, each second that has passed since the first record is a second of
// the firmware's clock. Channels sharing a key number therefore share one bit, as on the chip,
// and a key number the flags have no bit for (0) is never pressed.
class KeyPreview
{
public:
    struct Key
    {
        int channel = 0;
        int keyNumber = 0;
        KeyMeans means;
        KeySettings settings = KeySettings();
    };

    // Models for those of the keys whose means are complete; the others show nothing.
    void reset(const QVector<Key> &keys);
    void clear();
    bool isActive() const { return active; }
    // One record of all channels, which must be intact (check sequence and length), at ms
    // (milliseconds on any steady clock): the channels whose pressed state changed with it. A
    // clock that goes back (a replay moved back) counts its seconds again from there.
    QList<int> feed(const QByteArray &record, qint64 ms);
    bool pressed(int channel) const;
    // The firmware model of a channel, or null when it has none.
    const FirmwareKeyModel *model(int channel) const;

private:
    // The key's bit in TouchKeyFlag; 0 for a key number without one.
    static quint32 bitOf(int keyNumber);
    // The firmware's seconds up to ms, after the record's scans.
    void passSeconds(qint64 ms);

    std::array<std::optional<FirmwareKeyModel>, chip::kChannelCount> models;
    std::array<int, chip::kChannelCount> keyNumbers{};
    quint32 keyFlags = 0;
    // The time of the first record, and the firmware's seconds counted since.
    std::optional<qint64> startMs;
    qint64 seconds = 0;
    bool active = false;
};

#endif // KEYPREVIEW_H
