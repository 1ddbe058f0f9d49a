#ifndef MWIDGET01_H
#define MWIDGET01_H

#include "project/packagewidget.h"

QT_BEGIN_NAMESPACE
namespace Ui
{
class Mwidget01;
}
QT_END_NAMESPACE

// Pin map of the RM3KV5172 in the SOP20 package: 17 channel pins, keys 1 ... 17.
class Mwidget01 : public PackageWidget
{
    Q_OBJECT

public:
    explicit Mwidget01(QWidget *parent = nullptr);
    ~Mwidget01() override;

private slots:
    // Pin buttons btnK<n>, one per channel that has a pin in this package
    void on_btnK0_clicked();
    void on_btnK1_clicked();
    void on_btnK2_clicked();
    void on_btnK3_clicked();
    void on_btnK4_clicked();
    void on_btnK5_clicked();
    void on_btnK8_clicked();
    void on_btnK9_clicked();
    void on_btnK12_clicked();
    void on_btnK13_clicked();
    void on_btnK14_clicked();
    void on_btnK15_clicked();
    void on_btnK18_clicked();
    void on_btnK19_clicked();
    void on_btnK20_clicked();
    void on_btnK21_clicked();
    void on_btnK22_clicked();

private:
    Ui::Mwidget01 *ui;
};

#endif // MWIDGET01_H
