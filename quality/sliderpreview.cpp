#include "quality/sliderpreview.h"

#include "chip/chip.h"

std::optional<FirmwareSliderModel> SliderPreview::modelOf(const Slider &slider)
{
    QVector<FirmwareSliderModel::Segment> segments;
    for (int k = 0; k < slider.channels.size(); ++k) {
        const KeyMeans means = slider.means.value(k);
        if (!chip::isChannel(slider.channels.at(k)) || !means.isComplete())
            return std::nullopt;
        segments.append({*means.noTouch, *means.touch, *means.water});
    }
    if (segments.size() < FirmwareSliderModel::minSegments(slider.shape) ||
        segments.size() > FirmwareSliderModel::kMaxSegments)
        return std::nullopt;
    return FirmwareSliderModel(slider.shape, segments, slider.settings);
}

void SliderPreview::reset(const QVector<Slider> &sliders)
{
    clear();
    list = sliders;
    for (const Slider &slider : sliders)
        models.push_back(modelOf(slider));
    active = true;
}

void SliderPreview::clear()
{
    list.clear();
    models.clear();
    startMs.reset();
    seconds = 0;
    active = false;
}

QList<int> SliderPreview::feed(const QByteArray &record, qint64 ms)
{
    QList<int> changed;
    if (!active || record.size() != chip::kRecordSize)
        return changed;
    const RecordCounts counts = recordCounts(record);
    std::vector<std::pair<bool, int>> before;
    for (std::size_t i = 0; i < models.size(); ++i) {
        std::optional<FirmwareSliderModel> &model = models[i];
        before.emplace_back(model && model->touched(), model ? model->position() : 0);
        if (model)
            model->scanChannels(counts.data(), list.at(int(i)).channels);
    }
    passSeconds(ms);
    for (std::size_t i = 0; i < models.size(); ++i) {
        const std::optional<FirmwareSliderModel> &model = models[i];
        if (model && std::make_pair(model->touched(), model->position()) != before[i])
            changed << int(i);
    }
    return changed;
}

void SliderPreview::passSeconds(qint64 ms)
{
    if (!startMs)
        startMs = ms;
    const qint64 due = (ms - *startMs) / 1000;
    // As for the keys: a long gap costs no more than the longest press time.
    for (int tick = 0;
         seconds < due && tick <= KeySettings::range(KeySettings::Field::MaxPress).maximum;
         ++tick) {
        ++seconds;
        for (std::optional<FirmwareSliderModel> &model : models) {
            if (model)
                model->second();
        }
    }
    seconds = due;
}

const FirmwareSliderModel *SliderPreview::model(int index) const
{
    return index >= 0 && index < int(models.size()) && models[std::size_t(index)]
               ? &*models[std::size_t(index)]
               : nullptr;
}

std::optional<std::pair<int, int>> SliderPreview::segmentOf(int channel) const
{
    for (int i = 0; i < list.size(); ++i) {
        const int segment = list.at(i).channels.indexOf(channel);
        if (segment >= 0)
            return std::make_pair(i, segment);
    }
    return std::nullopt;
}
