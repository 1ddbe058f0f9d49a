#include "tuning/tuningsession.h"

#include "chip/chip.h"
#include "project/pinmapsource.h"
#include "project/writefailure.h"
#include "quality/keyquality.h"
#include "quality/samplesfile.h"
#include "tuning/tuninglink.h"
#include "tuning/tuningrun.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTableWidget>

TuningSession::TuningSession(const TuningWidgets &w, const QStringList &channelNames,
                             TuningRun &run, PinMapSource &pinMap, TuningLink &link,
                             const Pacing &pacing, const QString &exportFolder, QObject *parent)
    : QObject(parent), tuningRun(run), pinMap(pinMap), link(link), dialogParent(w.dialogParent),
      log(w.log), pane(w.log), names(channelNames),
      liveChart(w.chartView, w.startValueCBox, w.endValueCBox, w.hoverLabel),
      resultsTable(w.tableWidget, channelNames),
      channelIndicators(w.keys, w.swatches, w.checkBoxes, pinMap, run, w.dialogParent),
      channelRecorder(run, liveChart, channelIndicators, pinMap, link, pacing, w.log,
                      w.dialogParent),
      testSequencer(run, channelRecorder, liveChart, resultsTable, store, channelIndicators, link,
                    pacing, w.dialogParent),
      waterproofTest(run, channelRecorder, liveChart, resultsTable, store, pinMap, link,
                     w.dialogParent, exportFolder),
      verificationMode(liveChart, run, link, pacing, w.verificationButton, w.checkBoxes,
                       w.dialogParent)
{
    chooseReportFile = [](QWidget *parent, const QString &caption, const QString &proposed,
                          const QString &filter) {
        return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
    };
    liveChart.rebuild(12, 11);
    resultsTable.setup();
    connect(&channelIndicators, &ChannelIndicators::swatchColourChanged, &verificationMode,
            &VerificationMode::applySwatchColour);
    connect(&testSequencer, &ChannelTestSequencer::channelFinished, this,
            &TuningSession::showChannelQuality);
    connect(&waterproofTest, &WaterproofTest::channelFinished, this,
            &TuningSession::showChannelQuality);
    connect(&verificationMode, &VerificationMode::activeChanged, this,
            &TuningSession::switchPreview);
    QTableWidget *table = w.tableWidget;
    connect(table, &QTableWidget::cellClicked, this, [this](int row) { showRowCurves(row); });
    connect(table, &QTableWidget::cellChanged, this, &TuningSession::tableCellChanged);
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this, [this, table](const QPoint &at) {
        QMenu menu(table);
        menu.addAction(tr("导出调试报告…"), this, &TuningSession::reportRequested);
        menu.exec(table->viewport()->mapToGlobal(at));
    });
}

void TuningSession::handleRecord(const QByteArray &record, int crcFailed)
{
    // The record that raises the add-water prompt is neither counted nor drawn.
    if (tuningRun.waterPromptPending()) {
        waterproofTest.promptAddWater();
        return;
    }
    if (!channelRecorder.take(record, crcFailed))
        return;
    if (tuningRun.waterproofMode())
        waterproofTest.recordCounted();
    else
        testSequencer.recordCounted();
}

void TuningSession::handleCheckRecord(const QByteArray &record, int crcFailed)
{
    verificationMode.handleRecord(record);
    // The zeros of a cut-short record would reset the debounce and drag the base.
    if (crcFailed != 0)
        return;
    for (int channel : keyPreview.feed(record))
        channelIndicators.showPressed(channel, keyPreview.pressed(channel));
}

void TuningSession::readerFailed(const QString &text) { testSequencer.abandonRun(text); }

void TuningSession::checkReaderFailed(const QString &text)
{
    if (verificationMode.endOnReaderFailure())
        log->appendPlainText(
            tr("验证效果已中止：%1").arg(link.isOpen() ? text : tr("调试器已断开")));
    channelRecorder.warn(text);
}

void TuningSession::clearResults()
{
    log->setPlainText(QString());
    resultsTable.clearResults();
    store.clear();
    tuningRun.clearQueue();
}

void TuningSession::adoptLoadedResults(const QString &samplesPath)
{
    resultsTable.adoptLoadedRows();
    store.clear();
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

KeyQuality TuningSession::qualityOf(int channel) const
{
    return KeyQuality::of(store.at(channel), resultsTable.tableMeans(channel));
}

void TuningSession::showChannelQuality(int channel)
{
    const KeyQuality quality = qualityOf(channel);
    log->appendPlainText(quality.logLine(names.value(channel)));
    resultsTable.showQuality(channel, quality);
}

void TuningSession::showAllQuality()
{
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (resultsTable.rowOf(channel) >= 0)
            resultsTable.showQuality(channel, qualityOf(channel));
    }
}

void TuningSession::tableCellChanged(int row, int column)
{
    const int channel = resultsTable.channelAt(row);
    if (ResultsTable::isMeanColumn(column) && channel >= 0)
        resultsTable.showQuality(channel, qualityOf(channel));
}

void TuningSession::switchPreview(bool on)
{
    for (int channel = 0; channel < chip::kChannelCount; ++channel)
        channelIndicators.showPressed(channel, false);
    if (!on) {
        keyPreview.clear();
        return;
    }
    // The firmware's table: every channel in use with its key number and its row's means.
    QVector<KeyPreview::Key> keys;
    for (int channel : channelRecorder.channelsInUse())
        keys.append({channel, pinMap.keyNumber(channel), resultsTable.tableMeans(channel)});
    keyPreview.reset(keys);
}

void TuningSession::showRowCurves(int row)
{
    if (tuningRun.kind() != TuningRun::Kind::None || verificationMode.isActive())
        return;
    const int channel = resultsTable.channelOfRow(row);
    if (channel < 0 || store.at(channel).isEmpty())
        return;
    liveChart.showStoredCurves(store.at(channel));
}

QVector<TuningReport::Channel> TuningSession::reportChannels() const
{
    QVector<TuningReport::Channel> channels;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (resultsTable.rowOf(channel) >= 0 || !store.at(channel).isEmpty())
            channels.append({channel, store.at(channel), pinMap.keyNumber(channel),
                             resultsTable.tableMeans(channel)});
    }
    return channels;
}

QStringList TuningSession::keyConcerns() const
{
    QStringList concerns;
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (pinMap.channelInUse(channel) != 1)
            continue;
        const KeyQuality quality = KeyQuality::of(store.at(channel));
        if (quality.verdict && *quality.verdict != KeyVerdict::Pass)
            concerns << names.value(channel) + tr("：") + quality.reasonDetails.join(tr("、"));
    }
    return concerns;
}

bool TuningSession::writeReport(const QString &path, const QString &projectName,
                                const QString &packageText, QString *error) const
{
    const TuningReport report(projectName, packageText, QDate::currentDate(), reportChannels());
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
