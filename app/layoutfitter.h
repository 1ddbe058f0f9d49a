#ifndef LAYOUTFITTER_H
#define LAYOUTFITTER_H

#include <QList>
#include <QObject>

class QLineEdit;
class QWidget;

// Lets the parts of a window grow where their texts need more room than the form's sizes give,
// as with a wider font or a longer translation. Maximum sizes are raised to what a layout or a
// text needs, never lowered, so the form's sizes stay wherever the texts fit.
class LayoutFitter : public QObject
{
    Q_OBJECT

public:
    // The widgets in keepShut keep their own sizes, children included: a side menu that shows
    // only its icons while it is collapsed.
    LayoutFitter(QWidget *window, const QList<QWidget *> &keepShut);

    // Raises the maxima throughout the window, each widget's before its parent's, and again
    // wherever a layout changes later.
    void fit();
    // A text wider than the field is shown cut in its middle while the field is not being edited,
    // so that both ends of a long path can be read; the tooltip names the whole text. The field
    // keeps its width: a long text never widens the window.
    void elideInTheMiddle(QLineEdit *field);
    // The text such a field shows while not being edited: whole, or cut in its middle.
    static QString shownText(const QLineEdit *field);
    // The width a collapsed side menu opens to: formWidth, or what its widest button needs.
    static int openWidth(const QWidget *sideMenu, int formWidth);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitTree(QWidget *widget);
    void fitUpwards(QWidget *widget);
    // Paints the field's frame and its text cut in the middle; false when the text fits and
    // the field paints itself.
    static bool paintElided(QLineEdit *field);
    // Where a field draws its text.
    static QRect textRect(const QLineEdit *field);

    QWidget *window;
    QList<QWidget *> keepShut;
    QList<QLineEdit *> elided;
};

#endif // LAYOUTFITTER_H
