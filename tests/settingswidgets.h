#ifndef SETTINGSWIDGETS_H
#define SETTINGSWIDGETS_H

#include "app/mainwindow.h"
#include "project/packagewidget.h"
#include "project/settingspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>

// A widget of the window by its object name, outside the package forms (whose inner names may
// repeat the window's).
template <typename T> T *windowWidget(const QWidget &window, const QString &name)
{
    for (T *widget : window.findChildren<T *>(name)) {
        bool inPackage = false;
        for (const QObject *p = widget->parent(); p; p = p->parent())
            inPackage = inPackage || qobject_cast<const PackageWidget *>(p);
        if (!inPackage)
            return widget;
    }
    return nullptr;
}

// The settings-page widgets of a window, found by their object names as a user reaches them.
inline SettingsWidgets widgetsOf(MainWindow &window)
{
    SettingsWidgets w;
    auto line = [&](const char *name) { return window.findChild<QLineEdit *>(name); };
    auto combo = [&](const char *name) { return window.findChild<QComboBox *>(name); };
    auto radio = [&](const char *name) { return window.findChild<QRadioButton *>(name); };
    w.proNameLineEdit = line("proNameLineEdit");
    w.proPathLineEdit = line("proPathLineEdit");
    w.lineEdit = line("lineEdit");
    w.mcuTypeCBox = combo("mcuTypeCBox");
    w.keyCBox = combo("keyCBox");
    w.drawCBox = combo("drawCBox");
    w.wheelCBox = combo("wheelCBox");
    w.keyCountCBox = combo("keyCountCBox");
    w.startValueCBox = combo("startValueCBox");
    w.endValueCBox = combo("endValueCBox");
    w.lowpower_cBox = window.findChild<QCheckBox *>("lowpower_cBox");
    w.lowRBtn = radio("lowRBtn");
    w.middleRBtn = radio("middleRBtn");
    w.highRBtn = radio("highRBtn");
    w.packageStackedWidget = window.findChild<QStackedWidget *>("packageStackedWidget");
    w.packages = {window.findChild<PackageWidget *>("Mwidget28"),
                  window.findChild<PackageWidget *>("Mwidget20"),
                  window.findChild<PackageWidget *>("Mwidget16")};
    for (int n = 0; n < 25; ++n)
        w.wpChbox[n] = window.findChild<QCheckBox *>(QStringLiteral("wpChbox%1").arg(n));
    w.tableWidget = window.findChild<QTableWidget *>("tableWidget");
    return w;
}

#endif // SETTINGSWIDGETS_H
