#ifndef PRODUCTIONRIG_H
#define PRODUCTIONRIG_H

#include "app/mainwindow.h"
#include "production/operatorview.h"
#include "production/productionlog.h"
#include "sim/simboard.h"
#include "testsupport.h"
#include "uiscript.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>

// The production page of a window on the simulated board: the project "line" in folder, keys 1
// and 2 on TK3 and TK5 tuned at 2000 with a 300-count touch, opened as the engineer opens it; an
// operator's finger that goes where the picture lights a key.
namespace testsupport
{
inline bool writeLineProject(const QString &folder, bool touchTest)
{
    QFile file(QDir(folder).filePath(QStringLiteral("line.ini")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("[1]\n1=line\n2=" + folder.toUtf8() +
               "\n[2]\n1=RM3KV5172_SOP28\n[10]\n3=1\n5=1\n[11]\n3=1\n5=2\n"
               "[20]\n0=2\n1=TK3:2000:2300:2020:3:1\n2=TK5:2000:2300:2020:5:2\n"
               "[Production]\ntouchTest=" +
               QByteArray(touchTest ? "true" : "false") + "\n");
    return true;
}

// Opens the folder's project in window and shows the production page; its operator's view.
inline OperatorView *openLineProject(MainWindow &window, const QString &folder)
{
    UiScript script;
    script.answerFileDialog(QDir(folder).filePath(QStringLiteral("line.ini")));
    window.findChild<QPushButton *>(QStringLiteral("openProBtn"))->click();
    if (!waitUntil([&] { return script.finished(); }, 10000))
        return nullptr;
    window.findChild<QPushButton *>(QStringLiteral("productionBtn"))->click();
    return window.findChild<OperatorView *>(QStringLiteral("operatorView"));
}

// The finger follows the lit key while the timer runs; stop it before the view goes.
inline void followLitKeys(QTimer &finger, const OperatorView *view)
{
    finger.disconnect();
    QObject::connect(&finger, &QTimer::timeout, [view] {
        for (int channel : {3, 5})
            SimBoard::setFinger(channel,
                                view->picture()->stateOf(channel) == PanelPicture::State::Lit);
    });
    finger.start(2);
}

inline bool boardDone(const OperatorView *view)
{
    return view->verdict() != OperatorView::Verdict::Testing &&
           view->verdict() != OperatorView::Verdict::Ready;
}

// The boards of today's log of the project "line" in folder.
inline QVector<BoardRecord> loggedBoards(const QString &folder)
{
    QVector<BoardRecord> records;
    QString error;
    const QString path = QDir(folder).filePath(
        ProductionLog::fileName(QStringLiteral("line"), QDate::currentDate()));
    return ProductionLog::read(path, &records, &error) ? records : QVector<BoardRecord>();
}
} // namespace testsupport

#endif // PRODUCTIONRIG_H
