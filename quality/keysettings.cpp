#include "quality/keysettings.h"

int KeySettings::value(Field field) const
{
    switch (field) {
    case Field::Press:
        return pressPercent;
    case Field::Hysteresis:
        return hysteresisPercent;
    case Field::Debounce:
        return debounce;
    case Field::MaxPress:
        return maxPressSeconds;
    case Field::WaterFloor:
        return waterFloor ? 1 : 0;
    }
    return 0;
}

void KeySettings::setValue(Field field, int value)
{
    switch (field) {
    case Field::Press:
        pressPercent = value;
        break;
    case Field::Hysteresis:
        hysteresisPercent = value;
        break;
    case Field::Debounce:
        debounce = value;
        break;
    case Field::MaxPress:
        maxPressSeconds = value;
        break;
    case Field::WaterFloor:
        waterFloor = value != 0;
        break;
    }
}

bool KeySettings::isValid() const
{
    for (Field field : kFields) {
        if (!range(field).holds(value(field)))
            return false;
    }
    return true;
}

bool KeySettings::operator==(const KeySettings &other) const
{
    for (Field field : kFields) {
        if (value(field) != other.value(field))
            return false;
    }
    return true;
}

KeySettings KeySettings::ofSlider(const QVector<KeySettings> &segments)
{
    for (const KeySettings &settings : segments) {
        if (settings != KeySettings())
            return settings;
    }
    return KeySettings();
}

QString KeySettings::firmwareRow() const
{
    QString row;
    for (Field field : kFields)
        row += QString::number(value(field)) + QLatin1Char(',');
    return row;
}

QString KeySettings::fieldName(Field field)
{
    switch (field) {
    case Field::Press:
        return tr("按下位置");
    case Field::Hysteresis:
        return tr("迟滞");
    case Field::Debounce:
        return tr("消抖");
    case Field::MaxPress:
        return tr("最长按下");
    case Field::WaterFloor:
        return tr("防水下限");
    }
    return QString();
}

QString KeySettings::valueText(Field field, int value, bool shownInInterface)
{
    const auto text = [shownInInterface](const char *source) {
        return shownInInterface ? tr(source) : QString::fromUtf8(source);
    };
    switch (field) {
    case Field::Press:
    case Field::Hysteresis:
        return text(QT_TR_NOOP("%1%")).arg(value);
    case Field::Debounce:
        // The firmware presses on the scan after these: the words say which one.
        return text(QT_TR_NOOP("%1 次（第 %2 次扫描按下）")).arg(value).arg(value + 1);
    case Field::MaxPress:
        return value == 0 ? text(QT_TR_NOOP("不限")) : text(QT_TR_NOOP("%1 秒")).arg(value);
    case Field::WaterFloor:
        return value != 0 ? text(QT_TR_NOOP("开")) : text(QT_TR_NOOP("关"));
    }
    return QString();
}

QStringList KeySettings::differencesFromDefaults() const
{
    const KeySettings defaults;
    QStringList differences;
    for (Field field : kFields) {
        if (value(field) != defaults.value(field))
            differences << tr("%1 %2（默认 %3）")
                               .arg(fieldName(field), valueText(field, value(field)),
                                    field == Field::Debounce
                                        ? tr("%1 次").arg(defaults.value(field))
                                        : valueText(field, defaults.value(field)));
    }
    return differences;
}
