#ifndef MESSAGELOG_H
#define MESSAGELOG_H

#include <QAbstractButton>
#include <QApplication>
#include <QHash>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include <functional>

// Answers every modal message box that opens while it lives, the way a user would: records its
// title and text and presses OK, or the button set for that text with answer().
class MessageLog : public QObject
{
public:
    MessageLog()
    {
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, this, [this] { answerOpenBox(); });
        timer.start();
    }

    void answer(const QString &text, QMessageBox::StandardButton button) { answers[text] = button; }
    // Runs with each box before it is answered, as a user acting while the box is open.
    std::function<void(QMessageBox *)> whileOpen;

    QStringList texts;
    QStringList titles;

private:
    void answerOpenBox()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        texts << box->text();
        titles << box->windowTitle();
        if (whileOpen)
            whileOpen(box);
        QAbstractButton *button = box->button(answers.value(box->text(), QMessageBox::Ok));
        if (!button)
            button = box->button(QMessageBox::Ok);
        button->click();
    }

    QTimer timer;
    QHash<QString, QMessageBox::StandardButton> answers;
};

#endif // MESSAGELOG_H
