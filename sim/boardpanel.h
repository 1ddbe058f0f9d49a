#ifndef BOARDPANEL_H
#define BOARDPANEL_H

#include "chip/chip.h"
#include "sim/simboard.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

// The hands on the simulated board for touchtuner-sim: a finger on each of the keys TK0 ... TK24,
// water on the pad and the debugger cable, with each key's live mean reading and whether the
// board streams. Everything it does goes through SimBoard's control functions, so the tool sees
// the same reports and hot-plug events it would see from real hardware.
class BoardPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 200;

    explicit BoardPanel(QWidget *parent = nullptr);

    // Moves the panel's frame just right of window's frame, kept on window's screen.
    void placeBeside(const QWidget *window);

    // Reads the board again: key readings, finger marks, water, cable and stream state.
    void refresh();

private:
    void pressKey(int channel);
    void releaseKey(int channel);
    void toggleKey(int channel, bool on);
    void setLatchMode(bool latch);
    void togglePlug();

    QPushButton *keys[chip::kChannelCount] = {};
    QCheckBox *latchCheckBox = nullptr;
    QCheckBox *waterCheckBox = nullptr;
    QPushButton *plugBtn = nullptr;
    QLabel *boardStateLabel = nullptr;
    QLabel *hintLabel = nullptr;
    QTimer *refreshTimer = nullptr;
    bool latchMode = false;
};

#endif // BOARDPANEL_H
