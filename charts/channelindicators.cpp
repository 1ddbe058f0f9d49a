#include "charts/channelindicators.h"

#include "charts/channelpalette.h"
#include "charts/runview.h"
#include "chip/chip.h"
#include "project/pinmapsource.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFont>
#include <QPushButton>
#include <QTimer>

namespace
{
constexpr int kDebugPage = 1;
constexpr int kPinMapTimerMs = 1000;

QString rgbText(const QColor &colour)
{
    return QStringLiteral("%1,%2,%3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}
} // namespace

ChannelIndicators::ChannelIndicators(const QList<QPushButton *> &keyButtons,
                                     const QList<QPushButton *> &swatches,
                                     const QList<QCheckBox *> &checkBoxes, PinMapSource &pinMap,
                                     const RunView &run, QWidget *dialogParent, QObject *parent)
    : QObject(parent), keys(keyButtons), swatches(swatches), boxes(checkBoxes), pinMap(pinMap),
      run(run), dialogParent(dialogParent)
{
    Q_ASSERT(keys.size() == chip::kChannelCount && swatches.size() == chip::kChannelCount &&
             boxes.size() == chip::kChannelCount);
    chooseColour = [this] {
        return QColorDialog::getColor(Qt::white, this->dialogParent, QString(),
                                      QColorDialog::ColorDialogOptions());
    };
}

QString ChannelIndicators::greenKeyStyle()
{
    return QStringLiteral("QPushButton{background-color:rgb(0,255,0);; border:2px solid "
                          "rgb(0,255,0);; border-radius:10px;}");
}

QString ChannelIndicators::whiteKeyStyle()
{
    return QStringLiteral("QPushButton{background-color:rgb(255,255,255);; border:2px solid "
                          "rgb(255,255,255);; border-radius:10px;}");
}

QString ChannelIndicators::swatchStyle(const QColor &colour)
{
    return QStringLiteral("QPushButton{background-color:rgb(") + rgbText(colour) +
           QStringLiteral(");}");
}

QString ChannelIndicators::checkedBoxStyle(int channel)
{
    return QStringLiteral("background-color:rgb(") + rgbText(ChannelPalette::colour(channel)) +
           QStringLiteral(");font-size:16px;");
}

QString ChannelIndicators::uncheckedBoxStyle()
{
    return QStringLiteral("background-color:rgb(255,255,255);font-size:16px;");
}

QPushButton *ChannelIndicators::keyButton(int channel) const
{
    return channel >= 0 && channel < chip::kChannelCount ? keys.at(channel) : nullptr;
}

QCheckBox *ChannelIndicators::checkBox(int channel) const
{
    return channel >= 0 && channel < chip::kChannelCount ? boxes.at(channel) : nullptr;
}

void ChannelIndicators::applySwatchStyles()
{
    for (int n = 0; n < chip::kChannelCount; ++n)
        swatches.at(n)->setStyleSheet(swatchStyle(ChannelPalette::colour(n)));
}

void ChannelIndicators::checkBoxClicked(int channel, bool checked)
{
    if (QCheckBox *box = checkBox(channel))
        box->setStyleSheet(checked ? checkedBoxStyle(channel) : uncheckedBoxStyle());
}

void ChannelIndicators::showPressed(int channel, bool pressed)
{
    static const QString pressedLook = QStringLiteral("color:rgb(255,0,0);font-weight:bold;");
    QCheckBox *box = checkBox(channel);
    if (!box)
        return;
    QString style = box->styleSheet();
    style.remove(pressedLook);
    box->setStyleSheet(pressed ? style + pressedLook : style);
    // A sheet that goes leaves a font of its own behind on the box; the box inherits its font
    // again, and what a sheet it still has says applies on top.
    box->setFont(QFont());
}

void ChannelIndicators::pickColour(int channel)
{
    if (channel < 0 || channel >= chip::kChannelCount)
        return;
    const QColor colour = chooseColour();
    if (!colour.isValid())
        return;
    swatches.at(channel)->setStyleSheet(swatchStyle(colour));
    emit swatchColourChanged(channel, colour);
}

void ChannelIndicators::setColourChooser(ColourChooser chooser)
{
    chooseColour = std::move(chooser);
}

void ChannelIndicators::selectAll()
{
    for (int n = 0; n < chip::kChannelCount; ++n) {
        if (pinMap.channelInUse(n) == 1)
            boxes.at(n)->setChecked(true);
    }
}

void ChannelIndicators::invertSelection()
{
    for (int n = 0; n < chip::kChannelCount; ++n) {
        if (pinMap.channelInUse(n) == 1)
            boxes.at(n)->setChecked(!boxes.at(n)->isChecked());
    }
}

void ChannelIndicators::refresh()
{
    pinMap.resetHiddenPackages();
    for (int n = 0; n < chip::kChannelCount; ++n) {
        const bool inUse = pinMap.channelInUse(n) != 0;
        keys.at(n)->setStyleSheet(inUse ? greenKeyStyle() : whiteKeyStyle());
        keys.at(n)->setEnabled(inUse);
        boxes.at(n)->setChecked(inUse);
        boxes.at(n)->setEnabled(inUse);
    }
}

void ChannelIndicators::blinkTick()
{
    QPushButton *key = keyButton(run.channel());
    if (!run.sampling() || !key)
        return;
    key->setStyleSheet(blinkPhase ? whiteKeyStyle() : greenKeyStyle());
    blinkPhase = !blinkPhase;
}

void ChannelIndicators::tabChanged(int currentIndex, QTimer *pinMapTimer,
                                   QWidget *createAppProButton)
{
    if (run.testBusy())
        return;
    // The pin-map timer runs while the settings page is shown and pauses on the debug page.
    if (pinMapTimerPaused) {
        pinMapTimer->start(kPinMapTimerMs);
        pinMapTimerPaused = false;
    } else {
        pinMapTimer->stop();
        pinMapTimerPaused = true;
    }
    if (currentIndex == kDebugPage) {
        refresh();
        createAppProButton->setEnabled(true);
    }
}
