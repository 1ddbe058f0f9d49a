#include "modalhelper.h"
#include "productionrig.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
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
        SimBoard::setHotplugTarget(window->findChild<QObject *>(QStringLiteral("deviceNotifier")));
        view = openLineProject(*window, dir.path());
        QVERIFY(view);
        followLitKeys(finger, view);
    }
    void closeWindow()
    {
        finger.stop();
        SimBoard::setHotplugTarget(nullptr);
        window.reset();
    }
    QString linkStatus() const
    {
        return window->findChild<QLabel *>(QStringLiteral("usbStateLabel"))->text();
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
        constexpr int kBoards = 20;
        for (int n = 1; n <= kBoards; ++n) {
            // The fourth board has lost TK5's pad; the batch puts good boards after it.
            if (n == 4)
                SimBoard::setPad(5, SimBoard::Pad::Open);
            QTest::keyClick(view, Qt::Key_Space);
            QVERIFY(waitUntil([&] { return boardDone(view); }, 60000));
            QCOMPARE(view->verdict(),
                     n == 4 ? OperatorView::Verdict::Fail : OperatorView::Verdict::Pass);
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

        // The engineer reads the batch and generates the firmware from it.
        {
            ModalHelper boxes;
            window->findChild<QTabWidget *>(QStringLiteral("productionTWidget"))
                ->setCurrentIndex(2);
            window->findChild<QPushButton *>(QStringLiteral("todayLogBtn"))->click();
            const auto *values =
                window->findChild<QTableWidget *>(QStringLiteral("batchFirmwareTable"));
            QCOMPARE(values->rowCount(), 2);
            QCOMPARE(values->item(0, 2)->text(), QString::number(kBoards - 1));
            QByteArray rows;
            for (int r = 0; r < 2; ++r)
                rows += QStringLiteral("%1,%2,20,%3,%4,%5,\r\n")
                            .arg(values->item(r, 1)->text(), values->item(r, 0)->text().mid(2),
                                 values->item(r, 3)->text(), values->item(r, 4)->text(),
                                 values->item(r, 5)->text())
                            .toLatin1();
            window->findChild<QPushButton *>(QStringLiteral("batchGenerateBtn"))->click();
            QTRY_VERIFY(boxes.texts().contains(QStringLiteral("生成应用代码完成！")));
            const QStringList apps = QDir(dir.path()).entryList({"fullChipTouchPro*"}, QDir::Dirs);
            QCOMPARE(apps.size(), 1);
            const QString app = dir.filePath(apps.first());
            QVERIFY2(readBytes(app + "/User/C/TouchKeyScan.c")
                         .contains("TKChnCfg[TKL_CHN_NUM * TK_CFG_FIELDS] = {\r\n" + rows + "};"),
                     rows);
            QVERIFY(QFileInfo(app + "/BatchReport.pdf").size() > 0);
        }

        // The tool closed between two boards: the log is read again and the count goes on, past
        // a number typed ahead of it.
        closeWindow();
        openWindow();
        window->findChild<QLineEdit *>(QStringLiteral("boardNumberEdit"))
            ->setText(QString::number(kBoards + 2));
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(waitUntil([&] { return boardDone(view); }, 60000));
        QCOMPARE(logged().size(), kBoards + 1);
        QCOMPARE(logged().last().board, QString::number(kBoards + 2));

        // Nobody touches the lit keys: each fails when its second is up.
        finger.stop();
        window->findChild<QSpinBox *>(QStringLiteral("limitRuleSpin3"))->setValue(1);
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(waitUntil([&] { return boardDone(view); }, 60000));
        QCOMPARE(view->verdict(), OperatorView::Verdict::Fail);
        QCOMPARE(logged().last().board, QString::number(kBoards + 3));
        const QStringList untouched = logged().last().reasons;
        QCOMPARE(untouched.size(), 2);
        for (const QString &reason : untouched)
            QVERIFY2(reason.contains(QStringLiteral(" 未在 1 秒内触摸，信号 ")),
                     qPrintable(reason));
        QVERIFY(untouched.first().startsWith(QStringLiteral("TK3 ")));
        followLitKeys(finger, view);

        // The debugger goes in the middle of a board: it is tested again, nothing is logged.
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(
            waitUntil([&] { return view->verdict() == OperatorView::Verdict::Testing; }, 60000));
        SimBoard::unplug();
        QVERIFY(waitUntil([&] { return view->verdict() == OperatorView::Verdict::Repeat; }, 60000));
        QCOMPARE(logged().size(), kBoards + 2);
        SimBoard::plug();
        QVERIFY(waitUntil([&] { return linkStatus() == QStringLiteral("调试器已连接"); }, 60000));

        // A log that cannot be written stops the line before a board is started.
        window->findChild<QLineEdit *>(QStringLiteral("proNameLineEdit"))->setText("blocked");
        QVERIFY(
            QDir(dir.path())
                .mkdir(ProductionLog::fileName(QStringLiteral("blocked"), QDate::currentDate())));
        SimBoard::clearWrittenReports();
        ModalHelper stopped;
        QTest::keyClick(view, Qt::Key_Space);
        QTRY_COMPARE(stopped.titles(), QStringList{QStringLiteral("量产记录无法写入")});
        QCOMPARE(view->verdict(), OperatorView::Verdict::Stopped);
        QVERIFY(SimBoard::writtenReports().isEmpty());
        closeWindow();
    }

    // A limit typed for one key, then given to every key, is the project's after a restart; an
    // emptied cell gives the derived limit back.
    void limitsSetByHandAreKeptWithTheProject()
    {
        SimBoard::reset();
        openWindow();
        window->findChild<QTabWidget *>(QStringLiteral("productionTWidget"))->setCurrentIndex(1);
        auto *table = window->findChild<QTableWidget *>(QStringLiteral("limitsTable"));
        const auto cell = [&table](int row) { return table->item(row, 5)->text(); };
        QCOMPARE(cell(0), QStringLiteral("1700"));
        table->item(1, 5)->setText(QStringLiteral("1800"));
        QTRY_VERIFY(table->item(1, 5)->font().bold());
        table->setCurrentCell(1, 5);
        window->findChild<QPushButton *>(QStringLiteral("applyLimitToAllBtn"))->click();
        QTRY_COMPARE(cell(0), QStringLiteral("1800"));
        window->close();
        closeWindow();
        openWindow();
        window->findChild<QTabWidget *>(QStringLiteral("productionTWidget"))->setCurrentIndex(1);
        table = window->findChild<QTableWidget *>(QStringLiteral("limitsTable"));
        QCOMPARE(cell(0), QStringLiteral("1800"));
        QVERIFY(table->item(0, 5)->font().bold());
        table->item(0, 5)->setText(QString());
        QTRY_COMPARE(cell(0), QStringLiteral("1700"));
        QVERIFY(!table->item(0, 5)->font().bold());
        closeWindow();
    }
};

QTEST_MAIN(TestProductionLine)
#include "tst_productionline.moc"
