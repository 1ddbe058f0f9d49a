#ifndef REPORTPARSER_H
#define REPORTPARSER_H

#include "link/encodedecode.h"
#include "link/linktraffic.h"

#include <QByteArray>

// What one input report from the board is to a reader thread.
enum class BoardReport
{
    Other,        // skipped: the reader stays armed and reads again
    StartRefused, // FE 01
    DataIntact,   // whole Data frame: both flags, clean escapes, one record, FCS matched
    DataCorrupt,  // any other Data frame, whatever its FCS
};

// Classifies the report (byte 0 = frame length, received = bytes hid_read returned) and, for a
// Data frame, reassembles it in decoder and copies its 51-byte record. Only received bytes are
// looked at; a Data report whose length byte is below 3 or beyond the received bytes is skipped.
// verdict, when given, says what a reader makes of it, and why a Data frame failed.
BoardReport parseBoardReport(const EncodeDecode &codec, DecoderState &decoder,
                             const unsigned char *report, int received, QByteArray *record,
                             TrafficVerdict *verdict = nullptr);

#endif // REPORTPARSER_H
