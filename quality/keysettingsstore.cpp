#include "quality/keysettingsstore.h"

#include <QSettings>

#include <optional>

namespace
{
using Field = KeySettings::Field;

QString fieldKey(Field field)
{
    switch (field) {
    case Field::Press:
        return QStringLiteral("press");
    case Field::Hysteresis:
        return QStringLiteral("hysteresis");
    case Field::Debounce:
        return QStringLiteral("debounce");
    case Field::MaxPress:
        return QStringLiteral("maxPress");
    case Field::WaterFloor:
        return QStringLiteral("waterFloor");
    }
    return QString();
}

QString keyOf(int channel, Field field)
{
    return KeySettingsStore::kSection + QStringLiteral("/TK%1/").arg(channel) + fieldKey(field);
}

// The stored text as the field's value: a number, or for the floor "true" / "false" as the
// project file writes its booleans.
std::optional<int> storedValue(const QString &text, Field field)
{
    if (field == Field::WaterFloor) {
        if (text == QLatin1String("true") || text == QLatin1String("false"))
            return text == QLatin1String("true") ? 1 : 0;
        return std::nullopt;
    }
    bool isNumber = false;
    const int value = text.trimmed().toInt(&isNumber, 10);
    return isNumber ? std::optional<int>(value) : std::nullopt;
}
} // namespace

const QString KeySettingsStore::kSection = QStringLiteral("KeySettings");

KeySettingsStore::KeySettingsStore(QObject *parent) : QObject(parent) {}

const KeySettings &KeySettingsStore::at(int channel) const
{
    static const KeySettings defaults;
    return chip::isChannel(channel) ? settings[channel] : defaults;
}

bool KeySettingsStore::set(int channel, const KeySettings &value)
{
    if (!chip::isChannel(channel) || !value.isValid())
        return false;
    if (settings[channel] != value) {
        settings[channel] = value;
        emit changed(channel);
    }
    return true;
}

void KeySettingsStore::resetAll()
{
    settings = {};
    emit changed(-1);
}

void KeySettingsStore::save(QSettings &ini) const
{
    // The file keeps what a save does not write again: the whole section is written anew.
    ini.remove(kSection);
    const KeySettings defaults;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (settings[channel] == defaults)
            continue;
        for (Field field : KeySettings::kFields) {
            const int value = settings[channel].value(field);
            if (field == Field::WaterFloor)
                ini.setValue(keyOf(channel, field), value != 0);
            else
                ini.setValue(keyOf(channel, field), value);
        }
    }
}

void KeySettingsStore::load(const QSettings &ini, QStringList *invalid)
{
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        KeySettings loaded;
        for (Field field : KeySettings::kFields) {
            const QString key = keyOf(channel, field);
            if (!ini.contains(key))
                continue;
            const QString text = ini.value(key).toString();
            const std::optional<int> value = storedValue(text, field);
            if (value && KeySettings::range(field).holds(*value))
                loaded.setValue(field, *value);
            else if (invalid)
                *invalid << QStringLiteral("TK%1 %2 %3")
                                .arg(channel)
                                .arg(KeySettings::fieldName(field), text);
        }
        settings[channel] = loaded;
    }
    emit changed(-1);
}
