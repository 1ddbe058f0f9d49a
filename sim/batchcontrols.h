#ifndef BATCHCONTROLS_H
#define BATCHCONTROLS_H

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

// The simulated board as a production batch, on the board panel: the spread from one board to
// the next (baseline offset, finger signal, noise), a new board on the fixture now or after every
// Stop, and an open or shorted pad on the board on the fixture.
class BatchControls : public QWidget
{
    Q_OBJECT

public:
    explicit BatchControls(QWidget *parent = nullptr);

    // Shows the board's count and its pads as they are now.
    void refresh();

private:
    void newBoard();
    void applyBatch();
    void applyPad();

    QSpinBox *offsetSpin = nullptr;
    QSpinBox *signalSpin = nullptr;
    QSpinBox *noiseLowSpin = nullptr;
    QSpinBox *noiseHighSpin = nullptr;
    QCheckBox *batchCheckBox = nullptr;
    QComboBox *padChannel = nullptr;
    QComboBox *padState = nullptr;
    QLabel *boardLabel = nullptr;
    unsigned nextSeed = 1;
};

#endif // BATCHCONTROLS_H
