#include "chip/chip.h"
#include "link/encodedecode.h"
#include "link/reportparser.h"

#include <QtTest>

namespace
{
QByteArray hex(const char *text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }

QByteArray encoded(const EncodeDecode &codec, const QByteArray &payload)
{
    unsigned char out[2 * (64 + 2) + 2];
    const int n = codec.encode(out, reinterpret_cast<const unsigned char *>(payload.constData()),
                               payload.size());
    return QByteArray(reinterpret_cast<const char *>(out), n);
}

// Feeds the bytes and returns the results of decodeByte, one per byte.
QList<int> feed(const EncodeDecode &codec, DecoderState &state, const QByteArray &bytes)
{
    QList<int> results;
    for (char c : bytes)
        results << codec.decodeByte(state, static_cast<unsigned char>(c));
    return results;
}

// A report from the board: the frame's length, the frame, zeros to 64 bytes.
QByteArray boardReport(const QByteArray &frame)
{
    return (QByteArray(1, char(frame.size())) + frame).leftJustified(64, '\0');
}

// A record whose TK0 reads 2000 and TK<k> 2000 + k: no byte of it needs an escape.
QByteArray levelRecord()
{
    QByteArray record(chip::kRecordSize, '\0');
    record[0] = 0x36;
    for (int k = 0; k < chip::kChannelCount; ++k) {
        record[1 + 2 * k] = char((2000 + k) >> 8);
        record[2 + 2 * k] = char((2000 + k) & 0xFF);
    }
    return record;
}

QByteArray stored(const DecoderState &state)
{
    return QByteArray(reinterpret_cast<const char *>(state.buffer), state.length);
}
} // namespace

class TestEncodeDecode : public QObject
{
    Q_OBJECT

private slots:
    void crcMatchesPublishedCheckValues_data();
    void crcMatchesPublishedCheckValues();
    void crcOverFrameWithItsFcsGivesResidue();
    void encodeProducesWireFrame_data();
    void encodeProducesWireFrame();
    void decodeReassemblesEveryEncodedFrame_data();
    void decodeReassemblesEveryEncodedFrame();
    void startFrameCompletesAtClosingFlagWithIntactFcs();
    void closingFlagAfterAtMostTwoBytesResets_data();
    void closingFlagAfterAtMostTwoBytesResets();
    void escapeStaysPendingUntilFiveDOrFiveE();
    void bytesBeyondBufferAreDroppedAndFrameFailsCheck();
    void resetClearsEscapeAndLength();
    void corruptedFcsIsDetected();
    void reportIsARecordOnlyWhenWhollyFramed_data();
    void reportIsARecordOnlyWhenWhollyFramed();
};

void TestEncodeDecode::crcMatchesPublishedCheckValues_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("fcs");
    QTest::newRow("check 123456789") << QByteArray("123456789") << 0x906E;
    QTest::newRow("no bytes") << QByteArray() << 0x0000;
    QTest::newRow("start") << hex("FE 07") << 0x9DE0;
    QTest::newRow("stop") << hex("FF 07") << 0x8438;
    QTest::newRow("published PPP frame")
        << hex("FF 03 C0 21 01 15 00 13 03 05 C2 23 81 05 06 35 6E 4A 35 07 02 08 02") << 0x3222;
    // Single bytes whose FCS reads back the RFC 1662 table: fcs(b) = ~(tab[~b] ^ 0xFF).
    QTest::newRow("table entry 0 (byte FF)") << hex("FF") << (0x0000 ^ 0x00FF ^ 0xFFFF);
    QTest::newRow("table entry 1 (byte FE)") << hex("FE") << (0x1189 ^ 0x00FF ^ 0xFFFF);
    QTest::newRow("table entry 128 (byte 7F)") << hex("7F") << (0x8408 ^ 0x00FF ^ 0xFFFF);
    QTest::newRow("table entry 255 (byte 00)") << hex("00") << (0x0F78 ^ 0x00FF ^ 0xFFFF);
}

void TestEncodeDecode::crcMatchesPublishedCheckValues()
{
    QFETCH(QByteArray, data);
    QFETCH(int, fcs);
    EncodeDecode codec;
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    QCOMPARE(int(codec.crc16(bytes, data.size())), fcs);
}

void TestEncodeDecode::crcOverFrameWithItsFcsGivesResidue()
{
    EncodeDecode codec;
    const QByteArray payload("123456789");
    const quint16 fcs =
        codec.crc16(reinterpret_cast<const unsigned char *>(payload.constData()), payload.size());
    QByteArray withFcs = payload;
    withFcs.append(char(fcs & 0xFF)).append(char(fcs >> 8));
    QCOMPARE(int(codec.crc16(reinterpret_cast<const unsigned char *>(withFcs.constData()),
                             withFcs.size())),
             0x0F47);
}

void TestEncodeDecode::encodeProducesWireFrame_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("empty") << QByteArray() << hex("7E 00 00 7E");
    QTest::newRow("start") << hex("FE 07") << hex("7E FE 07 E0 9D 7E");
    QTest::newRow("stop") << hex("FF 07") << hex("7E FF 07 38 84 7E");
    QTest::newRow("abc") << QByteArray("abc") << hex("7E 61 62 63 25 9E 7E");
    QTest::newRow("flag in payload") << hex("7E") << hex("7E 7D 5E 81 6A 7E");
    QTest::newRow("escape in payload") << hex("7D") << hex("7E 7D 5D 1A 58 7E");
    QTest::newRow("both in payload") << hex("7E 7D 01") << hex("7E 7D 5E 7D 5D 01 3A 07 7E");
    QTest::newRow("FCS high byte 7D") << hex("19") << hex("7E 19 38 7D 5D 7E");
    QTest::newRow("FCS high byte 7E") << hex("2A") << hex("7E 2A 20 7D 5E 7E");
    QTest::newRow("FCS low byte 7E") << hex("60") << hex("7E 60 7D 5E 93 7E");
}

void TestEncodeDecode::encodeProducesWireFrame()
{
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, frame);
    EncodeDecode codec;
    QCOMPARE(encoded(codec, payload).toHex(' '), frame.toHex(' '));
}

void TestEncodeDecode::decodeReassemblesEveryEncodedFrame_data() { encodeProducesWireFrame_data(); }

void TestEncodeDecode::decodeReassemblesEveryEncodedFrame()
{
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, frame);
    EncodeDecode codec;
    DecoderState state;
    const QList<int> results = feed(codec, state, frame);
    // A frame of at most two stored bytes (empty payload) never completes.
    const int expectedLast = payload.size() + 2 > 2 ? 1 : 0;
    QCOMPARE(results.last(), expectedLast);
    QCOMPARE(results.count(1), expectedLast);
    if (expectedLast) {
        QCOMPARE(stored(state).left(payload.size()).toHex(' '), payload.toHex(' '));
        QVERIFY(codec.frameIntact(state));
    }
}

void TestEncodeDecode::startFrameCompletesAtClosingFlagWithIntactFcs()
{
    EncodeDecode codec;
    DecoderState state;
    QCOMPARE(feed(codec, state, hex("7E FE 07 E0 9D 7E")), (QList<int>{0, 0, 0, 0, 0, 1}));
    QCOMPARE(state.length, 4);
    QCOMPARE(stored(state), hex("FE 07 E0 9D"));
    QVERIFY(codec.frameIntact(state));
    // A closing flag leaves the state as it is, so the frame can still be read.
    QCOMPARE(codec.decodeByte(state, 0x7E), 1);
    QCOMPARE(state.length, 4);
}

void TestEncodeDecode::closingFlagAfterAtMostTwoBytesResets_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("one byte") << hex("7E 41 7E");
    QTest::newRow("two bytes") << hex("7E 41 42 7E");
    QTest::newRow("two bytes with escape pending") << hex("7E 41 42 7D 7E");
}

void TestEncodeDecode::closingFlagAfterAtMostTwoBytesResets()
{
    QFETCH(QByteArray, bytes);
    EncodeDecode codec;
    DecoderState state;
    QCOMPARE(feed(codec, state, bytes).count(1), 0);
    QCOMPARE(state.length, 0);
    QVERIFY(!state.escapePending());
}

void TestEncodeDecode::escapeStaysPendingUntilFiveDOrFiveE()
{
    EncodeDecode codec;
    DecoderState state;
    feed(codec, state, hex("7E 7D 41"));
    QCOMPARE(stored(state), hex("41"));
    QVERIFY(state.escapePending());
    QCOMPARE(state.flags, protocol::kDecoderEscapePending);
    feed(codec, state, hex("42 5E 5E"));
    QCOMPARE(stored(state), hex("41 42 7E 5E"));
    QVERIFY(!state.escapePending());
    feed(codec, state, hex("7D 5D"));
    QCOMPARE(stored(state), hex("41 42 7E 5E 7D"));
}

void TestEncodeDecode::bytesBeyondBufferAreDroppedAndFrameFailsCheck()
{
    EncodeDecode codec;
    DecoderState state;
    codec.decodeByte(state, 0x7E);
    for (int n = 0; n < protocol::kDecoderBufferSize + 10; ++n)
        QCOMPARE(codec.decodeByte(state, static_cast<unsigned char>(n & 0x3F)), 0);
    QCOMPARE(state.length, protocol::kDecoderBufferSize);
    QCOMPARE(int(state.buffer[protocol::kDecoderBufferSize - 1]),
             (protocol::kDecoderBufferSize - 1) & 0x3F);
    QCOMPARE(codec.decodeByte(state, 0x7E), 1);
    QVERIFY(!codec.frameIntact(state));
}

void TestEncodeDecode::resetClearsEscapeAndLength()
{
    EncodeDecode codec;
    DecoderState state;
    feed(codec, state, hex("7E 01 02 03 7D"));
    codec.resetDecoder(state);
    QCOMPARE(state.length, 0);
    QVERIFY(!state.escapePending());
    // The next frame decodes as if the state were fresh.
    QCOMPARE(feed(codec, state, hex("7E FF 07 38 84 7E")).last(), 1);
    QCOMPARE(stored(state), hex("FF 07 38 84"));
}

void TestEncodeDecode::corruptedFcsIsDetected()
{
    EncodeDecode codec;
    DecoderState state;
    QCOMPARE(feed(codec, state, hex("7E FE 07 E0 9C 7E")).last(), 1);
    QVERIFY(!codec.frameIntact(state));
}

// Each broken frame below stores the bytes of a record with a matching FCS, so only its framing
// tells it from an intact one.
void TestEncodeDecode::reportIsARecordOnlyWhenWhollyFramed_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("intact");
    EncodeDecode codec;
    const QByteArray whole = encoded(codec, levelRecord());
    QTest::newRow("whole frame") << whole << true;
    // The opening flag lost and a byte before the record: 36 00 36 07 D0 ... would read TK0 as
    // 0x3607 with a check sequence computed over that byte too.
    QTest::newRow("no opening flag")
        << encoded(codec, QByteArray(1, '\0') + levelRecord().left(chip::kRecordSize - 1)).mid(1)
        << false;
    QTest::newRow("flag in the middle") << QByteArray(whole).insert(10, char(0x7E)) << false;
    QTest::newRow("escape before another byte") << QByteArray(whole).insert(5, char(0x7D)) << false;
    QTest::newRow("no closing flag") << whole.left(whole.size() - 1) << false;
}

void TestEncodeDecode::reportIsARecordOnlyWhenWhollyFramed()
{
    QFETCH(QByteArray, frame);
    QFETCH(bool, intact);
    EncodeDecode codec;
    DecoderState decoder;
    const QByteArray report = boardReport(frame);
    QByteArray record;
    const BoardReport kind = parseBoardReport(
        codec, decoder, reinterpret_cast<const unsigned char *>(report.constData()), report.size(),
        &record);
    QVERIFY(codec.frameIntact(decoder));
    QCOMPARE(kind, intact ? BoardReport::DataIntact : BoardReport::DataCorrupt);
    QCOMPARE(record.size(), chip::kRecordSize);
}

QTEST_APPLESS_MAIN(TestEncodeDecode)
#include "tst_encodedecode.moc"
