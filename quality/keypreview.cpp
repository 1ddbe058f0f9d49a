#include "quality/keypreview.h"

#include "chip/chip.h"

void KeyPreview::reset(const QVector<Key> &keys)
{
    clear();
    for (const Key &key : keys) {
        if (!chip::isChannel(key.channel) || !key.means.isComplete())
            continue;
        models[key.channel].emplace(*key.means.noTouch, *key.means.touch, *key.means.water);
        keyNumbers[key.channel] = key.keyNumber;
    }
    active = true;
}

void KeyPreview::clear()
{
    models = {};
    keyNumbers = {};
    keyFlags = 0;
    active = false;
}

quint32 KeyPreview::bitOf(int keyNumber)
{
    // 1UL << (key - 1) on the chip: a key number outside 1 ... 32 reaches no bit.
    return keyNumber >= 1 && keyNumber <= 32 ? quint32(1) << (keyNumber - 1) : 0;
}

QList<int> KeyPreview::feed(const QByteArray &record)
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
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (pressed(channel) != before[channel])
            changed << channel;
    }
    return changed;
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
