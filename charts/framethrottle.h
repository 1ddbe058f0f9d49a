#ifndef FRAMETHROTTLE_H
#define FRAMETHROTTLE_H

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <functional>

// Draws a picture at the display's rate rather than at the rate of its data. A request marks the
// picture stale: it is drawn at once when the last frame is old enough, otherwise when the next
// frame is due, so a stream that stops is drawn whole within one frame. A frame that took long
// spaces the next one further out, so that drawing never takes more than a fixed share of the
// time on a slow machine.
class FrameThrottle : public QObject
{
    Q_OBJECT

public:
    // About 30 frames a second at most.
    static constexpr int kFrameMs = 33;
    // The time between two frames is at least this many times the cost of the last one.
    static constexpr int kCostSpacing = 16;

    // cost, when given, adds to the time the draw itself took (a paint that follows it).
    FrameThrottle(std::function<void()> draw, std::function<qint64()> extraCostNs = {},
                  QObject *parent = nullptr);

    // The data changed.
    void request();
    // Draws now when a request is waiting (the stream paused or ended).
    void flush();
    // Forgets a waiting request.
    void cancel();
    // While held, requests wait; releasing draws what waited at once.
    void hold(bool held);
    bool isHeld() const { return held; }
    bool isStale() const { return stale; }
    int framesDrawn() const { return frames; }
    // Milliseconds from the start of the last frame before the next may be drawn.
    int spacingMs() const { return spacing; }
    // The shortest time between two frames (kFrameMs unless set).
    void setFrameMs(int ms) { frameMs = spacing = ms; }
    // The time between two frames as a multiple of the last one's cost (kCostSpacing unless set):
    // drawing takes at most one part in that many of the time.
    void setCostSpacing(int times) { costSpacing = std::max(1, times); }

private:
    void drawNow();

    std::function<void()> draw;
    std::function<qint64()> extraCostNs;
    QTimer due;
    QElapsedTimer lastFrame;
    int frameMs = kFrameMs;
    int costSpacing = kCostSpacing;
    int spacing = kFrameMs;
    int frames = 0;
    bool stale = false;
    bool held = false;
};

#endif // FRAMETHROTTLE_H
