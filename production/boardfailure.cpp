#include "production/boardfailure.h"

#include <QRegularExpression>

#include <array>

namespace
{
using Kind = BoardFailure::Kind;
using Pad = BoardFailure::Pad;

constexpr std::array<Kind, 5> kKinds = {Kind::NoTouchLow, Kind::NoTouchHigh, Kind::NoiseHigh,
                                        Kind::SignalLow, Kind::NotTouched};
constexpr std::array<Pad, 3> kPads = {Pad::Open, Pad::Shorted, Pad::NoSignal};

const char *format(Kind kind)
{
    switch (kind) {
    case Kind::NoTouchLow:
        return QT_TRANSLATE_NOOP("BoardFailure", "TK%1 无触摸值 %2，低于下限 %3");
    case Kind::NoTouchHigh:
        return QT_TRANSLATE_NOOP("BoardFailure", "TK%1 无触摸值 %2，高于上限 %3");
    case Kind::NoiseHigh:
        return QT_TRANSLATE_NOOP("BoardFailure", "TK%1 噪声 %2，高于上限 %3");
    case Kind::SignalLow:
        return QT_TRANSLATE_NOOP("BoardFailure", "TK%1 信号 %2，低于下限 %3");
    case Kind::NotTouched:
        return QT_TRANSLATE_NOOP("BoardFailure", "TK%1 未在 %2 秒内触摸，信号 %3，低于下限 %4");
    }
    return "";
}

const char *categoryFormat(Kind kind)
{
    switch (kind) {
    case Kind::NoTouchLow:
        return QT_TRANSLATE_NOOP("BoardFailure", "TK%1 无触摸值低于下限");
    case Kind::NoTouchHigh:
        return QT_TRANSLATE_NOOP("BoardFailure", "TK%1 无触摸值高于上限");
    case Kind::NoiseHigh:
        return QT_TRANSLATE_NOOP("BoardFailure", "TK%1 噪声高于上限");
    case Kind::SignalLow:
        return QT_TRANSLATE_NOOP("BoardFailure", "TK%1 信号低于下限");
    case Kind::NotTouched:
        return QT_TRANSLATE_NOOP("BoardFailure", "TK%1 未触摸");
    }
    return "";
}

const char *padSuffix(Pad pad)
{
    switch (pad) {
    case Pad::None:
        break;
    case Pad::Open:
        return QT_TRANSLATE_NOOP("BoardFailure", "：焊盘开路");
    case Pad::Shorted:
        return QT_TRANSLATE_NOOP("BoardFailure", "：焊盘短路");
    case Pad::NoSignal:
        return QT_TRANSLATE_NOOP("BoardFailure", "：无信号，焊盘开路或未触摸");
    }
    return "";
}

QString textOf(const char *source, bool shown)
{
    return shown ? QCoreApplication::translate("BoardFailure", source) : QString::fromUtf8(source);
}

// The source format as a pattern: each placeholder a whole number, the rest as written.
QRegularExpression patternOf(Kind kind)
{
    // Escaped piece by piece: escaping the whole format would escape the placeholders' % too.
    const QStringList pieces =
        QString::fromUtf8(format(kind)).split(QRegularExpression(QStringLiteral("%\\d")));
    QStringList escaped;
    for (const QString &piece : pieces)
        escaped << QRegularExpression::escape(piece);
    const QString pattern = escaped.join(QStringLiteral("(-?\\d{1,6})"));
    return QRegularExpression(QLatin1Char('^') + pattern + QStringLiteral("(.*)$"));
}
} // namespace

QString BoardFailure::text(bool shownInInterface) const
{
    QString line = textOf(format(kind), shownInInterface).arg(channel);
    if (kind == Kind::NotTouched)
        line = line.arg(seconds);
    line = line.arg(value).arg(limit);
    return line + textOf(padSuffix(pad), shownInInterface);
}

QString BoardFailure::category(bool shownInInterface) const
{
    return textOf(categoryFormat(kind), shownInInterface).arg(channel) +
           textOf(padSuffix(pad), shownInInterface);
}

std::optional<BoardFailure> BoardFailure::parse(const QString &text)
{
    for (Kind kind : kKinds) {
        const QRegularExpressionMatch match = patternOf(kind).match(text);
        if (!match.hasMatch())
            continue;
        BoardFailure failure;
        failure.kind = kind;
        int next = 1;
        failure.channel = match.captured(next++).toInt();
        if (kind == Kind::NotTouched)
            failure.seconds = match.captured(next++).toInt();
        failure.value = match.captured(next++).toInt();
        failure.limit = match.captured(next++).toInt();
        const QString rest = match.captured(next);
        if (!rest.isEmpty()) {
            failure.pad = Pad::None;
            for (Pad pad : kPads) {
                if (rest == QString::fromUtf8(padSuffix(pad)))
                    failure.pad = pad;
            }
            if (failure.pad == Pad::None)
                return std::nullopt;
        }
        if (failure.channel < 0 || failure.channel > 24)
            return std::nullopt;
        return failure;
    }
    return std::nullopt;
}

QString BoardFailure::shown(const QString &text)
{
    const std::optional<BoardFailure> failure = parse(text);
    return failure ? failure->text(true) : text;
}

QString BoardFailure::shownCategory(const QString &category)
{
    // "TK5 无触摸值低于下限：焊盘开路": the channel's number stands where the format has %1.
    for (Kind kind : kKinds) {
        for (Pad pad : {Pad::None, Pad::Open, Pad::Shorted, Pad::NoSignal}) {
            for (int channel = 0; channel < 25; ++channel) {
                BoardFailure failure;
                failure.kind = kind;
                failure.pad = pad;
                failure.channel = channel;
                if (failure.category() == category)
                    return failure.category(true);
            }
        }
    }
    return category;
}
