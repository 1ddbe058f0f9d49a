#ifndef WORKSPACE_H
#define WORKSPACE_H

#include <QFileDialog>
#include <QString>

#include <functional>

class ProjectFile;
class QLineEdit;
class QWidget;

// The project folder and the opening of a project file: the two dialogs of the settings page and
// their messages.
class Workspace
{
public:
    using FolderChooser =
        std::function<QString(QWidget *parent, const QString &caption, const QString &startFolder,
                              QFileDialog::Options options)>;
    using FileChooser =
        std::function<QString(QWidget *parent, const QString &caption, const QString &startFolder,
                              const QString &filter, QFileDialog::Options options)>;

    Workspace(QWidget *window, QLineEdit *proPathLineEdit, QLineEdit *proNameLineEdit,
              const ProjectFile &projectFile);

    // Asks for the project folder and puts it into the path field.
    void browse();
    // Asks for a project file and loads it; the project path and name then name that file.
    void openProject();
    // Loads the project file as openProject() does once it is chosen; false, said in a box,
    // when the file is gone.
    bool openProjectFile(const QString &file);
    // Runs after a project file was loaded into the widgets.
    std::function<void()> projectLoaded;

    // Where the folder dialog starts: the user's desktop.
    static QString startFolder();

    // The dialogs; the platform's file dialogs unless replaced.
    FolderChooser chooseFolder;
    FileChooser chooseFile;

private:
    void warn(const char *text) const;

    QWidget *window;
    QLineEdit *proPathLineEdit;
    QLineEdit *proNameLineEdit;
    const ProjectFile &projectFile;
};

#endif // WORKSPACE_H
