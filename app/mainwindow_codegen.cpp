#include "app/mainwindow.h"
#include "ui_mainwindow.h"

// Firmware generation: Save & Download and the application project.

void MainWindow::on_saveDownloadBtn_clicked()
{
}

void MainWindow::on_createAppPro_btn_clicked()
{
}
