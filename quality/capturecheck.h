#ifndef CAPTURECHECK_H
#define CAPTURECHECK_H

#include <QCoreApplication>
#include <QString>
#include <QVector>

// Whether a phase just captured can stand as a measurement: a touch phase taken without a finger
// on the key, a finger on it while it was not to be touched, water that did nothing, or a finger
// or water that came or went while the phase was being sampled. Judged
// from the phase's own samples and the channel's no-touch samples, before anything is kept.
class CaptureCheck
{
    Q_DECLARE_TR_FUNCTIONS(CaptureCheck)

public:
    // Empty when the touch phase looks sound. Otherwise the doubt: "信噪比 0.1:1" when no finger
    // was seen (signal not positive, or below five times the no-touch noise), "手指中途按下或离开"
    // when the phase holds a step.
    static QString touchDoubt(const QVector<int> &noTouch, const QVector<int> &touch);
    // Empty when the water phase holds no step, "水在测量中途加上或擦去" when it does. The step is
    // measured against the shift from the no-touch samples when the channel has them; with
    // them, a phase whose mean does not leave their noise is "未检测到水的影响" (a pad may be
    // immune, so it is asked about, never refused).
    static QString waterDoubt(const QVector<int> &noTouch, const QVector<int> &water);
    // Empty when the no-touch phase looks untouched; "测量中有触摸" when its noise (peak to peak)
    // is at least five times the channel's usual: that of its earlier no-touch samples (earlier,
    // when it has a whole phase), or else that of the quieter end quarter of the phase. A finger
    // that came, went or moved leaves that; so does a step, which spans the phase's noise.
    static QString noTouchDoubt(const QVector<int> &noTouch, const QVector<int> &earlier = {});
    // The means of the first and last quarter of samples differ by more than half the reference
    // and more than the noise: something arrived or left in the middle of the phase.
    static bool stepped(const QVector<int> &samples, double reference, int noise);
};

#endif // CAPTURECHECK_H
