#include "quality/firmwarekeymodel.h"
#include "quality/keyquality.h"
#include "testsupport.h"

#include <QtTest>

Q_DECLARE_METATYPE(ChannelSamples)
Q_DECLARE_METATYPE(KeyVerdict)

namespace
{
// 162 counts alternating mean - spread and mean + spread: mean, extremes and deviation exact.
QVector<int> alternating(int mean, int spread)
{
    QVector<int> values;
    for (int i = 0; i < 162; ++i)
        values << (i % 2 ? mean + spread : mean - spread);
    return values;
}

ChannelSamples key(int noTouch, int noTouchSpread, int touch, int touchSpread, int water,
                   int waterSpread)
{
    ChannelSamples s;
    s.noTouch = alternating(noTouch, noTouchSpread);
    s.touch = alternating(touch, touchSpread);
    s.water = alternating(water, waterSpread);
    return s;
}
} // namespace

// The figures and verdict of a key and the firmware's key decision on known sequences; the model
// against the firmware itself, compiled for the 8051, is scripts/check-firmware.
class TestKeyQuality : public QObject
{
    Q_OBJECT

private slots:
    void knownAnswers_data()
    {
        QTest::addColumn<ChannelSamples>("samples");
        QTest::addColumn<int>("noise");
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<KeyVerdict>("verdict");
        QTest::addColumn<QStringList>("reasons");
        const auto fail = KeyVerdict::Fail;
        QTest::newRow("zero noise counts as 1") << key(2000, 0, 2300, 0, 2010, 0) << 1 << 300
                                                << 2150 << KeyVerdict::Pass << QStringList();
        QTest::newRow("negative signal")
            << key(2000, 5, 1900, 5, 2000, 5) << 10 << -100 << 34718 << fail
            << QStringList{"信号不为正", "触摸最小值未超过阈值"};
        // Swing 55536 wraps the threshold to 60000 + 27768 - 65536, below every count.
        QTest::newRow("negative signal, threshold wraps")
            << key(60000, 5, 50000, 5, 60000, 5) << 10 << -10000 << 22232 << fail
            << QStringList{"信号不为正", "防水最大值达到阈值"};
        QTest::newRow("SNR 4.95 just below 5") << key(2000, 10, 2099, 10, 2000, 10) << 20 << 99
                                               << 2049 << fail << QStringList{"信噪比低于5:1"};
        QTest::newRow("SNR 5.05 just above 5")
            << key(2000, 10, 2101, 10, 2000, 10) << 20 << 101 << 2050 << KeyVerdict::Caution
            << QStringList{"信噪比低于10:1"};
        QTest::newRow("SNR exactly 10 passes") << key(2000, 10, 2200, 10, 2000, 10) << 20 << 200
                                               << 2100 << KeyVerdict::Pass << QStringList();
        QTest::newRow("water maximum one below the threshold")
            << key(2000, 2, 2300, 2, 2145, 4) << 4 << 300 << 2150 << KeyVerdict::Pass
            << QStringList();
        QTest::newRow("water maximum reaching the threshold")
            << key(2000, 2, 2300, 2, 2146, 4) << 4 << 300 << 2150 << fail
            << QStringList{"防水最大值达到阈值"};
        QTest::newRow("water shift of half the swing keeps the half threshold")
            << key(2000, 2, 2300, 2, 2150, 2) << 4 << 300 << 2150 << fail
            << QStringList{"防水最大值达到阈值", "防水偏移达到信号的一半"};
        QTest::newRow("water shift above half the swing: three quarters")
            << key(2000, 2, 2300, 2, 2151, 2) << 4 << 300 << 2225 << KeyVerdict::Caution
            << QStringList{"防水偏移达到信号的一半"};
        QTest::newRow("touched minimum not above the threshold")
            << key(2000, 2, 2300, 150, 2000, 2) << 4 << 300 << 2150 << fail
            << QStringList{"触摸最小值未超过阈值"};
    }

    void knownAnswers()
    {
        QFETCH(ChannelSamples, samples);
        QFETCH(int, threshold);
        QFETCH(KeyVerdict, verdict);
        const KeyQuality q = KeyQuality::of(samples);
        QTEST(*q.noise, "noise");
        QTEST(*q.signal, "signal");
        QCOMPARE(*q.threshold, threshold);
        QCOMPARE(*q.touchMargin, q.touch->minimum - threshold);
        QCOMPARE(*q.noTouchMargin, threshold - q.noTouch->maximum);
        QCOMPARE(*q.waterMargin, threshold - q.water->maximum);
        QCOMPARE(*q.verdict, verdict);
        QTEST(q.reasons, "reasons");
    }

    void figuresAndTexts()
    {
        // Truncated as the results table shows it: 161 x 2000 and one 1999 give 1999.
        QVector<int> counts(162, 2000);
        counts[7] = 1999;
        const PhaseFigures f = PhaseFigures::of(counts);
        QCOMPARE((QVector<int>{f.mean, f.minimum, f.maximum}), (QVector<int>{1999, 1999, 2000}));
        QCOMPARE(PhaseFigures::of(alternating(2000, 10)).standardDeviation, 10.0);

        QCOMPARE(KeyQuality::of(key(2000, 0, 2300, 0, 2010, 0)).logLine("TK3"),
                 QString("TK3：噪声 1，信号 300，信噪比 300.0:1，防水偏移 3%，合格"));
        // Swing 99: a shift of 50 is above half of it, so three quarters: 2000 + 99 - 24.
        const KeyQuality poor = KeyQuality::of(key(2000, 10, 2099, 10, 2050, 10));
        QCOMPARE(poor.logLine("TK7"), QString("TK7：噪声 20，信号 99，信噪比 4.9:1，防水偏移 50%，"
                                              "不合格（信噪比低于5:1、防水偏移达到信号的一半）"));
        const QStringList tip = poor.toolTip("TK7").split('\n');
        QCOMPARE(tip.value(0), QString("TK7：不合格（信噪比低于5:1、防水偏移达到信号的一半）"));
        QVERIFY(tip.contains("不触摸：均值 2000，最小 1990，最大 2010，标准差 10.0"));
        QVERIFY(tip.contains("防水偏移 50（信号的 50%）"));
        QVERIFY(tip.contains("阈值 2075"));
        QVERIFY(tip.contains("余量：触摸 14，不触摸 65，防水 15"));

        // Without a positive signal the shift is told in counts.
        QCOMPARE(KeyQuality::of(key(2000, 5, 1900, 5, 2030, 5)).logLine("TK0"),
                 QString("TK0：噪声 10，信号 -100，信噪比 -10.0:1，防水偏移 30，不合格"
                         "（信号不为正、触摸最小值未超过阈值）"));
    }

    void missingPhasesLeaveFiguresAbsent()
    {
        ChannelSamples s = key(2000, 10, 2099, 10, 2050, 10);
        s.water.removeLast(); // a phase cut short counts as not measured
        const KeyQuality q = KeyQuality::of(s);
        QVERIFY(q.noTouch && q.touch && !q.water && q.snr && !q.waterShift && !q.threshold);
        QVERIFY(!q.verdict && !q.touchMargin && q.reasons.isEmpty() && q.verdictText().isEmpty());
        QCOMPARE(q.logLine("TK3"), QString("TK3：噪声 20，信号 99，信噪比 4.9:1，防水偏移 未测"));
        QVERIFY(q.toolTip("TK3").contains("阈值 未测"));
        QVERIFY(!FirmwareKeyModel::forKey(q));

        const KeyQuality none = KeyQuality::of(ChannelSamples());
        QCOMPARE(none.logLine("TK3"),
                 QString("TK3：噪声 未测，信号 未测，信噪比 未测，防水偏移 未测"));
        s.water = alternating(2050, 10);
        QCOMPARE(FirmwareKeyModel::forKey(KeyQuality::of(s))->threshold(), 2075);
    }

    void firmwareDecisionOnKnownSequences_data()
    {
        QTest::addColumn<QVector<int>>("counts");
        QTest::addColumn<QVector<int>>("pressedAt");
        // Means 2000 / 2300 / 2010: threshold 2150.
        QVector<int> finger(5, 2000);
        finger << QVector<int>(6, 2300) << 2000 << 2151 << 2151 << 2150 << 2151 << 2151 << 2151
               << 2151;
        QTest::newRow("finger, release, count at the threshold")
            << finger << QVector<int>{8, 9, 10, 18};
        QVector<int> water;
        for (int i = 0; i < 400; ++i)
            water << 2010 + (i % 5) * 30; // up to 2130, below the threshold however the base drifts
        QTest::newRow("water only") << water << QVector<int>{};
    }

    // The press on the fourth record above the threshold, a release at once.
    void firmwareDecisionOnKnownSequences()
    {
        QFETCH(QVector<int>, counts);
        QFETCH(QVector<int>, pressedAt);
        FirmwareKeyModel model(2000, 2300, 2010);
        QVector<int> modelPressed;
        for (int i = 0; i < counts.size(); ++i) {
            if (model.feed(quint16(counts.at(i))))
                modelPressed << i;
        }
        QCOMPARE(modelPressed, pressedAt);
    }
};

QTEST_MAIN(TestKeyQuality)
#include "tst_keyquality.moc"
