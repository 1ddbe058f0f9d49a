#ifndef SLIDERDEFINITION_H
#define SLIDERDEFINITION_H

#include <QCoreApplication>
#include <QString>
#include <QVector>

#include <optional>

// A slider (2 ... 8 channels in order along it) or a wheel (3 ... 8 channels in order round it)
// made on the pin map out of channels that carry no key. Named S1, S2, ... and W1, W2, ...; a
// channel is a segment of one slider or wheel at most.
struct SliderDefinition
{
    Q_DECLARE_TR_FUNCTIONS(SliderDefinition)

public:
    enum class Kind {
        Slider,
        Wheel,
    };
    static constexpr int kMaxSegments = 8;
    static constexpr int minSegments(Kind kind) { return kind == Kind::Wheel ? 3 : 2; }

    Kind kind = Kind::Slider;
    QString name;
    QVector<int> channels;

    bool isWheel() const { return kind == Kind::Wheel; }
    bool isComplete() const
    {
        return channels.size() >= minSegments(kind) && channels.size() <= kMaxSegments;
    }
    bool isFull() const { return channels.size() >= kMaxSegments; }
    // "S1-2" for the second segment.
    QString placeName(int segment) const;
    // "滑条" or "滚轮".
    static QString kindName(Kind kind);
    // "S1 滑条：TK3 → TK4 → TK5", with "（至少 2 段）" while it has too few segments.
    QString describe() const;

    // Whether name is one the tool gives a definition of the kind: "S1", "S2", ... for a slider,
    // "W1", ... for a wheel. The name goes into the firmware's sources, so no other is taken.
    static bool isOwnName(const QString &name, Kind kind);
    // The first name of the kind that none of the definitions has: "S1", "S2", ... or "W1", ...
    static QString nextName(const QVector<SliderDefinition> &definitions, Kind kind);
    // The definition and segment a channel is in, as (index, segment); none for another channel.
    static std::optional<std::pair<int, int>> placeOf(const QVector<SliderDefinition> &definitions,
                                                      int channel);
    // How many complete definitions of the kind there are.
    static int countOf(const QVector<SliderDefinition> &definitions, Kind kind);
};

#endif // SLIDERDEFINITION_H
