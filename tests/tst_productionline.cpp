#include "productionrig.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace testsupport;

// The production line in the real window on the simulated board standing in for a batch.
class TestProductionLine : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    OperatorView *view = nullptr;
    QTimer finger;

    void openWindow()
    {
        window = std::make_unique<MainWindow>(fastClock());
        window->show();
        view = openLineProject(*window, dir.path());
        QVERIFY(view);
        followLitKeys(finger, view);
    }
    void closeWindow()
    {
        finger.stop();
        window.reset();
    }
    QVector<BoardRecord> logged() const { return loggedBoards(dir.path()); }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        QVERIFY(writeLineProject(dir.path(), true));
    }

    void batchWithAnOpenPadThenARestart()
    {
        SimBoard::reset();
        SimBoard::setDataInterval(1);
        const SimBoard::Spread spread;
        SimBoard::newBoard(spread, 100);
        SimBoard::setBatch(true, spread, 1);
        openWindow();
        constexpr int kBoards = 6;
        for (int n = 1; n <= kBoards; ++n) {
            // The fourth board has lost TK5's pad; the batch puts good boards after it.
            if (n == 4)
                SimBoard::setPad(5, SimBoard::Pad::Open);
            QTest::keyClick(view, Qt::Key_Space);
            QVERIFY(waitUntil([&] { return boardDone(view); }, 60000));
            QCOMPARE(view->verdict(), n == 4 ? OperatorView::Verdict::Fail
                                             : OperatorView::Verdict::Pass);
            // On the disk before the next board may start.
            QCOMPARE(logged().size(), n);
        }
        const QVector<BoardRecord> records = logged();
        QCOMPARE(records.at(3).board, QStringLiteral("4"));
        QCOMPARE(records.at(3).reasons.size(), 1);
        QVERIFY(records.at(3).reasons.first().startsWith(QStringLiteral("TK5 无触摸值 ")));
        QVERIFY(records.at(3).reasons.first().endsWith(QStringLiteral("：焊盘开路")));
        QVERIFY(!records.at(3).figuresOf(5)->signal);
        QVERIFY(*records.at(0).figuresOf(5)->signal >= 150);
        QCOMPARE(SimBoard::boardsDrawn(), kBoards + 1);

        // The tool closed between two boards: the log is read again and the count goes on.
        closeWindow();
        openWindow();
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(waitUntil([&] { return boardDone(view); }, 60000));
        QCOMPARE(logged().size(), kBoards + 1);
        QCOMPARE(logged().last().board, QString::number(kBoards + 1));

        // The debugger goes in the middle of a board: it is tested again, nothing is logged.
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(waitUntil([&] { return view->verdict() == OperatorView::Verdict::Testing; },
                          60000));
        SimBoard::unplug();
        QVERIFY(waitUntil([&] { return view->verdict() == OperatorView::Verdict::Repeat; }, 60000));
        QCOMPARE(logged().size(), kBoards + 1);
        closeWindow();
        SimBoard::plug();
    }
};

QTEST_MAIN(TestProductionLine)
#include "tst_productionline.moc"
