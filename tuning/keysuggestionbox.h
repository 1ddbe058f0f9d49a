#ifndef KEYSUGGESTIONBOX_H
#define KEYSUGGESTIONBOX_H

#include "quality/keysuggestion.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QVector>

class KeySettingsStore;
class QPlainTextEdit;
class QWidget;

// "建议设置": the suggestion for each key asked about, with the margins it gives or why there is
// none, in one question; the safe ones go into the store only when the engineer applies them,
// and the log tells what was applied and what could not be.
class KeySuggestionBox
{
    Q_DECLARE_TR_FUNCTIONS(KeySuggestionBox)

public:
    struct Item
    {
        int channel = 0;
        QString name;
        KeySuggestion suggestion;
    };

    // The channels whose suggested settings were applied.
    static QList<int> offer(QWidget *parent, const QVector<Item> &items, KeySettingsStore &store,
                            QPlainTextEdit *log);
};

#endif // KEYSUGGESTIONBOX_H
