#include "play/auto_moves.h"

#include <gtest/gtest.h>

#include "turn_support.h"

namespace tallow::testing {
namespace {

using namespace turns;

constexpr int kChowOp = 4, kPungOp = 8, kConcealedOp = 32;
constexpr int kRed = 0x15, kEast = 0x11, kNorth = 0x14;

SentMessage Claim(int op, int tile) {
  return {7, op, protocol::ClaimTile(tile)};
}

// Lays the local hand sprites out in their row, as the hand display does.
void LayOutHand(TurnTable& t) {
  auto& me = t.c().table.custom(0);
  for (int i = me.HandStart; i < me.HandStart + me.HandCount; ++i) {
    auto& img = t.c().mainForm.MJ_Image(me.mj(i).Sprite);
    img.Move(me.HandX + 48.0 * i, me.HandY, 48, 78);
  }
}

TEST(TimeoutMove, PassesAndThrowsTheLastTileWhenADiscardIsDue) {
  struct Case {
    const char* name;
    std::vector<int> hand;
    int offer;
    bool alreadyAnswered;
    std::vector<SentMessage> sent;
  };
  const Case cases[] = {
      {"ignored pung on another's discard", {0x81, 0x82, 0x85, 0x85}, 1 + 8, false, {Pass()}},
      {"ignored own draw", {0x81, 0x82, 0x83, 0x45, kEast}, 1, false, {Pass(), Discard(kEast)}},
      {"passed with the button, discard still due",
       {0x81, 0x82, 0x83, 0x45, kEast},
       1 + 16 + 32,
       true,
       {Discard(kEast)}},
  };
  for (const auto& k : cases) {
    TurnTable t;
    t.SetHand(k.hand);
    LayOutHand(t);
    t.Offer(k.offer);
    if (k.alreadyAnswered) t.c().table.ActionSent = -1;
    t.Seconds(9);
    EXPECT_EQ(t.Sent(), k.sent) << k.name;
    auto& tb = t.c().table;
    const bool discarded = k.sent.back().code == 2;
    EXPECT_EQ(tb.custom(0).HandCount, static_cast<int>(k.hand.size()) - (discarded ? 1 : 0))
        << k.name;
    EXPECT_EQ(tb.ActionSent, -1) << k.name;
    if (!discarded) continue;
    // The thrown tile lies face up in the middle of the table at the pool size.
    const int sprite = 40 + static_cast<int>(k.hand.size()) - 1;
    EXPECT_EQ(tb.LastDiscardSprite, sprite);
    EXPECT_EQ(tb.LastDiscarderRel, 0);
    EXPECT_EQ(tb.MustDiscard, 0);
    const auto& img = t.c().mainForm.MJ_Image(sprite);
    const auto& pic = t.c().mainForm.Pic1;
    EXPECT_EQ(img.Width, 36);
    EXPECT_EQ(img.Height, 50);
    EXPECT_DOUBLE_EQ(img.Left, (pic.Width - 36) / 2);
    EXPECT_DOUBLE_EQ(img.Top, (pic.Height - 50) / 2);
    EXPECT_TRUE(img.Visible);
  }
}

TEST(AutoPlayTurn, TakesAWinAloneAndShowsTheTileAtTheHandEnd) {
  TurnTable t;
  t->session.RobotMode = true;
  t.SetHand({0x85, 0x85, 0x86, 0x87});
  LayOutHand(t);
  t->table.LastTile = 0x85;
  t->table.LastDiscardSprite = 90;
  t.Offer(1 + 8 + 128);
  t.Seconds(9);
  EXPECT_EQ(t.Sent(), std::vector<SentMessage>{Win()});
  const auto& img = t->mainForm.MJ_Image(90);
  EXPECT_DOUBLE_EQ(img.Left, t->mainForm.MJ_Image(43).Left + 48);
  EXPECT_DOUBLE_EQ(img.Top, 600);
  EXPECT_EQ(img.Width, 48);
  EXPECT_EQ(t->table.custom(0).HandCount, 4);
}

TEST(AutoPlayTurn, ClaimsOnlyWhatTheEvaluationFavours) {
  struct Case {
    const char* name;
    std::vector<int> hand;
    int lastTile;
    int offer;
    std::vector<SentMessage> sent;
  };
  const Case cases[] = {
      {"pung of a dragon pair", {kRed, kRed, 0x89, 0x21}, kRed, 1 + 8, {Claim(kPungOp, kRed)}},
      {"pung that breaks a run", {0x84, 0x85, 0x85, 0x86}, 0x85, 1 + 8, {Pass()}},
      {"chow completing a run", {0x42, 0x43, kRed, kRed}, 0x41, 1 + 4, {Claim(kChowOp, 0x41)}},
      {"chow that only moves a run", {0x42, 0x43, 0x44, kRed}, 0x41, 1 + 4, {Pass()}},
      {"pung taken, chow not weighed",
       {0x41, 0x41, kRed, kRed},
       0x41,
       1 + 4 + 8,
       {Claim(kPungOp, 0x41)}},
  };
  for (const auto& k : cases) {
    TurnTable t;
    t->session.RobotMode = true;
    t->table.TurnSeconds = 1;
    t.SetHand(k.hand);
    LayOutHand(t);
    t->table.LastTile = static_cast<short>(k.lastTile);
    t->table.LastDiscardSprite = 90;
    t.Offer(k.offer);
    t.Seconds(1);
    EXPECT_TRUE(t.Sent().empty()) << k.name;
    t.Seconds(1);
    EXPECT_EQ(t.Sent(), k.sent) << k.name;
  }
}

TEST(AutoPlayTurn, DiscardsTheChosenTileAndClosesTheHand) {
  TurnTable t;
  t->session.RobotMode = true;
  t.SetHand({0x81, 0x82, 0x83, 0x87, 0x88, 0x89, kNorth, kEast});
  LayOutHand(t);
  t.Offer(1);
  t.Seconds(9);
  EXPECT_EQ(t.Sent(), (std::vector<SentMessage>{Pass(), Discard(kNorth)}));
  const auto& me = t->table.custom(0);
  EXPECT_EQ(me.HandCount, 7);
  EXPECT_EQ(t->table.LastDiscardSprite, 46);
  EXPECT_EQ(me.mj(10).value, kEast);
  EXPECT_EQ(me.mj(10).Sprite, 47);
  EXPECT_DOUBLE_EQ(t->mainForm.MJ_Image(47).Left, 100 + 48 * 10);
  const auto& thrown = t->mainForm.MJ_Image(46);
  EXPECT_DOUBLE_EQ(thrown.Left, (t->mainForm.Pic1.Width - 36) / 2);
  EXPECT_EQ(thrown.Height, 50);
}

TEST(AutoPlayTurn, KongsOnlyWhatCanBeLaidDown) {
  // Offers of a kong the robot does not lay down: the turn goes on with the pass and a discard.
  struct Case {
    const char* name;
    short wild, lastTile;
    std::vector<int> hand;
  };
  const Case passes[] = {
      {"a wild tile with a kong offer", 0x25, 0, {0x81, 0x82, 0x83, 0x87, 0x88, 0x89, 0x25, kEast}},
      // Found by the robot's own search but by no kong search of the panel.
      {"red dragons", -1, 0, {0x81, 0x82, 0x83, 0x85, 0x85, kRed, kRed, kRed}},
      // The one-tile kong offer brings the kong bit, but on its own turn there is no discard to
      // take: three tiles of an earlier discard are no exposed kong.
      {"three of an earlier discard", 0x25, 0x83, {0x83, 0x83, 0x83, 0x25, 0x25, 0x41, 0x42, 0x43}},
  };
  for (const auto& k : passes) {
    TurnTable t;
    t->session.RobotMode = true;
    t->table.WildTile = k.wild;
    t->table.LastTile = k.lastTile;
    t.SetHand(k.hand);
    t.Offer(1 + 16 + 64);
    t.Seconds(9);
    const auto sent = t.Sent();
    ASSERT_EQ(sent.size(), 2u) << k.name;
    EXPECT_EQ(sent[0], Pass()) << k.name;
    EXPECT_EQ(sent[1].code, 2) << k.name;
  }
  TurnTable t;
  t->session.RobotMode = true;
  t.SetHand(
      {0x81, 0x81, 0x81, 0x81, 0x82, 0x83, 0x84, 0x45, 0x46, 0x47, kEast, kEast, kEast, 0x25});
  t.Offer(1 + 16 + 32);
  t.Seconds(9);
  EXPECT_EQ(t.Sent(), std::vector<SentMessage>{Claim(kConcealedOp, 0x81)});
}

TEST(AutoKongSearch, OrdersItsOptionsAndFlagsALoneWildTile) {
  struct Case {
    const char* name;
    std::vector<int> hand;
    int flags;
    short wild;
    bool pung;  // an exposed pung of characters 3 at mj(1..3)
    bool expected;
    std::vector<short> options;
  };
  const std::vector<int> plain = {0x81, 0x82, 0x83, 0x87, 0x88};
  auto with = [&](std::initializer_list<int> more) {
    auto h = plain;
    h.insert(h.end(), more);
    return h;
  };
  const Case cases[] = {
      {"lone wild tile", with({0x25}), 16 + 64, 0x25, false, true, {9}},
      {"two wild tiles", with({0x25, 0x25}), 16 + 64, 0x25, false, false, {9}},
      {"red dragon first", with({0x25, kRed}), 16 + 64, 0x25, false, false, {10, 9}},
      {"onto an exposed pung", with({0x43, 0x25}), 16 + 64, 0x25, true, false, {9, 10}},
      {"exposed kong of the discard",
       {0x81, 0x82, 0x83, 0x87, 0x89, 0x89, 0x89},
       16,
       0x25,
       false,
       false,
       {8}},
      {"no exposed kong on one's own turn", with({0x89, 0x89, 0x89}), 16, 0x25, false, false, {}},
      {"concealed kongs before the wild tile",
       with({0x25, 0x11, 0x11, 0x11, 0x11}),
       16 + 32 + 64,
       0x25,
       false,
       false,
       {10, 9}},
      {"no wild tile in this hand", with({0x25}), 16 + 64, -1, false, false, {}},
      {"fewer than six tiles", {0x25, 0x81}, 16 + 64, 0x25, false, false, {}},
  };
  for (const auto& k : cases) {
    TurnTable t;
    auto& tb = t->table;
    tb.WildTile = k.wild;
    tb.LastTile = 0x89;
    tb.OperationFlags = static_cast<short>(k.flags);
    tb.KongOptions.Fill(-7);
    t.SetHand(k.hand);
    if (k.pung) {
      auto& me = tb.custom(0);
      for (int i = 1; i <= 3; ++i) me.mj(i) = {3, 0x43, -1, 0};
      me.MeldEnd = 6;
    }
    EXPECT_EQ(AutoKongSearch(t.c()), k.expected) << k.name;
    for (std::size_t n = 0; n < k.options.size(); ++n) {
      EXPECT_EQ(tb.KongOptions(static_cast<long>(n)), k.options[n]) << k.name << " " << n;
    }
    EXPECT_EQ(tb.KongOptions(static_cast<long>(k.options.size())), -7) << k.name;
  }
}

}  // namespace
}  // namespace tallow::testing
