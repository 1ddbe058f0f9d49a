#include "project/workspace.h"

#include "project/projectfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardPaths>

namespace
{
QString trWindow(const char *text) { return QCoreApplication::translate("MainWindow", text); }
} // namespace

Workspace::Workspace(QWidget *window, QLineEdit *proPathLineEdit, const ProjectFile &projectFile)
    : chooseFolder(&QFileDialog::getExistingDirectory),
      chooseFile([](QWidget *parent, const QString &caption, const QString &startFolder,
                    const QString &filter, QFileDialog::Options options) {
          return QFileDialog::getOpenFileName(parent, caption, startFolder, filter, nullptr,
                                              options);
      }),
      window(window), proPathLineEdit(proPathLineEdit), projectFile(projectFile)
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
    QMessageBox::warning(window, trWindow("提示"), trWindow(text));
}

void Workspace::browse()
{
    const QString folder =
        chooseFolder(window, trWindow("选择路径"), startFolder(), QFileDialog::ShowDirsOnly);
    // A cancelled dialog answers with an empty text; a root folder ("D:/", "/") is accepted.
    if (folder.size() < 2 && folder != QLatin1String("/")) {
        warn("请选择项目文件存放路径！");
        return;
    }
    proPathLineEdit->setText(folder);
}

void Workspace::openProject()
{
    const QString file = chooseFile(window, trWindow("Open File"), QString(),
                                    trWindow("ini(*.ini)"), QFileDialog::DontResolveSymlinks);
    proPathLineEdit->setText(file);
    if (file.isEmpty()) {
        warn("请选中要打开的文件！");
        return;
    }
    projectFile.load(file);
}
