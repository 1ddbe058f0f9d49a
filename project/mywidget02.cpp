#include "project/mywidget02.h"

#include "chip/chip.h"
#include "ui_mywidget02.h"

MyWidget02::MyWidget02(QWidget *parent) : PackageWidget(parent), ui(new Ui::MyWidget02)
{
    ui->setupUi(this);
    attachForm(chip::kSop28Channels);
}

MyWidget02::~MyWidget02() { delete ui; }

void MyWidget02::on_btnK0_clicked() { pinClicked(0); }
void MyWidget02::on_btnK1_clicked() { pinClicked(1); }
void MyWidget02::on_btnK2_clicked() { pinClicked(2); }
void MyWidget02::on_btnK3_clicked() { pinClicked(3); }
void MyWidget02::on_btnK4_clicked() { pinClicked(4); }
void MyWidget02::on_btnK5_clicked() { pinClicked(5); }
void MyWidget02::on_btnK6_clicked() { pinClicked(6); }
void MyWidget02::on_btnK7_clicked() { pinClicked(7); }
void MyWidget02::on_btnK8_clicked() { pinClicked(8); }
void MyWidget02::on_btnK9_clicked() { pinClicked(9); }
void MyWidget02::on_btnK10_clicked() { pinClicked(10); }
void MyWidget02::on_btnK11_clicked() { pinClicked(11); }
void MyWidget02::on_btnK12_clicked() { pinClicked(12); }
void MyWidget02::on_btnK13_clicked() { pinClicked(13); }
void MyWidget02::on_btnK14_clicked() { pinClicked(14); }
void MyWidget02::on_btnK15_clicked() { pinClicked(15); }
void MyWidget02::on_btnK16_clicked() { pinClicked(16); }
void MyWidget02::on_btnK17_clicked() { pinClicked(17); }
void MyWidget02::on_btnK18_clicked() { pinClicked(18); }
void MyWidget02::on_btnK19_clicked() { pinClicked(19); }
void MyWidget02::on_btnK20_clicked() { pinClicked(20); }
void MyWidget02::on_btnK21_clicked() { pinClicked(21); }
void MyWidget02::on_btnK22_clicked() { pinClicked(22); }
void MyWidget02::on_btnK23_clicked() { pinClicked(23); }
void MyWidget02::on_btnK24_clicked() { pinClicked(24); }
