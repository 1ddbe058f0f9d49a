#ifndef PROJECTEVIDENCE_H
#define PROJECTEVIDENCE_H

#include "quality/channelsamples.h"
#include "quality/evaluationreport.h"
#include "quality/swipejudgement.h"

#include <QCoreApplication>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

// What the tuning report shows beyond the results and the samples: each slider's last swipe
// judgement, the last evaluation of recordings and the last false-touch run. Each was measured on
// the means of some channels, and holds only while the results keep those means.
struct ProjectEvidence
{
    Q_DECLARE_TR_FUNCTIONS(ProjectEvidence)

public:
    // The channels a judgement was measured on, with their means then.
    using MeasuredOn = QVector<QPair<int, KeyMeans>>;
    struct Swipe
    {
        SwipeJudgement judgement;
        MeasuredOn measuredOn;
    };

    // By the slider's name.
    QMap<QString, Swipe> swipes;
    std::optional<EvaluationReport::Snapshot> evaluation;
    std::optional<EvaluationReport::Snapshot> falseTouch;

    bool isEmpty() const { return swipes.isEmpty() && !evaluation && !falseTouch; }
    // Forgets what was measured on other means than meansOf gives now; false when all holds.
    // The names of what went ("S1 滑动测试", "录制文件评估", "误触发测试") go to forgotten.
    bool dropStale(const std::function<KeyMeans(int channel)> &meansOf,
                   QStringList *forgotten = nullptr);
    static MeasuredOn measuredOn(const QVector<KeyPreview::Key> &keys);
    static QString swipeName(const QString &slider);
    static QString evaluationName();
    static QString falseTouchName();
};

#endif // PROJECTEVIDENCE_H
