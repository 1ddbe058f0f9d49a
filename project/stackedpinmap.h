#ifndef STACKEDPINMAP_H
#define STACKEDPINMAP_H

#include "project/pinmapsource.h"

class PackageWidget;
class QStackedWidget;

// The pin map of the package widget on the current page of the package stack.
class StackedPinMap : public PinMapSource
{
public:
    explicit StackedPinMap(QStackedWidget *packageStackedWidget);

    int channelInUse(int channel) const override;
    int keyNumber(int channel) const override;
    int keyCount() const override;
    void resetHiddenPackages() override;
    QVector<SliderDefinition> sliders() const override;

private:
    PackageWidget *shown() const;

    QStackedWidget *stack;
};

#endif // STACKEDPINMAP_H
