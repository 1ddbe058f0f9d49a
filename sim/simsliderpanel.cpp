#include "sim/simsliderpanel.h"

#include "chip/chip.h"
#include "sim/simboard.h"
#include "sim/sliderpad.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

SimSliderPanel::SimSliderPanel(QWidget *parent) : QGroupBox(tr("滑条与滚轮"), parent)
{
    setObjectName(QStringLiteral("simSliderPanel"));
    // Folded until wanted, so that the panel of keys stays as small as it was.
    setCheckable(true);
    setChecked(false);
    auto *body = new QWidget(this);
    body->hide();
    (new QVBoxLayout(this))->addWidget(body);
    connect(this, &QGroupBox::toggled, body, &QWidget::setVisible);
    auto *grid = new QGridLayout(body);
    const QString names[2] = {tr("滑条"), tr("滚轮")};
    const int defaults[2][2] = {{8, 4}, {12, 6}};
    for (int p = 0; p < 2; ++p) {
        Row &row = rows[p];
        pads[p] = new SliderPad(p == 1, body);
        row.first = new QSpinBox(body);
        row.first->setRange(0, chip::kChannelCount - 1);
        row.first->setPrefix(QStringLiteral("TK"));
        row.count = new QSpinBox(body);
        row.count->setRange(p == 1 ? 3 : 2, 8);
        row.weak = new QComboBox(body);
        row.weak->setToolTip(tr("该段只感受到手指的三分之一，用来试位置的归一化"));
        grid->addWidget(new QLabel(names[p], body), p * 2, 0);
        grid->addWidget(new QLabel(tr("首通道"), body), p * 2, 1);
        grid->addWidget(row.first, p * 2, 2);
        grid->addWidget(new QLabel(tr("段数"), body), p * 2, 3);
        grid->addWidget(row.count, p * 2, 4);
        grid->addWidget(new QLabel(tr("弱段"), body), p * 2, 5);
        grid->addWidget(row.weak, p * 2, 6);
        grid->addWidget(pads[p], p * 2 + 1, 0, 1, 7, p == 1 ? Qt::AlignHCenter : Qt::Alignment());
        configure(p, defaults[p][0], defaults[p][1]);
        const auto changed = [this, p] { apply(p); };
        connect(row.first, QOverload<int>::of(&QSpinBox::valueChanged), this, changed);
        connect(row.count, QOverload<int>::of(&QSpinBox::valueChanged), this, changed);
        connect(row.weak, QOverload<int>::of(&QComboBox::activated), this, changed);
    }
}

SimSliderPanel::~SimSliderPanel()
{
    for (int p = 0; p < 2; ++p) {
        pads[p]->liftFinger();
        restoreWeak(p);
    }
}

void SimSliderPanel::configure(int pad, int first, int count, int weak)
{
    Row &row = rows[pad];
    const QSignalBlocker a(row.first), b(row.count), c(row.weak);
    row.first->setValue(first);
    row.count->setValue(count);
    row.weak->clear();
    row.weak->addItem(tr("无"));
    for (int k = 1; k <= row.count->value(); ++k)
        row.weak->addItem(tr("第 %1 段").arg(k));
    row.weak->setCurrentIndex(std::clamp(weak + 1, 0, row.weak->count() - 1));
    apply(pad);
}

void SimSliderPanel::restoreWeak(int pad)
{
    if (weakChannel[pad] < 0)
        return;
    SimBoard::setChannelLevels(weakChannel[pad], SimBoard::baseline(weakChannel[pad]),
                               weakRise[pad]);
    weakChannel[pad] = -1;
}

void SimSliderPanel::apply(int pad)
{
    Row &row = rows[pad];
    // The segments stop at the last channel: a first channel near the end gives fewer.
    const int first = row.first->value();
    const int count = std::min(row.count->value(), chip::kChannelCount - first);
    if (row.weak->count() != row.count->value() + 1) {
        const int weak = row.weak->currentIndex();
        const QSignalBlocker blocker(row.weak);
        row.weak->clear();
        row.weak->addItem(tr("无"));
        for (int k = 1; k <= row.count->value(); ++k)
            row.weak->addItem(tr("第 %1 段").arg(k));
        row.weak->setCurrentIndex(std::min(weak, row.weak->count() - 1));
    }
    QVector<int> channels;
    for (int k = 0; k < count; ++k)
        channels << first + k;
    pads[pad]->setChannels(channels);
    restoreWeak(pad);
    const int weak = row.weak->currentIndex() - 1;
    if (weak >= 0 && weak < channels.size()) {
        const int channel = channels.at(weak);
        weakChannel[pad] = channel;
        weakRise[pad] = SimBoard::fingerRise(channel);
        SimBoard::setChannelLevels(channel, SimBoard::baseline(channel),
                                   weakRise[pad] * kWeakPercent / 100);
    }
}
