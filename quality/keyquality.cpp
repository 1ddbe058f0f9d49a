#include "quality/keyquality.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace
{
QString countText(const std::optional<int> &value, const QString &missing)
{
    return value ? QString::number(*value) : missing;
}
} // namespace

PhaseFigures PhaseFigures::of(const QVector<int> &samples)
{
    PhaseFigures figures;
    if (samples.isEmpty())
        return figures;
    qint64 sum = 0;
    const auto [low, high] = std::minmax_element(samples.cbegin(), samples.cend());
    for (int v : samples)
        sum += v;
    figures.mean = static_cast<int>(sum / samples.size());
    figures.minimum = *low;
    figures.maximum = *high;
    const double exactMean = double(sum) / samples.size();
    double squares = 0.0;
    for (int v : samples)
        squares += (v - exactMean) * (v - exactMean);
    figures.standardDeviation = std::sqrt(squares / samples.size());
    return figures;
}

int KeyQuality::firmwareThreshold(int base, int touch, int water)
{
    // The firmware's unsigned int is 16 bits wide: every result wraps modulo 65536.
    const quint16 b = quint16(base);
    const quint16 t = quint16(touch);
    const quint16 w = quint16(water);
    const quint16 swing = quint16(t - b);
    if (w > b && quint16(w - b) > swing / 2)
        return quint16(b + swing - swing / 4);
    return quint16(b + swing / 2);
}

KeyQuality KeyQuality::of(const ChannelSamples &samples)
{
    KeyQuality q;
    if (samples.has(SamplePhase::NoTouch)) {
        q.noTouch = PhaseFigures::of(samples.noTouch);
        q.noise = std::max(1, q.noTouch->maximum - q.noTouch->minimum);
    }
    if (samples.has(SamplePhase::Touch))
        q.touch = PhaseFigures::of(samples.touch);
    if (samples.has(SamplePhase::Water))
        q.water = PhaseFigures::of(samples.water);
    if (q.noTouch && q.touch) {
        q.signal = q.touch->mean - q.noTouch->mean;
        q.snr = double(*q.signal) / *q.noise;
    }
    if (q.noTouch && q.water) {
        q.waterShift = q.water->mean - q.noTouch->mean;
        if (q.signal && *q.signal > 0)
            q.waterShare = double(*q.waterShift) / *q.signal;
    }
    if (q.noTouch && q.touch && q.water) {
        q.threshold = firmwareThreshold(q.noTouch->mean, q.touch->mean, q.water->mean);
        q.touchMargin = q.touch->minimum - *q.threshold;
        q.noTouchMargin = *q.threshold - q.noTouch->maximum;
        q.waterMargin = *q.threshold - q.water->maximum;
        q.judge();
    }
    return q;
}

void KeyQuality::judge()
{
    QStringList fails;
    QStringList cautions;
    const bool positive = *signal > 0;
    if (!positive)
        fails << QStringLiteral(QT_TR_NOOP("信号不为正"));
    else if (*snr < kPassSnr)
        fails << QStringLiteral(QT_TR_NOOP("信噪比低于5:1"));
    if (touch->minimum <= *threshold)
        fails << QStringLiteral(QT_TR_NOOP("触摸最小值未超过阈值"));
    if (water->maximum >= *threshold)
        fails << QStringLiteral(QT_TR_NOOP("防水最大值达到阈值"));
    // A share of a signal that is not positive means nothing; that key has failed already.
    if (positive && *snr >= kPassSnr && *snr < kGoodSnr)
        cautions << QStringLiteral(QT_TR_NOOP("信噪比低于10:1"));
    if (positive && 2 * *waterShift >= *signal)
        cautions << QStringLiteral(QT_TR_NOOP("防水偏移达到信号的一半"));
    verdict = !fails.isEmpty()      ? KeyVerdict::Fail
              : !cautions.isEmpty() ? KeyVerdict::Caution
                                    : KeyVerdict::Pass;
    reasons = fails + cautions;
}

QColor KeyQuality::verdictColour(KeyVerdict verdict)
{
    switch (verdict) {
    case KeyVerdict::Pass:
        return QColor(214, 240, 214);
    case KeyVerdict::Caution:
        return QColor(255, 226, 166);
    case KeyVerdict::Fail:
        return QColor(246, 196, 196);
    }
    return QColor();
}

QString KeyQuality::verdictText() const
{
    if (!verdict)
        return QString();
    switch (*verdict) {
    case KeyVerdict::Pass:
        return QStringLiteral(QT_TR_NOOP("合格"));
    case KeyVerdict::Caution:
        return QStringLiteral(QT_TR_NOOP("注意"));
    case KeyVerdict::Fail:
        return QStringLiteral(QT_TR_NOOP("不合格"));
    }
    return QString();
}

QString KeyQuality::shown(const QString &text) { return tr(text.toUtf8().constData()); }

QStringList KeyQuality::shownReasons() const
{
    QStringList shownList;
    for (const QString &reason : reasons)
        shownList << shown(reason);
    return shownList;
}

QString KeyQuality::snrText() const
{
    if (!snr)
        return QStringLiteral(QT_TR_NOOP("未测"));
    return QString::number(std::trunc(*snr * 10.0) / 10.0, 'f', 1) + QStringLiteral(":1");
}

QString KeyQuality::waterShareText() const
{
    if (!waterShare)
        return QString();
    return QStringLiteral("%1%").arg(static_cast<int>(std::trunc(*waterShare * 100.0)));
}

QString KeyQuality::logLine(const QString &channelName) const
{
    const QString missing = tr("未测");
    QString shift = waterShareText();
    if (shift.isEmpty())
        shift = countText(waterShift, missing);
    QString line = tr("%1：噪声 %2，信号 %3，信噪比 %4，防水偏移 %5")
                       .arg(channelName, countText(noise, missing), countText(signal, missing),
                            shown(snrText()), shift);
    if (verdict) {
        line += tr("，") + shown(verdictText());
        if (!reasons.isEmpty())
            line += tr("（%1）").arg(shownReasons().join(tr("、")));
    }
    return line;
}

QString KeyQuality::toolTip(const QString &channelName) const
{
    const QString missing = tr("未测");
    const auto phase = [&](const QString &name, const std::optional<PhaseFigures> &f) {
        if (!f)
            return tr("%1：%2").arg(name, missing);
        return tr("%1：均值 %2，最小 %3，最大 %4，标准差 %5")
            .arg(name)
            .arg(f->mean)
            .arg(f->minimum)
            .arg(f->maximum)
            .arg(f->standardDeviation, 0, 'f', 1);
    };
    QString head = channelName + tr("：") + (verdict ? shown(verdictText()) : tr("数据不全"));
    if (!reasons.isEmpty())
        head += tr("（%1）").arg(shownReasons().join(tr("、")));
    QString shift = countText(waterShift, missing);
    if (waterShare)
        shift += tr("（信号的 %1）").arg(waterShareText());
    QStringList lines;
    lines << head << phase(tr("不触摸"), noTouch) << phase(tr("触摸"), touch)
          << phase(tr("防水"), water)
          << tr("噪声 %1，信号 %2，信噪比 %3")
                 .arg(countText(noise, missing), countText(signal, missing), shown(snrText()))
          << tr("防水偏移 %1").arg(shift) << tr("阈值 %1").arg(countText(threshold, missing))
          << tr("余量：触摸 %1，不触摸 %2，防水 %3")
                 .arg(countText(touchMargin, missing), countText(noTouchMargin, missing),
                      countText(waterMargin, missing));
    return lines.join(QLatin1Char('\n'));
}
