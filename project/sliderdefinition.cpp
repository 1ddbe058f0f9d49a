#include "project/sliderdefinition.h"

#include <QRegularExpression>
#include <QStringList>

QString SliderDefinition::placeName(int segment) const
{
    return name + QLatin1Char('-') + QString::number(segment + 1);
}

QString SliderDefinition::kindName(Kind kind)
{
    return kind == Kind::Wheel ? tr("滚轮") : tr("滑条");
}

QString SliderDefinition::describe() const
{
    QStringList names;
    for (int channel : channels)
        names << QStringLiteral("TK%1").arg(channel);
    QString text = tr("%1 %2：%3").arg(name, kindName(kind), names.join(QStringLiteral(" → ")));
    if (!isComplete())
        text += tr("（至少 %1 段）").arg(minSegments(kind));
    return text;
}

bool SliderDefinition::isOwnName(const QString &name, Kind kind)
{
    static const QRegularExpression own(QStringLiteral("^[SW][1-9][0-9]?$"));
    return own.match(name).hasMatch() &&
           name.at(0) == (kind == Kind::Wheel ? QLatin1Char('W') : QLatin1Char('S'));
}

QString SliderDefinition::nextName(const QVector<SliderDefinition> &definitions, Kind kind)
{
    const QChar letter = kind == Kind::Wheel ? QLatin1Char('W') : QLatin1Char('S');
    for (int number = 1;; ++number) {
        const QString name = letter + QString::number(number);
        bool taken = false;
        for (const SliderDefinition &definition : definitions)
            taken = taken || definition.name == name;
        if (!taken)
            return name;
    }
}

std::optional<std::pair<int, int>>
SliderDefinition::placeOf(const QVector<SliderDefinition> &definitions, int channel)
{
    for (int i = 0; i < definitions.size(); ++i) {
        const int segment = definitions.at(i).channels.indexOf(channel);
        if (segment >= 0)
            return std::make_pair(i, segment);
    }
    return std::nullopt;
}

int SliderDefinition::countOf(const QVector<SliderDefinition> &definitions, Kind kind)
{
    int count = 0;
    for (const SliderDefinition &definition : definitions)
        count += definition.kind == kind && definition.isComplete() ? 1 : 0;
    return count;
}
