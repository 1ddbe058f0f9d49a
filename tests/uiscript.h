#ifndef UISCRIPT_H
#define UISCRIPT_H

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QQueue>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

#include "testsupport.h"

// Plays the user's part in modal menus, message boxes and file dialogs: each queued answer waits
// for its kind of window to open, then acts on it the way a user would. Answers run in order.
class UiScript : public QObject
{
public:
    UiScript()
    {
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, this, [this] { step(); });
        timer.start();
        clock.start();
    }

    // Clicks the entry of the open key menu that has this text.
    void chooseMenuEntry(const QString &text)
    {
        steps.enqueue({popupMenu, [this, text](QWidget *widget) {
                           auto *menu = static_cast<QMenu *>(widget);
                           menuEntries << entryTexts(menu);
                           for (QAction *action : menu->actions()) {
                               if (action->text() == text) {
                                   QTest::mouseClick(menu, Qt::LeftButton, {},
                                                     menu->actionGeometry(action).center());
                                   return;
                               }
                           }
                           menu->close();
                       }});
    }

    // Closes the open menu with Escape.
    void escapeMenu()
    {
        steps.enqueue({popupMenu, [this](QWidget *widget) {
                           menuEntries << entryTexts(static_cast<QMenu *>(widget));
                           QTest::keyClick(widget, Qt::Key_Escape);
                       }});
    }

    // Records the title and text of the message box and presses OK.
    void acceptMessage()
    {
        steps.enqueue({modalOf<QMessageBox>, [this](QWidget *widget) {
                           auto *box = static_cast<QMessageBox *>(widget);
                           messageTitles << box->windowTitle();
                           messages << box->text();
                           box->button(QMessageBox::Ok)->click();
                       }});
    }

    // Answers the file dialog with a path (an empty path cancels it).
    void answerFileDialog(const QString &path)
    {
        steps.enqueue({modalOf<QFileDialog>, [this, path](QWidget *widget) {
                           auto *dialog = static_cast<QFileDialog *>(widget);
                           dialogCaptions << dialog->windowTitle();
                           dialogFolders << dialog->directory().absolutePath();
                           dialogFilters << dialog->nameFilters().join(QLatin1Char(';'));
                           dialogOptions << int(dialog->options());
                           if (path.isEmpty()) {
                               dialog->reject();
                               return;
                           }
                           // A folder is taken as the dialog's current folder; a file is typed
                           // into the name field of its folder.
                           const QFileInfo info(path);
                           if (info.isDir()) {
                               dialog->setDirectory(path);
                           } else {
                               dialog->setDirectory(info.absolutePath());
                               if (auto *name = dialog->findChild<QLineEdit *>("fileNameEdit"))
                                   name->setText(info.fileName());
                           }
                           static_cast<QDialog *>(dialog)->accept();
                       }});
    }

    // Every answer was given (none was dropped for want of its window).
    bool finished() const { return steps.isEmpty() && !gaveUp; }

    QList<QStringList> menuEntries;
    QStringList messages;
    QStringList messageTitles;
    QStringList dialogCaptions;
    QStringList dialogFolders;
    QStringList dialogFilters;
    QList<int> dialogOptions;

private:
    struct Step
    {
        std::function<QWidget *()> find;
        std::function<void(QWidget *)> act;
    };

    static QWidget *popupMenu()
    {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        return menu && menu->isVisible() ? menu : nullptr;
    }

    template <typename T> static QWidget *modalOf()
    {
        auto *widget = qobject_cast<T *>(QApplication::activeModalWidget());
        return widget && widget->isVisible() ? widget : nullptr;
    }

    static QStringList entryTexts(QMenu *menu)
    {
        QStringList texts;
        for (QAction *action : menu->actions())
            texts << action->text();
        return texts;
    }

    void step()
    {
        if (steps.isEmpty())
            return;
        // A window that never opens, or never closes, must not hang the test run.
        if (clock.hasExpired(kPatienceMs)) {
            steps.clear();
            gaveUp = true;
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
            return;
        }
        QWidget *widget = steps.head().find();
        if (!widget)
            return;
        // Act from a posted call, so that this timer keeps running while the action opens the
        // next modal window in a nested event loop.
        const Step current = steps.dequeue();
        QPointer<QWidget> target(widget);
        QMetaObject::invokeMethod(
            this,
            [current, target] {
                if (target)
                    current.act(target);
            },
            Qt::QueuedConnection);
    }

    static constexpr qint64 kPatienceMs = 10000;
    QTimer timer;
    QElapsedTimer clock;
    QQueue<Step> steps;
    bool gaveUp = false;
};

// Clicks the pin of the channel on a package widget (its child btnK<channel>) and picks
// "key<key>" in the menu that opens, as a user would. True once the menu was answered.
inline bool chooseKey(QWidget *package, int channel, int key)
{
    UiScript script;
    script.chooseMenuEntry(QStringLiteral("key%1").arg(key));
    auto *pin = package
                    ? package->findChild<QAbstractButton *>(QStringLiteral("btnK%1").arg(channel))
                    : nullptr;
    if (!pin)
        return false;
    QTest::mouseClick(pin, Qt::LeftButton);
    return testsupport::waitUntil([&] { return script.finished(); }, 5000);
}

#endif // UISCRIPT_H
