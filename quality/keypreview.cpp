#include "quality/keypreview.h"

#include "chip/chip.h"
#include "quality/channelsamples.h"
#include "quality/keyquality.h"

void KeyPreview::reset(const QList<int> &channels, const SampleStore &store)
{
    clear();
    for (int channel : channels) {
        if (chip::isChannel(channel))
            models[channel] = FirmwareKeyModel::forKey(KeyQuality::of(store.at(channel)));
    }
    active = true;
}

void KeyPreview::clear()
{
    models = {};
    active = false;
}

QList<int> KeyPreview::feed(const QByteArray &record)
{
    QList<int> changed;
    if (!active)
        return changed;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        std::optional<FirmwareKeyModel> &model = models[channel];
        const int count = chip::channelReading(record.constData(), record.size(), channel);
        if (!model || count < 0)
            continue;
        const bool before = model->pressed();
        if (model->feed(quint16(count)) != before)
            changed << channel;
    }
    return changed;
}

bool KeyPreview::pressed(int channel) const
{
    return chip::isChannel(channel) && models[channel] && models[channel]->pressed();
}
