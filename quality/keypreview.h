#ifndef KEYPREVIEW_H
#define KEYPREVIEW_H

#include "chip/chip.h"
#include "quality/firmwarekeymodel.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <optional>

class SampleStore;

// What the application firmware would decide for each key while verification streams: one
// firmware key model per channel in use whose three phases are measured, fed with that channel's
// count of every record.
class KeyPreview
{
public:
    // Models for those of the channels whose samples are complete; the others show nothing.
    void reset(const QList<int> &channels, const SampleStore &store);
    void clear();
    bool isActive() const { return active; }
    // One record of all channels: the channels whose pressed state changed with it.
    QList<int> feed(const QByteArray &record);
    bool pressed(int channel) const;

private:
    std::array<std::optional<FirmwareKeyModel>, chip::kChannelCount> models;
    bool active = false;
};

#endif // KEYPREVIEW_H
