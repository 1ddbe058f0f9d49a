#ifndef PROJECTFILE_H
#define PROJECTFILE_H

#include "chip/chip.h"

#include <QString>
#include <QStringList>

class QSettings;
class QTableWidget;
class SettingsPage;

// The touch project as an INI file: the settings page, the pin map of the current package, the
// wake keys, the chart range and the finished rows of the results table.
class ProjectFile
{
public:
    explicit ProjectFile(const SettingsPage &page);

    // Writes every key from the current widgets into the project file named by the project
    // path and name. False when the file could not be written; it is then left as it was.
    [[nodiscard]] bool save() const;
    // Applies the file's keys to the widgets. A package change caused by the stored package
    // text runs through mcuTypeCBox's index signal before the pin map is applied. The file's
    // result rows replace the whole results table.
    void load(const QString &filePath) const;
    // The "/20/" rows of a save: every row that names a channel or carries a key number, its six
    // cells joined by ":".
    static QStringList resultRows(const QTableWidget &table);

    // Rows of the results table a save walks.
    static constexpr int kSavedRows = chip::kChannelCount;

private:
    void loadPinMap(const QSettings &ini) const;
    void loadResults(const QSettings &ini) const;

    const SettingsPage &page;
};

#endif // PROJECTFILE_H
