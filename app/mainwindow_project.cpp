#include "app/mainwindow.h"
#include "ui_mainwindow.h"

// Touch project: settings page, pin map, project file, workspace.

void MainWindow::on_keyCBox_activated(int index)
{
}

void MainWindow::on_mcuTypeCBox_currentIndexChanged(int index)
{
}

void MainWindow::keyTimerOut()
{
}

void MainWindow::wpChboxTimeOut()
{
}

void MainWindow::on_browseBtn_clicked()
{
}

void MainWindow::on_openProBtn_clicked()
{
}
