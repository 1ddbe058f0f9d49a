#include "production/productionlimits.h"

#include "chip/chip.h"

#include <QFile>
#include <QHash>
#include <QSettings>

#include <algorithm>

namespace
{
using Field = LimitRule::Field;
using Limit = ProductionLimits::Limit;

QString fieldKey(Field field)
{
    switch (field) {
    case Field::Window:
        return QStringLiteral("window");
    case Field::NoiseFactor:
        return QStringLiteral("noiseFactor");
    case Field::SignalShare:
        return QStringLiteral("signalShare");
    case Field::TouchSeconds:
        return QStringLiteral("touchSeconds");
    case Field::TouchTest:
        return QStringLiteral("touchTest");
    }
    return QString();
}

QString limitKey(Limit limit)
{
    switch (limit) {
    case Limit::NoTouchLow:
        return QStringLiteral("noTouchLow");
    case Limit::NoTouchHigh:
        return QStringLiteral("noTouchHigh");
    case Limit::MaxNoise:
        return QStringLiteral("maxNoise");
    case Limit::MinSignal:
        return QStringLiteral("minSignal");
    }
    return QString();
}

QString ruleKey(Field field)
{
    return ProductionLimits::kSection + QLatin1Char('/') + fieldKey(field);
}

QString channelKey(int channel, Limit limit)
{
    return ProductionLimits::kSection + QStringLiteral("/TK%1/").arg(channel) + limitKey(limit);
}

std::optional<int> wholeNumber(const QString &text)
{
    bool isNumber = false;
    const int value = text.trimmed().toInt(&isNumber, 10);
    return isNumber ? std::optional<int>(value) : std::nullopt;
}

// The values of each key of the file's section given more than once, by the key as QSettings
// names it ("Production/TK3/noTouchLow"). QSettings keeps one of them without a word.
QHash<QString, QStringList> repeatedKeys(const QString &path, const QString &section)
{
    QHash<QString, QStringList> values;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return values;
    bool inside = false;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inside = line == QLatin1Char('[') + section + QLatin1Char(']');
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (!inside || equals <= 0 || line.startsWith(QLatin1Char(';')))
            continue;
        QString key = line.left(equals).trimmed();
        key.replace(QLatin1Char('\\'), QLatin1Char('/'));
        values[section + QLatin1Char('/') + key] << line.mid(equals + 1).trimmed();
    }
    for (auto it = values.begin(); it != values.end();) {
        if (it.value().size() > 1)
            ++it;
        else
            it = values.erase(it);
    }
    return values;
}
} // namespace

int LimitRule::value(Field field) const
{
    switch (field) {
    case Field::Window:
        return windowPercent;
    case Field::NoiseFactor:
        return noiseFactorPercent;
    case Field::SignalShare:
        return signalSharePercent;
    case Field::TouchSeconds:
        return touchSeconds;
    case Field::TouchTest:
        return touchTest ? 1 : 0;
    }
    return 0;
}

void LimitRule::setValue(Field field, int value)
{
    switch (field) {
    case Field::Window:
        windowPercent = value;
        break;
    case Field::NoiseFactor:
        noiseFactorPercent = value;
        break;
    case Field::SignalShare:
        signalSharePercent = value;
        break;
    case Field::TouchSeconds:
        touchSeconds = value;
        break;
    case Field::TouchTest:
        touchTest = value != 0;
        break;
    }
}

bool LimitRule::isValid() const
{
    for (Field field : kFields) {
        if (!range(field).holds(value(field)))
            return false;
    }
    return true;
}

bool LimitRule::operator==(const LimitRule &other) const
{
    for (Field field : kFields) {
        if (value(field) != other.value(field))
            return false;
    }
    return true;
}

ChannelLimits LimitRule::derive(const TunedKey &tuned) const
{
    ChannelLimits limits;
    if (tuned.noTouchMean) {
        const int mean = *tuned.noTouchMean;
        // Rounded to the nearest count, so that +-15 % of 2000 is exactly 1700 ... 2300.
        const int half = (mean * windowPercent + 50) / 100;
        limits.noTouchLow = std::max(0, mean - half);
        limits.noTouchHigh = std::min(chip::kMaxCount, mean + half);
    }
    if (tuned.noise)
        limits.maxNoise = std::max(kMinNoiseLimit, (*tuned.noise * noiseFactorPercent + 99) / 100);
    // A key whose touch did not raise its count cannot be asked to be touched.
    if (tuned.signal && *tuned.signal > 0)
        limits.minSignal = std::max(1, *tuned.signal * signalSharePercent / 100);
    return limits;
}

const QString ProductionLimits::kSection = QStringLiteral("Production");

ProductionLimits::ProductionLimits(QObject *parent) : QObject(parent) {}

bool ProductionLimits::setRule(const LimitRule &rule)
{
    if (!rule.isValid())
        return false;
    if (rule != currentRule) {
        currentRule = rule;
        emit changed();
    }
    return true;
}

std::optional<int> ProductionLimits::limitSetByHand(int channel, Limit limit) const
{
    return chip::isChannel(channel) ? of(set[channel], limit) : std::nullopt;
}

bool ProductionLimits::setLimit(int channel, Limit limit, std::optional<int> value,
                                const TunedKey &tuned)
{
    if (!chip::isChannel(channel) || (value && (*value < 0 || *value > chip::kMaxCount)))
        return false;
    std::optional<int> &stored = of(set[channel], limit);
    const std::optional<int> before = stored;
    stored = value;
    if (isInverted(limitsOf(channel, tuned))) {
        stored = before;
        return false;
    }
    if (before != value)
        emit changed();
    return true;
}

bool ProductionLimits::isInverted(const ChannelLimits &limits)
{
    return limits.noTouchLow && limits.noTouchHigh && *limits.noTouchLow > *limits.noTouchHigh;
}

QString ProductionLimits::invertedText(int channel, const ChannelLimits &limits)
{
    return QStringLiteral("TK%1 %2 %3 > %4 %5")
        .arg(channel)
        .arg(limitKey(Limit::NoTouchLow))
        .arg(limits.noTouchLow.value_or(0))
        .arg(limitKey(Limit::NoTouchHigh))
        .arg(limits.noTouchHigh.value_or(0));
}

void ProductionLimits::clearSetLimits()
{
    set = {};
    emit changed();
}

ChannelLimits ProductionLimits::limitsOf(int channel, const TunedKey &tuned) const
{
    ChannelLimits limits = currentRule.derive(tuned);
    if (!chip::isChannel(channel))
        return limits;
    for (Limit limit : kLimits) {
        if (const std::optional<int> value = of(set[channel], limit))
            of(limits, limit) = value;
    }
    return limits;
}

void ProductionLimits::save(QSettings &ini) const
{
    // The file keeps what a save does not write again: the whole section is written anew.
    ini.remove(kSection);
    // A project that keeps the defaults is saved as an older tool saved it.
    const bool anySet = std::any_of(set.cbegin(), set.cend(),
                                    [](const ChannelLimits &l) { return !(l == ChannelLimits()); });
    if (currentRule == LimitRule() && !anySet)
        return;
    for (Field field : LimitRule::kFields) {
        if (field == Field::TouchTest)
            ini.setValue(ruleKey(field), currentRule.touchTest);
        else
            ini.setValue(ruleKey(field), currentRule.value(field));
    }
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        for (Limit limit : kLimits) {
            if (const std::optional<int> value = of(set[channel], limit))
                ini.setValue(channelKey(channel, limit), *value);
        }
    }
}

void ProductionLimits::load(const QSettings &ini, QStringList *invalid)
{
    const QHash<QString, QStringList> repeated = repeatedKeys(ini.fileName(), kSection);
    const auto name = [invalid](const QString &text) {
        if (invalid)
            *invalid << text;
    };
    // A key given twice keeps its default: which of its values was meant, nobody can say.
    const auto textOf = [&](const QString &key, const QString &shown) -> std::optional<QString> {
        if (repeated.contains(key)) {
            name(tr("%1 重复：%2").arg(shown, repeated.value(key).join(QStringLiteral(" / "))));
            return std::nullopt;
        }
        if (!ini.contains(key))
            return std::nullopt;
        return ini.value(key).toString();
    };
    LimitRule rule;
    for (Field field : LimitRule::kFields) {
        const std::optional<QString> text = textOf(ruleKey(field), fieldKey(field));
        if (!text)
            continue;
        std::optional<int> value;
        if (field == Field::TouchTest) {
            if (*text == QLatin1String("true") || *text == QLatin1String("false"))
                value = *text == QLatin1String("true") ? 1 : 0;
        } else {
            value = wholeNumber(*text);
        }
        if (value && LimitRule::range(field).holds(*value))
            rule.setValue(field, *value);
        else
            name(QStringLiteral("%1 %2").arg(fieldKey(field), *text));
    }
    currentRule = rule;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        ChannelLimits loaded;
        for (Limit limit : kLimits) {
            const QString shown = QStringLiteral("TK%1 %2").arg(channel).arg(limitKey(limit));
            const std::optional<QString> text = textOf(channelKey(channel, limit), shown);
            if (!text)
                continue;
            const std::optional<int> value = wholeNumber(*text);
            if (value && *value >= 0 && *value <= chip::kMaxCount)
                of(loaded, limit) = value;
            else
                name(QStringLiteral("%1 %2").arg(shown, *text));
        }
        // A window no board can pass is no limit the engineer meant.
        if (isInverted(loaded)) {
            name(invertedText(channel, loaded));
            loaded.noTouchLow.reset();
            loaded.noTouchHigh.reset();
        }
        set[channel] = loaded;
    }
    emit changed();
}

std::optional<int> &ProductionLimits::of(ChannelLimits &limits, Limit limit)
{
    switch (limit) {
    case Limit::NoTouchLow:
        return limits.noTouchLow;
    case Limit::NoTouchHigh:
        return limits.noTouchHigh;
    case Limit::MaxNoise:
        return limits.maxNoise;
    case Limit::MinSignal:
        break;
    }
    return limits.minSignal;
}

std::optional<int> ProductionLimits::of(const ChannelLimits &limits, Limit limit)
{
    return of(const_cast<ChannelLimits &>(limits), limit);
}
