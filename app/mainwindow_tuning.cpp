#include "app/mainwindow.h"
#include "ui_mainwindow.h"

// Tuning: sequencer, chart, results table, indicators.

void MainWindow::reciveDataFromThread(QByteArray data, int crcFailed)
{
}

void MainWindow::on_autoTest_btn_clicked()
{
}

void MainWindow::on_stopTest_btn_clicked()
{
}

void MainWindow::on_setDebugTWidget_currentChanged()
{
}

void MainWindow::btn_colorChang_timer()
{
}

void MainWindow::slotPointHoverd(QPointF point, bool state)
{
}

void MainWindow::on_startValueCBox_activated()
{
}

void MainWindow::on_endValueCBox_activated()
{
}

void MainWindow::on_allSelectBtn_clicked()
{
}

void MainWindow::on_invertSelectBtn_clicked()
{
}

void MainWindow::on_btnTk0_clicked()
{
}

void MainWindow::on_btnTk1_clicked()
{
}

void MainWindow::on_btnTk2_clicked()
{
}

void MainWindow::on_btnTk3_clicked()
{
}

void MainWindow::on_btnTk4_clicked()
{
}

void MainWindow::on_btnTk5_clicked()
{
}

void MainWindow::on_btnTk6_clicked()
{
}

void MainWindow::on_btnTk7_clicked()
{
}

void MainWindow::on_btnTk8_clicked()
{
}

void MainWindow::on_btnTk9_clicked()
{
}

void MainWindow::on_btnTk10_clicked()
{
}

void MainWindow::on_btnTk11_clicked()
{
}

void MainWindow::on_btnTk12_clicked()
{
}

void MainWindow::on_btnTk13_clicked()
{
}

void MainWindow::on_btnTk14_clicked()
{
}

void MainWindow::on_btnTk15_clicked()
{
}

void MainWindow::on_btnTk16_clicked()
{
}

void MainWindow::on_btnTk17_clicked()
{
}

void MainWindow::on_btnTk18_clicked()
{
}

void MainWindow::on_btnTk19_clicked()
{
}

void MainWindow::on_btnTk20_clicked()
{
}

void MainWindow::on_btnTk21_clicked()
{
}

void MainWindow::on_btnTk22_clicked()
{
}

void MainWindow::on_btnTk23_clicked()
{
}

void MainWindow::on_btnTk24_clicked()
{
}

void MainWindow::on_tkBtn0_clicked()
{
}

void MainWindow::on_tkBtn1_clicked()
{
}

void MainWindow::on_tkBtn2_clicked()
{
}

void MainWindow::on_tkBtn3_clicked()
{
}

void MainWindow::on_tkBtn4_clicked()
{
}

void MainWindow::on_tkBtn5_clicked()
{
}

void MainWindow::on_tkBtn6_clicked()
{
}

void MainWindow::on_tkBtn7_clicked()
{
}

void MainWindow::on_tkBtn8_clicked()
{
}

void MainWindow::on_tkBtn9_clicked()
{
}

void MainWindow::on_tkBtn10_clicked()
{
}

void MainWindow::on_tkBtn11_clicked()
{
}

void MainWindow::on_tkBtn12_clicked()
{
}

void MainWindow::on_tkBtn13_clicked()
{
}

void MainWindow::on_tkBtn14_clicked()
{
}

void MainWindow::on_tkBtn15_clicked()
{
}

void MainWindow::on_tkBtn16_clicked()
{
}

void MainWindow::on_tkBtn17_clicked()
{
}

void MainWindow::on_tkBtn18_clicked()
{
}

void MainWindow::on_tkBtn19_clicked()
{
}

void MainWindow::on_tkBtn20_clicked()
{
}

void MainWindow::on_tkBtn21_clicked()
{
}

void MainWindow::on_tkBtn22_clicked()
{
}

void MainWindow::on_tkBtn23_clicked()
{
}

void MainWindow::on_tkBtn24_clicked()
{
}

void MainWindow::on_checkBox0_clicked(bool checked)
{
}

void MainWindow::on_checkBox1_clicked(bool checked)
{
}

void MainWindow::on_checkBox2_clicked(bool checked)
{
}

void MainWindow::on_checkBox3_clicked(bool checked)
{
}

void MainWindow::on_checkBox4_clicked(bool checked)
{
}

void MainWindow::on_checkBox5_clicked(bool checked)
{
}

void MainWindow::on_checkBox6_clicked(bool checked)
{
}

void MainWindow::on_checkBox7_clicked(bool checked)
{
}

void MainWindow::on_checkBox8_clicked(bool checked)
{
}

void MainWindow::on_checkBox9_clicked(bool checked)
{
}

void MainWindow::on_checkBox10_clicked(bool checked)
{
}

void MainWindow::on_checkBox11_clicked(bool checked)
{
}

void MainWindow::on_checkBox12_clicked(bool checked)
{
}

void MainWindow::on_checkBox13_clicked(bool checked)
{
}

void MainWindow::on_checkBox14_clicked(bool checked)
{
}

void MainWindow::on_checkBox15_clicked(bool checked)
{
}

void MainWindow::on_checkBox16_clicked(bool checked)
{
}

void MainWindow::on_checkBox17_clicked(bool checked)
{
}

void MainWindow::on_checkBox18_clicked(bool checked)
{
}

void MainWindow::on_checkBox19_clicked(bool checked)
{
}

void MainWindow::on_checkBox20_clicked(bool checked)
{
}

void MainWindow::on_checkBox21_clicked(bool checked)
{
}

void MainWindow::on_checkBox22_clicked(bool checked)
{
}

void MainWindow::on_checkBox23_clicked(bool checked)
{
}

void MainWindow::on_checkBox24_clicked(bool checked)
{
}
