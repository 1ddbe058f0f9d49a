#include "tuning/resultstable.h"

#include "chip/chip.h"
#include "quality/keyquality.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFont>
#include <QHeaderView>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QTableWidget>

namespace
{
constexpr int kNameColumn = columnOf(ResultColumn::Name);
} // namespace

ResultsTable::ResultsTable(QTableWidget *tableWidget, const QStringList &channelNames)
    : table(tableWidget), names(channelNames)
{
}

void ResultsTable::setup()
{
    table->setRowCount(kRows);
    table->setColumnCount(kResultColumnCount);
    QHeaderView *header = table->horizontalHeader();
    header->setStretchLastSection(true);
    header->setHighlightSections(false);
    const QFont font(QStringLiteral("song"), 12);
    header->setFont(font);
    table->setFont(font);
    table->setHorizontalHeaderLabels({tr("键名"), tr("不触摸\r\n(#)"), tr("触摸\r\n(#)"),
                                      tr("防水\r\n(#)"), tr("TK\r\n(#)"), tr("KEY\r\n(#)")});
}

int ResultsTable::filledRowCount() const
{
    int filled = 0;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (!rowIsEmpty(row))
            ++filled;
    }
    return filled;
}

int ResultsTable::rowOf(int channel) const
{
    for (int slot = 0; slot < int(testedChannels.size()); ++slot) {
        if (testedChannels[slot] == channel + 1)
            return slot;
    }
    return -1;
}

int ResultsTable::assignRow(int channel)
{
    if (!chip::isChannel(channel))
        return -1;
    const int row = rowOf(channel);
    if (row >= 0)
        return row;
    // A row loaded from a file that names no channel is kept, not written over.
    for (int slot = 0; slot < int(testedChannels.size()); ++slot) {
        if (testedChannels[slot] == 0 && rowIsEmpty(slot)) {
            testedChannels[slot] = channel + 1;
            return slot;
        }
    }
    return -1;
}

void ResultsTable::releaseEmptyRow(int channel)
{
    const int row = rowOf(channel);
    if (row >= 0 && rowIsEmpty(row))
        testedChannels[row] = 0;
}

void ResultsTable::clearResults()
{
    table->clearContents();
    testedChannels.fill(0);
}

ResultsTable::Saved ResultsTable::save() const
{
    Saved saved;
    saved.testedChannels = testedChannels;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < kResultColumnCount; ++column)
            cells << cellText(row, column);
        saved.cells << cells;
    }
    return saved;
}

void ResultsTable::restore(const Saved &saved)
{
    const QSignalBlocker quiet(table);
    table->clearContents();
    for (int row = 0; row < saved.cells.size() && row < table->rowCount(); ++row) {
        for (int column = 0; column < saved.cells.at(row).size(); ++column) {
            if (!saved.cells.at(row).at(column).isEmpty())
                setCell(row, column, saved.cells.at(row).at(column));
        }
    }
    testedChannels = saved.testedChannels;
}

QString ResultsTable::cellText(int row, int column) const
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

int ResultsTable::channelOfRow(int row) const
{
    static const QRegularExpression name(QStringLiteral("^TK(\\d{1,2})$"));
    const QRegularExpressionMatch match = name.match(cellText(row, kNameColumn).trimmed());
    if (match.hasMatch()) {
        const int channel = match.captured(1).toInt();
        return chip::isChannel(channel) ? channel : -1;
    }
    if (!cellText(row, kNameColumn).trimmed().isEmpty())
        return -1;
    bool ok = false;
    const int channel = cellText(row, columnOf(ResultColumn::Channel)).trimmed().toInt(&ok, 10);
    return ok && chip::isChannel(channel) ? channel : -1;
}

int ResultsTable::channelAt(int row) const
{
    return row >= 0 && row < int(testedChannels.size()) ? testedChannels[row] - 1 : -1;
}

bool ResultsTable::isMeanColumn(int column)
{
    return column == columnOf(ResultColumn::NoTouch) || column == columnOf(ResultColumn::Touch) ||
           column == columnOf(ResultColumn::Water);
}

KeyMeans ResultsTable::tableMeans(int channel) const
{
    KeyMeans means;
    const int row = rowOf(channel);
    if (row < 0)
        return means;
    const auto read = [&](ResultColumn column) -> std::optional<int> {
        bool ok = false;
        const uint value = cellText(row, columnOf(column)).trimmed().toUInt(&ok, 10);
        // The firmware's counts are 16 bits: anything else is no measurement.
        return ok && value <= 0xFFFF ? std::optional<int>(int(value)) : std::nullopt;
    };
    means.noTouch = read(ResultColumn::NoTouch);
    means.touch = read(ResultColumn::Touch);
    means.water = read(ResultColumn::Water);
    return means;
}

void ResultsTable::adoptLoadedRows()
{
    testedChannels.fill(0);
    const QSignalBlocker quiet(table);
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < kResultColumnCount; ++column) {
            if (QTableWidgetItem *item = table->item(row, column)) {
                item->setToolTip(QString());
                item->setBackground(QBrush());
            }
        }
    }
    for (int row = 0; row < int(testedChannels.size()) && row < table->rowCount(); ++row) {
        const int channel = channelOfRow(row);
        if (channel >= 0 && rowOf(channel) < 0)
            testedChannels[row] = channel + 1;
    }
}

bool ResultsTable::rowIsEmpty(int row) const
{
    for (int column = 0; column < kResultColumnCount; ++column) {
        if (!cellText(row, column).isEmpty())
            return false;
    }
    return true;
}

QString ResultsTable::meanText(const QVector<int> &samples)
{
    if (samples.isEmpty())
        return QString();
    // Counts are never negative; the mean is truncated to an integer.
    quint64 sum = 0;
    for (int value : samples)
        sum += static_cast<quint32>(value);
    return QString::number(sum / static_cast<quint64>(samples.size()));
}

void ResultsTable::writeTouchResults(int channel, const ChannelSamples &samples)
{
    const int row = rowOf(channel);
    if (row < 0 || channel >= names.size())
        return;
    setCell(row, columnOf(ResultColumn::Name), names.at(channel));
    setCell(row, columnOf(ResultColumn::NoTouch), meanText(samples.noTouch));
    setCell(row, columnOf(ResultColumn::Touch), meanText(samples.touch));
}

void ResultsTable::writeWaterproofResults(int channel, const ChannelSamples &samples, int keyNumber)
{
    const int row = rowOf(channel);
    if (row < 0 || channel >= names.size())
        return;
    setCell(row, columnOf(ResultColumn::Water), meanText(samples.water));
    setCell(row, columnOf(ResultColumn::Channel), QString::number(channel));
    setCell(row, columnOf(ResultColumn::Key), QString::number(keyNumber));
}

void ResultsTable::showQuality(int channel, const KeyQuality &quality, const QString &shownName)
{
    const int row = rowOf(channel);
    if (row < 0 || channel >= names.size())
        return;
    const QString tip = quality.toolTip(shownName.isEmpty() ? names.at(channel) : shownName);
    // The figures are no edit of the table: whoever watches its cells is not told.
    const QSignalBlocker quiet(table);
    for (int column = 0; column < kResultColumnCount; ++column) {
        if (QTableWidgetItem *item = table->item(row, column))
            item->setToolTip(tip);
    }
    if (QTableWidgetItem *name = table->item(row, kNameColumn))
        name->setBackground(quality.verdict ? QBrush(KeyQuality::verdictColour(*quality.verdict))
                                            : QBrush());
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

QByteArray ResultsTable::csvText(const ChannelSamples &samples)
{
    const auto value = [](const QVector<int> &phase, int i) {
        return i < phase.size() ? QByteArray::number(phase.at(i)) : QByteArray();
    };
    QByteArray text;
    text.reserve(chip::kSamplesPerPhase * 20);
    for (int i = 0; i < chip::kSamplesPerPhase; ++i) {
        text += value(samples.noTouch, i) + ',' + value(samples.water, i) + ',' +
                value(samples.touch, i) + "\r\n";
    }
    text += "\r\n";
    return text;
}

bool ResultsTable::exportCsv(const QString &folder, const QDateTime &now,
                             const QList<int> &channels, const SampleStore &store,
                             QStringList *written, QString *failedPath) const
{
    for (int channel : channels) {
        if (channel < 0 || channel >= names.size())
            continue;
        const QString path = folder + QStringLiteral("/") + csvFileName(names.at(channel), now);
        // A missing folder would lose the whole run's raw data, so it is made here. The file is
        // replaced only once it is complete.
        QSaveFile file(path);
        const QByteArray text = csvText(store.at(channel));
        if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) ||
            file.write(text) != text.size() || !file.commit()) {
            qWarning() << "CSV export failed:" << path << file.errorString();
            if (failedPath)
                *failedPath = path;
            return false;
        }
        if (written)
            *written << path;
    }
    return true;
}
