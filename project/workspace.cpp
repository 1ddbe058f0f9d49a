#include "project/workspace.h"

#include "project/projectfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardPaths>

namespace
{
// The texts belong to the window's context; each call site marks its text for lupdate.
QString trWindow(const char *text) { return QCoreApplication::translate("MainWindow", text); }
} // namespace

Workspace::Workspace(QWidget *window, QLineEdit *proPathLineEdit, QLineEdit *proNameLineEdit,
                     const ProjectFile &projectFile)
    : chooseFolder(&QFileDialog::getExistingDirectory),
      chooseFile([](QWidget *parent, const QString &caption, const QString &startFolder,
                    const QString &filter, QFileDialog::Options options) {
          return QFileDialog::getOpenFileName(parent, caption, startFolder, filter, nullptr,
                                              options);
      }),
      window(window), proPathLineEdit(proPathLineEdit), proNameLineEdit(proNameLineEdit),
      projectFile(projectFile)
{
}

QString Workspace::startFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Users\\Administrator\\Desktop");
#else
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QDir(desktop).exists())
        return desktop;
    return QDir::homePath();
#endif
}

void Workspace::warn(const char *text) const
{
    QMessageBox::warning(window, trWindow(QT_TRANSLATE_NOOP("MainWindow", "提示")), trWindow(text));
}

void Workspace::browse()
{
    const QString folder =
        chooseFolder(window, trWindow(QT_TRANSLATE_NOOP("MainWindow", "选择路径")), startFolder(),
                     QFileDialog::ShowDirsOnly);
    // A cancelled dialog answers with an empty text; a root folder ("D:/", "/") is accepted.
    if (folder.size() < 2 && folder != QLatin1String("/")) {
        warn(QT_TRANSLATE_NOOP("MainWindow", "请选择项目文件存放路径！"));
        return;
    }
    proPathLineEdit->setText(folder);
}

void Workspace::openProject()
{
    // The dialog starts in the project's folder, where its project files are.
    const QString file = chooseFile(
        window, trWindow(QT_TRANSLATE_NOOP("MainWindow", "Open File")), proPathLineEdit->text(),
        trWindow(QT_TRANSLATE_NOOP("MainWindow", "ini(*.ini)")), QFileDialog::DontResolveSymlinks);
    // A cancelled dialog changes nothing: an emptied path would send the next save to the root.
    if (file.isEmpty()) {
        warn(QT_TRANSLATE_NOOP("MainWindow", "请选中要打开的文件！"));
        return;
    }
    (void)openProjectFile(file);
}

bool Workspace::openProjectFile(const QString &file)
{
    if (!QFileInfo(file).isFile()) {
        QMessageBox::warning(window, trWindow(QT_TRANSLATE_NOOP("MainWindow", "提示")),
                             trWindow(QT_TRANSLATE_NOOP("MainWindow", "工程文件已不存在：%1"))
                                 .arg(QDir::toNativeSeparators(file)));
        return false;
    }
    projectFile.load(file);
    // The project is the file that was opened, wherever it was stored from: the next save goes
    // back to it, not to the folder and name recorded inside it.
    const QFileInfo opened(file);
    QString name = opened.fileName();
    if (name.endsWith(QLatin1String(".ini")))
        name.chop(4);
    proPathLineEdit->setText(opened.absolutePath());
    proNameLineEdit->setText(name);
    if (projectLoaded)
        projectLoaded();
    return true;
}
