#ifndef KEYNUMBERCHECK_H
#define KEYNUMBERCHECK_H

#include <QCoreApplication>
#include <QStringList>

class PinMapSource;
class QWidget;

// The key numbers the firmware cannot carry: a channel in use without one (0), whose key bit
// would be an undefined shift, and channels that share one, which clear each other's bit.
class KeyNumberCheck
{
    Q_DECLARE_TR_FUNCTIONS(KeyNumberCheck)

public:
    // "以下通道没有按键号：TK4" and "以下通道的按键号重复：TK2、TK6（按键 3）", each when it
    // applies; empty when every channel in use has a key number of its own.
    static QStringList problems(const PinMapSource &pins);
    // Shows the problems in one "提示" box over parent; true when there were any.
    static bool warn(QWidget *parent, const PinMapSource &pins);
};

#endif // KEYNUMBERCHECK_H
