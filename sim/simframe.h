#ifndef SIMFRAME_H
#define SIMFRAME_H

#include <QByteArray>

// The board firmware's own framing: CRC-16/X-25 computed bit by bit and the same byte stuffing as
// the host, kept apart from the host's codec so that each checks the other.
namespace simframe
{
quint16 fcs(const QByteArray &bytes);
// 0x7E, escaped payload and FCS (low byte first), 0x7E.
QByteArray frame(const QByteArray &payload);
// The same framing around a given check sequence, right or wrong.
QByteArray frameWithFcs(const QByteArray &payload, quint16 check);
// Unstuffs one frame from its opening to its closing flag; true with the payload when the FCS
// matches.
bool unframe(const QByteArray &wire, QByteArray *payload);
} // namespace simframe

#endif // SIMFRAME_H
