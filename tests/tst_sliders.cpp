#include "quality/evidencefile.h"
#include "quality/firmwareslidermodel.h"
#include "quality/swipejudgement.h"
#include "sim/simslider.h"
#include "testsupport.h"
#include "tuning/swipetest.h"

#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(SliderShape)
Q_DECLARE_METATYPE(QVector<int>)

namespace
{
// Segments resting at 2000 whose finger raises them by swing (300 unless given).
QVector<FirmwareSliderModel::Segment> segments(int count, const QVector<int> &swings = {})
{
    QVector<FirmwareSliderModel::Segment> list;
    for (int k = 0; k < count; ++k)
        list.append({2000, 2000 + swings.value(k, 300), 2010});
    return list;
}

// A swipe of the position from one value to another in steps of 1 ms.
QVector<SwipeSample> ramp(qint64 startMs, int from, int to, int scans)
{
    QVector<SwipeSample> samples;
    for (int i = 0; i < scans; ++i)
        samples.append({startMs + i, true, from + (to - from) * i / (scans - 1)});
    return samples;
}
} // namespace

class TestSliders : public QObject
{
    Q_OBJECT

private slots:
    // The firmware's rule on exact segment counts: each segment's count over its base in 255ths
    // of its own swing, the centroid of the strongest segment and its neighbours.
    void positionFromSegmentCounts_data()
    {
        QTest::addColumn<SliderShape>("shape");
        QTest::addColumn<QVector<int>>("swings");
        QTest::addColumn<QVector<int>>("rises");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("strength");
        const auto slider = SliderShape::Slider;
        const auto wheel = SliderShape::Wheel;
        QTest::newRow("centre of segment 2 of 4")
            << slider << QVector<int>() << QVector<int>{0, 300, 0, 0} << 85 << 255;
        QTest::newRow("between segments 2 and 3")
            << slider << QVector<int>() << QVector<int>{0, 150, 150, 0} << 127 << 254;
        QTest::newRow("first end")
            << slider << QVector<int>() << QVector<int>{300, 0, 0, 0} << 0 << 255;
        QTest::newRow("last end, finger beyond")
            << slider << QVector<int>() << QVector<int>{0, 0, 0, 200} << 255 << 170;
        QTest::newRow("two segments, a quarter")
            << slider << QVector<int>() << QVector<int>{225, 75} << 63 << 254;
        QTest::newRow("weak segment normalised") << slider << QVector<int>{300, 100, 300, 300}
                                                 << QVector<int>{0, 50, 150, 0} << 127 << 254;
        QTest::newRow("wheel wraps past 255")
            << wheel << QVector<int>() << QVector<int>{150, 0, 0, 0, 0, 150} << 234 << 254;
        QTest::newRow("wheel, segment 0's centre")
            << wheel << QVector<int>() << QVector<int>{300, 60, 0, 0, 0, 60} << 0 << 306;
        QTest::newRow("wheel, segment 4 of 6")
            << wheel << QVector<int>() << QVector<int>{0, 0, 0, 300, 0, 0} << 128 << 255;
    }
    void positionFromSegmentCounts()
    {
        QFETCH(SliderShape, shape);
        QFETCH(QVector<int>, swings);
        QFETCH(QVector<int>, rises);
        QFETCH(int, position);
        QFETCH(int, strength);
        KeySettings settings;
        settings.debounce = 1;
        FirmwareSliderModel model(shape, segments(rises.size(), swings), settings);
        QVector<int> counts;
        for (int rise : rises)
            counts << 2000 + rise;
        model.scan(counts.constData());
        model.scan(counts.constData());
        QVERIFY(model.touched());
        QCOMPARE(model.position(), position);
        QCOMPARE(model.strength(), strength);
    }

    // Touch and release as a key's: the press threshold half the scale, the release threshold
    // the hysteresis below it, the debounce's scans before the press; the bases hold while the
    // slider is touched and follow the pad after.
    void touchFollowsTheKeysRule()
    {
        KeySettings settings;
        settings.debounce = 2;
        FirmwareSliderModel model(SliderShape::Slider, segments(3), settings);
        QCOMPARE(model.pressThreshold(), 127);
        QCOMPARE(model.releaseThreshold(), 102);
        const auto scan = [&model](int first, int second) {
            const int counts[] = {2000 + first, 2000 + second, 2000};
            return model.scan(counts);
        };
        QCOMPARE(scan(160, 0), FirmwareKeyModel::Step::Keep); // strength 136
        QCOMPARE(scan(160, 0), FirmwareKeyModel::Step::Keep);
        QCOMPARE(scan(160, 0), FirmwareKeyModel::Step::Set);
        QCOMPARE(model.position(), 0);
        QCOMPARE(scan(62, 62), FirmwareKeyModel::Step::Set); // 52 + 52 above 102: still touched
        QCOMPARE(model.position(), 63);
        QCOMPARE(model.base(0), 2000);
        QCOMPARE(scan(0, 120), FirmwareKeyModel::Step::Clear); // 102: released
        QVERIFY(!model.touched());
        QCOMPARE(model.position(), 63);
        QCOMPARE(model.base(1), 2001);
    }

    // A slider held past its longest press lets go and takes its counts for its bases.
    void longestPressFreesTheSlider()
    {
        KeySettings settings;
        settings.debounce = 1;
        settings.maxPressSeconds = 2;
        FirmwareSliderModel model(SliderShape::Wheel, segments(3), settings);
        const int counts[] = {2300, 2000, 2000};
        model.scan(counts);
        model.scan(counts);
        QVERIFY(model.touched());
        QVERIFY(!model.second());
        QVERIFY(!model.second());
        QVERIFY(model.second());
        QVERIFY(!model.touched());
        QCOMPARE(model.base(0), 2300);
    }

    // Water that gives the slider more than half the scale lifts the press threshold to three
    // quarters, as for a key, and with the floor on it reads as no touch even where it adds up
    // to more than a finger: a wheel of six segments with water at 70 % of their swing (2761,
    // 2910, 2865), settings 60/20/4/2. A finger on the wet wheel, or the dry one, still touches.
    void waterLiftsThePressThresholdAndReadsAsNoTouch()
    {
        QVector<FirmwareSliderModel::Segment> wet = segments(4);
        wet[1].water = 2000 + 100;
        wet[2].water = 2000 + 80;
        QVERIFY(FirmwareSliderModel(SliderShape::Slider, wet).thresholds().waterFloorRaised);
        QCOMPARE(FirmwareSliderModel(SliderShape::Slider, wet).pressThreshold(), 192);

        const QVector<FirmwareSliderModel::Segment> wheel(6, {2761, 2910, 2865});
        KeySettings settings{60, 20, 4, 2, true};
        const auto scanned = [&](QVector<int> counts, bool floor) {
            settings.waterFloor = floor;
            FirmwareSliderModel model(SliderShape::Wheel, wheel, settings);
            for (int i = 0; i < 8; ++i)
                model.scan(counts.constData());
            return model.touched() ? model.position() : -1;
        };
        QCOMPARE(scanned(QVector<int>(6, 2865), true), -1);
        QVERIFY(scanned(QVector<int>(6, 2865), false) >= 0);
        QVector<int> finger(6, 2865);
        finger[2] = 3010;
        QCOMPARE(scanned(finger, true), 85);
        finger.fill(2761);
        finger[2] = 2910;
        QCOMPARE(scanned(finger, true), 85);
    }

    // A synthetic swipe: two strokes, the second bent by 20 counts in its middle and lifted for
    // 4 scans, then a rest whose position wanders by 2 counts.
    void swipeJudgement()
    {
        QVector<SwipeSample> swipe = ramp(0, 0, 255, 256);
        QVector<SwipeSample> back = ramp(1000, 255, 0, 256);
        for (int i = 100; i < 156; ++i)
            back[i].position += 20 - std::abs(i - 128) * 20 / 28;
        for (int i = 60; i < 64; ++i)
            back[i].touched = false;
        swipe << back;
        QVector<SwipeSample> rest;
        for (int i = 0; i < 100; ++i)
            rest.append({2000 + i, true, 127 + (i % 3 == 0 ? 2 : 0)});
        const SwipeJudgement j = SwipeJudgement::of(SliderShape::Slider, swipe, rest);
        QCOMPARE(j.strokes.size(), 2);
        QVERIFY(j.strokes.at(0).deviation < 1.0);
        // The least-squares line of the bent stroke (worked out apart) lies 17.2 counts off its
        // top.
        QVERIFY(j.linearity && std::abs(*j.linearity - 6.76) < 0.05);
        QVERIFY(j.jitter && std::abs(*j.jitter - 200.0 / 255) < 0.01);
        QCOMPARE(j.deadSpots.size(), 1);
        QVERIFY(j.deadSpots.at(0).noTouch);
        QVERIFY(std::abs(j.deadSpots.at(0).from - 195) <= 3);
        QCOMPARE(j.verdict, std::optional<KeyVerdict>(KeyVerdict::Fail));
        QCOMPARE(j.reasons(false).size(), 2);

        // A position that lags and then jumps to the far end lies off the line at its end.
        QVector<SwipeSample> lagging = ramp(0, 0, 80, 200);
        lagging.append({200, true, 250});
        const SwipeJudgement jump = SwipeJudgement::of(SliderShape::Slider, lagging, rest);
        QCOMPARE(jump.strokes.size(), 1);
        QVERIFY(jump.linearity && *jump.linearity > 50.0);

        // A wheel turned steadily twice: its position wraps, the turns are straight lines.
        QVector<SwipeSample> turns;
        for (int i = 0; i < 600; ++i)
            turns.append({qint64(i), true, (100 + i) % 256});
        const SwipeJudgement wheel = SwipeJudgement::of(SliderShape::Wheel, turns, rest);
        QCOMPARE(wheel.strokes.size(), 2);
        QVERIFY(wheel.linearity && *wheel.linearity < 0.01);
        QCOMPARE(wheel.verdict, std::optional<KeyVerdict>(KeyVerdict::Pass));

        // Kept with the project, each judgement reads back as it was made, figure for figure; one
        // that cannot be read is named, the others kept.
        const SwipeJudgement none = SwipeJudgement::of(SliderShape::Slider, {}, {});
        ProjectEvidence kept;
        kept.swipes.insert("S1",
                           {j, {{3, KeyMeans{2000, 2300, 2010}}, {4, KeyMeans{2000, {}, {}}}}});
        kept.swipes.insert("S2", {none, {}});
        kept.swipes.insert("W1", {wheel, {{8, KeyMeans{1990, 2290, 2000}}}});
        ProjectEvidence read;
        QStringList unread;
        QVERIFY(EvidenceFile::fromJson(EvidenceFile::toJson(kept), &read, &unread));
        QVERIFY(unread.isEmpty());
        QCOMPARE(EvidenceFile::toJson(read), EvidenceFile::toJson(kept));
        for (const QString &name : kept.swipes.keys()) {
            const SwipeJudgement &a = kept.swipes.value(name).judgement;
            const SwipeJudgement &b = read.swipes.value(name).judgement;
            QCOMPARE(read.swipes.value(name).measuredOn, kept.swipes.value(name).measuredOn);
            QCOMPARE(b.summary(false) + b.verdictText(false) + b.reasons(false).join(';'),
                     a.summary(false) + a.verdictText(false) + a.reasons(false).join(';'));
            QVERIFY(b.shape == a.shape && b.linearity == a.linearity && b.jitter == a.jitter);
            QCOMPARE(b.strokes.size(), a.strokes.size());
            for (int s = 0; s < a.strokes.size(); ++s) {
                const SwipeJudgement::Stroke &x = a.strokes.at(s);
                const SwipeJudgement::Stroke &y = b.strokes.at(s);
                QVERIFY(x.slope == y.slope && x.offset == y.offset && x.deviation == y.deviation);
                QCOMPARE(y.unwrapped, x.unwrapped);
                QCOMPARE(y.samples.last().ms, x.samples.last().ms);
            }
        }
        QByteArray dial = EvidenceFile::toJson(kept).replace("\"wheel\"", "\"dial\"");
        QVERIFY(EvidenceFile::fromJson(dial, &read, &unread));
        QCOMPARE(unread, QStringList{"W1 滑动测试"});
        QCOMPARE(read.swipes.keys(), (QList<QString>{"S1", "S2"}));
    }

    // A position that stays put while the finger moves on is a dead spot; so is a swipe that
    // never reaches the other end, and a rest without touch.
    void stuckPositionAndMissingParts()
    {
        QVector<SwipeSample> swipe = ramp(0, 0, 255, 256);
        for (int i = 120; i < 150; ++i)
            swipe[i].position = 120;
        const SwipeJudgement stuck =
            SwipeJudgement::of(SliderShape::Slider, swipe, ramp(500, 127, 127, 50));
        QCOMPARE(stuck.deadSpots.size(), 1);
        QVERIFY(!stuck.deadSpots.at(0).noTouch);
        const SwipeJudgement half =
            SwipeJudgement::of(SliderShape::Slider, ramp(0, 0, 128, 200), {});
        QVERIFY(half.strokes.isEmpty() && half.restUntouched);
        QCOMPARE(half.verdict, std::optional<KeyVerdict>(KeyVerdict::Fail));
        QCOMPARE(half.reasons(false),
                 (QStringList{"没有从一端到另一端的完整滑动", "静止时未检测到触摸"}));
    }

    // The swipe test over records of pads that follow its marker, the finger spreading over the
    // neighbours as on the simulated board: a steady finger gives straight strokes and a still
    // rest, a weak segment too, since each segment is taken by its own swing.
    void swipeTestFollowingTheMarker_data()
    {
        QTest::addColumn<SliderShape>("shape");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("weak");
        QTest::newRow("4-segment slider") << SliderShape::Slider << 4 << -1;
        QTest::newRow("slider, weak second segment") << SliderShape::Slider << 4 << 1;
        QTest::newRow("6-segment wheel") << SliderShape::Wheel << 6 << -1;
        QTest::newRow("wheel, weak third segment") << SliderShape::Wheel << 6 << 2;
    }
    void swipeTestFollowingTheMarker()
    {
        QFETCH(SliderShape, shape);
        QFETCH(int, count);
        QFETCH(int, weak);
        const bool wheel = shape == SliderShape::Wheel;
        QVector<int> swings(count, 300);
        if (weak >= 0)
            swings[weak] = 90;
        QVector<int> channels;
        for (int k = 0; k < count; ++k)
            channels << 5 + k;
        SwipeTest test;
        std::optional<SwipeJudgement> judged;
        connect(&test, &SwipeTest::finished, this,
                [&](const QString &, const SwipeJudgement &j) { judged = j; });
        test.start(QStringLiteral("S1"), FirmwareSliderModel(shape, segments(count, swings)),
                   channels);
        bool sawSwipe = false;
        for (qint64 ms = 0; !judged && ms < 60000; ms += 5) {
            QVERIFY(test.marker());
            sawSwipe = sawSwipe || test.currentPhase() == SwipeTest::Phase::Swipe;
            const QVector<int> shares =
                SimSlider::shares(count, wheel, *test.marker() * (wheel ? count : count - 1));
            QByteArray record = testsupport::measurementRecord(-1, 0);
            for (int k = 0; k < count; ++k) {
                const int value = 2000 + swings.at(k) * shares.at(k) / 1000;
                record[1 + 2 * channels.at(k)] = char(value >> 8);
                record[2 + 2 * channels.at(k)] = char(value & 0xFF);
            }
            test.feed(record, ms);
        }
        QVERIFY(judged && sawSwipe && !test.isActive() && !test.marker());
        QVERIFY(judged->strokes.size() >= SwipeTest::kStrokes - 1);
        QVERIFY2(*judged->linearity < SwipeJudgement::kPassLinearity,
                 qPrintable(judged->summary(false)));
        QVERIFY2(judged->jitter && *judged->jitter <= SwipeJudgement::kPassJitter,
                 qPrintable(judged->summary(false)));
        QVERIFY(judged->deadSpots.isEmpty());
        QCOMPARE(judged->verdict, std::optional<KeyVerdict>(KeyVerdict::Pass));
    }
};

QTEST_GUILESS_MAIN(TestSliders)
#include "tst_sliders.moc"
