#include "quality/keypreview.h"

#include "chip/chip.h"

void KeyPreview::reset(const QVector<Key> &keys)
{
    clear();
    for (const Key &key : keys) {
        if (!chip::isChannel(key.channel) || !key.means.isComplete())
            continue;
        models[key.channel].emplace(*key.means.noTouch, *key.means.touch, *key.means.water,
                                    key.settings);
        keyNumbers[key.channel] = key.keyNumber;
        bits[key.channel] = bitOf(key.keyNumber);
    }
    active = true;
}

void KeyPreview::clear()
{
    models = {};
    keyNumbers = {};
    bits = {};
    keyFlags = 0;
    startMs.reset();
    seconds = 0;
    active = false;
}

quint32 KeyPreview::bitOf(int keyNumber)
{
    // 1UL << (key - 1) on the chip: a key number outside 1 ... 32 reaches no bit.
    return keyNumber >= 1 && keyNumber <= 32 ? quint32(1) << (keyNumber - 1) : 0;
}

QList<int> KeyPreview::feed(const QByteArray &record, qint64 ms)
{
    QList<int> changed;
    if (!active || record.size() != chip::kRecordSize)
        return changed;
    const quint32 mask = feedCounts(recordCounts(record), ms);
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (mask & (quint32(1) << channel))
            changed << channel;
    }
    return changed;
}

quint32 KeyPreview::feedCounts(const RecordCounts &counts, qint64 ms)
{
    if (!active)
        return 0;
    const quint32 before = keyFlags;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        std::optional<FirmwareKeyModel> &model = models[channel];
        if (!model)
            continue;
        switch (model->scan(counts[channel])) {
        case FirmwareKeyModel::Step::Set:
            keyFlags |= bits[channel];
            break;
        case FirmwareKeyModel::Step::Clear:
            keyFlags &= ~bits[channel];
            break;
        case FirmwareKeyModel::Step::Keep:
            break;
        }
    }
    passSeconds(ms);
    // Most records change no key: nothing more to do.
    return keyFlags == before ? 0 : channelsOf(keyFlags) ^ channelsOf(before);
}

quint32 KeyPreview::channelsOf(quint32 flags) const
{
    quint32 mask = 0;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if ((flags & bits[channel]) != 0)
            mask |= quint32(1) << channel;
    }
    return mask;
}

quint32 KeyPreview::pressedChannels() const { return channelsOf(keyFlags); }

void KeyPreview::passSeconds(qint64 ms)
{
    if (!startMs)
        startMs = ms;
    const qint64 due = (ms - *startMs) / 1000;
    // A second beyond the longest press time releases nothing more: a long gap costs no more
    // than that.
    for (int tick = 0;
         seconds < due && tick <= KeySettings::range(KeySettings::Field::MaxPress).maximum;
         ++tick) {
        ++seconds;
        for (int channel = 0; channel < chip::kChannelCount; ++channel) {
            if (models[channel] && models[channel]->second())
                keyFlags &= ~bitOf(keyNumbers[channel]);
        }
    }
    seconds = due;
}

bool KeyPreview::pressed(int channel) const
{
    if (!chip::isChannel(channel) || !models[channel])
        return false;
    const quint32 bit = bitOf(keyNumbers[channel]);
    return (keyFlags & bit) != 0;
}

const FirmwareKeyModel *KeyPreview::model(int channel) const
{
    return chip::isChannel(channel) && models[channel] ? &*models[channel] : nullptr;
}
