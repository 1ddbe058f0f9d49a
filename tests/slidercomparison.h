#ifndef SLIDERCOMPARISON_H
#define SLIDERCOMPARISON_H

#include "firmwaretables.h"
#include "quality/firmwareslidermodel.h"
#include "quality/keythresholds.h"
#include "quality/sliderpreview.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>

#include <vector>

// The tool's view of a project's sliders and wheels beside the firmware's (firmwarecheck
// compare): one slider model per row of the slider table, built from the rows of its segments as
// TouchKeyInit reads them, and the slider preview over all of them.
class SliderComparison
{
public:
    // Bytes per slider in the driver's output: touched, position, debounce, seconds touched,
    // press and release thresholds.
    static constexpr int kSliderBytes = 8;

    // False when a slider's rows are no segments the firmware can read (beyond the table, shared,
    // or with settings other than its first segment's).
    bool reset(const QList<firmwarecheck::TableRow> &rows,
               const QList<firmwarecheck::SliderRow> &sliders);
    bool isEmpty() const { return list.empty(); }
    bool isSegment(int row) const;
    // The sliders' part of the driver's output after a record.
    int stateBytes() const { return list.empty() ? 0 : int(list.size()) * kSliderBytes + 2; }

    // The record's scan and the seconds that pass after it; the preview takes the record at ms.
    void feed(const QByteArray &record, qint64 ms, int seconds);
    // A segment's row as the driver writes the channel table's rows: the thresholds over its
    // base that its own row gives, its base, debounce 0, its scans far below the base, 0 seconds
    // and no key bit.
    QVector<int> segmentRow(int row) const;
    // What differs in the sliders' part of the output, one entry per slider.
    QStringList differences(const QByteArray &state) const;

    // What the records did: presses of a slider, releases after its longest press, scans with
    // the position on a wheel's wrap (within 16 of 0 or 255 while touched).
    int touches = 0;
    int expiries = 0;
    int wrapScans = 0;

private:
    struct Slider
    {
        FirmwareSliderModel model;
        QVector<int> rows;
        QVector<int> channels;
        QVector<KeyThresholds> thresholds;
    };
    std::vector<Slider> list;
    SliderPreview preview;
};

#endif // SLIDERCOMPARISON_H
