// Every text of the interface: whole in a wide font as in a narrow one, and in one language.
// Qt's own dialogs speak Chinese with the Chinese interface; the English interface has no Chinese
// text left; the language chosen in the side menu applies at the next start.
#include "app/layoutfitter.h"
#include "app/mainwindow.h"
#include "app/uilanguage.h"
#include "sim/boardpanel.h"

#include "modalhelper.h"
#include "textfit.h"
#include "uiscript.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

namespace
{
bool hasChinese(const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        // CJK punctuation, ideographs and full-width forms ("：", "，").
        if ((u >= 0x3000 && u <= 0x303F) || (u >= 0x3400 && u <= 0x9FFF) ||
            (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

// Every text below root that a user can read, with the name of the widget that shows it.
QStringList readableTexts(const QWidget *root)
{
    QStringList texts;
    auto widgets = root->findChildren<QWidget *>();
    widgets.prepend(const_cast<QWidget *>(root));
    for (const QWidget *w : qAsConst(widgets)) {
        QStringList own{w->toolTip()};
        if (const auto *label = qobject_cast<const QLabel *>(w))
            own << label->text();
        if (const auto *button = qobject_cast<const QAbstractButton *>(w))
            own << button->text();
        if (const auto *group = qobject_cast<const QGroupBox *>(w))
            own << group->title();
        if (const auto *combo = qobject_cast<const QComboBox *>(w)) {
            for (int i = 0; i < combo->count(); ++i)
                own << combo->itemText(i);
        }
        if (const auto *tabs = qobject_cast<const QTabWidget *>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                own << tabs->tabText(i);
        }
        if (const auto *table = qobject_cast<const QTableWidget *>(w)) {
            for (int i = 0; i < table->columnCount(); ++i)
                own << (table->horizontalHeaderItem(i) ? table->horizontalHeaderItem(i)->text()
                                                       : QString());
        }
        for (const QString &text : qAsConst(own)) {
            if (!text.isEmpty())
                texts << w->objectName() + QStringLiteral(": ") + text;
        }
    }
    return texts;
}

QWidget *child(const QWidget *window, const char *name)
{
    return window->findChild<QWidget *>(QString::fromLatin1(name));
}

// Opens the side menu, as the layout is checked with every button's text in view.
bool openSideMenu(MainWindow &window)
{
    QWidget *side = child(&window, "leftWidget");
    static_cast<QPushButton *>(child(&window, "pushButton"))->click();
    const int open = LayoutFitter::openWidth(side, 90);
    return testsupport::waitUntil([&] { return side->width() >= open; }, 3000);
}
} // namespace

class TestUiText : public QObject
{
    Q_OBJECT

    QTemporaryDir settingsDir;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        QVERIFY(settingsDir.isValid());
        // The language choice is kept per user; these tests keep theirs here.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    }

    void noTextIsCutOff_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("english");
        for (const char *family : {"WenQuanYi Micro Hei", "DejaVu Sans"}) {
            QTest::addRow("%s, Chinese", family) << QString::fromLatin1(family) << false;
            QTest::addRow("%s, English", family) << QString::fromLatin1(family) << true;
        }
    }

    // Both tabs, the three package pages with a key marked, the open side menu and the board
    // panel: every label, button, check box and combo box shows its whole text.
    void noTextIsCutOff()
    {
        QFETCH(QString, family);
        QFETCH(bool, english);
        QVERIFY2(QFontDatabase().families().contains(family), qPrintable(family));
        const QFont previous = QApplication::font();
        const auto restore = qScopeGuard([previous] { QApplication::setFont(previous); });
        QFont font(family);
        font.setPointSizeF(previous.pointSizeF());
        QApplication::setFont(font);
        std::optional<UiLanguage> language;
        if (english)
            language.emplace(UiLanguage::Language::English);

        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(openSideMenu(window));
        QStringList cut;
        auto *tabs = static_cast<QTabWidget *>(child(&window, "setDebugTWidget"));
        auto *packages = static_cast<QStackedWidget *>(child(&window, "packageStackedWidget"));
        for (int page = 0; page < packages->count(); ++page) {
            packages->setCurrentIndex(page);
            QVERIFY(chooseKey(packages->currentWidget(), 22, 10));
            QCoreApplication::processEvents();
            cut << textfit::cutTexts(&window);
        }
        tabs->setCurrentIndex(1);
        // A tab's keys change their style when it shows; the layouts follow within a few rounds
        // of the event loop.
        testsupport::waitUntil([&] { return textfit::cutTexts(&window).isEmpty(); }, 1000);
        cut << textfit::cutTexts(&window);

        BoardPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        cut << textfit::cutTexts(&panel);
        cut.removeDuplicates();
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));

        // The project path is shown whole where the window has the room, and named in full.
        tabs->setCurrentIndex(0);
        window.resize(1400, window.height());
        QCoreApplication::processEvents();
        auto *path = static_cast<QLineEdit *>(child(&window, "proPathLineEdit"));
        path->setText(QStringLiteral("/home/engineer/projects/panel"));
        QCoreApplication::processEvents();
        // Inside the frame, the field keeps two pixels either side of its text.
        const int frame = path->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, path);
        const int advance = path->fontMetrics().horizontalAdvance(path->text());
        QVERIFY2(advance + 2 * frame + 4 <= path->width(),
                 qPrintable(QStringLiteral("%1 in %2").arg(advance).arg(path->width())));
        QCOMPARE(path->toolTip(), path->text());
    }

    // The English window and board panel show no Chinese text: every text has its translation.
    void englishInterfaceHasNoChineseLeft()
    {
        const UiLanguage language(UiLanguage::Language::English);
        QVERIFY(language.isComplete());
        MainWindow window;
        BoardPanel panel;
        QStringList left;
        for (const QString &text : readableTexts(&window) + readableTexts(&panel)) {
            if (hasChinese(text))
                left << text;
        }
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
        // A text set at run time, as the link's status.
        QCOMPARE(static_cast<QLabel *>(child(&window, "usbStateLabel"))->text(),
                 QStringLiteral("Debugger connected"));
    }

    // Qt's own texts: the buttons of a question and the parts of the file dialog.
    void qtDialogsSpeakChinese()
    {
        const UiLanguage language(UiLanguage::Language::Chinese);
        QVERIFY(language.isComplete());
        ModalHelper boxes;
        QStringList buttons;
        boxes.whileOpen = [&buttons](QMessageBox *box) {
            for (QAbstractButton *button : box->buttons())
                buttons << button->text();
        };
        QMessageBox::warning(nullptr, QStringLiteral("提示"), QStringLiteral("请确调试已经完成！"),
                             QMessageBox::Ok | QMessageBox::Cancel);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{QStringLiteral("取消"), QStringLiteral("确定")}));

        QFileDialog dialog(nullptr, QStringLiteral("选择路径"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.show();
        QStringList english;
        for (const char *name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
            const auto *label = dialog.findChild<QLabel *>(QString::fromLatin1(name));
            QVERIFY2(label, name);
            if (!hasChinese(label->text()))
                english << label->text();
        }
        const auto *buttonBox = dialog.findChild<QDialogButtonBox *>();
        QVERIFY(buttonBox);
        for (const QAbstractButton *button : buttonBox->buttons()) {
            if (!hasChinese(button->text()))
                english << button->text();
        }
        QVERIFY2(english.isEmpty(), qPrintable(english.join(QLatin1String(", "))));
    }

    // The side menu offers both languages; a choice is saved and the next start applies it.
    void chosenLanguageAppliesAtTheNextStart()
    {
        UiLanguage::save(UiLanguage::Language::Chinese);
        {
            MainWindow window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QVERIFY(openSideMenu(window));
            UiScript script;
            script.chooseMenuEntry(QStringLiteral("English"));
            script.acceptMessage();
            QTest::mouseClick(child(&window, "languageBtn"), Qt::LeftButton);
            QTRY_VERIFY(script.finished());
            const QStringList languages{QStringLiteral("中文"), QStringLiteral("English")};
            QCOMPARE(script.menuEntries, QList<QStringList>{languages});
            QCOMPARE(script.messages,
                     QStringList{QStringLiteral("The interface will be in English from the next "
                                                "start of the tool.")});
            // The window keeps its language until then.
            QCOMPARE(static_cast<QAbstractButton *>(child(&window, "saveDownloadBtn"))->text(),
                     QStringLiteral("保存并下载"));
        }
        QCOMPARE(UiLanguage::saved(), UiLanguage::Language::English);
        const UiLanguage next(UiLanguage::saved());
        QVERIFY(next.isComplete());
        MainWindow window;
        QCOMPARE(static_cast<QAbstractButton *>(child(&window, "saveDownloadBtn"))->text(),
                 QStringLiteral("Save and download"));
        // Chinese again, told in Chinese; then back to the language shown, saved without a word.
        auto *menu = window.findChild<QMenu *>(QStringLiteral("languageMenu"));
        QVERIFY(menu);
        ModalHelper boxes;
        menu->actions().at(0)->trigger();
        QTRY_COMPARE(boxes.texts(),
                     QStringList{QStringLiteral("下次启动本工具时，界面语言为中文。")});
        QCOMPARE(UiLanguage::saved(), UiLanguage::Language::Chinese);
        menu->actions().at(1)->trigger();
        QCOMPARE(UiLanguage::saved(), UiLanguage::Language::English);
        QTest::qWait(50);
        QCOMPARE(boxes.count(), 1);
    }
};

QTEST_MAIN(TestUiText)
#include "tst_uitext.moc"
