#include "codegen/appproject.h"

#include "chip/chip.h"
#include "codegen/question.h"
#include "codegen/sourcegenerator.h"
#include "project/keynumbercheck.h"
#include "project/pinmapsource.h"
#include "project/settingspage.h"
#include "project/writefailure.h"
#include "quality/tuningreport.h"
#include "tuning/resultstable.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

AppProject::AppProject(QWidget *parent, const SettingsPage &settings, const PinMapSource &pins,
                       const ResultsTable &results, const QString &templateDir,
                       std::function<bool()> saveProjectFile)
    : parent(parent), settings(settings), pins(pins), results(results), templateDir(templateDir),
      saveProjectFile(std::move(saveProjectFile))
{
}

void AppProject::generate()
{
    Source source;
    source.meansOf = [this](int channel) { return results.tableMeans(channel); };
    source.concerns = keyConcerns;
    source.writeReport = writeReport;
    source.reportFileName = TuningReport::appFileName();
    generate(source);
}

void AppProject::generate(const Source &from)
{
    if (QMessageBox::warning(parent, tr("生成代码提示"), tr("请确调试已经完成！"),
                             QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    // Nothing is created for keys the firmware would never report, nor for no key at all.
    if (KeyNumberCheck::refuseForFirmware(parent, pins))
        return;
    const QString projectPath = settings.projectPath();
    if (projectPath.isEmpty()) {
        QMessageBox::warning(parent, tr("提示"),
                             tr("请到设置页面工程路径处选择应用工程保存路径！"));
        return;
    }
    // Nothing is created for a configuration the firmware cannot carry.
    if (!settings.entryTimeFits()) {
        QMessageBox::warning(parent, tr("提示"),
                             tr("进入低功耗时间超出范围（0-65535），请修改后再生成！"));
        return;
    }
    QStringList incomplete;
    const QStringList rows = SourceGenerator::resultRows(pins, from.meansOf, &incomplete);
    if (!incomplete.isEmpty()) {
        QMessageBox::warning(parent, tr("提示"),
                             tr("以下通道尚未完成测试：") + incomplete.join(tr("，")));
        return;
    }
    // The engineer may know better than the judgement: asked, never refused.
    if (from.concerns) {
        const QStringList concerns = from.concerns();
        if (!concerns.isEmpty() &&
            !askToGoOn(parent, tr("%1\n\n仍要生成应用代码吗？").arg(concerns.join(tr("；\n"))),
                       tr("仍然生成")))
            return;
    }
    const QString folder = makeAppProjectDir(projectPath);
    // Without its folder the copy and the rewrites would scatter files below a missing path.
    // A folder left by a request in the same second is used again.
    if (!QFileInfo(folder).isDir()) {
        QMessageBox::warning(parent, tr("提示"), tr("无法创建应用工程文件夹，请检查工程路径！"));
        return;
    }
    if (!copyDirectory(templateDir, folder, true))
        return;
    const int channelCount = rows.size();
    const QString header = folder + QLatin1String("/User/H/TouchKeyScan.h");
    const QString source = folder + QLatin1String("/User/C/TouchKeyScan.c");
    if (!SourceGenerator::rewriteChannelCount(parent, header, channelCount, tr("写.H文件失败！")))
        return;
    if (!SourceGenerator::rewriteDeepSleepCfg(parent, source, deepSleepRow()))
        return;
    if (!SourceGenerator::rewriteChannelTable(parent, source, rows))
        return;
    const auto settingsOf = [this](int channel) {
        return keySettings ? keySettings(channel) : KeySettings();
    };
    if (!SourceGenerator::rewriteKeySettingsTable(
            parent, source, SourceGenerator::keySettingsRows(pins, settingsOf)))
        return;
    if (!SourceGenerator::rewriteSliders(parent, header, source, pins))
        return;
    const QString report = folder + QLatin1Char('/') + from.reportFileName;
    if (from.writeReport && !from.writeReport(report)) {
        warnWriteFailed(parent, report);
        return;
    }
    // The save reports its own failure; the request is then not complete.
    if (!saveProjectFile())
        return;
    if (log) {
        // What the firmware does differently from a key with the defaults, key by key.
        for (int channel = 0; channel < chip::kChannelCount; ++channel) {
            const QStringList differences = settingsOf(channel).differencesFromDefaults();
            if (pins.isKey(channel) && !differences.isEmpty())
                log(tr("TK%1 的按键设置与默认不同：%2")
                        .arg(channel)
                        .arg(differences.join(tr("，"))));
        }
        for (const SliderDefinition &slider : pins.sliders()) {
            QVector<KeySettings> segments;
            for (int segment : slider.channels)
                segments << settingsOf(segment);
            const QStringList differences =
                KeySettings::ofSlider(segments).differencesFromDefaults();
            if (!differences.isEmpty())
                log(tr("%1 的设置与默认不同：%2").arg(slider.name, differences.join(tr("，"))));
        }
        log(tr("应用工程已生成：%1").arg(QDir::toNativeSeparators(folder)));
    }
    QMessageBox::warning(parent, tr("提示"), tr("生成应用代码完成！"));
}

QString AppProject::makeAppProjectDir(const QString &projectPath)
{
    const QString folder =
        projectPath + QLatin1String("/fullChipTouchPro") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy_MM_dd_hh_mm_ss"));
    QDir().mkdir(folder);
    return folder;
}

bool AppProject::copyDirectory(const QString &source, const QString &destination,
                               bool overwrite) const
{
    const QDir sourceDir(source);
    if (!sourceDir.exists()) {
        QMessageBox::warning(parent, tr("提示"), tr("文件路径不存在！"),
                             QMessageBox::Ok | QMessageBox::Cancel);
        return false;
    }
    QString from = QDir::toNativeSeparators(source);
    QString to = QDir::toNativeSeparators(destination);
    if (!from.endsWith(QDir::separator()))
        from += QDir::separator();
    if (!to.endsWith(QDir::separator()))
        to += QDir::separator();

    bool complete = true;
    const QFileInfoList entries = sourceDir.entryInfoList(
        QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo &entry : entries) {
        const QString sourcePath = from + entry.fileName();
        const QString destinationPath = to + entry.fileName();
        if (entry.isFile() || entry.isSymLink()) {
            // Only lifts a read-only mark of an existing copy; the copy itself never replaces it.
            if (overwrite && QFile::exists(destinationPath))
                QFile::setPermissions(destinationPath,
                                      QFile::permissions(destinationPath) | QFile::WriteOwner);
            QFile::copy(sourcePath, destinationPath);
        } else if (entry.isDir()) {
            QDir().mkpath(destinationPath);
            if (!copyDirectory(sourcePath, destinationPath, overwrite))
                complete = false;
        }
    }
    return complete;
}

QString AppProject::deepSleepRow() const
{
    bool wakeKey[chip::kChannelCount] = {};
    for (int channel = 0; channel < chip::kChannelCount; ++channel)
        wakeKey[channel] = settings.wakeKeyTicked(channel);
    return SourceGenerator::deepSleepRow(settings.lowPower(), settings.wakeTimeIndex(),
                                         settings.entryTimeText(),
                                         SourceGenerator::wakeKeyMask(pins, wakeKey));
}
