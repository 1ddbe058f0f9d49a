#include "slidercomparison.h"

#include "chip/chip.h"

namespace
{
int be16(const QByteArray &bytes, int at)
{
    return quint8(bytes.at(at)) << 8 | quint8(bytes.at(at + 1));
}
} // namespace

bool SliderComparison::reset(const QList<firmwarecheck::TableRow> &rows,
                             const QList<firmwarecheck::SliderRow> &sliders)
{
    list.clear();
    QVector<SliderPreview::Slider> previewed;
    QVector<int> taken;
    for (const firmwarecheck::SliderRow &slider : sliders) {
        const SliderShape shape = slider.wheel ? SliderShape::Wheel : SliderShape::Slider;
        if (slider.rows.isEmpty() || slider.rows.size() > FirmwareSliderModel::kMaxSegments)
            return false;
        const KeySettings settings = rows.value(slider.rows.first()).settings;
        QVector<FirmwareSliderModel::Segment> segments;
        SliderPreview::Slider seen{QString(), shape, {}, {}, settings};
        QVector<KeyThresholds> thresholds;
        for (int row : slider.rows) {
            if (row < 0 || row >= rows.size() || taken.contains(row) ||
                rows.at(row).settings != settings)
                return false;
            taken << row;
            const KeyMeans &m = rows.at(row).means;
            segments.append({*m.noTouch, *m.touch, *m.water});
            thresholds << KeyThresholds::of(*m.noTouch, *m.touch, *m.water, settings);
            seen.channels << rows.at(row).channel;
            seen.means << m;
        }
        list.push_back({FirmwareSliderModel(shape, segments, settings),
                        QVector<int>(slider.rows.begin(), slider.rows.end()), seen.channels,
                        thresholds});
        previewed << seen;
    }
    preview.reset(previewed);
    return true;
}

bool SliderComparison::isSegment(int row) const
{
    for (const Slider &slider : list) {
        if (slider.rows.contains(row))
            return true;
    }
    return false;
}

void SliderComparison::feed(const QByteArray &record, qint64 ms, int seconds)
{
    const RecordCounts counts = recordCounts(record);
    for (Slider &slider : list) {
        const bool was = slider.model.touched();
        slider.model.scanChannels(counts.data(), slider.channels);
        touches += slider.model.touched() && !was;
        for (int s = 0; s < seconds; ++s)
            expiries += slider.model.second();
        const int at = slider.model.position();
        wrapScans += slider.model.shape() == SliderShape::Wheel && slider.model.touched() &&
                     (at < 16 || at > 239);
    }
    preview.feed(record, ms);
}

QVector<int> SliderComparison::segmentRow(int row) const
{
    for (const Slider &slider : list) {
        const int k = slider.rows.indexOf(row);
        if (k < 0)
            continue;
        const int base = slider.model.base(k);
        const KeyThresholds &t = slider.thresholds.at(k);
        return {t.pressAt(base), t.releaseAt(base), base, 0, slider.model.lowCount(k), 0, 0};
    }
    return {};
}

QStringList SliderComparison::differences(const QByteArray &state) const
{
    QStringList found;
    int flag = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const FirmwareSliderModel &m = list[i].model;
        flag |= m.touched() ? 1 << i : 0;
        const QByteArray bytes = state.mid(int(i) * kSliderBytes, kSliderBytes);
        const QVector<int> firmware = {quint8(bytes[0]), quint8(bytes[1]), quint8(bytes[2]),
                                       quint8(bytes[3]), be16(bytes, 4),  be16(bytes, 6)};
        const QVector<int> modelled = {m.touched(),       m.position(),       m.debounceCount(),
                                       m.heldSeconds(),   m.pressThreshold(), m.releaseThreshold()};
        const FirmwareSliderModel *previewed = preview.model(int(i));
        const bool previewAgrees = previewed && previewed->touched() == m.touched() &&
                                   previewed->position() == m.position();
        if (firmware != modelled || !previewAgrees) {
            QStringList pairs;
            for (int f = 0; f < firmware.size(); ++f)
                pairs << QStringLiteral("%1/%2").arg(firmware[f]).arg(modelled[f]);
            found << QStringLiteral("slider %1 (strength %2): touched, position, debounce, held, "
                                    "press, release %3%4")
                         .arg(i)
                         .arg(m.strength())
                         .arg(pairs.join(QLatin1Char(' ')))
                         .arg(previewAgrees ? QString() : QStringLiteral(" (preview differs)"));
        }
    }
    const int firmwareFlag = be16(state, stateBytes() - 2);
    if (firmwareFlag != flag)
        found << QStringLiteral("TouchSliderFlag %1/%2").arg(firmwareFlag).arg(flag);
    return found;
}
