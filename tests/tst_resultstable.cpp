#include "tuning/resultstable.h"
#include "tuning/tuningstate.h"

#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QStringList names()
{
    QStringList list;
    for (int n = 0; n < 25; ++n)
        list << QStringLiteral("TK%1").arg(n);
    return list;
}

QString cell(const QTableWidget &table, int row, int column)
{
    const QTableWidgetItem *item = table.item(row, column);
    return item ? item->text() : QString();
}

void fill(int *samples, int value)
{
    for (int i = 0; i < 162; ++i)
        samples[i] = value;
}
} // namespace

class TestResultsTable : public QObject
{
    Q_OBJECT

private:
    QTableWidget table;
    TuningState state;
    ResultsTable results{&table, state, names()};

private slots:
    void init()
    {
        state = TuningState();
        table.clear();
        results.setup();
    }

    void setupGivesRowsHeaderAndFont()
    {
        QCOMPARE(table.rowCount(), 32);
        QCOMPARE(table.columnCount(), 6);
        const QStringList labels = {QStringLiteral("键名"),        QStringLiteral("不触摸\r\n(#)"),
                                    QStringLiteral("触摸\r\n(#)"), QStringLiteral("防水\r\n(#)"),
                                    QStringLiteral("TK\r\n(#)"),   QStringLiteral("KEY\r\n(#)")};
        for (int c = 0; c < 6; ++c)
            QCOMPARE(table.horizontalHeaderItem(c)->text(), labels.at(c));
        QVERIFY(table.horizontalHeader()->stretchLastSection());
        QVERIFY(!table.horizontalHeader()->highlightSections());
        QCOMPARE(table.font().family(), QStringLiteral("song"));
        QCOMPARE(table.font().pointSize(), 12);
        QCOMPARE(table.horizontalHeader()->font().family(), QStringLiteral("song"));
    }

    void rowsFollowTheOrderOfFirstTest()
    {
        state.testedChannels[0] = 4; // TK3 first
        state.testedChannels[1] = 1; // then TK0
        state.noTouchSum = 162 * 2000;
        state.touchSum = 162 * 2600;
        state.currentChannel = 3;
        results.writeTouchResults();
        state.currentChannel = 0;
        state.touchSum = 162 * 2700;
        results.writeTouchResults();
        QCOMPARE(cell(table, 0, 0), QStringLiteral("TK3"));
        QCOMPARE(cell(table, 0, 2), QStringLiteral("2600"));
        QCOMPARE(cell(table, 1, 0), QStringLiteral("TK0"));
        QCOMPARE(cell(table, 1, 2), QStringLiteral("2700"));

        // A second test of TK3 rewrites its own row.
        state.currentChannel = 3;
        state.touchSum = 162 * 2800;
        results.writeTouchResults();
        QCOMPARE(cell(table, 0, 2), QStringLiteral("2800"));
        QCOMPARE(cell(table, 2, 0), QString());
        QCOMPARE(table.item(0, 1)->textAlignment(), int(Qt::AlignHCenter | Qt::AlignVCenter));
    }

    void meansAreTruncated_data()
    {
        QTest::addColumn<int>("sum");
        QTest::addColumn<QString>("mean");
        QTest::newRow("all 2000") << 162 * 2000 << QStringLiteral("2000");
        QTest::newRow("one 1999") << 161 * 2000 + 1999 << QStringLiteral("1999");
        QTest::newRow("largest") << 162 * 65535 << QStringLiteral("65535");
        QTest::newRow("zero") << 0 << QStringLiteral("0");
    }

    void meansAreTruncated()
    {
        QFETCH(int, sum);
        QFETCH(QString, mean);
        state.testedChannels[0] = 8;
        state.currentChannel = 7;
        state.noTouchSum = sum;
        state.touchSum = sum;
        state.waterproofSum = sum;
        results.writeTouchResults();
        results.writeWaterproofResults(3);
        QCOMPARE(cell(table, 0, 1), mean);
        QCOMPARE(cell(table, 0, 2), mean);
        QCOMPARE(cell(table, 0, 3), mean);
    }

    void untestedChannelGetsNoRow()
    {
        state.testedChannels[0] = 2;
        state.currentChannel = 5;
        state.noTouchSum = 162 * 2000;
        results.writeTouchResults();
        results.writeWaterproofResults(1);
        state.currentChannel = 100;
        results.writeTouchResults();
        for (int r = 0; r < table.rowCount(); ++r) {
            for (int c = 0; c < table.columnCount(); ++c)
                QVERIFY(!table.item(r, c));
        }
    }

    void waterproofResultsFillOnlyTheirColumns()
    {
        state.testedChannels[0] = 13;
        state.currentChannel = 12;
        state.waterproofSum = 162 * 2050;
        results.writeWaterproofResults(7);
        QCOMPARE(cell(table, 0, 3), QStringLiteral("2050"));
        QCOMPARE(cell(table, 0, 4), QStringLiteral("12"));
        QCOMPARE(cell(table, 0, 5), QStringLiteral("7"));
        QVERIFY(!table.item(0, 0));
        QVERIFY(!table.item(0, 1));
        QVERIFY(!table.item(0, 2));
    }

    void csvFileNameCarriesChannelAndTime()
    {
        const QDateTime when(QDate(2023, 7, 4), QTime(9, 5, 7));
        QCOMPARE(ResultsTable::csvFileName(QStringLiteral("TK5"), when),
                 QStringLiteral("TK5_2023-07-4-09-05-07-data.csv"));
        const QDateTime late(QDate(2024, 12, 25), QTime(23, 59, 58));
        QCOMPARE(ResultsTable::csvFileName(QStringLiteral("TK12"), late),
                 QStringLiteral("TK12_2024-12-25-23-59-58-data.csv"));
    }

    void csvHoldsTheThreeSampleRecords()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/app_Project");
        for (int i = 0; i < 162; ++i) {
            state.noTouchSamples[i] = 2000 + i;
            state.waterproofSamples[i] = 3000 + i;
            state.touchSamples[i] = 4000 + i;
        }
        state.currentChannel = 12;
        QString path;
        // The folder does not exist yet: the export makes it rather than losing the run.
        QVERIFY(results.exportCsv(folder, QDateTime(QDate(2023, 7, 4), QTime(9, 5, 7)), &path));
        QCOMPARE(path, folder + QStringLiteral("/TK12_2023-07-4-09-05-07-data.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QCOMPARE(text.count("\r\n"), 163);
        QCOMPARE(text.count('\n'), 163);
        QVERIFY(text.startsWith("2000,3000,4000\r\n2001,3001,4001\r\n"));
        QVERIFY(text.endsWith("2161,3161,4161\r\n\r\n"));
    }

    void csvReplacesAnOlderFileOfTheSameName()
    {
        QTemporaryDir dir;
        const QDateTime when(QDate(2023, 7, 4), QTime(9, 5, 7));
        const QString path =
            dir.path() + QLatin1Char('/') + ResultsTable::csvFileName(QStringLiteral("TK0"), when);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(20000, 'x'));
        old.close();
        state.currentChannel = 0;
        fill(state.noTouchSamples, 1);
        fill(state.waterproofSamples, 2);
        fill(state.touchSamples, 3);
        QVERIFY(results.exportCsv(dir.path(), when));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QCOMPARE(text.size(), 162 * 7 + 2);
        QVERIFY(!text.contains('x'));
    }

    void csvOfNoChannelWritesNothing()
    {
        QTemporaryDir dir;
        state.currentChannel = 100;
        QVERIFY(!results.exportCsv(dir.path(), QDateTime::currentDateTime()));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_MAIN(TestResultsTable)
#include "tst_resultstable.moc"
