// The project-file loader on arbitrary INI bytes, into the real window's settings page and the
// keys' settings, and then the round trip: what a save writes, loaded into a fresh table and saved
// again, is the same file.
#include "app/mainwindow.h"
#include "project/projectfile.h"
#include "project/settingspage.h"
#include "quality/keysettingsstore.h"

#include "tests/settingswidgets.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QMessageBox>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QTimer>
#include <QWidget>

#include <sanitizer/lsan_interface.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace
{
struct Bench
{
    std::unique_ptr<QApplication> app;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> window;
    SettingsWidgets widgets;
    std::unique_ptr<SettingsPage> page;
    std::unique_ptr<KeySettingsStore> keys;
    std::unique_ptr<QTimer> answer;
};

// Never destroyed: Qt cannot be torn down from inside the fuzzer's exit.
Bench &bench()
{
    static Bench *instance = new Bench;
    return *instance;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// The project file with the keys' settings in it, as the window has it.
ProjectFile projectFile()
{
    Bench &b = bench();
    ProjectFile file(*b.page);
    file.addSection({[&b](QSettings &ini) { b.keys->save(ini); },
                     [&b](const QSettings &ini) { b.keys->load(ini, nullptr); }});
    return file;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(file.write(bytes) == bytes.size());
}

// The window's timers keep the key count and the wake-key boxes in step with the pin map; the
// state a save sees is always the one after that step, whenever a timer last ran.
void syncAndSave(const QString &name)
{
    Bench &b = bench();
    b.page->syncKeyCount(b.widgets.mcuTypeCBox->currentIndex());
    b.page->syncWakeKeys();
    // Saved into the fuzzer's own folder, never where the input says.
    b.widgets.proPathLineEdit->setText(b.dir->path());
    b.widgets.proNameLineEdit->setText(name);
    QFile::remove(b.page->projectFilePath());
    projectFile().save();
}

// Every assigned character, once: laid out in a font, it makes Qt load each fallback font that
// covers any of them, for every script. fontconfig keeps what such a first lookup allocates for
// the life of the process, where LeakSanitizer cannot see it held; done here, no input can be the
// first to ask for a script or a fallback font.
QString everyCharacter()
{
    QString text;
    for (char32_t code = 0x20; code <= 0x10FFFF; ++code) {
        const QChar::Category category = QChar::category(code);
        if (category == QChar::Other_NotAssigned || category == QChar::Other_Surrogate ||
            category == QChar::Other_PrivateUse || category == QChar::Other_Control)
            continue;
        const QString one = QString::fromUcs4(&code, 1);
        text += one;
        // Separate lines keep each item of the layout short.
        if ((code & 0x3F) == 0)
            text += QChar::LineSeparator;
    }
    return text;
}

// Lays every character out in each font the window's widgets use: the fonts an input's texts can
// be shown in.
void primeFonts(const QWidget &window)
{
    QSet<QString> seen;
    QList<QFont> fonts{QApplication::font(), window.font()};
    for (const QWidget *widget : window.findChildren<QWidget *>())
        fonts << widget->font();
    const QString text = everyCharacter();
    for (const QFont &font : fonts) {
        if (seen.contains(font.key()))
            continue;
        seen.insert(font.key());
        QTextLayout layout(text, font);
        layout.beginLayout();
        while (layout.createLine().isValid()) {
        }
        layout.endLayout();
    }
}

QByteArray loadThenSave(const QString &input, const QString &name)
{
    Bench &b = bench();
    // A fresh window has an empty results table; a load fills rows from the top.
    b.widgets.tableWidget->clearContents();
    projectFile().load(input);
    syncAndSave(name);
    return readAll(b.page->projectFilePath());
}
} // namespace

// Qt is not torn down at the fuzzer's exit; while fuzzing, libFuzzer checks the inputs for leaks
// itself. scripts/fuzz turns the check at exit on to replay the committed inputs: the bench stays
// reachable, so all it reports is what the inputs left behind.
extern "C" const char *__lsan_default_options() { return "leak_check_at_exit=0"; }

// Outside the namespace and the C functions, so that the resource function keeps its own name.
static void initResources() { Q_INIT_RESOURCE(resources); }

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // What the application, its platform and its fonts keep for the life of the process is no
    // leak of a load; only what the inputs allocate is watched.
    __lsan_disable();
    Bench &b = bench();
    b.app = std::make_unique<QApplication>(*argc, *argv);
    initResources();
    // In memory where the system has it: the settings facility syncs every save to the disk.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    b.dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/touchtuner-fuzz-XXXXXX"));
    b.window = std::make_unique<MainWindow>();
    b.widgets = widgetsOf(*b.window);
    b.page = std::make_unique<SettingsPage>(b.widgets);
    b.keys = std::make_unique<KeySettingsStore>();
    primeFonts(*b.window);
    // The loader's warning is answered as soon as its box runs its event loop.
    b.answer = std::make_unique<QTimer>();
    QObject::connect(b.answer.get(), &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    b.answer->start(0);
    // A first box, so that what it sets up once is made here.
    QTimer::singleShot(0, [] { QMessageBox::warning(nullptr, QStringLiteral("提示"), QString()); });
    QApplication::processEvents();
    __lsan_enable();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Bench &b = bench();
    // A new name for every file read: the settings facility caches files by name and could take
    // a rewritten file of the same size and time for the one it read before.
    static int run = 0;
    ++run;
    const QString input = b.dir->filePath(QStringLiteral("input%1.ini").arg(run));
    writeAll(input, QByteArray(reinterpret_cast<const char *>(data), int(size)));
    const QByteArray first = loadThenSave(input, QStringLiteral("saved"));
    check(!first.isEmpty());
    const QString copy = b.dir->filePath(QStringLiteral("copy%1.ini").arg(run));
    writeAll(copy, first);
    const QByteArray second = loadThenSave(copy, QStringLiteral("saved"));
    check(second == first);
    QFile::remove(input);
    QFile::remove(copy);
    return 0;
}
