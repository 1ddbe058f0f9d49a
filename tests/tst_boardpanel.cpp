// The simulated board's panel: a held key is a finger on the board until the mouse lets go, the
// latch keeps fingers down, water, coupling and the cable act on the board, and the cable's events
// reach the tool's status label.
#include "app/mainwindow.h"
#include "chip/chip.h"
#include "modalhelper.h"
#include "sim/boardpanel.h"
#include "sim/simboard.h"
#include "sim/simsliderpanel.h"
#include "sim/sliderpad.h"
#include "testsupport.h"

#include <hidapi/hidapi.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QtTest>

namespace
{
QPushButton *key(const BoardPanel &panel, int channel)
{
    return panel.findChild<QPushButton *>(QStringLiteral("keyBtn%1").arg(channel));
}

QString readingOf(const QPushButton *key) { return key->text().section(QLatin1Char('\n'), 1); }
} // namespace

class HotplugLog : public QObject
{
    Q_OBJECT

public:
    QList<int> kinds;

public slots:
    void deliverDeviceChange(QString name, int kind)
    {
        if (name == SimBoard::interfaceName())
            kinds << kind;
    }
};

class TestBoardPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }

    void init()
    {
        SimBoard::reset();
        SimBoard::setNoise(0);
    }

    void cleanup() { SimBoard::setHotplugTarget(nullptr); }

    void heldKeyIsFingerOnItsChannelOnly_data()
    {
        QTest::addColumn<int>("channel");
        QTest::newRow("TK0") << 0;
        QTest::newRow("TK7") << 7;
        QTest::newRow("TK24") << 24;
    }

    void heldKeyIsFingerOnItsChannelOnly()
    {
        QFETCH(int, channel);
        BoardPanel panel;
        panel.show();
        QPushButton *button = key(panel, channel);
        QVERIFY(button);
        QCOMPARE(button->text(),
                 QStringLiteral("TK%1\n%2").arg(channel).arg(SimBoard::baseline(channel)));

        QTest::mousePress(button, Qt::LeftButton);
        for (int k = 0; k < chip::kChannelCount; ++k)
            QCOMPARE(SimBoard::finger(k), k == channel);
        QCOMPARE(readingOf(button).toInt(), SimBoard::baseline(channel) + SimBoard::kFingerRise);
        QCOMPARE(button->property("touched").toBool(), true);

        QTest::mouseRelease(button, Qt::LeftButton);
        QVERIFY(!SimBoard::finger(channel));
        QCOMPARE(readingOf(button).toInt(), int(SimBoard::baseline(channel)));
        QCOMPARE(button->property("touched").toBool(), false);
    }

    void draggingOffTheKeyLiftsTheFinger()
    {
        BoardPanel panel;
        panel.show();
        QPushButton *button = key(panel, 3);
        QTest::mousePress(button, Qt::LeftButton);
        QVERIFY(SimBoard::finger(3));
        const QPoint off(-20, -20);
        QMouseEvent away(QEvent::MouseMove, off, button->mapToGlobal(off), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &away);
        QVERIFY(!SimBoard::finger(3));
    }

    // A question box that opens while a key is held swallows the mouse's release: the finger is
    // lifted all the same, while the box is still open.
    void releaseThroughAQuestionBoxLiftsTheFinger()
    {
        BoardPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const QPoint at = key(panel, 3)->mapTo(&panel, key(panel, 3)->rect().center());
        QTest::mousePress(panel.windowHandle(), Qt::LeftButton, {}, at);
        QVERIFY(SimBoard::finger(3));
        bool liftedWhileOpen = false;
        ModalHelper boxes;
        boxes.whileOpen = [&](QMessageBox *) {
            QTest::mouseRelease(panel.windowHandle(), Qt::LeftButton, {}, at);
            liftedWhileOpen = testsupport::waitUntil([] { return !SimBoard::finger(3); }, 3000);
        };
        QMessageBox::warning(nullptr, QStringLiteral("提示"), QStringLiteral("TK3?"));
        QVERIFY(liftedWhileOpen);
        QVERIFY(!key(panel, 3)->isDown());
    }

    // Two keys and a share of the second's own finger rise: a finger on the first raises the
    // second by that much; another pair takes the coupling over, 0 removes it.
    void couplingControlCouplesTwoKeys()
    {
        BoardPanel panel;
        auto *from = panel.findChild<QComboBox *>(QStringLiteral("couplingFromCBox"));
        auto *to = panel.findChild<QComboBox *>(QStringLiteral("couplingToCBox"));
        auto *share = panel.findChild<QSpinBox *>(QStringLiteral("couplingShareSpin"));
        QVERIFY(from && to && share);
        SimBoard::setFinger(3, true);
        from->setCurrentText(QStringLiteral("TK3"));
        to->setCurrentText(QStringLiteral("TK4"));
        share->setValue(50);
        QCOMPARE(SimBoard::meanReading(4),
                 quint16(SimBoard::baseline(4) + SimBoard::kFingerRise / 2));
        to->setCurrentText(QStringLiteral("TK5"));
        QCOMPARE(SimBoard::meanReading(4), SimBoard::baseline(4));
        QCOMPARE(SimBoard::meanReading(5),
                 quint16(SimBoard::baseline(5) + SimBoard::kFingerRise / 2));
        QCOMPARE(readingOf(key(panel, 5)).toInt(), int(SimBoard::meanReading(5)));
        share->setValue(0);
        QCOMPARE(SimBoard::meanReading(5), SimBoard::baseline(5));
    }

    // The slider's finger, dragged along its pad, is wholly on the segment under it and partly
    // on the neighbours; letting go lifts it. A weak segment feels a third of a finger until
    // another one is chosen, and a wheel's finger past its last segment reaches the first.
    void sliderPadsSpreadTheFingerOverTheSegments()
    {
        BoardPanel panel;
        auto *sliders = panel.findChild<SimSliderPanel *>();
        QVERIFY(sliders);
        sliders->setChecked(true);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        sliders->configure(0, 8, 4, 1);
        SliderPad *pad = sliders->slider();
        QCOMPARE(pad->channels(), (QVector<int>{8, 9, 10, 11}));
        QCOMPARE(SimBoard::fingerRise(9), SimBoard::kFingerRise * SimSliderPanel::kWeakPercent / 100);
        // The middle of segment 3 (TK10), from the pad's own geometry.
        const QPoint third(pad->width() * 5 / 8, pad->height() / 2);
        QTest::mousePress(pad, Qt::LeftButton, {}, third);
        QCOMPARE(SimBoard::fingerShare(10), SimBoard::kWholeFinger);
        QVERIFY(SimBoard::fingerShare(9) > 0 && SimBoard::fingerShare(9) < 200);
        QCOMPARE(SimBoard::fingerShare(8), 0);
        // QTest's move carries no button: the drag is sent as the window system sends it.
        const QPoint end(pad->width() - 2, pad->height() / 2);
        QMouseEvent drag(QEvent::MouseMove, end, pad->mapToGlobal(end), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pad, &drag);
        QVERIFY(SimBoard::fingerShare(11) > SimBoard::fingerShare(10));
        QTest::mouseRelease(pad, Qt::LeftButton, {}, end);
        for (int channel = 8; channel <= 11; ++channel)
            QCOMPARE(SimBoard::fingerShare(channel), 0);
        sliders->configure(0, 8, 4, -1);
        QCOMPARE(SimBoard::fingerRise(9), SimBoard::kFingerRise);

        sliders->configure(1, 12, 6);
        sliders->wheel()->putFinger(5.5);
        QCOMPARE(SimBoard::fingerShare(17), SimBoard::fingerShare(12));
        QVERIFY(SimBoard::fingerShare(12) > 500);
        sliders->wheel()->liftFinger();
    }

    void latchKeepsSeveralFingersDownUntilClickedAgain()
    {
        BoardPanel panel;
        panel.show();
        auto *latch = panel.findChild<QCheckBox *>(QStringLiteral("latchCheckBox"));
        QVERIFY(latch);
        QCOMPARE(latch->text(), QStringLiteral("按住"));
        latch->click();

        QTest::mouseClick(key(panel, 2), Qt::LeftButton);
        QTest::mouseClick(key(panel, 11), Qt::LeftButton);
        QVERIFY(SimBoard::finger(2));
        QVERIFY(SimBoard::finger(11));
        QVERIFY(!SimBoard::finger(3));
        QVERIFY(key(panel, 2)->isChecked());

        QTest::mouseClick(key(panel, 2), Qt::LeftButton);
        QVERIFY(!SimBoard::finger(2));
        QVERIFY(SimBoard::finger(11));

        // Leaving the latch lifts what it held, and keys are momentary again.
        latch->click();
        QVERIFY(!SimBoard::finger(11));
        QVERIFY(!key(panel, 11)->isCheckable());
        QTest::mouseClick(key(panel, 11), Qt::LeftButton);
        QVERIFY(!SimBoard::finger(11));
    }

    void fingersSetOnTheBoardShowWithoutBeingLifted()
    {
        SimBoard::setFinger(9, true);
        BoardPanel panel;
        QVERIFY(SimBoard::finger(9));
        QCOMPARE(key(panel, 9)->property("touched").toBool(), true);

        panel.findChild<QCheckBox *>(QStringLiteral("latchCheckBox"))->click();
        SimBoard::setFinger(4, true);
        panel.refresh();
        QVERIFY(key(panel, 9)->isChecked());
        QVERIFY(key(panel, 4)->isChecked());
        // Showing them must not write back to the board.
        QVERIFY(SimBoard::finger(9));
        QVERIFY(SimBoard::finger(4));
    }

    void waterCheckBoxPutsWaterOnThePad()
    {
        BoardPanel panel;
        panel.show();
        auto *water = panel.findChild<QCheckBox *>(QStringLiteral("waterCheckBox"));
        QVERIFY(water);
        QCOMPARE(water->text(), QStringLiteral("加水"));
        water->click();
        QVERIFY(SimBoard::water());
        for (int k : {0, 12, 24})
            QCOMPARE(readingOf(key(panel, k)).toInt(),
                     SimBoard::baseline(k) + SimBoard::kWaterShift);
        water->click();
        QVERIFY(!SimBoard::water());
        QCOMPARE(readingOf(key(panel, 12)).toInt(), int(SimBoard::baseline(12)));
    }

    void readingsAndStateFollowTheBoardOnTheirOwn()
    {
        BoardPanel panel;
        auto *state = panel.findChild<QLabel *>(QStringLiteral("boardStateLabel"));
        QVERIFY(state);
        QCOMPARE(state->text(), QStringLiteral("未发送数据"));

        hid_device *dev = hid_open(0x0483, 0x5850, nullptr);
        QVERIFY(dev);
        const QByteArray start = QByteArray::fromHex("00067EFE07E09D7E").leftJustified(65, '\0');
        QCOMPARE(hid_write(dev, reinterpret_cast<const unsigned char *>(start.constData()), 65),
                 65);
        SimBoard::setWater(true);
        SimBoard::setFinger(5, true);
        QTRY_COMPARE_WITH_TIMEOUT(state->text(), QStringLiteral("正在发送数据"),
                                  4 * BoardPanel::kRefreshMs);
        QVERIFY(state->styleSheet().contains(QLatin1String("green")));
        QCOMPARE(readingOf(key(panel, 5)).toInt(),
                 SimBoard::baseline(5) + SimBoard::kFingerRise + SimBoard::kWaterShift);
        QVERIFY(panel.findChild<QCheckBox *>(QStringLiteral("waterCheckBox"))->isChecked());

        SimBoard::unplug();
        QTRY_COMPARE_WITH_TIMEOUT(state->text(), QStringLiteral("调试器已拔出"),
                                  4 * BoardPanel::kRefreshMs);
        QVERIFY(state->styleSheet().contains(QLatin1String("white")));
        hid_close(dev);
    }

    void plugButtonPullsAndReconnectsTheCable()
    {
        HotplugLog log;
        SimBoard::setHotplugTarget(&log);
        BoardPanel panel;
        auto *plug = panel.findChild<QPushButton *>(QStringLiteral("plugBtn"));
        QVERIFY(plug);
        QCOMPARE(plug->text(), QStringLiteral("拔出调试器"));

        plug->click();
        QVERIFY(!SimBoard::isPlugged());
        QCOMPARE(plug->text(), QStringLiteral("插入调试器"));
        QTRY_COMPARE(log.kinds, QList<int>{2});

        plug->click();
        QVERIFY(SimBoard::isPlugged());
        QCOMPARE(plug->text(), QStringLiteral("拔出调试器"));
        QTRY_COMPARE(log.kinds, (QList<int>{2, 1}));
    }

    void plugButtonTurnsTheToolsStatusLabel()
    {
        MainWindow window(testsupport::fastClock());
        SimBoard::setHotplugTarget(window.findChild<QObject *>(QStringLiteral("deviceNotifier")));
        auto *status = window.findChild<QLabel *>(QStringLiteral("usbStateLabel"));
        QVERIFY(status);
        QCOMPARE(status->text(), QStringLiteral("调试器已连接"));
        BoardPanel panel;
        auto *plug = panel.findChild<QPushButton *>(QStringLiteral("plugBtn"));

        plug->click();
        QTRY_COMPARE(status->text(), QStringLiteral("调试器已断开"));
        QVERIFY(status->styleSheet().contains(QLatin1String("white")));

        const int opens = SimBoard::openCount();
        plug->click();
        QTRY_COMPARE(status->text(), QStringLiteral("调试器已连接"));
        QVERIFY(status->styleSheet().contains(QLatin1String("green")));
        // The arrival really opened the board again.
        QVERIFY(SimBoard::openCount() > opens);
    }

    void placedRightOfTheWindowAndOnScreen()
    {
        const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget window;
        window.setGeometry(room.left(), room.top() + 10, 200, 150);
        window.show();
        BoardPanel panel;
        panel.placeBeside(&window);
        QVERIFY(panel.frameGeometry().left() > window.frameGeometry().right());
        QCOMPARE(panel.frameGeometry().top(), window.frameGeometry().top());

        // A window as wide as the screen leaves the panel overlapping it, still fully visible.
        window.setGeometry(room.left(), room.top(), room.width(), 150);
        panel.placeBeside(&window);
        QVERIFY(room.contains(panel.frameGeometry()));
    }
};

QTEST_MAIN(TestBoardPanel)
#include "tst_boardpanel.moc"
