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
    }
    active = true;
}

void KeyPreview::clear()
{
    models = {};
    keyNumbers = {};
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
    std::array<bool, chip::kChannelCount> before{};
    for (int channel = 0; channel < chip::kChannelCount; ++channel)
        before[channel] = pressed(channel);
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        std::optional<FirmwareKeyModel> &model = models[channel];
        const int count = chip::channelReading(record.constData(), record.size(), channel);
        if (!model || count < 0)
            continue;
        const quint32 bit = bitOf(keyNumbers[channel]);
        switch (model->scan(quint16(count))) {
        case FirmwareKeyModel::Step::Set:
            keyFlags |= bit;
            break;
        case FirmwareKeyModel::Step::Clear:
            keyFlags &= ~bit;
            break;
        case FirmwareKeyModel::Step::Keep:
            break;
        }
    }
    passSeconds(ms);
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (pressed(channel) != before[channel])
            changed << channel;
    }
    return changed;
}

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
