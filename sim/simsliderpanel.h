#ifndef SIMSLIDERPANEL_H
#define SIMSLIDERPANEL_H

#include <QGroupBox>

class QComboBox;
class QSpinBox;
class SliderPad;

// The slider and the wheel of the simulated target board, on the board panel: each made of
// consecutive channels from a first one ("首通道", "段数"), with a finger dragged along it and a
// segment that may be made weak ("弱段": a third of a finger's rise), so that a slider's
// measurement, its swipe test and its position can be tried without hardware. Folded until its
// box is ticked.
class SimSliderPanel : public QGroupBox
{
    Q_OBJECT

public:
    // A weak segment feels this share of a finger's rise, in percent.
    static constexpr int kWeakPercent = 35;

    explicit SimSliderPanel(QWidget *parent = nullptr);
    ~SimSliderPanel() override;

    SliderPad *slider() const { return pads[0]; }
    SliderPad *wheel() const { return pads[1]; }
    // Pad 0 (slider) or 1 (wheel) on count channels from first; weak is the weak segment's
    // index, -1 for none.
    void configure(int pad, int first, int count, int weak = -1);

private:
    struct Row
    {
        QSpinBox *first = nullptr;
        QSpinBox *count = nullptr;
        QComboBox *weak = nullptr;
    };
    void apply(int pad);
    // The weak segment of a pad back to its rise before.
    void restoreWeak(int pad);

    SliderPad *pads[2] = {};
    Row rows[2];
    // The channel a pad made weak and its rise before (-1: none).
    int weakChannel[2] = {-1, -1};
    int weakRise[2] = {};
};

#endif // SIMSLIDERPANEL_H
