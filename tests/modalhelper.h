#ifndef MODALHELPER_H
#define MODALHELPER_H

#include <QAbstractButton>
#include <QApplication>
#include <QHash>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the tool's modal boxes and popups in tests as a user would. While it exists it looks
// every few milliseconds (also from inside a modal exec()) for the active modal widget or popup,
// records a message box's title and text and presses the button given for it.
//
//     ModalHelper boxes;                                  // presses OK on every box
//     boxes.queueAnswers({QMessageBox::Cancel});          // ... but Cancel on the next one
//     boxes.answer("请确认...", QMessageBox::Cancel);      // ... or on every box of that text
//     boxes.queueButtons({"重新测量", "放弃"});             // boxes with buttons of their own
//     boxes.setHandler([](QWidget *w) { ...; return true; }); // file dialogs, menus
//     ... action that opens boxes ...
//     QTRY_COMPARE(boxes.texts(), QStringList{"请连接调试器！"});
class ModalHelper
{
public:
    struct Seen
    {
        QString title;
        QString text;
        QString className;
    };

    explicit ModalHelper(QMessageBox::StandardButton answer = QMessageBox::Ok, int pollMs = 10)
        : defaultAnswer(answer)
    {
        // A box already open when the helper is made belongs to the one who opened it: a helper
        // made while a box is open (a user acting meanwhile) answers only the boxes that follow.
        if (QWidget *open = activeModalOrPopup())
            handled.append(open);
        poll.setInterval(pollMs);
        QObject::connect(&poll, &QTimer::timeout, [this] { answerActive(); });
        poll.start();
    }

    // The buttons for the next message boxes, in order; afterwards the default answer.
    void queueAnswers(const QList<QMessageBox::StandardButton> &answers) { queued += answers; }
    void setAnswer(QMessageBox::StandardButton answer) { defaultAnswer = answer; }
    // Button texts for the next boxes that have a button of that text, in order; they come
    // before every other answer.
    void queueButtons(const QStringList &buttonTexts) { queuedButtons += buttonTexts; }
    // The button for every box that shows this text (before queued and default answers).
    void answer(const QString &text, QMessageBox::StandardButton button)
    {
        answersByText[text] = button;
    }
    // Runs with each message box before it is answered, as a user acting while the box is open.
    std::function<void(QMessageBox *)> whileOpen;
    // Called for every modal widget or popup that is no message box (file dialog, menu); returns
    // true when it dealt with it. Unhandled ones are recorded and left open.
    void setHandler(std::function<bool(QWidget *)> handler) { otherHandler = std::move(handler); }

    const QList<Seen> &seen() const { return seenBoxes; }
    QStringList texts() const
    {
        QStringList list;
        for (const Seen &s : seenBoxes)
            list << s.text;
        return list;
    }
    QStringList titles() const
    {
        QStringList list;
        for (const Seen &s : seenBoxes)
            list << s.title;
        return list;
    }
    QString lastText() const { return seenBoxes.isEmpty() ? QString() : seenBoxes.last().text; }
    int count() const { return seenBoxes.size(); }
    void clear() { seenBoxes.clear(); }

    // The widget a user would be answering now: the active popup, else the active modal widget.
    static QWidget *activeModalOrPopup()
    {
        if (QWidget *popup = QApplication::activePopupWidget())
            return popup;
        return QApplication::activeModalWidget();
    }
    // Clicks the standard button of a message box; false when the box has no such button.
    static bool press(QMessageBox *box, QMessageBox::StandardButton button)
    {
        QAbstractButton *b = box ? box->button(button) : nullptr;
        if (!b)
            return false;
        b->click();
        return true;
    }
    // The button of a message box that reads text; null when it has none.
    static QAbstractButton *buttonOf(QMessageBox *box, const QString &text)
    {
        const QList<QAbstractButton *> buttons = box->buttons();
        for (QAbstractButton *b : buttons) {
            if (b->text() == text)
                return b;
        }
        return nullptr;
    }

private:
    void answerActive()
    {
        handled.removeAll(QPointer<QWidget>());
        QWidget *widget = activeModalOrPopup();
        if (!widget || handled.contains(widget))
            return;
        handled.append(widget);
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (!box) {
            if (!otherHandler || !otherHandler(widget))
                seenBoxes.append(
                    {widget->windowTitle(), QString(), widget->metaObject()->className()});
            return;
        }
        seenBoxes.append({box->windowTitle(), box->text(), QStringLiteral("QMessageBox")});
        if (whileOpen)
            whileOpen(box);
        // Pressed from the event loop, after the box's exec() has fully started.
        QPointer<QMessageBox> target(box);
        if (!queuedButtons.isEmpty() && buttonOf(box, queuedButtons.first())) {
            QPointer<QAbstractButton> button = buttonOf(box, queuedButtons.takeFirst());
            QTimer::singleShot(0, [button] {
                if (button)
                    button->click();
            });
            return;
        }
        QMessageBox::StandardButton answer = defaultAnswer;
        if (answersByText.contains(box->text()))
            answer = answersByText.value(box->text());
        else if (!queued.isEmpty())
            answer = queued.takeFirst();
        QTimer::singleShot(0, [target, answer] {
            if (target && !press(target, answer))
                target->reject();
        });
    }

    QTimer poll;
    QMessageBox::StandardButton defaultAnswer;
    QList<QMessageBox::StandardButton> queued;
    QStringList queuedButtons;
    QHash<QString, QMessageBox::StandardButton> answersByText;
    std::function<bool(QWidget *)> otherHandler;
    QList<QPointer<QWidget>> handled;
    QList<Seen> seenBoxes;
};

#endif // MODALHELPER_H
