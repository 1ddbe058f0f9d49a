#ifndef QUESTION_H
#define QUESTION_H

#include <QString>

class QWidget;

// A "提示" question before a step that cannot be taken back: the button goOn and "取消", which is
// also the answer when the box is closed. True when the user goes on.
bool askToGoOn(QWidget *parent, const QString &text, const QString &goOn);

#endif // QUESTION_H
