#ifndef SLIDERPREVIEW_H
#define SLIDERPREVIEW_H

#include "quality/channelsamples.h"
#include "quality/firmwareslidermodel.h"
#include "quality/keysettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

#include <optional>
#include <vector>

// What the application firmware would report for each slider and wheel while verification
// streams: one slider model per slider whose segments all have their three means, scanned with
// the segments' counts of every intact record after the keys, and the firmware's seconds since
// the first record, as the key preview counts them.
class SliderPreview
{
public:
    struct Slider
    {
        QString name;
        SliderShape shape = SliderShape::Slider;
        // The segments' channels in order along the slider, and their means.
        QVector<int> channels;
        QVector<KeyMeans> means;
        KeySettings settings = KeySettings();
    };

    // A model for each slider whose segments' means are complete; the others show nothing.
    void reset(const QVector<Slider> &sliders);
    void clear();
    bool isActive() const { return active; }
    // One intact record at ms: the indices of the sliders whose touch or position changed.
    QList<int> feed(const QByteArray &record, qint64 ms);

    int count() const { return int(list.size()); }
    const Slider &slider(int index) const { return list.at(index); }
    // The slider's model, or null when its means are incomplete.
    const FirmwareSliderModel *model(int index) const;
    // The slider and segment a channel is in, as (slider index, segment); none for a key.
    std::optional<std::pair<int, int>> segmentOf(int channel) const;

    // The model of a slider from its segments' means, or none when one lacks a mean.
    static std::optional<FirmwareSliderModel> modelOf(const Slider &slider);

private:
    void passSeconds(qint64 ms);

    QVector<Slider> list;
    std::vector<std::optional<FirmwareSliderModel>> models;
    std::optional<qint64> startMs;
    qint64 seconds = 0;
    bool active = false;
};

#endif // SLIDERPREVIEW_H
