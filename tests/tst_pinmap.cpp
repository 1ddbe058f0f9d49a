#include "project/mwidget01.h"
#include "project/mywidget02.h"
#include "project/wd5p31948sop16.h"

#include "uiscript.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace
{
std::unique_ptr<PackageWidget> makePackage(int pins)
{
    if (pins == 28)
        return std::make_unique<MyWidget02>();
    if (pins == 20)
        return std::make_unique<Mwidget01>();
    return std::make_unique<Wd5p31948Sop16>();
}

QPushButton *button(PackageWidget &w, int channel)
{
    return w.findChild<QPushButton *>(QStringLiteral("btnK%1").arg(channel));
}

bool isGreen(QPushButton *b) { return b->palette().color(QPalette::Button) == QColor(Qt::green); }

bool isWhite(QPushButton *b) { return b->palette().color(QPalette::Button) == QColor(Qt::white); }

QString keyLabelText(PackageWidget &w, int channel) { return w.keyLabel(channel)->text(); }

int takenCount(const PackageWidget &w)
{
    return int(std::count(w.keyTaken.cbegin(), w.keyTaken.cend(), true));
}
} // namespace

class TestPinMap : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PackageWidget> shown(int pins)
    {
        auto w = makePackage(pins);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            return nullptr;
        return w;
    }

    // A click on the pin, then the script's answers to the menu (and any warning).
    void clickPin(PackageWidget &w, int channel, UiScript &script)
    {
        QTest::mouseClick(button(w, channel), Qt::LeftButton);
        QTRY_VERIFY(script.finished());
    }

    void releasePin(PackageWidget &w, int channel)
    {
        QTest::mouseClick(button(w, channel), Qt::LeftButton);
    }

private slots:
    void packages_data()
    {
        QTest::addColumn<int>("pins");
        QTest::addColumn<QList<int>>("channels");
        QTest::addColumn<QString>("tk9Text");
        QTest::newRow("SOP28") << 28
                               << QList<int>{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                             13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}
                               << "TK9";
        QTest::newRow("SOP20") << 20 << QList<int>{0,  1,  2,  3,  4,  5,  8,  9, 12,
                                                   13, 14, 15, 18, 19, 20, 21, 22}
                               << "TK9";
        QTest::newRow("SOP16") << 16 << QList<int>{0, 1, 5, 8, 9, 12, 13, 14, 18, 19, 20, 21, 22}
                               << "Tk9";
    }

    void formHasOneButtonPerChannelPin_data() { packages_data(); }
    void formHasOneButtonPerChannelPin()
    {
        QFETCH(int, pins);
        QFETCH(QList<int>, channels);
        QFETCH(QString, tk9Text);
        auto w = makePackage(pins);
        for (int channel = 0; channel < 25; ++channel) {
            QPushButton *b = button(*w, channel);
            QCOMPARE(b != nullptr, channels.contains(channel));
            if (!b)
                continue;
            QCOMPARE(b->text(), channel == 9 ? tk9Text : QStringLiteral("TK%1").arg(channel));
            QCOMPARE(b->size(), QSize(71, 23));
            QCOMPARE(b->styleSheet(), QStringLiteral("font: 10pt \"ADMUI3Lg\";"));
            QVERIFY(b->isFlat());
            QVERIFY(b->autoFillBackground());
            QVERIFY(isWhite(b));
        }
        // No key label beyond the channel count.
        QVERIFY(!w->findChild<QLabel *>(QStringLiteral("labelKey_%1").arg(channels.size() + 1)));
    }

    // labelKey_<i> belongs to the i-th pin going down the right column and up the left one, and
    // stands on the outer side of its button, level with it and with the chip's pin label.
    void keyLabelsStandBesideTheirButtons_data()
    {
        QTest::addColumn<int>("pins");
        QTest::addColumn<int>("labelIndex");
        QTest::addColumn<int>("channel");
        QTest::addColumn<QString>("pinLabel");
        QTest::newRow("SOP28 first") << 28 << 1 << 0 << "P0.0   28";
        QTest::newRow("SOP28 bottom right") << 28 << 14 << 13 << "P2.5   15";
        QTest::newRow("SOP28 bottom left") << 28 << 15 << 14 << "14    P2.6";
        QTest::newRow("SOP28 last") << 28 << 25 << 24 << "4    P3.1";
        QTest::newRow("SOP20 first") << 20 << 1 << 0 << "P0.0   20";
        QTest::newRow("SOP20 right end") << 20 << 10 << 13 << "P2.5   11";
        QTest::newRow("SOP20 left start") << 20 << 11 << 14 << "10    P2.6";
        QTest::newRow("SOP20 last") << 20 << 17 << 22 << "4    P1.1";
        QTest::newRow("SOP16 first") << 16 << 1 << 0 << "P0.0  16";
        QTest::newRow("SOP16 right end") << 16 << 8 << 14 << "P2.6  9";
        QTest::newRow("SOP16 left start") << 16 << 9 << 18 << "8   P1.5";
        QTest::newRow("SOP16 last") << 16 << 13 << 22 << "4   P1.1";
    }
    void keyLabelsStandBesideTheirButtons()
    {
        QFETCH(int, pins);
        QFETCH(int, labelIndex);
        QFETCH(int, channel);
        QFETCH(QString, pinLabel);
        auto w = makePackage(pins);
        QLabel *key = w->findChild<QLabel *>(QStringLiteral("labelKey_%1").arg(labelIndex));
        QPushButton *b = button(*w, channel);
        QVERIFY(key && b);
        QCOMPARE(key->size(), QSize(54, 20));
        QVERIFY(qAbs(key->geometry().center().y() - b->geometry().center().y()) <= 2);
        const bool rightSide = labelIndex <= (pins == 28 ? 14 : pins == 20 ? 10 : 8);
        if (rightSide)
            QVERIFY(key->geometry().left() >= b->geometry().right());
        else
            QVERIFY(key->geometry().right() <= b->geometry().left());

        QLabel *pin = nullptr;
        for (QLabel *label : w->findChildren<QLabel *>()) {
            if (label->text() == pinLabel)
                pin = label;
        }
        QVERIFY2(pin, qPrintable(pinLabel));
        const QPoint pinCentre = pin->mapTo(w.get(), pin->rect().center());
        QVERIFY(qAbs(pinCentre.y() - b->geometry().center().y()) <= 3);
        QCOMPARE(rightSide, pinCentre.x() > w->width() / 2);
    }

    void drawingNamesChipAndPackage_data() { packages_data(); }
    void drawingNamesChipAndPackage()
    {
        QFETCH(int, pins);
        auto w = makePackage(pins);
        QStringList texts;
        for (QLabel *label : w->findChildren<QLabel *>())
            texts << label->text();
        QVERIFY(texts.contains(QStringLiteral("RM3KV5172")));
        QVERIFY(texts.contains(QStringLiteral("SOP%1").arg(pins)));
        for (const char *power : {"VDD", "CMOD", "VSS"})
            QVERIFY(texts.contains(QLatin1String(power)));
    }

    void menuOffersOneEntryPerKey_data()
    {
        QTest::addColumn<int>("pins");
        QTest::addColumn<int>("keys");
        QTest::newRow("SOP28") << 28 << 25;
        QTest::newRow("SOP20") << 20 << 17;
        QTest::newRow("SOP16") << 16 << 13;
    }
    void menuOffersOneEntryPerKey()
    {
        QFETCH(int, pins);
        QFETCH(int, keys);
        auto w = shown(pins);
        QVERIFY(w);
        QStringList expected;
        for (int k = 1; k <= keys; ++k)
            expected << QStringLiteral("key%1").arg(k);
        // Whatever is in use already, the menu stays the same length.
        QVERIFY(chooseKey(w.get(), 0, 1));
        QVERIFY(chooseKey(w.get(), 1, 2));
        UiScript script;
        script.escapeMenu();
        clickPin(*w, 5, script);
        QCOMPARE(script.menuEntries.value(0), expected);
    }

    void choosingKeyPutsChannelInUse_data()
    {
        QTest::addColumn<int>("pins");
        QTest::newRow("SOP28") << 28;
        QTest::newRow("SOP20") << 20;
        QTest::newRow("SOP16") << 16;
    }
    void choosingKeyPutsChannelInUse()
    {
        QFETCH(int, pins);
        auto w = shown(pins);
        QVERIFY(w);
        QVERIFY(chooseKey(w.get(), 9, 7));
        QCOMPARE(w->channelInUse[9], 1);
        QCOMPARE(w->keyNumber[9], 7);
        QCOMPARE(w->inUseCount, 1);
        QCOMPARE(keyLabelText(*w, 9), QStringLiteral("key7"));
        QVERIFY(isGreen(button(*w, 9)));
        QVERIFY(w->keyTaken[6]);
        QCOMPARE(takenCount(*w), 1);
    }

    void takenKeyIsRefusedAndPinDropsOut()
    {
        auto w = shown(28);
        QVERIFY(w);
        QVERIFY(chooseKey(w.get(), 5, 1));
        UiScript script;
        script.chooseMenuEntry(QStringLiteral("key1"));
        script.acceptMessage();
        clickPin(*w, 6, script);
        QCOMPARE(script.messages, QStringList{QStringLiteral("key1已被选中，请选择其他key")});
        QCOMPARE(script.messageTitles, QStringList{QStringLiteral("提示")});
        QCOMPARE(w->channelInUse[6], 0);
        QCOMPARE(w->keyNumber[6], 0);
        QVERIFY(isWhite(button(*w, 6)));
        QCOMPARE(keyLabelText(*w, 6), QString());
        QCOMPARE(w->inUseCount, 1);
        QCOMPARE(w->keyNumber[5], 1);
        QVERIFY(w->keyTaken[0]);
    }

    void releasingPinFreesItsKey()
    {
        auto w = shown(20);
        QVERIFY(w);
        QVERIFY(chooseKey(w.get(), 5, 1));
        releasePin(*w, 5);
        QCOMPARE(w->channelInUse[5], 0);
        QCOMPARE(w->keyNumber[5], 0);
        QCOMPARE(w->inUseCount, 0);
        QVERIFY(isWhite(button(*w, 5)));
        QCOMPARE(keyLabelText(*w, 5), QString());
        QVERIFY(!w->keyTaken[0]);
        QVERIFY(chooseKey(w.get(), 8, 1));
        QCOMPARE(w->keyNumber[8], 1);
        QCOMPARE(keyLabelText(*w, 8), QStringLiteral("key1"));
    }

    void escapeLeavesPinInUseWithoutKey()
    {
        auto w = shown(16);
        QVERIFY(w);
        QVERIFY(chooseKey(w.get(), 0, 3));
        UiScript script;
        script.escapeMenu();
        clickPin(*w, 1, script);
        QCOMPARE(w->channelInUse[1], 1);
        QCOMPARE(w->keyNumber[1], 0);
        QVERIFY(isGreen(button(*w, 1)));
        QCOMPARE(keyLabelText(*w, 1), QString());
        QCOMPARE(w->inUseCount, 2);
        // The second click releases it and leaves every key as it was.
        releasePin(*w, 1);
        QCOMPARE(w->channelInUse[1], 0);
        QCOMPARE(w->inUseCount, 1);
        QVERIFY(w->keyTaken[2]);
        QCOMPARE(takenCount(*w), 1);
    }

    void releasingOneNeighbourKeepsTheOther()
    {
        auto w = shown(28);
        QVERIFY(w);
        QVERIFY(chooseKey(w.get(), 3, 4));
        QVERIFY(chooseKey(w.get(), 4, 5));
        releasePin(*w, 4);
        QCOMPARE(keyLabelText(*w, 4), QString());
        QCOMPARE(keyLabelText(*w, 3), QStringLiteral("key4"));
        QCOMPARE(w->keyNumber[3], 4);
        QVERIFY(w->keyTaken[3]);
        QVERIFY(!w->keyTaken[4]);
        QVERIFY(isGreen(button(*w, 3)));
    }

    void resetClearsTheWholeMap()
    {
        auto w = shown(20);
        QVERIFY(w);
        QVERIFY(chooseKey(w.get(), 0, 1));
        QVERIFY(chooseKey(w.get(), 22, 17));
        w->reset();
        QCOMPARE(w->inUseCount, 0);
        QCOMPARE(takenCount(*w), 0);
        for (int channel : w->pinChannels()) {
            QCOMPARE(w->channelInUse[channel], 0);
            QCOMPARE(w->keyNumber[channel], 0);
            QVERIFY(isWhite(button(*w, channel)));
            QCOMPARE(keyLabelText(*w, channel), QString());
        }
        QVERIFY(chooseKey(w.get(), 1, 17));
        QCOMPARE(w->keyNumber[1], 17);
    }

    // A loaded map holds its keys: they cannot be given to a second channel.
    void loadedKeysAreTaken()
    {
        auto w = shown(28);
        QVERIFY(w);
        std::array<int, 25> inUse{};
        std::array<int, 25> keys{};
        inUse[2] = 1;
        keys[2] = 3;
        w->applyLoadedMap(inUse, keys);
        QCOMPARE(keyLabelText(*w, 2), QStringLiteral("key3"));
        QCOMPARE(w->inUseCount, 1);
        UiScript script;
        script.chooseMenuEntry(QStringLiteral("key3"));
        script.acceptMessage();
        clickPin(*w, 7, script);
        QCOMPARE(script.messages, QStringList{QStringLiteral("key3已被选中，请选择其他key")});
        QCOMPARE(w->channelInUse[7], 0);
        // Releasing the loaded channel frees its key.
        releasePin(*w, 2);
        QVERIFY(chooseKey(w.get(), 7, 3));
        QCOMPARE(w->keyNumber[7], 3);
    }

    // Values a hand-edited file may hold: a flag of 2 counts and paints as not in use, a key
    // number beyond the menu is kept, and a channel without a pin stays out of use.
    void strayLoadedValuesStayInBounds()
    {
        auto w = shown(16);
        QVERIFY(w);
        QVERIFY(chooseKey(w.get(), 12, 2));
        std::array<int, 25> inUse{};
        std::array<int, 25> keys{};
        inUse[0] = 2;
        keys[0] = 4;
        inUse[1] = 1;
        keys[1] = 30;
        inUse[2] = 1; // no SOP16 pin
        keys[2] = 5;
        inUse[5] = 1;
        keys[5] = -3;
        w->applyLoadedMap(inUse, keys);
        QCOMPARE(w->channelInUse[0], 2);
        QVERIFY(isWhite(button(*w, 0)));
        QCOMPARE(keyLabelText(*w, 0), QString());
        QCOMPARE(w->keyNumber[1], 30);
        QCOMPARE(keyLabelText(*w, 1), QStringLiteral("key30"));
        QCOMPARE(keyLabelText(*w, 5), QString());
        QCOMPARE(w->channelInUse[2], 0);
        QCOMPARE(w->keyNumber[2], 0);
        // The label of the map that was replaced does not linger.
        QCOMPARE(keyLabelText(*w, 12), QString());
        QCOMPARE(w->inUseCount, 2);
        QCOMPARE(takenCount(*w), 0);

        releasePin(*w, 1);
        QCOMPARE(w->inUseCount, 1);
        QCOMPARE(takenCount(*w), 0);
        // The white pin flagged 2 is taken into use by a click like any white pin.
        QVERIFY(chooseKey(w.get(), 0, 4));
        QCOMPARE(w->channelInUse[0], 1);
        QCOMPARE(w->keyNumber[0], 4);
        QCOMPARE(w->inUseCount, 2);
    }
};

QTEST_MAIN(TestPinMap)
#include "tst_pinmap.moc"
