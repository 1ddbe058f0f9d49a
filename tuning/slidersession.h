#ifndef SLIDERSESSION_H
#define SLIDERSESSION_H

#include "quality/projectevidence.h"
#include "quality/sliderpreview.h"
#include "quality/sliderreportpage.h"
#include "quality/swipejudgement.h"
#include "tuning/swipetest.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVector>

class PinMapSource;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class SliderView;
class TuningSession;

// The sliders and wheels on the debug page: their live picture during verification (a bar or a
// dial each, from the firmware's model of them, fed by the verification stream and its replay),
// the swipe test of the one chosen, the judgements it gave, and their pages of the report. Their
// segments are measured as keys are, by the session's tests.
class SliderSession : public QObject
{
    Q_OBJECT

public:
    // The group "滑条与滚轮" goes into a new row across layout (hidden without one).
    SliderSession(TuningSession &session, PinMapSource &pinMap, QGridLayout *layout,
                  QWidget *dialogParent, QObject *parent = nullptr);
    ~SliderSession() override;

    // The sliders of the pin map, with their segments' means from the results table and the
    // settings of their first segment.
    QVector<SliderPreview::Slider> sliders() const;
    // The sliders anew from the pin map: the choice of the swipe test and the live picture, and
    // the settings kept with each slider.
    void refresh();
    // "滑动测试" on the slider chosen: it needs verification on and its segments' three means.
    void startSwipeTest();
    // The report's page of each slider of the pin map.
    QVector<SliderReportPage::Slider> reportPages() const;

    const SliderPreview &preview() const { return livePreview; }
    SwipeTest &swipeTest() { return test; }
    // The last swipe test's judgement of each slider, by name: the session's evidence.
    QMap<QString, SwipeJudgement> judgements() const;
    SliderView *view() const { return sliderView; }
    QComboBox *choice() const { return sliderChoice; }
    QPushButton *swipeButton() const { return startButton; }

private:
    void verificationSwitched(bool on);
    void feed(const QByteArray &record, qint64 ms);
    void swipeFinished(const QString &name, const SwipeJudgement &judgement);
    void showItems();
    // The chosen slider's last judgement beside the button.
    void showSummary();
    void log(const QString &text) const;
    // Every segment of a slider carries the slider's settings: those a segment was given last
    // (channel), or else (a load, a new order or a new segment) KeySettings::ofSlider of its
    // segments', so that settings made on any segment by an earlier version stay.
    void keepSettingsWithSliders(int channel);

    TuningSession &session;
    PinMapSource &pinMap;
    QWidget *dialogParent;
    QGroupBox *group = nullptr;
    bool placed = false;
    bool keeping = false;
    SliderView *sliderView = nullptr;
    QComboBox *sliderChoice = nullptr;
    QPushButton *startButton = nullptr;
    QLabel *summaryLabel = nullptr;
    SliderPreview livePreview;
    SwipeTest test;
    // The segments' means the swipe test under way runs on.
    ProjectEvidence::MeasuredOn swipeOn;
    // The sliders as the last refresh found them.
    QVector<SliderPreview::Slider> shownSliders;
};

#endif // SLIDERSESSION_H
