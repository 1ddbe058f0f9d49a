#include "app/mainwindow.h"
#include "ui_mainwindow.h"

// Debugger link: counted-down start and reader messages.

void MainWindow::btnDebugFunction()
{
}

void MainWindow::warmTimerOut()
{
}

void MainWindow::reciveHandshakeMessage_rThread(QString text)
{
}

void MainWindow::reciveHandshakeMessage_cThread(QString text)
{
}

bool MainWindow::nativeEvent(const QByteArray &eventType, void *message, long *result)
{
    return QMainWindow::nativeEvent(eventType, message, result);
}
