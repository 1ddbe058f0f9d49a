#include "project/settingspage.h"

#include "chip/chip.h"
#include "project/packagewidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStackedWidget>

SettingsPage::SettingsPage(const SettingsWidgets &widgets) : w(widgets) {}

PackageWidget *SettingsPage::currentPackage() const
{
    return qobject_cast<PackageWidget *>(w.packageStackedWidget->currentWidget());
}

PackageWidget *SettingsPage::packageAt(int index) const
{
    if (index < 0 || index >= kPackageCount)
        return nullptr;
    return w.packages[index];
}

PackageWidget *SettingsPage::packageForText(const QString &text) const
{
    if (text.contains(QLatin1String("RM3KV5172_SOP20")))
        return w.packages[1];
    if (text.contains(QLatin1String("RM3KV5172_SOP16")))
        return w.packages[2];
    if (text.contains(QLatin1String("RM3KV5172_SOP28")))
        return w.packages[0];
    return nullptr;
}

PackageWidget *SettingsPage::packageOfCurrentText() const
{
    return packageForText(w.mcuTypeCBox->currentText());
}

QString SettingsPage::projectName() const { return w.proNameLineEdit->text(); }

QString SettingsPage::projectPath() const { return w.proPathLineEdit->text(); }

QString SettingsPage::projectFilePath() const
{
    return projectPath() + QLatin1Char('/') + projectName() + QLatin1String(".ini");
}

bool SettingsPage::lowPower() const { return w.lowpower_cBox->isChecked(); }

int SettingsPage::wakeTimeIndex() const { return w.keyCountCBox->currentIndex(); }

QString SettingsPage::entryTimeText() const { return w.lineEdit->text(); }

int SettingsPage::entryTimeSeconds() const { return entryTimeText().toInt(nullptr, 10); }

bool SettingsPage::entryTimeFits() const
{
    // Text that is no number reads as 0, which fits; a number outside the two bytes does not,
    // however many digits it has.
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
    const QString text = entryTimeText();
    if (!number.match(text).hasMatch())
        return true;
    bool ok = false;
    const int seconds = text.trimmed().toInt(&ok, 10);
    return ok && seconds >= 0 && seconds <= kMaxEntryTime;
}

bool SettingsPage::wakeKeyTicked(int channel) const
{
    if (channel < 0 || channel >= chip::kChannelCount)
        return false;
    return w.wpChbox[channel]->isChecked();
}

void SettingsPage::changePackage(int index)
{
    if (PackageWidget *package = packageAt(index))
        package->reset();
    w.packageStackedWidget->setCurrentIndex(index);
}

void SettingsPage::syncKeyCount(int packageIndex)
{
    const PackageWidget *package = packageAt(packageIndex);
    if (!package)
        return;
    // The segments of sliders and wheels are in use, yet no keys.
    int keys = 0;
    for (int channel = 0; channel < chip::kChannelCount; ++channel)
        keys += package->isInUse(channel) && !package->segmentOf(channel) ? 1 : 0;
    w.keyCBox->setCurrentIndex(keys);
    w.drawCBox->setCurrentIndex(
        SliderDefinition::countOf(package->sliders, SliderDefinition::Kind::Slider));
    w.wheelCBox->setCurrentIndex(
        SliderDefinition::countOf(package->sliders, SliderDefinition::Kind::Wheel));
}

void SettingsPage::syncWakeKeys()
{
    const PackageWidget *package = currentPackage();
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        QCheckBox *box = w.wpChbox[channel];
        // A segment has no key bit to wake the chip with.
        if (package && package->isInUse(channel) && !package->segmentOf(channel)) {
            box->setEnabled(true);
        } else {
            box->setChecked(false);
            box->setEnabled(false);
        }
    }
}

void SettingsPage::applyDefaults()
{
    w.keyCountCBox->setCurrentIndex(6);
    w.lineEdit->setText(QStringLiteral("10"));
    w.startValueCBox->setCurrentText(QStringLiteral("1900"));
    w.endValueCBox->setCurrentText(QStringLiteral("2100"));
    w.keyCBox->setEnabled(false);
    // Indicators like keyCBox: the sliders and wheels defined on the pin map.
    for (QComboBox *box : {w.drawCBox, w.wheelCBox}) {
        box->clear();
        const int most =
            chip::kChannelCount /
            SliderDefinition::minSegments(box == w.drawCBox ? SliderDefinition::Kind::Slider
                                                            : SliderDefinition::Kind::Wheel);
        for (int count = 0; count <= most; ++count)
            box->addItem(QString::number(count));
        box->setEnabled(false);
    }
    w.lowpower_cBox->setEnabled(true);
    w.keyCountCBox->setEnabled(true);
    w.lowRBtn->setEnabled(false);
    w.middleRBtn->setEnabled(false);
    w.highRBtn->setEnabled(false);
    // The firmware keeps the entry time in two bytes: 0 ... 65535, without leading zeros, is all
    // that can be typed (an integer validator would let 70000 through as unfinished input).
    static const QRegularExpression twoBytes(QStringLiteral(
        "0|[1-9]\\d{0,3}|[1-5]\\d{4}|6[0-4]\\d{3}|65[0-4]\\d{2}|655[0-2]\\d|6553[0-5]"));
    w.lineEdit->setValidator(new QRegularExpressionValidator(twoBytes, w.lineEdit));
}

void SettingsPage::applyDefaultPath(const QString &applicationDir)
{
    w.proPathLineEdit->setText(applicationDir + QStringLiteral("/app_Project"));
}
