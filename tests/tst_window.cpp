#include "app/mainwindow.h"

#include <QtTest>

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void titleIsFourBlanks()
    {
        MainWindow w;
        QCOMPARE(w.windowTitle(), QStringLiteral("    "));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
