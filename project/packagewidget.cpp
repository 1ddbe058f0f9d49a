#include "project/packagewidget.h"

#include "chip/chip.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

PackageWidget::PackageWidget(QWidget *parent) : QWidget(parent) {}

void PackageWidget::attachForm(const QVector<int> &pinChannelList)
{
    channels = pinChannelList;
    for (int i = 0; i < channels.size(); ++i) {
        const int channel = channels.at(i);
        buttons[channel] = findChild<QPushButton *>(QStringLiteral("btnK%1").arg(channel));
        keyLabels[channel] = findChild<QLabel *>(QStringLiteral("labelKey_%1").arg(i + 1));
        Q_ASSERT(buttons[channel] && keyLabels[channel]);
    }
    keyTaken = QVector<bool>(channels.size(), false);
    whitePalette = QPalette(Qt::white);
    greenPalette = QPalette(Qt::green);
    bluePalette = QPalette(QColor(120, 200, 255));
    reset();

    keyMenu = new QMenu(this);
    for (int k = 1; k <= keyTaken.size(); ++k)
        keyActions << keyMenu->addAction(tr("key%1").arg(k));
    connect(keyMenu, &QMenu::triggered, this, &PackageWidget::SlotMenuClicked);
}

bool PackageWidget::hasPin(int channel) const
{
    return channel >= 0 && channel < chip::kChannelCount && buttons[channel] != nullptr;
}

bool PackageWidget::isInUse(int channel) const
{
    return channel >= 0 && channel < chip::kChannelCount && channelInUse[channel] == 1;
}

QPushButton *PackageWidget::pinButton(int channel) const
{
    return hasPin(channel) ? buttons[channel] : nullptr;
}

QLabel *PackageWidget::keyLabel(int channel) const
{
    return hasPin(channel) ? keyLabels[channel] : nullptr;
}

void PackageWidget::reset()
{
    inUseCount = 0;
    for (int channel : qAsConst(channels)) {
        channelInUse[channel] = 0;
        keyNumber[channel] = 0;
        buttons[channel]->setPalette(whitePalette);
        buttons[channel]->setAutoFillBackground(true);
        buttons[channel]->setFlat(true);
        keyLabels[channel]->setText(QString());
    }
    keyTaken.fill(false);
    const bool hadSliders = !sliders.isEmpty() || pickingSlider >= 0;
    sliders.clear();
    pickingSlider = -1;
    if (hadSliders)
        emit slidersChanged();
}

void PackageWidget::paintChannel(int channel)
{
    if (!hasPin(channel))
        return;
    if (channelInUse[channel] == 1) {
        if (const auto place = segmentOf(channel)) {
            buttons[channel]->setPalette(bluePalette);
            keyLabels[channel]->setText(sliders.at(place->first).placeName(place->second));
            return;
        }
        buttons[channel]->setPalette(greenPalette);
        const int key = keyNumber[channel];
        keyLabels[channel]->setText(key > 0 ? QStringLiteral("key%1").arg(key) : QString());
    } else {
        buttons[channel]->setPalette(whitePalette);
    }
}

void PackageWidget::refresh()
{
    for (int channel = 0; channel < chip::kChannelCount; ++channel)
        paintChannel(channel);
}

int PackageWidget::countInUse() const
{
    int count = 0;
    for (int flag : channelInUse)
        count += flag == 1 ? 1 : 0;
    return count;
}

void PackageWidget::rebuildKeyTaken()
{
    keyTaken.fill(false);
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        const int key = keyNumber[channel];
        if (channelInUse[channel] == 1 && key >= 1 && key <= keyCount())
            keyTaken[key - 1] = true;
    }
    inUseCount = countInUse();
}

void PackageWidget::applyLoadedMap(const std::array<int, chip::kChannelCount> &inUse,
                                   const std::array<int, chip::kChannelCount> &keys)
{
    // The file's definitions, if it has any, follow the map they are made of.
    if (!sliders.isEmpty() || pickingSlider >= 0) {
        sliders.clear();
        pickingSlider = -1;
        emit slidersChanged();
    }
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        const bool pin = hasPin(channel);
        channelInUse[channel] = pin ? inUse[channel] : 0;
        keyNumber[channel] = pin ? keys[channel] : 0;
    }
    refresh();
    // Painting leaves the label of an unused channel alone; a label left from the map this one
    // replaces would show a key the channel no longer holds.
    for (int channel : qAsConst(channels)) {
        if (channelInUse[channel] != 1)
            keyLabels[channel]->setText(QString());
    }
    rebuildKeyTaken();
}

void PackageWidget::pinClicked(int channel)
{
    if (!hasPin(channel))
        return;
    if (pickingSlider >= 0) {
        pickChannel(channel);
        return;
    }
    if (channelInUse[channel] == 1 && segmentOf(channel)) {
        releaseSegment(channel);
        return;
    }
    // Only a flag of exactly 1 is in use; a channel shown white (a stray flag from a file
    // included) is taken into use by the click, like any other white pin.
    if (channelInUse[channel] == 1) {
        const int key = keyNumber[channel];
        if (key >= 1 && key <= keyCount())
            keyTaken[key - 1] = false;
        clearChannel(channel);
    } else {
        channelInUse[channel] = 1;
        keyNumber[channel] = 0;
    }
    inUseCount = countInUse();
    refresh();

    if (channelInUse[channel] == 1) {
        pendingChannel = channel;
        keyMenu->exec(QCursor::pos());
    }
}

void PackageWidget::SlotMenuClicked(QAction *action)
{
    const int channel = pendingChannel;
    const int key = keyActions.indexOf(action) + 1;
    if (key < 1 || !hasPin(channel))
        return;
    if (!keyTaken[key - 1]) {
        keyTaken[key - 1] = true;
        keyLabels[channel]->setText(QStringLiteral("key%1").arg(key));
        keyNumber[channel] = key;
        return;
    }
    QMessageBox::warning(this, tr("提示"), tr("key%1已被选中，请选择其他key").arg(key));
    channelInUse[channel] = 0;
    keyNumber[channel] = 0;
    inUseCount = countInUse();
    buttons[channel]->setPalette(whitePalette);
}

std::optional<std::pair<int, int>> PackageWidget::segmentOf(int channel) const
{
    return SliderDefinition::placeOf(sliders, channel);
}

int PackageWidget::startPicking(SliderDefinition::Kind kind)
{
    stopPicking();
    SliderDefinition definition;
    definition.kind = kind;
    definition.name = SliderDefinition::nextName(sliders, kind);
    sliders.append(definition);
    pickingSlider = sliders.size() - 1;
    emit slidersChanged();
    return pickingSlider;
}

void PackageWidget::stopPicking()
{
    if (pickingSlider < 0)
        return;
    if (pickingSlider < sliders.size() && sliders.at(pickingSlider).channels.isEmpty())
        sliders.remove(pickingSlider);
    pickingSlider = -1;
    emit slidersChanged();
}

void PackageWidget::pickChannel(int channel)
{
    SliderDefinition &picked = sliders[pickingSlider];
    const auto place = segmentOf(channel);
    if (place && place->first == pickingSlider) {
        releaseSegment(channel);
        return;
    }
    QString refusal;
    if (place)
        refusal = tr("TK%1已属于%2").arg(channel).arg(sliders.at(place->first).name);
    else if (channelInUse[channel] == 1 && keyNumber[channel] > 0)
        refusal = tr("TK%1已被按键key%2使用，请先点击它取消").arg(channel).arg(keyNumber[channel]);
    else if (picked.isFull())
        refusal = tr("%1已有 %2 段").arg(picked.name).arg(SliderDefinition::kMaxSegments);
    if (!refusal.isEmpty()) {
        QMessageBox::warning(this, tr("提示"), refusal);
        return;
    }
    // A channel in use without a key (its menu closed without a choice) becomes the segment.
    picked.channels.append(channel);
    channelInUse[channel] = 1;
    keyNumber[channel] = 0;
    inUseCount = countInUse();
    refresh();
    emit slidersChanged();
}

void PackageWidget::releaseSegment(int channel)
{
    const auto place = segmentOf(channel);
    if (!place)
        return;
    sliders[place->first].channels.remove(place->second);
    clearChannel(channel);
    inUseCount = countInUse();
    refresh();
    emit slidersChanged();
}

void PackageWidget::clearChannel(int channel)
{
    channelInUse[channel] = 0;
    keyNumber[channel] = 0;
    keyLabels[channel]->setText(QString());
}

void PackageWidget::removeSlider(int index)
{
    if (index < 0 || index >= sliders.size())
        return;
    const QVector<int> channelsOfSlider = sliders.at(index).channels;
    sliders.remove(index);
    if (pickingSlider == index)
        pickingSlider = -1;
    else if (pickingSlider > index)
        --pickingSlider;
    for (int channel : channelsOfSlider) {
        if (hasPin(channel))
            clearChannel(channel);
    }
    inUseCount = countInUse();
    refresh();
    emit slidersChanged();
}

void PackageWidget::reverseSlider(int index)
{
    if (index < 0 || index >= sliders.size())
        return;
    QVector<int> &channelsOfSlider = sliders[index].channels;
    std::reverse(channelsOfSlider.begin(), channelsOfSlider.end());
    refresh();
    emit slidersChanged();
}

QStringList PackageWidget::applyLoadedSliders(const QVector<SliderDefinition> &definitions)
{
    QStringList refused;
    QVector<SliderDefinition> taken;
    QVector<int> used;
    for (const SliderDefinition &definition : definitions) {
        bool sound = SliderDefinition::isOwnName(definition.name, definition.kind) &&
                     !definition.channels.isEmpty() &&
                     definition.channels.size() <= SliderDefinition::kMaxSegments;
        for (const SliderDefinition &other : qAsConst(taken))
            sound = sound && other.name != definition.name;
        for (int channel : definition.channels)
            sound = sound && isInUse(channel) && keyNumber[channel] == 0 &&
                    definition.channels.count(channel) == 1 && !used.contains(channel);
        if (sound) {
            taken << definition;
            used << definition.channels;
        } else
            refused << (definition.name.isEmpty() ? QStringLiteral("?")
                                                  : definition.name.simplified());
    }
    sliders = taken;
    pickingSlider = -1;
    refresh();
    emit slidersChanged();
    return refused;
}
