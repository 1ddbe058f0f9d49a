#ifndef SAMPLESPLOT_H
#define SAMPLESPLOT_H

#include "quality/channelsamples.h"

#include <QColor>
#include <QCoreApplication>
#include <QString>
#include <QVector>

#include <optional>

class QPainter;
class QRectF;

// A small static plot of one channel's three measured phases (no touch, touch, water) over the
// sample index, with the firmware's press threshold dashed, its release threshold dotted and a
// legend. Painter-only, so it draws on any paint device: a PDF page, an image. Its texts are in
// the interface's language, as the report's are.
class SamplesPlot
{
    Q_DECLARE_TR_FUNCTIONS(SamplesPlot)

public:
    // The colour and the name of a phase's curve wherever the three curves are shown together;
    // the name in the interface's language.
    static QColor colour(SamplePhase phase);
    static QString phaseName(SamplePhase phase);

    // The press and release thresholds drawn over the curves; either may be absent.
    struct Lines
    {
        std::optional<int> press;
        std::optional<int> release;
    };

    // The values the count axis labels over low ... high: multiples of a round step (1, 2 or 5
    // times a power of ten, at least 1) that give two to six of them.
    static QVector<int> ticks(double low, double high);

    // Draws title, legend, axes and curves inside area; phases not measured are left out, a
    // threshold line too when there is none. The count axis spans the values with a margin, never
    // beyond the counts 0 ... 65535. lineWidth is the curve pen width in device units.
    static void draw(QPainter &painter, const QRectF &area, const QString &title,
                     const ChannelSamples &samples, const Lines &lines, double lineWidth);
};

#endif // SAMPLESPLOT_H
