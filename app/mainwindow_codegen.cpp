#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>

// Firmware generation: Save & Download and the application project. Both work on the template
// folders beside the executable.

void MainWindow::setUpFirmwareGeneration()
{
    const QString applicationDir = QCoreApplication::applicationDirPath();
    appProject = std::make_unique<AppProject>(
        this, *settingsPage, *pinMap, tuning->results(),
        applicationDir + QLatin1String("/RM3KV5172_Touch_Demo"), [this] { return saveProjectFile(); });
    // A child of the window, so build scripts still running stay owned until the window goes.
    saveDownload =
        new SaveDownload(this, tuningRun, *debuggerLink, readThread, ui->plainTextEdit,
                         tuning->results(), tuning->samples(), *pinMap, applicationDir, this);
}

void MainWindow::on_saveDownloadBtn_clicked() { saveDownload->run(); }

void MainWindow::on_createAppPro_btn_clicked() { appProject->generate(); }
