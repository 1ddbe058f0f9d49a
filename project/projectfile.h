#ifndef PROJECTFILE_H
#define PROJECTFILE_H

#include <QString>

class QSettings;
class SettingsPage;

// The touch project as an INI file: the settings page, the pin map of the current package, the
// wake keys, the chart range and the finished rows of the results table.
class ProjectFile
{
public:
    explicit ProjectFile(const SettingsPage &page);

    // Writes every key from the current widgets into the project file named by the project
    // path and name. The outcome is not checked, as the file format has no way to report it.
    void save() const;
    // Applies the file's keys to the widgets. A package change caused by the stored package
    // text runs through mcuTypeCBox's index signal before the pin map is applied.
    void load(const QString &filePath) const;

    // Rows of the results table a save walks, and the parts of one stored row.
    static constexpr int kSavedRows = 25;
    static constexpr int kResultColumns = 6;

private:
    void loadPinMap(const QSettings &ini) const;
    void loadResults(const QSettings &ini) const;

    const SettingsPage &page;
};

#endif // PROJECTFILE_H
