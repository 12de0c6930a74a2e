#include <gtest/gtest.h>

#include "base/tiles.h"
#include "play/claim_options.h"
#include "play/operation_panel.h"
#include "play/tile_selection.h"
#include "play_support.h"

namespace tallow::testing {
namespace {

namespace op = protocol::op;

// A local hand of exactly these tiles (concealed from mj(4) on), sprites 0.. in order.
void GiveHand(PlayTable& t, const std::vector<int>& tiles, int start = 4) {
  auto& me = t.seat(0);
  me.HandStart = static_cast<short>(start);
  me.MeldEnd = static_cast<short>(start - 1);
  me.HandCount = static_cast<short>(tiles.size());
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    auto& e = me.mj(start + static_cast<int>(i));
    e.value = static_cast<short>(tiles[i]);
    e.typ = 1;
    e.Sprite = static_cast<short>(i);
    t.sprite(static_cast<int>(i)).Move(19 + (start + i) * 48.0, 564, 48, 78);
    SetTileSprite(t.c(), static_cast<short>(i), static_cast<short>(TilePictureIndex(4, tiles[i])));
  }
}

TEST(Offer, LightsTheOfferedButtonsAndNotesADueDiscard) {
  PlayTable t;
  auto& c = t.c();
  GiveHand(t, {0x41, 0x41, 0x41, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x81, 0x82});
  t.Offer(1 + 16 + 32);
  auto& f = c.mainForm;
  const bool lit[5] = {false, false, true, false, true};
  for (int b = 0; b <= 4; ++b) {
    EXPECT_TRUE(f.Operation(b).Visible) << b;
    EXPECT_EQ(f.Operation(b).Enabled, lit[b]) << b;
    EXPECT_EQ(f.Operation(b).picture.id, 141 + 3 * b + (lit[b] ? 1 : 0)) << b;
    EXPECT_EQ(c.table.OperationState(b), lit[b] ? 2 : 0);
  }
  EXPECT_EQ(c.table.OperationFlags, 49);
  EXPECT_EQ(c.table.MustDiscard, -1);
  EXPECT_TRUE(c.scheduler[TickScheduler::kTurnTimer].enabled);
  EXPECT_EQ(f.Number.Caption, "8");
  EXPECT_TRUE(f.Time_Img.Visible);
}

TEST(Offer, AnEmptyHandGetsButtonsButNoPanelOrTimer) {
  PlayTable t;
  auto& c = t.c();
  t.Offer(1 + 8);
  EXPECT_TRUE(c.mainForm.Operation(1).Enabled);
  EXPECT_FALSE(c.mainForm.Operation(1).Visible);
  EXPECT_FALSE(c.scheduler[TickScheduler::kTurnTimer].enabled);
  // An offer for another seat is ignored.
  c.table.OperationState.Fill(0);
  t.Feed(6, 2, {8, 0, 0, 0});
  EXPECT_EQ(c.table.OperationState(1), 0);
}

struct ChowCase {
  std::vector<int> hand;
  int tile;
  std::vector<std::pair<int, int>> pairs;  // values of each option's two tiles
};

class ChowOptions : public ::testing::TestWithParam<ChowCase> {};

TEST_P(ChowOptions, FollowTheRankOrder) {
  const ChowCase k = GetParam();
  PlayTable t;
  auto& c = t.c();
  GiveHand(t, k.hand);
  FindChowOptions(c, k.tile);
  ASSERT_EQ(c.table.ChowCount, 2 * static_cast<int>(k.pairs.size()));
  const auto& me = t.seat(0);
  for (std::size_t o = 0; o < k.pairs.size(); ++o) {
    const int a = c.table.ChowOptions(static_cast<long>(2 * o));
    const int b = c.table.ChowOptions(static_cast<long>(2 * o + 1));
    EXPECT_EQ(me.mj(a).value, k.pairs[o].first) << o;
    EXPECT_EQ(me.mj(b).value, k.pairs[o].second) << o;
    // Two tiles of one rank: the chow takes the last of them.
    if (a + 1 < me.HandStart + me.HandCount) {
      EXPECT_NE(me.mj(a + 1).value, me.mj(a).value);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ranks, ChowOptions,
    ::testing::Values(
        ChowCase{{0x23, 0x24, 0x26, 0x27, 0x81}, 0x25, {{0x23, 0x24}, {0x24, 0x26}, {0x26, 0x27}}},
        ChowCase{{0x42, 0x43, 0x44, 0x49}, 0x41, {{0x42, 0x43}}},
        ChowCase{{0x87, 0x88, 0x86, 0x11}, 0x89, {{0x87, 0x88}}},
        ChowCase{{0x43, 0x43, 0x44, 0x44, 0x46}, 0x45, {{0x43, 0x44}, {0x44, 0x46}}},
        ChowCase{{0x81, 0x82, 0x24, 0x26}, 0x43, {}}));

TEST(ChowPanel, TwoOptionsShowTwoRowsAndEitherTileSendsItsRow) {
  for (int clicked = 0; clicked <= 3; ++clicked) {
    PlayTable t;
    auto& c = t.c();
    GiveHand(t, {0x43, 0x44, 0x46, 0x81, 0x82, 0x83, 0x11, 0x11, 0x12, 0x12, 0x13, 0x13, 0x14});
    c.table.LastTile = 0x45;
    c.table.LastDiscardSprite = 100;
    t.Offer(1 + 4);
    OperationClick(c, 0);
    auto& f = c.mainForm;
    for (int j = 0; j <= 3; ++j) {
      ASSERT_TRUE(f.Chi(j).Visible) << j;
      EXPECT_DOUBLE_EQ(f.Chi(j).Left, f.Operation(1).Left + (j % 2) * 0.8 * 48);
      EXPECT_DOUBLE_EQ(f.Chi(j).Top, f.Operation(0).Top - 0.8 * (0.8 * 78) * (j / 2));
    }
    EXPECT_FALSE(f.Chi(4).Visible);
    EXPECT_EQ(c.table.TurnCountdown, 4);  // the chooser restarts the timer at half time
    EXPECT_TRUE(t.TakeSent().empty());
    ChiClick(c, clicked);
    auto sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(Op(sent[0]), op::kChow);
    const int first = clicked < 2 ? 0x43 : 0x44, second = clicked < 2 ? 0x44 : 0x46;
    EXPECT_EQ(protocol::ReadWord(sent[0], 10), protocol::ClaimTile(first));
    EXPECT_EQ(protocol::ReadWord(sent[0], 12), protocol::ClaimTile(second));
    EXPECT_EQ(protocol::ReadWord(sent[0], 14), protocol::ClaimTile(0x45));
    EXPECT_EQ(c.table.ActionSent, -1);
    // The set entries wait below the hand for the server's confirmation.
    EXPECT_EQ(t.seat(0).mj(1).value, first);
    EXPECT_EQ(t.seat(0).mj(3).Sprite, 100);
    EXPECT_EQ(t.seat(0).mj(3).typ, 2);
    for (int j = 0; j <= 5; ++j) EXPECT_FALSE(f.Chi(j).Visible);
  }
}

TEST(KongPanel, ChooserListsOneTileThenExposedThenConcealed) {
  PlayTable t;
  auto& c = t.c();
  auto& me = t.seat(0);
  // A pung of 5 dots laid down, then a hand with its fourth, three 7 bamboo, four 2 dots.
  for (int k = 1; k <= 3; ++k) me.mj(k) = TileEntry{3, 0x85, static_cast<short>(100 + k), 0};
  GiveHand(t, {0x82, 0x82, 0x82, 0x82, 0x85, 0x27, 0x27, 0x27, 0x11, 0x12}, 7);
  c.table.LastTile = 0x27;
  c.table.OperationFlags = 16 + 32 + 64;
  c.table.OperationState(2) = 2;
  c.table.PanelState = 0;
  ChooseKong(c);
  ASSERT_EQ(c.table.KongCount, 3);
  EXPECT_EQ(c.table.KongKind, 2);
  EXPECT_EQ(me.mj(c.table.KongOptions(0)).value, 0x85);
  EXPECT_EQ(me.mj(c.table.KongOptions(1)).value, 0x27);
  EXPECT_EQ(me.mj(c.table.KongOptions(2)).value, 0x82);
  auto& f = c.mainForm;
  for (int j = 0; j <= 2; ++j) {
    EXPECT_TRUE(f.Gang(j).Visible);
    EXPECT_DOUBLE_EQ(f.Gang(j).Left, f.Operation(3).Left);
    EXPECT_DOUBLE_EQ(f.Gang(j).Top, f.Operation(0).Top - 0.8 * f.Gang(j).Height * j);
  }
  EXPECT_EQ(f.Gang(0).picture.id, 201 + TilePictureIndex(4, 0x85));
  EXPECT_FALSE(f.Gang(3).Visible);
  EXPECT_TRUE(t.TakeSent().empty());
  // Choosing the exposed kong sends it and keeps it as the option the result lays down.
  GangClick(c, 1);
  auto sent = t.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(Op(sent[0]), op::kKong);
  EXPECT_EQ(protocol::ReadWord(sent[0], 14), protocol::ClaimTile(0x27));
  EXPECT_EQ(me.mj(c.table.KongOptions(0)).value, 0x27);
  EXPECT_EQ(me.mj(6).typ, 4);
}

TEST(KongPanel, OneOptionIsSentAtOnceByItsKind) {
  struct Case {
    int flags;
    std::vector<int> hand;
    int lastTile, op;
  };
  const Case cases[] = {
      {16, {0x27, 0x27, 0x27, 0x11}, 0x27, op::kKong},
      {16 + 32, {0x11, 0x82, 0x82, 0x82, 0x82}, 0, op::kConcealedKong},
      // On one's own turn LastTile is an earlier discard: three of it make no exposed kong.
      {16 + 32, {0x27, 0x27, 0x27, 0x82, 0x82, 0x82, 0x82, 0x11}, 0x27, op::kConcealedKong},
  };
  for (const auto& k : cases) {
    PlayTable t;
    auto& c = t.c();
    GiveHand(t, k.hand);
    c.table.LastTile = static_cast<short>(k.lastTile);
    t.Offer(1 + k.flags);
    OperationClick(c, 2);
    auto sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 1u) << k.flags;
    EXPECT_EQ(Op(sent[0]), k.op);
    EXPECT_FALSE(c.mainForm.Operation(2).Visible);
    EXPECT_EQ(c.table.PanelState, 1);
  }
}

TEST(Panel, WinIsSentEvenAfterAnActionAndLeavesActionSent) {
  PlayTable t;
  auto& c = t.c();
  GiveHand(t, {0x11, 0x11});
  t.Offer(1 + 128);
  c.table.ActionSent = -1;
  OperationClick(c, 3);
  auto sent = t.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(Code(sent[0]), 7);
  EXPECT_EQ(Op(sent[0]), op::kWin);
  EXPECT_EQ(sent[0][protocol::off::kSeatMask], 1);
  EXPECT_EQ(c.table.ActionSent, -1);
  c.table.ActionSent = 0;
  SendWin(c);
  EXPECT_EQ(c.table.ActionSent, 0);
}

TEST(Panel, PassOnAClaimStopsTheTimerButAfterADrawTheDiscardIsStillDue) {
  struct Case {
    std::vector<int> hand;
    bool timerRuns;
  };
  for (const auto& k :
       {Case{{0x11, 0x11, 0x12, 0x13}, false}, Case{{0x11, 0x11, 0x12, 0x13, 0x14}, true}}) {
    PlayTable t;
    auto& c = t.c();
    GiveHand(t, k.hand);
    t.Offer(1 + 8);
    OperationClick(c, 4);
    auto sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(Op(sent[0]), op::kPass);
    EXPECT_EQ(c.scheduler[TickScheduler::kTurnTimer].enabled, k.timerRuns);
    EXPECT_EQ(c.table.PanelState, 1);
    // A button that was not offered, or any button after the panel was used, does nothing.
    OperationClick(c, 1);
    OperationClick(c, 0);
    EXPECT_TRUE(t.TakeSent().empty());
  }
}

TEST(Panel, AKongWithNothingToLayDownPassesAndTheDiscardStaysDue) {
  // Offered a one-tile kong for a lone 中, which the panel's kong search does not lay down.
  PlayTable t;
  auto& c = t.c();
  GiveHand(t, {0x11, 0x12, 0x13, 0x15, 0x42});
  t.Offer(1 + 16 + 64);
  OperationClick(c, 2);
  auto sent = t.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(Op(sent[0]), op::kPass);
  EXPECT_EQ(c.table.MustDiscard, -1);
  EXPECT_TRUE(c.scheduler[TickScheduler::kTurnTimer].enabled);
  for (int b = 0; b <= 4; ++b) EXPECT_FALSE(c.mainForm.Operation(b).Visible) << b;
  TileMouseDown(c, t.LocalSprite(0x42), ui::kLeftButton);
  sent = t.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(Code(sent[0]), 2);
  EXPECT_EQ(t.seat(0).HandCount, 4);
}

TEST(Panel, AChowWithNothingToLayDownPassesTheClaim) {
  PlayTable t;
  auto& c = t.c();
  GiveHand(t, {0x21, 0x29, 0x42, 0x43});
  c.table.LastTile = 0x25;
  t.Offer(1 + 4);
  OperationClick(c, 0);
  auto sent = t.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(Op(sent[0]), op::kPass);
  EXPECT_EQ(c.table.MustDiscard, 0);
  EXPECT_FALSE(c.scheduler[TickScheduler::kTurnTimer].enabled);
}

TEST(Selection, DiscardingAfterAKongOfferSendsThePassThenTheDiscard) {
  PlayTable t;
  auto& c = t.c();
  GiveHand(t, {0x11, 0x11, 0x11, 0x11, 0x42});
  t.Offer(1 + 16 + 32);
  TileMouseDown(c, t.LocalSprite(0x42), ui::kLeftButton);
  auto sent = t.TakeSent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(Code(sent[0]), 7);
  EXPECT_EQ(Op(sent[0]), op::kPass);
  EXPECT_EQ(Code(sent[1]), 2);
  EXPECT_EQ(protocol::ReadWord(sent[1], 14), protocol::DiscardTile(0x42));
  EXPECT_EQ(t.seat(0).HandCount, 4);
  EXPECT_EQ(c.table.MustDiscard, 0);
  EXPECT_EQ(c.table.LastDiscarderRel, 0);
  const auto& m = t.sprite(c.table.LastDiscardSprite);
  EXPECT_DOUBLE_EQ(m.Left, (1024 - 36) / 2.0);
  EXPECT_EQ(m.picture.id, 201 + TilePictureIndex(0, 0x42));
  for (int b = 0; b <= 4; ++b) EXPECT_FALSE(c.mainForm.Operation(b).Visible);
  EXPECT_FALSE(c.scheduler[TickScheduler::kTurnTimer].enabled);
  // No second discard while none is due.
  TileMouseDown(c, t.LocalSprite(0x11), ui::kLeftButton);
  EXPECT_TRUE(t.TakeSent().empty());
  ExpectConsistent(c, "after the discard");
}

TEST(Selection, AnyButtonDiscardsAndTheGapCloses) {
  for (int button : {ui::kLeftButton, ui::kRightButton, ui::kMiddleButton}) {
    PlayTable t;
    auto& c = t.c();
    GiveHand(t, {0x11, 0x12, 0x13, 0x14, 0x15});
    t.Offer(0);
    TileMouseDown(c, t.LocalSprite(0x12), button);
    EXPECT_EQ(t.LocalHand(), (std::vector<int>{0x11, 0x13, 0x14, 0x15})) << button;
    for (int k = 4; k < 8; ++k) {
      EXPECT_DOUBLE_EQ(t.sprite(t.seat(0).mj(k).Sprite).Left, 19 + k * 48.0);
    }
    ExpectConsistent(c, "gap closed");
  }
}

TEST(Selection, TheSecondRightClickSendsNothing) {
  PlayTable t;
  auto& c = t.c();
  GiveHand(t, {0x11, 0x11, 0x12, 0x13});
  t.Offer(1 + 8);
  TableMouseUp(c, ui::kRightButton);
  auto sent = t.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(Op(sent[0]), op::kPass);
  EXPECT_EQ(c.table.PanelState, 1);
  TableMouseUp(c, ui::kRightButton);
  TileMouseDown(c, 90, ui::kRightButton);
  EXPECT_TRUE(t.TakeSent().empty());
}

TEST(Selection, ARightClickWhileADiscardIsDueSendsNothing) {
  PlayTable t;
  auto& c = t.c();
  GiveHand(t, {0x11, 0x11, 0x12, 0x13, 0x14});
  t.Offer(1 + 128);
  TableMouseUp(c, ui::kRightButton);
  EXPECT_TRUE(t.TakeSent().empty());
  EXPECT_TRUE(c.scheduler[TickScheduler::kTurnTimer].enabled);
  EXPECT_FALSE(c.mainForm.Operation(4).Visible);
}

TEST(Selection, TheHandIgnoresClicksAfterATimeoutUntilTheNextOffer) {
  PlayTable t;
  auto& c = t.c();
  GiveHand(t, {0x11, 0x11, 0x12, 0x13, 0x14});
  t.Offer(0);
  c.table.PanelState = 3;
  TileMouseDown(c, t.LocalSprite(0x14), ui::kLeftButton);
  EXPECT_TRUE(t.TakeSent().empty());
  t.Offer(0);
  TileMouseDown(c, t.LocalSprite(0x14), ui::kLeftButton);
  EXPECT_EQ(t.TakeSent().size(), 2u);
}

TEST(Selection, HoverLiftsOneTileAtATime) {
  PlayTable t;
  auto& c = t.c();
  GiveHand(t, {0x11, 0x12, 0x13});
  TileMouseMove(c, 0);
  EXPECT_DOUBLE_EQ(t.sprite(0).Top, 554);
  EXPECT_EQ(t.sprite(0).Pointer, ui::MousePointer::Custom);
  TileMouseMove(c, 0);
  EXPECT_DOUBLE_EQ(t.sprite(0).Top, 554);
  TileMouseMove(c, 2);
  EXPECT_DOUBLE_EQ(t.sprite(0).Top, 564);
  EXPECT_DOUBLE_EQ(t.sprite(2).Top, 554);
  // A wall sprite in the band gets the default pointer; a spectator lifts nothing.
  t.sprite(50).Top = 600;
  TileMouseMove(c, 50);
  EXPECT_EQ(t.sprite(50).Pointer, ui::MousePointer::Default);
  c.table.Spectating = -1;
  TileMouseMove(c, 1);
  EXPECT_DOUBLE_EQ(t.sprite(1).Top, 564);
}

// A lifted tile stays up while the pointer is on it or in the strip it left below it, and drops
// when the pointer moves elsewhere on the table; without a hand in play, or for a spectator,
// nothing drops.
TEST(Selection, ALiftedTileDropsWhenThePointerLeavesIt) {
  struct Case {
    double x, y;
    bool drops;
    bool spectating = false, locked = true;
  };
  // The tile stands lifted at Left 211, Top 554, 48 x 78.
  const Case cases[] = {{235, 600, false},       {235, 641, false},
                        {235, 642, true},        {211, 600, true},
                        {259, 600, true},        {600, 300, true},
                        {600, 300, false, true}, {600, 300, false, false, false}};
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.x) + "," + std::to_string(k.y));
    PlayTable t;
    auto& c = t.c();
    GiveHand(t, {0x11, 0x12, 0x13});
    TileMouseMove(c, 0);
    ASSERT_DOUBLE_EQ(t.sprite(0).Top, 554);
    c.table.Spectating = k.spectating ? -1 : 0;
    c.toolbar.ToolbarLock(2) = k.locked ? -1 : 0;
    ui::InputEvent e{ui::InputKind::MouseMove, &c.mainForm.Pic1};
    e.x = k.x;
    e.y = k.y;
    c.mainForm.OnInput(e);
    EXPECT_DOUBLE_EQ(t.sprite(0).Top, k.drops ? 564 : 554);
  }
}

TEST(Input, TheTableWindowRoutesClicksToThePanel) {
  PlayTable t;
  auto& c = t.c();
  GiveHand(t, {0x11, 0x11, 0x12, 0x13});
  t.Offer(1 + 8);
  ui::InputEvent e;
  e.kind = ui::InputKind::Click;
  e.control = &c.mainForm.Operation(4);
  c.mainForm.OnInput(e);
  auto sent = t.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(Op(sent[0]), op::kPass);
}

}  // namespace
}  // namespace tallow::testing
