#include "quality/capturecheck.h"
#include "quality/couplingmatrix.h"
#include "quality/firmwarekeymodel.h"
#include "quality/keypreview.h"
#include "quality/keyquality.h"
#include "quality/keysuggestion.h"
#include "quality/streamnumbers.h"
#include "testsupport.h"

#include <QtTest>

#include <algorithm>
#include <array>

Q_DECLARE_METATYPE(ChannelSamples)
Q_DECLARE_METATYPE(KeyVerdict)
Q_DECLARE_METATYPE(KeySettings)

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

// Runs of (count, mean) one after the other, each alternating mean - spread and mean + spread.
QVector<int> runs(std::initializer_list<std::pair<int, int>> parts, int spread = 3)
{
    QVector<int> values;
    for (const auto &part : parts) {
        for (int i = 0; i < part.first; ++i)
            values << (i % 2 ? part.second + spread : part.second - spread);
    }
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

// The defaults with some fields changed: {field, value} pairs.
KeySettings settings(std::initializer_list<std::pair<KeySettings::Field, int>> changes)
{
    KeySettings s;
    for (const auto &[field, value] : changes)
        s.setValue(field, value);
    return s;
}

// A second of the firmware's clock in a sequence of counts.
constexpr int kSecond = -1;
using F = KeySettings::Field;
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
        QTest::addColumn<KeySettings>("settings");
        QTest::addColumn<int>("noise");
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("release");
        QTest::addColumn<KeyVerdict>("verdict");
        QTest::addColumn<QStringList>("reasons");
        const auto fail = KeyVerdict::Fail;
        const KeySettings defaults;
        // Swing 300: press 150 and release 120 above the untouched mean.
        QTest::newRow("zero noise counts as 1")
            << key(2000, 0, 2300, 0, 2010, 0) << defaults << 1 << 300 << 2150 << 2120
            << KeyVerdict::Pass << QStringList();
        // A touch below the untouched mean never presses: both thresholds at 65535.
        QTest::newRow("negative signal")
            << key(2000, 5, 1900, 5, 2000, 5) << defaults << 10 << -100 << 65535 << 65535 << fail
            << QStringList{"信号不为正", "触摸最小值未超过按下阈值"};
        QTest::newRow("negative signal near the top of the counts")
            << key(60000, 5, 50000, 5, 60000, 5) << defaults << 10 << -10000 << 65535 << 65535
            << fail << QStringList{"信号不为正", "触摸最小值未超过按下阈值"};
        // Swing 99: 49 and 9 of it, rounded down.
        QTest::newRow("SNR 4.95 just below 5")
            << key(2000, 10, 2099, 10, 2000, 10) << defaults << 20 << 99 << 2049 << 2040 << fail
            << QStringList{"信噪比低于5:1"};
        QTest::newRow("SNR 5.05 just above 5")
            << key(2000, 10, 2101, 10, 2000, 10) << defaults << 20 << 101 << 2050 << 2040
            << KeyVerdict::Caution << QStringList{"信噪比低于10:1"};
        QTest::newRow("SNR exactly 10 passes")
            << key(2000, 10, 2200, 10, 2000, 10) << defaults << 20 << 200 << 2100 << 2080
            << KeyVerdict::Pass << QStringList();
        QTest::newRow("water maximum one below the release threshold")
            << key(2000, 2, 2300, 2, 2115, 4) << defaults << 4 << 300 << 2150 << 2120
            << KeyVerdict::Pass << QStringList();
        QTest::newRow("water maximum reaching the release threshold")
            << key(2000, 2, 2300, 2, 2116, 4) << defaults << 4 << 300 << 2150 << 2120 << fail
            << QStringList{"防水最大值达到释放阈值"};
        QTest::newRow("water shift of half the swing keeps the press position")
            << key(2000, 2, 2300, 2, 2150, 2) << defaults << 4 << 300 << 2150 << 2120 << fail
            << QStringList{"防水最大值达到释放阈值", "防水偏移达到信号的一半"};
        QTest::newRow("water shift above half the swing: three quarters")
            << key(2000, 2, 2300, 2, 2151, 2) << defaults << 4 << 300 << 2225 << 2195
            << KeyVerdict::Caution << QStringList{"防水偏移达到信号的一半"};
        QTest::newRow("water floor switched off knowingly")
            << key(2000, 2, 2300, 2, 2151, 2) << settings({{F::WaterFloor, 0}}) << 4 << 300 << 2150
            << 2120 << fail
            << QStringList{"防水最大值达到释放阈值", "防水偏移达到信号的一半", "防水下限已关闭"};
        QTest::newRow("a press position above the floor stays")
            << key(2000, 2, 2300, 2, 2151, 2) << settings({{F::Press, 80}}) << 4 << 300 << 2240
            << 2210 << KeyVerdict::Caution << QStringList{"防水偏移达到信号的一半"};
        QTest::newRow("touched minimum not above the press threshold")
            << key(2000, 2, 2300, 150, 2000, 2) << defaults << 4 << 300 << 2150 << 2120 << fail
            << QStringList{"触摸最小值未超过按下阈值"};
        QTest::newRow("press at 90 % reaches the touched minimum")
            << key(2000, 2, 2300, 30, 2010, 2) << settings({{F::Press, 90}}) << 4 << 300 << 2270
            << 2240 << fail << QStringList{"触摸最小值未超过按下阈值"};
        // A hysteresis as large as the press position leaves the release threshold a hundredth
        // of the swing above the untouched mean, never on it.
        QTest::newRow("hysteresis 50 % releases a hundredth above the untouched mean")
            << key(2000, 3, 2300, 2, 2000, 3) << settings({{F::Hysteresis, 50}}) << 6 << 300 << 2150
            << 2003 << fail << QStringList{"不触摸最大值达到释放阈值", "防水最大值达到释放阈值"};
        QTest::newRow("hysteresis beyond the press position stops above the base")
            << key(2000, 3, 2300, 0, 2000, 3) << settings({{F::Press, 10}, {F::Hysteresis, 50}})
            << 6 << 300 << 2030 << 2003 << fail
            << QStringList{"不触摸最大值达到释放阈值", "防水最大值达到释放阈值"};
    }

    void knownAnswers()
    {
        QFETCH(ChannelSamples, samples);
        QFETCH(KeySettings, settings);
        QFETCH(int, press);
        QFETCH(int, release);
        QFETCH(KeyVerdict, verdict);
        const KeyQuality q = KeyQuality::of(samples, {}, settings);
        QTEST(*q.noise, "noise");
        QTEST(*q.signal, "signal");
        QCOMPARE(*q.pressThreshold, press);
        QCOMPARE(*q.releaseThreshold, release);
        QCOMPARE(*q.touchMargin, q.touch->minimum - press);
        QCOMPARE(*q.noTouchMargin, release - q.noTouch->maximum);
        QCOMPARE(*q.waterMargin, release - q.water->maximum);
        QCOMPARE(*q.verdict, verdict);
        QTEST(q.reasons, "reasons");
        // The firmware model starts from the same thresholds.
        const std::optional<FirmwareKeyModel> model = FirmwareKeyModel::forKey(q);
        QCOMPARE(model->pressThreshold(), press);
        QCOMPARE(model->releaseThreshold(), release);
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
        QCOMPARE(poor.reasonDetails,
                 (QStringList{"信噪比 4.9:1 低于 5:1", "防水偏移 50% 达到信号的一半"}));
        QCOMPARE(KeyQuality::of(key(60000, 5, 50000, 5, 60000, 5)).reasonDetails,
                 (QStringList{"信号 -10000 不为正", "触摸最小值 49995 未超过按下阈值 65535"}));
        QCOMPARE(KeyQuality::of(key(2000, 2, 2300, 150, 2000, 2)).reasonDetails,
                 QStringList{"触摸最小值 2150 未超过按下阈值 2150"});
        const QStringList tip = poor.toolTip("TK7").split('\n');
        QCOMPARE(tip.value(0), QString("TK7：不合格（信噪比低于5:1、防水偏移达到信号的一半）"));
        QVERIFY(tip.contains("不触摸：均值 2000，最小 1990，最大 2010，标准差 10.0"));
        QVERIFY(tip.contains("防水偏移 50（信号的 50%）"));
        // Swing 99: the water rule's 75 (99 - 99 / 4) and 9 below it; margins as shares of 99.
        QVERIFY(tip.contains(
            "设置：按下位置 50%，迟滞 10%，消抖 3 次（第 4 次扫描按下），最长按下 20 秒，"
            "防水下限 开"));
        QVERIFY(tip.contains("按下阈值 2075，释放阈值 2066"));
        QVERIFY(tip.contains("余量：触摸 14（14%），不触摸 56（56%），防水 6（6%）"));

        // Signal and ratio from the exact means: 1 x 1995 and 161 x 2001 average 2000.96, so the
        // signal is 29.04 and the ratio 4.84, not 30 / 6 = 5.0 from the truncated 2000.
        ChannelSamples exact = key(2001, 0, 2030, 0, 2001, 0);
        exact.noTouch[0] = 1995;
        QCOMPARE(
            KeyQuality::of(exact).logLine("TK1"),
            QString("TK1：噪声 6，信号 29，信噪比 4.8:1，防水偏移 0%，不合格（信噪比低于5:1）"));
        // A shift of 29 on a signal of 50 is 58% (0.58 * 100 is 57.99... in floating point).
        QCOMPARE(KeyQuality::of(key(2000, 0, 2050, 0, 2029, 0)).waterShareText(), QString("58%"));

        // Without a positive signal the shift is told in counts.
        QCOMPARE(KeyQuality::of(key(2000, 5, 1900, 5, 2030, 5)).logLine("TK0"),
                 QString("TK0：噪声 10，信号 -100，信噪比 -10.0:1，防水偏移 30，不合格"
                         "（信号不为正、触摸最小值未超过按下阈值）"));
    }

    void missingPhasesLeaveFiguresAbsent()
    {
        ChannelSamples s = key(2000, 10, 2099, 10, 2050, 10);
        s.water.removeLast(); // a phase cut short counts as not measured
        const KeyQuality q = KeyQuality::of(s);
        QVERIFY(q.noTouch && q.touch && !q.water && q.snr && !q.waterShift && !q.pressThreshold);
        QVERIFY(!q.verdict && !q.touchMargin && q.reasons.isEmpty() && q.verdictText().isEmpty());
        QCOMPARE(q.logLine("TK3"), QString("TK3：噪声 20，信号 99，信噪比 4.9:1，防水偏移 未测"));
        QVERIFY(q.toolTip("TK3").contains("按下阈值 未测，释放阈值 未测"));
        QVERIFY(!FirmwareKeyModel::forKey(q));

        const KeyQuality none = KeyQuality::of(ChannelSamples());
        QCOMPARE(none.logLine("TK3"),
                 QString("TK3：噪声 未测，信号 未测，信噪比 未测，防水偏移 未测"));
        s.water = alternating(2050, 10);
        QCOMPARE(FirmwareKeyModel::forKey(KeyQuality::of(s))->pressThreshold(), 2075);
    }

    // The firmware's key flags: TK2 and TK6 share key 3, so in a scan of the table in channel
    // order TK6 clears what TK2 set; TK6's own press sets the bit after TK2 cleared it, and both
    // show it. Key 0 has no bit at all. Means 2000 / 2300 / 2010: threshold 2150.
    void previewFollowsTheFirmwaresKeyBits()
    {
        const KeyMeans means{2000, 2300, 2010};
        KeyPreview preview;
        preview.reset({{2, 3, means}, {6, 3, means}, {4, 0, means}, {9, 1, means}});
        const auto scan = [&](std::initializer_list<int> fingers, int records) {
            QByteArray record(51, '\0');
            record[0] = 0x36;
            for (int k = 0; k < 25; ++k) {
                const int count = std::count(fingers.begin(), fingers.end(), k) ? 2300 : 2000;
                record[1 + 2 * k] = char(count >> 8);
                record[2 + 2 * k] = char(count & 0xFF);
            }
            QList<int> changed;
            for (int r = 0; r < records; ++r)
                changed += preview.feed(record, r);
            return changed;
        };
        QCOMPARE(scan({2, 4, 9}, 10), QList<int>{9});
        QVERIFY(!preview.pressed(2) && !preview.pressed(6) && !preview.pressed(4));
        QCOMPARE(scan({6}, 3), QList<int>{9});
        QCOMPARE(scan({6}, 1), (QList<int>{2, 6}));
        QVERIFY(preview.pressed(2) && preview.pressed(6));
        // A record cut short is no scan.
        QVERIFY(preview.feed(QByteArray(7, '\0'), 0).isEmpty());
    }

    void doubtfulCaptures_data()
    {
        QTest::addColumn<QVector<int>>("noTouch");
        QTest::addColumn<QVector<int>>("touch");
        QTest::addColumn<QVector<int>>("water");
        QTest::addColumn<QString>("noTouchDoubt");
        QTest::addColumn<QString>("touchDoubt");
        QTest::addColumn<QString>("waterDoubt");
        const QVector<int> dry = runs({{162, 2000}}); // noise 6
        const QVector<int> wet = runs({{162, 2030}});
        const QString touched = "测量中有触摸";
        const QString step = "手指中途按下或离开";
        const QString late = "水在测量中途加上或擦去";
        const QString none;
        QTest::newRow("finger and water all along")
            << dry << runs({{162, 2300}}) << wet << none << none << none;
        QTest::newRow("no finger") << dry << dry << wet << none << "信噪比 0.0:1" << none;
        QTest::newRow("SNR 4.8 is too weak")
            << dry << runs({{162, 2029}}) << wet << none << "信噪比 4.8:1" << none;
        QTest::newRow("SNR 5.0 is a finger")
            << dry << runs({{162, 2030}}) << wet << none << none << none;
        // 2216 instead of 2300: the first quarter untouched, the last one touched.
        QTest::newRow("finger a second late, water late")
            << dry << runs({{45, 2000}, {117, 2300}}) << runs({{60, 2000}, {102, 2030}}) << none
            << step << late;
        QTest::newRow("finger leaving, water drying")
            << dry << runs({{120, 2300}, {42, 2000}}) << runs({{100, 2030}, {62, 2000}}) << none
            << step << late;
        // Ten samples late move the first quarter less than half the signal.
        QTest::newRow("finger ten samples late")
            << dry << runs({{10, 2000}, {152, 2300}}) << runs({{10, 2000}, {152, 2030}}) << none
            << none << none;
        // Without untouched samples the water's quieter end quarter tells the noise.
        QTest::newRow("water late, no untouched samples")
            << QVector<int>() << QVector<int>() << runs({{60, 2000}, {102, 2030}}) << none << none
            << late;
        // A pad that water leaves within its noise: asked about, since it may be immune.
        QTest::newRow("water that did nothing") << dry << runs({{162, 2300}}) << runs({{162, 2005}})
                                                << none << none << "未检测到水的影响";
        // A finger on the key while it was not to be touched, in the middle or lifted early: the
        // touch phase would take the blame.
        const QVector<int> soaked = runs({{162, 2500}});
        QTest::newRow("finger in the no-touch phase")
            << runs({{60, 2000}, {60, 2300}, {42, 2000}}) << runs({{162, 2300}}) << soaked
            << touched << "信噪比 0.6:1" << none;
        QTest::newRow("finger lifted in the no-touch phase")
            << runs({{80, 2300}, {82, 2000}}) << runs({{162, 2300}}) << soaked << touched
            << "信噪比 0.4:1" << none;
        // A count that wanders by four times its noise is still the board's.
        QTest::newRow("noise within its bounds")
            << runs({{81, 2000}, {81, 2018}}) << runs({{162, 2300}}) << soaked << none << none
            << none;
    }

    // A capture is judged from its own samples and the channel's untouched ones.
    void doubtfulCaptures()
    {
        QFETCH(QVector<int>, noTouch);
        QFETCH(QVector<int>, touch);
        QFETCH(QVector<int>, water);
        QTEST(CaptureCheck::noTouchDoubt(noTouch), "noTouchDoubt");
        QTEST(CaptureCheck::touchDoubt(noTouch, touch), "touchDoubt");
        QTEST(CaptureCheck::waterDoubt(noTouch, water), "waterDoubt");
        // Measured against the channel's earlier untouched samples, a usual noise of 300 hides a
        // finger as well as it hides the board.
        QCOMPARE(CaptureCheck::noTouchDoubt(noTouch, runs({{81, 2000}, {81, 2300}}, 0)), QString());
    }

    void firmwareDecisionOnKnownSequences_data()
    {
        QTest::addColumn<KeySettings>("settings");
        QTest::addColumn<QVector<int>>("counts"); // kSecond: a second of the firmware's clock
        QTest::addColumn<QVector<int>>("pressedAt");
        QTest::addColumn<int>("baseAfter");
        // Means 2000 / 2300 / 2010: press 150 above the base, release 120 with the defaults.
        const KeySettings quick = settings({{F::Debounce, 1}, {F::Hysteresis, 0}});
        // A finger resting at the threshold, its count 2140 and 2160 by turns; each release lets
        // the base follow one count.
        const QVector<int> resting = {2000, 2160, 2160, 2140, 2160, 2160, 2140, 2160, 2160};
        QTest::newRow("chatter at the threshold without hysteresis")
            << quick << resting << QVector<int>{2, 5, 8} << 2002;
        QTest::newRow("hysteresis holds the resting finger")
            << settings({{F::Debounce, 1}}) << resting << QVector<int>{2, 3, 4, 5, 6, 7, 8} << 2000;
        // Three records above, one at the threshold (the base follows it), then four above.
        QTest::newRow("press on the record after the debounce's")
            << KeySettings() << QVector<int>{2160, 2160, 2160, 2150, 2160, 2160, 2160, 2160}
            << QVector<int>{7} << 2001;
        // Press 30 above the base, a hysteresis of 90: the release threshold stays 3 (a
        // hundredth of the swing) above the base, and a pad resting a count above it releases.
        QTest::newRow("hysteresis beyond the press position still releases")
            << settings({{F::Press, 10}, {F::Hysteresis, 30}})
            << QVector<int>{2300, 2300, 2300, 2300, 2001, 2001} << QVector<int>{3} << 2001;
        QTest::newRow("debounce 15")
            << settings({{F::Debounce, 15}}) << QVector<int>(16, 2300) << QVector<int>{15} << 2000;
        // Pressed at record 3; the third second finds it held for its two and releases it, its
        // count the new base, so the object resting there presses nothing more.
        QTest::newRow("stuck key released after its longest press")
            << settings({{F::MaxPress, 2}})
            << QVector<int>{2300, 2300,    2300, 2300, kSecond, 2300, kSecond,
                            2300, kSecond, 2300, 2300, 2300,    2300, 2300}
            << QVector<int>{3, 4, 5} << 2300;
        QTest::newRow("no longest press: held for ever")
            << settings({{F::MaxPress, 0}})
            << QVector<int>{2300, 2300, 2300, 2300, kSecond, 2300, kSecond, 2300, kSecond, 2300}
            << QVector<int>{3, 4, 5, 6} << 2000;
        // The pad reads 200 below the base it started with: three records that far below take
        // the base down at once, and a finger presses again.
        QTest::newRow("quick recovery downwards")
            << KeySettings() << QVector<int>{1800, 1800, 1800, 2100, 2100, 2100, 2100}
            << QVector<int>{6} << 1800;
        QTest::newRow("one low count is drift, not recovery")
            << KeySettings() << QVector<int>{1800, 2000, 1800, 1800, 2000} << QVector<int>{}
            << 1999;
        // Within the hysteresis (30) below the base, the base follows by one count.
        QTest::newRow("slow drift within the hysteresis")
            << KeySettings() << QVector<int>{1971, 1971, 1971, 1971} << QVector<int>{} << 1996;
        QVector<int> water;
        for (int i = 0; i < 400; ++i)
            water << 2010 + (i % 5) * 30; // up to 2130, below the threshold however the base drifts
        // The base settles where a round of the five counts takes it down as far as up.
        QTest::newRow("water only") << KeySettings() << water << QVector<int>{} << 2072;
    }

    // The firmware's decision record by record, pressed state and base.
    void firmwareDecisionOnKnownSequences()
    {
        QFETCH(KeySettings, settings);
        QFETCH(QVector<int>, counts);
        QFETCH(QVector<int>, pressedAt);
        FirmwareKeyModel model(2000, 2300, 2010, settings);
        QVector<int> modelPressed;
        int record = 0;
        for (int count : counts) {
            if (count == kSecond) {
                model.second();
                continue;
            }
            if (model.feed(quint16(count)))
                modelPressed << record;
            ++record;
        }
        QCOMPARE(modelPressed, pressedAt);
        QTEST(model.base(), "baseAfter");
    }

    // The preview's own clock: a key with a longest press of one second is released two seconds
    // after its press, which the indicators hear of.
    void previewReleasesAStuckKeyByTheClock()
    {
        KeyPreview preview;
        preview.reset({{4, 2, KeyMeans{2000, 2300, 2010}, settings({{F::MaxPress, 1}})}});
        const QByteArray finger = testsupport::measurementRecord(4, 2300);
        QList<int> changed;
        for (qint64 ms = 100000; ms <= 102000; ms += 250)
            changed << preview.feed(finger, ms).size();
        // Pressed on the fourth record; ticks at 1 s (held 1) and 2 s (released).
        QCOMPARE(changed, (QList<int>{0, 0, 0, 1, 0, 0, 0, 0, 1}));
        QVERIFY(!preview.pressed(4));
        QCOMPARE(preview.model(4)->base(), 2300);
    }

    void suggestionOnExactSamples_data()
    {
        QTest::addColumn<ChannelSamples>("samples");
        QTest::addColumn<double>("neighbourRise");
        QTest::addColumn<QString>("text");
        // Untouched up to 2003, water up to 2033, touched from 2297: the press threshold in the
        // middle of 2033 ... 2297, the release halfway between 2033 and it.
        QTest::newRow("a safe gap")
            << key(2000, 3, 2300, 3, 2030, 3) << 0.0
            << "TK3：按下位置 55%，迟滞 22%（按下阈值 2165，释放阈值 2099；余量：触摸 132（44%），"
               "未触摸 132（44%），释放 66（22%））";
        // A neighbour's touch lifts this key's untouched readings to 2153.
        QTest::newRow("a neighbour narrows the gap")
            << key(2000, 3, 2300, 3, 2030, 3) << 150.0
            << "TK3：按下位置 75%，迟滞 32%（按下阈值 2225，释放阈值 2129；余量：触摸 72（24%），"
               "未触摸 72（24%），释放 96（32%））";
        // Water 160 above the base: the floor keeps the press at three quarters or more.
        QTest::newRow("water close keeps the floor")
            << key(2000, 3, 2300, 3, 2160, 3) << 0.0
            << "TK3：按下位置 77%，迟滞 11%（按下阈值 2231，释放阈值 2198；余量：触摸 66（22%），"
               "未触摸 68（22%），释放 35（11%））";
        // Touched from 2178 only: the whole gap lies below the floor's 2180.
        QTest::newRow("below the water floor, said")
            << key(2000, 3, 2240, 62, 2160, 3) << 0.0
            << "TK3：按下位置 71%，迟滞 1%，防水下限 关（按下阈值 2170，释放阈值 2168；余量：触摸 "
               "8（3%），"
               "未触摸 7（2%），释放 5（2%））";
        QTest::newRow("no safe gap") << key(2000, 3, 2300, 3, 2300, 5) << 0.0
                                     << "TK3：加水时的最大值高于触摸时的最小值，没有可用的阈值";
        QTest::newRow("a neighbour presses it")
            << key(2000, 3, 2300, 3, 2030, 3) << 294.0
            << "TK3：触摸 TK4 时的读数高于触摸时的最小值，没有可用的阈值";
        QTest::newRow("gap below 10 %")
            << key(2000, 3, 2300, 290, 2000, 3) << 0.0
            << "TK3：安全区间不在按下位置 10%～90% 之内，没有可用的阈值";
    }

    // The suggestion on exact samples, and the judgement agreeing with a safe one.
    void suggestionOnExactSamples()
    {
        QFETCH(ChannelSamples, samples);
        QFETCH(double, neighbourRise);
        const KeyMeans means = KeyQuality::of(samples).means;
        const KeySuggestion s =
            KeySuggestion::of(samples, means, KeySettings(), {4, neighbourRise});
        QTEST(s.text("TK3"), "text");
        if (!s.isSafe()) {
            QVERIFY(KeyQuality::of(samples, means, KeySettings()).verdict != KeyVerdict::Pass ||
                    neighbourRise > 0);
            return;
        }
        const KeyQuality judged = KeyQuality::of(samples, means, s.settings);
        QCOMPARE(*judged.pressThreshold, s.pressThreshold);
        QCOMPARE(*judged.releaseThreshold, s.releaseThreshold);
        QCOMPARE(judged.reasons.contains("触摸最小值未超过按下阈值") ||
                     judged.reasons.contains("防水最大值达到释放阈值"),
                 false);
    }

    // The numbers view's figures: the latest count, the model's base and thresholds, the delta,
    // the press, and the noise of the last second only.
    void streamNumbersOfTheLastSecond()
    {
        KeyPreview preview;
        KeyMeans means;
        means.noTouch = 2000;
        means.touch = 2300;
        means.water = 2010;
        preview.reset({{3, 1, means}, {5, 2, KeyMeans()}});
        StreamNumbers numbers;
        numbers.reset({5, 3, 5, 30});
        QCOMPARE(numbers.channels(), (QList<int>{5, 3}));
        const auto feed = [&](qint64 ms, int count3, int count5) {
            QByteArray record = testsupport::measurementRecord(3, count3);
            record[11] = char(count5 >> 8);
            record[12] = char(count5 & 0xFF);
            preview.feed(record, ms);
            numbers.feed(ms, record);
        };
        feed(0, 1990, 900); // the extremes of the first second
        feed(500, 2020, 950);
        feed(1100, 2004, 940); // one second after the first record, which leaves the window
        QVector<StreamNumbers::Row> rows = numbers.rows(preview);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].channel, 5);
        QCOMPARE(rows[0].raw, std::optional<int>(940));
        QVERIFY(!rows[0].base && !rows[0].pressThreshold && !rows[0].delta); // not measured
        QCOMPARE(rows[0].noise, std::optional<int>(10));
        QCOMPARE(rows[1].noise, std::optional<int>(16));
        // The base moved one count toward each count below the threshold: 1999, 2000, 2001.
        QCOMPARE(rows[1].base, std::optional<int>(2001));
        QCOMPARE(rows[1].delta, std::optional<int>(3));
        QCOMPARE(rows[1].pressThreshold, std::optional<int>(2151));
        QCOMPARE(rows[1].releaseThreshold, std::optional<int>(2121));
        QVERIFY(!rows[1].pressed);
        for (int n = 0; n < 5; ++n)
            feed(1200 + n, 2400, 940);
        rows = numbers.rows(preview);
        QVERIFY(rows[1].pressed);
        QCOMPARE(rows[1].delta, std::optional<int>(399));
        // A cut-short record leaves the channels it does not reach as they were.
        numbers.feed(1300, testsupport::measurementRecord(3, 0).left(5));
        QCOMPARE(numbers.rows(preview)[1].raw, std::optional<int>(2400));
    }

    // Three keys at rest 2000, touch 2300, water 2010 (threshold 2150, margin 150), a fourth
    // without its water test. While TK3 is touched TK4 moves 120 (80% of its margin), TK5 moves
    // 150 (its whole margin) and TK6 moves 5; TK6 has no records of its own.
    void couplingFromTheWholeRecords()
    {
        const auto records = [](int touchedChannel, bool touched) {
            QVector<RecordCounts> list;
            for (int i = 0; i < 162; ++i) {
                RecordCounts counts;
                counts.fill(1000);
                counts[3] = 2000;
                counts[4] = 2000 + (i % 2) * 2; // resting mean 2001
                counts[5] = 2000;
                counts[6] = 2000;
                if (touched && touchedChannel == 3) {
                    counts[3] = 2300;
                    counts[4] += 120;
                    counts[5] += 150;
                    counts[6] += 5;
                }
                list << counts;
            }
            return list;
        };
        ChannelSamples keys[4];
        KeyMeans means;
        means.noTouch = 2000;
        means.touch = 2300;
        means.water = 2010;
        keys[0].noTouchRecords = records(3, false);
        keys[0].touchRecords = records(3, true);
        KeyMeans dry = means;
        dry.water.reset();
        const QVector<CouplingMatrix::Key> list = {
            {3, &keys[0], means}, {4, &keys[1], means}, {5, &keys[2], means}, {6, &keys[3], dry}};
        const CouplingMatrix matrix = CouplingMatrix::measure(list);
        QCOMPARE(matrix.touchedChannels(), QList<int>{3});
        QVERIFY(!matrix.at(4, 3));
        QCOMPARE(matrix.at(3, 4)->shift, 120.0);
        QCOMPARE(matrix.at(3, 4)->wholePercent(), 80);
        QCOMPARE(matrix.at(3, 6)->wholePercent(), 3);
        const QVector<CouplingMatrix::Entry> warned = matrix.warnings();
        QCOMPARE(warned.size(), 2);
        QCOMPARE(CouplingMatrix::warningText(warned[0]),
                 QStringLiteral("触摸 TK3 时 TK5 偏移 150，达到阈值余量的 100%"));
        QCOMPARE(CouplingMatrix::warningText(warned[1]),
                 QStringLiteral("触摸 TK3 时 TK4 偏移 120，达到阈值余量的 80%"));

        // At its whole margin the key would be pressed: 不合格; more than half-way is a note.
        ChannelSamples judged;
        judged.noTouch = QVector<int>(162, 2000);
        judged.touch = QVector<int>(162, 2300);
        judged.water = QVector<int>(162, 2010);
        KeyQuality five = KeyQuality::of(judged, means);
        QCOMPARE(five.verdict, std::optional<KeyVerdict>(KeyVerdict::Pass));
        matrix.judge(5, &five);
        QCOMPARE(five.verdictText(), QStringLiteral("不合格"));
        QCOMPARE(five.reasons, QStringList{QStringLiteral("邻键触摸时会被按下")});
        QVERIFY(five.toolTip("TK5").endsWith(
            QStringLiteral("\n触摸 TK3 时 TK5 偏移 150，达到阈值余量的 100%")));
        KeyQuality four = KeyQuality::of(judged, means);
        matrix.judge(4, &four);
        QCOMPARE(four.verdictText(), QStringLiteral("合格"));
        QCOMPARE(four.notes,
                 QStringList{QStringLiteral("触摸 TK3 时 TK4 偏移 120，达到阈值余量的 80%")});
    }
};

QTEST_MAIN(TestKeyQuality)
#include "tst_keyquality.moc"
