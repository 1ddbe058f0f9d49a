#include "tuning/slidersession.h"

#include "charts/sliderview.h"
#include "project/pinmapsource.h"
#include "quality/keysettingsstore.h"
#include "tuning/tuningrun.h"
#include "tuning/tuningsession.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

SliderSession::SliderSession(TuningSession &session, PinMapSource &pinMap, QGridLayout *layout,
                             QWidget *dialogParent, QObject *parent)
    : QObject(parent), session(session), pinMap(pinMap), dialogParent(dialogParent)
{
    group = new QGroupBox(tr("滑条与滚轮"), dialogParent);
    group->setObjectName(QStringLiteral("sliderGroup"));
    // The controls beside the picture, so that the debug page grows by one low row only.
    auto *row = new QHBoxLayout(group);
    auto *controls = new QVBoxLayout;
    sliderChoice = new QComboBox(group);
    sliderChoice->setObjectName(QStringLiteral("sliderChoiceCBox"));
    startButton = new QPushButton(tr("滑动测试"), group);
    startButton->setObjectName(QStringLiteral("swipeTestBtn"));
    startButton->setToolTip(tr("开启验证效果后，跟随标记滑过所选滑条或滚轮，再静放在中间段，"
                               "判定线性度、抖动和死区"));
    summaryLabel = new QLabel(group);
    summaryLabel->setObjectName(QStringLiteral("swipeSummaryLabel"));
    summaryLabel->setWordWrap(true);
    controls->addWidget(sliderChoice);
    controls->addWidget(startButton);
    controls->addWidget(summaryLabel);
    controls->addStretch();
    row->addLayout(controls);
    sliderView = new SliderView(group);
    row->addWidget(sliderView, 1);
    placed = layout != nullptr;
    if (layout)
        layout->addWidget(group, layout->rowCount(), 0, 1, std::max(1, layout->columnCount()));
    else
        group->hide();
    connect(startButton, &QPushButton::clicked, this, &SliderSession::startSwipeTest);
    connect(sliderChoice, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SliderSession::showSummary);
    connect(&session, &TuningSession::resultsCleared, this, &SliderSession::refresh);
    connect(&session, &TuningSession::evidenceChanged, this, [this] {
        showSummary();
        showItems();
    });
    connect(&session, &TuningSession::checkRecordTaken, this, &SliderSession::feed);
    connect(&session.verification(), &VerificationMode::activeChanged, this,
            &SliderSession::verificationSwitched);
    connect(&test, &SwipeTest::prompted, this, &SliderSession::log);
    connect(&test, &SwipeTest::finished, this, &SliderSession::swipeFinished);
    session.reportSliders = [this] { return reportPages(); };
    // The live picture follows a change of a slider's settings, which all its segments carry.
    connect(&session.keySettings(), &KeySettingsStore::changed, this, [this](int channel) {
        keepSettingsWithSliders(channel);
        refresh();
    });
    refresh();
}

SliderSession::~SliderSession()
{
    session.reportSliders = nullptr;
    delete group;
}

QVector<SliderPreview::Slider> SliderSession::sliders() const
{
    QVector<SliderPreview::Slider> list;
    for (const SliderDefinition &d : pinMap.sliders()) {
        if (!d.isComplete())
            continue;
        SliderPreview::Slider s{d.name, d.isWheel() ? SliderShape::Wheel : SliderShape::Slider,
                                d.channels, {}, session.keySettings().at(d.channels.first())};
        for (int channel : d.channels)
            s.means << session.results().tableMeans(channel);
        list << s;
    }
    return list;
}

void SliderSession::keepSettingsWithSliders(int channel)
{
    // Each set() below reports its change again.
    if (keeping)
        return;
    keeping = true;
    KeySettingsStore &store = session.keySettings();
    for (const SliderDefinition &slider : pinMap.sliders()) {
        if (slider.channels.isEmpty())
            continue;
        QVector<KeySettings> segments;
        for (int segment : slider.channels)
            segments << store.at(segment);
        const KeySettings settings =
            slider.channels.contains(channel) ? store.at(channel) : KeySettings::ofSlider(segments);
        for (int segment : slider.channels)
            store.set(segment, settings);
    }
    keeping = false;
}

void SliderSession::refresh()
{
    keepSettingsWithSliders(-1);
    const QString chosen = sliderChoice->currentText();
    const QVector<SliderPreview::Slider> list = sliders();
    shownSliders = list;
    QSignalBlocker blocker(sliderChoice);
    sliderChoice->clear();
    for (const SliderPreview::Slider &s : list)
        sliderChoice->addItem(s.name);
    sliderChoice->setCurrentIndex(std::max(0, sliderChoice->findText(chosen)));
    blocker.unblock();
    showSummary();
    // Only a project with sliders or wheels has the room taken.
    group->setVisible(placed && !list.isEmpty());
    if (session.verification().isActive())
        livePreview.reset(list);
    showItems();
}

void SliderSession::verificationSwitched(bool on)
{
    if (!on) {
        test.cancel();
        livePreview.clear();
    }
    refresh();
}

void SliderSession::startSwipeTest()
{
    refresh();
    const QVector<SliderPreview::Slider> list = sliders();
    const int index = sliderChoice->currentIndex();
    if (index < 0 || index >= list.size())
        return;
    const SliderPreview::Slider &slider = list.at(index);
    if (!session.verification().isActive()) {
        QMessageBox::warning(dialogParent, tr("提示"), tr("请先开启验证效果，再做滑动测试！"));
        return;
    }
    // Verification switched on without a ticked curve streams nothing: the marker would wait.
    if (session.run().kind() != TuningRun::Kind::Verification) {
        QMessageBox::warning(dialogParent, tr("提示"),
                             tr("验证效果没有在采集数据：请勾选 %1 各段的通道，再重新开启验证效果！")
                                 .arg(slider.name));
        return;
    }
    const std::optional<FirmwareSliderModel> model = SliderPreview::modelOf(slider);
    if (!model) {
        QMessageBox::warning(dialogParent, tr("提示"),
                             tr("%1 的各段还没有完整的不触摸、触摸和防水均值，请先做触摸测试和"
                                "防水测试！")
                                 .arg(slider.name));
        return;
    }
    swipeOn.clear();
    for (int i = 0; i < slider.channels.size(); ++i)
        swipeOn.append({slider.channels.at(i), slider.means.value(i)});
    test.start(slider.name, *model, slider.channels);
    showItems();
}

void SliderSession::feed(const QByteArray &record, qint64 ms)
{
    // Without a slider there is nothing to show, and no frame to ask for with every record.
    if (shownSliders.isEmpty())
        return;
    livePreview.feed(record, ms);
    // Verification paces its records until its window is full; the board's queue lags meanwhile.
    test.feed(record, ms,
              session.verification().plot().history(0).size() >= VerificationPlot::kWindow);
    showItems();
}

void SliderSession::swipeFinished(const QString &name, const SwipeJudgement &judgement)
{
    QString line = tr("%1 滑动测试：%2，%3").arg(name, judgement.summary(), judgement.verdictText());
    if (!judgement.reasons().isEmpty())
        line += tr("（%1）").arg(judgement.reasons().join(tr("；")));
    log(line);
    session.keepSwipe(name, {judgement, swipeOn});
}

QMap<QString, SwipeJudgement> SliderSession::judgements() const
{
    QMap<QString, SwipeJudgement> map;
    const QMap<QString, ProjectEvidence::Swipe> &swipes = session.evidence().swipes;
    for (auto it = swipes.cbegin(); it != swipes.cend(); ++it)
        map.insert(it.key(), it->judgement);
    return map;
}

void SliderSession::showSummary()
{
    const QMap<QString, ProjectEvidence::Swipe> &swipes = session.evidence().swipes;
    const auto found = swipes.find(sliderChoice->currentText());
    summaryLabel->setText(found == swipes.end() ? QString()
                                                : found->judgement.summary() + tr("：") +
                                                      found->judgement.verdictText());
}

void SliderSession::showItems()
{
    QVector<SliderView::Item> items;
    // Taken at the last refresh: the pin map and the means stand still while records stream.
    const QVector<SliderPreview::Slider> &list = shownSliders;
    for (int i = 0; i < list.size(); ++i) {
        SliderView::Item item;
        item.name = list.at(i).name;
        item.wheel = list.at(i).shape == SliderShape::Wheel;
        const FirmwareSliderModel *model =
            test.isActive() && test.sliderName() == item.name ? test.model() : nullptr;
        if (!model && i < livePreview.count() && livePreview.slider(i).name == item.name)
            model = livePreview.model(i);
        item.measured = model != nullptr;
        const auto swiped = session.evidence().swipes.find(item.name);
        if (swiped != session.evidence().swipes.end())
            item.verdict = swiped->judgement.verdictText();
        item.touched = model && model->touched();
        item.position = model ? model->position() : 0;
        if (test.isActive() && test.sliderName() == item.name)
            item.marker = test.marker();
        items << item;
    }
    sliderView->setItems(items);
}

QVector<SliderReportPage::Slider> SliderSession::reportPages() const
{
    QVector<SliderReportPage::Slider> pages;
    const QVector<TuningReport::Channel> channels = session.reportChannels();
    for (const SliderPreview::Slider &s : sliders()) {
        SliderReportPage::Slider page{s.name, s.shape, {}, std::nullopt};
        for (int channel : s.channels) {
            const auto c = std::find_if(channels.begin(), channels.end(),
                                        [channel](const auto &r) { return r.channel == channel; });
            page.segments.append(
                {channel, c == channels.end() ? KeyQuality()
                                              : KeyQuality::of(c->samples, c->means, s.settings)});
        }
        const auto swiped = session.evidence().swipes.find(s.name);
        if (swiped != session.evidence().swipes.end())
            page.swipe = swiped->judgement;
        pages << page;
    }
    return pages;
}

void SliderSession::log(const QString &text) const { session.recorder().appendLog(text); }
