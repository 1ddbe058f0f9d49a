#include "quality/capturecheck.h"

#include "chip/chip.h"
#include "quality/keyquality.h"

#include <algorithm>
#include <cmath>

namespace
{
double meanOf(const QVector<int> &samples, int from, int count)
{
    double sum = 0.0;
    for (int i = from; i < from + count; ++i)
        sum += samples.at(i);
    return sum / count;
}

int spreadOf(const QVector<int> &samples, int from, int count)
{
    const auto begin = samples.cbegin() + from;
    const auto [low, high] = std::minmax_element(begin, begin + count);
    return *high - *low;
}

bool fullPhase(const QVector<int> &samples) { return samples.size() == chip::kSamplesPerPhase; }
} // namespace

bool CaptureCheck::stepped(const QVector<int> &samples, double reference, int noise)
{
    const int quarter = samples.size() / 4;
    if (quarter < 1)
        return false;
    const double step =
        std::abs(meanOf(samples, 0, quarter) - meanOf(samples, samples.size() - quarter, quarter));
    return step > std::abs(reference) / 2.0 && step > noise;
}

QString CaptureCheck::touchDoubt(const QVector<int> &noTouch, const QVector<int> &touch)
{
    if (!fullPhase(noTouch) || !fullPhase(touch))
        return QString();
    ChannelSamples phases;
    phases.noTouch = noTouch;
    phases.touch = touch;
    const KeyQuality quality = KeyQuality::of(phases);
    // The bar a key must pass anyway: a finger that moves the count less than that was not there.
    if (*quality.signal <= 0 || *quality.snr < KeyQuality::kPassSnr)
        return tr("信噪比 %1").arg(quality.snrText());
    if (stepped(touch, *quality.signal, *quality.noise))
        return tr("手指中途按下或离开");
    return QString();
}

QString CaptureCheck::noTouchDoubt(const QVector<int> &noTouch, const QVector<int> &earlier)
{
    if (!fullPhase(noTouch))
        return QString();
    const int quarter = noTouch.size() / 4;
    const int usual = std::max(
        1, fullPhase(earlier) ? spreadOf(earlier, 0, earlier.size())
                              : std::min(spreadOf(noTouch, 0, quarter),
                                         spreadOf(noTouch, noTouch.size() - quarter, quarter)));
    // As far above the noise as a key's signal must be: what a finger does, not the board.
    const int noise = spreadOf(noTouch, 0, noTouch.size());
    return noise >= KeyQuality::kPassSnr * usual ? tr("测量中有触摸") : QString();
}

QString CaptureCheck::waterDoubt(const QVector<int> &noTouch, const QVector<int> &water)
{
    if (!fullPhase(water))
        return QString();
    double shift = 0.0;
    int noise = 0;
    if (fullPhase(noTouch)) {
        shift = meanOf(water, 0, water.size()) - meanOf(noTouch, 0, noTouch.size());
        noise = std::max(1, spreadOf(noTouch, 0, noTouch.size()));
        if (!stepped(water, shift, noise) && std::abs(shift) <= noise)
            return tr("未检测到水的影响");
    } else {
        // Without untouched samples the quieter end quarter tells the noise: a step lies in one
        // of them at most.
        const int quarter = water.size() / 4;
        noise = std::max(1, std::min(spreadOf(water, 0, quarter),
                                     spreadOf(water, water.size() - quarter, quarter)));
    }
    return stepped(water, shift, noise) ? tr("水在测量中途加上或擦去") : QString();
}
