#include "app/diagnosticsmenu.h"

#include "app/uilanguage.h"
#include "diagnostics/bundlewriter.h"
#include "diagnostics/toolinfo.h"
#include "link/debuggerlink.h"
#include "project/projectfile.h"
#include "quality/samplesfile.h"
#include "tuning/tuningsession.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
// The names inside the zip are data, the same in any language.
const QString kSystemFile = QStringLiteral("system.txt");
const QString kLogFile = QStringLiteral("log.txt");
const QString kTrafficFile = QStringLiteral("traffic.txt");
const QString kRecordingFolder = QStringLiteral("recording/");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

DiagnosticsMenu::DiagnosticsMenu(QVBoxLayout *sideMenu, QPushButton *before, const Sources &sources,
                                 QWidget *dialogParent)
    : QObject(dialogParent), sources(sources), dialogParent(dialogParent)
{
    chooseFile = [](QWidget *parent, const QString &caption, const QString &proposed,
                    const QString &filter) {
        return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
    };
    entry = addEntry(sideMenu, before);
    // A child of the window: the side menu's style sheet would make it one pixel wide.
    entries = new QMenu(dialogParent);
    entries->setObjectName(QStringLiteral("diagnosticsMenu"));
    exportEntry = entries->addAction(
        QIcon(QStringLiteral(":/image/svg_icons/icon_diagnostics.svg")), tr("导出诊断包…"));
    exportEntry->setObjectName(QStringLiteral("exportDiagnosticsAction"));
    connect(exportEntry, &QAction::triggered, this, &DiagnosticsMenu::exportBundle);
    connect(entry, &QPushButton::clicked, this, [this] {
        // At the right edge of the button as far as the side menu shows it.
        const int right = std::min(entry->width(), entry->parentWidget()->width() - entry->x());
        entries->exec(entry->mapToGlobal(QPoint(right, 0)));
    });
}

DiagnosticsMenu::~DiagnosticsMenu()
{
    if (writer)
        writer->wait();
}

QPushButton *DiagnosticsMenu::addEntry(QVBoxLayout *sideMenu, QPushButton *before)
{
    auto *button = new QPushButton(before->parentWidget());
    button->setObjectName(QStringLiteral("diagnosticsBtn"));
    button->setMinimumSize(before->minimumSize());
    button->setFont(before->font());
    button->setStyleSheet(before->styleSheet());
    button->setIcon(QIcon(QStringLiteral(":/image/svg_icons/icon_diagnostics.svg")));
    // As short as the side menu's other entries, so that the opened menu keeps its width.
    button->setText(tr("   诊断 "));
    button->setToolTip(tr("导出诊断包，供技术支持分析问题"));
    sideMenu->insertWidget(sideMenu->indexOf(before), button);
    return button;
}

QString DiagnosticsMenu::fileName(const QString &projectName, const QDateTime &at)
{
    return projectName + QLatin1Char('_') + at.toString(QStringLiteral("yyyy-MM-dd-HH-mm-ss")) +
           QStringLiteral("_diagnostics.zip");
}

QString DiagnosticsMenu::lastRecording(qint64 *size) const
{
    const QString path = sources.session->recording().path();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return QString();
    *size = info.size();
    return path;
}

void DiagnosticsMenu::exportBundle()
{
    if (writer)
        return;
    qint64 size = 0;
    const QString recording = lastRecording(&size);
    bool withRecording = false;
    if (!confirm(recording, size, &withRecording))
        return;
    const QString proposed =
        QDir(sources.folder())
            .filePath(fileName(sources.projectName(), QDateTime::currentDateTime()));
    QString path = chooseFile(dialogParent, tr("导出诊断包"), proposed, tr("诊断包(*.zip)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(QLatin1String("zip"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".zip");
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir()) {
        warnNotWritten(path, tr("文件夹不存在"));
        return;
    }
    start(path, withRecording);
}

bool DiagnosticsMenu::confirm(const QString &recording, qint64 size, bool *withRecording) const
{
    QMessageBox box(QMessageBox::Warning, tr("导出诊断包"),
                    tr("诊断包是一个 zip 文件，可发给技术支持分析问题。它包含：\n"
                       "· 工程文件及其采样数据\n"
                       "· 本次运行的日志（带时间）\n"
                       "· 与调试器之间最近的通信记录\n"
                       "· 软件与 Qt 的版本、操作系统、调试器的状态\n"
                       "· 用户设置文件\n"
                       "不包含磁盘上的其他文件。"),
                    QMessageBox::Ok | QMessageBox::Cancel, dialogParent);
    if (!recording.isEmpty()) {
        // Unticked: a recording can be large for a mail.
        box.setCheckBox(new QCheckBox(
            tr("附上最后一次录制：%1（%2）")
                .arg(QFileInfo(recording).fileName(), QLocale().formattedDataSize(size))));
    }
    if (box.exec() != QMessageBox::Ok)
        return false;
    *withRecording = box.checkBox() && box.checkBox()->isChecked();
    return true;
}

DiagnosticsBundle DiagnosticsMenu::bundle(bool withRecording) const
{
    DiagnosticsBundle bundle;
    QString name = sources.projectName();
    if (name.isEmpty())
        name = QStringLiteral("project");
    // The project as the tool holds it now, saved or not, in the file format it is saved in.
    QTemporaryDir scratch;
    const QString projectPath = scratch.filePath(name + QStringLiteral(".ini"));
    if (scratch.isValid() && sources.projectFile->saveAs(projectPath))
        bundle.add(name + QStringLiteral(".ini"), readAll(projectPath));
    bundle.add(SamplesFile::fileName(name), SamplesFile::toText(sources.session->samples()));
    bundle.add(kLogFile, sources.session->logHistory().fileText());
    qint64 added = 0;
    const QVector<TrafficEntry> traffic = sources.link->traffic().entries(&added);
    bundle.addMade(kTrafficFile, [traffic, added] { return LinkTraffic::text(traffic, added); });
    if (QFileInfo(sources.settingsFile).isFile())
        bundle.add(QFileInfo(sources.settingsFile).fileName(), readAll(sources.settingsFile));
    qint64 size = 0;
    const QString recording = lastRecording(&size);
    if (withRecording && !recording.isEmpty())
        bundle.addFile(kRecordingFolder + QFileInfo(recording).fileName(), recording, size);
    bundle.add(kSystemFile, systemText(bundle.names() << kSystemFile, withRecording).toUtf8());
    return bundle;
}

QString DiagnosticsMenu::systemText(const QStringList &files, bool withRecording) const
{
    TuningSession &session = *sources.session;
    qint64 size = 0;
    const QString recording = lastRecording(&size);
    QString recordingLine = QStringLiteral("none this session");
    if (!recording.isEmpty())
        recordingLine =
            QStringLiteral("%1, %2 bytes%3, %4")
                .arg(QFileInfo(recording).fileName(), QString::number(size),
                     session.recording().isRecording() ? QStringLiteral(" so far") : QString(),
                     withRecording ? QStringLiteral("in this bundle")
                                   : QStringLiteral("left out by the user"));
    const bool english = UiLanguage::saved() == UiLanguage::Language::English;
    return toolinfo::text() +
           QStringLiteral("Interface language (chosen): %1\nExported: %2\n\n[Debugger]\n")
               .arg(english ? QStringLiteral("English") : QStringLiteral("Chinese"),
                    QDateTime::currentDateTime().toString(Qt::ISODateWithMs)) +
           sources.link->stateText() +
           QStringLiteral("\n[Session]\nProject: %1\nVerification: %2\nRecording: %3\n\n"
                          "[Files]\n%4\n")
               .arg(sources.projectName(),
                    session.verification().isActive() ? QStringLiteral("on")
                                                      : QStringLiteral("off"),
                    recordingLine, files.join(QLatin1Char('\n')));
}

void DiagnosticsMenu::start(const QString &path, bool withRecording)
{
    writer = std::make_unique<BundleWriter>(bundle(withRecording), path);
    connect(writer.get(), &QThread::finished, this, &DiagnosticsMenu::writingEnded);
    entry->setEnabled(false);
    exportEntry->setEnabled(false);
    sources.log->appendPlainText(tr("正在写入诊断包：%1").arg(QDir::toNativeSeparators(path)));
    writer->start();
}

void DiagnosticsMenu::writingEnded()
{
    if (!writer)
        return;
    writer->wait();
    const std::unique_ptr<BundleWriter> done = std::move(writer);
    entry->setEnabled(true);
    exportEntry->setEnabled(true);
    if (!done->succeeded()) {
        warnNotWritten(done->path(), done->error());
        return;
    }
    sources.log->appendPlainText(
        tr("诊断包已导出：%1（%2）")
            .arg(QDir::toNativeSeparators(done->path()),
                 QLocale().formattedDataSize(QFileInfo(done->path()).size())));
}

void DiagnosticsMenu::warnNotWritten(const QString &path, const QString &reason) const
{
    QMessageBox::warning(dialogParent, tr("提示"),
                         tr("诊断包未能写入：%1\n请确认所在文件夹存在并且可以写入，或另选一个"
                            "文件夹。\n（%2）")
                             .arg(QDir::toNativeSeparators(path), reason));
}
