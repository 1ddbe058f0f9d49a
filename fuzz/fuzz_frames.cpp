// The board link's input path on arbitrary bytes: the input cut into reports that share one
// decoder, as a reader thread reads them, and the same bytes as a payload through encode and back.
#include "chip/chip.h"
#include "link/encodedecode.h"
#include "link/protocol.h"
#include "link/reportparser.h"

#include <QByteArray>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Each report is as long as its first byte says, within one report, so that long and short reads
// both come up; the parser sees only the bytes of its report.
void parseReports(const EncodeDecode &codec, const std::uint8_t *data, std::size_t size)
{
    DecoderState decoder;
    std::size_t at = 0;
    while (at < size) {
        const std::size_t take =
            std::min<std::size_t>(size - at, std::size_t(data[at] % protocol::kReportSize) + 1);
        // A copy in a buffer of exactly the received length: reading past it is an ASan report.
        std::vector<unsigned char> report(data + at, data + at + take);
        at += take;
        QByteArray record;
        const BoardReport kind =
            parseBoardReport(codec, decoder, report.data(), int(report.size()), &record);
        check(decoder.length >= 0 && decoder.length <= protocol::kDecoderBufferSize);
        if (kind == BoardReport::DataIntact || kind == BoardReport::DataCorrupt)
            check(record.size() == chip::kRecordSize);
        if (kind == BoardReport::DataIntact) {
            check(decoder.length == chip::kRecordSize + 2 && codec.frameIntact(decoder));
            check(std::uint8_t(record.at(0)) == protocol::kDataFrameType);
            check(report[1] == protocol::kFlag && report[report[0]] == protocol::kFlag);
        }
    }
}

// Any payload the decoder can hold comes back whole at the closing flag, with an intact FCS.
void roundTrip(const EncodeDecode &codec, const std::uint8_t *data, std::size_t size)
{
    const int length = int(std::min<std::size_t>(size, protocol::kDecoderBufferSize - 2));
    std::vector<unsigned char> wire(2 * (std::size_t(length) + 2) + 2);
    const int frameLength = codec.encode(wire.data(), data, length);
    check(frameLength >= length + 4 && frameLength <= int(wire.size()));
    DecoderState decoder;
    codec.resetDecoder(decoder);
    int completed = 0;
    for (int i = 0; i < frameLength; ++i) {
        if (codec.decodeByte(decoder, wire[std::size_t(i)]) == 1) {
            ++completed;
            check(i == frameLength - 1);
        }
    }
    // An empty payload leaves only the two FCS bytes, which the decoder takes as no frame.
    check(completed == (length > 0 ? 1 : 0));
    if (length == 0)
        return;
    check(decoder.length == length + 2);
    check(std::memcmp(decoder.buffer, data, std::size_t(length)) == 0);
    check(codec.frameIntact(decoder));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const EncodeDecode codec;
    parseReports(codec, data, size);
    roundTrip(codec, data, size);
    return 0;
}
