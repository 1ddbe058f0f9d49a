#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "tuning/channelindicators.h"
#include "tuning/channeltestsequencer.h"
#include "tuning/livechart.h"
#include "tuning/resultstable.h"
#include "tuning/samplingstarter.h"
#include "tuning/stackedpinmap.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

// Tuning: sequencer, chart, results table, indicators.

void MainWindow::setUpChartAndTable()
{
    hoverLabel = new QLabel(this);
    hoverLabel->hide();
    liveChart = std::make_unique<LiveChart>(ui->chartView, ui->startValueCBox, ui->endValueCBox,
                                            hoverLabel, tuningState);
    liveChart->rebuild(12, 11);
    connect(liveChart.get(), &LiveChart::pointHovered, this, &MainWindow::slotPointHoverd);
    resultsTable = std::make_unique<ResultsTable>(ui->tableWidget, channelNames);
    resultsTable->setup();
}

void MainWindow::setUpChannelRows()
{
    QList<QPushButton *> keys;
    QList<QPushButton *> swatches;
    QList<QCheckBox *> boxes;
    for (int n = 0; n < 25; ++n) {
        keys << findChild<QPushButton *>(QStringLiteral("btnTk%1").arg(n));
        swatches << findChild<QPushButton *>(QStringLiteral("tkBtn%1").arg(n));
        boxes << findChild<QCheckBox *>(QStringLiteral("checkBox%1").arg(n));
    }
    pinMap = std::make_unique<StackedPinMap>(ui->packageStackedWidget);
    channelIndicators =
        std::make_unique<ChannelIndicators>(keys, swatches, boxes, *pinMap, tuningState, this);
    channelIndicators->applySwatchStyles();
    sequencer = std::make_unique<ChannelTestSequencer>(tuningState, *liveChart, *resultsTable,
                                                       *channelIndicators, *pinMap,
                                                       *samplingStarter, ui->plainTextEdit, this);
}

void MainWindow::reciveDataFromThread(QByteArray data, int crcFailed)
{
    sequencer->handleRecord(data, crcFailed);
}

void MainWindow::on_autoTest_btn_clicked()
{
    sequencer->startAutoTest();
}

void MainWindow::on_stopTest_btn_clicked()
{
    sequencer->stop();
}

void MainWindow::on_setDebugTWidget_currentChanged()
{
    channelIndicators->tabChanged(ui->setDebugTWidget->currentIndex(), wpChboxTimer,
                                  ui->createAppPro_btn);
}

void MainWindow::btn_colorChang_timer()
{
    channelIndicators->blinkTick();
}

void MainWindow::slotPointHoverd(QPointF point, bool state)
{
    liveChart->showHover(point, state);
}

void MainWindow::on_startValueCBox_activated()
{
    liveChart->applyStartValue();
}

void MainWindow::on_endValueCBox_activated()
{
    liveChart->applyEndValue();
}

void MainWindow::on_allSelectBtn_clicked()
{
    channelIndicators->selectAll();
}

void MainWindow::on_invertSelectBtn_clicked()
{
    channelIndicators->invertSelection();
}

// Single-channel test buttons btnTk0 ... btnTk24
void MainWindow::on_btnTk0_clicked()
{
    sequencer->startSingleChannel(0);
}

void MainWindow::on_btnTk1_clicked()
{
    sequencer->startSingleChannel(1);
}

void MainWindow::on_btnTk2_clicked()
{
    sequencer->startSingleChannel(2);
}

void MainWindow::on_btnTk3_clicked()
{
    sequencer->startSingleChannel(3);
}

void MainWindow::on_btnTk4_clicked()
{
    sequencer->startSingleChannel(4);
}

void MainWindow::on_btnTk5_clicked()
{
    sequencer->startSingleChannel(5);
}

void MainWindow::on_btnTk6_clicked()
{
    sequencer->startSingleChannel(6);
}

void MainWindow::on_btnTk7_clicked()
{
    sequencer->startSingleChannel(7);
}

void MainWindow::on_btnTk8_clicked()
{
    sequencer->startSingleChannel(8);
}

void MainWindow::on_btnTk9_clicked()
{
    sequencer->startSingleChannel(9);
}

void MainWindow::on_btnTk10_clicked()
{
    sequencer->startSingleChannel(10);
}

void MainWindow::on_btnTk11_clicked()
{
    sequencer->startSingleChannel(11);
}

void MainWindow::on_btnTk12_clicked()
{
    sequencer->startSingleChannel(12);
}

void MainWindow::on_btnTk13_clicked()
{
    sequencer->startSingleChannel(13);
}

void MainWindow::on_btnTk14_clicked()
{
    sequencer->startSingleChannel(14);
}

void MainWindow::on_btnTk15_clicked()
{
    sequencer->startSingleChannel(15);
}

void MainWindow::on_btnTk16_clicked()
{
    sequencer->startSingleChannel(16);
}

void MainWindow::on_btnTk17_clicked()
{
    sequencer->startSingleChannel(17);
}

void MainWindow::on_btnTk18_clicked()
{
    sequencer->startSingleChannel(18);
}

void MainWindow::on_btnTk19_clicked()
{
    sequencer->startSingleChannel(19);
}

void MainWindow::on_btnTk20_clicked()
{
    sequencer->startSingleChannel(20);
}

void MainWindow::on_btnTk21_clicked()
{
    sequencer->startSingleChannel(21);
}

void MainWindow::on_btnTk22_clicked()
{
    sequencer->startSingleChannel(22);
}

void MainWindow::on_btnTk23_clicked()
{
    sequencer->startSingleChannel(23);
}

void MainWindow::on_btnTk24_clicked()
{
    sequencer->startSingleChannel(24);
}

// Colour swatches tkBtn0 ... tkBtn24
void MainWindow::on_tkBtn0_clicked()
{
    channelIndicators->pickColour(0);
}

void MainWindow::on_tkBtn1_clicked()
{
    channelIndicators->pickColour(1);
}

void MainWindow::on_tkBtn2_clicked()
{
    channelIndicators->pickColour(2);
}

void MainWindow::on_tkBtn3_clicked()
{
    channelIndicators->pickColour(3);
}

void MainWindow::on_tkBtn4_clicked()
{
    channelIndicators->pickColour(4);
}

void MainWindow::on_tkBtn5_clicked()
{
    channelIndicators->pickColour(5);
}

void MainWindow::on_tkBtn6_clicked()
{
    channelIndicators->pickColour(6);
}

void MainWindow::on_tkBtn7_clicked()
{
    channelIndicators->pickColour(7);
}

void MainWindow::on_tkBtn8_clicked()
{
    channelIndicators->pickColour(8);
}

void MainWindow::on_tkBtn9_clicked()
{
    channelIndicators->pickColour(9);
}

void MainWindow::on_tkBtn10_clicked()
{
    channelIndicators->pickColour(10);
}

void MainWindow::on_tkBtn11_clicked()
{
    channelIndicators->pickColour(11);
}

void MainWindow::on_tkBtn12_clicked()
{
    channelIndicators->pickColour(12);
}

void MainWindow::on_tkBtn13_clicked()
{
    channelIndicators->pickColour(13);
}

void MainWindow::on_tkBtn14_clicked()
{
    channelIndicators->pickColour(14);
}

void MainWindow::on_tkBtn15_clicked()
{
    channelIndicators->pickColour(15);
}

void MainWindow::on_tkBtn16_clicked()
{
    channelIndicators->pickColour(16);
}

void MainWindow::on_tkBtn17_clicked()
{
    channelIndicators->pickColour(17);
}

void MainWindow::on_tkBtn18_clicked()
{
    channelIndicators->pickColour(18);
}

void MainWindow::on_tkBtn19_clicked()
{
    channelIndicators->pickColour(19);
}

void MainWindow::on_tkBtn20_clicked()
{
    channelIndicators->pickColour(20);
}

void MainWindow::on_tkBtn21_clicked()
{
    channelIndicators->pickColour(21);
}

void MainWindow::on_tkBtn22_clicked()
{
    channelIndicators->pickColour(22);
}

void MainWindow::on_tkBtn23_clicked()
{
    channelIndicators->pickColour(23);
}

void MainWindow::on_tkBtn24_clicked()
{
    channelIndicators->pickColour(24);
}

// Channel check boxes checkBox0 ... checkBox24
void MainWindow::on_checkBox0_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(0, checked);
}

void MainWindow::on_checkBox1_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(1, checked);
}

void MainWindow::on_checkBox2_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(2, checked);
}

void MainWindow::on_checkBox3_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(3, checked);
}

void MainWindow::on_checkBox4_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(4, checked);
}

void MainWindow::on_checkBox5_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(5, checked);
}

void MainWindow::on_checkBox6_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(6, checked);
}

void MainWindow::on_checkBox7_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(7, checked);
}

void MainWindow::on_checkBox8_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(8, checked);
}

void MainWindow::on_checkBox9_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(9, checked);
}

void MainWindow::on_checkBox10_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(10, checked);
}

void MainWindow::on_checkBox11_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(11, checked);
}

void MainWindow::on_checkBox12_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(12, checked);
}

void MainWindow::on_checkBox13_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(13, checked);
}

void MainWindow::on_checkBox14_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(14, checked);
}

void MainWindow::on_checkBox15_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(15, checked);
}

void MainWindow::on_checkBox16_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(16, checked);
}

void MainWindow::on_checkBox17_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(17, checked);
}

void MainWindow::on_checkBox18_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(18, checked);
}

void MainWindow::on_checkBox19_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(19, checked);
}

void MainWindow::on_checkBox20_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(20, checked);
}

void MainWindow::on_checkBox21_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(21, checked);
}

void MainWindow::on_checkBox22_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(22, checked);
}

void MainWindow::on_checkBox23_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(23, checked);
}

void MainWindow::on_checkBox24_clicked(bool checked)
{
    channelIndicators->checkBoxClicked(24, checked);
}
