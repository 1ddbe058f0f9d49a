#ifndef WD5P31948SOP16_H
#define WD5P31948SOP16_H

#include "project/packagewidget.h"

QT_BEGIN_NAMESPACE
namespace Ui
{
class Wd5p31948Sop16;
}
QT_END_NAMESPACE

// Pin map of the RM3KV5172 in the SOP16 package: 13 channel pins, keys 1 ... 13.
class Wd5p31948Sop16 : public PackageWidget
{
    Q_OBJECT

public:
    explicit Wd5p31948Sop16(QWidget *parent = nullptr);
    ~Wd5p31948Sop16() override;

private slots:
    // Pin buttons btnK<n>, one per channel that has a pin in this package
    void on_btnK0_clicked();
    void on_btnK1_clicked();
    void on_btnK5_clicked();
    void on_btnK8_clicked();
    void on_btnK9_clicked();
    void on_btnK12_clicked();
    void on_btnK13_clicked();
    void on_btnK14_clicked();
    void on_btnK18_clicked();
    void on_btnK19_clicked();
    void on_btnK20_clicked();
    void on_btnK21_clicked();
    void on_btnK22_clicked();

private:
    Ui::Wd5p31948Sop16 *ui;
};

#endif // WD5P31948SOP16_H
