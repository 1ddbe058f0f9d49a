#ifndef KEYSETTINGSPANEL_H
#define KEYSETTINGSPANEL_H

#include "quality/keysettings.h"

#include <QGroupBox>
#include <QList>

#include <array>
#include <functional>

class KeySettingsStore;
class PinMapSource;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QShowEvent;
class QSpinBox;
class QVariant;

// "按键设置" on the debug page: picks one key in use, one slider or wheel (its segments are not
// offered one by one: the slider has one set of settings, which every segment's row carries), or
// all of them, and edits the decision settings in the project's store, each field with its unit
// and range beside it. It holds no rule of its own: ranges and texts come from KeySettings, the
// line about the chosen key from whoever judges it, and "建议设置" (for keys) asks whoever
// computes suggestions.
class KeySettingsPanel : public QGroupBox
{
    Q_OBJECT

public:
    KeySettingsPanel(KeySettingsStore &store, const PinMapSource &pins, QWidget *parent = nullptr);

    // The keys in use anew, keeping the choice while that key is still in use.
    void refreshKeys();
    // Chooses the key of a channel in use, or the slider a segment belongs to; others leave the
    // choice as it is.
    void selectChannel(int channel);
    // The channels edited now: the key chosen, the slider's segments, or every channel in use.
    QList<int> selectedChannels() const;
    // Shows the settings of the choice again, and the line about it.
    void showSelection();

    // The line under the fields about one key (its thresholds and margins); none when unset.
    std::function<QString(int channel)> describe;

signals:
    // "建议设置" for the keys chosen (no slider's segments).
    void suggestRequested(const QList<int> &channels);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void addField(QGridLayout *layout, KeySettings::Field field, int row, int column);
    void edit(KeySettings::Field field, int value);
    void restoreDefaults();
    // The channels of a choice's entry: a key's, or a slider's by name.
    QList<int> channelsOf(const QVariant &entry) const;

    KeySettingsStore &store;
    const PinMapSource &pins;
    QComboBox *keyBox = nullptr;
    std::array<QSpinBox *, KeySettings::kFieldCount> spinBoxes{};
    QCheckBox *waterFloorBox = nullptr;
    QLabel *summary = nullptr;
    QPushButton *suggestButton = nullptr;
};

#endif // KEYSETTINGSPANEL_H
