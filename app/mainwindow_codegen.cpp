#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QDebug>

// Firmware generation: Save & Download and the application project. The application template
// is read where it was found; the test template is rewritten in the folder written to.

void MainWindow::setUpFirmwareGeneration()
{
    // A folder that could not be prepared shows up as the missing files of the first request.
    if (!toolPaths.prepareWritableDir())
        qWarning() << "cannot prepare" << toolPaths.writableDir();
    appProject =
        std::make_unique<AppProject>(this, *settingsPage, *pinMap, tuning->results(),
                                     toolPaths.appTemplate(), [this] { return saveProjectFile(); });
    appProject->writeReport = [this](const QString &path) {
        QString error;
        return tuning->writeReport(path, settingsPage->projectName(),
                                   ui->mcuTypeCBox->currentText(), &error);
    };
    appProject->keyConcerns = [this] { return tuning->concerns(); };
    appProject->keySettings = [this](int channel) { return tuning->keySettings().at(channel); };
    appProject->log = [this](const QString &line) { ui->plainTextEdit->appendPlainText(line); };
    // A child of the window, so build scripts still running stay owned until the window goes.
    saveDownload = new SaveDownload(this, *tuning, *debuggerLink, boardPacing, ui->plainTextEdit,
                                    *pinMap, toolPaths.writableDir(), this);
    saveDownload->saveProject = [this] { return saveProjectFile(); };
    saveDownload->keepSnapshot = [this] { return saveResultsSnapshot(); };
    tuning->replay().project().keepSnapshot = [this] { return saveResultsSnapshot(); };
}

void MainWindow::on_saveDownloadBtn_clicked() { saveDownload->run(); }

void MainWindow::on_createAppPro_btn_clicked() { appProject->generate(); }
