#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QCloseEvent>
#include <QEasingCurve>
#include <QPropertyAnimation>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    for (int n = 0; n < 25; ++n)
        channelNames << QStringLiteral("TK%1").arg(n);
    setWindowTitle(QStringLiteral("    "));
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
}

void MainWindow::TrayIconAction(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        showNormal();
}

void MainWindow::on_pushButton_clicked()
{
}
