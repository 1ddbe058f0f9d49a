// Every text of the interface: whole in a wide font as in a narrow one, and in one language.
// Qt's own dialogs speak Chinese with the Chinese interface; the language chosen in the side menu
// applies at the next start, and the English interface has no Chinese text left.
#include "app/layoutfitter.h"
#include "app/mainwindow.h"
#include "app/uilanguage.h"
#include "sim/boardpanel.h"
#include "sim/simboard.h"

#include "modalhelper.h"
#include "uiscript.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QStyleOption>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <optional>

namespace
{
// The text fits the room across by its advance, and down by its ink: the lines are drawn centred
// in the room's height, and a line box a little lower than the font's height still shows them.
bool fits(const QFontMetrics &metrics, const QString &text, const QRect &room)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    int width = 0;
    for (const QString &line : lines)
        width = std::max(width, metrics.horizontalAdvance(QString(line).remove(QLatin1Char('&'))));
    const int top = (room.height() - lines.size() * metrics.lineSpacing() + metrics.leading()) / 2 +
                    metrics.ascent();
    const int inkTop = top + metrics.tightBoundingRect(lines.constFirst()).top();
    const int inkBottom = top + (lines.size() - 1) * metrics.lineSpacing() +
                          metrics.tightBoundingRect(lines.constLast()).bottom();
    return width <= room.width() && inkTop >= 0 && inkBottom <= room.height();
}

// The text a label, button, check box or combo box shows cut, with its name; empty when none is.
// The room is where the widget's style draws the text. The rich-text title is left out.
QString cutText(const QWidget *w)
{
    QStringList texts{w->property("text").toString()};
    QRect room = w->contentsRect();
    if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        const auto contents = qobject_cast<const QCheckBox *>(w) ? QStyle::SE_CheckBoxContents
                              : qobject_cast<const QRadioButton *>(w)
                                  ? QStyle::SE_RadioButtonContents
                                  : QStyle::SE_PushButtonContents;
        room = w->style()->subElementRect(contents, &option, w);
        if (!button->icon().isNull())
            room.setWidth(room.width() - button->iconSize().width() - 4);
    } else if (const auto *combo = qobject_cast<const QComboBox *>(w)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        room = w->style()
                   ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, w)
                   .adjusted(1, 0, -1, 0);
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    } else if (!qobject_cast<const QLabel *>(w)) {
        return QString();
    }
    for (const QString &text : qAsConst(texts)) {
        if (!text.isEmpty() && !Qt::mightBeRichText(text) && !fits(w->fontMetrics(), text, room))
            return w->objectName() + QStringLiteral(": ") + text;
    }
    return QString();
}

QStringList cutTexts(const QWidget *root)
{
    QStringList cut;
    for (const QWidget *w : root->findChildren<QWidget *>()) {
        if (w->isVisible() && !cutText(w).isEmpty())
            cut << cutText(w);
    }
    return cut;
}

// CJK punctuation, ideographs and full-width forms ("：", "，").
const QRegularExpression
    kChinese(QStringLiteral("[\\x{3000}-\\x{303F}\\x{3400}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));

// Every Chinese text below root that a user can read: texts, titles, tabs, tooltips.
QStringList chineseTexts(const QWidget *root)
{
    QStringList chinese;
    for (const QWidget *w : root->findChildren<QWidget *>()) {
        QStringList texts{w->toolTip(), w->property("text").toString(),
                          w->property("title").toString()};
        if (const auto *tabs = qobject_cast<const QTabWidget *>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        }
        for (const QString &text : qAsConst(texts)) {
            if (text.contains(kChinese))
                chinese << w->objectName() + QStringLiteral(": ") + text;
        }
    }
    return chinese;
}

QWidget *child(const QWidget *window, const char *name)
{
    return window->findChild<QWidget *>(QString::fromLatin1(name));
}

// The room a 1366 × 768 screen leaves a window inside its title bar and above a task bar.
const QSize kSmallScreen(1340, 700);

// What does not fit the window as it is: a page that needs more than the window's minimum, a
// widget outside the window, a table whose columns do not all show. Widgets inside a scroll area
// may lie outside its view.
QStringList crampedParts(const QWidget *window)
{
    QStringList cramped;
    // At its minimum too: a page or mode that needs more than the minimum would push the window
    // wider once it is as small as it may be.
    const QSize need = window->minimumSizeHint();
    if (need.width() > window->minimumWidth() || need.height() > window->minimumHeight())
        cramped << QStringLiteral("%1x%2 needed beyond the minimum")
                       .arg(need.width())
                       .arg(need.height());
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->isWindow())
            continue;
        bool scrolled = false;
        for (const QWidget *p = w; p && !scrolled; p = p->parentWidget())
            scrolled = p->objectName() == QLatin1String("setTabContents");
        const QRect placed(w->mapTo(window, QPoint(0, 0)), w->size());
        if (!scrolled && !window->rect().contains(placed))
            cramped << w->objectName() + QStringLiteral(" outside the window");
        if (const auto *table = qobject_cast<const QTableWidget *>(w)) {
            if (table->horizontalHeader()->length() > table->viewport()->width())
                cramped << w->objectName() +
                               QStringLiteral(" hides columns (%1 px of columns in %2 px)")
                                   .arg(table->horizontalHeader()->length())
                                   .arg(table->viewport()->width());
        }
    }
    return cramped;
}

// A short recording of verification, to replay.
QByteArray verificationRecording()
{
    QByteArray text = "time_ms,kind,phase,channel,crc_failed";
    QByteArray counts;
    for (int k = 0; k < 25; ++k) {
        text += ",TK" + QByteArray::number(k);
        counts += ',' + QByteArray::number(2000 + k);
    }
    for (int ms = 0; ms < 400; ms += 20)
        text += "\r\n" + QByteArray::number(ms) + ",verification,-,-,0" + counts;
    return text + "\r\n";
}

// Opens the side menu, so that its buttons' texts are in view.
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

    // On a 1366 × 768 screen, in every page and mode (settings with the side menu open, tuning,
    // verification of 25 keys, a replay): no label, button, check box or combo box shows less
    // than its whole text, nothing is squeezed or outside the window, and the window keeps its
    // size. The board panel's texts show whole too.
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

        MainWindow window(testsupport::fastClock());
        SimBoard::setHotplugTarget(window.findChild<QObject *>(QStringLiteral("deviceNotifier")));
        const auto unhook = qScopeGuard([] { SimBoard::setHotplugTarget(nullptr); });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY2(
            window.minimumWidth() <= kSmallScreen.width() &&
                window.minimumHeight() <= kSmallScreen.height(),
            qPrintable(
                QStringLiteral("%1x%2").arg(window.minimumWidth()).arg(window.minimumHeight())));
        window.resize(kSmallScreen);
        QTRY_COMPARE(window.size(), kSmallScreen);
        QVERIFY(openSideMenu(window));
        // Keys restyled when their tab shows, a key's label: the layouts follow within a few
        // rounds of the event loop.
        const auto settled = [&window] {
            const auto problems = [&window] { return cutTexts(&window) + crampedParts(&window); };
            testsupport::waitUntil([&] { return problems().isEmpty(); }, 1000);
            QStringList found = problems();
            if (window.size() != kSmallScreen)
                found << QStringLiteral("the window resized itself");
            return found;
        };
        QStringList cut;
        auto *packages = static_cast<QStackedWidget *>(child(&window, "packageStackedWidget"));
        for (int page = packages->count() - 1; page >= 0; --page) {
            packages->setCurrentIndex(page);
            QVERIFY(chooseKey(packages->currentWidget(), 22, 23));
            cut << settled();
        }
        // SOP28: every channel a key.
        for (int channel = 0; channel < 25; ++channel) {
            if (channel != 22)
                QVERIFY(chooseKey(packages->currentWidget(), channel, channel + 1));
        }
        cut << settled();
        // The side menu shut again, as it is while working.
        static_cast<QPushButton *>(child(&window, "pushButton"))->click();
        QTRY_COMPARE(child(&window, "leftWidget")->minimumWidth(), 26);
        auto *tabs = static_cast<QTabWidget *>(child(&window, "setDebugTWidget"));
        tabs->setCurrentIndex(1);
        cut << settled();
        {
            ModalHelper boxes;
            QTest::mouseClick(child(&window, "pushButton_3"), Qt::LeftButton);
            QTRY_VERIFY(child(&window, "numbersTable")->isVisible());
            cut << settled();
            QTest::mouseClick(child(&window, "pushButton_3"), Qt::LeftButton);
            QTRY_VERIFY(!child(&window, "numbersTable")->isVisible());
        }
        QTemporaryDir dir;
        testsupport::writeBytes(dir.filePath("walk_rec.csv"), verificationRecording());
        UiScript replay;
        replay.answerFileDialog(dir.filePath("walk_rec.csv"));
        QTest::mouseClick(child(&window, "openRecordingBtn"), Qt::LeftButton);
        QTRY_VERIFY(replay.finished());
        QTRY_VERIFY(child(&window, "replayBar")->isVisible());
        cut << settled();
        QTest::mouseClick(child(&window, "replayEndBtn"), Qt::LeftButton);
        BoardPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        cut << cutTexts(&panel);
        cut.removeDuplicates();
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));

        // A long path is cut in its middle where the field is too narrow for it, never widens
        // the window, and its tooltip names it whole.
        tabs->setCurrentIndex(0);
        auto *path = static_cast<QLineEdit *>(child(&window, "proPathLineEdit"));
        const int least = window.minimumWidth();
        path->setText(QStringLiteral("/home/工程师/") + QString(60, QChar(0x9879)) + "/panel");
        QCOMPARE(path->toolTip(), path->text());
        QCOMPARE(window.minimumWidth(), least);
        QCOMPARE(window.size(), kSmallScreen);
        const QString shown = LayoutFitter::shownText(path);
        QVERIFY2(shown.startsWith(QStringLiteral("/ho")) && shown.endsWith("nel") &&
                     shown.contains(QChar(0x2026)),
                 qPrintable(shown));
    }

    // Qt's own texts: the buttons of a question.
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
    }

    // The side menu offers both languages; a choice is saved and the next start applies it.
    void chosenLanguageAppliesAtTheNextStart()
    {
        UiLanguage::save(UiLanguage::Language::Chinese);
        {
            MainWindow window(testsupport::fastClock());
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
        MainWindow window(testsupport::fastClock());
        BoardPanel panel;
        // No Chinese left in the English window and panel, texts set at run time included.
        const QStringList left = chineseTexts(&window) + chineseTexts(&panel);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
        QCOMPARE(static_cast<QLabel *>(child(&window, "usbStateLabel"))->text(),
                 QStringLiteral("Debugger connected"));
        // Chinese again, told in Chinese.
        ModalHelper boxes;
        window.findChild<QMenu *>(QStringLiteral("languageMenu"))->actions().at(0)->trigger();
        QTRY_COMPARE(boxes.texts(),
                     QStringList{QStringLiteral("下次启动本工具时，界面语言为中文。")});
        QCOMPARE(UiLanguage::saved(), UiLanguage::Language::Chinese);
    }
};

QTEST_MAIN(TestUiText)
#include "tst_uitext.moc"
