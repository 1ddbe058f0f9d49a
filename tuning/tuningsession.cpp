#include "tuning/tuningsession.h"

#include "chip/chip.h"
#include "project/pinmapsource.h"
#include "project/writefailure.h"
#include "quality/keyquality.h"
#include "quality/samplesfile.h"
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
    : QObject(parent), tuningRun(run), pinMap(pinMap), dialogParent(w.dialogParent), log(w.log),
      names(channelNames), liveChart(w.chartView, w.startValueCBox, w.endValueCBox, w.hoverLabel),
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

void TuningSession::handleCheckRecord(const QByteArray &record)
{
    verificationMode.handleRecord(record);
    for (int channel : keyPreview.feed(record))
        channelIndicators.showPressed(channel, keyPreview.pressed(channel));
}

void TuningSession::readerFailed(const QString &text) { testSequencer.abandonRun(text); }

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
    if (QFileInfo::exists(samplesPath)) {
        QString error;
        if (!SamplesFile::read(samplesPath, &store, &error))
            log->appendPlainText(error);
    }
    showAllQuality();
}

bool TuningSession::saveSamples(const QString &samplesPath, QString *error) const
{
    return SamplesFile::write(samplesPath, store, error);
}

void TuningSession::showChannelQuality(int channel)
{
    const KeyQuality quality = KeyQuality::of(store.at(channel));
    log->appendPlainText(quality.logLine(names.value(channel)));
    resultsTable.showQuality(channel, quality);
}

void TuningSession::showAllQuality()
{
    for (int channel = 0; channel < chip::kChannelCount; ++channel) {
        if (resultsTable.rowOf(channel) >= 0)
            resultsTable.showQuality(channel, KeyQuality::of(store.at(channel)));
    }
}

void TuningSession::switchPreview(bool on)
{
    for (int channel = 0; channel < chip::kChannelCount; ++channel)
        channelIndicators.showPressed(channel, false);
    if (on)
        keyPreview.reset(channelRecorder.channelsInUse(), store);
    else
        keyPreview.clear();
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
            channels.append({channel, store.at(channel), pinMap.keyNumber(channel)});
    }
    return channels;
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
