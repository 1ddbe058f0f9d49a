#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>

// Firmware generation: Save & Download and the application project.

void MainWindow::setUpFirmwareGeneration()
{
    const QString applicationDir = QCoreApplication::applicationDirPath();
    generationPinMap = std::make_unique<StackedPinMap>(ui->packageStackedWidget);
    appProject = std::make_unique<AppProject>(
        this, *settingsPage, *generationPinMap, ui->tableWidget,
        applicationDir + QLatin1String("/RM3KV5172_Touch_Demo"), [this] { saveProjectFile(); });
}

void MainWindow::on_saveDownloadBtn_clicked()
{
}

void MainWindow::on_createAppPro_btn_clicked()
{
    appProject->generate();
}
