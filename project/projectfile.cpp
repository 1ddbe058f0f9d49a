#include "project/projectfile.h"

#include "chip/chip.h"
#include "project/iniescapes.h"
#include "project/packagewidget.h"
#include "project/resultcolumns.h"
#include "project/settingspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSettings>
#include <QStringList>
#include <QTableWidget>

namespace
{
// INI keys: "/group/entry", stored as entry of section [group].
const QString kProjectName = QStringLiteral("/1/1");
const QString kProjectPath = QStringLiteral("/1/2");
const QString kPackage = QStringLiteral("/2/1");
const QString kKeyCount = QStringLiteral("/3/1");
const QString kSliderCount = QStringLiteral("/3/2");
const QString kWheelCount = QStringLiteral("/3/3");
const QString kEntryTime = QStringLiteral("/4/1");
const QString kLowPower = QStringLiteral("/4/2");
const QString kWakeTime = QStringLiteral("/5/1");
const QString kReserved1 = QStringLiteral("/5/2");
const QString kReserved2 = QStringLiteral("/5/3");
const QString kLowFrequency = QStringLiteral("/6/1");
const QString kMiddleFrequency = QStringLiteral("/6/2");
const QString kHighFrequency = QStringLiteral("/6/3");
const QString kChartStart = QStringLiteral("/7/1");
const QString kChartEnd = QStringLiteral("/7/2");
const QString kInUsePrefix = QStringLiteral("/10/");
const QString kKeyNumberPrefix = QStringLiteral("/11/");
const QString kWakeKeyPrefix = QStringLiteral("/12/");
const QString kResultPrefix = QStringLiteral("/20/");
// The sliders and wheels, one array entry each: "1\\kind=wheel", "1\\name=W1",
// "1\\channels=3 4 5".
const QString kSliderSection = QStringLiteral("Sliders");
const QString kSliderKind = QStringLiteral("kind");
const QString kSliderName = QStringLiteral("name");
const QString kSliderChannels = QStringLiteral("channels");

QString keyOf(const QString &prefix, int entry) { return prefix + QString::number(entry); }

QString textOf(const QSettings &ini, const QString &key) { return ini.value(key).toString(); }

// Booleans are recognised by the word "true" anywhere in the stored text.
bool flagOf(const QSettings &ini, const QString &key)
{
    return textOf(ini, key).contains(QLatin1String("true"));
}

// Base-10 integer; missing or non-numeric text gives 0.
int numberOf(const QSettings &ini, const QString &key)
{
    return textOf(ini, key).toInt(nullptr, 10);
}
} // namespace

ProjectFile::ProjectFile(const SettingsPage &page) : page(page) {}

bool ProjectFile::save() const { return saveAs(page.projectFilePath()); }

QString ProjectFile::snapshotName(const QString &projectName, const QDateTime &at)
{
    return projectName + QLatin1Char('_') + at.toString(QStringLiteral("yyyy-MM-dd-HH-mm-ss"));
}

bool ProjectFile::saveAs(const QString &filePath) const
{
    const SettingsWidgets &w = page.widgets();
    QSettings ini(filePath, QSettings::IniFormat);

    ini.setValue(kProjectName, w.proNameLineEdit->text());
    ini.setValue(kProjectPath, w.proPathLineEdit->text());
    ini.setValue(kPackage, w.mcuTypeCBox->currentText());
    ini.setValue(kKeyCount, w.keyCBox->currentText());
    ini.setValue(kSliderCount, w.drawCBox->currentText());
    ini.setValue(kWheelCount, w.wheelCBox->currentText());
    ini.setValue(kEntryTime, w.lineEdit->text());
    ini.setValue(kLowPower, w.lowpower_cBox->isChecked());
    ini.setValue(kWakeTime, w.keyCountCBox->currentText());
    ini.setValue(kReserved1, QStringLiteral("0"));
    ini.setValue(kReserved2, QStringLiteral("0"));
    ini.setValue(kLowFrequency, w.lowRBtn->isChecked());
    ini.setValue(kMiddleFrequency, w.middleRBtn->isChecked());
    ini.setValue(kHighFrequency, w.highRBtn->isChecked());
    ini.setValue(kChartStart, w.startValueCBox->currentText());
    ini.setValue(kChartEnd, w.endValueCBox->currentText());

    const PackageWidget *package = page.packageOfCurrentText();
    for (int n = 0; n < chip::kChannelCount; ++n) {
        const int inUse = package ? package->channelInUse[n] : 0;
        const int key = package ? package->keyNumber[n] : 0;
        ini.setValue(keyOf(kInUsePrefix, n),
                     inUse == 1 ? QStringLiteral("1") : QStringLiteral("0"));
        ini.setValue(keyOf(kKeyNumberPrefix, n),
                     key > 0 ? QString::number(key) : QStringLiteral("0"));
    }
    for (int n = 0; n < chip::kChannelCount; ++n)
        ini.setValue(keyOf(kWakeKeyPrefix, n), w.wpChbox[n]->isChecked());
    saveSliders(ini, package ? package->sliders : QVector<SliderDefinition>());

    const QStringList rows = resultRows(*w.tableWidget);
    ini.setValue(keyOf(kResultPrefix, 0), QString::number(rows.size()));
    for (int i = 0; i < rows.size(); ++i)
        ini.setValue(keyOf(kResultPrefix, i + 1), rows.at(i));
    for (const Section &section : sections)
        section.save(ini);
    // The settings facility writes the file whole or not at all; only its status tells which.
    ini.sync();
    return ini.status() != QSettings::AccessError && IniEscapes::rewriteAsQt5(ini.fileName());
}

QStringList ProjectFile::resultRows(const QTableWidget &table)
{
    // A row is kept once it names its channel (a no-touch/touch result) or carries a key number
    // (a waterproof result); a cell without value is stored as an empty part.
    const auto text = [&table](int row, int column) {
        const QTableWidgetItem *item = table.item(row, column);
        return item ? item->text() : QString();
    };
    QStringList rows;
    const int walked = qMin(kSavedRows, table.rowCount());
    for (int row = 0; row < walked; ++row) {
        if (text(row, columnOf(ResultColumn::Name)).isEmpty() &&
            text(row, columnOf(ResultColumn::Key)).isEmpty())
            continue;
        QStringList cells;
        for (int column = 0; column < kResultColumnCount; ++column)
            cells << text(row, column);
        rows << cells.join(QLatin1Char(':'));
    }
    return rows;
}

void ProjectFile::load(const QString &filePath) const
{
    const SettingsWidgets &w = page.widgets();
    // Not const: reading the sliders' array moves its group.
    QSettings ini(filePath, QSettings::IniFormat);

    w.proNameLineEdit->setText(textOf(ini, kProjectName));
    w.proPathLineEdit->setText(textOf(ini, kProjectPath));
    // Selecting another package resets its widget through the index-changed signal.
    w.mcuTypeCBox->setCurrentText(textOf(ini, kPackage));
    w.keyCBox->setCurrentText(textOf(ini, kKeyCount));
    w.drawCBox->setCurrentText(textOf(ini, kSliderCount));
    w.wheelCBox->setCurrentText(textOf(ini, kWheelCount));
    w.lineEdit->setText(textOf(ini, kEntryTime));
    w.lowpower_cBox->setChecked(flagOf(ini, kLowPower));
    for (int n = 0; n < chip::kChannelCount; ++n) {
        const bool wake = flagOf(ini, keyOf(kWakeKeyPrefix, n));
        w.wpChbox[n]->setChecked(wake);
        w.wpChbox[n]->setEnabled(wake);
    }
    w.keyCountCBox->setCurrentText(textOf(ini, kWakeTime));
    // Unchecking the checked button of an exclusive group does nothing, so the last button
    // stored as "true" wins and none stored as "true" keeps the current one.
    w.lowRBtn->setChecked(flagOf(ini, kLowFrequency));
    w.middleRBtn->setChecked(flagOf(ini, kMiddleFrequency));
    w.highRBtn->setChecked(flagOf(ini, kHighFrequency));
    w.startValueCBox->setCurrentText(textOf(ini, kChartStart));
    w.endValueCBox->setCurrentText(textOf(ini, kChartEnd));
    loadPinMap(ini);
    loadSliders(ini);
    loadResults(ini);
    for (const Section &section : sections)
        section.load(ini);
}

void ProjectFile::loadPinMap(const QSettings &ini) const
{
    PackageWidget *package = page.packageForText(textOf(ini, kPackage));
    if (!package)
        return;
    std::array<int, chip::kChannelCount> inUse{};
    std::array<int, chip::kChannelCount> keys{};
    QStringList foreignKeys;
    for (int n = 0; n < chip::kChannelCount; ++n) {
        inUse[n] = numberOf(ini, keyOf(kInUsePrefix, n));
        keys[n] = numberOf(ini, keyOf(kKeyNumberPrefix, n));
        // A hand-edited key the package does not offer stays as stored, but wakes nothing.
        if (package->hasPin(n) && (keys[n] < 0 || keys[n] > package->keyCount()))
            foreignKeys << QStringLiteral("TK%1").arg(n);
    }
    package->applyLoadedMap(inUse, keys);
    if (!foreignKeys.isEmpty())
        QMessageBox::warning(package, QObject::tr("提示"),
                             QObject::tr("%1 的按键号不在 1～%2 之内，不作唤醒按键！")
                                 .arg(foreignKeys.join(QStringLiteral("、")))
                                 .arg(package->keyCount()));
}

void ProjectFile::loadResults(const QSettings &ini) const
{
    QTableWidget *table = page.widgets().tableWidget;
    // The file's results replace the table's whole: rows of another project never stay behind.
    table->clearContents();
    // The count comes from the file: never walk past the table.
    const int count = qMin(numberOf(ini, keyOf(kResultPrefix, 0)), table->rowCount());
    for (int i = 1; i <= count; ++i) {
        const QStringList parts =
            textOf(ini, keyOf(kResultPrefix, i)).split(QLatin1Char(':'), Qt::KeepEmptyParts);
        for (int column = 0; column < kResultColumnCount; ++column) {
            auto *item = new QTableWidgetItem(column < parts.size() ? parts.at(column) : QString());
            if (column == columnOf(ResultColumn::Name))
                item->setTextAlignment(Qt::AlignCenter);
            table->setItem(i - 1, column, item);
        }
    }
}

void ProjectFile::saveSliders(QSettings &ini, const QVector<SliderDefinition> &sliders)
{
    // The file keeps what a save does not write again: the section is written anew, and not at
    // all without a slider, so that a project of keys only has the file it always had.
    ini.remove(kSliderSection);
    if (sliders.isEmpty())
        return;
    ini.beginWriteArray(kSliderSection, sliders.size());
    for (int i = 0; i < sliders.size(); ++i) {
        const SliderDefinition &slider = sliders.at(i);
        ini.setArrayIndex(i);
        ini.setValue(kSliderKind,
                     slider.isWheel() ? QStringLiteral("wheel") : QStringLiteral("slider"));
        ini.setValue(kSliderName, slider.name);
        QStringList channels;
        for (int channel : slider.channels)
            channels << QString::number(channel);
        ini.setValue(kSliderChannels, channels.join(QLatin1Char(' ')));
    }
    ini.endArray();
}

QVector<SliderDefinition> ProjectFile::readSliders(QSettings &ini)
{
    QVector<SliderDefinition> sliders;
    // A count from the file is never trusted beyond what the chip can hold.
    const int count = qBound(0, ini.beginReadArray(kSliderSection), chip::kChannelCount);
    for (int i = 0; i < count; ++i) {
        ini.setArrayIndex(i);
        SliderDefinition slider;
        const QString kind = ini.value(kSliderKind).toString();
        slider.kind = kind == QLatin1String("wheel") ? SliderDefinition::Kind::Wheel
                                                     : SliderDefinition::Kind::Slider;
        slider.name = ini.value(kSliderName).toString().trimmed();
        const QStringList channels =
            ini.value(kSliderChannels).toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool sound = kind == QLatin1String("wheel") || kind == QLatin1String("slider");
        for (const QString &text : channels) {
            bool isNumber = false;
            const int channel = text.toInt(&isNumber, 10);
            sound = sound && isNumber && chip::isChannel(channel);
            slider.channels << channel;
        }
        if (!sound)
            slider.channels.clear();
        sliders << slider;
    }
    ini.endArray();
    return sliders;
}

void ProjectFile::loadSliders(QSettings &ini) const
{
    PackageWidget *package = page.packageForText(textOf(ini, kPackage));
    if (!package)
        return;
    const QStringList refused = package->applyLoadedSliders(readSliders(ini));
    if (!refused.isEmpty())
        QMessageBox::warning(package, QObject::tr("提示"),
                             QObject::tr("工程文件中以下滑条或滚轮的定义无效，已忽略：%1")
                                 .arg(refused.join(QStringLiteral("、"))));
}
