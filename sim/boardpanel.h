#ifndef BOARDPANEL_H
#define BOARDPANEL_H

#include "chip/chip.h"
#include "sim/simboard.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

// The hands on the simulated board for touchtuner-sim: a finger on each of the keys TK0 ... TK24,
// water on the pad, a coupling of two keys and the debugger cable, with each key's live mean
// reading and whether the board streams. Everything it does goes through SimBoard's control
// functions, so the tool sees the same reports and hot-plug events it would see from real
// hardware. A key held with the mouse is let go when the mouse is, also while the tool's question
// box blocks the panel and swallows the release.
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

protected:
    bool event(QEvent *event) override;

private:
    // Lifts the fingers of keys held with the mouse once its button is up.
    void releaseLetGoKeys();
    // A finger on the first key raises the second by a share of the second's own finger rise.
    void applyCoupling();
    void pressKey(int channel);
    void releaseKey(int channel);
    void toggleKey(int channel, bool on);
    void setLatchMode(bool latch);
    void togglePlug();

    QPushButton *keys[chip::kChannelCount] = {};
    QCheckBox *latchCheckBox = nullptr;
    QComboBox *couplingFrom = nullptr;
    QComboBox *couplingTo = nullptr;
    QSpinBox *couplingShare = nullptr;
    // The pair coupled now (-1: none).
    int coupledFrom = -1;
    int coupledTo = -1;
    QCheckBox *waterCheckBox = nullptr;
    QPushButton *plugBtn = nullptr;
    QLabel *boardStateLabel = nullptr;
    QLabel *hintLabel = nullptr;
    QTimer *refreshTimer = nullptr;
    bool latchMode = false;
    bool blocked = false;
};

#endif // BOARDPANEL_H
