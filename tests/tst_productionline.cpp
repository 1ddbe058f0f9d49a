#include "app/mainwindow.h"
#include "modalhelper.h"
#include "production/operatorview.h"
#include "production/productionlog.h"
#include "project/packagewidget.h"
#include "sim/simboard.h"
#include "testsupport.h"
#include "uiscript.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The production line in the real window on the simulated board standing in for a batch.
class TestProductionLine : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    QTimer finger;

    // The window with keys 1 and 2 on TK3 and TK5, tuned at 2000 with a 300-count touch, and
    // the production page open.
    OperatorView *view = nullptr;

    void openWindow()
    {
        window = std::make_unique<MainWindow>(testsupport::fastClock());
        window->show();
        const QString project = dir.filePath(QStringLiteral("line.ini"));
        if (!QFileInfo::exists(project)) {
            QFile file(project);
            QVERIFY2(file.open(QIODevice::WriteOnly), "no project");
            file.write("[1]\n1=line\n2=" + dir.path().toUtf8() +
                       "\n[2]\n1=RM3KV5172_SOP28\n[10]\n3=1\n5=1\n[11]\n3=1\n5=2\n"
                       "[20]\n0=2\n1=TK3:2000:2300:2020:3:1\n2=TK5:2000:2300:2020:5:2\n");
        }
        UiScript script;
        script.answerFileDialog(project);
        window->findChild<QPushButton *>(QStringLiteral("openProBtn"))->click();
        QTRY_VERIFY(script.finished());
        window->findChild<QPushButton *>(QStringLiteral("productionBtn"))->click();
        view = window->findChild<OperatorView *>(QStringLiteral("operatorView"));
        // The operator's finger goes where the picture lights a key, and only there.
        finger.disconnect();
        connect(&finger, &QTimer::timeout, this, [this] {
            for (int channel : {3, 5})
                SimBoard::setFinger(channel, view->picture()->stateOf(channel) ==
                                                 PanelPicture::State::Lit);
        });
        finger.start(2);
    }

    static bool boardDone(const OperatorView *view)
    {
        return view->verdict() != OperatorView::Verdict::Testing &&
               view->verdict() != OperatorView::Verdict::Ready;
    }

    QVector<BoardRecord> logged() const
    {
        QVector<BoardRecord> records;
        QString error;
        const QString path = dir.filePath(ProductionLog::fileName("line", QDate::currentDate()));
        return ProductionLog::read(path, &records, &error) ? records : QVector<BoardRecord>();
    }

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }

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
            QVERIFY(testsupport::waitUntil([&] { return boardDone(view); }, 60000));
            QCOMPARE(view->verdict(), n == 4 ? OperatorView::Verdict::Fail
                                             : OperatorView::Verdict::Pass);
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
        finger.stop();
        window.reset();
        openWindow();
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(testsupport::waitUntil([&] { return boardDone(view); }, 60000));
        QCOMPARE(logged().size(), kBoards + 1);
        QCOMPARE(logged().last().board, QString::number(kBoards + 1));

        // The debugger goes in the middle of a board: it is tested again, nothing is logged.
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(testsupport::waitUntil(
            [&] { return view->verdict() == OperatorView::Verdict::Testing; }, 60000));
        SimBoard::unplug();
        QVERIFY(testsupport::waitUntil(
            [&] { return view->verdict() == OperatorView::Verdict::Repeat; }, 60000));
        QCOMPARE(logged().size(), kBoards + 1);
        finger.stop();
        window.reset();
        SimBoard::plug();
    }
};

QTEST_MAIN(TestProductionLine)
#include "tst_productionline.moc"
