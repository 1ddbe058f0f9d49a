#include "tuning/keysettingspanel.h"

#include "chip/chip.h"
#include "project/pinmapsource.h"
#include "quality/keysettingsstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
using Field = KeySettings::Field;
// The choice of every key in use.
constexpr int kAllKeys = -1;

QString objectNameOf(Field field)
{
    switch (field) {
    case Field::Press:
        return QStringLiteral("pressSpinBox");
    case Field::Hysteresis:
        return QStringLiteral("hysteresisSpinBox");
    case Field::Debounce:
        return QStringLiteral("debounceSpinBox");
    case Field::MaxPress:
        return QStringLiteral("maxPressSpinBox");
    case Field::WaterFloor:
        return QStringLiteral("waterFloorCheckBox");
    }
    return QString();
}
} // namespace

KeySettingsPanel::KeySettingsPanel(KeySettingsStore &store, const PinMapSource &pins,
                                   QWidget *parent)
    : QGroupBox(tr("按键设置"), parent), store(store), pins(pins)
{
    setObjectName(QStringLiteral("keySettingsPanel"));
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    auto *top = new QHBoxLayout;
    keyBox = new QComboBox(this);
    keyBox->setObjectName(QStringLiteral("keySettingsCBox"));
    keyBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *suggest = new QPushButton(tr("建议设置"), this);
    suggest->setObjectName(QStringLiteral("suggestSettingsBtn"));
    suggestButton = suggest;
    auto *defaults = new QPushButton(tr("恢复默认"), this);
    defaults->setObjectName(QStringLiteral("defaultSettingsBtn"));
    waterFloorBox = new QCheckBox(KeySettings::fieldName(Field::WaterFloor), this);
    waterFloorBox->setObjectName(objectNameOf(Field::WaterFloor));
    waterFloorBox->setToolTip(tr("开：加水时偏移超过摆幅一半的按键，按下阈值不低于摆幅的四分之三"));
    top->addWidget(new QLabel(tr("按键："), this));
    top->addWidget(keyBox);
    top->addSpacing(8);
    top->addWidget(waterFloorBox);
    top->addStretch();
    top->addWidget(suggest);
    top->addWidget(defaults);
    rows->addLayout(top);
    // Each field its name, its box and its unit with the range, two a row; the longest unit last
    // in its row, where it takes no room from the field above it.
    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(4);
    fields->setVerticalSpacing(2);
    addField(fields, Field::Press, 0, 0);
    addField(fields, Field::Hysteresis, 0, 3);
    addField(fields, Field::Debounce, 1, 0);
    addField(fields, Field::MaxPress, 1, 3);
    fields->setColumnStretch(6, 1);
    rows->addLayout(fields);
    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("keySettingsSummary"));
    summary->setWordWrap(true);
    rows->addWidget(summary);

    connect(keyBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &KeySettingsPanel::showSelection);
    connect(waterFloorBox, &QCheckBox::clicked, this,
            [this](bool on) { edit(Field::WaterFloor, on ? 1 : 0); });
    connect(suggest, &QPushButton::clicked, this, [this] {
        QList<int> keys = selectedChannels();
        keys.erase(std::remove_if(keys.begin(), keys.end(),
                                  [this](int channel) { return !this->pins.isKey(channel); }),
                   keys.end());
        emit suggestRequested(keys);
    });
    connect(defaults, &QPushButton::clicked, this, &KeySettingsPanel::restoreDefaults);
    connect(&store, &KeySettingsStore::changed, this, &KeySettingsPanel::showSelection);
    refreshKeys();
}

void KeySettingsPanel::addField(QGridLayout *layout, Field field, int row, int column)
{
    const KeySettings::Range range = KeySettings::range(field);
    auto *spin = new QSpinBox(this);
    spin->setObjectName(objectNameOf(field));
    spin->setRange(range.minimum, range.maximum);
    spin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // A value counts once it is entered, not at every digit typed.
    spin->setKeyboardTracking(false);
    QString unit;
    switch (field) {
    case Field::Press:
        unit = tr("%（10–90）");
        break;
    case Field::Hysteresis:
        unit = tr("%（0–50）");
        break;
    case Field::Debounce:
        unit = tr("次后按下（1–15）");
        spin->setToolTip(
            tr("连续这么多次扫描超过按下阈值后，下一次扫描才按下：3 次即第 4 次扫描按下"));
        break;
    case Field::MaxPress:
        unit = tr("秒（0 不限，1–255）");
        break;
    case Field::WaterFloor:
        break;
    }
    auto *label = new QLabel(KeySettings::fieldName(field) + tr("："), this);
    label->setBuddy(spin);
    layout->addWidget(label, row, column);
    layout->addWidget(spin, row, column + 1);
    layout->addWidget(new QLabel(unit, this), row, column + 2);
    spinBoxes[std::size_t(field)] = spin;
    connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            [this, field](int value) { edit(field, value); });
}

void KeySettingsPanel::showEvent(QShowEvent *event)
{
    // The pin map is set on the other tab: the keys are read again whenever the panel appears.
    refreshKeys();
    QGroupBox::showEvent(event);
}

void KeySettingsPanel::refreshKeys()
{
    const QVariant chosen =
        keyBox->currentData().isValid() ? keyBox->currentData() : QVariant(kAllKeys);
    const QSignalBlocker quiet(keyBox);
    keyBox->clear();
    keyBox->addItem(tr("全部按键"), kAllKeys);
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (pins.isKey(channel))
            keyBox->addItem(tr("TK%1（按键 %2）").arg(channel).arg(pins.keyNumber(channel)),
                            channel);
    }
    // A slider by its name, which stays through a new order of its segments.
    for (const SliderDefinition &slider : pins.sliders()) {
        if (!slider.channels.isEmpty())
            keyBox->addItem(tr("%1 %2（%3 段）")
                                .arg(slider.name, SliderDefinition::kindName(slider.kind))
                                .arg(slider.channels.size()),
                            slider.name);
    }
    keyBox->setCurrentIndex(std::max(0, keyBox->findData(chosen)));
    // Wide enough for its longest key, whatever room the layout would rather give it.
    int widest = 0;
    for (int i = 0; i < keyBox->count(); ++i)
        widest = std::max(widest, keyBox->fontMetrics().horizontalAdvance(keyBox->itemText(i)));
    QStyleOptionComboBox option;
    option.initFrom(keyBox);
    keyBox->setMinimumWidth(
        style()
            ->sizeFromContents(QStyle::CT_ComboBox, &option,
                               QSize(widest + 4, keyBox->fontMetrics().height()), keyBox)
            .width());
    showSelection();
}

void KeySettingsPanel::selectChannel(int channel)
{
    if (channel == kAllKeys)
        return;
    const QVector<SliderDefinition> sliders = pins.sliders();
    const auto place = SliderDefinition::placeOf(sliders, channel);
    const int index =
        keyBox->findData(place ? QVariant(sliders.at(place->first).name) : QVariant(channel));
    if (index >= 0)
        keyBox->setCurrentIndex(index);
}

QList<int> KeySettingsPanel::channelsOf(const QVariant &entry) const
{
    if (entry.userType() == QMetaType::QString) {
        for (const SliderDefinition &slider : pins.sliders()) {
            if (slider.name == entry.toString())
                return QList<int>(slider.channels.begin(), slider.channels.end());
        }
        return {};
    }
    return {entry.toInt()};
}

QList<int> KeySettingsPanel::selectedChannels() const
{
    const QVariant chosen = keyBox->currentData();
    if (chosen.userType() == QMetaType::QString || chosen.toInt() != kAllKeys)
        return channelsOf(chosen);
    QList<int> channels;
    for (int i = 1; i < keyBox->count(); ++i)
        channels << channelsOf(keyBox->itemData(i));
    std::sort(channels.begin(), channels.end());
    return channels;
}

void KeySettingsPanel::showSelection()
{
    const QList<int> channels = selectedChannels();
    const KeySettings shown = channels.isEmpty() ? KeySettings() : store.at(channels.first());
    bool mixed = false;
    for (int channel : channels)
        mixed = mixed || store.at(channel) != shown;
    for (Field field : KeySettings::kFields) {
        if (QSpinBox *spin = spinBoxes[std::size_t(field)]) {
            const QSignalBlocker quiet(spin);
            spin->setValue(shown.value(field));
        }
    }
    waterFloorBox->setChecked(shown.waterFloor);
    const bool slider = keyBox->currentData().userType() == QMetaType::QString;
    for (QWidget *editor : findChildren<QWidget *>()) {
        if (editor != keyBox && editor != summary)
            editor->setEnabled(!channels.isEmpty());
    }
    suggestButton->setEnabled(!channels.isEmpty() && !slider);
    QString line;
    if (channels.isEmpty())
        line = tr("没有使用中的按键：请先在设置页选择按键。");
    else if (slider)
        line =
            tr("%1 的各段共用这些设置，按滑条的强度判断。").arg(keyBox->currentData().toString());
    else if (mixed)
        line = tr("各按键的设置不同，这里显示 TK%1 的；修改的项将用于全部按键。")
                   .arg(channels.first());
    else if (channels.size() == 1 && describe)
        line = describe(channels.first());
    summary->setText(line);
}

void KeySettingsPanel::edit(Field field, int value)
{
    // Only the field edited changes: every key keeps its other settings.
    for (int channel : selectedChannels()) {
        KeySettings settings = store.at(channel);
        settings.setValue(field, value);
        store.set(channel, settings);
    }
    showSelection();
}

void KeySettingsPanel::restoreDefaults()
{
    for (int channel : selectedChannels())
        store.set(channel, KeySettings());
    showSelection();
}
