// The production log's reader on arbitrary bytes, and the round trip: the boards it read, written
// as the log writes them and read again, are the same boards, and write the same bytes again.
#include "chip/chip.h"
#include "production/batchstatistics.h"
#include "production/boardfailure.h"
#include "production/productionlog.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
void check(bool condition)
{
    if (!condition)
        std::abort();
}

QByteArray written(const QVector<BoardRecord> &records)
{
    const QList<int> channels = BatchStatistics::channelsOf(records);
    QByteArray text = ProductionLog::headerLine(channels) + "\r\n";
    for (const BoardRecord &record : records)
        text += ProductionLog::lineOf(record, channels) + "\r\n";
    return text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), int(size));
    int skipped = 0;
    const QVector<BoardRecord> records = ProductionLog::fromText(input, &skipped);
    check(skipped >= 0);
    for (const BoardRecord &record : records) {
        check(!record.board.isEmpty() && record.time.isValid());
        check(record.passed || !record.reasons.isEmpty());
        for (const ChannelFigures &figures : record.channels)
            check(chip::isChannel(figures.channel));
        // A reason that reads as a failure is that failure again once written.
        for (const QString &reason : record.reasons) {
            if (const std::optional<BoardFailure> failure = BoardFailure::parse(reason))
                check(BoardFailure::parse(failure->text()) == failure);
        }
    }
    const QByteArray once = written(records);
    int again = 0;
    const QVector<BoardRecord> reread = ProductionLog::fromText(once, &again);
    check(again == 0 && reread.size() == records.size());
    check(written(reread) == once);
    return 0;
}
