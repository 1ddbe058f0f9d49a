#include "app/mainwindow.h"
#include "chip/chip.h"
#include "ui_mainwindow.h"

#include "app/recentprojectsmenu.h"
#include "project/keynumbercheck.h"
#include "project/packagewidget.h"
#include "project/projectkeeper.h"
#include "project/sliderpanel.h"
#include "project/writefailure.h"
#include "quality/evidencefile.h"
#include "quality/samplesfile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimer>

// Touch project: settings page, pin map, project file, workspace.

void MainWindow::setUpProjectSettings()
{
    SettingsWidgets widgets;
    widgets.proNameLineEdit = ui->proNameLineEdit;
    widgets.proPathLineEdit = ui->proPathLineEdit;
    widgets.mcuTypeCBox = ui->mcuTypeCBox;
    widgets.keyCBox = ui->keyCBox;
    widgets.drawCBox = ui->drawCBox;
    widgets.wheelCBox = ui->wheelCBox;
    widgets.lowpower_cBox = ui->lowpower_cBox;
    widgets.lineEdit = ui->lineEdit;
    widgets.keyCountCBox = ui->keyCountCBox;
    widgets.lowRBtn = ui->lowRBtn;
    widgets.middleRBtn = ui->middleRBtn;
    widgets.highRBtn = ui->highRBtn;
    widgets.startValueCBox = ui->startValueCBox;
    widgets.endValueCBox = ui->endValueCBox;
    widgets.packageStackedWidget = ui->packageStackedWidget;
    widgets.packages = {ui->Mwidget28, ui->Mwidget20, ui->Mwidget16};
    for (int n = 0; n < chip::kChannelCount; ++n)
        widgets.wpChbox[n] = findChild<QCheckBox *>(QStringLiteral("wpChbox%1").arg(n));
    widgets.tableWidget = ui->tableWidget;
    settingsPage = std::make_unique<SettingsPage>(widgets);
    // The sliders and wheels are made on the drawing: their panel goes under it, above the
    // Save & Download button.
    auto *sliderPanel =
        new SliderPanel(widgets.packages, ui->packageStackedWidget, ui->mainTWidget);
    ui->gridLayout_3->removeWidget(ui->widget);
    ui->gridLayout_3->addWidget(sliderPanel, 1, 0, 1, 3);
    ui->gridLayout_3->addWidget(ui->widget, 2, 0, 1, 3);
    projectFile = std::make_unique<ProjectFile>(*settingsPage);
    projectKeeper = std::make_unique<ProjectKeeper>(*projectFile);
    workspace =
        std::make_unique<Workspace>(this, ui->proPathLineEdit, ui->proNameLineEdit, *projectFile);
    // The loaded rows are the results now: each channel is found again in its own row, and
    // samples measured for the previous project no longer belong to any row.
    workspace->projectLoaded = [this] {
        projectKeeper->adopt(settingsPage->projectFilePath());
        recentProjects->remember(settingsPage->projectFilePath());
        tuning->adoptLoadedResults(samplesFilePath());
        tuning->adoptLoadedEvidence(evidenceFilePath());
        // Told once here; generation refuses such a project until it is mended.
        KeyNumberCheck::warn(this, *pinMap);
    };
}

QString MainWindow::samplesFilePath() const
{
    return settingsPage->projectPath() + QLatin1Char('/') +
           SamplesFile::fileName(settingsPage->projectName());
}

QString MainWindow::evidenceFilePath() const
{
    return settingsPage->projectPath() + QLatin1Char('/') +
           EvidenceFile::fileName(settingsPage->projectName());
}

bool MainWindow::saveProjectFile()
{
    const QString path = settingsPage->projectFilePath();
    const ProjectKeeper::Kept kept =
        projectKeeper->keepBeforeSaving(path, {samplesFilePath(), evidenceFilePath()},
                                        QDateTime::currentDateTime());
    if (!kept.ok) {
        warnWriteFailed(this, kept.failedPath);
        return false;
    }
    if (!kept.projectCopy.isEmpty())
        ui->plainTextEdit->appendPlainText(ProjectKeeper::keptText(kept));
    if (!projectFile->save()) {
        warnWriteFailed(this, path);
        return false;
    }
    projectKeeper->adopt(path);
    QString error;
    if (!tuning->saveSamples(samplesFilePath(), &error)) {
        warnWriteFailed(this, samplesFilePath());
        return false;
    }
    if (!tuning->saveEvidence(evidenceFilePath(), &error)) {
        warnWriteFailed(this, evidenceFilePath());
        return false;
    }
    recentProjects->remember(path);
    return true;
}

void MainWindow::saveProjectOnClose()
{
    // A session that opened nothing and changed nothing leaves the project files as they are:
    // the start-up defaults name the last session's project, which they must not replace.
    if (projectKeeper->hasChanges(!tuning->samples().isEmpty()))
        (void)saveProjectFile();
}

QString MainWindow::saveResultsSnapshot()
{
    const QString name =
        ProjectFile::snapshotName(settingsPage->projectName(), QDateTime::currentDateTime());
    const QString folder = settingsPage->projectPath() + QLatin1Char('/');
    const QString project = folder + name + QLatin1String(".ini");
    const QString samples = folder + SamplesFile::fileName(name);
    QString error;
    if (!projectFile->saveAs(project)) {
        warnWriteFailed(this, project);
        return QString();
    }
    if (!SamplesFile::write(samples, tuning->samples(), &error)) {
        warnWriteFailed(this, samples);
        return QString();
    }
    const QString evidence = folder + EvidenceFile::fileName(name);
    if (!EvidenceFile::write(evidence, tuning->evidence(), &error)) {
        warnWriteFailed(this, evidence);
        return QString();
    }
    return QFileInfo(project).fileName();
}

void MainWindow::on_keyCBox_activated(int)
{
    // keyCBox is a disabled indicator; nothing follows from it.
}

void MainWindow::on_mcuTypeCBox_currentIndexChanged(int index)
{
    packageIndex = index;
    settingsPage->changePackage(index);
}

void MainWindow::keyTimerOut() { settingsPage->syncKeyCount(packageIndex); }

void MainWindow::wpChboxTimeOut() { settingsPage->syncWakeKeys(); }

void MainWindow::on_browseBtn_clicked() { workspace->browse(); }

void MainWindow::on_openProBtn_clicked() { workspace->openProject(); }
