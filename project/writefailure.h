#ifndef WRITEFAILURE_H
#define WRITEFAILURE_H

#include <QString>

class QWidget;

// The one message for a file the tool could not write: a "提示" box naming the file, so a failed
// save is never mistaken for a finished one.
void warnWriteFailed(QWidget *parent, const QString &path);
QString writeFailedText(const QString &path);

#endif // WRITEFAILURE_H
