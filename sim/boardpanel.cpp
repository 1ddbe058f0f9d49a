#include "sim/boardpanel.h"

#include "chip/chip.h"
#include "sim/batchcontrols.h"
#include "sim/simsliderpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QVariant>

#include <algorithm>

namespace
{
constexpr int kKeyColumns = 5;
constexpr int kGapToWindow = 8;

// A key with a finger on it turns green, however the finger got there.
const char kKeyStyle[] = "QPushButton { border: 1px solid #9a9a9a; border-radius: 6px;"
                         " background-color: #f6f6f6; padding: 4px; }"
                         "QPushButton:hover { border-color: #3c78c8; }"
                         "QPushButton[touched=\"true\"] { background-color: #7ccf7c;"
                         " border-color: #2e8b2e; }";
// The tool's own status-label look.
const char kStreamingStyle[] = "background-color: green;;border-radius:10px;";
const char kIdleStyle[] = "background-color: white;;border-radius:10px;";
} // namespace

BoardPanel::BoardPanel(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("BoardPanel"));
    setWindowTitle(tr("模拟调试板"));
    // Closing the tool ends the program even while the panel is still open.
    setAttribute(Qt::WA_QuitOnClose, false);

    boardStateLabel = new QLabel(this);
    boardStateLabel->setObjectName(QStringLiteral("boardStateLabel"));
    boardStateLabel->setAlignment(Qt::AlignCenter);
    boardStateLabel->setMinimumHeight(24);

    auto *keyGrid = new QGridLayout;
    keyGrid->setSpacing(6);
    for (int k = 0; k < chip::kChannelCount; ++k) {
        auto *key = new QPushButton(this);
        key->setObjectName(QStringLiteral("keyBtn%1").arg(k));
        key->setStyleSheet(QString::fromLatin1(kKeyStyle));
        key->setFocusPolicy(Qt::NoFocus);
        key->setFixedSize(64, 46);
        key->setProperty("touched", false);
        connect(key, &QPushButton::pressed, this, [this, k] { pressKey(k); });
        connect(key, &QPushButton::released, this, [this, k] { releaseKey(k); });
        connect(key, &QPushButton::toggled, this, [this, k](bool on) { toggleKey(k, on); });
        keyGrid->addWidget(key, k / kKeyColumns, k % kKeyColumns);
        keys[k] = key;
    }

    latchCheckBox = new QCheckBox(tr("按住"), this);
    latchCheckBox->setObjectName(QStringLiteral("latchCheckBox"));
    latchCheckBox->setToolTip(tr("勾选后单击按键按下手指，再单击抬起，可同时按住多个按键"));
    connect(latchCheckBox, &QCheckBox::toggled, this, &BoardPanel::setLatchMode);

    waterCheckBox = new QCheckBox(tr("加水"), this);
    waterCheckBox->setObjectName(QStringLiteral("waterCheckBox"));
    connect(waterCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        SimBoard::setWater(on);
        refresh();
    });

    plugBtn = new QPushButton(this);
    plugBtn->setObjectName(QStringLiteral("plugBtn"));
    plugBtn->setMinimumHeight(28);
    connect(plugBtn, &QPushButton::clicked, this, &BoardPanel::togglePlug);

    hintLabel = new QLabel(this);
    hintLabel->setObjectName(QStringLiteral("hintLabel"));
    hintLabel->setStyleSheet(QStringLiteral("color: #666666;"));

    auto *options = new QHBoxLayout;
    options->addWidget(latchCheckBox);
    options->addSpacing(16);
    options->addWidget(waterCheckBox);
    options->addStretch();

    // "耦合：触摸 TK3 时 TK4 升高 30%": a finger on the first key raises the second.
    couplingFrom = new QComboBox(this);
    couplingFrom->setObjectName(QStringLiteral("couplingFromCBox"));
    couplingTo = new QComboBox(this);
    couplingTo->setObjectName(QStringLiteral("couplingToCBox"));
    for (int k = 0; k < chip::kChannelCount; ++k) {
        couplingFrom->addItem(QStringLiteral("TK%1").arg(k));
        couplingTo->addItem(QStringLiteral("TK%1").arg(k));
    }
    couplingTo->setCurrentIndex(1);
    couplingShare = new QSpinBox(this);
    couplingShare->setObjectName(QStringLiteral("couplingShareSpin"));
    couplingShare->setRange(0, 100);
    couplingShare->setSingleStep(10);
    couplingShare->setSuffix(QStringLiteral("%"));
    couplingShare->setToolTip(tr("后一个按键自身手指信号的百分比；0 为不耦合"));
    const auto couplingChanged = [this] { applyCoupling(); };
    connect(couplingFrom, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            couplingChanged);
    connect(couplingTo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, couplingChanged);
    connect(couplingShare, QOverload<int>::of(&QSpinBox::valueChanged), this, couplingChanged);
    auto *coupling = new QHBoxLayout;
    coupling->addWidget(new QLabel(tr("耦合：触摸"), this));
    coupling->addWidget(couplingFrom);
    coupling->addWidget(new QLabel(tr("时"), this));
    coupling->addWidget(couplingTo);
    coupling->addWidget(new QLabel(tr("升高"), this));
    coupling->addWidget(couplingShare);
    coupling->addStretch();

    // "噪声：TK2 ±400": a charger or a noise generator on the supply, on one key.
    burstChannel = new QComboBox(this);
    burstChannel->setObjectName(QStringLiteral("burstChannelCBox"));
    for (int k = 0; k < chip::kChannelCount; ++k)
        burstChannel->addItem(QStringLiteral("TK%1").arg(k));
    burstAmplitude = new QSpinBox(this);
    burstAmplitude->setObjectName(QStringLiteral("burstAmplitudeSpin"));
    burstAmplitude->setRange(0, 2000);
    burstAmplitude->setSingleStep(50);
    burstAmplitude->setPrefix(QStringLiteral("±"));
    burstAmplitude->setToolTip(tr("该按键读数另加的随机波动（计数）；0 为无噪声"));
    const auto burstChanged = [this] {
        SimBoard::setNoiseBurst(burstChannel->currentIndex(), burstAmplitude->value());
    };
    connect(burstChannel, QOverload<int>::of(&QComboBox::currentIndexChanged), this, burstChanged);
    connect(burstAmplitude, QOverload<int>::of(&QSpinBox::valueChanged), this, burstChanged);
    auto *burst = new QHBoxLayout;
    burst->addWidget(new QLabel(tr("噪声："), this));
    burst->addWidget(burstChannel);
    burst->addWidget(burstAmplitude);
    burst->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(boardStateLabel);
    layout->addLayout(keyGrid);
    layout->addWidget(hintLabel);
    layout->addLayout(options);
    layout->addLayout(coupling);
    layout->addLayout(burst);
    batchControls = new BatchControls(this);
    layout->addWidget(batchControls);
    layout->addWidget(new SimSliderPanel(this));
    layout->addWidget(plugBtn);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    refreshTimer = new QTimer(this);
    connect(refreshTimer, &QTimer::timeout, this, &BoardPanel::refresh);
    refreshTimer->start(kRefreshMs);
    setLatchMode(false);
}

void BoardPanel::placeBeside(const QWidget *window)
{
    if (!window)
        return;
    adjustSize();
    const QRect beside = window->frameGeometry();
    const QSize size = frameGeometry().size();
    QPoint corner(beside.right() + 1 + kGapToWindow, beside.top());
    // On a narrow screen the panel overlaps the tool rather than leaving the screen.
    if (const QScreen *screen = window->screen()) {
        const QRect room = screen->availableGeometry();
        corner.setX(std::max(room.left(), std::min(corner.x(), room.right() + 1 - size.width())));
        corner.setY(std::max(room.top(), std::min(corner.y(), room.bottom() + 1 - size.height())));
    }
    move(corner);
}

bool BoardPanel::event(QEvent *event)
{
    // A question box of the tool blocks the panel: the release of a key held through it never
    // reaches the key, so the panel watches the mouse button itself until it is free again.
    if (event->type() == QEvent::WindowBlocked)
        blocked = true;
    if (event->type() == QEvent::WindowUnblocked) {
        blocked = false;
        releaseLetGoKeys();
    }
    return QWidget::event(event);
}

void BoardPanel::releaseLetGoKeys()
{
    if (latchMode || (QGuiApplication::mouseButtons() & Qt::LeftButton))
        return;
    for (int k = 0; k < chip::kChannelCount; ++k) {
        if (keys[k]->isDown()) {
            keys[k]->setDown(false);
            releaseKey(k);
        }
    }
}

void BoardPanel::applyCoupling()
{
    if (coupledFrom >= 0)
        SimBoard::setCoupling(coupledFrom, coupledTo, 0);
    coupledFrom = couplingFrom->currentIndex();
    coupledTo = couplingTo->currentIndex();
    SimBoard::setCoupling(coupledFrom, coupledTo,
                          SimBoard::fingerRise(coupledTo) * couplingShare->value() / 100);
    refresh();
}

void BoardPanel::refresh()
{
    if (blocked)
        releaseLetGoKeys();
    for (int k = 0; k < chip::kChannelCount; ++k) {
        QPushButton *key = keys[k];
        key->setText(QStringLiteral("TK%1\n%2").arg(k).arg(SimBoard::meanReading(k)));
        const bool touched = SimBoard::finger(k);
        if (key->property("touched").toBool() != touched) {
            key->setProperty("touched", touched);
            key->style()->unpolish(key);
            key->style()->polish(key);
        }
        // A finger set on the board by other means shows as a latched key.
        if (latchMode && key->isChecked() != touched) {
            const QSignalBlocker quiet(key);
            key->setChecked(touched);
        }
    }
    batchControls->refresh();
    if (waterCheckBox->isChecked() != SimBoard::water()) {
        const QSignalBlocker quiet(waterCheckBox);
        waterCheckBox->setChecked(SimBoard::water());
    }
    const bool plugged = SimBoard::isPlugged();
    plugBtn->setText(plugged ? tr("拔出调试器") : tr("插入调试器"));
    const bool streaming = plugged && SimBoard::isStreaming();
    if (!plugged)
        boardStateLabel->setText(tr("调试器已拔出"));
    else
        boardStateLabel->setText(streaming ? tr("正在发送数据") : tr("未发送数据"));
    const QString look = QString::fromLatin1(streaming ? kStreamingStyle : kIdleStyle);
    if (boardStateLabel->styleSheet() != look)
        boardStateLabel->setStyleSheet(look);
}

void BoardPanel::pressKey(int channel)
{
    if (latchMode)
        return;
    SimBoard::setFinger(channel, true);
    refresh();
}

void BoardPanel::releaseKey(int channel)
{
    if (latchMode)
        return;
    SimBoard::setFinger(channel, false);
    refresh();
}

void BoardPanel::toggleKey(int channel, bool on)
{
    if (!latchMode)
        return;
    SimBoard::setFinger(channel, on);
    refresh();
}

void BoardPanel::setLatchMode(bool latch)
{
    // Leaving the latch lifts every finger: no key stays held with nothing showing it.
    const bool leaving = latchMode && !latch;
    latchMode = latch;
    for (int k = 0; k < chip::kChannelCount; ++k) {
        const QSignalBlocker quiet(keys[k]);
        keys[k]->setChecked(false);
        keys[k]->setCheckable(latch);
        if (leaving)
            SimBoard::setFinger(k, false);
    }
    hintLabel->setText(latch ? tr("单击按键 = 按下/抬起手指，可多键同按")
                             : tr("按住按键 = 手指触摸，松开 = 手指离开"));
    refresh();
}

void BoardPanel::togglePlug()
{
    // SimBoard hands the removal or arrival to the tool's hot-plug receiver.
    if (SimBoard::isPlugged())
        SimBoard::unplug();
    else
        SimBoard::plug();
    refresh();
}
