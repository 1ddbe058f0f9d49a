#include "sim/simslider.h"

#include "sim/simboard.h"

#include <cmath>

namespace
{
constexpr double kPi = 3.14159265358979323846;
}

QVector<int> SimSlider::shares(int count, bool wheel, double place)
{
    QVector<int> result;
    for (int k = 0; k < count; ++k) {
        double distance = place - k;
        if (wheel)
            distance = std::remainder(distance, double(count));
        distance = std::abs(distance);
        const double share =
            distance < kReach ? 0.5 * (1.0 + std::cos(kPi * distance / kReach)) : 0.0;
        result << int(std::lround(share * SimBoard::kWholeFinger));
    }
    return result;
}

void SimSlider::putFinger(const QVector<int> &channels, bool wheel, double place)
{
    SimBoard::setFingerShares(channels, shares(channels.size(), wheel, place));
}

void SimSlider::liftFinger(const QVector<int> &channels)
{
    SimBoard::setFingerShares(channels, QVector<int>(channels.size(), 0));
}

double SimSlider::placeAt(int count, bool wheel, double share)
{
    return wheel ? share * count : -0.5 + share * count;
}
