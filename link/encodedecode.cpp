#include "link/encodedecode.h"

namespace
{
// The FCS-16 lookup table of RFC 1662 (reflected polynomial 0x8408), built at compile time.
struct FcsTable
{
    quint16 entry[256] = {};
    constexpr FcsTable()
    {
        for (int n = 0; n < 256; ++n) {
            quint16 v = static_cast<quint16>(n);
            for (int bit = 0; bit < 8; ++bit)
                v = static_cast<quint16>((v & 1) ? (v >> 1) ^ 0x8408 : v >> 1);
            entry[n] = v;
        }
    }
};

constexpr FcsTable kFcsTable;
static_assert(kFcsTable.entry[1] == 0x1189 && kFcsTable.entry[128] == 0x8408
                  && kFcsTable.entry[255] == 0x0F78,
              "FCS-16 table differs from RFC 1662");

int putEscaped(unsigned char *out, unsigned char byte)
{
    if (byte == protocol::kFlag || byte == protocol::kEscape) {
        out[0] = protocol::kEscape;
        out[1] = static_cast<unsigned char>(byte ^ protocol::kEscapeXor);
        return 2;
    }
    out[0] = byte;
    return 1;
}
} // namespace

EncodeDecode::EncodeDecode(QObject *parent) : QObject(parent)
{
}

quint16 EncodeDecode::crc16(const unsigned char *data, int length) const
{
    if (length <= 0)
        return 0x0000;
    quint16 crc = 0xFFFF;
    for (int n = 0; n < length; ++n)
        crc = static_cast<quint16>((crc >> 8) ^ kFcsTable.entry[(crc ^ data[n]) & 0xFF]);
    return static_cast<quint16>(crc ^ 0xFFFF);
}

int EncodeDecode::encode(unsigned char *out, const unsigned char *payload, int length) const
{
    const quint16 fcs = crc16(payload, length);
    int pos = 0;
    out[pos++] = protocol::kFlag;
    for (int n = 0; n < length; ++n)
        pos += putEscaped(out + pos, payload[n]);
    pos += putEscaped(out + pos, static_cast<unsigned char>(fcs & 0xFF));
    pos += putEscaped(out + pos, static_cast<unsigned char>(fcs >> 8));
    out[pos++] = protocol::kFlag;
    return pos;
}

void EncodeDecode::resetDecoder(DecoderState &state) const
{
    state.flags &= ~protocol::kDecoderEscapePending;
    state.length = 0;
}

int EncodeDecode::decodeByte(DecoderState &state, unsigned char byte) const
{
    if (byte == protocol::kEscape) {
        state.flags |= protocol::kDecoderEscapePending;
        return 0;
    }
    if (byte == protocol::kFlag) {
        if (state.length > 2)
            return 1;
        resetDecoder(state);
        return 0;
    }
    // Only 0x5D and 0x5E complete an escape; any other byte is stored as it is and the escape
    // stays pending for a later 0x5D or 0x5E of the same frame.
    if (state.escapePending() && (byte == 0x5D || byte == 0x5E)) {
        state.flags &= ~protocol::kDecoderEscapePending;
        byte = static_cast<unsigned char>(byte ^ protocol::kEscapeXor);
    }
    if (state.length >= 0 && state.length < protocol::kDecoderBufferSize)
        state.buffer[state.length++] = byte;
    return 0;
}

bool EncodeDecode::frameIntact(const DecoderState &state) const
{
    if (state.length < 2 || state.length > protocol::kDecoderBufferSize)
        return false;
    const int received = state.buffer[state.length - 2] + 256 * state.buffer[state.length - 1];
    return received == crc16(state.buffer, state.length - 2);
}
