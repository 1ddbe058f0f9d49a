#include "testsupport.h"
#include "tuning/resultstable.h"

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

// 162 samples from first, each the next one step higher (step 0: all first).
QVector<int> ramp(int first, int step = 0)
{
    QVector<int> samples;
    for (int i = 0; i < 162; ++i)
        samples << first + i * step;
    return samples;
}

ChannelSamples measured(int noTouch, int touch, int water)
{
    return {ramp(noTouch), ramp(touch), ramp(water)};
}
} // namespace

class TestResultsTable : public QObject
{
    Q_OBJECT

private:
    QTableWidget table;
    ResultsTable results{&table, names()};

private slots:
    void init()
    {
        table.clear();
        results.setup();
        results.clearResults();
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
        QCOMPARE(results.assignRow(3), 0); // TK3 first
        QCOMPARE(results.assignRow(0), 1); // then TK0
        results.writeTouchResults(3, measured(2000, 2600, 0));
        results.writeTouchResults(0, measured(2000, 2700, 0));
        QCOMPARE(cell(table, 0, 0), QStringLiteral("TK3"));
        QCOMPARE(cell(table, 0, 2), QStringLiteral("2600"));
        QCOMPARE(cell(table, 1, 0), QStringLiteral("TK0"));
        QCOMPARE(cell(table, 1, 2), QStringLiteral("2700"));

        // A second test of TK3 rewrites its own row.
        QCOMPARE(results.assignRow(3), 0);
        results.writeTouchResults(3, measured(2000, 2800, 0));
        QCOMPARE(cell(table, 0, 2), QStringLiteral("2800"));
        QCOMPARE(cell(table, 2, 0), QString());
        QCOMPARE(table.item(0, 1)->textAlignment(), int(Qt::AlignHCenter | Qt::AlignVCenter));
    }

    void meansAreTruncated_data()
    {
        QTest::addColumn<QVector<int>>("samples");
        QTest::addColumn<QString>("mean");
        QTest::newRow("all 2000") << ramp(2000) << QStringLiteral("2000");
        QVector<int> oneLower = ramp(2000);
        oneLower[7] = 1999;
        QTest::newRow("one 1999") << oneLower << QStringLiteral("1999");
        QTest::newRow("largest") << ramp(65535) << QStringLiteral("65535");
        QTest::newRow("zero") << ramp(0) << QStringLiteral("0");
    }

    void meansAreTruncated()
    {
        QFETCH(QVector<int>, samples);
        QFETCH(QString, mean);
        QCOMPARE(results.assignRow(7), 0);
        results.writeTouchResults(7, {samples, samples, samples});
        results.writeWaterproofResults(7, {samples, samples, samples}, 3);
        QCOMPARE(cell(table, 0, 1), mean);
        QCOMPARE(cell(table, 0, 2), mean);
        QCOMPARE(cell(table, 0, 3), mean);
    }

    void untestedChannelGetsNoRow()
    {
        QCOMPARE(results.assignRow(1), 0);
        results.writeTouchResults(5, measured(2000, 2000, 2000));
        results.writeWaterproofResults(5, measured(2000, 2000, 2000), 1);
        results.writeTouchResults(100, measured(2000, 2000, 2000));
        QCOMPARE(results.assignRow(100), -1);
        for (int r = 0; r < table.rowCount(); ++r) {
            for (int c = 0; c < table.columnCount(); ++c)
                QVERIFY(!table.item(r, c));
        }
    }

    void waterproofResultsFillOnlyTheirColumns()
    {
        QCOMPARE(results.assignRow(12), 0);
        results.writeWaterproofResults(12, measured(0, 0, 2050), 7);
        QCOMPARE(cell(table, 0, 3), QStringLiteral("2050"));
        QCOMPARE(cell(table, 0, 4), QStringLiteral("12"));
        QCOMPARE(cell(table, 0, 5), QStringLiteral("7"));
        QVERIFY(!table.item(0, 0));
        QVERIFY(!table.item(0, 1));
        QVERIFY(!table.item(0, 2));
    }

    // Rows filled from a project file belong to the channels they name; a new channel takes the
    // first row that holds nothing, not a row of unknown content.
    void loadedRowsAreAdopted()
    {
        const QStringList rows[] = {{"TK5", "2000", "2300", "", "", ""},
                                    {"", "", "", "2030", "9", "4"},
                                    {"junk", "1", "2", "3", "", ""},
                                    {"TK5", "1", "1", "1", "5", "1"}};
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 6; ++column)
                table.setItem(row, column, new QTableWidgetItem(rows[row].at(column)));
        }
        results.adoptLoadedRows();
        QCOMPARE(results.rowOf(5), 0);
        QCOMPARE(results.rowOf(9), 1);
        QCOMPARE(results.channelOfRow(2), -1);
        QCOMPARE(results.assignRow(2), 4);
        results.clearResults();
        QCOMPARE(results.rowOf(5), -1);
        QCOMPARE(results.assignRow(2), 0);
        QVERIFY(!table.item(0, 0));
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

    // One file per channel with that channel's own samples; a phase never measured is left empty
    // rather than written as zeros that look like counts.
    void csvHoldsEachChannelsOwnSamples()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/app_Project");
        SampleStore store;
        store.set(12, SamplePhase::NoTouch, ramp(2000, 1));
        store.set(12, SamplePhase::Water, ramp(3000, 1));
        store.set(12, SamplePhase::Touch, ramp(4000, 1));
        store.set(3, SamplePhase::Water, ramp(2039));
        QStringList written;
        // The folder does not exist yet: the export makes it rather than losing the run.
        QVERIFY(results.exportCsv(folder, QDateTime(QDate(2023, 7, 4), QTime(9, 5, 7)), {12, 3},
                                  store, &written));
        QCOMPARE(written, (QStringList{folder + "/TK12_2023-07-4-09-05-07-data.csv",
                                       folder + "/TK3_2023-07-4-09-05-07-data.csv"}));
        const QByteArray full = testsupport::readBytes(written.at(0));
        QCOMPARE(full.count("\r\n"), 163);
        QCOMPARE(full.count('\n'), 163);
        QVERIFY(full.startsWith("2000,3000,4000\r\n2001,3001,4001\r\n"));
        QVERIFY(full.endsWith("2161,3161,4161\r\n\r\n"));
        QCOMPARE(testsupport::readBytes(written.at(1)),
                 QByteArray(",2039,\r\n").repeated(162) + "\r\n");
    }

    void csvReplacesAnOlderFileOfTheSameName()
    {
        QTemporaryDir dir;
        const QDateTime when(QDate(2023, 7, 4), QTime(9, 5, 7));
        const QString path =
            dir.path() + QLatin1Char('/') + ResultsTable::csvFileName(QStringLiteral("TK0"), when);
        testsupport::writeBytes(path, QByteArray(20000, 'x'));
        SampleStore store;
        store.set(0, SamplePhase::NoTouch, ramp(1));
        store.set(0, SamplePhase::Water, ramp(2));
        store.set(0, SamplePhase::Touch, ramp(3));
        QVERIFY(results.exportCsv(dir.path(), when, {0}, store));
        QCOMPARE(testsupport::readBytes(path), QByteArray("1,2,3\r\n").repeated(162) + "\r\n");
    }

    // A folder that cannot be made names the file that failed, and nothing is left behind.
    void csvThatCannotBeWrittenIsReported()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath("file");
        testsupport::writeBytes(blocker, "x");
        SampleStore store;
        store.set(4, SamplePhase::Water, ramp(2000));
        QString failed;
        const QDateTime when(QDate(2023, 7, 4), QTime(9, 5, 7));
        QVERIFY(!results.exportCsv(blocker + "/sub", when, {4}, store, nullptr, &failed));
        QCOMPARE(failed, blocker + "/sub/TK4_2023-07-4-09-05-07-data.csv");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"file"});
    }
};

QTEST_MAIN(TestResultsTable)
#include "tst_resultstable.moc"
