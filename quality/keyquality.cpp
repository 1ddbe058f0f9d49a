#include "quality/keyquality.h"

#include "chip/chip.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace
{
constexpr qint64 kPerPhase = chip::kSamplesPerPhase;

QString countText(const std::optional<int> &value, const QString &missing)
{
    return value ? QString::number(*value) : missing;
}

// A difference of two sums over a phase's samples as the difference of their means, rounded.
int roundedMean(qint64 sum) { return qRound(double(sum) / kPerPhase); }
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
    figures.sum = sum;
    const double exactMean = double(sum) / samples.size();
    double squares = 0.0;
    for (int v : samples)
        squares += (v - exactMean) * (v - exactMean);
    figures.standardDeviation = std::sqrt(squares / samples.size());
    return figures;
}

KeyQuality KeyQuality::of(const ChannelSamples &samples, const KeyMeans &table,
                          const KeySettings &settings)
{
    KeyQuality q;
    q.settings = settings;
    const auto figures = [&q](SamplePhase phase) -> std::optional<PhaseFigures> & {
        return phase == SamplePhase::NoTouch ? q.noTouch
               : phase == SamplePhase::Touch ? q.touch
                                             : q.water;
    };
    // Each phase's sum over its samples; from the row's mean where there are no samples.
    std::optional<qint64> sums[3];
    for (SamplePhase phase : {SamplePhase::NoTouch, SamplePhase::Touch, SamplePhase::Water}) {
        std::optional<PhaseFigures> &f = figures(phase);
        if (samples.has(phase))
            f = PhaseFigures::of(samples.of(phase));
        const std::optional<int> &row = table.of(phase);
        std::optional<int> &mean = q.means.of(phase);
        mean = row ? row : f ? std::optional<int>(f->mean) : std::nullopt;
        if (row && f && *row != f->mean)
            q.tableDiffers = true;
        if (f)
            sums[int(phase)] = f->sum;
        else if (mean)
            sums[int(phase)] = *mean * kPerPhase;
    }
    const auto &[noTouchSum, touchSum, waterSum] = sums;
    if (q.noTouch)
        q.noise = std::max(1, q.noTouch->maximum - q.noTouch->minimum);
    if (noTouchSum && touchSum) {
        q.signalSum = *touchSum - *noTouchSum;
        q.signal = roundedMean(q.signalSum);
        if (q.noise)
            q.snr = double(q.signalSum) / (kPerPhase * *q.noise);
    }
    if (noTouchSum && waterSum) {
        q.shiftSum = *waterSum - *noTouchSum;
        q.waterShift = roundedMean(q.shiftSum);
        if (q.signal && q.signalSum > 0)
            q.waterShare = int(100 * q.shiftSum / q.signalSum);
    }
    if (q.means.isComplete()) {
        const KeyMeans &m = q.means;
        q.thresholds = KeyThresholds::of(*m.noTouch, *m.touch, *m.water, settings);
        q.pressThreshold = q.thresholds.pressAt(*m.noTouch);
        q.releaseThreshold = q.thresholds.releaseAt(*m.noTouch);
        if (q.touch)
            q.touchMargin = q.touch->minimum - *q.pressThreshold;
        if (q.noTouch)
            q.noTouchMargin = *q.releaseThreshold - q.noTouch->maximum;
        if (q.water)
            q.waterMargin = *q.releaseThreshold - q.water->maximum;
    }
    if (q.tableDiffers) {
        q.reasons << QStringLiteral(QT_TR_NOOP("表格数值已手动修改，与采样不符"));
        q.reasonDetails << shown(q.reasons.last());
    }
    if (q.noTouch && q.touch && q.water)
        q.judge();
    return q;
}

void KeyQuality::judge()
{
    QStringList fails;
    QStringList cautions;
    QStringList failDetails;
    QStringList cautionDetails;
    const auto fail = [&](const QString &reason, const QString &detail) {
        fails << reason;
        failDetails << detail;
    };
    const auto caution = [&](const QString &reason, const QString &detail) {
        cautions << reason;
        cautionDetails << detail;
    };
    const bool positive = signalSum > 0;
    if (!positive)
        fail(QStringLiteral(QT_TR_NOOP("信号不为正")), tr("信号 %1 不为正").arg(*signal));
    else if (*snr < kPassSnr)
        fail(QStringLiteral(QT_TR_NOOP("信噪比低于5:1")), tr("信噪比 %1 低于 5:1").arg(snrText()));
    if (touch->minimum <= *pressThreshold)
        fail(QStringLiteral(QT_TR_NOOP("触摸最小值未超过按下阈值")),
             tr("触摸最小值 %1 未超过按下阈值 %2").arg(touch->minimum).arg(*pressThreshold));
    if (noTouch->maximum >= *releaseThreshold)
        fail(QStringLiteral(QT_TR_NOOP("不触摸最大值达到释放阈值")),
             tr("不触摸最大值 %1 达到释放阈值 %2").arg(noTouch->maximum).arg(*releaseThreshold));
    if (water->maximum >= *releaseThreshold)
        fail(QStringLiteral(QT_TR_NOOP("防水最大值达到释放阈值")),
             tr("防水最大值 %1 达到释放阈值 %2").arg(water->maximum).arg(*releaseThreshold));
    // A share of a signal that is not positive means nothing; that key has failed already.
    if (positive && *snr >= kPassSnr && *snr < kGoodSnr)
        caution(QStringLiteral(QT_TR_NOOP("信噪比低于10:1")),
                tr("信噪比 %1 低于 10:1").arg(snrText()));
    if (positive && 2 * shiftSum >= signalSum)
        caution(QStringLiteral(QT_TR_NOOP("防水偏移达到信号的一半")),
                tr("防水偏移 %1 达到信号的一半").arg(waterShareText()));
    // The engineer lowered the threshold below the water rule's floor: said, so that it is known.
    if (thresholds.waterFloorWaived)
        caution(QStringLiteral(QT_TR_NOOP("防水下限已关闭")),
                tr("防水下限已关闭，按下阈值 %1 低于摆幅的四分之三").arg(*pressThreshold));
    verdict = !fails.isEmpty()      ? KeyVerdict::Fail
              : !cautions.isEmpty() ? KeyVerdict::Caution
                                    : KeyVerdict::Pass;
    // The firmware gets the row's means: a key judged from other samples cannot pass, and that
    // comes first, since it explains the other reasons.
    if (tableDiffers && verdict == KeyVerdict::Pass)
        verdict = KeyVerdict::Caution;
    reasons += fails + cautions;
    reasonDetails += failDetails + cautionDetails;
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

QString KeyQuality::figureText(const std::optional<int> &value, bool fromRowWithoutSamples)
{
    if (value)
        return QString::number(*value);
    return fromRowWithoutSamples ? QStringLiteral(QT_TR_NOOP("无采样"))
                                 : QStringLiteral(QT_TR_NOOP("未测"));
}

QString KeyQuality::snrText() const
{
    if (!snr)
        return signal ? QStringLiteral(QT_TR_NOOP("无采样")) : QStringLiteral(QT_TR_NOOP("未测"));
    // Cut in integers: a ratio of exactly 5 must never read 4.9.
    const qint64 tenths = 10 * signalSum / (kPerPhase * *noise);
    return QString::number(double(tenths) / 10.0, 'f', 1) + QStringLiteral(":1");
}

QString KeyQuality::waterShareText() const
{
    return waterShare ? QStringLiteral("%1%").arg(*waterShare) : QString();
}

QString KeyQuality::meanText(SamplePhase phase) const
{
    return countText(means.of(phase), QStringLiteral(QT_TR_NOOP("未测")));
}

QString KeyQuality::noiseText() const { return figureText(noise, means.noTouch.has_value()); }

QString KeyQuality::marginText(const std::optional<int> &margin, bool shownInInterface) const
{
    if (!margin) {
        const QString missing = figureText(margin, pressThreshold.has_value());
        return shownInInterface ? shown(missing) : missing;
    }
    if (!thresholds.canPress())
        return QString::number(*margin);
    const int percent = thresholds.percentOfSwing(*margin);
    return shownInInterface ? tr("%1（%2%）").arg(*margin).arg(percent)
                            : QStringLiteral("%1（%2%）").arg(*margin).arg(percent);
}

QString KeyQuality::logLine(const QString &channelName) const
{
    const QString missing = tr("未测");
    QString shift = waterShareText();
    if (shift.isEmpty())
        shift = countText(waterShift, missing);
    QString line = tr("%1：噪声 %2，信号 %3，信噪比 %4，防水偏移 %5")
                       .arg(channelName, shown(noiseText()), countText(signal, missing),
                            shown(snrText()), shift);
    if (verdict)
        line += tr("，") + shown(verdictText());
    if (!reasons.isEmpty())
        line += tr("（%1）").arg(shownReasons().join(tr("、")));
    return line;
}

QString KeyQuality::settingsLine() const
{
    QStringList fields;
    for (KeySettings::Field field : KeySettings::kFields)
        fields << KeySettings::fieldName(field) + QLatin1Char(' ') +
                      KeySettings::valueText(field, settings.value(field));
    return tr("设置：%1").arg(fields.join(tr("，")));
}

QString KeyQuality::toolTip(const QString &channelName) const
{
    const QString missing = tr("未测");
    const auto phase = [&](const QString &name, SamplePhase p,
                           const std::optional<PhaseFigures> &f) {
        if (!f && !means.of(p))
            return tr("%1：%2").arg(name, missing);
        if (!f)
            return tr("%1：均值 %2，无采样").arg(name, shown(meanText(p)));
        return tr("%1：均值 %2，最小 %3，最大 %4，标准差 %5")
            .arg(name, shown(meanText(p)))
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
    lines << head << phase(tr("不触摸"), SamplePhase::NoTouch, noTouch)
          << phase(tr("触摸"), SamplePhase::Touch, touch)
          << phase(tr("防水"), SamplePhase::Water, water)
          << tr("噪声 %1，信号 %2，信噪比 %3")
                 .arg(shown(noiseText()), countText(signal, missing), shown(snrText()))
          << tr("防水偏移 %1").arg(shift) << settingsLine()
          << tr("按下阈值 %1，释放阈值 %2")
                 .arg(countText(pressThreshold, missing), countText(releaseThreshold, missing))
          << tr("余量：触摸 %1，不触摸 %2，防水 %3")
                 .arg(marginText(touchMargin, true), marginText(noTouchMargin, true),
                      marginText(waterMargin, true));
    lines << notes;
    return lines.join(QLatin1Char('\n'));
}
