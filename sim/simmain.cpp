#include "app/mainwindow.h"

#include <QApplication>

// The tool on the simulated board: the same window as touchtuner.
int main(int argc, char *argv[])
{
    Q_INIT_RESOURCE(resources);
    QApplication a(argc, argv);
    MainWindow w;
    w.show();
    return a.exec();
}
