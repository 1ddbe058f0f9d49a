#include "project/wd5p31948sop16.h"

#include "chip/chip.h"
#include "ui_wd5p31948sop16.h"

Wd5p31948Sop16::Wd5p31948Sop16(QWidget *parent) : PackageWidget(parent), ui(new Ui::Wd5p31948Sop16)
{
    ui->setupUi(this);
    attachForm(chip::kSop16Channels);
}

Wd5p31948Sop16::~Wd5p31948Sop16() { delete ui; }

void Wd5p31948Sop16::on_btnK0_clicked() { pinClicked(0); }
void Wd5p31948Sop16::on_btnK1_clicked() { pinClicked(1); }
void Wd5p31948Sop16::on_btnK5_clicked() { pinClicked(5); }
void Wd5p31948Sop16::on_btnK8_clicked() { pinClicked(8); }
void Wd5p31948Sop16::on_btnK9_clicked() { pinClicked(9); }
void Wd5p31948Sop16::on_btnK12_clicked() { pinClicked(12); }
void Wd5p31948Sop16::on_btnK13_clicked() { pinClicked(13); }
void Wd5p31948Sop16::on_btnK14_clicked() { pinClicked(14); }
void Wd5p31948Sop16::on_btnK18_clicked() { pinClicked(18); }
void Wd5p31948Sop16::on_btnK19_clicked() { pinClicked(19); }
void Wd5p31948Sop16::on_btnK20_clicked() { pinClicked(20); }
void Wd5p31948Sop16::on_btnK21_clicked() { pinClicked(21); }
void Wd5p31948Sop16::on_btnK22_clicked() { pinClicked(22); }
