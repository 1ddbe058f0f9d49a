#include "production/limitseditor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{
using Field = LimitRule::Field;
using Limit = ProductionLimits::Limit;

constexpr std::array<Field, 4> kSpinFields = {Field::Window, Field::NoiseFactor, Field::SignalShare,
                                              Field::TouchSeconds};

QString figureText(const std::optional<int> &value)
{
    return value ? QString::number(*value) : QStringLiteral("—");
}
} // namespace

LimitsEditor::LimitsEditor(ProductionLimits &limits, QWidget *parent)
    : QWidget(parent), limits(limits)
{
    setObjectName(QStringLiteral("limitsEditor"));
    const QStringList labels = {tr("无触摸值窗口 ±"), tr("噪声上限 = 调试噪声 ×"),
                                tr("信号下限 = 调试信号 ×"), tr("每键触摸限时")};
    const QStringList suffixes = {tr("%"), tr("%"), tr("%"), tr(" 秒")};
    auto *rule = new QGridLayout;
    for (int i = 0; i < int(kSpinFields.size()); ++i) {
        auto *spin = new QSpinBox(this);
        spin->setObjectName(QStringLiteral("limitRuleSpin%1").arg(i));
        const LimitRule::Range range = LimitRule::range(kSpinFields[i]);
        spin->setRange(range.minimum, range.maximum);
        spin->setSuffix(suffixes.at(i));
        connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), this, &LimitsEditor::applyRule);
        rule->addWidget(new QLabel(labels.at(i), this), i / 2, (i % 2) * 2);
        rule->addWidget(spin, i / 2, (i % 2) * 2 + 1);
        ruleSpins[i] = spin;
    }
    touchTestBox = new QCheckBox(tr("逐个触摸按键测试信号"), this);
    touchTestBox->setObjectName(QStringLiteral("touchTestCheckBox"));
    connect(touchTestBox, &QCheckBox::toggled, this, &LimitsEditor::applyRule);
    rule->addWidget(touchTestBox, 2, 0, 1, 4);

    limitsTable = new QTableWidget(0, 9, this);
    limitsTable->setObjectName(QStringLiteral("limitsTable"));
    limitsTable->setHorizontalHeaderLabels({tr("通道"), tr("按键"), tr("调试均值"), tr("调试噪声"),
                                            tr("调试信号"), tr("无触摸下限"), tr("无触摸上限"),
                                            tr("噪声上限"), tr("信号下限")});
    limitsTable->verticalHeader()->hide();
    limitsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    connect(limitsTable, &QTableWidget::cellChanged, this, &LimitsEditor::cellEdited);

    auto *applyAll = new QPushButton(tr("应用到全部通道"), this);
    applyAll->setObjectName(QStringLiteral("applyLimitToAllBtn"));
    applyAll->setToolTip(tr("把所选单元格的限值用于每个通道"));
    connect(applyAll, &QPushButton::clicked, this, &LimitsEditor::applyToAll);
    auto *derived = new QPushButton(tr("全部恢复推导值"), this);
    derived->setObjectName(QStringLiteral("clearSetLimitsBtn"));
    connect(derived, &QPushButton::clicked, this, &LimitsEditor::clearSet);
    noteLabel = new QLabel(this);
    noteLabel->setObjectName(QStringLiteral("limitsNoteLabel"));
    noteLabel->setWordWrap(true);
    // The note has a line of its own: it may name every channel.
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(applyAll);
    buttons->addWidget(derived);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(rule);
    layout->addWidget(limitsTable, 1);
    layout->addWidget(noteLabel);
    layout->addLayout(buttons);
    // Queued: a limit typed into a cell is committed before the table is filled anew.
    connect(&limits, &ProductionLimits::changed, this, &LimitsEditor::refresh,
            Qt::QueuedConnection);
    refresh();
}

void LimitsEditor::refresh()
{
    filling = true;
    const LimitRule &rule = limits.rule();
    for (int i = 0; i < int(kSpinFields.size()); ++i) {
        const QSignalBlocker quiet(ruleSpins[i]);
        ruleSpins[i]->setValue(rule.value(kSpinFields[i]));
    }
    {
        const QSignalBlocker quiet(touchTestBox);
        touchTestBox->setChecked(rule.touchTest);
    }
    ruleSpins[3]->setEnabled(rule.touchTest);
    shownRows = rows ? rows() : QVector<Row>();
    limitsTable->setRowCount(int(shownRows.size()));
    QStringList unlimited;
    QStringList inverted;
    for (int r = 0; r < shownRows.size(); ++r) {
        const Row &row = shownRows.at(r);
        const ChannelLimits effective = limits.limitsOf(row.channel, row.tuned);
        const QStringList fixed = {QStringLiteral("TK%1").arg(row.channel),
                                   QString::number(row.keyNumber),
                                   figureText(row.tuned.noTouchMean), figureText(row.tuned.noise),
                                   figureText(row.tuned.signal)};
        for (int c = 0; c < fixed.size(); ++c) {
            auto *item = new QTableWidgetItem(fixed.at(c));
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            limitsTable->setItem(r, c, item);
        }
        for (int i = 0; i < int(ProductionLimits::kLimits.size()); ++i) {
            const Limit limit = ProductionLimits::kLimits[i];
            const std::optional<int> value = ProductionLimits::of(effective, limit);
            auto *item = new QTableWidgetItem(value ? QString::number(*value) : QString());
            const bool byHand = limits.limitSetByHand(row.channel, limit).has_value();
            QFont font = item->font();
            font.setBold(byHand);
            item->setFont(font);
            item->setToolTip(byHand ? tr("手动设定；清空后恢复推导值") : tr("按规则推导"));
            limitsTable->setItem(r, kFirstLimitColumn + i, item);
        }
        if (!effective.noTouchLow || !effective.noTouchHigh)
            unlimited << QStringLiteral("TK%1").arg(row.channel);
        // A window set by hand that the tuning has since left on the wrong side.
        if (ProductionLimits::isInverted(effective))
            inverted << ProductionLimits::invertedText(row.channel, effective);
    }
    // A few channels are named; the rest are counted, so that the note keeps to one line.
    constexpr int kNamed = 6;
    QString names = unlimited.mid(0, kNamed).join(tr("、"));
    if (unlimited.size() > kNamed)
        names = tr("%1 等 %2 个通道").arg(names).arg(unlimited.size());
    QString note = unlimited.isEmpty()
                       ? tr("粗体为手动设定的限值，其余按上面的规则从调试结果推导。")
                       : tr("没有无触摸值限值（需先调试或手动设定）：%1").arg(names);
    if (!inverted.isEmpty())
        note = tr("无触摸值下限高于上限，任何板都不能通过：%1").arg(inverted.join(tr("、")));
    if (!refused.isEmpty())
        note = refused;
    noteLabel->setText(note);
    filling = false;
}

void LimitsEditor::applyRule()
{
    LimitRule rule = limits.rule();
    for (int i = 0; i < int(kSpinFields.size()); ++i)
        rule.setValue(kSpinFields[i], ruleSpins[i]->value());
    rule.touchTest = touchTestBox->isChecked();
    refused.clear();
    (void)limits.setRule(rule);
}

void LimitsEditor::cellEdited(int row, int column)
{
    if (filling || row >= shownRows.size() || column < kFirstLimitColumn)
        return;
    refused.clear();
    const Limit limit = ProductionLimits::kLimits[column - kFirstLimitColumn];
    const QString text = limitsTable->item(row, column)->text().trimmed();
    const Row &shown = shownRows.at(row);
    if (text.isEmpty()) {
        if (!limits.setLimit(shown.channel, limit, std::nullopt, shown.tuned))
            refuse(shown, limit, ProductionLimits::of(limits.rule().derive(shown.tuned), limit),
                   text);
        return;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || !limits.setLimit(shown.channel, limit, value, shown.tuned))
        refuse(shown, limit, ok ? std::optional<int>(value) : std::nullopt, text);
}

void LimitsEditor::refuse(const Row &row, Limit limit, std::optional<int> wouldBe,
                          const QString &text)
{
    ChannelLimits tried = limits.limitsOf(row.channel, row.tuned);
    ProductionLimits::of(tried, limit) = wouldBe;
    refused = ProductionLimits::isInverted(tried)
                  ? tr("未采用：无触摸值下限不能高于上限（%1）")
                        .arg(ProductionLimits::invertedText(row.channel, tried))
                  : tr("未采用：“%1”不是 0 到 65535 的整数").arg(text);
    refresh();
}

void LimitsEditor::applyToAll()
{
    const int row = limitsTable->currentRow();
    const int column = limitsTable->currentColumn();
    if (row < 0 || row >= shownRows.size() || column < kFirstLimitColumn)
        return;
    refused.clear();
    const Limit limit = ProductionLimits::kLimits[column - kFirstLimitColumn];
    const std::optional<int> value = ProductionLimits::of(
        limits.limitsOf(shownRows.at(row).channel, shownRows.at(row).tuned), limit);
    QStringList left;
    for (const Row &other : qAsConst(shownRows)) {
        if (!limits.setLimit(other.channel, limit, value, other.tuned))
            left << QStringLiteral("TK%1").arg(other.channel);
    }
    // A channel whose window the value would invert keeps its own limit, and is named.
    if (!left.isEmpty()) {
        refused = tr("以下通道保留原限值，否则无触摸值下限会高于上限：%1").arg(left.join(tr("、")));
        refresh();
    }
}

void LimitsEditor::clearSet()
{
    refused.clear();
    limits.clearSetLimits();
}
