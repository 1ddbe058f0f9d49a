#include "sim/batchcontrols.h"

#include "chip/chip.h"
#include "sim/simboard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace
{
QSpinBox *spin(QWidget *parent, const char *name, int low, int high, int value,
               const QString &prefix, const QString &suffix)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setValue(value);
    box->setPrefix(prefix);
    box->setSuffix(suffix);
    return box;
}
} // namespace

BatchControls::BatchControls(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("batchControls"));
    const SimBoard::Spread spread;
    offsetSpin = spin(this, "offsetSpin", 0, 1000, spread.offset, QStringLiteral("±"), QString());
    signalSpin = spin(this, "signalSpin", 0, 90, spread.signalPercent, QStringLiteral("±"),
                      QStringLiteral("%"));
    noiseLowSpin = spin(this, "noiseLowSpin", 0, 200, spread.noiseLow, QString(), QString());
    noiseHighSpin = spin(this, "noiseHighSpin", 0, 200, spread.noiseHigh, QString(), QString());
    auto *spreadGrid = new QGridLayout;
    spreadGrid->addWidget(new QLabel(tr("基线偏差"), this), 0, 0);
    spreadGrid->addWidget(offsetSpin, 0, 1);
    spreadGrid->addWidget(new QLabel(tr("信号偏差"), this), 0, 2);
    spreadGrid->addWidget(signalSpin, 0, 3);
    spreadGrid->addWidget(new QLabel(tr("噪声幅度"), this), 1, 0);
    auto *noise = new QHBoxLayout;
    noise->addWidget(noiseLowSpin);
    noise->addWidget(new QLabel(tr("至"), this));
    noise->addWidget(noiseHighSpin);
    spreadGrid->addLayout(noise, 1, 1, 1, 3);

    auto *newBoardBtn = new QPushButton(tr("换新板"), this);
    newBoardBtn->setObjectName(QStringLiteral("newBoardBtn"));
    newBoardBtn->setToolTip(tr("按上面的偏差生成下一块板：各通道基线、信号和噪声各不相同"));
    connect(newBoardBtn, &QPushButton::clicked, this, &BatchControls::newBoard);
    batchCheckBox = new QCheckBox(tr("停止后自动换板"), this);
    batchCheckBox->setObjectName(QStringLiteral("batchCheckBox"));
    batchCheckBox->setToolTip(tr("每次测试停止后，夹具上换成下一块板"));
    connect(batchCheckBox, &QCheckBox::toggled, this, &BatchControls::applyBatch);
    for (QSpinBox *box : {offsetSpin, signalSpin, noiseLowSpin, noiseHighSpin})
        connect(box, QOverload<int>::of(&QSpinBox::valueChanged), this, &BatchControls::applyBatch);
    auto *boards = new QHBoxLayout;
    boards->addWidget(newBoardBtn);
    boards->addWidget(batchCheckBox);
    boards->addStretch();

    padChannel = new QComboBox(this);
    padChannel->setObjectName(QStringLiteral("padChannelCBox"));
    for (int k = 0; k < chip::kChannelCount; ++k)
        padChannel->addItem(QStringLiteral("TK%1").arg(k));
    padState = new QComboBox(this);
    padState->setObjectName(QStringLiteral("padStateCBox"));
    padState->addItems({tr("正常"), tr("开路"), tr("短路")});
    connect(padState, QOverload<int>::of(&QComboBox::activated), this, &BatchControls::applyPad);
    connect(padChannel, QOverload<int>::of(&QComboBox::activated), this, [this] { refresh(); });
    boardLabel = new QLabel(this);
    boardLabel->setObjectName(QStringLiteral("boardLabel"));
    auto *pad = new QHBoxLayout;
    pad->addWidget(new QLabel(tr("焊盘"), this));
    pad->addWidget(padChannel);
    pad->addWidget(padState);
    pad->addStretch();
    pad->addWidget(boardLabel);

    // Folded away until asked for, so that the panel fits a small screen.
    auto *unfold = new QCheckBox(tr("量产批次"), this);
    unfold->setObjectName(QStringLiteral("batchUnfoldCheckBox"));
    auto *group = new QGroupBox(this);
    auto *inner = new QVBoxLayout(group);
    inner->addLayout(spreadGrid);
    inner->addLayout(boards);
    inner->addLayout(pad);
    group->hide();
    connect(unfold, &QCheckBox::toggled, this, [group](bool open) {
        group->setVisible(open);
        // The panel shrinks again once the batch is folded away.
        QWidget *panel = group->window();
        QTimer::singleShot(0, panel, [panel] { panel->adjustSize(); });
    });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(unfold);
    layout->addWidget(group);
    refresh();
}

void BatchControls::newBoard()
{
    SimBoard::Spread spread;
    spread.offset = offsetSpin->value();
    spread.signalPercent = signalSpin->value();
    spread.noiseLow = noiseLowSpin->value();
    spread.noiseHigh = noiseHighSpin->value();
    SimBoard::newBoard(spread, nextSeed++);
    refresh();
}

void BatchControls::applyBatch()
{
    SimBoard::Spread spread;
    spread.offset = offsetSpin->value();
    spread.signalPercent = signalSpin->value();
    spread.noiseLow = noiseLowSpin->value();
    spread.noiseHigh = noiseHighSpin->value();
    // The batch's seeds go on from the boards drawn by hand, so that no board comes twice.
    SimBoard::setBatch(batchCheckBox->isChecked(), spread, nextSeed + 1000);
}

void BatchControls::applyPad()
{
    SimBoard::setPad(padChannel->currentIndex(), SimBoard::Pad(padState->currentIndex()));
    refresh();
}

void BatchControls::refresh()
{
    const int shown = int(SimBoard::pad(padChannel->currentIndex()));
    if (padState->currentIndex() != shown)
        padState->setCurrentIndex(shown);
    boardLabel->setText(tr("第 %1 块板").arg(SimBoard::boardsDrawn() + 1));
}
