#ifndef LIMITSEDITOR_H
#define LIMITSEDITOR_H

#include "production/productionlimits.h"

#include <QVector>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QSpinBox;
class QTableWidget;

// The engineer's page of the production limits: the rule that derives every channel's limits from
// the tuned project (window, noise factor, signal share, the touch test and its seconds), and a
// table of each channel in use with its tuned figures and its four limits. A limit typed into the
// table replaces the derived one for that channel (shown bold); an emptied cell gives the derived
// one back; "应用到全部通道" gives every channel the chosen cell's limit.
class LimitsEditor : public QWidget
{
    Q_OBJECT

public:
    // A channel in use with its key number and what the tuned project says of it.
    struct Row
    {
        int channel = 0;
        int keyNumber = 0;
        TunedKey tuned;
    };
    static constexpr int kFirstLimitColumn = 5;

    LimitsEditor(ProductionLimits &limits, QWidget *parent = nullptr);

    // The channels in use as the project has them now; asked whenever the page is refreshed.
    std::function<QVector<Row>()> rows;

    // Shows the rule and every row's limits as they are now.
    void refresh();
    QTableWidget *table() const { return limitsTable; }

private:
    void applyRule();
    void cellEdited(int row, int column);
    void applyToAll();
    void clearSet();
    // Shows the row's limits again with why the text typed for limit was not taken; wouldBe is
    // the limit it would have given, none for a text that is no number.
    void refuse(const Row &row, ProductionLimits::Limit limit, std::optional<int> wouldBe,
                const QString &text);

    ProductionLimits &limits;
    std::array<QSpinBox *, 4> ruleSpins{};
    QCheckBox *touchTestBox = nullptr;
    QTableWidget *limitsTable = nullptr;
    QLabel *noteLabel = nullptr;
    QVector<Row> shownRows;
    // Why the last edit was not taken; shown in place of the note until the next edit.
    QString refused;
    bool filling = false;
};

#endif // LIMITSEDITOR_H
