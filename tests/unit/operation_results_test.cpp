#include <gtest/gtest.h>

#include "base/tiles.h"
#include "play/operation_panel.h"
#include "play/tile_selection.h"
#include "play_support.h"

namespace tallow::testing {
namespace {

namespace op = protocol::op;

// The local dealer's hand: pairs and runs to claim with.
const std::vector<int> kHand = {0x23, 0x23, 0x15, 0x16, 0x17, 0x41, 0x42,
                                0x44, 0x45, 0x81, 0x81, 0x81, 0x81, 0x12};

// Dealt, the local dealer has discarded 0x12 and seat rel 3 has drawn.
PlayTable& Started(PlayTable& t) {
  t.Deal(kHand);
  t.Offer(1 + 16 + 32);
  TileMouseDown(t.c(), t.LocalSprite(0x12), ui::kLeftButton);
  t.Discard(0, 0x12);
  t.Draw(3);
  t.TakeSent();
  return t;
}

TEST(OtherSeatResult, APungByTheOppositeSeatMovesItsEntries) {
  PlayTable t;
  Started(t);
  auto& c = t.c();
  t.Discard(3, 0x29);
  const int discard = c.table.LastDiscardSprite;
  auto& s = t.seat(2);
  ASSERT_EQ(s.HandStart, 4);
  ASSERT_EQ(s.HandCount, 13);
  const short a = s.mj(4).Sprite, b = s.mj(5).Sprite, third = s.mj(6).Sprite;
  t.Result(2, op::kPung, 0x29, 0x29, 0x29);
  EXPECT_EQ(s.mj(2).Sprite, a);
  EXPECT_EQ(s.mj(3).Sprite, b);
  EXPECT_EQ(s.mj(4).Sprite, discard);
  for (int k = 2; k <= 4; ++k) {
    EXPECT_EQ(s.mj(k).typ, 3);
    EXPECT_EQ(s.mj(k).value, 0x29);
    EXPECT_EQ(t.sprite(s.mj(k).Sprite).picture.id, 201 + TilePictureIndex(2, 0x29));
  }
  EXPECT_EQ(s.mj(17).Sprite, third);  // the third hidden tile moved to the run's end
  EXPECT_EQ(s.HandCount, 11);
  EXPECT_EQ(s.HandStart, 7);
  EXPECT_EQ(s.MeldEnd, 7);
  // Announced at the seat: bubble beside its portrait, 碰 banner over it.
  auto& f = c.mainForm;
  EXPECT_TRUE(f.Speak(1).Visible);
  EXPECT_DOUBLE_EQ(f.Speak(1).Left, f.Tou(2).Left + 0.8 * f.Tou(2).Width);
  EXPECT_TRUE(f.Words.Visible);
  EXPECT_EQ(f.Words.picture.id, 184);
  ExpectConsistent(c, "pung by rel 2");
  // The pung's discarder is next to throw: its tile is no longer in the middle.
  EXPECT_NE(t.sprite(discard).Left, (1024 - 30) / 2.0);
}

TEST(OtherSeatResult, LoneOneTileKongsOfRedDragonAndWildTileAreNotAnnounced) {
  struct Case {
    int tile;
    bool announced;
  };
  for (const Case k : {Case{0x15, false}, Case{0x27, false}, Case{0x33, true}}) {
    PlayTable t(0x27);
    Started(t);
    auto& c = t.c();
    auto& s = t.seat(3);
    const short last = s.mj(s.HandStart + s.HandCount - 1).Sprite;
    t.Result(3, op::kOneTileKong, 0, 0, k.tile);
    EXPECT_EQ(c.mainForm.Words.Visible, k.announced) << k.tile;
    EXPECT_EQ(c.mainForm.Speak(2).Visible, k.announced) << k.tile;
    if (k.announced) {
      EXPECT_EQ(c.mainForm.Words.picture.id, 189);
    }
    EXPECT_EQ(c.table.LastDiscardSprite, last);
    EXPECT_EQ(c.table.LastTile, k.tile);
    EXPECT_EQ(s.HandCount, 13);
    EXPECT_EQ(c.table.WallHeadDraw, 0);
    EXPECT_EQ(t.sprite(last).picture.id, 201 + TilePictureIndex(3, k.tile));
    if (k.tile == 0x15) {
      EXPECT_EQ(s.RedKongCount, 1);
      EXPECT_EQ(c.hand.OneTileKongSprites(3)(0), last);
    }
    if (k.tile == 0x27) {
      EXPECT_EQ(s.WildKongCount, 1);
      EXPECT_EQ(c.hand.OneTileKongSprites(3)(4), last);
    }
    // The replacement tile comes from the wall's tail and the kong tile stays where it lies.
    const short tail = c.table.WallTail;
    const double left = t.sprite(last).Left;
    t.Draw(3);
    EXPECT_EQ(s.mj(s.HandStart + s.HandCount - 1).Sprite, tail);
    EXPECT_DOUBLE_EQ(t.sprite(last).Left, left);
    ExpectConsistent(c, "one-tile kong");
  }
}

TEST(OtherSeatResult, KongsTakeTheDiscardOrTheFourthHandTile) {
  struct Case {
    int op;
    int handAfter;
  };
  for (const Case k : {Case{op::kKong, 10}, Case{op::kConcealedKong, 10}}) {
    PlayTable t;
    Started(t);
    auto& c = t.c();
    auto& s = t.seat(2);
    if (k.op == op::kKong) {
      t.Discard(3, 0x29);
    } else {
      t.Discard(3, 0x29);
      t.Draw(2);
    }
    const short discard = c.table.LastDiscardSprite;
    const short last = s.mj(s.HandStart + s.HandCount - 1).Sprite;
    t.Result(2, k.op, 0x26, 0x26, 0x26);
    EXPECT_EQ(s.HandCount, k.handAfter) << k.op;
    EXPECT_EQ(s.HandStart, 7);
    EXPECT_EQ(s.MeldEnd, 7);
    const short fourth = k.op == op::kKong ? discard : last;
    ASSERT_EQ(c.hand.KongMarkCount, 1);
    EXPECT_EQ(c.hand.KongMarkSprite(0), fourth);
    EXPECT_EQ(c.hand.KongMarkTile(0), 0x26);
    EXPECT_EQ(c.hand.KongMarkSeat(0), 2);
    // The fourth tile lies on the middle tile of the set, 17 pixels higher.
    EXPECT_DOUBLE_EQ(t.sprite(fourth).Top, t.sprite(s.mj(3).Sprite).Top - 17);
    EXPECT_DOUBLE_EQ(t.sprite(fourth).Left, t.sprite(s.mj(3).Sprite).Left);
    EXPECT_EQ(c.table.DiscardClaimed, -1);
    ExpectConsistent(c, "kong by rel 2");
    // After a win the concealed kong's hidden tile can be looked at.
    t.Result(1, op::kWin, 0, 0, 0);
    EXPECT_EQ(c.hand.WinnerRel, 1);
    TileMouseDown(c, fourth, ui::kLeftButton);
    EXPECT_EQ(t.sprite(fourth).picture.id, 201 + TilePictureIndex(2, 0x26));
  }
}

TEST(LocalResult, ClaimedSetsLeaveTheHandAndLieBeforeIt) {
  struct Case {
    int button, op;
    int discard;
    std::array<int, 3> tiles;
    std::vector<int> handAfter;
  };
  const Case cases[] = {
      {1,
       op::kPung,
       0x23,
       {0x23, 0x23, 0x23},
       {0x81, 0x81, 0x81, 0x81, 0x41, 0x42, 0x44, 0x45, 0x15, 0x16, 0x17}},
      {0,
       op::kChow,
       0x43,
       {0x42, 0x44, 0x43},
       {0x81, 0x81, 0x81, 0x81, 0x41, 0x45, 0x23, 0x23, 0x15, 0x16, 0x17}},
  };
  for (const auto& k : cases) {
    PlayTable t;
    Started(t);
    auto& c = t.c();
    t.Discard(3, 0x29);
    t.Draw(2);
    t.Discard(2, 0x33);
    t.Draw(1);
    t.Discard(1, k.discard);
    const short discard = c.table.LastDiscardSprite;
    t.Offer(1 + (k.op == op::kPung ? 8 : 4));
    OperationClick(c, k.button);
    // Three chows are possible on 0x43: the chooser's second row is 0x42 0x44.
    if (k.op == op::kChow) ChiClick(c, 3);
    auto sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(Op(sent[0]), k.op);
    t.Result(0, k.op, k.tiles[0], k.tiles[1], k.tiles[2]);
    auto& me = t.seat(0);
    EXPECT_EQ(t.LocalHand(), k.handAfter) << k.op;
    EXPECT_EQ(me.HandStart, 7);
    EXPECT_EQ(me.MeldEnd, 6);
    EXPECT_EQ(me.mj(3).Sprite, discard);
    for (int i = 1; i <= 3; ++i) {
      EXPECT_EQ(me.mj(i).typ, k.op == op::kPung ? 3 : 2);
      const auto& m = t.sprite(me.mj(i).Sprite);
      EXPECT_EQ(m.picture.id, 201 + TilePictureIndex(0, me.mj(i).value));
      EXPECT_EQ(m.Width, 45);
      EXPECT_EQ(m.Height, 60);
      // Sets end before the first concealed tile.
      EXPECT_LT(m.Left + m.Width, t.sprite(me.mj(7).Sprite).Left);
    }
    EXPECT_FALSE(c.mainForm.Words.Visible);  // the local player is not announced
    ExpectConsistent(c, "local set");
  }
}

TEST(LocalResult, KongsLeaveTenTilesAndTheReplacementComesFromTheTail) {
  for (int kind : {op::kKong, op::kConcealedKong}) {
    PlayTable t;
    t.Deal(kHand);
    auto& c = t.c();
    if (kind == op::kKong) {
      // Discard one 1-dots first so that three are left for a kong on a discard.
      t.Offer(1);
      TileMouseDown(c, t.LocalSprite(0x81), ui::kLeftButton);
      t.Discard(0, 0x81);
      t.Draw(3);
      t.Discard(3, 0x81);
      t.Offer(1 + 16);
    } else {
      t.Offer(1 + 16 + 32);
    }
    c.table.LastTile = kind == op::kKong ? 0x81 : c.table.LastTile;
    OperationClick(c, 2);
    auto sent = t.TakeSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(Op(sent.back()), kind);
    t.Result(0, kind, 0x81, 0x81, 0x81);
    auto& me = t.seat(0);
    EXPECT_EQ(me.HandCount, kind == op::kKong ? 10 : 10) << kind;
    EXPECT_EQ(me.HandStart, 7);
    EXPECT_EQ(me.MeldEnd, 6);
    for (int v : t.LocalHand()) EXPECT_NE(v, 0x81);
    EXPECT_EQ(c.table.WallHeadDraw, 0);
    const short tail = c.table.WallTail;
    t.Draw(0, 0x33);
    EXPECT_EQ(me.mj(me.HandStart + me.HandCount - 1).Sprite, tail);
    ExpectConsistent(c, "local kong");
  }
}

TEST(DragonSets, TwoLocalSetsUseUnmarkedTiles) {
  PlayTable t;
  auto& c = t.c();
  t.Deal({0x15, 0x11, 0x16, 0x17, 0x15, 0x16, 0x17, 0x41, 0x42, 0x43, 0x81, 0x82, 0x83, 0x29});
  t.Feed(8, 0, {2, 0, 0, 0});
  auto& me = t.seat(0);
  const int want[] = {0x15, 0x16, 0x17, 0x15, 0x16, 0x17};
  std::set<int> sprites;
  for (int k = 1; k <= 6; ++k) {
    EXPECT_EQ(me.mj(k).value, want[k - 1]) << k;
    EXPECT_EQ(me.mj(k).typ, 2);
    EXPECT_EQ(t.sprite(me.mj(k).Sprite).picture.id, 201 + TilePictureIndex(0, want[k - 1]));
    sprites.insert(me.mj(k).Sprite);
  }
  EXPECT_EQ(sprites.size(), 6u);
  EXPECT_EQ(me.HandStart, 10);
  EXPECT_EQ(me.MeldEnd, 9);
  EXPECT_EQ(t.LocalHand(), (std::vector<int>{0x81, 0x82, 0x83, 0x41, 0x42, 0x43, 0x29, 0x11}));
  ExpectConsistent(c, "dragon sets");
}

TEST(DragonSets, AnotherSeatsSetShowsTheThreeDragons) {
  PlayTable t;
  Started(t);
  auto& c = t.c();
  t.Feed(8, 1, {1, 0, 0, 0});
  auto& s = t.seat(1);
  EXPECT_EQ(s.HandCount, 10);
  EXPECT_EQ(s.HandStart, 7);
  for (int k = 0; k <= 2; ++k) {
    EXPECT_EQ(s.mj(2 + k).typ, 3);
    EXPECT_EQ(t.sprite(s.mj(2 + k).Sprite).picture.id, 201 + 36 + 4 + k);
  }
  // The hidden tiles keep the seat's standing back after the sort.
  EXPECT_EQ(t.sprite(s.mj(7).Sprite).picture.id, 201 + 36 + 7);
  ExpectConsistent(c, "dragon set by rel 1");
}

protocol::Record Reveal(int rel, std::array<int, 4> v) {
  return ClientHarness::ServerRecord(15, kSeatBit[static_cast<std::size_t>(rel)], v);
}

TEST(Reveal, HandsAreDrawnOnlyWhenAllThreeSeatsAreEmpty) {
  PlayTable t;
  Started(t);
  auto& c = t.c();
  for (int rel = 1; rel <= 3; ++rel) t.seat(rel).HandCount = 4;
  auto r = Reveal(1, {0x21, 0x22, 0x823, 0x24});
  r[16] = 0x31;  // two bird tiles
  r[17] = 0x32;
  ASSERT_FALSE(Deliver(t.h, r));
  EXPECT_EQ(t.seat(1).HandCount, 1);  // the marked value went to the second list
  EXPECT_EQ(c.hand.RevealExtraCount(1), 1);
  EXPECT_EQ(c.hand.RevealExtra(1)(0), 0x23);
  EXPECT_EQ(c.hand.BirdCount, 2);
  EXPECT_EQ(c.hand.BirdSprite(0), c.table.WallTail);
  ASSERT_FALSE(Deliver(t.h, Reveal(1, {0x25, 0x26, 0, 0})));
  EXPECT_EQ(t.seat(1).HandCount, 0);
  EXPECT_EQ(c.hand.RevealTiles(1)(3), 0x25);
  EXPECT_EQ(c.hand.RevealTiles(1)(4), 0);  // the seat had no tile left for 0x26
  ASSERT_FALSE(Deliver(t.h, Reveal(2, {0x41, 0x42, 0x43, 0x44})));
  const int first = t.seat(1).mj(t.seat(1).HandStart).Sprite;
  EXPECT_NE(t.sprite(first).picture.id, 201 + TilePictureIndex(1, 0x21));
  ASSERT_FALSE(Deliver(t.h, Reveal(3, {0x11, 0x12, 0x13, 0x14})));
  EXPECT_EQ(t.sprite(first).picture.id, 201 + TilePictureIndex(1, 0x21));
  const auto& s3 = t.seat(3);
  EXPECT_EQ(t.sprite(s3.mj(s3.HandStart + 3).Sprite).picture.id, 201 + TilePictureIndex(3, 0x14));
  // The first reveal's birds are kept; a later reveal does not replace them.
  EXPECT_EQ(c.hand.BirdTile(0), 0x31);
  // Messages about the local seat change nothing.
  const short before = t.seat(0).HandCount;
  ASSERT_FALSE(Deliver(t.h, Reveal(0, {0x11, 0, 0, 0})));
  EXPECT_EQ(t.seat(0).HandCount, before);
}

TEST(Result, RobotsLearnExposedTilesAndUnknownOperationsChangeNothing) {
  PlayTable t;
  Started(t);
  auto& c = t.c();
  c.session.RobotMode = true;
  t.Discard(3, 0x29);
  t.Result(2, op::kPung, 0x29, 0x29, 0x29);
  EXPECT_EQ(c.table.SeenCount(1)(8), 3);  // the discard and the two tiles from the hand
  const auto before = t.seat(1).HandCount;
  t.Result(1, 2, 0x11, 0x11, 0x11);
  t.Result(1, 5, 0x11, 0x11, 0x11);
  EXPECT_EQ(t.seat(1).HandCount, before);
  EXPECT_FALSE(c.mainForm.Speak(0).Visible);
}

}  // namespace
}  // namespace tallow::testing
