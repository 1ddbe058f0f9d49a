#include "tuning/resultstable.h"

#include "tuning/tuningstate.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QHeaderView>
#include <QTableWidget>

namespace
{
constexpr int kTrackedChannels = 25;

QString mean(int sum)
{
    // Sums are never negative; the mean is truncated to an integer.
    return QStringLiteral("%1").arg(static_cast<unsigned>(sum) / ResultsTable::kSamplesPerPhase);
}
} // namespace

ResultsTable::ResultsTable(QTableWidget *tableWidget, const TuningState &state,
                           const QStringList &channelNames)
    : table(tableWidget), state(state), names(channelNames)
{
}

void ResultsTable::setup()
{
    table->setRowCount(kRows);
    table->setColumnCount(kColumns);
    QHeaderView *header = table->horizontalHeader();
    header->setStretchLastSection(true);
    header->setHighlightSections(false);
    const QFont font(QStringLiteral("song"), 12);
    header->setFont(font);
    table->setFont(font);
    table->setHorizontalHeaderLabels({tr("键名"), tr("不触摸\r\n(#)"), tr("触摸\r\n(#)"),
                                      tr("防水\r\n(#)"), tr("TK\r\n(#)"), tr("KEY\r\n(#)")});
}

int ResultsTable::rowOf(int channel) const
{
    for (int slot = 0; slot < kTrackedChannels; ++slot) {
        if (state.testedChannels[slot] == channel + 1)
            return slot;
    }
    return -1;
}

void ResultsTable::writeTouchResults()
{
    const int channel = state.currentChannel;
    const int row = rowOf(channel);
    if (row < 0 || channel < 0 || channel >= names.size())
        return;
    setCell(row, 0, names.at(channel));
    setCell(row, 1, mean(state.noTouchSum));
    setCell(row, 2, mean(state.touchSum));
}

void ResultsTable::writeWaterproofResults(int keyNumber)
{
    const int channel = state.currentChannel;
    const int row = rowOf(channel);
    if (row < 0 || channel < 0 || channel >= names.size())
        return;
    setCell(row, 3, mean(state.waterproofSum));
    setCell(row, 4, QStringLiteral("%1").arg(channel));
    setCell(row, 5, QStringLiteral("%1").arg(keyNumber));
}

void ResultsTable::setCell(int row, int column, const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    table->setItem(row, column, item);
}

QString ResultsTable::csvFileName(const QString &channelName, const QDateTime &now)
{
    return channelName + QStringLiteral("_") + now.toString(QStringLiteral("yyyy-MM-d-HH-mm-ss-")) +
           QStringLiteral("data.csv");
}

bool ResultsTable::exportCsv(const QString &folder, const QDateTime &now,
                             QString *writtenPath) const
{
    const int channel = state.currentChannel;
    if (channel < 0 || channel >= names.size())
        return false;
    // A missing folder would lose the whole run's raw data, so it is made here.
    if (!QDir().mkpath(folder)) {
        qWarning() << "CSV export: cannot create" << folder;
        return false;
    }
    const QString path = folder + QStringLiteral("/") + csvFileName(names.at(channel), now);
    QFile file(path);
    // Truncate: a file of the same name must not keep lines of an older, longer export.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qWarning() << "CSV export: cannot open" << path << file.errorString();
        return false;
    }
    QByteArray text;
    text.reserve(kSamplesPerPhase * 20);
    for (int i = 0; i < kSamplesPerPhase; ++i) {
        text += QByteArray::number(state.noTouchSamples[i]) + ',' +
                QByteArray::number(state.waterproofSamples[i]) + ',' +
                QByteArray::number(state.touchSamples[i]) + "\r\n";
    }
    text += "\r\n";
    const bool written = file.write(text) == text.size();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        qWarning() << "CSV export: write failed" << path << file.errorString();
        return false;
    }
    if (writtenPath)
        *writtenPath = path;
    return true;
}
