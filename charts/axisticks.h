#ifndef AXISTICKS_H
#define AXISTICKS_H

#include "compat/qtcompat.h"

#include <QString>

// The ticks of a chart axis where its labels can be read: the axis as built (a fixed count over
// its built range) while that range is shown and its labels fit, otherwise ticks on round values
// (1, 2 or 5 × 10ⁿ), as many as fit the room, each label written with the decimals its step needs
// so that no two read alike.
class AxisTicks
{
public:
    // The axis as it was built.
    struct Built
    {
        double min = 0.0;
        double max = 0.0;
        int tickCount = 2;
    };

    // The smallest round step that puts at most maxTicks ticks between min and max.
    static double roundStep(double min, double max, int maxTicks);
    // Decimals that tell apart the labels of ticks step apart.
    static int decimals(double step);
    // The ticks of axis for its current range, along pixels of plot; across says whether the
    // labels sit side by side (a horizontal axis) or one above the other.
    static void fit(QtCharts::QValueAxis *axis, const Built &built, double pixels, bool across);

private:
    // Room one label takes along the axis, with the padding Qt Charts keeps around it.
    static double labelExtent(const QtCharts::QValueAxis *axis, const QString &format, bool across);
};

#endif // AXISTICKS_H
