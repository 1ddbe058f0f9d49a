#include "tuning/tuningsession.h"

#include "chip/chip.h"
#include "project/pinmapsource.h"
#include "project/writefailure.h"
#include "quality/evidencefile.h"
#include "quality/keyquality.h"
#include "quality/samplesfile.h"
#include "tuning/keysettingspanel.h"
#include "tuning/keysuggestionbox.h"
#include "tuning/tuninglink.h"
#include "tuning/tuningrun.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>

#include <memory>

TuningSession::TuningSession(const TuningWidgets &w, const QStringList &channelNames,
                             TuningRun &run, PinMapSource &pinMap, TuningLink &link,
                             const Pacing &pacing, const QString &exportFolder, QObject *parent)
    : QObject(parent), tuningRun(run), pinMap(pinMap), dialogParent(w.dialogParent), log(w.log),
      pane(w.log), history(w.log), names(channelNames), linkSwitch(link),
      liveChart(w.chartView, w.startValueCBox, w.endValueCBox, w.hoverLabel),
      resultsTable(w.tableWidget, channelNames),
      channelIndicators(w.keys, w.swatches, w.checkBoxes, pinMap, run, w.dialogParent),
      channelRecorder(run, liveChart, channelIndicators, pinMap, linkSwitch, pacing, w.log,
                      w.dialogParent),
      testSequencer(run, channelRecorder, liveChart, resultsTable, store, channelIndicators,
                    linkSwitch, pacing, w.dialogParent),
      waterproofTest(run, channelRecorder, liveChart, resultsTable, store, pinMap, linkSwitch,
                     w.dialogParent, exportFolder),
      verificationMode(liveChart, run, linkSwitch, pacing, w.verificationButton, w.checkBoxes,
                       w.dialogParent),
      numbersView(w.numbersTable, keyPreview), pauseButton(w.pauseButton),
      streamRecording(run, w.recordButton, w.log, w.dialogParent),
      player(*this, w.replay, w.log, w.dialogParent),
      phaseProgress(run, w.progressLabel, [this, parent = w.overlayParent](const QSize &size) {
          return pane.overlayPosition(size, parent);
      })
{
    streamClock.start();
    couplingLog.setSingleShot(true);
    couplingLog.setInterval(0);
    connect(&couplingLog, &QTimer::timeout, this, &TuningSession::logCouplingWarnings);
    chooseReportFile = [](QWidget *parent, const QString &caption, const QString &proposed,
                          const QString &filter) {
        return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
    };
    liveChart.rebuild(12, 11);
    resultsTable.setup();
    pauseButton->setEnabled(false);
    connect(&channelIndicators, &ChannelIndicators::swatchColourChanged, &verificationMode,
            &VerificationMode::applySwatchColour);
    connect(&testSequencer, &ChannelTestSequencer::channelFinished, this,
            &TuningSession::showChannelQuality);
    connect(&waterproofTest, &WaterproofTest::channelFinished, this,
            &TuningSession::showChannelQuality);
    connect(&verificationMode, &VerificationMode::activeChanged, this,
            &TuningSession::switchPreview);
    // A change of phase is a pause of the stream: what waits for its frame is drawn at once.
    connect(&run, &TuningRun::phaseChanged, this, [this] {
        liveChart.flushTestPoints();
        verificationMode.flushFrame();
        phaseProgress.update();
    });
    // The session follows a change of settings before the panel shows the key's new figures.
    connect(&keySettingsStore, &KeySettingsStore::changed, this,
            &TuningSession::keySettingsChanged);
    panel = new KeySettingsPanel(keySettingsStore, pinMap, w.dialogParent);
    panel->describe = [this](int channel) { return settingsSummary(channel); };
    connect(panel, &KeySettingsPanel::suggestRequested, this, &TuningSession::suggestSettings);
    if (QGridLayout *layout = w.settingsPanelLayout)
        layout->addWidget(panel, layout->rowCount(), 0, 1, std::max(1, layout->columnCount()));
    else
        panel->hide();
    connect(&liveChart, &LiveChart::rebuilt, this, [this] { curvesChannel = -1; });
    QTableWidget *table = w.tableWidget;
    connect(table, &QTableWidget::cellClicked, this, [this](int row) {
        showRowCurves(row);
        if (panel)
            panel->selectChannel(resultsTable.channelOfRow(row));
    });
    connect(table, &QTableWidget::cellChanged, this, &TuningSession::tableCellChanged);
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this, [this, table](const QPoint &at) {
        QMenu menu(table);
        menu.addAction(tr("导出调试报告…"), this, &TuningSession::reportRequested);
        menu.exec(table->viewport()->mapToGlobal(at));
    });
    // The log's own entries (copy, select all), and the session's log into a file.
    log->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(log, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        std::unique_ptr<QMenu> menu(log->createStandardContextMenu());
        menu->addSeparator();
        menu->addAction(tr("保存日志…"), this, &TuningSession::logSaveRequested);
        menu->exec(log->viewport()->mapToGlobal(at));
    });
}

TuningSession::~TuningSession()
{
    // The panel edits this session's settings: it goes with them, wherever the layout put it.
    delete panel.data();
}

void TuningSession::handleRecord(const QByteArray &record, int crcFailed)
{
    streamRecording.add(record, crcFailed, false);
    // The record that raises the add-water prompt is neither counted nor drawn.
    if (tuningRun.waterPromptPending()) {
        waterproofTest.promptAddWater();
        return;
    }
    if (!channelRecorder.take(record, crcFailed))
        return;
    phaseProgress.update();
    if (tuningRun.waterproofMode())
        waterproofTest.recordCounted();
    else
        testSequencer.recordCounted();
}

void TuningSession::handleCheckRecord(const QByteArray &record, int crcFailed)
{
    lastDeliveryMs = streamClock.elapsed();
    takeCheckRecord(record, crcFailed, player.isActive() ? player.currentMs() : lastDeliveryMs, 0);
    verificationMode.endDelivery();
}

void TuningSession::handleCheckRecords(const QByteArrayList &records, const QVector<int> &crcFailed)
{
    // The board's queue was empty at the delivery before: these reports came after it.
    const qint64 now = streamClock.elapsed();
    const qint64 since = std::min(lastDeliveryMs, now);
    lastDeliveryMs = now;
    const qint64 count = records.size();
    for (int i = 0; i < records.size(); ++i) {
        const qint64 ms = since + (now - since) * (i + 1) / count;
        takeCheckRecord(records.at(i), crcFailed.value(i, 1), ms, now - ms);
    }
    verificationMode.endDelivery();
}

void TuningSession::takeCheckRecord(const QByteArray &record, int crcFailed, qint64 ms,
                                    qint64 lateMs)
{
    streamRecording.add(record, crcFailed, true, lateMs);
    verificationMode.takeRecord(record);
    // The zeros of a cut-short record would reset the debounce and drag the base.
    if (crcFailed != 0)
        return;
    emit checkRecordTaken(record, ms);
    for (int channel : keyPreview.feed(record, ms))
        channelIndicators.showPressed(channel, keyPreview.pressed(channel));
    if (verificationMode.isActive())
        numbersView.feed(ms, record);
}

void TuningSession::readerFailed(const QString &text) { testSequencer.abandonRun(text); }

void TuningSession::stopRun()
{
    if (player.isActive())
        player.close();
    else
        testSequencer.stop();
}

void TuningSession::checkReaderFailed(const QString &text)
{
    if (verificationMode.endOnReaderFailure())
        log->appendPlainText(
            tr("验证效果已中止：%1").arg(linkSwitch.isOpen() ? text : tr("调试器已断开")));
    channelRecorder.warn(text);
}

void TuningSession::clearResults()
{
    resultsTable.clearResults();
    store.clear();
    tuningRun.clearQueue();
    coupling = CouplingMatrix();
    loggedCouplings.clear();
    kept = ProjectEvidence();
    emit resultsCleared();
    emit evidenceChanged();
}

TuningSession::SavedResults TuningSession::saveResults() const
{
    return {resultsTable.save(), store, loggedCouplings, kept};
}

bool TuningSession::hasResults() const
{
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (!store.at(channel).isEmpty())
            return true;
    }
    return resultsTable.filledRowCount() > 0;
}

void TuningSession::restoreResults(const SavedResults &saved)
{
    clearResults();
    resultsTable.restore(saved.table);
    store = saved.store;
    loggedCouplings = saved.loggedCouplings;
    kept = saved.evidence;
    updateCoupling();
    showAllQuality();
    emit evidenceChanged();
}

void TuningSession::adoptLoadedResults(const QString &samplesPath)
{
    resultsTable.adoptLoadedRows();
    store.clear();
    loggedCouplings.clear();
    uncleanSamplesPath.clear();
    if (QFileInfo::exists(samplesPath)) {
        QString error;
        int skipped = 0;
        if (!SamplesFile::read(samplesPath, &store, &error, &skipped)) {
            log->appendPlainText(error);
            uncleanSamplesPath = samplesPath;
        } else if (skipped > 0) {
            log->appendPlainText(
                tr("样本文件 %1：跳过 %2 行").arg(QFileInfo(samplesPath).fileName()).arg(skipped));
            uncleanSamplesPath = samplesPath;
        }
    }
    // The samples file keeps what each touch did to the other keys; an older one does not.
    updateCoupling();
    QStringList unmeasured;
    for (int channel : coupling.unmeasuredChannels())
        unmeasured << names.value(channel);
    if (!unmeasured.isEmpty() && coupling.channels().size() > 1)
        log->appendPlainText(
            tr("样本文件 %1 没有邻键影响的数据：触摸 %2 时的邻键影响未测")
                .arg(QFileInfo(samplesPath).fileName(), unmeasured.join(tr("、"))));
    showAllQuality();
}

bool TuningSession::saveSamples(const QString &samplesPath, QString *error)
{
    // What the tool could not read may still be the user's only copy of those samples.
    if (samplesPath == uncleanSamplesPath && QFileInfo::exists(samplesPath)) {
        if (!SamplesFile::keepAsBackup(samplesPath, error))
            return false;
        uncleanSamplesPath.clear();
    }
    return SamplesFile::write(samplesPath, store, error);
}

void TuningSession::keepSwipe(const QString &slider, const ProjectEvidence::Swipe &swipe)
{
    kept.swipes.insert(slider, swipe);
    emit evidenceChanged();
}

void TuningSession::keepEvaluation(const std::optional<EvaluationReport::Snapshot> &snapshot)
{
    kept.evaluation = snapshot;
    emit evidenceChanged();
}

void TuningSession::keepFalseTouch(const EvaluationReport::Snapshot &snapshot)
{
    kept.falseTouch = snapshot;
    emit evidenceChanged();
}

void TuningSession::adoptLoadedEvidence(const QString &path)
{
    kept = ProjectEvidence();
    uncleanEvidencePath.clear();
    const QString name = QFileInfo(path).fileName();
    if (QFileInfo::exists(path)) {
        QString error;
        QStringList unread;
        if (!EvidenceFile::read(path, &kept, &error, &unread)) {
            log->appendPlainText(error);
            uncleanEvidencePath = path;
        } else if (!unread.isEmpty()) {
            log->appendPlainText(
                tr("测试结论文件 %1：%2 无法读取，已略去").arg(name, unread.join(tr("、"))));
            uncleanEvidencePath = path;
        }
    }
    // An older tool measures again without a word to this file.
    QStringList stale;
    if (dropStaleEvidence(&stale))
        log->appendPlainText(tr("测试结论文件 %1：%2 所依据的均值与结果表不同，未恢复")
                                 .arg(name, stale.join(tr("、"))));
    emit evidenceLoaded();
    emit evidenceChanged();
}

bool TuningSession::dropStaleEvidence(QStringList *forgotten)
{
    return kept.dropStale([this](int channel) { return resultsTable.tableMeans(channel); },
                          forgotten);
}

bool TuningSession::saveEvidence(const QString &path, QString *error)
{
    if (path == uncleanEvidencePath && QFileInfo::exists(path)) {
        if (!EvidenceFile::keepAsBackup(path, error))
            return false;
        uncleanEvidencePath.clear();
    }
    return EvidenceFile::write(path, kept, error);
}

KeyQuality TuningSession::qualityOf(int channel) const
{
    KeyQuality quality = KeyQuality::of(store.at(channel), resultsTable.tableMeans(channel),
                                        keySettingsStore.at(channel));
    coupling.judge(channel, &quality);
    return quality;
}

void TuningSession::updateCoupling()
{
    // The keys of the report, so that it judges them as their rows do.
    QVector<CouplingMatrix::Key> keys;
    const QVector<TuningReport::Channel> channels = reportChannels();
    for (const TuningReport::Channel &c : channels)
        keys.append({c.channel, &store.at(c.channel), c.means, c.settings});
    coupling = CouplingMatrix::measure(keys);
}

void TuningSession::logCouplingWarnings()
{
    // A neighbour's touch that takes a key more than half-way to its threshold: said once, and
    // again when its figures change, so that the log's last word is what the tooltip shows.
    for (const CouplingMatrix::Entry &entry : coupling.warnings()) {
        const QString text = CouplingMatrix::warningText(entry);
        QString &logged = loggedCouplings[{entry.touched, entry.affected}];
        if (logged != text) {
            logged = text;
            log->appendPlainText(text);
        }
    }
}

void TuningSession::showChannelQuality(int channel)
{
    updateCoupling();
    log->appendPlainText(qualityOf(channel).logLine(shownName(channel)));
    logCouplingWarnings();
    // The measured key may change what its neighbours' rows say.
    showAllQuality();
}

QString TuningSession::shownName(int channel) const
{
    // A segment's figures say which slider's segment they are.
    const QString place = channelRecorder.segmentPlace(channel);
    return place.isEmpty() ? names.value(channel) : tr("%1（%2）").arg(names.value(channel), place);
}

void TuningSession::showAllQuality()
{
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (resultsTable.rowOf(channel) >= 0)
            resultsTable.showQuality(channel, qualityOf(channel), shownName(channel));
    }
    if (panel)
        panel->showSelection();
}

void TuningSession::tableCellChanged(int row, int column)
{
    const int channel = resultsTable.channelAt(row);
    if (ResultsTable::isMeanColumn(column) && channel >= 0) {
        if (dropStaleEvidence())
            emit evidenceChanged();
        updateCoupling();
        // Its margin is every neighbour's coupling figure.
        showAllQuality();
        // Told once the edit, or the load that writes the whole table, is done.
        couplingLog.start();
    }
}

void TuningSession::switchPreview(bool on)
{
    for (int channel = 0; channel < chip::kChannelCount; ++channel)
        channelIndicators.showPressed(channel, false);
    setPicturePaused(false);
    pauseButton->setEnabled(on);
    if (!on) {
        keyPreview.clear();
        numbersView.stop();
        return;
    }
    resetPreview();
    numbersView.start(channelRecorder.channelsInUse());
}

QVector<KeyPreview::Key> TuningSession::firmwareKeys() const
{
    QVector<KeyPreview::Key> keys;
    for (int channel : channelRecorder.channelsInUse()) {
        // A slider's segments are no keys of the firmware: their slider shows what it decides.
        if (!pinMap.isKey(channel))
            continue;
        keys.append({channel, pinMap.keyNumber(channel), resultsTable.tableMeans(channel),
                     keySettingsStore.at(channel)});
    }
    return keys;
}

void TuningSession::resetPreview()
{
    keyPreview.reset(firmwareKeys());
    for (int channel = 0; channel < chip::kChannelCount; ++channel)
        channelIndicators.showPressed(channel, false);
}

void TuningSession::restartStreamFigures()
{
    verificationMode.clearCurves();
    if (verificationMode.isActive())
        switchPreview(true);
}

void TuningSession::drawNow()
{
    liveChart.flushTestPoints();
    verificationMode.flushFrame();
    numbersView.flush();
    phaseProgress.update();
}

void TuningSession::togglePicturePause()
{
    if (verificationMode.isActive())
        setPicturePaused(!verificationMode.isPaused());
}

void TuningSession::setPicturePaused(bool paused)
{
    verificationMode.setPaused(paused);
    numbersView.setPaused(paused);
    pauseButton->setText(paused ? tr("继续画面") : tr("暂停画面"));
}

void TuningSession::showRowCurves(int row)
{
    if (tuningRun.kind() != TuningRun::Kind::None || verificationMode.isActive())
        return;
    const int channel = resultsTable.channelOfRow(row);
    if (channel < 0 || store.at(channel).isEmpty())
        return;
    const KeyQuality quality = qualityOf(channel);
    SamplesPlot::Lines lines;
    if (quality.thresholds.canPress())
        lines = {quality.pressThreshold, quality.releaseThreshold};
    liveChart.showStoredCurves(store.at(channel), lines);
    curvesChannel = channel;
}

QVector<TuningReport::Channel> TuningSession::reportChannels() const
{
    QVector<TuningReport::Channel> channels;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (resultsTable.rowOf(channel) >= 0 || !store.at(channel).isEmpty())
            channels.append({channel, store.at(channel), pinMap.keyNumber(channel),
                             resultsTable.tableMeans(channel), keySettingsStore.at(channel)});
    }
    return channels;
}

QStringList TuningSession::keyConcerns() const
{
    QStringList concerns;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (pinMap.channelInUse(channel) != 1)
            continue;
        // The judgement its row shows: its row's means and its neighbours' touches.
        const KeyQuality quality = qualityOf(channel);
        if (quality.verdict && *quality.verdict != KeyVerdict::Pass)
            concerns << names.value(channel) + tr("：") + quality.reasonDetails.join(tr("、"));
    }
    return concerns;
}

QStringList TuningSession::concerns() const
{
    QStringList list = keyConcerns();
    if (reportSliders) {
        for (const SliderReportPage::Slider &slider : reportSliders()) {
            if (slider.swipe && slider.swipe->verdict && *slider.swipe->verdict != KeyVerdict::Pass)
                list << tr("%1：滑动测试%2：%3")
                            .arg(slider.name, slider.swipe->verdictText(),
                                 slider.swipe->reasons().join(tr("、")));
        }
    }
    // A key the false-touch run failed is no key to ship.
    if (const auto &run = kept.falseTouch) {
        for (const KeyPreview::Key &key : run->keys) {
            const RecordingEvaluation::KeyFigures &figures = run->result.keys.at(key.channel);
            if (figures.modelled && !figures.quietPass())
                list << tr("误触发测试：") + EvaluationReport::quietLine(key, figures);
        }
    }
    return list;
}

bool TuningSession::writeReport(const QString &path, const QString &projectName,
                                const QString &packageText, QString *error) const
{
    TuningReport report(projectName, packageText, QDate::currentDate(), reportChannels());
    report.setConcerns(concerns());
    // A page for each slider and wheel after the keys', before the other parts' pages.
    if (reportSliders) {
        for (const SliderReportPage::Slider &slider : reportSliders())
            report.addPage([slider](QPainter &painter, ReportPage &page) {
                SliderReportPage::draw(painter, page, slider);
            });
    }
    for (const auto *made : {&kept.evaluation, &kept.falseTouch}) {
        if (*made)
            report.addPage([snapshot = **made](QPainter &painter, ReportPage &page) {
                EvaluationReport::draw(painter, page, snapshot);
            });
    }
    return report.write(path, error);
}

void TuningSession::exportReport(const QString &projectName, const QString &projectFolder,
                                 const QString &packageText)
{
    const QString proposed =
        QDir(projectFolder).filePath(TuningReport::exportFileName(projectName));
    const QString path =
        chooseReportFile(dialogParent, tr("导出调试报告"), proposed, tr("PDF(*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!writeReport(path, projectName, packageText, &error)) {
        warnWriteFailed(dialogParent, path);
        return;
    }
    log->appendPlainText(tr("调试报告已导出：%1").arg(QDir::toNativeSeparators(path)));
}

KeySettingsPanel *TuningSession::settingsPanel() const { return panel.data(); }

void TuningSession::loadKeySettings(const QSettings &ini)
{
    QStringList invalid;
    keySettingsStore.load(ini, &invalid);
    if (!invalid.isEmpty())
        log->appendPlainText(
            tr("工程文件中的按键设置无效，已用默认值：%1").arg(invalid.join(tr("、"))));
}

void TuningSession::keySettingsChanged(int channel)
{
    // Coupling is judged against each key's press threshold, so every row may change.
    updateCoupling();
    showAllQuality();
    if (keyPreview.isActive())
        resetPreview();
    if (curvesChannel >= 0 && (channel < 0 || channel == curvesChannel))
        showRowCurves(resultsTable.rowOf(curvesChannel));
}

QString TuningSession::settingsSummary(int channel) const
{
    const KeyQuality q = qualityOf(channel);
    const QString name = names.value(channel);
    if (!q.pressThreshold)
        return tr("%1：三个均值测完后才有阈值").arg(name);
    return tr("%1：%2；按下阈值 %3，释放阈值 %4；余量：触摸 %5，不触摸 %6，防水 %7")
        .arg(name, q.verdict ? KeyQuality::shown(q.verdictText()) : tr("数据不全"),
             QString::number(*q.pressThreshold), QString::number(*q.releaseThreshold),
             q.marginText(q.touchMargin, true), q.marginText(q.noTouchMargin, true),
             q.marginText(q.waterMargin, true));
}

KeySuggestion TuningSession::suggestionOf(int channel) const
{
    KeySuggestion::Neighbour neighbour{-1, 0.0};
    if (const std::optional<CouplingMatrix::Entry> rise = coupling.strongestRise(channel))
        neighbour = {rise->touched, rise->shift};
    return KeySuggestion::of(store.at(channel), qualityOf(channel).means,
                             keySettingsStore.at(channel), neighbour);
}

void TuningSession::suggestSettings(const QList<int> &channels)
{
    QVector<KeySuggestionBox::Item> items;
    for (int channel : channels)
        items.append({channel, names.value(channel), suggestionOf(channel)});
    KeySuggestionBox::offer(dialogParent, items, keySettingsStore, log);
}
