#include "project/sliderpanel.h"

#include "project/packagewidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

SliderPanel::SliderPanel(const std::array<PackageWidget *, 3> &packages,
                         QStackedWidget *packageStack, QWidget *parent)
    : QGroupBox(tr("滑条与滚轮"), parent), packages(packages), stack(packageStack)
{
    setObjectName(QStringLiteral("sliderPanel"));
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    auto *buttons = new QHBoxLayout;
    const auto button = [this, buttons](const QString &text, const char *name) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        buttons->addWidget(b);
        return b;
    };
    newSlider = button(tr("新建滑条"), "newSliderBtn");
    newWheel = button(tr("新建滚轮"), "newWheelBtn");
    finishButton = button(tr("完成"), "finishSliderBtn");
    cancelButton = button(tr("取消"), "cancelSliderBtn");
    buttons->addStretch();
    rows->addLayout(buttons);
    hint = new QLabel(this);
    hint->setObjectName(QStringLiteral("sliderHint"));
    hint->setWordWrap(true);
    rows->addWidget(hint);
    list = new QListWidget(this);
    list->setObjectName(QStringLiteral("sliderList"));
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->setMaximumHeight(list->fontMetrics().height() * 4 + 8);
    rows->addWidget(list);

    connect(newSlider, &QPushButton::clicked, this,
            [this] { start(SliderDefinition::Kind::Slider); });
    connect(newWheel, &QPushButton::clicked, this,
            [this] { start(SliderDefinition::Kind::Wheel); });
    connect(finishButton, &QPushButton::clicked, this, &SliderPanel::finish);
    connect(cancelButton, &QPushButton::clicked, this, &SliderPanel::cancel);
    connect(list, &QWidget::customContextMenuRequested, this, &SliderPanel::showListMenu);
    connect(stack, &QStackedWidget::currentChanged, this, &SliderPanel::refresh);
    for (PackageWidget *package : packages) {
        if (package)
            connect(package, &PackageWidget::slidersChanged, this, &SliderPanel::refresh);
    }
    refresh();
}

PackageWidget *SliderPanel::shown() const
{
    return qobject_cast<PackageWidget *>(stack->currentWidget());
}

void SliderPanel::refresh()
{
    const PackageWidget *package = shown();
    list->clear();
    const bool picking = package && package->pickingSlider >= 0;
    newSlider->setEnabled(package && !picking);
    newWheel->setEnabled(package && !picking);
    finishButton->setVisible(picking);
    cancelButton->setVisible(picking);
    if (!package) {
        hint->clear();
        return;
    }
    for (const SliderDefinition &slider : package->sliders)
        list->addItem(slider.describe());
    if (picking) {
        const SliderDefinition &slider = package->sliders.at(package->pickingSlider);
        hint->setText(tr("请按%1上的顺序依次点击 %2 的引脚（%3～%4 段），再点“完成”；"
                         "再次点击一段可取消它。")
                          .arg(SliderDefinition::kindName(slider.kind), slider.name)
                          .arg(SliderDefinition::minSegments(slider.kind))
                          .arg(SliderDefinition::kMaxSegments));
    } else {
        hint->setText(package->sliders.isEmpty()
                          ? tr("滑条 2～8 段，滚轮 3～8 段，由不作按键的通道组成。")
                          : tr("右键点击列表可反向或删除。"));
    }
}

void SliderPanel::start(SliderDefinition::Kind kind)
{
    if (PackageWidget *package = shown())
        package->startPicking(kind);
}

void SliderPanel::finish()
{
    PackageWidget *package = shown();
    if (!package || package->pickingSlider < 0)
        return;
    const SliderDefinition &slider = package->sliders.at(package->pickingSlider);
    if (!slider.isComplete()) {
        QMessageBox::warning(this, tr("提示"),
                             tr("%1至少需要 %2 段，请继续点击它的引脚，或点“取消”。")
                                 .arg(slider.name)
                                 .arg(SliderDefinition::minSegments(slider.kind)));
        return;
    }
    package->stopPicking();
}

void SliderPanel::cancel()
{
    if (PackageWidget *package = shown())
        package->removeSlider(package->pickingSlider);
}

void SliderPanel::showListMenu(const QPoint &at)
{
    PackageWidget *package = shown();
    const int row = list->indexAt(at).row();
    if (!package || row < 0 || package->pickingSlider >= 0)
        return;
    QMenu menu(list);
    menu.addAction(tr("反向"), this, [package, row] { package->reverseSlider(row); });
    menu.addAction(tr("删除"), this, [package, row] { package->removeSlider(row); });
    menu.exec(list->viewport()->mapToGlobal(at));
}
