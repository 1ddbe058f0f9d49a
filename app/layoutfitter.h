#ifndef LAYOUTFITTER_H
#define LAYOUTFITTER_H

#include <QList>
#include <QObject>

#include <functional>

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
    // The field widens to show its whole text as far as the window has room to spare, once the
    // window is shown and whenever its text changes; its tooltip names the whole text.
    void showWholeText(QLineEdit *field);
    // The width a collapsed side menu opens to: formWidth, or what its widest button needs.
    static int openWidth(const QWidget *sideMenu, int formWidth);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitTree(QWidget *widget);
    void fitUpwards(QWidget *widget);
    void widen(QLineEdit *field, int formMinimum);

    QWidget *window;
    QList<QWidget *> keepShut;
    QList<std::function<void()>> widenOnShow;
};

#endif // LAYOUTFITTER_H
