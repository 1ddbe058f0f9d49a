#ifndef SIMSLIDER_H
#define SIMSLIDER_H

#include <QVector>

// A slider or wheel of the simulated target board: a finger on it covers its nearest segment
// and part of the neighbours, each segment feeling the finger less the further its centre lies
// (a raised cosine that falls to nothing 1.2 segment pitches away), as interleaved pads do.
class SimSlider
{
public:
    // How far a finger reaches, in segment pitches.
    static constexpr double kReach = 1.2;

    // The share of a finger, in thousandths, on each of count segments for a finger at place:
    // segment pitches from the first segment's centre. A slider's pad ends half a pitch beyond
    // its end segments' centres; a wheel's place goes round, count being segment 0 again.
    static QVector<int> shares(int count, bool wheel, double place);
    // The finger at place on the board's channels of the segments, or lifted (all shares 0).
    static void putFinger(const QVector<int> &channels, bool wheel, double place);
    static void liftFinger(const QVector<int> &channels);
    // The place of a finger a share (0 ... 1) of the way from one end of a slider to the other,
    // or round a wheel from segment 0's centre.
    static double placeAt(int count, bool wheel, double share);
};

#endif // SIMSLIDER_H
