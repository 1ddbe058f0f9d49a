#ifndef ENCODEDECODE_H
#define ENCODEDECODE_H

#include "link/protocol.h"

#include <QObject>

// Reassembly state of one reader: the unescaped bytes of the current frame (payload, then FCS).
struct DecoderState
{
    int flags = 0; // protocol::kDecoderEscapePending while a 0x7D waits for its partner
    unsigned char buffer[protocol::kDecoderBufferSize] = {};
    int length = 0;

    bool escapePending() const { return (flags & protocol::kDecoderEscapePending) != 0; }
};

// Frame codec of the board link: CRC-16/X-25 check sequence and HDLC-style byte stuffing
// between 0x7E flags. Works only in caller-supplied buffers; allocates nothing.
class EncodeDecode : public QObject
{
    Q_OBJECT

public:
    explicit EncodeDecode(QObject *parent = nullptr);

    // The complemented FCS of the bytes; 0x0000 for no bytes.
    quint16 crc16(const unsigned char *data, int length) const;
    // Writes the complete frame of the payload into out, which must hold 2 * (length + 2) + 2
    // bytes; returns the frame length.
    int encode(unsigned char *out, const unsigned char *payload, int length) const;
    void resetDecoder(DecoderState &state) const;
    // Feeds one received byte; returns 1 when it is the closing flag of a frame of more than two
    // stored bytes (the frame is then in state.buffer[0 .. length-1]), otherwise 0.
    int decodeByte(DecoderState &state, unsigned char byte) const;
    // True when the last two stored bytes are the FCS (low byte first) of the bytes before them.
    bool frameIntact(const DecoderState &state) const;
};

#endif // ENCODEDECODE_H
