#include "quality/couplingmatrix.h"

#include "quality/keyquality.h"

#include <algorithm>
#include <cmath>

namespace
{
// From the key's resting mean up to the press threshold the firmware compares its counts with.
std::optional<int> marginOf(const CouplingMatrix::Key &key)
{
    const KeyQuality quality = KeyQuality::of(*key.samples, key.means, key.settings);
    const std::optional<int> &rest = quality.means.noTouch;
    const std::optional<int> &touch = quality.means.touch;
    if (!rest || !touch)
        return std::nullopt;
    const int threshold =
        quality.pressThreshold
            ? *quality.pressThreshold
            : KeyThresholds::of(*rest, *touch, *rest, key.settings).pressAt(*rest);
    const int margin = threshold - *rest;
    return margin > 0 ? std::optional<int>(margin) : std::nullopt;
}
} // namespace

int CouplingMatrix::Entry::wholePercent() const { return percent ? int(std::trunc(*percent)) : 0; }

CouplingMatrix CouplingMatrix::measure(const QVector<Key> &keys)
{
    CouplingMatrix matrix;
    QVector<std::optional<int>> margins;
    for (const Key &key : keys) {
        matrix.keyChannels << key.channel;
        margins << (key.samples ? marginOf(key) : std::nullopt);
    }
    for (const Key &a : keys) {
        const std::optional<ShiftSums> shifts = a.samples ? a.samples->touchShifts() : std::nullopt;
        if (!shifts) {
            // Measured, yet without what its touch did to the others (an older samples file).
            if (a.samples && a.samples->has(SamplePhase::NoTouch) &&
                a.samples->has(SamplePhase::Touch))
                matrix.unmeasured << a.channel;
            continue;
        }
        matrix.touched << a.channel;
        for (int b = 0; b < keys.size(); ++b) {
            const int affected = keys.at(b).channel;
            if (affected == a.channel || !chip::isChannel(affected))
                continue;
            Entry entry;
            entry.touched = a.channel;
            entry.affected = affected;
            entry.shift = double((*shifts)[affected]) / chip::kSamplesPerPhase;
            if (margins.at(b))
                entry.percent = 100.0 * entry.shift / *margins.at(b);
            matrix.pairs << entry;
        }
    }
    return matrix;
}

std::optional<CouplingMatrix::Entry> CouplingMatrix::at(int touchedChannel,
                                                        int affectedChannel) const
{
    for (const Entry &entry : pairs) {
        if (entry.touched == touchedChannel && entry.affected == affectedChannel)
            return entry;
    }
    return std::nullopt;
}

QVector<CouplingMatrix::Entry> CouplingMatrix::warnings(int affectedChannel) const
{
    QVector<Entry> found;
    for (const Entry &entry : pairs) {
        if (entry.warns() && (affectedChannel < 0 || entry.affected == affectedChannel))
            found << entry;
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Entry &a, const Entry &b) { return *a.percent > *b.percent; });
    return found;
}

std::optional<CouplingMatrix::Entry> CouplingMatrix::strongestRise(int affectedChannel) const
{
    std::optional<Entry> strongest;
    for (const Entry &entry : pairs) {
        if (entry.affected == affectedChannel && entry.shift > 0 &&
            (!strongest || entry.shift > strongest->shift))
            strongest = entry;
    }
    return strongest;
}

QString CouplingMatrix::warningText(const Entry &entry)
{
    return tr("触摸 TK%1 时 TK%2 偏移 %3，达到阈值余量的 %4%")
        .arg(entry.touched)
        .arg(entry.affected)
        .arg(std::lround(entry.shift))
        .arg(entry.wholePercent());
}

void CouplingMatrix::judge(int affectedChannel, KeyQuality *quality) const
{
    QStringList unknown;
    for (int channel : unmeasured) {
        if (channel != affectedChannel)
            unknown << QStringLiteral("TK%1").arg(channel);
    }
    if (!unknown.isEmpty())
        quality->notes << tr("触摸 %1 时的邻键影响未测").arg(unknown.join(tr("、")));
    for (const Entry &entry : warnings(affectedChannel)) {
        quality->notes << warningText(entry);
        if (!entry.presses() || !quality->verdict)
            continue;
        quality->verdict = KeyVerdict::Fail;
        // Kept in the sources' language like the key's other reasons (the report prints them),
        // once however many neighbours press it; which neighbours, the details and notes say.
        const QString reason =
            QStringLiteral(QT_TRANSLATE_NOOP("KeyQuality", "邻键触摸时会被按下"));
        if (!quality->reasons.contains(reason))
            quality->reasons << reason;
        quality->reasonDetails << warningText(entry);
    }
}
