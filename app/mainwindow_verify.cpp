#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "tuning/samplingstarter.h"

#include <QCheckBox>

// Waterproof test and verification mode.

void MainWindow::setUpWaterproofAndVerification()
{
    waterproofTest = std::make_unique<WaterproofTest>(
        tuningState, *sequencer, *samplingStarter, *liveChart, *resultsTable, *channelIndicators,
        *pinMap, readEmptyThread, blinkTimer, ui->plainTextEdit, this, toolPaths.appProjectDir());
    sequencer->setWaterproofHandlers([this] { waterproofTest->promptAddWater(); },
                                     [this] { waterproofTest->handleRecord(); });

    QList<QCheckBox *> boxes;
    for (int n = 0; n < 25; ++n)
        boxes << channelIndicators->checkBox(n);
    verificationMode =
        std::make_unique<VerificationMode>(*liveChart, *debuggerLink, checkThread, readEmptyThread,
                                           ui->pushButton_3, boxes, tuningState, this);
    // The constructor's curves, in palette colours, until verification creates them anew.
    verificationMode->createCurves();
    connect(channelIndicators.get(), &ChannelIndicators::swatchColourChanged,
            verificationMode.get(), &VerificationMode::applySwatchColour);
}

void MainWindow::on_waterproof_btn_clicked() { waterproofTest->start(); }

void MainWindow::on_pushButton_3_clicked() { verificationMode->toggle(); }

void MainWindow::reciveDataFromCheckThread(QByteArray data)
{
    verificationMode->handleRecord(data);
}
