#include "quality/projectevidence.h"

namespace
{
bool holds(const ProjectEvidence::MeasuredOn &measuredOn,
           const std::function<KeyMeans(int channel)> &meansOf)
{
    for (const auto &[channel, means] : measuredOn) {
        if (meansOf(channel) != means)
            return false;
    }
    return true;
}
} // namespace

bool ProjectEvidence::dropStale(const std::function<KeyMeans(int channel)> &meansOf,
                                QStringList *forgotten)
{
    QStringList names;
    for (auto it = swipes.begin(); it != swipes.end();) {
        if (holds(it->measuredOn, meansOf)) {
            ++it;
            continue;
        }
        names << swipeName(it.key());
        it = swipes.erase(it);
    }
    if (evaluation && !holds(measuredOn(evaluation->keys), meansOf)) {
        names << evaluationName();
        evaluation.reset();
    }
    if (falseTouch && !holds(measuredOn(falseTouch->keys), meansOf)) {
        names << falseTouchName();
        falseTouch.reset();
    }
    if (forgotten)
        *forgotten << names;
    return !names.isEmpty();
}

ProjectEvidence::MeasuredOn ProjectEvidence::measuredOn(const QVector<KeyPreview::Key> &keys)
{
    MeasuredOn list;
    for (const KeyPreview::Key &key : keys)
        list.append({key.channel, key.means});
    return list;
}

QString ProjectEvidence::swipeName(const QString &slider) { return tr("%1 滑动测试").arg(slider); }

QString ProjectEvidence::evaluationName() { return tr("录制文件评估"); }

QString ProjectEvidence::falseTouchName() { return tr("误触发测试"); }
