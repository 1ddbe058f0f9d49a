#include "link/reportparser.h"

#include "chip/chip.h"

#include <algorithm>
#include <cstring>

namespace
{
// The frame's bytes as the board sends them: an opening and a closing flag and between them no
// flag, and each escape followed by the one of its two partners. The decoder takes anything (a
// missing opening flag, a flag in the middle, an escape before another byte), so a frame that is
// not whole could still pass its check sequence by chance.
bool wellFramed(const unsigned char *frame, int length)
{
    if (length < 2 || frame[0] != protocol::kFlag || frame[length - 1] != protocol::kFlag)
        return false;
    for (int i = 1; i < length - 1; ++i) {
        if (frame[i] == protocol::kFlag)
            return false;
        if (frame[i] == protocol::kEscape) {
            const unsigned char partner = frame[++i];
            if (partner != (protocol::kFlag ^ protocol::kEscapeXor) &&
                partner != (protocol::kEscape ^ protocol::kEscapeXor))
                return false;
        }
    }
    return true;
}
} // namespace

BoardReport parseBoardReport(const EncodeDecode &codec, DecoderState &decoder,
                             const unsigned char *report, int received, QByteArray *record,
                             TrafficVerdict *verdict)
{
    TrafficVerdict unused;
    TrafficVerdict &said = verdict ? *verdict : unused;
    said = TrafficVerdict::Skipped;
    received = std::min(received, protocol::kReportSize);
    if (received < 4)
        return BoardReport::Other;
    const int n = report[0];
    // The escape flag survives on purpose: the frame's opening flag clears it.
    decoder.length = 0;
    if (n == protocol::kReplyFrameLength) {
        if (report[2] == protocol::kCmdStart && report[3] == protocol::kReplyRefused) {
            said = TrafficVerdict::StartRefused;
            return BoardReport::StartRefused;
        }
        return BoardReport::Other;
    }
    if (report[2] != protocol::kDataFrameType || n < 3 || n > received - 1)
        return BoardReport::Other;
    for (int i = 1; i <= n; ++i)
        codec.decodeByte(decoder, report[i]);
    if (decoder.length < 2)
        return BoardReport::Other;
    // Bytes past the frame are zero rather than left over from an earlier frame.
    QByteArray data(chip::kRecordSize, '\0');
    const int copied = std::min(decoder.length, chip::kRecordSize);
    std::memcpy(data.data(), decoder.buffer, std::size_t(copied));
    *record = data;
    // Only a record of the type byte and every channel's reading is whole: with any other length
    // the FCS bytes or zeros would be read as counts, however the check came out.
    if (decoder.length - 2 != chip::kRecordSize)
        said = TrafficVerdict::BadLength;
    else if (!wellFramed(report + 1, n))
        said = TrafficVerdict::BadFraming;
    else if (!codec.frameIntact(decoder))
        said = TrafficVerdict::BadCheck;
    else
        said = TrafficVerdict::Record;
    return said == TrafficVerdict::Record ? BoardReport::DataIntact : BoardReport::DataCorrupt;
}
