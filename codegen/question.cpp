#include "codegen/question.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

bool askToGoOn(QWidget *parent, const QString &text, const QString &goOn)
{
    QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("Question", "提示"), text,
                    QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(goOn, QMessageBox::AcceptRole);
    QPushButton *cancel =
        box.addButton(QCoreApplication::translate("Question", "取消"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == yes;
}
