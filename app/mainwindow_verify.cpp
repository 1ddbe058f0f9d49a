#include "app/mainwindow.h"
#include "ui_mainwindow.h"

// Waterproof test and verification mode.

void MainWindow::on_waterproof_btn_clicked()
{
}

void MainWindow::on_pushButton_3_clicked()
{
}

void MainWindow::reciveDataFromCheckThread(QByteArray data)
{
}
