#include "charts/channelindicators.h"
#include "project/mwidget01.h"
#include "project/mywidget02.h"
#include "project/stackedpinmap.h"
#include "project/wd5p31948sop16.h"
#include "tuning/tuningrun.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

namespace
{
const QString kGreen = QStringLiteral("QPushButton{background-color:rgb(0,255,0);; border:2px "
                                      "solid rgb(0,255,0);; border-radius:10px;}");
const QString kWhite = QStringLiteral("QPushButton{background-color:rgb(255,255,255);; border:2px "
                                      "solid rgb(255,255,255);; border-radius:10px;}");
const QString kWhiteBox = QStringLiteral("background-color:rgb(255,255,255);font-size:16px;");
} // namespace

// The debug page's three channel rows over the real package stack of the settings page.
struct IndicatorRig
{
    QWidget page;
    QStackedWidget *stack = new QStackedWidget(&page);
    MyWidget02 *sop28 = new MyWidget02;
    Mwidget01 *sop20 = new Mwidget01;
    Wd5p31948Sop16 *sop16 = new Wd5p31948Sop16;
    QList<QPushButton *> keys;
    QList<QPushButton *> swatches;
    QList<QCheckBox *> boxes;
    TuningRun run;
    StackedPinMap pinMap{stack};
    ChannelIndicators *indicators = nullptr;

    IndicatorRig()
    {
        stack->addWidget(sop28);
        stack->addWidget(sop20);
        stack->addWidget(sop16);
        for (int n = 0; n < 25; ++n) {
            keys << new QPushButton(QStringLiteral("TK%1").arg(n), &page);
            swatches << new QPushButton(&page);
            boxes << new QCheckBox(QStringLiteral("TK%1").arg(n), &page);
        }
        indicators = new ChannelIndicators(keys, swatches, boxes, pinMap, run, &page, &page);
    }

    void use(PackageWidget *package, std::initializer_list<int> channels)
    {
        for (int n : channels) {
            package->channelInUse[n] = 1;
            package->keyNumber[n] = n + 1;
        }
        package->rebuildKeyTaken();
    }

    QList<bool> ticks() const
    {
        QList<bool> list;
        for (QCheckBox *box : boxes)
            list << box->isChecked();
        return list;
    }
};

class TestIndicators : public QObject
{
    Q_OBJECT

private slots:
    void refreshShowsThePinMapOfTheShownPackage()
    {
        IndicatorRig rig;
        rig.use(rig.sop28, {1, 24});
        rig.use(rig.sop16, {5});
        rig.use(rig.sop20, {0, 3});
        rig.stack->setCurrentIndex(1);
        rig.indicators->refresh();
        for (int n = 0; n < 25; ++n) {
            const bool inUse = n == 0 || n == 3;
            QCOMPARE(rig.keys[n]->styleSheet(), inUse ? kGreen : kWhite);
            QCOMPARE(rig.keys[n]->isEnabled(), inUse);
            QCOMPARE(rig.boxes[n]->isChecked(), inUse);
            QCOMPARE(rig.boxes[n]->isEnabled(), inUse);
        }
        // The packages not shown lose their pin maps; the shown one keeps it.
        QCOMPARE(rig.sop28->inUseCount, 0);
        QCOMPARE(rig.sop28->channelInUse[24], 0);
        QCOMPARE(rig.sop16->channelInUse[5], 0);
        QCOMPARE(rig.sop20->channelInUse[3], 1);
        QCOMPARE(rig.pinMap.keyNumber(3), 4);
    }

    void pinMapReadsNothingOutsideTheChannels()
    {
        IndicatorRig rig;
        rig.use(rig.sop28, {0, 24});
        QCOMPARE(rig.pinMap.channelInUse(24), 1);
        QCOMPARE(rig.pinMap.channelInUse(25), 0);
        QCOMPARE(rig.pinMap.channelInUse(-1), 0);
        QCOMPARE(rig.pinMap.keyNumber(100), 0);
    }

    void selectAllTicksOnlyChannelsInUse()
    {
        IndicatorRig rig;
        rig.boxes[7]->setChecked(true);
        rig.indicators->selectAll(); // nothing in use: nothing changes
        QList<bool> expected;
        for (int n = 0; n < 25; ++n)
            expected << (n == 7);
        QCOMPARE(rig.ticks(), expected);

        rig.use(rig.sop28, {2, 9});
        rig.indicators->selectAll();
        expected[2] = expected[9] = true;
        QCOMPARE(rig.ticks(), expected);
        QCOMPARE(rig.boxes[2]->styleSheet(), QString()); // ticking by program keeps the look
    }

    void invertTwiceRestoresAndLeavesOthers()
    {
        IndicatorRig rig;
        rig.use(rig.sop28, {2, 9, 11});
        rig.boxes[2]->setChecked(true);
        rig.boxes[20]->setChecked(true); // not in use: never touched
        const QList<bool> before = rig.ticks();
        rig.indicators->invertSelection();
        QCOMPARE(rig.boxes[2]->isChecked(), false);
        QCOMPARE(rig.boxes[9]->isChecked(), true);
        QCOMPARE(rig.boxes[11]->isChecked(), true);
        QCOMPARE(rig.boxes[20]->isChecked(), true);
        rig.indicators->invertSelection();
        QCOMPARE(rig.ticks(), before);
    }

    void checkBoxClickShowsItsColour_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<QString>("style");
        QTest::newRow("TK0") << 0
                             << QStringLiteral("background-color:rgb(170,0,0);font-size:16px;");
        QTest::newRow("TK13") << 13
                              << QStringLiteral("background-color:rgb(0,255,127);font-size:16px;");
        QTest::newRow("TK24") << 24
                              << QStringLiteral(
                                     "background-color:rgb(179,212,255);font-size:16px;");
    }

    void checkBoxClickShowsItsColour()
    {
        QFETCH(int, channel);
        QFETCH(QString, style);
        IndicatorRig rig;
        rig.indicators->checkBoxClicked(channel, true);
        QCOMPARE(rig.boxes[channel]->styleSheet(), style);
        rig.indicators->checkBoxClicked(channel, false);
        QCOMPARE(rig.boxes[channel]->styleSheet(), kWhiteBox);
    }

    // A key pressed once: its curve box, styled or not, has its font back when the key is up.
    void pressedLookLeavesTheFontAsItWas()
    {
        IndicatorRig rig;
        QFont large = rig.page.font();
        large.setPointSize(rig.page.font().pointSize() + 3);
        rig.page.setFont(large);
        rig.page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.page));
        rig.indicators->checkBoxClicked(7, true);
        const QFont plain = rig.boxes[3]->font();
        const QFont styled = rig.boxes[7]->font();
        for (int channel : {3, 7}) {
            rig.indicators->showPressed(channel, true);
            QVERIFY(rig.boxes[channel]->font().bold());
            rig.indicators->showPressed(channel, false);
        }
        QCOMPARE(rig.boxes[3]->font(), plain);
        QCOMPARE(rig.boxes[3]->font().pointSize(), large.pointSize());
        QCOMPARE(rig.boxes[7]->font(), styled);
        QCOMPARE(rig.boxes[7]->styleSheet(), ChannelIndicators::checkedBoxStyle(7));
    }

    void swatchesStartInThePalette()
    {
        IndicatorRig rig;
        rig.indicators->applySwatchStyles();
        QCOMPARE(rig.swatches[0]->styleSheet(),
                 QStringLiteral("QPushButton{background-color:rgb(170,0,0);}"));
        QCOMPARE(rig.swatches[9]->styleSheet(),
                 QStringLiteral("QPushButton{background-color:rgb(0,85,127);}"));
        QCOMPARE(rig.swatches[24]->styleSheet(),
                 QStringLiteral("QPushButton{background-color:rgb(179,212,255);}"));
    }

    void colourPickRecoloursTheSwatchAndTellsTheCurve()
    {
        IndicatorRig rig;
        rig.indicators->applySwatchStyles();
        QSignalSpy changed(rig.indicators, &ChannelIndicators::swatchColourChanged);
        rig.indicators->setColourChooser([] { return QColor(); }); // dialog cancelled
        rig.indicators->pickColour(4);
        QCOMPARE(rig.swatches[4]->styleSheet(),
                 QStringLiteral("QPushButton{background-color:rgb(170,170,0);}"));
        QCOMPARE(changed.count(), 0);

        rig.indicators->setColourChooser([] { return QColor(12, 34, 56); });
        rig.indicators->pickColour(4);
        QCOMPARE(rig.swatches[4]->styleSheet(),
                 QStringLiteral("QPushButton{background-color:rgb(12,34,56);}"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 4);
        QCOMPARE(changed.at(0).at(1).value<QColor>(), QColor(12, 34, 56));
    }

    void measuredKeyBlinksOnlyWhileSampling()
    {
        IndicatorRig rig;
        QPushButton *key = rig.keys[6];
        key->setStyleSheet(kGreen);
        rig.run.start(TuningRun::Kind::Single);
        rig.run.beginChannel(6);
        rig.run.startCountdown();
        rig.indicators->blinkTick(); // not sampling: nothing
        QCOMPARE(key->styleSheet(), kGreen);
        rig.run.startSampling();
        QStringList seen;
        for (int i = 0; i < 4; ++i) {
            rig.indicators->blinkTick();
            seen << key->styleSheet();
        }
        QCOMPARE(seen, (QStringList{kGreen, kWhite, kGreen, kWhite}));
        rig.run.endChannel();
        rig.indicators->blinkTick();
        QCOMPARE(key->styleSheet(), kWhite);
    }

    void tabSwitchTogglesTheTimerAndRefreshesOnTheDebugPage()
    {
        IndicatorRig rig;
        QTimer timer;
        timer.start(1000);
        QPushButton createApp;
        createApp.setEnabled(false);
        rig.use(rig.sop28, {4});

        rig.run.start(TuningRun::Kind::Single); // a measurement runs: nothing happens
        rig.run.startCountdown();
        rig.indicators->tabChanged(1, &timer, &createApp);
        QVERIFY(timer.isActive());
        QVERIFY(!createApp.isEnabled());
        QCOMPARE(rig.keys[4]->styleSheet(), QString());

        rig.run.finish();
        rig.indicators->tabChanged(1, &timer, &createApp);
        QVERIFY(!timer.isActive());
        QVERIFY(createApp.isEnabled());
        QCOMPARE(rig.keys[4]->styleSheet(), kGreen);
        QVERIFY(rig.boxes[4]->isChecked());

        rig.indicators->tabChanged(0, &timer, &createApp);
        QVERIFY(timer.isActive());
        QCOMPARE(timer.interval(), 1000);
        rig.indicators->tabChanged(1, &timer, &createApp);
        QVERIFY(!timer.isActive());
    }
};

QTEST_MAIN(TestIndicators)
#include "tst_indicators.moc"
