#include "project/keynumbercheck.h"

#include "chip/chip.h"
#include "project/pinmapsource.h"

#include <QMap>
#include <QMessageBox>

QStringList KeyNumberCheck::problems(const PinMapSource &pins)
{
    QStringList withoutKey;
    QStringList beyond;
    QMap<int, QStringList> byKey;
    const QVector<SliderDefinition> sliders = pins.sliders();
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        // A segment of a slider or wheel reports through its slider, with no key number.
        if (pins.channelInUse(channel) != 1 || SliderDefinition::placeOf(sliders, channel))
            continue;
        const QString name = QStringLiteral("TK%1").arg(channel);
        const int key = pins.keyNumber(channel);
        if (key < 1)
            withoutKey << name;
        else if (key > kMaxKeyNumber)
            beyond << name + tr("（按键 %1）").arg(key);
        else
            byKey[key] << name;
    }
    QStringList shared;
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it) {
        if (it.value().size() > 1)
            shared << it.value().join(tr("、")) + tr("（按键 %1）").arg(it.key());
    }
    QStringList texts;
    if (!withoutKey.isEmpty())
        texts << tr("以下通道没有按键号：") + withoutKey.join(tr("、"));
    if (!beyond.isEmpty())
        texts << tr("以下通道的按键号超出 1～%1：").arg(kMaxKeyNumber) + beyond.join(tr("、"));
    if (!shared.isEmpty())
        texts << tr("以下通道的按键号重复：") + shared.join(tr("，"));
    QStringList tooShort;
    for (const SliderDefinition &slider : sliders) {
        if (!slider.isComplete())
            tooShort << tr("%1（%2 段，至少 %3 段）")
                            .arg(slider.name)
                            .arg(slider.channels.size())
                            .arg(SliderDefinition::minSegments(slider.kind));
    }
    if (!tooShort.isEmpty())
        texts << tr("以下滑条或滚轮的段数不够：") + tooShort.join(tr("、"));
    return texts;
}

bool KeyNumberCheck::warn(QWidget *parent, const PinMapSource &pins)
{
    const QStringList texts = problems(pins);
    if (texts.isEmpty())
        return false;
    QMessageBox::warning(parent, tr("提示"), texts.join(QLatin1Char('\n')));
    return true;
}

bool KeyNumberCheck::refuseForFirmware(QWidget *parent, const PinMapSource &pins)
{
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (pins.channelInUse(channel) == 1)
            return warn(parent, pins);
    }
    // A firmware of no channel does not even compile.
    QMessageBox::warning(parent, tr("提示"),
                         tr("工程中没有使用的通道：请先在设置页面的芯片引脚图上为通道选择按键！"));
    return true;
}
