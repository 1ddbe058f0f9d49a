#ifndef PROTOCOL_H
#define PROTOCOL_H

// Wire constants of the debugger board link: device identity, report layout, framing and commands.
namespace protocol
{
constexpr unsigned short kVendorId = 0x0483;
constexpr unsigned short kProductId = 0x5850;

// Every report is 65 bytes: host reports carry report ID 0 first, board reports start with the
// frame length (the board uses no report IDs), so a board report holds at most 64 bytes.
constexpr int kReportSize = 65;
constexpr int kInputReportBytes = 64;

constexpr unsigned char kFlag = 0x7E;
constexpr unsigned char kEscape = 0x7D;
constexpr unsigned char kEscapeXor = 0x20;

constexpr int kDecoderBufferSize = 2048;
constexpr int kDecoderEscapePending = 2;

constexpr unsigned char kCmdStart = 0xFE;
constexpr unsigned char kCmdStop = 0xFF;
constexpr unsigned char kCmdArgument = 0x07;
constexpr unsigned char kReplyAccepted = 0x00;
constexpr unsigned char kReplyRefused = 0x01;
constexpr unsigned char kDataFrameType = 0x36;

// A reply to Start or Stop is a 6-byte frame: flag, two payload bytes, FCS, flag.
constexpr int kReplyFrameLength = 6;

// Discarding reads of a drain, and the bound on the reads of one wait for a Stop acknowledgement
// (its durations are the pacing's).
constexpr int kDrainReads = 100;
constexpr int kStopAckAttempts = 150;
} // namespace protocol

#endif // PROTOCOL_H
