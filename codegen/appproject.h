#ifndef APPPROJECT_H
#define APPPROJECT_H

#include "quality/keysettings.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

class PinMapSource;
class ResultsTable;
class QWidget;
class SettingsPage;

// Generates the application project: a time-stamped copy of the application template below the
// project path whose TouchKeyScan.h / .c carry the channel count, the deep-sleep row, the
// measured means of the results table and each key's settings; then saves the project file.
class AppProject
{
    Q_DECLARE_TR_FUNCTIONS(AppProject)

public:
    // templateDir is the application template folder ("RM3KV5172_Touch_Demo" beside the
    // executable); saveProjectFile writes the project file as closing the window does.
    AppProject(QWidget *parent, const SettingsPage &settings, const PinMapSource &pins,
               const ResultsTable &results, const QString &templateDir,
               std::function<bool()> saveProjectFile);

    // The whole request, from the confirmation question to "生成应用代码完成！".
    void generate();

    // Creates projectPath + "/fullChipTouchPro" + "yyyy_MM_dd_hh_mm_ss" (the parent must exist)
    // and returns its path whether or not the creation succeeded.
    static QString makeAppProjectDir(const QString &projectPath);
    // Copies the tree below source into destination, hidden files included. Existing files are
    // left in place. False, after "文件路径不存在！", when source or a folder below it is missing.
    bool copyDirectory(const QString &source, const QString &destination, bool overwrite) const;

    // The deep-sleep row of the current settings and pin map.
    QString deepSleepRow() const;

    // The keys in use that failed or need attention, each with its reasons; the user is asked
    // before a firmware is generated from them. None when unset.
    std::function<QStringList()> keyConcerns;

    // The decision settings of a channel's key; the defaults when unset.
    std::function<KeySettings(int channel)> keySettings;

    // Writes the tuning report into the application folder (TuningReport.pdf); none when unset.
    std::function<bool(const QString &path)> writeReport;
    // Appends a line to the log; a finished request names the folder it wrote there.
    std::function<void(const QString &line)> log;

private:
    QWidget *parent;
    const SettingsPage &settings;
    const PinMapSource &pins;
    const ResultsTable &results;
    QString templateDir;
    std::function<bool()> saveProjectFile;
};

#endif // APPPROJECT_H
