#ifndef MYWIDGET02_H
#define MYWIDGET02_H

#include "project/packagewidget.h"

QT_BEGIN_NAMESPACE
namespace Ui
{
class MyWidget02;
}
QT_END_NAMESPACE

// Pin map of the RM3KV5172 in the SOP28 package: 25 channel pins, keys 1 ... 25.
class MyWidget02 : public PackageWidget
{
    Q_OBJECT

public:
    explicit MyWidget02(QWidget *parent = nullptr);
    ~MyWidget02() override;

private slots:
    // Pin buttons btnK<n>, one per channel that has a pin in this package
    void on_btnK0_clicked();
    void on_btnK1_clicked();
    void on_btnK2_clicked();
    void on_btnK3_clicked();
    void on_btnK4_clicked();
    void on_btnK5_clicked();
    void on_btnK6_clicked();
    void on_btnK7_clicked();
    void on_btnK8_clicked();
    void on_btnK9_clicked();
    void on_btnK10_clicked();
    void on_btnK11_clicked();
    void on_btnK12_clicked();
    void on_btnK13_clicked();
    void on_btnK14_clicked();
    void on_btnK15_clicked();
    void on_btnK16_clicked();
    void on_btnK17_clicked();
    void on_btnK18_clicked();
    void on_btnK19_clicked();
    void on_btnK20_clicked();
    void on_btnK21_clicked();
    void on_btnK22_clicked();
    void on_btnK23_clicked();
    void on_btnK24_clicked();

private:
    Ui::MyWidget02 *ui;
};

#endif // MYWIDGET02_H
