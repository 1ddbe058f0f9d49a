#include "app/mainwindow.h"
#include "chip/chip.h"
#include "ui_mainwindow.h"

#include "production/productionline.h"
#include "production/productionpage.h"
#include "project/packagewidget.h"
#include "tuning/samplingstarter.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>

// Tuning: sequencer, waterproof test, verification, chart, results table, indicators.

void MainWindow::setUpTuning()
{
    TuningWidgets widgets;
    widgets.chartView = ui->chartView;
    widgets.startValueCBox = ui->startValueCBox;
    widgets.endValueCBox = ui->endValueCBox;
    widgets.hoverLabel = hoverLabel;
    widgets.tableWidget = ui->tableWidget;
    widgets.log = ui->plainTextEdit;
    for (int n = 0; n < chip::kChannelCount; ++n) {
        widgets.keys << findChild<QPushButton *>(QStringLiteral("btnTk%1").arg(n));
        widgets.swatches << findChild<QPushButton *>(QStringLiteral("tkBtn%1").arg(n));
        widgets.checkBoxes << findChild<QCheckBox *>(QStringLiteral("checkBox%1").arg(n));
    }
    widgets.verificationButton = ui->pushButton_3;
    widgets.numbersTable = ui->numbersTable;
    widgets.pauseButton = ui->pausePictureBtn;
    widgets.recordButton = ui->recordBtn;
    widgets.progressLabel = progressLabel;
    widgets.overlayParent = this;
    widgets.replay = {ui->replayBar, ui->replayPauseBtn, ui->replaySpeedCBox, ui->replaySlider,
                      ui->replayTimeLabel};
    widgets.dialogParent = this;
    widgets.settingsPanelLayout = ui->gridLayout_10;
    pinMap = std::make_unique<StackedPinMap>(ui->packageStackedWidget);
    tuning =
        std::make_unique<TuningSession>(widgets, channelNames, tuningRun, *pinMap, *samplingStarter,
                                        boardPacing, toolPaths.appProjectDir());
    // A block of records the verification reader read in one go goes to the session as a whole.
    connect(debuggerLink, &DebuggerLink::checkRecords, tuning.get(),
            &TuningSession::handleCheckRecords);
    sliderSession = std::make_unique<SliderSession>(*tuning, *pinMap, ui->gridLayout_10, this);
    // The debug page follows the sliders made on any package's drawing, and the package shown.
    for (PackageWidget *package : ui->packageStackedWidget->findChildren<PackageWidget *>())
        connect(package, &PackageWidget::slidersChanged, sliderSession.get(),
                &SliderSession::refresh);
    connect(ui->packageStackedWidget, &QStackedWidget::currentChanged, sliderSession.get(),
            &SliderSession::refresh);
    connect(&tuning->chart(), &LiveChart::pointHovered, this, &MainWindow::slotPointHoverd);
    // While a recording plays, nothing may start on the board, and the project is neither
    // opened nor generated from: its results may be a scratch project's.
    connect(&tuning->replay(), &RecordingPlayer::activeChanged, this, [this](bool replaying) {
        const QList<QWidget *> starts = {
            ui->autoTest_btn,    ui->waterproof_btn,   ui->pushButton_3,
            ui->widget_4,        ui->recordBtn,        ui->openRecordingBtn,
            ui->saveDownloadBtn, ui->createAppPro_btn, ui->openProBtn};
        for (QWidget *start : starts)
            start->setEnabled(!replaying);
    });
    connect(samplingStarter, &SamplingStarter::startFailed, &tuning->sequencer(),
            &ChannelTestSequencer::startFailed);
    // The badge goes with the phase's count beside it.
    samplingStarter->placeBadge = [this](const QSize &size) {
        return tuning->progress().badgePosition(size);
    };
    // The keys' settings are part of the project file.
    projectFile->addSection({[this](QSettings &ini) { tuning->keySettings().save(ini); },
                             [this](const QSettings &ini) { tuning->loadKeySettings(ini); }});
    connect(tuning.get(), &TuningSession::reportRequested, this, [this] {
        tuning->exportReport(settingsPage->projectName(), settingsPage->projectPath(),
                             ui->mcuTypeCBox->currentText());
    });
    connect(tuning.get(), &TuningSession::logSaveRequested, this, [this] {
        tuning->logHistory().saveInto(exportFolder(), settingsPage->projectName(), this);
    });
}

QString MainWindow::exportFolder() const
{
    // Beside the project; before a project path is set, where the tool's other exports go.
    const QString folder = settingsPage->projectPath();
    return folder.isEmpty() ? toolPaths.appProjectDir() : folder;
}

void MainWindow::reciveDataFromThread(QByteArray data, int crcFailed)
{
    if (production->line().handleRecord(data, crcFailed))
        return;
    tuning->handleRecord(data, crcFailed);
}

void MainWindow::on_autoTest_btn_clicked() { tuning->sequencer().startAutoTest(); }

void MainWindow::on_stopTest_btn_clicked() { tuning->stopRun(); }

void MainWindow::on_setDebugTWidget_currentChanged()
{
    tuning->indicators().tabChanged(ui->setDebugTWidget->currentIndex(), wpChboxTimer,
                                    ui->createAppPro_btn);
}

void MainWindow::btn_colorChang_timer() { tuning->indicators().blinkTick(); }

void MainWindow::slotPointHoverd(QPointF point, bool state)
{
    tuning->chart().showHover(point, state);
}

void MainWindow::on_startValueCBox_activated() { tuning->chart().applyStartValue(); }

void MainWindow::on_endValueCBox_activated() { tuning->chart().applyEndValue(); }

void MainWindow::on_pausePictureBtn_clicked() { tuning->togglePicturePause(); }

void MainWindow::on_recordBtn_clicked()
{
    tuning->recording().toggle(exportFolder(), settingsPage->projectName());
}

void MainWindow::on_openRecordingBtn_clicked()
{
    tuning->replay().open(settingsPage->projectPath());
}

void MainWindow::on_replayPauseBtn_clicked() { tuning->replay().togglePause(); }

void MainWindow::on_replayEndBtn_clicked() { tuning->replay().close(); }

void MainWindow::on_allSelectBtn_clicked() { tuning->indicators().selectAll(); }

void MainWindow::on_invertSelectBtn_clicked() { tuning->indicators().invertSelection(); }

// Single-channel test buttons btnTk0 ... btnTk24
void MainWindow::on_btnTk0_clicked() { tuning->sequencer().startSingleChannel(0); }

void MainWindow::on_btnTk1_clicked() { tuning->sequencer().startSingleChannel(1); }

void MainWindow::on_btnTk2_clicked() { tuning->sequencer().startSingleChannel(2); }

void MainWindow::on_btnTk3_clicked() { tuning->sequencer().startSingleChannel(3); }

void MainWindow::on_btnTk4_clicked() { tuning->sequencer().startSingleChannel(4); }

void MainWindow::on_btnTk5_clicked() { tuning->sequencer().startSingleChannel(5); }

void MainWindow::on_btnTk6_clicked() { tuning->sequencer().startSingleChannel(6); }

void MainWindow::on_btnTk7_clicked() { tuning->sequencer().startSingleChannel(7); }

void MainWindow::on_btnTk8_clicked() { tuning->sequencer().startSingleChannel(8); }

void MainWindow::on_btnTk9_clicked() { tuning->sequencer().startSingleChannel(9); }

void MainWindow::on_btnTk10_clicked() { tuning->sequencer().startSingleChannel(10); }

void MainWindow::on_btnTk11_clicked() { tuning->sequencer().startSingleChannel(11); }

void MainWindow::on_btnTk12_clicked() { tuning->sequencer().startSingleChannel(12); }

void MainWindow::on_btnTk13_clicked() { tuning->sequencer().startSingleChannel(13); }

void MainWindow::on_btnTk14_clicked() { tuning->sequencer().startSingleChannel(14); }

void MainWindow::on_btnTk15_clicked() { tuning->sequencer().startSingleChannel(15); }

void MainWindow::on_btnTk16_clicked() { tuning->sequencer().startSingleChannel(16); }

void MainWindow::on_btnTk17_clicked() { tuning->sequencer().startSingleChannel(17); }

void MainWindow::on_btnTk18_clicked() { tuning->sequencer().startSingleChannel(18); }

void MainWindow::on_btnTk19_clicked() { tuning->sequencer().startSingleChannel(19); }

void MainWindow::on_btnTk20_clicked() { tuning->sequencer().startSingleChannel(20); }

void MainWindow::on_btnTk21_clicked() { tuning->sequencer().startSingleChannel(21); }

void MainWindow::on_btnTk22_clicked() { tuning->sequencer().startSingleChannel(22); }

void MainWindow::on_btnTk23_clicked() { tuning->sequencer().startSingleChannel(23); }

void MainWindow::on_btnTk24_clicked() { tuning->sequencer().startSingleChannel(24); }

// Colour swatches tkBtn0 ... tkBtn24
void MainWindow::on_tkBtn0_clicked() { tuning->indicators().pickColour(0); }

void MainWindow::on_tkBtn1_clicked() { tuning->indicators().pickColour(1); }

void MainWindow::on_tkBtn2_clicked() { tuning->indicators().pickColour(2); }

void MainWindow::on_tkBtn3_clicked() { tuning->indicators().pickColour(3); }

void MainWindow::on_tkBtn4_clicked() { tuning->indicators().pickColour(4); }

void MainWindow::on_tkBtn5_clicked() { tuning->indicators().pickColour(5); }

void MainWindow::on_tkBtn6_clicked() { tuning->indicators().pickColour(6); }

void MainWindow::on_tkBtn7_clicked() { tuning->indicators().pickColour(7); }

void MainWindow::on_tkBtn8_clicked() { tuning->indicators().pickColour(8); }

void MainWindow::on_tkBtn9_clicked() { tuning->indicators().pickColour(9); }

void MainWindow::on_tkBtn10_clicked() { tuning->indicators().pickColour(10); }

void MainWindow::on_tkBtn11_clicked() { tuning->indicators().pickColour(11); }

void MainWindow::on_tkBtn12_clicked() { tuning->indicators().pickColour(12); }

void MainWindow::on_tkBtn13_clicked() { tuning->indicators().pickColour(13); }

void MainWindow::on_tkBtn14_clicked() { tuning->indicators().pickColour(14); }

void MainWindow::on_tkBtn15_clicked() { tuning->indicators().pickColour(15); }

void MainWindow::on_tkBtn16_clicked() { tuning->indicators().pickColour(16); }

void MainWindow::on_tkBtn17_clicked() { tuning->indicators().pickColour(17); }

void MainWindow::on_tkBtn18_clicked() { tuning->indicators().pickColour(18); }

void MainWindow::on_tkBtn19_clicked() { tuning->indicators().pickColour(19); }

void MainWindow::on_tkBtn20_clicked() { tuning->indicators().pickColour(20); }

void MainWindow::on_tkBtn21_clicked() { tuning->indicators().pickColour(21); }

void MainWindow::on_tkBtn22_clicked() { tuning->indicators().pickColour(22); }

void MainWindow::on_tkBtn23_clicked() { tuning->indicators().pickColour(23); }

void MainWindow::on_tkBtn24_clicked() { tuning->indicators().pickColour(24); }

// Channel check boxes checkBox0 ... checkBox24
void MainWindow::on_checkBox0_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(0, checked);
}

void MainWindow::on_checkBox1_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(1, checked);
}

void MainWindow::on_checkBox2_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(2, checked);
}

void MainWindow::on_checkBox3_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(3, checked);
}

void MainWindow::on_checkBox4_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(4, checked);
}

void MainWindow::on_checkBox5_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(5, checked);
}

void MainWindow::on_checkBox6_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(6, checked);
}

void MainWindow::on_checkBox7_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(7, checked);
}

void MainWindow::on_checkBox8_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(8, checked);
}

void MainWindow::on_checkBox9_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(9, checked);
}

void MainWindow::on_checkBox10_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(10, checked);
}

void MainWindow::on_checkBox11_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(11, checked);
}

void MainWindow::on_checkBox12_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(12, checked);
}

void MainWindow::on_checkBox13_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(13, checked);
}

void MainWindow::on_checkBox14_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(14, checked);
}

void MainWindow::on_checkBox15_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(15, checked);
}

void MainWindow::on_checkBox16_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(16, checked);
}

void MainWindow::on_checkBox17_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(17, checked);
}

void MainWindow::on_checkBox18_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(18, checked);
}

void MainWindow::on_checkBox19_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(19, checked);
}

void MainWindow::on_checkBox20_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(20, checked);
}

void MainWindow::on_checkBox21_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(21, checked);
}

void MainWindow::on_checkBox22_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(22, checked);
}

void MainWindow::on_checkBox23_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(23, checked);
}

void MainWindow::on_checkBox24_clicked(bool checked)
{
    tuning->indicators().checkBoxClicked(24, checked);
}
