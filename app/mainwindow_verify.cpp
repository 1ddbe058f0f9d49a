#include "app/mainwindow.h"
#include "ui_mainwindow.h"

// Waterproof test and verification mode.

void MainWindow::on_waterproof_btn_clicked() { tuning->waterproof().start(); }

void MainWindow::on_pushButton_3_clicked() { tuning->verification().toggle(); }

void MainWindow::reciveDataFromCheckThread(QByteArray data, int crcFailed)
{
    tuning->handleCheckRecord(data, crcFailed);
}
