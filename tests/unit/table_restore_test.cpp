// The table restore (message 40) and the spectator's handlers on one client: how laid-down
// tiles are told apart, what a restored table shows, the snapshots it refuses, and the
// spectator's differences from a player's client.
#include "hand/table_restore.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/pictures.h"
#include "base/tiles.h"
#include "seating_support.h"
#include "session/session_messages.h"

namespace tallow::testing {
namespace {

using Tiles = std::vector<short>;

TEST(SplitLaidDown, TellsSetsAndLoneTilesApart) {
  struct Case {
    const char* what;
    Tiles tiles;
    int wild, expected;
    std::vector<Tiles> sets;
    Tiles lone;
  } cases[] = {
      {"中 and the wild tile among a chow",
       {0x23, 0x42, 0x15, 0x41, 0x43},
       0x23,
       1,
       {{0x41, 0x42, 0x43}},
       {0x23, 0x15}},
      {"a kong of bamboo 3", {0x23, 0x23, 0x23, 0x23}, -1, 1, {{0x23, 0x23, 0x23, 0x23}}, {}},
      {"two equal chows",
       {0x43, 0x41, 0x42, 0x41, 0x42, 0x43},
       -1,
       2,
       {{0x41, 0x42, 0x43}, {0x41, 0x42, 0x43}},
       {}},
      {"a pung beside a chow of its tile",
       {0x45, 0x45, 0x45, 0x44, 0x45, 0x46},
       -1,
       2,
       {{0x44, 0x45, 0x46}, {0x45, 0x45, 0x45}},
       {}},
      {"a 喜 and a 中 laid alone", {0x15, 0x16, 0x17, 0x15}, 0x29, 1, {{0x15, 0x16, 0x17}}, {0x15}},
      {"a pung of 中", {0x15, 0x15, 0x15}, 0x29, 1, {{0x15, 0x15, 0x15}}, {}},
      {"three pungs or three chows: pungs",
       {0x47, 0x46, 0x45, 0x45, 0x46, 0x47, 0x45, 0x46, 0x47},
       -1,
       3,
       {{0x45, 0x45, 0x45}, {0x46, 0x46, 0x46}, {0x47, 0x47, 0x47}},
       {}},
      {"tiles that make no sets",
       {0x21, 0x55, 0x88, 0x13},
       -1,
       1,
       {{0x88, 0x55, 0x21}, {0x13}},
       {}},
  };
  for (const auto& k : cases) {
    const LaidDownTiles got = SplitLaidDown(k.tiles, k.wild, k.expected);
    EXPECT_EQ(got.sets, k.sets) << k.what;
    EXPECT_EQ(got.lone, k.lone) << k.what;
  }
  Tiles t = {0x15, 0x21, 0x89, 0x41, 0x81, 0x29};
  SortTiles(t, 5);  // the last one stays where it is
  EXPECT_EQ(t, (Tiles{0x81, 0x89, 0x41, 0x21, 0x15, 0x29}));
}

// A snapshot of one seat: pool size, head draws, tail value, laid-down and concealed tiles.
protocol::Record Snapshot(int seatBit, int pool, int drawn, int tail, const Tiles& laid,
                          const Tiles& concealed, int concealedKind = 0x10) {
  auto r = ClientHarness::ServerRecord(40, seatBit, {0, drawn, 0, tail});
  r[protocol::off::kExtra] = static_cast<std::uint8_t>(pool);
  std::size_t i = 16;
  for (short t : laid) {
    r[i++] = 0x20;
    r[i++] = static_cast<std::uint8_t>(t);
  }
  for (short t : concealed) {
    if (i >= 64) break;
    r[i++] = static_cast<std::uint8_t>(concealedKind);
    r[i++] = static_cast<std::uint8_t>(t);
  }
  return r;
}

// A client that logged in and was sent the table-cleared message and the four profiles: the
// watched (or own) seat is seat bit 2, seat bit 1 deals, the wall starts at sprite 4.
struct Restored : ::testing::Test {
  explicit Restored(const char* line = "bob$pw$127.0.0.1$6000$Room$4242") : h(line) {}
  void SetUp() override {
    h.StartAndLogIn();
    if (c().table.Spectating == 0) {
      for (int q = 0; q <= 3; ++q)
        c().table.custom(q).SeatBit = static_cast<std::uint8_t>(kBits[q]);
    }
    // Dealer rel 1 seen from seat bit 2; v0 = 2, v1 = 0 put the wall's start at sprite 4.
    Feed(ClientHarness::ServerRecord(41, 1, {2, 0, 0x25, 0x24}));
    if (c().table.Spectating == 0) return;
    const int users[] = {4242, 1, 3, 4};
    for (int q = 0; q <= 3; ++q) {
      ProfileFields p;
      p.seatMask = kBits[q];
      p.account = "p";
      p.account += std::to_string(q);  // GCC 12 warns falsely (-Wrestrict) on "p" + string
      p.userId = static_cast<std::uint64_t>(users[q]);
      Feed(Profile(p));
    }
  }
  void Feed(const protocol::Record& r) {
    auto ended = Deliver(h, r);
    ASSERT_FALSE(ended) << ended->reason;
  }
  // Four snapshots of a hand 67 tiles into the wall with 2 replacement draws (69 tiles out: 55
  // in hands and sets, 14 in the pools): the watched seat shows a pung and a lone 中, the dealer
  // a kong and a 喜.
  void RestoreHand(int tail = 117) {
    Feed(Snapshot(2, 5, 67, tail, {0x81, 0x81, 0x81, 0x15},
                  {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x41}));
    Feed(Snapshot(1, 4, 67, tail, {0x23, 0x23, 0x23, 0x23, 0x15, 0x16, 0x17}, Tiles(8, 0)));
    Feed(Snapshot(8, 3, 67, tail, {}, Tiles(13, 0)));
    Feed(Snapshot(4, 2, 67, tail, {}, Tiles(13, 0)));
  }
  Client& c() { return h.c(); }
  int Picture(int sprite) { return c().mainForm.MJ_Image(sprite).picture.id; }
  int TilePicture(int index) { return ImageId(c().images.TileImageIds(index)); }

  static constexpr int kBits[] = {2, 1, 8, 4};
  ClientHarness h;
};

TEST_F(Restored, ASpectatorSeesTheHandRebuiltAndFaceDown) {
  EXPECT_EQ(c().table.WallHead, 4);
  EXPECT_EQ(c().spectator.TableRestored, 0);
  RestoreHand();
  const auto& t = c().table;
  EXPECT_NE(c().spectator.TableRestored, 0);
  EXPECT_NE(c().session.TableActive, 0);
  EXPECT_EQ(t.WallHead, 4 + 67);
  EXPECT_EQ(t.WallTail, 0);  // two tail draws: the upper tile of the second stack before 4
  const int rows[][5] = {    // rel, sets, concealed, red kongs, pool
                         {0, 1, 10, 1, 5},
                         {1, 2, 8, 0, 4},
                         {2, 0, 13, 0, 3},
                         {3, 0, 13, 0, 2}};
  for (const auto& r : rows) {
    const SeatRecord& s = t.custom(r[0]);
    EXPECT_EQ(s.HandStart, 4 + 3 * r[1]) << r[0];
    EXPECT_EQ(s.MeldEnd, (r[0] == 0 ? 3 : 4) + 3 * r[1]) << r[0];
    EXPECT_EQ(s.HandCount, r[2]) << r[0];
    EXPECT_EQ(s.RedKongCount, r[3]) << r[0];
    for (int k = s.HandStart; k < s.HandStart + s.HandCount; ++k) {
      EXPECT_EQ(Picture(s.mj(k).Sprite), TilePicture(36 * r[0] + 7)) << r[0] << " " << k;
    }
  }
  EXPECT_EQ(t.custom(0).mj(1).typ, 3);  // the pung
  EXPECT_EQ(t.custom(0).mj(7).value, 0x21);
  EXPECT_EQ(c().hand.RightPoolCount, 2);
  // The indicator lies face up on the tail's next tile; the wild tile fills the 混儿 frame.
  EXPECT_EQ(c().hand.IndicatorSprite, t.WallTail);
  EXPECT_EQ(Picture(t.WallTail), TilePicture(TilePictureIndex(t.WallTail / 30, 0x24)));
  EXPECT_TRUE(c().mainForm.JK_Image.Visible);
  // Every tile shows: the 51 left in the wall, and the 69 drawn in the hands, sets and pools.
  for (int i = 0; i <= 119; ++i) EXPECT_TRUE(c().mainForm.MJ_Image(i).Visible) << i;
}

TEST_F(Restored, SnapshotsOutsideARestoreChangeNothing) {
  Feed(Snapshot(3, 9, 67, 117, {0x41}, {}));           // no seat of the table
  Feed(Snapshot(2, 1, 67, 117, {}, Tiles(20, 0x21)));  // more concealed tiles than a hand holds
  EXPECT_EQ(c().table.custom(0).HandCount, 14);
  Feed(Snapshot(2, 1, 67, 117, {}, {0x21}));  // the same seat again
  EXPECT_EQ(c().table.custom(0).HandCount, 14);
  EXPECT_EQ(c().hand.SeatsNamed, 1);
  RestoreHand();  // three of these count; the fourth completes the restore
  EXPECT_NE(c().spectator.TableRestored, 0);
  const int before = c().hand.SnapshotSprites;
  Feed(Snapshot(1, 4, 67, 117, {}, {0x21}));  // a fifth
  EXPECT_EQ(c().hand.SnapshotSprites, before);
  EXPECT_EQ(c().table.custom(1).HandCount, 8);
}

// Laid tiles that make no sets are laid three to a set as they sort, the last "set" one or two
// tiles (found by fuzzing: its kind was read from a second tile it does not have).
TEST_F(Restored, LaidTilesThatMakeNoSetsAreLaidAsTheySort) {
  Feed(Snapshot(2, 5, 67, 117, {0x41, 0x45, 0x49, 0x89}, Tiles(10, 0x21)));
  std::vector<short> laid;
  for (int k = 0; k <= 20; ++k) {
    if (c().table.custom(0).mj(k).value >= 0x41) laid.push_back(c().table.custom(0).mj(k).value);
  }
  std::sort(laid.begin(), laid.end());
  EXPECT_EQ(laid, (Tiles{0x41, 0x45, 0x49, 0x89}));
}

TEST_F(Restored, TheTailWrapsPastTheFirstSprite) {
  // Five tail draws: the tail value 0 moves the tail back by three from sprite 2 (the start 4
  // plus 118) past sprite 0 to sprite 119, the lower tile of the third stack before the start.
  RestoreHand(0);
  EXPECT_EQ(c().table.WallTail, 119);
  EXPECT_EQ(c().hand.IndicatorSprite, 119);
}

TEST_F(Restored, TheSpectatorPoolsDiscardsAndTakesAClaimedOneBack) {
  RestoreHand();
  auto& t = c().table;
  const short x = t.custom(3).DiscardX, y = t.custom(3).DiscardY;
  Feed(ClientHarness::ServerRecord(2, 4, {0, 0, 0, 0x45}));  // rel 3 discards: pooled at once
  EXPECT_NE(t.custom(3).DiscardY, y);
  EXPECT_EQ(c().hand.RightPoolCount, 3);
  Feed(ClientHarness::ServerRecord(7, 8, {8, 0x45, 0x45, 0x45}));  // rel 2 pungs it
  EXPECT_EQ(t.custom(3).DiscardX, x);
  EXPECT_EQ(t.custom(3).DiscardY, y);
  EXPECT_EQ(c().hand.RightPoolCount, 2);
  EXPECT_EQ(t.custom(2).mj(4).Sprite, t.LastDiscardSprite);
  // A 中 laid alone is announced to a spectator (红中杠), and the watched seat's draw and
  // discard keep its hand face down and its values right.
  Feed(ClientHarness::ServerRecord(7, 4, {64, 0, 0, 0x15}));
  EXPECT_EQ(c().mainForm.Words.picture.id, ImageId(c().images.BannerImageIds(4)));
  Feed(ClientHarness::ServerRecord(5, 2, {0, 0, 0, 0x49}));
  Feed(ClientHarness::ServerRecord(2, 2, {0, 0, 0, 0x22}));
  const SeatRecord& me = t.custom(0);
  Tiles values;
  for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
    values.push_back(me.mj(k).value);
    EXPECT_EQ(Picture(me.mj(k).Sprite), TilePicture(7));
  }
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (Tiles{0x21, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x41, 0x49}));
}

TEST_F(Restored, TheWatchedPlayerLeavingEndsTheWatchWithItsBox) {
  auto ended = Deliver(h, Named(21, 0, "p0"));
  ASSERT_TRUE(ended);
  ASSERT_EQ(h.p.dialogs.boxes.size(), 1u);
  EXPECT_EQ(h.p.dialogs.boxes[0].text, kWatchEndedBox);
}

// A player who comes back into the hand gets the same messages: his own tiles face up, sorted,
// and the hand in play again, so that a second break is reconnected too.
struct RestoredPlayer : Restored {
  RestoredPlayer() : Restored("bob$pw$127.0.0.1$6000$Room$0$$0$$$0$$$") {}
};

TEST_F(RestoredPlayer, SeesItsOwnTilesFaceUp) {
  EXPECT_EQ(c().table.WallHead, 4);
  RestoreHand();
  const SeatRecord& me = c().table.custom(0);
  for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
    EXPECT_EQ(Picture(me.mj(k).Sprite), TilePicture(TilePictureIndex(4, me.mj(k).value)));
  }
  EXPECT_EQ(me.mj(me.HandStart).value, 0x41);  // characters sort before bamboo
  EXPECT_NE(c().session.TableActive, 0);
}

}  // namespace
}  // namespace tallow::testing
