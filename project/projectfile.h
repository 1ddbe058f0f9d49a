#ifndef PROJECTFILE_H
#define PROJECTFILE_H

#include "chip/chip.h"
#include "project/sliderdefinition.h"

#include <QList>
#include <QString>
#include <QStringList>

class QDateTime;
#include <functional>

class QSettings;
class QTableWidget;
class SettingsPage;

// The touch project as an INI file: the settings page, the pin map of the current package with
// its sliders and wheels, the wake keys, the chart range and the finished rows of the results
// table, and the sections that other parts of the tool keep in it.
class ProjectFile
{
public:
    // A section of the file kept by another part of the tool (the keys' settings): written after
    // the keys above in the same save, read after them in the same load. Its keys must not be
    // those of the sections above, so that an older tool reads the file as it always did.
    struct Section
    {
        std::function<void(QSettings &ini)> save;
        std::function<void(const QSettings &ini)> load;
    };

    explicit ProjectFile(const SettingsPage &page);

    void addSection(const Section &section) { sections.append(section); }

    // Writes every key from the current widgets into the project file named by the project
    // path and name. False when the file could not be written; it is then left as it was.
    [[nodiscard]] bool save() const;
    // The same keys into another file (a dated copy of the project).
    [[nodiscard]] bool saveAs(const QString &filePath) const;
    // The name of a dated copy of the project: "<project name>_<yyyy-MM-dd-HH-mm-ss>", which is
    // opened like any project (its samples file is named after it).
    static QString snapshotName(const QString &projectName, const QDateTime &at);
    // Applies the file's keys to the widgets. A package change caused by the stored package
    // text runs through mcuTypeCBox's index signal before the pin map is applied. The file's
    // result rows replace the whole results table.
    void load(const QString &filePath) const;
    // The "/20/" rows of a save: every row that names a channel or carries a key number, its six
    // cells joined by ":".
    static QStringList resultRows(const QTableWidget &table);

    // Rows of the results table a save walks.
    static constexpr int kSavedRows = chip::kChannelCount;

    // The sliders and wheels in the section [Sliders], which a file of keys only does not have.
    static void saveSliders(QSettings &ini, const QVector<SliderDefinition> &sliders);
    // The definitions as stored; one with a channel that is no number of TK0 ... TK24, or of a
    // kind that is neither, comes without channels, so that the pin map refuses it.
    static QVector<SliderDefinition> readSliders(QSettings &ini);

private:
    void loadPinMap(const QSettings &ini) const;
    void loadSliders(QSettings &ini) const;
    void loadResults(const QSettings &ini) const;

    const SettingsPage &page;
    QList<Section> sections;
};

#endif // PROJECTFILE_H
