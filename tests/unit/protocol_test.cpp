#include <gtest/gtest.h>

#include "protocol/gbk.h"
#include "protocol/record.h"
#include "protocol/record_builder.h"

namespace tallow::protocol {
namespace {

TEST(RecordValues, SignedOnlyForRevealsAndSettlements) {
  struct Case {
    std::uint8_t type, high, low;
    int expected;
  };
  const Case cases[] = {
      {17, 0xFF, 0xFE, -2},    {15, 0xFF, 0xFE, -2},     {7, 0xFF, 0xFE, 254},
      {17, 0x7F, 0xFF, 32767}, {17, 0x80, 0x00, -32768}, {1, 0x12, 0x34, 0x34},
      {17, 0x01, 0x02, 258},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeValue(c.type, c.high, c.low), c.expected) << int(c.type);
  }
}

TEST(RecordHeader, DecodesMaskedSeatAndValues) {
  Record r{};
  r[2] = 0x7F;  // the high byte of the type is not read
  r[3] = 17;
  r[5] = 9;
  r[6] = 0xF4;
  r[7] = 0x33;
  WriteWord(r, 8, -2);
  WriteWord(r, 14, 300);
  const Header h = DecodeHeader(r);
  EXPECT_EQ(h.Code, 17);
  EXPECT_EQ(h.Reserved, 9);
  EXPECT_EQ(h.SeatMask, 4);
  EXPECT_EQ(h.Extra, 0x33);
  EXPECT_EQ(h.Value[0], -2);
  EXPECT_EQ(h.Value[3], 300);
}

TEST(RecordHeader, EncodesTwosComplementBigEndian) {
  Header h;
  h.Code = 2;
  h.SeatMask = 8;
  h.Value = {0, 1, -1, DiscardTile(0x23)};
  Record r{};
  EncodeHeader(h, r);
  const std::uint8_t expected[] = {0, 0, 0, 2, 0, 0, 8, 0, 0, 0, 0, 1, 0xFF, 0xFF, 0x40, 0x23};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(r[i], expected[i]) << i;
  EXPECT_EQ(ClaimTile(0x1F23), 0x2F23);
}

TEST(Gbk, RoundTripsChineseAndAscii) {
  const std::string text = "松竹麻将 abc";
  const std::string gbk = ToGbk(text);
  EXPECT_EQ(gbk.size(), 4u * 2 + 4);
  EXPECT_EQ(FromGbk(gbk), text);
}

TEST(Gbk, CharactersAndCuts) {
  EXPECT_EQ(CharCount("中文ab"), 4u);
  EXPECT_EQ(FirstChars("中文ab", 3), "中文a");
  EXPECT_TRUE(IsSingleByteGbk("a"));
  EXPECT_FALSE(IsSingleByteGbk("中"));
  EXPECT_FALSE(CharToGbk("\xF0\x9F\x98\x80").has_value());  // an emoji has no GBK code
  // Decoding stops at NUL and never loses a stray lead byte silently.
  const std::uint8_t bytes[] = {'a', 0xD6, 0, 'b'};
  EXPECT_EQ(FromGbk(std::span<const std::uint8_t>(bytes)), "a\xEF\xBF\xBD");
}

TEST(RecordBuilder, TextFieldsKeepTheirBounds) {
  struct Case {
    const char* utf8;
    std::size_t at, max;
    bool pairsOnly;
    std::vector<std::uint8_t> expected;  // bytes from `at`, the rest of the field 0
  };
  const Case cases[] = {
      {"ab中", 20, 4, false, {'a', 'b', 0, 0}},  // 中 would leave no NUL
      {"ab中", 20, 5, false, {'a', 'b', 0xD6, 0xD0, 0}},
      {"a中b文", 20, 6, true, {0xD6, 0xD0, 0xCE, 0xC4, 0, 0}},
      {"abcdef", 268, 8, false, {'a', 'b', 'c', 'd'}},  // cut at the record's end
  };
  for (const auto& c : cases) {
    Record r = BuildRecord(MsgType::ServerNotice);
    (c.pairsOnly ? PutGbkPairs : PutGbk)(r, c.at, c.max, c.utf8);
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(r[c.at + i], c.expected[i]) << c.utf8 << " byte " << i;
    }
  }
  Record r = BuildRecord(ClientCode::Relogin, 0x1F, {0x1234, -2, 0, 300});
  const Header h = DecodeHeader(r);
  EXPECT_EQ(ReadWord(r, off::kTypeHigh), 28);
  EXPECT_EQ(h.SeatMask, 0x0F);
  EXPECT_EQ(ReadWord(r, off::kValues + 2), -2);
  EXPECT_EQ(ReadWord(r, off::kValues + 6), 300);
  PutLittleEndian(r, 16, 0x0102030405060708u, 8);
  EXPECT_EQ(r[16], 0x08);
  EXPECT_EQ(r[23], 0x01);
}

}  // namespace
}  // namespace tallow::protocol
