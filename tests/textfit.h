#ifndef TEXTFIT_H
#define TEXTFIT_H

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocument>
#include <QWidget>

#include <algorithm>
#include <cmath>

// Whether a widget shows its whole text: the text's extent by the widget's font metrics against
// the rectangle the widget's style draws the text into.
namespace textfit
{
// The text's extent: its advance across, and down the ink from the first line's top to the last
// line's foot. A line box is taller than the ink it holds; a box a little lower than the font's
// height still shows the whole text.
inline QSize textExtent(const QFontMetrics &metrics, const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    int width = 0;
    for (const QString &line : lines)
        width = std::max(width, metrics.horizontalAdvance(QString(line).remove(QLatin1Char('&'))));
    const QRect first = metrics.tightBoundingRect(lines.constFirst());
    const QRect last = metrics.tightBoundingRect(lines.constLast());
    const int height = (lines.size() - 1) * metrics.lineSpacing() + last.bottom() - first.top();
    return QSize(width, height);
}

// The text is drawn centred across the room's height: its ink must lie within the room.
inline bool fits(const QFontMetrics &metrics, const QString &text, const QRect &room)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    const int boxHeight = lines.size() * metrics.lineSpacing() - metrics.leading();
    const int top = (room.height() - boxHeight) / 2;
    const int inkTop = top + metrics.ascent() + metrics.tightBoundingRect(lines.constFirst()).top();
    const int inkBottom = top + (lines.size() - 1) * metrics.lineSpacing() + metrics.ascent() +
                          metrics.tightBoundingRect(lines.constLast()).bottom();
    return textExtent(metrics, text).width() <= room.width() && inkTop >= 0 &&
           inkBottom <= room.height();
}

inline QString describe(const QWidget *widget, const QString &text, const QSize &need,
                        const QRect &room)
{
    return QStringLiteral("%1 \"%2\": needs %3 x %4, has %5 x %6")
        .arg(widget->objectName(), QString(text).replace(QLatin1Char('\n'), QLatin1String("\\n")))
        .arg(need.width())
        .arg(need.height())
        .arg(room.width())
        .arg(room.height());
}

// Why the widget shows less than its whole text; empty when it shows all of it, or has no text of
// the kinds checked (label, button, check box, radio button, combo box).
inline QString cutText(const QWidget *widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    QStyle *style = widget->style();
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        if (label->text().isEmpty() || label->wordWrap())
            return QString();
        QSize need;
        const bool rich =
            Qt::mightBeRichText(label->text()) && label->textFormat() != Qt::PlainText;
        if (rich) {
            QTextDocument document;
            document.setDefaultFont(label->font());
            document.setDocumentMargin(0);
            document.setHtml(label->text());
            need = QSize(int(std::ceil(document.idealWidth())),
                         int(std::ceil(document.size().height())));
        } else {
            need = textExtent(metrics, label->text());
        }
        const int margin = label->margin();
        const QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
        const bool whole = rich ? need.width() <= room.width() && need.height() <= room.height()
                                : fits(metrics, label->text(), room);
        return whole ? QString() : describe(label, label->text(), need, room);
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        if (button->text().isEmpty())
            return QString();
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        if (qobject_cast<const QCheckBox *>(button))
            contents = QStyle::SE_CheckBoxContents;
        else if (qobject_cast<const QRadioButton *>(button))
            contents = QStyle::SE_RadioButtonContents;
        if (const auto *push = qobject_cast<const QPushButton *>(button)) {
            if (push->isFlat())
                option.features |= QStyleOptionButton::Flat;
        }
        QSize need = textExtent(metrics, button->text());
        if (!option.icon.isNull())
            need.rwidth() += option.iconSize.width() + 4;
        const QRect room = style->subElementRect(contents, &option, button);
        QRect textRoom = room;
        if (!option.icon.isNull())
            textRoom.setWidth(room.width() - option.iconSize.width() - 4);
        return fits(metrics, button->text(), textRoom)
                   ? QString()
                   : describe(button, button->text(), need, room);
    }
    if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        option.frame = combo->hasFrame();
        const QRect room =
            style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
                .adjusted(1, 0, -1, 0);
        for (int i = 0; i < combo->count(); ++i) {
            if (!fits(metrics, combo->itemText(i), room))
                return describe(combo, combo->itemText(i), textExtent(metrics, combo->itemText(i)),
                                room);
        }
    }
    return QString();
}

// Every visible widget below root that shows less than its whole text.
inline QStringList cutTexts(const QWidget *root)
{
    QStringList cut;
    const auto widgets = root->findChildren<QWidget *>();
    for (const QWidget *widget : widgets) {
        if (!widget->isVisibleTo(root->window()) || !widget->isVisible())
            continue;
        const QString why = cutText(widget);
        if (!why.isEmpty())
            cut << why;
    }
    return cut;
}
} // namespace textfit

#endif // TEXTFIT_H
