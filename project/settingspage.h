#ifndef SETTINGSPAGE_H
#define SETTINGSPAGE_H

#include "chip/chip.h"

#include <QString>

#include <array>

class PackageWidget;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QStackedWidget;
class QTableWidget;

// The widgets of the settings page that hold the touch project. The window fills it from its form.
struct SettingsWidgets
{
    QLineEdit *proNameLineEdit = nullptr;
    QLineEdit *proPathLineEdit = nullptr;
    QComboBox *mcuTypeCBox = nullptr;
    QComboBox *keyCBox = nullptr;
    QComboBox *drawCBox = nullptr;
    QComboBox *wheelCBox = nullptr;
    QCheckBox *lowpower_cBox = nullptr;
    QLineEdit *lineEdit = nullptr;
    QComboBox *keyCountCBox = nullptr;
    QRadioButton *lowRBtn = nullptr;
    QRadioButton *middleRBtn = nullptr;
    QRadioButton *highRBtn = nullptr;
    QComboBox *startValueCBox = nullptr;
    QComboBox *endValueCBox = nullptr;
    QStackedWidget *packageStackedWidget = nullptr;
    // The package widgets in page order: SOP28, SOP20, SOP16.
    std::array<PackageWidget *, 3> packages{};
    std::array<QCheckBox *, chip::kChannelCount> wpChbox{};
    QTableWidget *tableWidget = nullptr;
};

// The settings page is the project model: every value is read from its widget at the moment of
// use and never kept elsewhere. Also keeps the key-count indicator and the wake-key boxes in step
// with the pin map, and switches packages.
class SettingsPage
{
public:
    explicit SettingsPage(const SettingsWidgets &widgets);

    const SettingsWidgets &widgets() const { return w; }

    // Package page index of each package: 0 SOP28, 1 SOP20, 2 SOP16.
    static constexpr int kPackageCount = 3;

    // The package widget on the current page of the package stack: the pin map that counts.
    PackageWidget *currentPackage() const;
    // The package widget of page index 0 ... 2, or null.
    PackageWidget *packageAt(int index) const;
    // The package named by a package text: the first of "RM3KV5172_SOP20", "RM3KV5172_SOP16",
    // "RM3KV5172_SOP28" that the text contains, or null when it names none.
    PackageWidget *packageForText(const QString &text) const;
    // The package named by the current text of mcuTypeCBox.
    PackageWidget *packageOfCurrentText() const;

    QString projectName() const;
    QString projectPath() const;
    // Project path + "/" + project name + ".ini".
    QString projectFilePath() const;
    bool lowPower() const;
    // Index 0 ... 7 of the wake time ("4ms" ... "2048ms").
    int wakeTimeIndex() const;
    QString entryTimeText() const;
    // The entry time as a decimal number of seconds; text that is not a number reads as 0.
    int entryTimeSeconds() const;
    // False when the entry time is a number outside 0 ... 65535 (possible only from a file).
    bool entryTimeFits() const;
    static constexpr int kMaxEntryTime = 65535;
    // Whether the wake-key box of the channel is ticked (channels outside 0 ... 24: false).
    bool wakeKeyTicked(int channel) const;

    // Change of package: resets the widget of the page that becomes current and shows it.
    void changePackage(int index);
    // keyCBox shows the keys in use in the package widget of the given page index (channels in
    // use that are no segment), drawCBox and wheelCBox its complete sliders and wheels.
    void syncKeyCount(int packageIndex);
    // A wake-key box is enabled while its channel carries a key in the current package; otherwise
    // it is unchecked and disabled.
    void syncWakeKeys();
    // The values of the settings page when the window has just been built (the project path
    // apart, which is set later in construction).
    void applyDefaults();
    // The default project path: the folder written to (beside the executable for a portable
    // copy) + "/app_Project".
    void applyDefaultPath(const QString &applicationDir);

private:
    SettingsWidgets w;
};

#endif // SETTINGSPAGE_H
