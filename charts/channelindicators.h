#ifndef CHANNELINDICATORS_H
#define CHANNELINDICATORS_H

#include <QColor>
#include <QList>
#include <QObject>

#include <functional>

class QCheckBox;
class QPushButton;
class QTimer;
class QWidget;
class PinMapSource;
class RunView;

// The three rows of per-channel controls on the debug page: the key indicators (btnTk), the colour
// swatches (tkBtn) and the curve check boxes (checkBox); their looks, the blink of the measured
// key, bulk selection and the refresh from the pin map.
class ChannelIndicators : public QObject
{
    Q_OBJECT

public:
    using ColourChooser = std::function<QColor()>;

    ChannelIndicators(const QList<QPushButton *> &keyButtons, const QList<QPushButton *> &swatches,
                      const QList<QCheckBox *> &checkBoxes, PinMapSource &pinMap,
                      const RunView &run, QWidget *dialogParent, QObject *parent = nullptr);

    static QString greenKeyStyle();
    static QString whiteKeyStyle();
    static QString swatchStyle(const QColor &colour);
    static QString checkedBoxStyle(int channel);
    static QString uncheckedBoxStyle();

    QPushButton *keyButton(int channel) const;
    QCheckBox *checkBox(int channel) const;

    // Palette colours on the 25 swatches (window construction).
    void applySwatchStyles();
    // A user's click on a check box: its look follows the tick.
    void checkBoxClicked(int channel, bool checked);
    // Opens the colour dialog for the channel's swatch; emits swatchColourChanged on a choice.
    void pickColour(int channel);
    // Replaces the colour dialog (tests answer it without a modal loop).
    void setColourChooser(ColourChooser chooser);

    void selectAll();
    void invertSelection();
    // Clears the hidden packages' pin maps and shows the shown one: green and enabled keys and
    // ticked boxes for channels in use, white and disabled ones for the others.
    void refresh();
    // Verification's preview: the channel's curve box in bold red while the firmware would report
    // its key pressed.
    void showPressed(int channel, bool pressed);
    // One step of the blink of the key under test while sampling.
    void blinkTick();
    // A tab of the settings/debug tab widget became current.
    void tabChanged(int currentIndex, QTimer *pinMapTimer, QWidget *createAppProButton);

signals:
    // A swatch took a new colour: the verification curve of that channel should follow.
    void swatchColourChanged(int channel, const QColor &colour);

private:
    QList<QPushButton *> keys;
    QList<QPushButton *> swatches;
    QList<QCheckBox *> boxes;
    PinMapSource &pinMap;
    const RunView &run;
    QWidget *dialogParent;
    ColourChooser chooseColour;
    bool blinkPhase = false;
    bool pinMapTimerPaused = false;
};

#endif // CHANNELINDICATORS_H
