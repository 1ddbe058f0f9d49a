// firmwarecheck's sliders and wheels: a project of keys, a 2- and an 8-segment slider and a 6-
// and a 3-segment wheel, and records of the simulated board under swipes, rests, water, noise
// and drift for it.

#include "firmwareprep.h"
#include "firmwaretables.h"

#include "chip/chip.h"
#include "project/sliderdefinition.h"
#include "quality/firmwareslidermodel.h"
#include "sim/simboard.h"
#include "sim/simslider.h"
#include "testsupport.h"

#include <QVector>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <random>

namespace
{
using firmwarecheck::BoardRecords;

// The water's shift is 70 % of this finger's rise.
constexpr int kSeventyPercentRise = SimBoard::kWaterShift * 10 / 7 + 1;

struct Slider
{
    SliderDefinition::Kind kind;
    QString name;
    QVector<int> channels;
    KeySettings settings;
};

// Every field of the settings at its limits somewhere; W2's weak pads put water at half their
// swing, S1's and W1's at 70 % of it, so that their press thresholds keep the water rule's floor
// and water over all their segments is judged over the segments' common level.
QVector<Slider> sliders()
{
    using Kind = SliderDefinition::Kind;
    return {{Kind::Slider, QStringLiteral("S1"), {3, 4}, KeySettings{10, 0, 1, 1, true}},
            {Kind::Slider, QStringLiteral("S2"), {5, 6, 7, 8, 9, 10, 11, 12},
             KeySettings{90, 50, 15, 255, false}},
            {Kind::Wheel, QStringLiteral("W1"), {13, 14, 15, 16, 17, 18},
             KeySettings{50, 10, 3, 2, true}},
            {Kind::Wheel, QStringLiteral("W2"), {19, 20, 21}, KeySettings{33, 20, 2, 0, true}}};
}

// The pads: most as the board has them, S2's fourth segment weak, its seventh counting at the
// top of the range and its last falling under a finger, S1's and W1's so weak that water comes to
// 70 % of their swing, W2's all weak.
void setPads(int drift)
{
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        int baseline = 2000 + 40 * channel;
        int rise = SimBoard::kFingerRise;
        if (channel == 8)
            rise = 100;
        else if (channel == 11)
            baseline = 65300;
        else if (channel == 12)
            baseline = 40000, rise = -300;
        else if (channel == 3 || channel == 4 || (channel >= 13 && channel <= 18))
            rise = kSeventyPercentRise;
        else if (channel >= 19 && channel <= 21)
            rise = 60;
        SimBoard::setChannelLevels(channel, quint16(std::clamp(baseline + drift, 0, 0xFFFF)), rise);
    }
}

// What a finger does on one slider over a stretch of records.
struct Motion
{
    bool on = false;
    double from = 0.0;
    double to = 0.0;
};

// The stretches: each slider at rest, swiped (a wheel round and round) or lifted.
class SliderRecords
{
public:
    explicit SliderRecords(BoardRecords &board) : board(board) {}

    // length records of every slider moving as motions says, the keys as given.
    bool run(const QVector<Motion> &motions, int length, int count, QByteArray *stream)
    {
        const QVector<Slider> list = sliders();
        for (int r = 0; r < length && stream->size() < count * chip::kRecordSize; ++r) {
            for (int i = 0; i < list.size(); ++i) {
                const Motion &m = motions.at(i);
                const double t = length > 1 ? double(r) / (length - 1) : 0.0;
                if (m.on)
                    SimSlider::putFinger(list.at(i).channels,
                                         list.at(i).kind == SliderDefinition::Kind::Wheel,
                                         m.from + (m.to - m.from) * t);
                else
                    SimSlider::liftFinger(list.at(i).channels);
            }
            if (!board.take(1, count, stream))
                return false;
        }
        return true;
    }

    BoardRecords &board;
};

// The events of real life first: a finger on S2 and W1 at power-up that leaves, water left on
// and wiped off, a finger held on every slider past its longest press; then stretches of 1 to 60
// records, each slider resting, swiped or lifted, with keys, water, noise and drift of their own.
// The records of water alone on every slider are [waterFrom, waterTo).
QByteArray recordStream(BoardRecords &board, int count, int *swipes, int *rests, int *waterFrom,
                        int *waterTo)
{
    SliderRecords records(board);
    const QVector<Slider> list = sliders();
    const auto all = [&list](bool on, double place) {
        return QVector<Motion>(list.size(), Motion{on, place, place});
    };
    QByteArray stream;
    SimBoard::setNoise(3, 1);
    QVector<Motion> start = all(false, 0);
    start[1] = {true, 3.0, 3.0};
    start[2] = {true, 1.5, 1.5};
    bool ok = records.run(start, 40, count, &stream);
    SimBoard::setWater(true);
    *waterFrom = int(stream.size() / chip::kRecordSize);
    ok = ok && records.run(all(false, 0), 200, count, &stream);
    *waterTo = int(stream.size() / chip::kRecordSize);
    SimBoard::setWater(false);
    ok = ok && records.run(all(true, 1.0), 1300, count, &stream);
    std::mt19937 random(31);
    const int noises[] = {0, 1, 3, 12, 60};
    int drift = 0;
    for (unsigned stretch = 1; ok && stream.size() < count * chip::kRecordSize; ++stretch) {
        QVector<Motion> motions;
        for (const Slider &slider : list) {
            const int n = slider.channels.size();
            const bool wheel = slider.kind == SliderDefinition::Kind::Wheel;
            const auto place = [&] { return SimSlider::placeAt(n, wheel, (random() % 1001) / 1000.0); };
            switch (random() % 3) {
            case 0:
                motions.append({false, 0, 0});
                break;
            case 1: {
                const double at = place();
                motions.append({true, at, at});
                ++*rests;
                break;
            }
            default: {
                const double from = place();
                // A wheel may go round more than once, either way.
                const double to = wheel ? from + (int(random() % 5) - 2) * n + place() : place();
                motions.append({true, from, to});
                ++*swipes;
            }
            }
        }
        drift = std::clamp(drift + int(random() % 7) - 3, -60, 60);
        setPads(drift);
        for (int channel : {0, 1, 2, 22, 23, 24})
            SimBoard::setFinger(channel, random() % 3 == 0);
        SimBoard::setWater(random() % 5 == 0);
        SimBoard::setNoise(noises[random() % std::size(noises)], stretch);
        ok = records.run(motions, 1 + int(random() % 60), count, &stream);
    }
    return ok ? stream : QByteArray();
}

// Water alone, the firmware's model of the generated project over the records from waterFrom to
// waterTo: each slider whose floor is on and whose water is close must be untouched throughout. The
// comparison holds the 8051 to the same model. An empty text when they do.
QString waterHeld(const QString &project, const QByteArray &stream, int waterFrom, int waterTo)
{
    const QList<firmwarecheck::TableRow> rows = firmwarecheck::tableRows(project);
    QStringList found;
    int held = 0;
    int lowest = 100;
    int highest = 0;
    const QVector<Slider> list = sliders();
    const QList<firmwarecheck::SliderRow> table = firmwarecheck::sliderRows(project);
    for (int i = 0; i < table.size() && i < list.size(); ++i) {
        QVector<FirmwareSliderModel::Segment> segments;
        for (int row : table.at(i).rows) {
            const KeyMeans &m = rows.value(row).means;
            segments.append({*m.noTouch, *m.touch, *m.water});
        }
        FirmwareSliderModel model(table.at(i).wheel ? SliderShape::Wheel : SliderShape::Slider,
                                  segments, rows.value(table.at(i).rows.first()).settings);
        if (!model.judgedOverWater())
            continue;
        ++held;
        for (const FirmwareSliderModel::Segment &m : segments) {
            const int share = (m.water - m.noTouch) * 100 / std::max(1, m.touch - m.noTouch);
            lowest = std::min(lowest, share);
            highest = std::max(highest, share);
        }
        for (int r = 0; r < waterTo; ++r) {
            const RecordCounts counts =
                recordCounts(stream.mid(r * chip::kRecordSize, chip::kRecordSize));
            model.scanChannels(counts.data(), list.at(i).channels);
            if (r >= waterFrom && model.touched()) {
                found << QStringLiteral("%1 touched by water at record %2")
                             .arg(list.at(i).name)
                             .arg(r);
                break;
            }
        }
    }
    if (held < 3)
        found << QStringLiteral("%1 sliders under the water rule, not S1, W1 and W2").arg(held);
    std::printf("water alone on %d sliders under the water rule (water at %d to %d %% of the "
                "swing): %d touches\n",
                held, lowest, highest, int(found.size()));
    return found.join(QStringLiteral("; "));
}
} // namespace

namespace firmwarecheck
{
int prepareSliders(const QString &templates, const QString &work, int count)
{
    SimBoard::reset();
    SimBoard::setDataInterval(1);
    setPads(0);
    SampleStore store;
    QByteArray stream;
    int swipes = 0;
    int rests = 0;
    int waterFrom = 0;
    int waterTo = 0;
    {
        BoardRecords board;
        if (!board.start() || !measure(board, &store))
            return fail(QStringLiteral("the simulated board did not measure the sliders"));
        stream = recordStream(board, count, &swipes, &rests, &waterFrom, &waterTo);
    }
    if (stream.isEmpty() || !writeFile(recordsPath(work, kSliderRecordsFile), stream))
        return fail(QStringLiteral("no records of the sliders"));

    testsupport::FakePinMap pins;
    for (int channel : {0, 1, 2, 22, 23, 24})
        pins.use(channel, channel + 1);
    QVector<KeySettings> settings(chip::kChannelCount);
    for (const Slider &slider : sliders()) {
        pins.addSlider(slider.kind, slider.name, slider.channels);
        // The generator writes the first segment's settings into every segment's row.
        settings[slider.channels.first()] = slider.settings;
    }
    if (!generateApplication(store, pins, [&settings](int channel) { return settings.value(channel); },
                             templates, work + QLatin1String("/appsliders")))
        return fail(QStringLiteral("the application project with sliders was not generated"));
    const QString watered =
        waterHeld(work + QLatin1String("/appsliders"), stream, waterFrom, waterTo);
    if (!watered.isEmpty())
        return fail(QStringLiteral("the water floor does not hold: %1").arg(watered));
    std::printf("prepared: 2 sliders and 2 wheels, %d records (%d swipes, %d rests)\n",
                int(stream.size() / chip::kRecordSize), swipes, rests);
    return 0;
}
} // namespace firmwarecheck
