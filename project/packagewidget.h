#ifndef PACKAGEWIDGET_H
#define PACKAGEWIDGET_H

#include "chip/chip.h"

#include <QList>
#include <QPalette>
#include <QVector>
#include <QWidget>

#include <array>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

// The pin map of one chip package, edited on a drawing of the package: a click on a pin button
// puts the channel in use and offers the free key numbers in a menu. The three package widgets
// derive from it and add only their form and pin list.
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
    void paintChannel(int channel);
    int countInUse() const;

    QVector<int> channels;
    std::array<QPushButton *, chip::kChannelCount> buttons{};
    std::array<QLabel *, chip::kChannelCount> keyLabels{};
};

#endif // PACKAGEWIDGET_H
