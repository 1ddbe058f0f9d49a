#include "quality/streamnumbers.h"

#include "quality/keypreview.h"

#include <algorithm>

void StreamNumbers::reset(const QList<int> &channels)
{
    shown.clear();
    for (int channel : channels) {
        if (chip::isChannel(channel) && !shown.contains(channel))
            shown << channel;
    }
    latest = {};
    for (auto &window : recent)
        window.clear();
}

void StreamNumbers::feed(qint64 arrivalMs, const QByteArray &record)
{
    for (int channel : qAsConst(shown)) {
        const int count = chip::channelReading(record.constData(), record.size(), channel);
        if (count < 0)
            continue;
        latest[channel] = count;
        auto &window = recent[channel];
        window.emplace_back(arrivalMs, count);
        while (!window.empty() && window.front().first <= arrivalMs - kNoiseWindowMs)
            window.pop_front();
    }
}

QVector<StreamNumbers::Row> StreamNumbers::rows(const KeyPreview &preview) const
{
    QVector<Row> result;
    result.reserve(shown.size());
    for (int channel : shown) {
        Row row;
        row.channel = channel;
        row.raw = latest[channel];
        if (const FirmwareKeyModel *model = preview.model(channel)) {
            row.base = model->base();
            row.pressThreshold = model->pressThreshold();
            row.releaseThreshold = model->releaseThreshold();
            if (row.raw)
                row.delta = *row.raw - model->base();
        }
        row.pressed = preview.pressed(channel);
        const auto &window = recent[channel];
        if (!window.empty()) {
            const auto [low, high] = std::minmax_element(
                window.cbegin(), window.cend(),
                [](const auto &a, const auto &b) { return a.second < b.second; });
            row.noise = high->second - low->second;
        }
        result << row;
    }
    return result;
}
