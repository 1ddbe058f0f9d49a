#include "project/mwidget01.h"

#include "chip/chip.h"
#include "ui_mwidget01.h"

Mwidget01::Mwidget01(QWidget *parent) : PackageWidget(parent), ui(new Ui::Mwidget01)
{
    ui->setupUi(this);
    attachForm(chip::kSop20Channels);
}

Mwidget01::~Mwidget01() { delete ui; }

void Mwidget01::on_btnK0_clicked() { pinClicked(0); }
void Mwidget01::on_btnK1_clicked() { pinClicked(1); }
void Mwidget01::on_btnK2_clicked() { pinClicked(2); }
void Mwidget01::on_btnK3_clicked() { pinClicked(3); }
void Mwidget01::on_btnK4_clicked() { pinClicked(4); }
void Mwidget01::on_btnK5_clicked() { pinClicked(5); }
void Mwidget01::on_btnK8_clicked() { pinClicked(8); }
void Mwidget01::on_btnK9_clicked() { pinClicked(9); }
void Mwidget01::on_btnK12_clicked() { pinClicked(12); }
void Mwidget01::on_btnK13_clicked() { pinClicked(13); }
void Mwidget01::on_btnK14_clicked() { pinClicked(14); }
void Mwidget01::on_btnK15_clicked() { pinClicked(15); }
void Mwidget01::on_btnK18_clicked() { pinClicked(18); }
void Mwidget01::on_btnK19_clicked() { pinClicked(19); }
void Mwidget01::on_btnK20_clicked() { pinClicked(20); }
void Mwidget01::on_btnK21_clicked() { pinClicked(21); }
void Mwidget01::on_btnK22_clicked() { pinClicked(22); }
