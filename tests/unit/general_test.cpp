#include "base/general.h"

#include <gtest/gtest.h>

#include "base/tiles.h"
#include "doubles/client_harness.h"
#include "platform/controls.h"

namespace tallow::testing {
namespace {

TEST(General, BitsAndPowers) {
  const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {2, 1}, {8, 3}, {0x10, 4}, {255, 7}};
  for (auto [b, pos] : cases) EXPECT_EQ(BitPosition(static_cast<std::uint8_t>(b)), pos) << b;
  for (short n = 0; n <= 3; ++n) EXPECT_EQ(BitPosition(PowerOfTwo(n)), n);
  EXPECT_THROW(PowerOfTwo(15), RuntimeFailure);
}

std::vector<std::string> Wrap(const std::string& text, int width) {
  ui::ListBox box;
  AddWrappedText(box, text, width);
  return box.lines;
}

TEST(General, AddWrappedText) {
  EXPECT_EQ(Wrap("abcdefghijkl", 10), (std::vector<std::string>{"abcdefghijk", " l"}));
  EXPECT_EQ(Wrap("abc", 10), std::vector<std::string>{"abc"});
  EXPECT_TRUE(Wrap("", 10).empty());
  EXPECT_TRUE(Wrap(std::string("\0abc", 4), 10).empty());
  EXPECT_EQ(Wrap(std::string("ab\0cd", 5), 10), std::vector<std::string>{"ab"});
  // Double-byte characters count two units each; the character that closed a line is
  // still counted towards the next one.
  EXPECT_EQ(Wrap("中文中文中文中", 4), (std::vector<std::string>{"中文中", " 文", " 中文中"}));
}

TEST(General, PadRightAndSingleByte) {
  EXPECT_EQ(PadRight("ab", 4), "ab  ");
  EXPECT_EQ(PadRight("abcde", 4), "abcde");
  EXPECT_EQ(PadRight("中", 3), "中  ");
  EXPECT_TRUE(IsSingleByteChar("a"));
  EXPECT_FALSE(IsSingleByteChar("發"));
}

TEST(General, HandTileSearch) {
  ClientHarness h;
  auto& me = h.c().table.custom(0);
  EXPECT_FALSE(HandHasTile(h.c(), 5));
  EXPECT_EQ(FindHandTile(h.c(), 5), -1);
  me.HandStart = 4;
  me.HandCount = 3;
  me.mj(5).Sprite = 17;
  me.mj(7).Sprite = 99;  // outside the concealed run
  EXPECT_TRUE(HandHasTile(h.c(), 17));
  EXPECT_EQ(FindHandTile(h.c(), 17), 5);
  EXPECT_FALSE(HandHasTile(h.c(), 99));
  me.HandStart = 19;
  me.HandCount = 5;  // a run reaching past mj(20) stops there
  EXPECT_EQ(FindHandTile(h.c(), 1234), -1);
}

TEST(General, WaitSecondsHandlesEventsAndSurvivesMidnight) {
  ClientHarness h;
  h.p.clock.Advance(14 * 3600 * 1000 - 500);  // 23:59:59.5
  int ran = 0;
  h.p.clock.Post([&] { ++ran; });
  WaitSeconds(h.c(), 1.0);
  EXPECT_EQ(ran, 1);
  EXPECT_LT(h.p.clock.SecondsSinceMidnight(), 1.0);
}

TEST(TableState, RelativeSeats) {
  struct Case {
    int local, seat, rel;
  };
  const Case cases[] = {{8, 1, 3}, {1, 8, 1}, {4, 4, 0}, {1, 4, 2}, {2, 1, 1}, {2, 4, 3}};
  for (const auto& k : cases) EXPECT_EQ(RelativeSeat(k.local, k.seat), k.rel);
}

TEST(TableState, SortHandOrdersDotsFirstHonoursLast) {
  SeatRecord s;
  s.HandStart = 4;
  const short tiles[] = {0x13, 0x25, 0x81, 0x47, 0x21, 0x89, 0x15};
  for (int i = 0; i < 7; ++i) {
    s.mj(4 + i).value = tiles[i];
    s.mj(4 + i).Sprite = static_cast<short>(100 + i);
    s.mj(4 + i).typ = 1;
  }
  const auto changed = SortHandValues(s, 7);
  const short sorted[] = {0x81, 0x89, 0x47, 0x21, 0x25, 0x13, 0x15};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(s.mj(4 + i).value, sorted[i]) << i;
    EXPECT_EQ(s.mj(4 + i).Sprite, 100 + i);  // sprites stay where they are
  }
  EXPECT_EQ(changed & 1u, 1u);
  EXPECT_EQ(changed & (1u << 6), 0u);  // 0x15 stayed last: not re-pictured
}

TEST(TableState, WallTailWalksBackwards) {
  EXPECT_EQ(StepWallTail(0), 1);
  EXPECT_EQ(StepWallTail(1), 118);
  EXPECT_EQ(StepWallTail(33), 30);
  EXPECT_EQ(TilePictureIndex(0, 0x15), 4);
  EXPECT_EQ(TilePictureIndex(4, 0x11), 144);
  EXPECT_EQ(TilePictureIndex(2, 0x89), 72 + 27 + 8);
}

TEST(TableState, NoWildTileMeansNoWildTest) {
  TableState t;
  EXPECT_FALSE(t.HasWildTile());
  t.WildTile = 0;
  EXPECT_FALSE(t.HasWildTile());
  t.WildTile = 0x23;
  EXPECT_TRUE(t.HasWildTile());
}

TEST(CheckedArrays, OutOfBoundsIsAFailure) {
  SeatRecord s;
  EXPECT_THROW(s.mj(21), RuntimeFailure);
  EXPECT_THROW(s.mj(-1), RuntimeFailure);
  EXPECT_NO_THROW(s.mj(20));
}

}  // namespace
}  // namespace tallow::testing
