#ifndef SLIDERPANEL_H
#define SLIDERPANEL_H

#include "project/sliderdefinition.h"

#include <QGroupBox>

#include <array>

class PackageWidget;
class QLabel;
class QListWidget;
class QPoint;
class QPushButton;
class QStackedWidget;

// "滑条与滚轮" under the package drawing: makes a slider or a wheel of the shown package's pins
// ("新建滑条", "新建滚轮", then a click on each segment's pin in order, "完成"), lists the
// definitions, and reverses or removes one from the list's menu. The definitions live in the
// package widget, as its keys do.
class SliderPanel : public QGroupBox
{
    Q_OBJECT

public:
    SliderPanel(const std::array<PackageWidget *, 3> &packages, QStackedWidget *packageStack,
                QWidget *parent = nullptr);

    // The list and the buttons from the shown package's definitions.
    void refresh();

private:
    PackageWidget *shown() const;
    void start(SliderDefinition::Kind kind);
    // "完成": a definition with too few segments is refused, and picking goes on.
    void finish();
    // "取消": the definition being made goes, with its segments.
    void cancel();
    void showListMenu(const QPoint &at);

    std::array<PackageWidget *, 3> packages;
    QStackedWidget *stack;
    QPushButton *newSlider = nullptr;
    QPushButton *newWheel = nullptr;
    QPushButton *finishButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QLabel *hint = nullptr;
    QListWidget *list = nullptr;
};

#endif // SLIDERPANEL_H
