#include "core/hand.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "protocol/record.h"
#include "support/tile_notation.h"
#include "testing/wall_builder.h"

namespace tallow::server {
namespace {

namespace op = protocol::op;
using tallow::testing::T;
using tallow::testing::Tiles;

struct Sent {
  int seat;
  Record rec;
  int type() const { return rec[3]; }
  int mask() const { return rec[6]; }
  int v(int i) const { return rec[9 + 2 * i]; }
};

// One hand with a chosen deal; the dealer is seat 0.
class HandTest : public ::testing::Test {
 protected:
  void Deal(std::array<std::vector<Tile>, 4> hands, Tile extra, std::vector<Tile> draws = {},
            std::vector<Tile> tails = {}, Tile indicator = 0) {
    auto wall = testing::BuildWall(hands, extra, draws, tails);
    if (!wall) throw std::invalid_argument("the deal uses a kind more than four times");
    HandOptions o;
    o.stake = 1;
    o.actLimitMs = 1000;
    o.presetWall = wall;
    o.presetIndicator = indicator;
    hand_ = std::make_unique<Hand>(0, rng_, o, std::array<std::int64_t, 4>{1000, 1000, 1000, 1000},
                                   [this](int s, const Record& r) {
                                     sent_.push_back({s, r});
                                   });
    hand_->Start(now_);
  }

  // Messages of one type that reached a seat since the mark.
  std::vector<Sent> To(int seat, int type) const {
    std::vector<Sent> out;
    for (std::size_t i = mark_; i < sent_.size(); ++i) {
      if (sent_[i].seat == seat && sent_[i].type() == type) out.push_back(sent_[i]);
    }
    return out;
  }
  void Mark() { mark_ = sent_.size(); }

  int LastOffer(int seat) const {
    for (auto it = sent_.rbegin(); it != sent_.rend(); ++it) {
      if (it->seat == seat && it->type() == 6) return it->v(0);
    }
    return -1;
  }

  // Everyone with an open claim offer passes.
  void PassAll() {
    for (int round = 0; round < 3 && hand_->phase() != Phase::Discard && !hand_->Over(); ++round) {
      for (int s = 0; s < 4; ++s) {
        if (hand_->offer(s) != 0) hand_->Operate(s, op::kPass, 0, 0, 0, now_);
      }
    }
  }

  // The seat on turn throws its newest tile (the last concealed one when it drew nothing).
  void ThrowLast() {
    const int s = hand_->turn();
    const auto& c = hand_->seat(s).concealed;
    ASSERT_TRUE(hand_->Discard(s, c.back(), now_));
  }

  Rng rng_{1};
  std::int64_t now_ = 0;
  std::vector<Sent> sent_;
  std::size_t mark_ = 0;
  std::unique_ptr<Hand> hand_;
};

// Dealer: no shape; seat 1 can chow 5d, seat 2 pung it, seat 3 wins on it.
const std::array<std::vector<Tile>, 4> kClaims = {
    Tiles("123b 456b 789b 99c 77c"), Tiles("46d 11c 33c 44b 66b ZZ F"),
    Tiles("55d 66c 88c 11b 99b 33b F"), Tiles("222c 333d 789d 111d 5d")};

TEST_F(HandTest, DealGivesEachSeatOnlyItsOwnTiles) {
  Deal(kClaims, T("5d"));
  for (int s = 0; s < 4; ++s) {
    // Three rounds of four tiles for each of the four seats, then the single tiles.
    EXPECT_EQ(To(s, 1).size(), 12u);
    EXPECT_EQ(To(s, 5).size(), 5u);
    for (const auto& m : To(s, 1)) {
      const bool own = m.mask() == (1 << s);
      for (int i = 0; i < 4; ++i) EXPECT_EQ(m.v(i) != 0, own);
    }
    EXPECT_EQ(To(s, 4).size(), 1u);
    EXPECT_EQ(To(s, 14).size(), 1u);
  }
  EXPECT_EQ(hand_->seat(0).concealed.size(), 14u);
  EXPECT_EQ(hand_->seat(3).concealed.size(), 13u);
  EXPECT_EQ(hand_->wall().HeadDrawn(), 53);
  // Only the dealer gets an offer: pass, nothing else.
  EXPECT_EQ(LastOffer(0), op::kPass);
  for (int s = 1; s < 4; ++s) EXPECT_TRUE(To(s, 6).empty());
}

struct PriorityCase {
  int seat1, seat2, seat3;  // replies
  int expectWinner;         // -1 none
  int expectClaimer;        // seat whose set is laid, -1 none
  int expectOp;
};

class ClaimPriority : public HandTest, public ::testing::WithParamInterface<PriorityCase> {};

TEST_P(ClaimPriority, HighestClaimWins) {
  const auto& c = GetParam();
  Deal(kClaims, T("5d"));
  ASSERT_TRUE(hand_->Discard(0, T("5d"), now_));
  EXPECT_EQ(LastOffer(1), op::kPass | op::kChow);
  EXPECT_EQ(LastOffer(2), op::kPass | op::kPung);
  EXPECT_EQ(LastOffer(3), op::kPass | op::kWin);
  Mark();
  // Replies arrive in reverse turn order; nothing is decided before the last one.
  EXPECT_TRUE(hand_->Operate(3, c.seat3, 0, 0, 0, now_));
  EXPECT_TRUE(hand_->Operate(2, c.seat2, 0, 0, 0, now_));
  EXPECT_EQ(hand_->phase(), Phase::Claims);
  EXPECT_TRUE(hand_->Operate(1, c.seat1, T("4d"), T("6d"), 0, now_));
  if (c.expectWinner >= 0) {
    EXPECT_TRUE(hand_->Over());
    EXPECT_EQ(hand_->winner(), c.expectWinner);
    return;
  }
  if (c.expectClaimer >= 0) {
    const auto results = To(0, 7);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].mask(), 1 << c.expectClaimer);
    EXPECT_EQ(results[0].v(0), c.expectOp);
    EXPECT_EQ(results[0].v(3), T("5d"));
    EXPECT_EQ(hand_->turn(), c.expectClaimer);
    EXPECT_TRUE(hand_->seat(0).pool.empty());
    // The claimer must now discard: a fresh offer with the pass bit.
    EXPECT_EQ(LastOffer(c.expectClaimer) & op::kPass, op::kPass);
    EXPECT_EQ(hand_->seat(c.expectClaimer).concealed.size(), 11u);
    return;
  }
  // Nobody claimed: the next seat drew.
  EXPECT_EQ(To(1, 5).size(), 1u);
  EXPECT_EQ(hand_->turn(), 1);
  EXPECT_EQ(hand_->seat(0).pool.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClaimPriority,
    ::testing::Values(PriorityCase{op::kChow, op::kPung, op::kWin, 3, -1, 0},
                      PriorityCase{op::kChow, op::kPung, op::kPass, -1, 2, op::kPung},
                      PriorityCase{op::kChow, op::kPass, op::kPass, -1, 1, op::kChow},
                      PriorityCase{op::kPass, op::kPass, op::kPass, -1, -1, 0}));

TEST_F(HandTest, TwoWinnersFirstInTurnOrderTakesIt) {
  Deal({Tiles("123b 456b 789b 99c 77c"), Tiles("46d 11c 33c 44b 66b ZZ F"),
        Tiles("123c 456c 789c 11b 55d"), Tiles("222c 333d 789d 111d 5d")},
       T("5d"));
  ASSERT_TRUE(hand_->Discard(0, T("5d"), now_));
  EXPECT_TRUE(hand_->Operate(3, op::kWin, 0, 0, 0, now_));
  EXPECT_TRUE(hand_->Operate(2, op::kWin, 0, 0, 0, now_));
  EXPECT_TRUE(hand_->Operate(1, op::kPass, 0, 0, 0, now_));
  ASSERT_TRUE(hand_->Over());
  EXPECT_EQ(hand_->winner(), 2);
  const auto& st = hand_->settlement();
  ASSERT_TRUE(st.has_value());
  EXPECT_LT(st->handScore[0], 0);  // the discarder pays for everyone
  EXPECT_EQ(st->handScore[1], 0);
  EXPECT_EQ(st->handScore[3], 0);
}

TEST_F(HandTest, ChowIsOfferedToTheNextSeatOnly) {
  // Seat 2 holds 4d 6d too, but only seat 1 may chow the dealer's 5d.
  Deal({Tiles("123b 456b 789b 99c 77c"), Tiles("46d 11c 33c 44b 66b ZZ F"),
        Tiles("46d 66c 88c 11b 99b 33b F"), Tiles("222c 333d 789d 111d 2b")},
       T("5d"));
  ASSERT_TRUE(hand_->Discard(0, T("5d"), now_));
  EXPECT_EQ(LastOffer(1), op::kPass | op::kChow);
  EXPECT_EQ(LastOffer(2), -1);
}

TEST_F(HandTest, RefusesWhatIsNotAllowed) {
  Deal(kClaims, T("5d"));
  const std::size_t before = sent_.size();
  EXPECT_FALSE(hand_->Discard(1, T("4d"), now_));            // not his turn
  EXPECT_FALSE(hand_->Discard(0, T("1c"), now_));            // not in his hand
  EXPECT_FALSE(hand_->Operate(0, op::kWin, 0, 0, 0, now_));  // no win offered
  EXPECT_FALSE(hand_->Operate(0, op::kConcealedKong, 0, 0, T("1b"), now_));
  EXPECT_FALSE(hand_->Operate(2, op::kPung, 0, 0, 0, now_));  // nothing to claim yet
  EXPECT_FALSE(hand_->Operate(0, 3, 0, 0, 0, now_));
  EXPECT_EQ(sent_.size(), before);
  ASSERT_TRUE(hand_->Discard(0, T("5d"), now_));
  EXPECT_FALSE(hand_->Operate(1, op::kPung, 0, 0, 0, now_));  // offered chow only
  EXPECT_FALSE(hand_->Operate(0, op::kPass, 0, 0, 0, now_));  // the discarder
  EXPECT_TRUE(hand_->Operate(1, op::kPass, 0, 0, 0, now_));
  EXPECT_FALSE(hand_->Operate(1, op::kChow, T("4d"), T("6d"), 0, now_));  // answered already
  EXPECT_EQ(hand_->phase(), Phase::Claims);
}

TEST_F(HandTest, AChowOfNoRunCountsAsAPassAndTheTableGoesOn) {
  Deal(kClaims, T("5d"));
  ASSERT_TRUE(hand_->Discard(0, T("5d"), now_));
  Mark();
  // 4d and 7d make no run with 5d: no chow, but seat 1 has answered.
  EXPECT_TRUE(hand_->Operate(1, op::kChow, T("4d"), T("7d"), 0, now_));
  EXPECT_FALSE(hand_->Operate(1, op::kChow, T("4d"), T("6d"), 0, now_));  // answered already
  PassAll();  // the others pass too: nobody claims, and seat 1 draws without waiting
  for (int s = 0; s < 4; ++s) EXPECT_TRUE(To(s, 7).empty()) << s;
  EXPECT_EQ(hand_->phase(), Phase::Discard);
  EXPECT_EQ(hand_->turn(), 1);
}

TEST_F(HandTest, SilentSeatsArePlayedForAfterTheLimit) {
  Deal(kClaims, T("5d"));
  hand_->Tick(now_ + 999);
  EXPECT_EQ(hand_->seat(0).pool.size(), 0u);
  now_ += 1000;
  hand_->Tick(now_);
  // The dealer's newest tile is thrown for him, and the claims are passed in time.
  ASSERT_EQ(hand_->seat(0).pool.size(), 1u);
  EXPECT_EQ(hand_->seat(0).pool[0], T("5d"));
  EXPECT_EQ(hand_->phase(), Phase::Claims);
  now_ += 1000;
  hand_->Tick(now_);
  EXPECT_EQ(hand_->phase(), Phase::Discard);
  EXPECT_EQ(hand_->turn(), 1);
}

TEST_F(HandTest, SelfDrawnWinEndsWithRevealsResultsAndSettlements) {
  // The dealer's fourteenth tile completes his hand.
  Deal({Tiles("123b 456b 789b 99c 78c"), {}, {}, {}}, T("9c"));
  EXPECT_EQ(LastOffer(0), op::kPass | op::kWin);
  Mark();
  ASSERT_TRUE(hand_->Operate(0, op::kWin, 0, 0, 0, now_));
  ASSERT_TRUE(hand_->Over());
  std::vector<int> order;
  for (std::size_t i = mark_; i < sent_.size(); ++i) {
    if (sent_[i].seat == 1) order.push_back(sent_[i].type());
  }
  // Win, four reveal messages per seat of 13 or 14 tiles, four results, four settlements.
  ASSERT_GE(order.size(), 9u);
  EXPECT_EQ(order.front(), 7);
  EXPECT_EQ(std::count(order.begin(), order.end(), 15), 4 + 4 + 4 + 4);
  EXPECT_EQ(std::count(order.begin(), order.end(), 9), 4);
  EXPECT_EQ(std::count(order.begin(), order.end(), 17), 4);
  EXPECT_EQ(order.back(), 17);
  // Birds ride on the first reveal only.
  const auto reveals = To(1, 15);
  EXPECT_NE(reveals[0].rec[16], 0);
  EXPECT_NE(reveals[0].rec[17], 0);
  EXPECT_EQ(reveals[1].rec[16], 0);
  const auto& st = hand_->settlement();
  ASSERT_TRUE(st.has_value());
  // Dealer wins self-drawn with nobody open, the 9c read as completing the pair:
  // 自摸 + 单砸 + 三家立 + 庄家 + 闭门 = 6 fans each.
  EXPECT_EQ(st->fans[1], 6);
  EXPECT_EQ(st->handScore[0], 3 * 64);
}

TEST_F(HandTest, OneTileKongOfRedDragonDrawsFromTheTail) {
  Deal({Tiles("123b 456b 789b 99c 7c Z"), {}, {}, {}}, T("5d"), {}, {T("3d")});
  const int offer = LastOffer(0);
  EXPECT_EQ(offer & (op::kKong | op::kOneTileKong), op::kKong | op::kOneTileKong);
  Mark();
  ASSERT_TRUE(hand_->Operate(0, op::kOneTileKong, 0, 0, kRed, now_));
  const auto result = To(2, 7);
  ASSERT_EQ(result.size(), 1u);
  EXPECT_EQ(result[0].v(0), op::kOneTileKong);
  EXPECT_EQ(result[0].v(3), kRed);
  const auto draws = To(0, 5);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].v(3), T("3d"));
  EXPECT_EQ(To(1, 5)[0].v(3), 0);  // others do not see the tile
  EXPECT_EQ(hand_->wall().TailDrawn(), 1);
  EXPECT_EQ(hand_->seat(0).melds.back().kind, MeldKind::Single);
  EXPECT_EQ(hand_->seat(0).kongUnits, 0);  // a lone 中 scores nothing
  EXPECT_EQ(hand_->turn(), 0);
}

TEST_F(HandTest, OneTileKongOfTheWildTile) {
  // Indicator 4d: the wild tile is 5d, which the dealer holds.
  Deal({Tiles("123b 456b 789b 99c 7c 1d"), {}, {}, {}}, T("5d"), {}, {T("3d")}, T("4d"));
  EXPECT_EQ(hand_->wild(), T("5d"));
  EXPECT_TRUE(LastOffer(0) & op::kOneTileKong);
  ASSERT_TRUE(hand_->Operate(0, op::kOneTileKong, 0, 0, T("5d"), now_));
  EXPECT_EQ(hand_->seat(0).melds.back().tiles, std::vector<Tile>{T("5d")});
  EXPECT_FALSE(hand_->Operate(0, op::kOneTileKong, 0, 0, T("7c"), now_));  // no pung of 7c
}

TEST_F(HandTest, ExposedKongScoresAndFeedsTheReplacement) {
  Deal({Tiles("123b 456b 789b 99c 77c"), {}, Tiles("555d 11c 33c 44b 66b 89d"), {}}, T("5d"), {},
       {T("2d")});
  ASSERT_TRUE(hand_->Discard(0, T("5d"), now_));
  EXPECT_TRUE(LastOffer(2) & op::kKong);
  EXPECT_TRUE(LastOffer(2) & op::kPung);
  hand_->Operate(2, op::kKong, 0, 0, 0, now_);
  PassAll();
  ASSERT_EQ(hand_->turn(), 2);
  EXPECT_EQ(hand_->seat(2).melds.back().kind, MeldKind::ExposedKong);
  EXPECT_EQ(hand_->seat(2).kongUnits, 3);
  EXPECT_EQ(hand_->seat(0).kongUnits, -1);
  EXPECT_EQ(hand_->seat(0).kongFeeds, 1);
  EXPECT_EQ(hand_->wall().TailDrawn(), 1);
  EXPECT_NE(std::count(hand_->seat(2).concealed.begin(), hand_->seat(2).concealed.end(), T("2d")),
            0);
}

TEST_F(HandTest, AddedKongCanBeRobbed) {
  // Seat 1 pungs the dealer's 5b and later draws the fourth; seat 3 waits on 5b.
  Deal({Tiles("123c 456c 789c 99c 7d 8d"),
        Tiles("55b 11d 22d 33d 44d 9b Z F"),
        {},
        Tiles("123d 456d 789d 11c 46b")},
       T("5b"), {T("F"), T("B"), T("F"), T("5b")});
  ASSERT_TRUE(hand_->Discard(0, T("5b"), now_));
  ASSERT_TRUE(hand_->Operate(3, op::kPass, 0, 0, 0, now_));  // could win, waits for more
  if (hand_->offer(2) != 0) hand_->Operate(2, op::kPass, 0, 0, 0, now_);
  ASSERT_TRUE(hand_->Operate(1, op::kPung, 0, 0, 0, now_));
  ASSERT_EQ(hand_->turn(), 1);
  ASSERT_TRUE(hand_->Discard(1, kRed, now_));
  for (int k = 0; k < 3; ++k) {
    PassAll();
    ThrowLast();
  }
  PassAll();
  ASSERT_EQ(hand_->turn(), 1);
  EXPECT_TRUE(LastOffer(1) & op::kOneTileKong);
  ASSERT_TRUE(hand_->Operate(1, op::kOneTileKong, 0, 0, T("5b"), now_));
  EXPECT_EQ(hand_->phase(), Phase::Rob);
  EXPECT_EQ(LastOffer(3), op::kWin | op::kPass);
  // Nobody has been told that the tile left the konger's hand: a snapshot still shows it.
  const Record snap = hand_->Snapshots(1)[1];
  std::vector<Tile> shown;
  for (std::size_t p = 16; p < 64; p += 2) {
    if (snap[p] == 0x10) shown.push_back(snap[p + 1]);
  }
  EXPECT_EQ(shown.size(), hand_->seat(1).concealed.size() + 1);
  EXPECT_EQ(shown.back(), T("5b"));
  ASSERT_TRUE(hand_->Operate(3, op::kWin, 0, 0, 0, now_));
  EXPECT_FALSE(hand_->Over());  // seat 2 (filled by the wall builder) may win too
  if (hand_->offer(2) != 0) hand_->Operate(2, op::kPass, 0, 0, 0, now_);
  ASSERT_TRUE(hand_->Over());
  EXPECT_EQ(hand_->winner(), 3);
  const auto& st = *hand_->settlement();
  EXPECT_EQ(st.bytes[3][18 - 16] >> 4, 2);  // 抢杠
  EXPECT_EQ(st.bytes[1][20 - 16], 1);       // seat 1 pays as the discarder
  EXPECT_EQ(st.handScore[0], 0);
}

TEST_F(HandTest, TheFourthRedDragonCompletesAPungOfRedDragons) {
  // Seat 1 pungs the dealer's 中 and later draws the fourth: an added kong (which pays, and
  // which the clients draw on the pung), not a 中 laid down alone.
  Deal({Tiles("123c 456c 789c 99c Z 8d"), Tiles("ZZ 11d 22d 33d 44d 9b 5b F"), {}, {}}, T("7d"),
       {T("1b"), T("2b"), T("3b"), kRed});
  ASSERT_TRUE(hand_->Discard(0, kRed, now_));
  ASSERT_TRUE(hand_->offer(1) & op::kPung);
  for (int s = 2; s <= 3; ++s) {
    if (hand_->offer(s) != 0) hand_->Operate(s, op::kPass, 0, 0, 0, now_);
  }
  ASSERT_TRUE(hand_->Operate(1, op::kPung, 0, 0, 0, now_));
  ASSERT_EQ(hand_->turn(), 1);
  ASSERT_TRUE(hand_->Discard(1, T("F"), now_));
  for (int k = 0; k < 3; ++k) {
    PassAll();
    ThrowLast();
  }
  PassAll();
  ASSERT_EQ(hand_->turn(), 1);
  ASSERT_TRUE(LastOffer(1) & op::kOneTileKong);
  ASSERT_TRUE(hand_->Operate(1, op::kOneTileKong, 0, 0, kRed, now_));
  PassAll();
  const auto& melds = hand_->seat(1).melds;
  ASSERT_EQ(melds.size(), 1u);
  EXPECT_EQ(melds[0].kind, MeldKind::AddedKong);
  EXPECT_EQ(melds[0].tiles.size(), 4u);
  EXPECT_EQ(hand_->seat(1).kongUnits, 3);
}

TEST_F(HandTest, WallRunsOutIntoADrawnHand) {
  Deal(kClaims, T("5d"));
  for (int guard = 0; guard < 400 && !hand_->Over(); ++guard) {
    if (hand_->phase() == Phase::Discard) {
      ThrowLast();
    } else {
      PassAll();
    }
  }
  ASSERT_TRUE(hand_->Over());
  EXPECT_EQ(hand_->winner(), -1);
  EXPECT_EQ(hand_->wall().Remaining(), 2);
  const auto results = To(0, 9);
  ASSERT_EQ(results.size(), 4u);
  for (const auto& r : results) {
    for (int b = 16; b < 24; ++b) EXPECT_EQ(r.rec[static_cast<std::size_t>(b)], 0);
  }
  EXPECT_TRUE(To(0, 17).empty());
}

TEST_F(HandTest, FollowingTheDealersFirstDiscardIsMarked) {
  // Everyone throws the same kind as the dealer in the first go-round.
  Deal({Tiles("123b 456b 789b 99c 7c Z"), Tiles("11c 22c 33c 44c 55c 678c"), {}, {}}, T("9d"),
       {T("9d"), T("9d"), T("9d")});
  ASSERT_TRUE(hand_->Discard(0, T("9d"), now_));
  PassAll();
  for (int k = 1; k < 4; ++k) {
    ASSERT_EQ(hand_->turn(), k);
    ASSERT_TRUE(hand_->Discard(k, T("9d"), now_));
    PassAll();
  }
  std::vector<int> follow;
  for (const auto& m : To(0, 2)) follow.push_back(m.v(0));
  EXPECT_EQ(follow, (std::vector<int>{0, 3, 3, 3}));
}

TEST_F(HandTest, DragonSetsAreLaidAtTheDeal) {
  Deal({Tiles("123b 456b 789b ZFB 7c"), {}, {}, {}}, T("5d"));
  const auto sets = To(3, 8);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].mask(), 1);
  EXPECT_EQ(sets[0].v(0), 1);
  EXPECT_EQ(hand_->seat(0).concealed.size(), 11u);
  EXPECT_EQ(hand_->seat(0).melds.front().kind, MeldKind::Dragons);
}

TEST_F(HandTest, WallStartAsEachClientComputesIt) {
  Deal(kClaims, T("5d"));                    // dealer seat 0, dice 1 1 1 1
  EXPECT_EQ(hand_->ClientWallStart(0), 92);  // the dealer sees himself at relative seat 0
  EXPECT_EQ(hand_->ClientWallStart(1), 8);   // relative seat 1: side (13 + 1 - 2) % 4 = 0
  EXPECT_EQ(hand_->ClientWallStart(3), 64);  // relative seat 3: side 2
}

TEST_F(HandTest, SnapshotsShowSetsAndOnlyTheViewersTiles) {
  Deal(kClaims, T("5d"));
  ASSERT_TRUE(hand_->Discard(0, T("5d"), now_));
  hand_->Operate(3, op::kPass, 0, 0, 0, now_);
  hand_->Operate(2, op::kPung, 0, 0, 0, now_);
  hand_->Operate(1, op::kPass, 0, 0, 0, now_);
  ASSERT_TRUE(hand_->Discard(2, T("F"), now_));
  PassAll();
  const auto snaps = hand_->Snapshots(2);
  const Record& two = snaps[2];
  EXPECT_EQ(two[6], 4);
  EXPECT_EQ(two[7], 1);  // the 发 in his pool
  EXPECT_EQ(two[16], 0x20);
  EXPECT_EQ(two[17], T("5d"));
  EXPECT_EQ(two[22], 0x10);
  EXPECT_NE(two[23], 0);       // his own concealed tiles are shown
  EXPECT_EQ(snaps[1][17], 0);  // another seat's are not
  EXPECT_EQ(snaps[1][16], 0x10);
  EXPECT_EQ(snaps[0][7], 0);  // the claimed 5d left the dealer's pool
  EXPECT_EQ(two[11], hand_->wall().HeadDrawn());
  const Record cleared = hand_->Cleared(2);
  EXPECT_EQ(cleared[3], 41);
  EXPECT_EQ(cleared[6], 1);
  EXPECT_EQ(cleared[9], 2);  // dice 1 + 1
}

// A spectator's client places the wall from message 41 by its own rule (factor 17 where a
// seated client uses 14); it must start where the watched seat's client started.
TEST(TableCleared, ASpectatorStartsItsWallWhereTheWatchedSeatDid) {
  Rng rng(5);
  for (int dealer = 0; dealer < 4; ++dealer) {
    for (int round = 0; round < 40; ++round) {
      Hand hand(dealer, rng, HandOptions{}, {1000, 1000, 1000, 1000}, [](int, const Record&) {});
      hand.Start(0);
      for (int viewer = 0; viewer < 4; ++viewer) {
        const auto h = protocol::DecodeHeader(hand.Cleared(viewer));
        const int rel = (viewer - dealer + 4) % 4;
        const int v0 = h.Value[0], v1 = h.Value[1];
        const int spectatorStart = ((((rel + 13 - v0) % 4 + 4) % 4 * 17 + v0 + v1) * 2) % 120;
        EXPECT_EQ(spectatorStart, hand.ClientWallStart(viewer))
            << "dealer " << dealer << " viewer " << viewer << " dice " << hand.dice()[0]
            << hand.dice()[1] << hand.dice()[2] << hand.dice()[3];
        EXPECT_EQ(v0, hand.dice()[0] + hand.dice()[1]);
        EXPECT_GE(v1, 0);
      }
    }
  }
}

}  // namespace
}  // namespace tallow::server
