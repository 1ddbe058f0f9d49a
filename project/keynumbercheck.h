#ifndef KEYNUMBERCHECK_H
#define KEYNUMBERCHECK_H

#include <QCoreApplication>
#include <QStringList>

class PinMapSource;
class QWidget;

// The key numbers the firmware cannot carry: a key's channel in use without one (0), whose key
// bit would be an undefined shift, one above 32, beyond the firmware's 32 key bits, and channels
// that share one, which clear each other's bit; and sliders or wheels with too few segments. The
// segments of sliders and wheels carry no key number.
class KeyNumberCheck
{
    Q_DECLARE_TR_FUNCTIONS(KeyNumberCheck)

public:
    static constexpr int kMaxKeyNumber = 32;

    // "以下通道没有按键号：TK4", "以下通道的按键号超出 1～32：TK0（按键 33）" and
    // "以下通道的按键号重复：TK2、TK6（按键 3）", "以下滑条或滚轮的段数不够：S1（1 段，至少 2
    // 段）", each when it applies; empty when every key in use has a key number of its own.
    static QStringList problems(const PinMapSource &pins);
    // Shows the problems in one "提示" box over parent; true when there were any.
    static bool warn(QWidget *parent, const PinMapSource &pins);
    // Before firmware is written: a pin map without a channel in use, or with the problems
    // above, is refused with its "提示" box; true then.
    static bool refuseForFirmware(QWidget *parent, const PinMapSource &pins);
};

#endif // KEYNUMBERCHECK_H
