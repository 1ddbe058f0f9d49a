#include "app/layoutfitter.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QTableView>

#include <algorithm>

namespace
{
bool showsText(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return !label->text().isEmpty();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return !button->text().isEmpty();
    return qobject_cast<const QComboBox *>(widget) != nullptr;
}

// What a layout grants the widget at least: its layout's minimum, or for a widget of text the
// size it asks for where its size policy does not let it shrink below that.
QSize neededSize(QWidget *widget)
{
    if (QLayout *layout = widget->layout())
        return layout->totalMinimumSize();
    if (!showsText(widget))
        return QSize();
    const QSizePolicy policy = widget->sizePolicy();
    const QSize hint = widget->sizeHint();
    QSize need = widget->minimumSizeHint();
    if (!(policy.horizontalPolicy() & QSizePolicy::ShrinkFlag))
        need.setWidth(hint.width());
    if (!(policy.verticalPolicy() & QSizePolicy::ShrinkFlag))
        need.setHeight(hint.height());
    return need;
}

// The width that shows the combo box's widest item whole: the item's advance in the field the
// style leaves beside the arrow, which draws a text one pixel in from either side.
int widthForItems(const QComboBox *combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                       QStyle::SC_ComboBoxEditField, combo);
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i)
        widest = std::max(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
    return widest + 2 + option.rect.width() - field.width();
}

// The width that shows the button's icon and whole text, from the room its style leaves them at
// its present width. A side menu's style sheet gives its buttons no useful size hint.
int widthForText(const QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    const QRect contents =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    int need = button->fontMetrics().horizontalAdvance(button->text());
    if (!button->icon().isNull())
        need += button->iconSize().width() + 4;
    return need + option.rect.width() - contents.width();
}

// A header section is as wide as the form made it, or as its title needs; a table whose sections
// widened gets the width to show them all beside its vertical scroll bar.
void widenSections(QHeaderView *header)
{
    bool widened = false;
    for (int section = 0; section < header->count(); ++section) {
        const int hint = header->sectionSizeHint(section);
        if (hint > header->sectionSize(section)) {
            header->resizeSection(section, hint);
            widened = true;
        }
    }
    auto *table = qobject_cast<QTableView *>(header->parentWidget());
    if (!widened || !table || header->orientation() != Qt::Horizontal)
        return;
    const int width = header->length() + 2 * table->frameWidth() +
                      table->verticalScrollBar()->sizeHint().width() +
                      (table->verticalHeader()->isHidden() ? 0 : table->verticalHeader()->width());
    table->setMinimumWidth(std::max(table->minimumWidth(), width));
}

// Raises the widget's maximum to what it needs. A combo box that could shrink below the width of
// its items keeps that width, and header sections widen to their titles.
void fitOne(QWidget *widget)
{
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        combo->setMinimumWidth(std::max(combo->minimumWidth(), widthForItems(combo)));
    if (auto *header = qobject_cast<QHeaderView *>(widget))
        widenSections(header);
    const QSize need = neededSize(widget);
    const QSize maximum = widget->maximumSize();
    const QSize raised(std::max(maximum.width(), need.width()),
                       std::max(maximum.height(), need.height()));
    if (raised != maximum)
        widget->setMaximumSize(raised);
}
} // namespace

LayoutFitter::LayoutFitter(QWidget *window, const QList<QWidget *> &keepShut)
    : QObject(window), window(window), keepShut(keepShut)
{
}

void LayoutFitter::fit()
{
    // Style sheets set fonts and borders when a widget is polished; sizes are asked after that.
    window->ensurePolished();
    fitTree(window);
}

bool LayoutFitter::eventFilter(QObject *watched, QEvent *event)
{
    // A layout asks to be redone when a child's size hint changed: a new text, a style sheet
    // with another font. Its widget and those above it are fitted before it is.
    if (event->type() == QEvent::LayoutRequest && watched->isWidgetType())
        fitUpwards(static_cast<QWidget *>(watched));
    // An elided field paints itself while it is being edited, so that the cursor moves over
    // the whole text.
    if (event->type() == QEvent::Paint) {
        auto *field = qobject_cast<QLineEdit *>(watched);
        if (field && elided.contains(field) && !field->hasFocus() && paintElided(field))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void LayoutFitter::fitTree(QWidget *widget)
{
    // A collapsed side menu shows the left end of its buttons, where their icons are, as long as
    // a button is as wide as its icon and text: a button's content is centred in its width.
    if (keepShut.contains(widget)) {
        for (QPushButton *button : widget->findChildren<QPushButton *>())
            button->setMinimumWidth(std::max(button->minimumWidth(), widthForText(button)));
        return;
    }
    const auto children = widget->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (!child->isWindow())
            fitTree(child);
    }
    fitOne(widget);
    if (widget->layout())
        widget->installEventFilter(this);
}

void LayoutFitter::fitUpwards(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (keepShut.contains(w))
            return;
        fitOne(w);
    }
}

int LayoutFitter::openWidth(const QWidget *sideMenu, int formWidth)
{
    int widest = 0;
    const auto buttons = sideMenu->findChildren<QPushButton *>();
    for (const QPushButton *button : buttons)
        widest = std::max(widest, widthForText(button));
    const QMargins frame = sideMenu->contentsMargins();
    QMargins inner;
    if (const QLayout *layout = sideMenu->layout())
        inner = layout->contentsMargins();
    return std::max(formWidth,
                    widest + frame.left() + frame.right() + inner.left() + inner.right());
}

void LayoutFitter::elideInTheMiddle(QLineEdit *field)
{
    const auto nameWhole = [field] { field->setToolTip(field->text()); };
    connect(field, &QLineEdit::textChanged, this, nameWhole);
    nameWhole();
    elided << field;
    field->installEventFilter(this);
}

QRect LayoutFitter::textRect(const QLineEdit *field)
{
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                       &option, field)
                                         : 0;
    // QLineEdit keeps two pixels either side of its text inside the style's contents.
    return field->style()
        ->subElementRect(QStyle::SE_LineEditContents, &option, field)
        .marginsRemoved(field->textMargins())
        .adjusted(2, 0, -2, 0);
}

QString LayoutFitter::shownText(const QLineEdit *field)
{
    return field->fontMetrics().elidedText(field->text(), Qt::ElideMiddle, textRect(field).width());
}

bool LayoutFitter::paintElided(QLineEdit *field)
{
    const QString shown = shownText(field);
    if (shown == field->text())
        return false;
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                       &option, field)
                                         : 0;
    option.state |= QStyle::State_Sunken;
    if (field->isReadOnly())
        option.state |= QStyle::State_ReadOnly;
    QPainter painter(field);
    field->style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, field);
    painter.setPen(field->palette().color(
        field->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(textRect(field), Qt::AlignLeft | Qt::AlignVCenter, shown);
    return true;
}
