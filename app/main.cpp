#include "app/mainwindow.h"
#include "app/uilanguage.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    Q_INIT_RESOURCE(resources);
    QApplication a(argc, argv);
    const UiLanguage language(UiLanguage::saved());
    MainWindow w;
    w.show();
    return a.exec();
}
