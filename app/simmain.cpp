#include "app/mainwindow.h"
#include "app/uilanguage.h"
#include "sim/boardpanel.h"
#include "sim/simboard.h"

#include <QApplication>

// The tool on the simulated board: the same window as touchtuner, with the board's panel of
// fingers, water and cable beside it.
int main(int argc, char *argv[])
{
    Q_INIT_RESOURCE(resources);
    QApplication a(argc, argv);
    const UiLanguage language(UiLanguage::saved());
    MainWindow w;
    // The board's cable events reach the window's hot-plug layer as the system's would.
    SimBoard::setHotplugTarget(w.findChild<QObject *>(QStringLiteral("deviceNotifier")));
    w.show();
    BoardPanel panel;
    panel.placeBeside(&w);
    panel.show();
    return a.exec();
}
