#include "tuning/swipetest.h"

#include "chip/chip.h"
#include "quality/channelsamples.h"

#include <cmath>

SwipeTest::SwipeTest(QObject *parent) : QObject(parent) {}

void SwipeTest::start(const QString &sliderName, const FirmwareSliderModel &model,
                      const QVector<int> &sliderChannels)
{
    name = sliderName;
    channels = sliderChannels;
    sliderModel = model;
    swipe.clear();
    rest.clear();
    phaseStartMs.reset();
    phase = Phase::LeadIn;
    emit prompted(tr("滑动测试 %1：请把手指放在起点（标记处），标记开始移动后跟随它匀速滑动。")
                      .arg(name));
}

void SwipeTest::cancel()
{
    if (phase == Phase::Idle)
        return;
    phase = Phase::Idle;
    sliderModel.reset();
    emit prompted(tr("滑动测试 %1 已中止。").arg(name));
}

void SwipeTest::enter(Phase next, qint64 ms)
{
    phase = next;
    phaseStartMs = ms;
    if (next == Phase::Swipe)
        emit prompted(sliderModel->shape() == SliderShape::Wheel
                          ? tr("请跟随标记沿 %1 匀速转 %2 圈。").arg(name).arg(kStrokes)
                          : tr("请跟随标记沿 %1 从一端匀速滑到另一端，来回共 %2 次。")
                                .arg(name)
                                .arg(kStrokes));
    else if (next == Phase::Rest)
        emit prompted(tr("请把手指静放在 %1 的中间段上，不要移动。").arg(name));
}

qint64 SwipeTest::elapsed() const { return phaseStartMs ? lastMs - *phaseStartMs : 0; }

void SwipeTest::feed(const QByteArray &record, qint64 ms, bool steady)
{
    if (phase == Phase::Idle || record.size() != chip::kRecordSize)
        return;
    if (!phaseStartMs || (phase == Phase::LeadIn && !steady))
        phaseStartMs = ms;
    lastMs = ms;
    const RecordCounts counts = recordCounts(record);
    sliderModel->scanChannels(counts.data(), channels);
    const SwipeSample sample{ms, sliderModel->touched(), sliderModel->position()};
    switch (phase) {
    case Phase::LeadIn:
        if (elapsed() >= kLeadInMs)
            enter(Phase::Swipe, ms);
        break;
    case Phase::Swipe:
        swipe << sample;
        if (elapsed() >= qint64(kStrokes) * kStrokeMs)
            enter(Phase::Rest, ms);
        break;
    case Phase::Rest:
        rest << sample;
        if (elapsed() >= kRestMs) {
            phase = Phase::Idle;
            const SwipeJudgement judgement =
                SwipeJudgement::of(sliderModel->shape(), swipe, rest);
            sliderModel.reset();
            emit finished(name, judgement);
        }
        break;
    case Phase::Idle:
        break;
    }
}

std::optional<double> SwipeTest::marker() const
{
    if (phase == Phase::Idle || !sliderModel)
        return std::nullopt;
    const bool wheel = sliderModel->shape() == SliderShape::Wheel;
    switch (phase) {
    case Phase::LeadIn:
        return 0.0;
    case Phase::Swipe: {
        const double strokes = double(elapsed()) / kStrokeMs;
        if (wheel)
            return strokes - std::floor(strokes);
        // Back and forth: even strokes run up, odd ones down.
        const int stroke = int(strokes);
        const double along = std::min(1.0, strokes - stroke);
        return stroke % 2 == 0 ? along : 1.0 - along;
    }
    case Phase::Rest: {
        // The middle of the middle segment, in the position's scale.
        const int n = sliderModel->segmentCount();
        return wheel ? double(n / 2) / n : double(n / 2) / std::max(1, n - 1);
    }
    case Phase::Idle:
        break;
    }
    return std::nullopt;
}
