#include "core/messages.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/wall.h"
#include "protocol/record.h"

namespace tallow::server {
namespace {

std::vector<int> Bytes(const Record& r, std::size_t from, std::size_t n) {
  return std::vector<int>(r.begin() + static_cast<std::ptrdiff_t>(from),
                          r.begin() + static_cast<std::ptrdiff_t>(from + n));
}

TEST(Messages, ProfileLaysOutEveryField) {
  Profile p;
  p.account = "zhang";
  p.nickname = "张三abc";
  p.avatar = "w3";
  p.gender = 0;
  p.region = "北京";
  p.points = 0x0102;
  p.credit = 99;
  p.coins = 12345;
  p.logins = 7;
  p.disconnects = 1;
  p.wins = 0x01020304;
  p.losses = 0xFFFFFFFF;  // beyond what the client accepts: sent as 2^31 - 1
  p.tag = "玩家";
  p.voiceSet = "00";
  p.voiceNumber = "20";
  p.userId = 10001;
  const Record r = PlayerProfile(p, 15, true);
  EXPECT_EQ(r[3], 20);
  EXPECT_EQ(r[6], 15);
  EXPECT_EQ(Bytes(r, 16, 8), (std::vector<int>{0xD5, 0xC5, 0xC8, 0xFD, 'a', 'b', 'c', 0}));
  EXPECT_EQ(Bytes(r, 48, 3), (std::vector<int>{'w', '3', 0}));
  EXPECT_EQ(r[64], 0);
  EXPECT_EQ(Bytes(r, 72, 5), (std::vector<int>{0xB1, 0xB1, 0xBE, 0xA9, 0}));
  EXPECT_EQ(Bytes(r, 80, 8), (std::vector<int>{2, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(r[88], 99);
  EXPECT_EQ(Bytes(r, 96, 8), (std::vector<int>{0x39, 0x30, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(r, 112, 5), (std::vector<int>{0xCA, 0xEC, 0xCA, 0xD6, 0}));  // 熟手
  EXPECT_EQ(Bytes(r, 152, 16),
            (std::vector<int>{7, 0, 0, 0, 1, 0, 0, 0, 4, 3, 2, 1, 0xFF, 0xFF, 0xFF, 0x7F}));
  EXPECT_EQ(Bytes(r, 168, 6), (std::vector<int>{'z', 'h', 'a', 'n', 'g', 0}));
  EXPECT_EQ(Bytes(r, 184, 5), (std::vector<int>{0xCD, 0xE6, 0xBC, 0xD2, 0}));
  EXPECT_EQ(r[208], 1);
  EXPECT_EQ(Bytes(r, 210, 3), (std::vector<int>{'0', '0', 0}));
  EXPECT_EQ(Bytes(r, 218, 3), (std::vector<int>{'2', '0', 0}));
  EXPECT_EQ(Bytes(r, 226, 8), (std::vector<int>{0x11, 0x27, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(r, 260, 2), (std::vector<int>{0, 0}));  // the token is stamped per connection
}

TEST(Messages, ProfileTextNeverOverrunsItsField) {
  Profile p;
  p.nickname = std::string(40, 'x');
  p.region = "一二三四五六";  // four characters fit in 8 bytes; a NUL must follow
  const Record r = PlayerProfile(p, 0, false);
  EXPECT_EQ(r[47], 0);
  EXPECT_EQ(r[46], 'x');
  EXPECT_NE(r[77], 0);  // three characters (6 bytes) and the end mark
  EXPECT_EQ(r[78], 0);
  EXPECT_EQ(r[6], 0);
}

TEST(Messages, SettlementRecordAndHeader) {
  std::array<std::uint8_t, 29> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i + 1);
  const Record r = SeatScore(4, 300, bytes, "新手");
  EXPECT_EQ(r[3], 17);
  EXPECT_EQ(r[6], 4);
  const auto h = protocol::DecodeHeader(r);
  EXPECT_EQ(h.Value[0] * 256 + h.Value[1], 300);
  EXPECT_EQ(h.Value[3], 1);  // coins
  EXPECT_EQ(r[16], 1);
  EXPECT_EQ(r[44], 29);
  EXPECT_EQ(Bytes(r, 45, 5), (std::vector<int>{0xD0, 0xC2, 0xCA, 0xD6, 0}));
}

TEST(Messages, HandResultScoreIsLittleEndianTwosComplement) {
  const Record r = HandResult(2, -1);
  EXPECT_EQ(Bytes(r, 16, 8), std::vector<int>(8, 0xFF));
  EXPECT_EQ(r[11], 1);  // Value(1): keep the sign
  const Record z = HandResult(8, 258);
  EXPECT_EQ(Bytes(z, 16, 3), (std::vector<int>{2, 1, 0}));
}

TEST(Messages, LoginResultFields) {
  const Record r = LoginResult(1, 3, 12, "http://localhost/");
  const auto h = protocol::DecodeHeader(r);
  EXPECT_EQ(h.Code, 18);
  EXPECT_EQ(h.Value[3], 1);
  EXPECT_EQ(r[9], 3);
  EXPECT_EQ(h.Value[1] & 15, 12);
  EXPECT_EQ(Bytes(r, 16, 4), (std::vector<int>{'h', 't', 't', 'p'}));
  EXPECT_EQ(r[16 + 17], 0);
}

TEST(Messages, SnapshotPairsAndCounts) {
  const std::vector<Tile> laid = {0x15, 0x23, 0x23, 0x23};
  const std::vector<Tile> hidden = {0x41, 0x42};
  const Record r = TableSnapshot(2, 5, 61, 117, laid, hidden);
  EXPECT_EQ(r[3], 40);
  EXPECT_EQ(r[6], 2);
  EXPECT_EQ(r[7], 5);
  EXPECT_EQ(r[11], 61);
  EXPECT_EQ(r[15], 117);
  EXPECT_EQ(Bytes(r, 16, 14), (std::vector<int>{0x20, 0x15, 0x20, 0x23, 0x20, 0x23, 0x20, 0x23,
                                                0x10, 0x41, 0x10, 0x42, 0, 0}));
}

TEST(Messages, SnapshotCapsAtTwentyFourPairs) {
  const std::vector<Tile> many(30, 0x21);
  const Record r = TableSnapshot(1, 0, 0, 119, many, many);
  EXPECT_EQ(r[16 + 2 * 23], 0x20);
  EXPECT_EQ(r[64], 0);
}

// The client keeps its tail pointer by stepping backwards through the stacks from just
// before the break; a snapshot must bring a fresh client to the same sprite.
TEST(Messages, SnapshotTailValueRestoresTheClientsTailPointer) {
  for (int head : {0, 46, 92, 118}) {
    int tail = (head + 118) % 120;
    for (int t = 0; t < 60; ++t) {
      const int m = SnapshotTailValue(t);
      int restored = (head + 118) % 120;
      restored = ((119 - m) % 2 == 0) ? restored + m + 1 : restored + m - 3;
      restored = ((restored % 120) + 120) % 120;
      EXPECT_EQ(restored, tail) << "head " << head << " tail draws " << t;
      EXPECT_EQ(tail, (head + Wall::TailPosition(t)) % 120);
      tail = (tail % 2 == 0) ? tail + 1 : (tail + 117) % 120;
    }
  }
}

}  // namespace
}  // namespace tallow::server
