#include "project/writefailure.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>

QString writeFailedText(const QString &path)
{
    return QCoreApplication::translate("MainWindow", "文件写入失败：%1")
        .arg(QDir::toNativeSeparators(path));
}

void warnWriteFailed(QWidget *parent, const QString &path)
{
    QMessageBox::warning(parent, QCoreApplication::translate("MainWindow", "提示"),
                         writeFailedText(path));
}
