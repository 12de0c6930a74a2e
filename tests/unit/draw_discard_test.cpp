#include <gtest/gtest.h>

#include "base/tiles.h"
#include "hand/discards.h"
#include "play/tile_selection.h"
#include "play/turn_handlers.h"
#include "play_support.h"

namespace tallow::testing {
namespace {

// 1 2 3 4 5 6 7 8 9 of characters, 1 1 of dots, 东 东 东: unsorted on purpose.
const std::vector<int> kDealerHand = {0x45, 0x41, 0x42, 0x43, 0x44, 0x46, 0x47,
                                      0x48, 0x49, 0x81, 0x81, 0x11, 0x11, 0x11};

TEST(Deal, FillsEveryHandFromTheWallHeadAndSortsTheLocalHand) {
  PlayTable t;
  t.Deal(kDealerHand);
  auto& c = t.c();
  EXPECT_EQ(t.seat(0).HandCount, 14);
  for (int rel = 1; rel <= 3; ++rel) EXPECT_EQ(t.seat(rel).HandCount, 13);
  EXPECT_EQ(c.table.WallHead, 53);
  // Dots first, then characters ascending, honours last.
  EXPECT_EQ(t.LocalHand(), (std::vector<int>{0x81, 0x81, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47,
                                             0x48, 0x49, 0x11, 0x11, 0x11}));
  // The complete hand was shown face down for a second before it was sorted.
  EXPECT_GE(t.h.p.clock.Sleeps(), 1);
  for (int k = 0; k < 14; ++k) {
    const auto& m = t.sprite(t.seat(0).mj(4 + k).Sprite);
    EXPECT_DOUBLE_EQ(m.Left, 19 + (4 + k) * 48);
    EXPECT_DOUBLE_EQ(m.Top, 564);
    EXPECT_EQ(m.Width, 48);
  }
  // Another seat's tiles show its standing back.
  EXPECT_EQ(t.sprite(t.seat(2).mj(4).Sprite).picture.id, 201 + 36 * 2 + 7);
  ExpectConsistent(c, "after the deal");
}

// The complete hand turns face down for a moment only in a hand without a wild-tile message.
TEST(Deal, OnlyAHandWithoutAWildTileMessageTurnsFaceDown) {
  for (int wild : {-1, 0, 0x49}) {
    SCOPED_TRACE(wild);
    PlayTable t(wild);
    const int sleeps = t.h.p.clock.Sleeps();
    t.Deal(kDealerHand);
    EXPECT_EQ(t.h.p.clock.Sleeps() > sleeps, wild < 0);
  }
}

// Plays the local dealer's first discard by click after the server's offer.
void LocalDiscard(PlayTable& t, int code) {
  t.Offer(0);
  TileMouseDown(t.c(), t.LocalSprite(code), ui::kLeftButton);
  t.Discard(0, code);
}

TEST(Pooling, ALocalDiscardWaitsForTheNextPlayersDraw) {
  PlayTable t;
  t.Deal(kDealerHand);
  LocalDiscard(t, 0x11);
  auto& c = t.c();
  const int s = c.table.LastDiscardSprite;
  const double midLeft = (1024 - 36) / 2.0;
  EXPECT_DOUBLE_EQ(t.sprite(s).Left, midLeft);
  // A draw by the seat opposite does not take it into the pool.
  t.Draw(2);
  EXPECT_DOUBLE_EQ(t.sprite(s).Left, midLeft);
  EXPECT_EQ(t.seat(0).DiscardX, 358);
  t.Draw(3);
  EXPECT_DOUBLE_EQ(t.sprite(s).Left, 358);
  EXPECT_DOUBLE_EQ(t.sprite(s).Top, 438);
  EXPECT_EQ(t.seat(0).DiscardX, 358 + 36);
  EXPECT_EQ(c.hand.DiscardBlinkCount, 3);
  ExpectConsistent(c, "pooled");
}

TEST(Pooling, AnyDrawPoolsAnotherSeatsDiscardOnce) {
  for (int discarder = 1; discarder <= 3; ++discarder) {
    for (int drawer = 0; drawer <= 3; ++drawer) {
      PlayTable t;
      t.Deal(kDealerHand);
      LocalDiscard(t, 0x11);
      t.Draw(3);
      t.Discard(discarder, 0x23);
      const int s = t.c().table.LastDiscardSprite;
      const short x0 = t.seat(discarder).DiscardX, y0 = t.seat(discarder).DiscardY;
      t.Draw(drawer, drawer == 0 ? 0x29 : 0);
      EXPECT_DOUBLE_EQ(t.sprite(s).Left, x0) << discarder << " " << drawer;
      EXPECT_DOUBLE_EQ(t.sprite(s).Top, y0);
      EXPECT_EQ(t.c().hand.LastPoolX, x0);
      // A second draw without a discard in between leaves the pool alone.
      const short x1 = t.seat(discarder).DiscardX, y1 = t.seat(discarder).DiscardY;
      t.Draw((drawer + 1) % 4, drawer == 3 ? 0x29 : 0);
      EXPECT_EQ(t.seat(discarder).DiscardX, x1);
      EXPECT_EQ(t.seat(discarder).DiscardY, y1);
      ExpectConsistent(t.c(), "pooled by a draw");
    }
  }
}

struct RowCase {
  int rel;
  // Expected pool position of discard 1, 8, 9 and 17 (1-based).
  std::array<std::array<double, 2>, 4> at;
};

class PoolRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(PoolRows, NinthAndSeventeenthDiscardsStartRows) {
  const RowCase k = GetParam();
  PlayTable t;
  auto& c = t.c();
  std::vector<std::array<double, 2>> placed;
  for (int n = 0; n < 17; ++n) {
    PoolSprite(c, k.rel, n);
    placed.push_back({t.sprite(n).Left, t.sprite(n).Top});
  }
  const int check[] = {0, 7, 8, 16};
  for (int i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(placed[check[i]][0], k.at[i][0]) << "discard " << check[i] + 1;
    EXPECT_DOUBLE_EQ(placed[check[i]][1], k.at[i][1]) << "discard " << check[i] + 1;
  }
  EXPECT_EQ(t.sprite(0).Width, c.table.TileWidth(k.rel));
}

INSTANTIATE_TEST_SUITE_P(
    EverySeat, PoolRows,
    ::testing::Values(
        // rel 0: rightwards by 36, rows 32 higher (50 - 18).
        RowCase{0, {{{358, 438}, {358 + 7 * 36, 438}, {358, 438 - 32}, {358, 438 - 64}}}},
        // rel 1: downwards by 18 and 5 to the left; next column at +43 from the row start.
        RowCase{1, {{{287, 238}, {287 - 35, 238 + 7 * 18}, {287 + 43, 238}, {287 + 86, 238}}}},
        // rel 2: leftwards by 30, rows 22 lower (36 - 14).
        RowCase{2, {{{635, 238}, {635 - 7 * 30, 238}, {635, 238 + 22}, {635, 238 + 44}}}},
        // rel 3: upwards by 18 and 5 to the left; next column 48 further left.
        RowCase{3, {{{758, 438}, {758 - 35, 438 - 7 * 18}, {758 - 48, 438}, {758 - 96, 438}}}}));

TEST(RightPool, RestacksItsRows) {
  PlayTable t;
  auto& c = t.c();
  auto& f = c.mainForm;
  for (int n = 0; n < 17; ++n) PoolSprite(c, 3, 40 + n);
  EXPECT_EQ(c.hand.RightPoolCount, 17);
  // Within the second row the lowest index ends on top, in front of the first row.
  for (int k = 8; k < 15; ++k) {
    EXPECT_GT(f.ZIndex(f.MJ_Image(40 + k)), f.ZIndex(f.MJ_Image(40 + k + 1))) << k;
  }
  EXPECT_GT(f.ZIndex(f.MJ_Image(48)), f.ZIndex(f.MJ_Image(47)));
  EXPECT_GT(f.ZIndex(f.MJ_Image(56)), f.ZIndex(f.MJ_Image(48)));
  // A pool past three rows keeps its sprites in place and never leaves the list.
  for (int n = 17; n < 30; ++n) PoolSprite(c, 3, 60 + n);
  EXPECT_EQ(c.hand.RightPoolCount, 24);
}

TEST(Blink, AFreshlyPooledDiscardBlinksThenStays) {
  PlayTable t;
  t.Deal(kDealerHand);
  LocalDiscard(t, 0x11);
  t.Draw(3);
  auto& c = t.c();
  const int s = c.table.LastDiscardSprite;
  std::vector<bool> seen;
  for (int step = 0; step < 5; ++step) {
    BlinkLastDiscard(c);
    seen.push_back(t.sprite(s).Visible);
  }
  EXPECT_EQ(seen, (std::vector<bool>{false, true, false, true, true}));
}

TEST(Blink, ADiscardPungedWhileItBlinksStaysShownAfterItsTakerDiscards) {
  PlayTable t;
  t.Deal(kDealerHand);
  LocalDiscard(t, 0x11);
  t.Draw(3);  // pools the local discard: the blink starts
  auto& c = t.c();
  BlinkLastDiscard(c);
  t.Discard(3, 0x81);  // the next player throws before the blink has run out
  const int claimed = c.table.LastDiscardSprite;
  BlinkLastDiscard(c);                                 // hides the new discard in the middle
  t.Result(2, protocol::op::kPung, 0x81, 0x81, 0x81);  // the opposite seat pungs it
  EXPECT_TRUE(t.sprite(claimed).Visible);
  BlinkLastDiscard(c);  // the blink's last step hides the tile, now in the set
  t.Discard(2, 0x45);   // the taker throws a tile: the last discard changes
  for (int step = 0; step < 3; ++step) BlinkLastDiscard(c);
  EXPECT_TRUE(t.sprite(claimed).Visible) << "the punged tile stays hidden in the set";
  EXPECT_TRUE(t.sprite(c.table.LastDiscardSprite).Visible);
}

TEST(WallPointers, ADrawAfterAKongComesFromTheTail) {
  PlayTable t;
  t.Deal(kDealerHand);
  auto& c = t.c();
  // The local dealer lays down a concealed kong of 东 … here only the pointer rule matters.
  c.table.WallHeadDraw = 0;
  const short tail = c.table.WallTail, head = c.table.WallHead;
  t.Draw(2);
  EXPECT_EQ(t.seat(2).mj(t.seat(2).HandStart + 13).Sprite, tail);
  EXPECT_EQ(c.table.WallTail, StepWallTail(tail));
  EXPECT_EQ(c.table.WallHead, head);
  EXPECT_EQ(c.table.WallHeadDraw, -1);
  t.Draw(2);
  EXPECT_EQ(t.seat(2).mj(t.seat(2).HandStart + 14).Sprite, head);
  ExpectConsistent(c, "tail draw");
}

TEST(WallPointers, PointerRulesMeetInTheMiddle) {
  PlayTable t;
  auto& c = t.c();
  struct Case {
    short head, tail, headDraw, sprite, headAfter, tailAfter;
  };
  const Case cases[] = {
      {10, 50, -1, 10, 11, 50},  // ordinary head draw
      {47, 49, -1, 47, 49, 49},  // head + 1 reaches an odd tail: the head jumps onto it
      {20, 20, -1, 20, 21, 21},  // equal pointers: the tail steps first (even -> odd)
      {30, 41, 0, 41, 30, 38},   // tail draw from an odd sprite to the previous stack
      {30, 40, 0, 40, 30, 41},   // tail draw from an even sprite to the one below it
      {30, 30, 0, 30, 31, 31},   // equal pointers: the head moves first
      {41, 43, 0, 43, 41, 41},   // the tail stepping to just before the head joins it
  };
  for (const auto& k : cases) {
    c.table.WallHead = k.head;
    c.table.WallTail = k.tail;
    c.table.WallHeadDraw = k.headDraw;
    EXPECT_EQ(TakeDrawSprite(c), k.sprite) << k.head << "/" << k.tail;
    EXPECT_EQ(c.table.WallHead, k.headAfter) << k.head << "/" << k.tail;
    EXPECT_EQ(c.table.WallTail, k.tailAfter) << k.head << "/" << k.tail;
  }
}

TEST(Discard, AnotherSeatsDiscardShowsInTheMiddleAndCountsAsSeen) {
  PlayTable t;
  t.Deal(kDealerHand);
  LocalDiscard(t, 0x11);
  t.Draw(3);
  auto& c = t.c();
  const int last = t.seat(3).mj(t.seat(3).HandStart + 13).Sprite;
  t.Discard(3, 0x85);
  EXPECT_EQ(c.table.LastDiscardSprite, last);
  EXPECT_EQ(c.table.LastDiscarderRel, 3);
  EXPECT_EQ(t.seat(3).HandCount, 13);
  EXPECT_EQ(t.sprite(last).picture.id, 201 + TilePictureIndex(3, 0x85));
  EXPECT_DOUBLE_EQ(t.sprite(last).Left, (1024 - 48) / 2.0);
  EXPECT_DOUBLE_EQ(t.sprite(last).Top, (768 - 35) / 2.0);
  EXPECT_EQ(c.table.SeenCount(3)(4), 1);
  // Honours are not counted; a discard of tile 0 only clears the last tile.
  t.Draw(2);
  t.Discard(2, 0x15);
  EXPECT_EQ(c.table.SeenCount(0)(4), 0);
  t.Discard(1, 0);
  EXPECT_EQ(c.table.LastTile, 0);
  ExpectConsistent(c, "discards");
}

TEST(Discard, FollowTheDealerBubble) {
  struct Case {
    int rel;
    double left, top;
  };
  for (const Case k : {Case{1, 8, 280}, Case{3, 936, 280}, Case{2, 350 + 0.8 * 70, 15}}) {
    PlayTable t;
    t.Deal(kDealerHand);
    auto& c = t.c();
    t.seat(k.rel).HandCount = 13;
    t.Discard(k.rel, 0x23, 3);
    auto& b = c.mainForm.tsSpeak(k.rel - 1);
    EXPECT_TRUE(b.Visible) << k.rel;
    EXPECT_EQ(b.picture.id, 418 + k.rel - 1);
    EXPECT_DOUBLE_EQ(b.Left, k.left);
    EXPECT_DOUBLE_EQ(b.Top, k.top);
    // Slot 9 hides it two seconds later.
    t.h.Ticks(41);
    EXPECT_FALSE(b.Visible) << k.rel;
  }
}

}  // namespace
}  // namespace tallow::testing
