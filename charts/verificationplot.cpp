#include "charts/verificationplot.h"

#include "chip/chip.h"

#include <QPointF>
#include <QVector>
#include <QtCharts/QChart>

using QtCharts::QChart;
using QtCharts::QLineSeries;

bool VerificationPlot::appendRecord(const QByteArray &record)
{
    if (record.size() < chip::kRecordSize)
        return false;
    for (int k = 0; k < chip::kChannelCount; ++k)
        channelHistory[k].append(chip::channelReading(record.constData(), record.size(), k));
    return true;
}

bool VerificationPlot::windowOverfull() const { return channelHistory[0].size() > kWindow; }

void VerificationPlot::dropOldest()
{
    for (QList<int> &history : channelHistory) {
        if (!history.isEmpty())
            history.removeFirst();
    }
}

void VerificationPlot::clearHistory()
{
    for (QList<int> &history : channelHistory)
        history.clear();
}

const QList<int> &VerificationPlot::history(int channel) const
{
    return channelHistory.at(channel);
}

void VerificationPlot::createCurves(const std::array<QColor, chip::kChannelCount> &colours,
                                    const AddSeries &addSeries)
{
    for (int k = 0; k < chip::kChannelCount; ++k) {
        auto *series = new QLineSeries;
        // The name tells the channel of a value read under the cursor; the legend stays hidden.
        series->setName(QStringLiteral("TK%1").arg(k));
        verificationSeries[k] = series;
        addSeries(series, colours[k]);
    }
}

QLineSeries *VerificationPlot::curve(int channel) const
{
    if (channel < 0 || channel >= chip::kChannelCount)
        return nullptr;
    return verificationSeries[channel].data();
}

bool VerificationPlot::curvesOn(const QChart *chart) const
{
    const QLineSeries *first = verificationSeries[0].data();
    return chart && first && first->chart() == chart;
}

void VerificationPlot::redraw(const Ticked &ticked, const WidenRange &widen)
{
    std::array<QVector<QPointF>, chip::kChannelCount> points;
    int length = 0;
    for (int k = 0; k < chip::kChannelCount; ++k) {
        if (ticked[k])
            points[k].reserve(channelHistory[k].size());
        length = qMax(length, channelHistory[k].size());
    }
    // Same order as a point-by-point redraw: position by position, channel by channel, so the
    // y range widens exactly as it would.
    double x = 0.0;
    for (int i = 0; i < length; ++i) {
        for (int k = 0; k < chip::kChannelCount; ++k) {
            if (!ticked[k] || i >= channelHistory[k].size())
                continue;
            const int value = channelHistory[k].at(i);
            if (widen)
                widen(value);
            points[k].append(QPointF(x, value));
        }
        x += kStep;
    }
    for (int k = 0; k < chip::kChannelCount; ++k) {
        QLineSeries *series = verificationSeries[k].data();
        if (!series)
            continue;
        if (ticked[k])
            series->replace(points[k]);
        else if (series->count() > 0)
            series->clear();
    }
}
