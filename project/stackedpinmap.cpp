#include "project/stackedpinmap.h"

#include "chip/chip.h"
#include "project/packagewidget.h"

#include <QStackedWidget>

StackedPinMap::StackedPinMap(QStackedWidget *packageStackedWidget) : stack(packageStackedWidget) {}

PackageWidget *StackedPinMap::shown() const
{
    return qobject_cast<PackageWidget *>(stack->currentWidget());
}

int StackedPinMap::channelInUse(int channel) const
{
    const PackageWidget *package = shown();
    if (!package || channel < 0 || channel >= chip::kChannelCount)
        return 0;
    return package->channelInUse[channel];
}

int StackedPinMap::keyNumber(int channel) const
{
    const PackageWidget *package = shown();
    if (!package || channel < 0 || channel >= chip::kChannelCount)
        return 0;
    return package->keyNumber[channel];
}

int StackedPinMap::keyCount() const
{
    const PackageWidget *package = shown();
    return package ? package->keyCount() : 0;
}

QVector<SliderDefinition> StackedPinMap::sliders() const
{
    const PackageWidget *package = shown();
    return package ? package->sliders : QVector<SliderDefinition>();
}

void StackedPinMap::resetHiddenPackages()
{
    const int current = stack->currentIndex();
    for (int page = 0; page < stack->count(); ++page) {
        if (page == current)
            continue;
        if (auto *package = qobject_cast<PackageWidget *>(stack->widget(page)))
            package->reset();
    }
}
