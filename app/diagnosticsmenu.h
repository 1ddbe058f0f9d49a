#ifndef DIAGNOSTICSMENU_H
#define DIAGNOSTICSMENU_H

#include "diagnostics/diagnosticsbundle.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class BundleWriter;
class DebuggerLink;
class ProjectFile;
class QAction;
class QDateTime;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;
class TuningSession;

// The side menu's entry "诊断" with "导出诊断包…": one zip the user can mail to whoever helps
// them, with the project as the tool holds it and its samples, the session's log, the link's
// traffic, the tool's version and Qt, the operating system, the debugger's state, the user's
// settings file and, when the user ticks it, the session's last recording. Nothing else of the
// disk. The zip is written off the GUI thread, whole or not at all.
class DiagnosticsMenu : public QObject
{
    Q_OBJECT

public:
    struct Sources
    {
        const DebuggerLink *link = nullptr;
        TuningSession *session = nullptr;
        const ProjectFile *projectFile = nullptr;
        std::function<QString()> projectName;
        // Where the bundle is proposed: beside the project.
        std::function<QString()> folder;
        QString settingsFile;
        QPlainTextEdit *log = nullptr;
    };

    // The entry goes into sideMenu above before.
    DiagnosticsMenu(QVBoxLayout *sideMenu, QPushButton *before, const Sources &sources,
                    QWidget *dialogParent);
    // Waits for a bundle being written.
    ~DiagnosticsMenu() override;

    QPushButton *button() const { return entry; }
    QAction *exportAction() const { return exportEntry; }
    bool isWriting() const { return writer != nullptr; }

    // The menu's action: what goes in, the recording or not, where; then the zip is written.
    void exportBundle();
    // The bundle as it would be written now.
    DiagnosticsBundle bundle(bool withRecording) const;
    static QString fileName(const QString &projectName, const QDateTime &at);

    // The save dialog; tests answer it.
    std::function<QString(QWidget *parent, const QString &caption, const QString &proposed,
                          const QString &filter)>
        chooseFile;

private:
    QPushButton *addEntry(QVBoxLayout *sideMenu, QPushButton *before);
    // The recording the bundle may take, and its size; empty when there is none.
    QString lastRecording(qint64 *size) const;
    // Asks what goes in; false when the user cancels.
    bool confirm(const QString &recording, qint64 size, bool *withRecording) const;
    QString systemText(const QStringList &files, bool withRecording) const;
    void start(const QString &path, bool withRecording);
    void writingEnded();
    void warnNotWritten(const QString &path, const QString &reason) const;

    const Sources sources;
    QWidget *dialogParent;
    QPushButton *entry = nullptr;
    QMenu *entries = nullptr;
    QAction *exportEntry = nullptr;
    std::unique_ptr<BundleWriter> writer;
};

#endif // DIAGNOSTICSMENU_H
