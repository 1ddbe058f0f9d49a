#include "tuning/tuningsession.h"

#include "tuning/tuningrun.h"

#include <QPlainTextEdit>

TuningSession::TuningSession(const TuningWidgets &w, const QStringList &channelNames,
                             TuningRun &run, PinMapSource &pinMap, TuningLink &link,
                             const QString &exportFolder, QObject *parent)
    : QObject(parent), tuningRun(run), log(w.log),
      liveChart(w.chartView, w.startValueCBox, w.endValueCBox, w.hoverLabel),
      resultsTable(w.tableWidget, channelNames),
      channelIndicators(w.keys, w.swatches, w.checkBoxes, pinMap, run, w.dialogParent),
      channelRecorder(run, liveChart, channelIndicators, pinMap, link, w.log, w.dialogParent),
      testSequencer(run, channelRecorder, liveChart, resultsTable, store, channelIndicators, link,
                    w.dialogParent),
      waterproofTest(run, channelRecorder, liveChart, resultsTable, store, pinMap, link,
                     w.dialogParent, exportFolder),
      verificationMode(liveChart, run, link, w.verificationButton, w.checkBoxes, w.dialogParent)
{
    liveChart.rebuild(12, 11);
    resultsTable.setup();
    connect(&channelIndicators, &ChannelIndicators::swatchColourChanged, &verificationMode,
            &VerificationMode::applySwatchColour);
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

void TuningSession::handleCheckRecord(const QByteArray &record)
{
    verificationMode.handleRecord(record);
}

void TuningSession::readerFailed(const QString &text) { testSequencer.abandonRun(text); }

void TuningSession::clearResults()
{
    log->setPlainText(QString());
    resultsTable.clearResults();
    store.clear();
    tuningRun.clearQueue();
}

void TuningSession::adoptLoadedResults()
{
    resultsTable.adoptLoadedRows();
    store.clear();
}
