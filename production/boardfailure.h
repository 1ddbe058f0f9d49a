#ifndef BOARDFAILURE_H
#define BOARDFAILURE_H

#include <QCoreApplication>
#include <QString>

#include <optional>

// Why a board's channel failed, with its figures: "TK5 无触摸值 1510，低于下限 1700", and when the
// figures say so, what is wrong with its pad (": 焊盘开路"). The text in the sources' language is
// what the production log keeps; it reads back into the same failure.
struct BoardFailure
{
    Q_DECLARE_TR_FUNCTIONS(BoardFailure)

public:
    enum class Kind {
        NoTouchLow,  // no-touch mean below the window
        NoTouchHigh, // no-touch mean above the window
        NoiseHigh,   // noise above its maximum
        SignalLow,   // touched, but the signal stayed below its minimum
        NotTouched,  // no touch seen within the key's time; value is the largest rise seen
    };
    enum class Pad {
        None,
        Open,     // the count lies far below the window: the pad's capacitance is missing
        Shorted,  // the count stands at a rail of the counter
        NoSignal, // a touch raised the count by almost nothing: an open pad, or no finger
    };

    Kind kind = Kind::NoTouchLow;
    int channel = 0;
    int value = 0;
    int limit = 0;
    int seconds = 0; // NotTouched: the key's time
    Pad pad = Pad::None;

    bool operator==(const BoardFailure &o) const
    {
        return kind == o.kind && channel == o.channel && value == o.value && limit == o.limit &&
               seconds == o.seconds && pad == o.pad;
    }

    // The failure with its figures; in the sources' language unless shown in the interface's.
    QString text(bool shownInInterface = false) const;
    // The failure without its figures, "TK5 无触摸值低于下限：焊盘开路", what the batch counts.
    QString category(bool shownInInterface = false) const;
    // A text this class wrote; none for any other.
    static std::optional<BoardFailure> parse(const QString &text);
    // A text of the log in the interface's language: as the failure it names, else as it is.
    static QString shown(const QString &text);
    // A category() in the sources' language, in the interface's.
    static QString shownCategory(const QString &category);
};

#endif // BOARDFAILURE_H
