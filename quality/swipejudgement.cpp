#include "quality/swipejudgement.h"

#include <algorithm>
#include <cmath>

namespace
{
// A source text in the context its translation is kept in.
QString textOf(const char *context, const char *source, bool shownInInterface)
{
    return shownInInterface ? QCoreApplication::translate(context, source)
                            : QString::fromUtf8(source);
}

QString swipeText(const char *source, bool shownInInterface)
{
    return textOf("SwipeJudgement", source, shownInInterface);
}

// The step from one position to the next the short way round a wheel.
int wheelStep(int from, int to)
{
    int step = to - from;
    if (step > 128)
        step -= 256;
    else if (step < -128)
        step += 256;
    return step;
}
} // namespace

int SwipeJudgement::fullScale(SliderShape shape)
{
    return shape == SliderShape::Wheel ? 256 : FirmwareSliderModel::kFullScale;
}

SwipeJudgement SwipeJudgement::of(SliderShape shape, const QVector<SwipeSample> &swipe,
                                  const QVector<SwipeSample> &rest)
{
    SwipeJudgement j;
    j.shape = shape;
    if (shape == SliderShape::Wheel)
        j.findWheelTurns(swipe);
    else
        j.findSliderStrokes(swipe);
    QVector<Stroke> judged;
    for (Stroke &stroke : j.strokes) {
        if (j.judgeStroke(&stroke))
            judged << stroke;
    }
    j.strokes = judged;
    for (const Stroke &stroke : qAsConst(j.strokes)) {
        const double share = 100.0 * stroke.deviation / fullScale(shape);
        j.linearity = std::max(j.linearity.value_or(0.0), share);
    }
    j.judgeRest(rest);
    j.decide();
    return j;
}

void SwipeJudgement::findSliderStrokes(const QVector<SwipeSample> &swipe)
{
    const int band = int(FirmwareSliderModel::kFullScale * kEndBand / 100.0);
    // -1: the low end, 1: the high end, 0: neither yet.
    int lastEnd = 0;
    int lastEndIndex = -1;
    for (int i = 0; i < swipe.size(); ++i) {
        const SwipeSample &s = swipe.at(i);
        if (!s.touched)
            continue;
        const int end = s.position <= band                                     ? -1
                        : s.position >= FirmwareSliderModel::kFullScale - band ? 1
                                                                               : 0;
        if (end == 0)
            continue;
        if (end != lastEnd && lastEnd != 0) {
            Stroke stroke;
            stroke.samples = swipe.mid(lastEndIndex, i - lastEndIndex + 1);
            for (const SwipeSample &t : qAsConst(stroke.samples))
                stroke.unwrapped << t.position;
            strokes << stroke;
        }
        lastEnd = end;
        lastEndIndex = i;
    }
}

void SwipeJudgement::findWheelTurns(const QVector<SwipeSample> &swipe)
{
    int first = -1;
    while (++first < swipe.size() && !swipe.at(first).touched) {
    }
    if (first >= swipe.size())
        return;
    // The position unwrapped over the whole swipe; a scan without touch keeps the last one.
    QVector<double> unwrapped(swipe.size(), 0.0);
    double at = swipe.at(first).position;
    int last = swipe.at(first).position;
    int start = first;
    for (int i = first; i < swipe.size(); ++i) {
        if (swipe.at(i).touched) {
            at += wheelStep(last, swipe.at(i).position);
            last = swipe.at(i).position;
        }
        unwrapped[i] = at;
        if (std::abs(at - unwrapped.at(start)) >= fullScale(SliderShape::Wheel)) {
            Stroke turn;
            turn.samples = swipe.mid(start, i - start + 1);
            turn.unwrapped = unwrapped.mid(start, i - start + 1);
            strokes << turn;
            start = i;
        }
    }
}

bool SwipeJudgement::judgeStroke(Stroke *stroke)
{
    // The scans that are fitted: touched, and away from a slider's ends, where the position
    // rests at 0 or 255 while the finger goes on past the end segment's centre.
    const int band = int(FirmwareSliderModel::kFullScale * kEndBand / 100.0);
    QVector<int> active;
    for (int i = 0; i < stroke->samples.size(); ++i) {
        const SwipeSample &s = stroke->samples.at(i);
        const bool inEnd =
            shape == SliderShape::Slider &&
            (s.position <= band || s.position >= FirmwareSliderModel::kFullScale - band);
        if (s.touched && !inEnd)
            active << i;
    }
    if (active.size() < kMinScans)
        return false;
    const qint64 t0 = stroke->samples.first().ms;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int i : qAsConst(active)) {
        const double x = double(stroke->samples.at(i).ms - t0);
        const double y = stroke->unwrapped.at(i);
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double n = active.size();
    const double variance = sxx - sx * sx / n;
    stroke->slope = variance > 0 ? (sxy - sx * sy / n) / variance : 0.0;
    stroke->offset = (sy - stroke->slope * sx) / n;
    // Every touched scan is held to the line, an end's too against the line held within the
    // scale (where a slider's position rests): a position that lags and then jumps to the end
    // lies far off it.
    for (int i = 0; i < stroke->samples.size(); ++i) {
        if (!stroke->samples.at(i).touched)
            continue;
        double fit = stroke->slope * double(stroke->samples.at(i).ms - t0) + stroke->offset;
        if (shape == SliderShape::Slider)
            fit = std::clamp(fit, 0.0, double(FirmwareSliderModel::kFullScale));
        stroke->deviation = std::max(stroke->deviation, std::abs(stroke->unwrapped.at(i) - fit));
    }
    // Scans without touch between the stroke's first and last touch.
    const int firstTouch = active.first();
    const int lastTouch = active.last();
    for (int i = firstTouch; i <= lastTouch; ++i) {
        if (stroke->samples.at(i).touched)
            continue;
        int end = i;
        while (end + 1 <= lastTouch && !stroke->samples.at(end + 1).touched)
            ++end;
        if (end - i + 1 >= kLiftScans) {
            const qint64 from = stroke->samples.at(i).ms;
            const qint64 to = stroke->samples.at(end).ms;
            deadSpots.append({true, lineAt(*stroke, from), lineAt(*stroke, to), to - from});
        }
        i = end;
    }
    findStuck(*stroke, active);
    return true;
}

void SwipeJudgement::findStuck(const Stroke &stroke, const QVector<int> &active)
{
    const double travel = fullScale(shape) * kStuckTravel / 100.0;
    int i = 0;
    while (i < active.size()) {
        double low = stroke.unwrapped.at(active.at(i));
        double high = low;
        int j = i;
        while (j + 1 < active.size()) {
            const double next = stroke.unwrapped.at(active.at(j + 1));
            if (std::max(high, next) - std::min(low, next) > kStuckBand)
                break;
            low = std::min(low, next);
            high = std::max(high, next);
            ++j;
        }
        const qint64 from = stroke.samples.at(active.at(i)).ms;
        const qint64 to = stroke.samples.at(active.at(j)).ms;
        if (std::abs(stroke.slope * double(to - from)) >= travel) {
            deadSpots.append({false, lineAt(stroke, from), lineAt(stroke, to), to - from});
            i = j + 1;
        } else {
            ++i;
        }
    }
}

int SwipeJudgement::lineAt(const Stroke &stroke, qint64 ms) const
{
    const double fit = stroke.slope * double(ms - stroke.samples.first().ms) + stroke.offset;
    const int value = int(std::lround(fit));
    if (shape == SliderShape::Wheel)
        return ((value % 256) + 256) % 256;
    return std::clamp(value, 0, FirmwareSliderModel::kFullScale);
}

void SwipeJudgement::judgeRest(const QVector<SwipeSample> &rest)
{
    if (rest.isEmpty()) {
        restUntouched = true;
        return;
    }
    // The finger lands during the first quarter.
    const qint64 settled = rest.first().ms + (rest.last().ms - rest.first().ms) / 4;
    QVector<double> positions;
    double at = 0.0;
    int last = -1;
    int untouched = 0;
    for (const SwipeSample &s : rest) {
        if (s.ms < settled)
            continue;
        if (!s.touched) {
            ++untouched;
            continue;
        }
        at = last < 0 ? s.position
                      : at + (shape == SliderShape::Wheel ? wheelStep(last, s.position)
                                                          : s.position - last);
        last = s.position;
        positions << at;
    }
    if (positions.size() < kMinScans) {
        restUntouched = true;
        return;
    }
    const auto range = std::minmax_element(positions.cbegin(), positions.cend());
    jitter = 100.0 * (*range.second - *range.first) / fullScale(shape);
    if (untouched >= kLiftScans)
        deadSpots.append({true, last, last, 0});
}

void SwipeJudgement::decide()
{
    KeyVerdict worst = KeyVerdict::Pass;
    const auto mark = [&worst](KeyVerdict v) { worst = std::max(worst, v); };
    if (strokes.isEmpty() || restUntouched || !deadSpots.isEmpty())
        mark(KeyVerdict::Fail);
    if (linearity)
        mark(*linearity > kCautionLinearity ? KeyVerdict::Fail
             : *linearity > kPassLinearity  ? KeyVerdict::Caution
                                            : KeyVerdict::Pass);
    if (jitter)
        mark(*jitter > kCautionJitter ? KeyVerdict::Fail
             : *jitter > kPassJitter  ? KeyVerdict::Caution
                                      : KeyVerdict::Pass);
    verdict = worst;
}

QString SwipeJudgement::percentText(const std::optional<double> &percent)
{
    if (!percent)
        return QCoreApplication::translate("KeyQuality", "未测");
    // Cut to one decimal, so that a figure just above a mark never reads as the mark.
    return QStringLiteral("%1%").arg(std::floor(*percent * 10.0) / 10.0, 0, 'f', 1);
}

QString SwipeJudgement::deadSpotText(const DeadSpot &spot, bool shownInInterface)
{
    const QString where = spot.from == spot.to
                              ? QString::number(spot.from)
                              : QStringLiteral("%1–%2").arg(spot.from).arg(spot.to);
    return spot.noTouch ? swipeText(QT_TR_NOOP("位置 %1 无触摸 %2 ms"), shownInInterface)
                              .arg(where)
                              .arg(spot.ms)
                        : swipeText(QT_TR_NOOP("位置 %1 不动 %2 ms"), shownInInterface)
                              .arg(where)
                              .arg(spot.ms);
}

QStringList SwipeJudgement::reasons(bool shownInInterface) const
{
    const auto text = [shownInInterface](const char *source) {
        return swipeText(source, shownInInterface);
    };
    const auto over = [](double value, double passMark, double cautionMark) {
        return value > cautionMark ? cautionMark : value > passMark ? passMark : -1.0;
    };
    QStringList list;
    if (strokes.isEmpty())
        list << text(QT_TR_NOOP("没有从一端到另一端的完整滑动"));
    if (linearity) {
        const double mark = over(*linearity, kPassLinearity, kCautionLinearity);
        if (mark > 0)
            list << text(QT_TR_NOOP("线性度 %1 超过 %2%")).arg(percentText(linearity)).arg(mark);
    }
    if (restUntouched)
        list << text(QT_TR_NOOP("静止时未检测到触摸"));
    if (jitter) {
        const double mark = over(*jitter, kPassJitter, kCautionJitter);
        if (mark > 0)
            list << text(QT_TR_NOOP("抖动 %1 超过 %2%")).arg(percentText(jitter)).arg(mark);
    }
    for (const DeadSpot &spot : deadSpots)
        list << text(QT_TR_NOOP("死区：%1")).arg(deadSpotText(spot, shownInInterface));
    return list;
}

QString SwipeJudgement::summary(bool shownInInterface) const
{
    const auto text = [shownInInterface](const char *source) {
        return swipeText(source, shownInInterface);
    };
    const QString dead = deadSpots.isEmpty() ? text(QT_TR_NOOP("无"))
                                             : text(QT_TR_NOOP("%1 处")).arg(deadSpots.size());
    return text(QT_TR_NOOP("线性度 %1，抖动 %2，死区 %3"))
        .arg(percentText(linearity), percentText(jitter), dead);
}

QString SwipeJudgement::verdictText(bool shownInInterface) const
{
    const char *source = "未测";
    if (verdict)
        source = *verdict == KeyVerdict::Pass      ? "合格"
                 : *verdict == KeyVerdict::Caution ? "注意"
                                                   : "不合格";
    return textOf("KeyQuality", source, shownInInterface);
}
