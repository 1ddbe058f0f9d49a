#include "sim/simframe.h"

namespace
{
constexpr char kFlag = 0x7E;
constexpr char kEscape = 0x7D;

void putEscaped(QByteArray &out, char byte)
{
    if (byte == kFlag || byte == kEscape)
        out.append(kEscape).append(char(byte ^ 0x20));
    else
        out.append(byte);
}
} // namespace

namespace simframe
{
quint16 fcs(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return 0;
    quint16 crc = 0xFFFF;
    for (char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0x8408) : quint16(crc >> 1);
    }
    return quint16(~crc);
}

QByteArray frame(const QByteArray &payload) { return frameWithFcs(payload, fcs(payload)); }

QByteArray frameWithFcs(const QByteArray &payload, quint16 check)
{
    QByteArray out;
    out.append(kFlag);
    for (char c : payload)
        putEscaped(out, c);
    putEscaped(out, char(check & 0xFF));
    putEscaped(out, char(check >> 8));
    out.append(kFlag);
    return out;
}

bool unframe(const QByteArray &wire, QByteArray *payload)
{
    if (wire.size() < 4 || wire.front() != kFlag)
        return false;
    QByteArray bytes;
    bool escaped = false;
    for (int n = 1; n < wire.size(); ++n) {
        const char c = wire.at(n);
        if (c == kFlag)
            break;
        if (c == kEscape) {
            escaped = true;
            continue;
        }
        bytes.append(escaped ? char(c ^ 0x20) : c);
        escaped = false;
    }
    if (bytes.size() < 2)
        return false;
    const QByteArray body = bytes.left(bytes.size() - 2);
    const quint16 received = quint16(static_cast<unsigned char>(bytes.at(bytes.size() - 2)) |
                                     static_cast<unsigned char>(bytes.at(bytes.size() - 1)) << 8);
    if (received != fcs(body))
        return false;
    *payload = body;
    return true;
}
} // namespace simframe
