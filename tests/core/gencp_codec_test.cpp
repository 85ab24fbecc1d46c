#include <gtest/gtest.h>

#include "core/genicam/feature_value.h"
#include "core/genicam/gencp.h"
#include "core/genicam/register_layout.h"

namespace vk::gencp {
namespace {

Bytes AckBytes(std::uint16_t status, std::uint16_t command, std::uint16_t requestId,
               const Bytes& scd, std::uint16_t announced = 0xFFFF) {
    Bytes out;
    Header h;
    h.preamble = kPreamble;
    h.flagsOrStatus = status;
    h.command = command;
    h.scdLength = announced == 0xFFFF ? static_cast<std::uint16_t>(scd.size()) : announced;
    h.requestId = requestId;
    AppendHeader(out, h);
    out.insert(out.end(), scd.begin(), scd.end());
    return out;
}

TEST(GenCpRequest, ReadMemoryIsTheFixedTwentyEightBytes) {
    const Bytes expected = {
        0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // preamble, checksums, channel
        0x00, 0x00, 0x08, 0x00, 0x00, 0x0C, 0x12, 0x34,  // flags, ReadMem, SCD 12, id
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0xD0,  // 64-bit address
        0x00, 0x00, 0xFF, 0xFF,                          // reserved, read length
    };
    EXPECT_EQ(BuildReadRequest(0x1234, 0x1D0, 0xFFFF), expected);
    const Bytes high = BuildReadRequest(1, 0x89ABCDEF01234567ULL, 8);
    EXPECT_EQ(Bytes(high.begin() + 16, high.begin() + 24),
              (Bytes{0x89, 0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45, 0x67}));
}

TEST(GenCpRequest, WriteMemorySendsWholeWordsOnly) {
    const Bytes data = {0xDE, 0xAD, 0xBE, 0xEF, 0x11, 0x22};  // six bytes: the last two stay
    const Bytes expected = {
        0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x02,
        0x00, 0x0C,  // SCD length (1 + 2) * 4
        0x00, 0x07,  // request id
        0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x10, 0xDE, 0xAD, 0xBE, 0xEF,
    };
    EXPECT_EQ(BuildWriteRequest(7, 0x20010, data), expected);
    EXPECT_EQ(BuildWriteRequest(7, 0x20010, Bytes{1, 2, 3}).size(), kHeaderSize + 8);

    const Bytes big(70000, 0x55);
    const Bytes capped = BuildWriteRequest(1, 0, big);
    EXPECT_EQ(ReadHeader(capped).scdLength, 8 + WrittenLength(big.size()));
    EXPECT_EQ(capped.size(), kHeaderSize + ReadHeader(capped).scdLength);
    EXPECT_EQ(WrittenLength(big.size()) % 4, 0u);
}

TEST(GenCpRequest, RequestIdsCountUpAndWrap) {
    RequestCounter counter;
    EXPECT_EQ(counter.Take(), 0);
    EXPECT_EQ(counter.Take(), 1);
    for (int i = 0; i < 0xFFFD; ++i)
        counter.Take();
    EXPECT_EQ(counter.Take(), 0xFFFF);
    EXPECT_EQ(counter.Take(), 0);
}

TEST(GenCpAck, ReadAcknowledgementCarriesTheData) {
    const Bytes packet = AckBytes(kStatusSuccess, kReadMemAck, 9, {0, 0, 0, 42});
    const Ack ack = ParseAck(packet, ReadAckExpectation(9, 4, 4));
    ASSERT_EQ(ack.check.state, AckState::Done) << ack.check.reason;
    EXPECT_EQ(ack.data, (Bytes{0, 0, 0, 42}));

    // A short read is the camera's answer, not a fault.
    EXPECT_EQ(
        ParseAck(AckBytes(0, kReadMemAck, 9, {1, 2}), ReadAckExpectation(9, 4, 4)).check.state,
        AckState::Done);
    const Ack written =
        ParseAck(AckBytes(0, kWriteMemAck, 3, {0, 0, 0, 4}), WriteAckExpectation(3));
    EXPECT_EQ(written.check.state, AckState::Done);
    EXPECT_EQ(ParseAck(AckBytes(0, kWriteMemAck, 3, {}), WriteAckExpectation(3)).check.state,
              AckState::Done);
}

TEST(GenCpAck, EveryErrorStatusIsRefusedWithItsName) {
    const struct {
        std::uint16_t status;
        const char* name;
    } cases[] = {
        {kStatusNotImplemented, "Not implemented"},
        {kStatusInvalidParameter, "Invalid parameter"},
        {kStatusInvalidAddress, "Invalid address"},
        {kStatusWriteProtect, "Write protect"},
        {kStatusBadAlignment, "Bad alignment"},
        {kStatusAccessDenied, "Access denied"},
        {kStatusBusy, "Busy"},
        {kStatusMessageTimeout, "Message time-out"},
        {kStatusGenericError, "Generic error"},
        {0x8123, "Unknown error 0x8123"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StatusName(c.status), c.name);
        const Ack ack =
            ParseAck(AckBytes(c.status, kReadMemAck, 5, {}), ReadAckExpectation(5, 4, 4));
        EXPECT_EQ(ack.check.state, AckState::Refused) << c.name;
        EXPECT_NE(ack.check.reason.find(c.name), std::string::npos) << ack.check.reason;
        EXPECT_TRUE(ack.data.empty());
    }
    EXPECT_EQ(StatusName(kStatusSuccess), "Success");
}

TEST(GenCpAck, ForeignOrOversizedAcknowledgementsAreInvalid) {
    const AckExpectation expect = ReadAckExpectation(5, 4, 4);
    const struct {
        const char* what;
        Bytes packet;
        const char* reason;
    } cases[] = {
        {"wrong request id", AckBytes(0, kReadMemAck, 6, {0, 0, 0, 1}), "request 6 instead of 5"},
        {"write ack to a read", AckBytes(0, kWriteMemAck, 5, {}), "0x0803 instead of 0x0801"},
        {"longer than asked", AckBytes(0, kReadMemAck, 5, {1, 2, 3, 4, 5}), "length 5 exceeds"},
        {"length beyond the data", AckBytes(0, kReadMemAck, 5, {1, 2}, 4), "announces 20"},
        {"huge length", AckBytes(0, kReadMemAck, 5, {}, 0xFFF0), "length 65520 exceeds"},
        {"no preamble", Bytes(16, 0), "preamble"},
        {"short header", Bytes{0x01, 0x00, 0x00}, "short"},
        {"error with huge length", AckBytes(kStatusBusy, kReadMemAck, 5, {}, 0x8000), "exceeds"},
    };
    for (const auto& c : cases) {
        const Ack ack = ParseAck(c.packet, expect);
        EXPECT_EQ(ack.check.state, AckState::Invalid) << c.what;
        EXPECT_NE(ack.check.reason.find(c.reason), std::string::npos)
            << c.what << ": " << ack.check.reason;
        EXPECT_TRUE(ack.data.empty()) << c.what;
    }
    // The buffer bounds the data even where the request would allow more.
    EXPECT_EQ(
        CheckAckHeader(AckBytes(0, kReadMemAck, 5, {}, 8), ReadAckExpectation(5, 16, 4)).state,
        AckState::Invalid);
    // The header alone is judged before its data arrive.
    const AckCheck header = CheckAckHeader(AckBytes(0, kReadMemAck, 5, {}, 4), expect);
    EXPECT_EQ(header.state, AckState::Done);
    EXPECT_EQ(header.dataLength, 4u);
}

TEST(GenCpAck, PendingAcknowledgementGivesItsTimeOut) {
    const Ack ack =
        ParseAck(AckBytes(0, kPendingAck, 5, {0, 0, 0x03, 0xE8}), ReadAckExpectation(5, 4, 4));
    EXPECT_EQ(ack.check.state, AckState::Pending);
    EXPECT_EQ(ack.check.pendingTimeoutMs, 1000);
    EXPECT_EQ(
        ParseAck(AckBytes(0, kPendingAck, 5, {0, 0}), ReadAckExpectation(5, 4, 4)).check.state,
        AckState::Invalid);
}

TEST(Bootstrap, ManifestAddressTakesTheUpperHalfOnlyWhenItIsSet) {
    EXPECT_EQ(ManifestAddress(Bytes{0, 0, 0, 0, 0, 0x01, 0x00, 0x00}), 0x10000u);
    EXPECT_EQ(ManifestAddress(Bytes{0, 0, 0, 0, 0x80, 0, 0, 0}), 0x80000000u);
    EXPECT_EQ(ManifestAddress(Bytes{0, 0x01, 0, 0, 0xDE, 0xAD, 0xBE, 0xEF}), 0x10000u);
    EXPECT_EQ(ManifestEntryAddress(0x10000, 0), 0x10008u);
    EXPECT_EQ(ManifestEntryAddress(0x10000, 2), 0x10088u);
}

TEST(Bootstrap, ManifestEntryFields) {
    Bytes entry(64, 0);
    entry[3] = 0x07;                     // file version 7
    entry[4] = 0x01, entry[6] = 0x04;    // schema 1.x, file type 1 in bits 15..10: zip
    entry[13] = 0x01, entry[14] = 0x01;  // address 0x10100
    entry[21] = 0x01, entry[22] = 0x23, entry[23] = 0x45;  // size 0x12345
    const auto parsed = ParseManifestEntry(entry);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->fileVersion, 7u);
    EXPECT_EQ(parsed->type, FileType::Zip);
    EXPECT_EQ(parsed->address, 0x10100u);
    EXPECT_EQ(parsed->size, 0x12345u);
    entry[6] = 0;
    EXPECT_EQ(ParseManifestEntry(entry)->type, FileType::Xml);
    EXPECT_FALSE(ParseManifestEntry(Bytes(63, 0)));
}

TEST(Bootstrap, FilesLargerThanOneReadComeInChunks) {
    const auto chunks = ChunkRead(0x1000, 140000);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].address, 0x1000u);
    EXPECT_EQ(chunks[0].length, 65535);
    EXPECT_EQ(chunks[1].address, 0x1000u + 65535);
    EXPECT_EQ(chunks[2].length, 140000 - 2 * 65535);
    EXPECT_EQ(ChunkRead(0, 65535).size(), 1u);
    EXPECT_TRUE(ChunkRead(0, 0).empty());
    EXPECT_EQ(ChunkRead(0, 10, 4).back().length, 2);
}

TEST(RegisterValues, FloatsAreBigEndianBothWays) {
    EXPECT_EQ(FloatBytes(1.5f), (Bytes{0x3F, 0xC0, 0x00, 0x00}));
    EXPECT_EQ(FloatFromBytes(Bytes{0x3F, 0xC0, 0x00, 0x00}), 1.5f);
    EXPECT_EQ(FloatFromBytes(FloatBytes(-273.25f)), -273.25f);
}

TEST(RegisterValues, ShownValuesByKind) {
    using namespace feature_flags;
    FeatureRecord integer;
    integer.flags = kReadable | kWritable;
    integer.length = 4;
    EXPECT_EQ(ValueFromRegister(integer, Bytes{0xFF, 0xFF, 0xFF, 0xAC}),
              FeatureValue{std::int64_t{-84}});
    EXPECT_EQ(RegisterBytesFor(integer, FeatureValue{std::int64_t{-84}}),
              (Bytes{0xFF, 0xFF, 0xFF, 0xAC}));
    EXPECT_TRUE(RegisterBytesFor(integer, FeatureValue{std::int64_t{1} << 40}).empty());

    FeatureRecord enumeration = integer;
    enumeration.entries = {{8, "Mono8"}, {10, "Mono10"}};
    EXPECT_EQ(ValueFromRegister(enumeration, Bytes{0, 0, 0, 10}), FeatureValue{std::int64_t{1}});
    EXPECT_EQ(ValueFromRegister(enumeration, Bytes{0, 0, 0, 9}), FeatureValue{std::int64_t{-1}});
    EXPECT_EQ(RegisterBytesFor(enumeration, FeatureValue{std::int64_t{1}}), (Bytes{0, 0, 0, 10}));
    EXPECT_TRUE(RegisterBytesFor(enumeration, FeatureValue{std::int64_t{2}}).empty());
    EXPECT_EQ(FormatFeatureValue(enumeration, std::int64_t{1}), "Mono10");
    EXPECT_EQ(FormatFeatureValue(enumeration, std::int64_t{-1}), "-1");

    FeatureRecord text;
    text.flags = kText | kReadable | kWritable;
    text.length = 6;
    EXPECT_EQ(ValueFromRegister(text, Bytes{'a', 'b', 0, 'x', 'y', 'z', 'q'}), FeatureValue{"ab"});
    EXPECT_EQ(ValueFromRegister(text, Bytes{'a', 'b', 'c', 'd', 'e', 'f', 'g'}),
              FeatureValue{"abcdef"});
    EXPECT_EQ(RegisterBytesFor(text, FeatureValue{"toolongtext"}),
              (Bytes{'t', 'o', 'o', 'l', 'o', 'n'}));
    EXPECT_EQ(RegisterBytesFor(text, FeatureValue{"ab"}), (Bytes{'a', 'b', 0, 0, 0, 0}));

    FeatureRecord real;
    real.flags = kFloat | kReadable;
    EXPECT_EQ(ValueFromRegister(real, FloatBytes(38.5f)), FeatureValue{38.5});
    EXPECT_EQ(FormatFeatureValue(real, 38.5), "38.5000");

    FeatureRecord command;
    command.flags = kCommand | kWritable;
    command.min = 0x1234;
    EXPECT_EQ(RegisterBytesFor(command, FeatureValue{std::int64_t{0}}), (Bytes{0, 0, 0x12, 0x34}));
}

}  // namespace
}  // namespace vk::gencp
