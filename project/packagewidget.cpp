#include "project/packagewidget.h"

#include "chip/chip.h"
#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

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
}

void PackageWidget::paintChannel(int channel)
{
    if (!hasPin(channel))
        return;
    if (channelInUse[channel] == 1) {
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
    // Only a flag of exactly 1 is in use; a channel shown white (a stray flag from a file
    // included) is taken into use by the click, like any other white pin.
    if (channelInUse[channel] == 1) {
        channelInUse[channel] = 0;
        const int key = keyNumber[channel];
        if (key >= 1 && key <= keyCount())
            keyTaken[key - 1] = false;
        keyNumber[channel] = 0;
        keyLabels[channel]->setText(QString());
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
