#ifndef PACKAGEWIDGET_H
#define PACKAGEWIDGET_H

#include "chip/chip.h"
#include "project/sliderdefinition.h"

#include <QList>
#include <QPalette>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <array>
#include <optional>
#include <utility>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

// The pin map of one chip package, edited on a drawing of the package: a click on a pin button
// puts the channel in use and offers the free key numbers in a menu; while a slider or wheel is
// being made, the clicks pick its segments in order instead. The three package widgets derive
// from it and add only their form and pin list.
class PackageWidget : public QWidget
{
    Q_OBJECT

public:
    // The pin map itself. Read by the tests, the results table, the generator and the project
    // file; written here by the pin clicks and by applyLoadedMap() when a project is loaded.
    // 1 = in use; any other value counts as not in use.
    std::array<int, chip::kChannelCount> channelInUse{};
    // 1 ... K, 0 = no key chosen.
    std::array<int, chip::kChannelCount> keyNumber{};
    // Entry k - 1 is true while some channel holds key k.
    QVector<bool> keyTaken;
    int pendingChannel = -1;
    int inUseCount = 0;
    QMenu *keyMenu = nullptr;
    QList<QAction *> keyActions;
    QPalette whitePalette;
    QPalette greenPalette;
    // The look of a slider's or wheel's segment.
    QPalette bluePalette;
    // The sliders and wheels made of this package's channels, in the order they were made. Their
    // channels are in use without a key number.
    QVector<SliderDefinition> sliders;
    // The definition whose segments the pin clicks pick, instead of offering keys; -1 for none.
    int pickingSlider = -1;

    // Number of keys the menu offers (25, 17 or 13).
    int keyCount() const { return keyTaken.size(); }
    bool hasPin(int channel) const;
    bool isInUse(int channel) const;
    // The channels that have a pin in this package, in ascending order.
    const QVector<int> &pinChannels() const { return channels; }
    QPushButton *pinButton(int channel) const;
    QLabel *keyLabel(int channel) const;

    // Every channel out of use, every key free, every button white and every key label empty.
    void reset();
    // Repaints every channel from channelInUse and keyNumber.
    void refresh();
    // Marks exactly the keys held by channels in use as taken, and recounts inUseCount; used
    // after the arrays were written from outside.
    void rebuildKeyTaken();
    // Replaces the pin map with one read from a project file and repaints it. Values are kept as
    // stored (a flag other than 1 counts as not in use), except on channels without a pin in this
    // package, which stay out of use.
    void applyLoadedMap(const std::array<int, chip::kChannelCount> &inUse,
                        const std::array<int, chip::kChannelCount> &keys);

    // The definition and segment a channel in use is in, as (index, segment); none for a key.
    std::optional<std::pair<int, int>> segmentOf(int channel) const;
    // A new slider or wheel with the next free name, whose segments the next pin clicks pick in
    // order; its index.
    int startPicking(SliderDefinition::Kind kind);
    // Picking ends; a definition without a segment is dropped.
    void stopPicking();
    // The definition goes and its channels out of use.
    void removeSlider(int index);
    // The segments in the other order (the slider's position then counts from the other end).
    void reverseSlider(int index);
    // Replaces the definitions with ones read from a project file: each channel in use, without
    // a key number and in no other definition. Definitions that are not are left out and
    // named in the result, which is empty when all were taken.
    QStringList applyLoadedSliders(const QVector<SliderDefinition> &definitions);

signals:
    // A definition was made, changed or removed, or picking began or ended.
    void slidersChanged();

public slots:
    void SlotMenuClicked(QAction *action);

protected:
    explicit PackageWidget(QWidget *parent = nullptr);

    // Called by the package class once its form is set up: finds the pin buttons btnK<n> and the
    // key labels labelKey_<i> (numbered in ascending channel order) and builds the key menu.
    // The form's pin buttons and key labels of the package's channels; the menu offers one key
    // number per channel pin.
    template <std::size_t N> void attachForm(const std::array<int, N> &pinChannels)
    {
        attachForm(QVector<int>(pinChannels.begin(), pinChannels.end()));
    }
    void attachForm(const QVector<int> &pinChannelList);
    // Click on the pin button of a channel.
    void pinClicked(int channel);

private:
    // A click while picking: a free channel becomes the next segment, a segment of the slider
    // picked leaves it; a key's or another slider's channel is refused.
    void pickChannel(int channel);
    // A segment's channel out of use and out of its definition.
    void releaseSegment(int channel);
    // The channel out of use: no key number, no label.
    void clearChannel(int channel);
    void paintChannel(int channel);
    int countInUse() const;

    QVector<int> channels;
    std::array<QPushButton *, chip::kChannelCount> buttons{};
    std::array<QLabel *, chip::kChannelCount> keyLabels{};
};

#endif // PACKAGEWIDGET_H
