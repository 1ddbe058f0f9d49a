// Verification mode: the switch with its confirmation and Start condition, the switch-off
// exchange and its failures, colour picks, and the live curves, on the simulated board.
#include "app/mainwindow.h"
#include "charts/channelpalette.h"
#include "link/devicenotifier.h"
#include "modalhelper.h"
#include "sim/simboard.h"
#include "tuningrig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include <memory>

using namespace QtCharts;
using namespace testsupport;

namespace
{
const QString kOn = QStringLiteral("停止验证效果");
const QString kOff = QStringLiteral("开启验证效果");

QList<QByteArray> repeated(const QByteArray &report, int times)
{
    QList<QByteArray> list;
    for (int n = 0; n < times; ++n)
        list << report;
    return list;
}

// Verification in the tuning session on plain widgets, with the real link and readers to the
// simulated board, as the window wires it.
struct Rig : TuningRig
{
    SimTuningLink board{run};
    QPushButton *button = verifyButton;
    DebuggerLink &link = board.link;

    explicit Rig(std::initializer_list<int> ticked = {})
    {
        for (int n : ticked)
            boxes[n]->setChecked(true);
        build(board.starter);
        mode = &verification();
        mode->createCurves();
        QObject::connect(&link, &DebuggerLink::checkRecord, session.get(),
                         &TuningSession::handleCheckRecord);
        QObject::connect(&link, &DebuggerLink::checkReaderFailed, session.get(),
                         [this] { link.disarmCheckReader(); });
        link.openDebugger();
        SimBoard::clearWrittenReports();
    }

    void switchOn(ModalHelper &boxesSeen)
    {
        mode->toggle();
        QTRY_COMPARE(boxesSeen.count(), 1);
        QCOMPARE(button->text(), kOn);
    }
    // Records drawn so far, once the last one has been drawn.
    bool drawnAtLeast(int records) const
    {
        return !mode->recordPending() && mode->plot().history(0).size() >= records;
    }

    VerificationMode *mode = nullptr;
};
} // namespace

Q_DECLARE_METATYPE(QList<int>)

class TestVerification : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void init()
    {
        SimBoard::reset();
        SimBoard::setNoise(0);
        SimBoard::setHotplugTarget(nullptr);
    }

    void cancelLeavesTheButtonAndStartsNothing()
    {
        Rig rig({0});
        QChart *before = rig.chart().chart();
        ModalHelper boxes;
        boxes.queueAnswers({QMessageBox::Cancel});
        rig.mode->toggle();
        QCOMPARE(boxes.titles(), QStringList{QStringLiteral("验证效果按钮提示")});
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("请确认没有其他操作！")});
        QCOMPARE(rig.button->text(), kOff);
        QVERIFY(!rig.mode->isActive());
        QVERIFY(!rig.link.isCheckReaderRunning());
        QVERIFY(!rig.run.testBusy());
        QVERIFY(SimBoard::writtenReports().isEmpty());
        // The chart was rebuilt before the question.
        QVERIFY(rig.chart().chart() != before);
    }

    void withoutBoardNothingIsAsked()
    {
        SimBoard::unplug();
        Rig rig({0});
        ModalHelper boxes;
        rig.mode->toggle();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("调试器打开失败！")});
        QCOMPARE(rig.button->text(), kOff);
        QVERIFY(!rig.link.isCheckReaderRunning());
    }

    void startIsSentOnlyForTickedCurvesWhenNothingRuns_data()
    {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<QString>("running");
        QTest::addColumn<bool>("startSent");
        QTest::newRow("curve ticked, idle") << QList<int>{3} << "" << true;
        QTest::newRow("nothing ticked") << QList<int>{} << "" << false;
        QTest::newRow("test busy") << QList<int>{3} << "test" << false;
        QTest::newRow("waterproof run") << QList<int>{3} << "waterproof" << false;
    }
    void startIsSentOnlyForTickedCurvesWhenNothingRuns()
    {
        QFETCH(QList<int>, ticked);
        QFETCH(QString, running);
        QFETCH(bool, startSent);
        Rig rig;
        for (int n : ticked)
            rig.boxes[n]->setChecked(true);
        if (running == "test")
            rig.run.start(TuningRun::Kind::Auto), rig.run.startCountdown();
        if (running == "waterproof")
            rig.run.start(TuningRun::Kind::Waterproof), rig.run.startSampling();
        ModalHelper boxes;
        rig.switchOn(boxes);
        QVERIFY(rig.mode->isActive());
        QVERIFY(rig.link.isCheckReaderRunning());
        QCOMPARE(rig.mode->curveSelected(), !ticked.isEmpty());
        QCOMPARE(SimBoard::writtenReports(),
                 startSent ? QList<QByteArray>{kStartReport} : QList<QByteArray>{});
        QCOMPARE(rig.run.testBusy(), startSent || running == "test");
        QCOMPARE(rig.run.kind() == TuningRun::Kind::Verification, startSent);
    }

    void switchingOff_data()
    {
        QTest::addColumn<QString>("board");
        QTest::addColumn<int>("stops");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("staysOn");
        QTest::newRow("acknowledged") << "" << 5 << QStringList{} << false;
        QTest::newRow("refused") << "refuseStop" << 5
                                 << QStringList{QStringLiteral("停止验证效果失败！")} << true;
        QTest::newRow("unplugged during the wait")
            << "unplug" << 0 << QStringList{QStringLiteral("请连接调试器！")} << true;
    }
    void switchingOff()
    {
        QFETCH(QString, board);
        QFETCH(int, stops);
        QFETCH(QStringList, messages);
        QFETCH(bool, staysOn);
        Rig rig({1});
        SimBoard::setHotplugTarget(rig.link.notifier());
        ModalHelper boxes;
        rig.switchOn(boxes);
        QTRY_VERIFY(rig.drawnAtLeast(2));
        boxes.clear();
        SimBoard::clearWrittenReports();
        SimBoard::setRefuseStop(board == "refuseStop");
        if (board == "unplug")
            QTimer::singleShot(rig.pacing.verificationOffSettleMs / 3, [] { SimBoard::unplug(); });

        rig.mode->toggle();
        QTRY_COMPARE(boxes.texts(), messages);
        QCOMPARE(SimBoard::writtenReports(), repeated(kStopReport, stops));
        QCOMPARE(rig.mode->isActive(), staysOn);
        QCOMPARE(rig.button->text(), staysOn ? kOn : kOff);
        QCOMPARE(rig.run.testBusy(), staysOn);
        QCOMPARE(rig.mode->curveSelected(), staysOn);
        QVERIFY(!rig.link.isCheckReaderArmed());
        if (!staysOn)
            QVERIFY(!SimBoard::isStreaming());
    }

    void colourPickRecoloursTheCurveOrWaitsForTheNextStart()
    {
        Rig rig;
        const QColor blue(0, 0, 255);
        rig.mode->applySwatchColour(3, blue);
        QCOMPARE(rig.mode->plot().curve(3)->pen().color(), blue);
        QCOMPARE(rig.mode->plot().curve(3)->pen().width(), 2);

        // A test replaced the chart: the pick is kept, and the next start uses it once.
        rig.chart().rebuild(12, 11);
        rig.chart().installTestSeries();
        const QColor picked(10, 20, 30);
        rig.mode->applySwatchColour(4, picked);
        QVERIFY(!rig.mode->plot().curve(4));
        QCOMPARE(rig.chart().chart()->series().size(), 1);
        ModalHelper boxes;
        rig.switchOn(boxes);
        QCOMPARE(rig.mode->plot().curve(4)->pen().color(), picked);
        QCOMPARE(rig.mode->plot().curve(3)->pen().color(), ChannelPalette::colour(3));
        QCOMPARE(rig.chart().chart()->series().size(), 25);
        rig.mode->createCurves();
        QCOMPARE(rig.mode->plot().curve(4)->pen().color(), ChannelPalette::colour(4));
    }

    void windowShowsTheTickedChannelsLiveAndSwitchesOff()
    {
        SimBoard::setDataInterval(1);
        auto window = std::make_unique<MainWindow>(testsupport::fastClock());
        window->show();
        SimBoard::setHotplugTarget(window->findChild<QObject *>(QStringLiteral("deviceNotifier")));
        for (int n = 0; n < 25; ++n) {
            auto *box = window->findChild<QCheckBox *>(QStringLiteral("checkBox%1").arg(n));
            box->setChecked(n == 0 || n == 5);
        }
        auto *button = window->findChild<QPushButton *>(QStringLiteral("pushButton_3"));
        auto *view = window->findChild<QChartView *>(QStringLiteral("chartView"));
        const auto curve = [view](int k) {
            const auto series = view->chart()->series();
            return k < series.size() ? qobject_cast<QLineSeries *>(series.at(k)) : nullptr;
        };
        SimBoard::clearWrittenReports();
        ModalHelper boxes;

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("请确认没有其他操作！")});
        QCOMPARE(button->text(), kOn);
        QCOMPARE(SimBoard::writtenReports(), QList<QByteArray>{kStartReport});
        QCOMPARE(view->chart()->series().size(), 25);
        QTRY_COMPARE_WITH_TIMEOUT(curve(0)->count(), 132, 20000);
        // The window stays at 132 values as records go on; a held key shows at the right end.
        SimBoard::setFinger(5, true);
        QTRY_COMPARE(curve(5)->at(131).y(), qreal(SimBoard::baseline(5) + SimBoard::kFingerRise));
        for (int k = 0; k < 25; ++k)
            QCOMPARE(curve(k)->count(), k == 0 || k == 5 ? 132 : 0);
        QCOMPARE(curve(0)->at(0).x(), 0.0);
        QVERIFY(qAbs(curve(0)->at(131).x() - 11.79) < 1e-9);
        QCOMPARE(curve(0)->at(131).y(), qreal(SimBoard::baseline(0)));

        SimBoard::clearWrittenReports();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), kOff);
        QCOMPARE(SimBoard::writtenReports(), repeated(kStopReport, 5));
        QCOMPARE(boxes.count(), 1);
        QVERIFY(!SimBoard::isStreaming());

        SimBoard::setHotplugTarget(nullptr);
        SimBoard::unplug();
        window.reset();
    }
};

QTEST_MAIN(TestVerification)
#include "tst_verification.moc"
