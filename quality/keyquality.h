#ifndef KEYQUALITY_H
#define KEYQUALITY_H

#include "quality/channelsamples.h"
#include "quality/keysettings.h"
#include "quality/keythresholds.h"

#include <QColor>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The figures of one measured phase. The mean is truncated as the results table shows it.
struct PhaseFigures
{
    int mean = 0;
    int minimum = 0;
    int maximum = 0;
    qint64 sum = 0;
    double standardDeviation = 0.0; // population deviation from the exact mean

    static PhaseFigures of(const QVector<int> &samples);
};

enum class KeyVerdict {
    Pass,
    Caution,
    Fail,
};

// How good a key is under its settings: noise and the spread of each phase from its kept
// samples; the means from the results row, which is what the application firmware gets, and from
// them and the key's settings the press and release thresholds the firmware builds and the
// margins to them (the touched minimum above the press threshold, the untouched and the water
// maximum below the release threshold); signal, signal-to-noise ratio and water shift from the
// samples' exact means (from the row's means where there are no samples); and a verdict with its
// reasons. Figures that need a phase not measured are absent; the verdict is given only when all
// three phases have their samples. A row whose mean is not its samples' mean is marked, and its
// verdict is at most 注意.
struct KeyQuality
{
    Q_DECLARE_TR_FUNCTIONS(KeyQuality)

public:
    static constexpr double kPassSnr = 5.0;
    static constexpr double kGoodSnr = 10.0;

    // table: the means of the key's results row; a phase the row lacks takes its samples' mean.
    static KeyQuality of(const ChannelSamples &samples, const KeyMeans &table = {},
                         const KeySettings &settings = KeySettings());

    // Pale green, amber or red: the background that marks a key by its verdict.
    static QColor verdictColour(KeyVerdict verdict);

    bool isComplete() const { return verdict.has_value(); }
    // "合格", "注意" or "不合格"; empty without a verdict. The verdict, the reasons and the
    // ratio's text are in the sources' language, as the tuning report prints them; shown() gives
    // one of them in the interface's language.
    QString verdictText() const;
    static QString shown(const QString &text);
    QStringList shownReasons() const;
    // The ratio cut to one decimal ("4.9:1" for 4.99), so that a ratio just below a limit never
    // reads as the limit; "无采样" when only the samples are missing, "未测" without a signal.
    QString snrText() const;
    // The water shift's share of the signal in whole percent, cut ("49%" for 49.9%); empty
    // without one.
    QString waterShareText() const;
    // A phase's mean as the firmware gets it, or "未测".
    QString meanText(SamplePhase phase) const;
    QString noiseText() const;
    // A margin in counts and as a share of the swing, "132（44%）", or why there is none; in the
    // sources' language unless shown in the interface's.
    QString marginText(const std::optional<int> &margin, bool shownInInterface = false) const;
    // "TK3：噪声 12，信号 300，信噪比 25.0:1，防水偏移 4%，合格", the reasons in brackets after a
    // verdict other than 合格; a figure not measured reads "未测" and no verdict follows.
    QString logLine(const QString &channelName) const;
    // Every figure, one group a line, for the results row.
    QString toolTip(const QString &channelName) const;
    // "设置：按下位置 50%，迟滞 10%，消抖 3 次，最长按下 20 秒，防水下限 开"
    QString settingsLine() const;

    std::optional<PhaseFigures> noTouch;
    std::optional<PhaseFigures> touch;
    std::optional<PhaseFigures> water;
    // The means the firmware gets: the results row's, or the samples' where the row has none.
    KeyMeans means;
    // A mean of the results row is not the mean of its samples (edited, or samples of another
    // project).
    bool tableDiffers = false;

    std::optional<int> noise;      // untouched maximum - minimum, 0 counted as 1
    std::optional<int> signal;     // touched mean - untouched mean, exact and then rounded
    std::optional<double> snr;     // exact signal / noise
    std::optional<int> waterShift; // water mean - untouched mean, exact and then rounded
    std::optional<int> waterShare; // water shift / signal in whole percent, cut; positive signal
    // The key's settings, and the thresholds they give over the row's means; the thresholds at
    // the base the firmware starts from, the untouched mean.
    KeySettings settings;
    KeyThresholds thresholds;
    std::optional<int> pressThreshold;
    std::optional<int> releaseThreshold;
    std::optional<int> touchMargin;   // touched minimum - press threshold
    std::optional<int> noTouchMargin; // release threshold - untouched maximum
    std::optional<int> waterMargin;   // release threshold - water maximum
    std::optional<KeyVerdict> verdict;
    QStringList reasons;
    // The same reasons with their figures ("信噪比 0.0:1 低于 5:1"), in the same order.
    QStringList reasonDetails;
    // What other keys do to this one (CouplingMatrix), one a line at the end of the tooltip.
    QStringList notes;

private:
    void judge();
    // The count, or why there is none: "无采样" when the row holds what it needs, else "未测".
    static QString figureText(const std::optional<int> &value, bool fromRowWithoutSamples);

    // Signal and water shift times the samples of a phase: their exact values in integers.
    qint64 signalSum = 0;
    qint64 shiftSum = 0;
};

#endif // KEYQUALITY_H
