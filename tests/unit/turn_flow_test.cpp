#include <gtest/gtest.h>

#include <functional>

#include "play/operation_panel.h"
#include "play/tile_selection.h"
#include "play_support.h"

namespace tallow::testing {
namespace {

namespace op = protocol::op;

struct Box {
  double l, t, r, b;
};

Box BoxOf(const ui::Image& m) {
  return {m.Left, m.Top, m.Left + m.Width, m.Top + m.Height};
}

bool Overlap(const Box& a, const Box& b) {
  const double w = std::min(a.r, b.r) - std::max(a.l, b.l);
  const double h = std::min(a.b, b.b) - std::max(a.t, b.t);
  return w > 0.5 && h > 0.5;
}

// Hands, laid-down sets and the pooled discards of all four seats never cover each other.
void ExpectSeparate(PlayTable& t, const std::vector<int>& pooled, const std::string& where) {
  SCOPED_TRACE(where);
  struct Group {
    std::string name;
    std::vector<int> sprites;
  };
  std::vector<Group> groups;
  for (int rel = 0; rel <= 3; ++rel) {
    const auto& s = t.seat(rel);
    Group hand{"hand " + std::to_string(rel), {}}, sets{"sets " + std::to_string(rel), {}};
    for (int k = s.HandStart; k < s.HandStart + s.HandCount; ++k)
      hand.sprites.push_back(s.mj(k).Sprite);
    for (int k = rel == 0 ? 1 : 2; k <= s.MeldEnd - 3; ++k) sets.sprites.push_back(s.mj(k).Sprite);
    groups.push_back(hand);
    groups.push_back(sets);
  }
  groups.push_back({"pools and piles", pooled});
  for (std::size_t a = 0; a < groups.size(); ++a) {
    for (std::size_t b = a + 1; b < groups.size(); ++b) {
      for (int x : groups[a].sprites) {
        for (int y : groups[b].sprites) {
          EXPECT_FALSE(Overlap(BoxOf(t.sprite(x)), BoxOf(t.sprite(y))))
              << groups[a].name << " sprite " << x << " covers " << groups[b].name << " sprite "
              << y;
        }
      }
    }
  }
}

struct FlowCase {
  int wildTile, width, height;
};

class TurnFlow : public ::testing::TestWithParam<FlowCase> {};

// A scripted hand: every seat draws and throws, the seats claim pungs, chows and kongs, and
// after every message the records, the sprites and the layout are checked.
TEST_P(TurnFlow, RecordsAndSpritesAgreeAfterEveryMessage) {
  const FlowCase k = GetParam();
  PlayTable t(k.wildTile, k.width, k.height);
  auto& c = t.c();
  std::vector<int> pooled;
  int step = 0;
  auto check = [&](const std::string& what) {
    ExpectConsistent(c, std::to_string(step) + " " + what);
    ExpectSeparate(t, pooled, std::to_string(step) + " " + what);
    ++step;
  };
  t.Deal({0x81, 0x81, 0x82, 0x83, 0x41, 0x41, 0x44, 0x45, 0x46, 0x23, 0x24, 0x11, 0x11, 0x17});
  check("deal");
  // The pool of a discard is known once the next draw has moved it.
  auto poolIfMoved = [&](int sprite, double midLeft) {
    if (sprite >= 0 && t.sprite(sprite).Left != midLeft) pooled.push_back(sprite);
  };
  auto localTurn = [&](int code) {
    t.Offer(1);
    TileMouseDown(c, t.LocalSprite(code), ui::kLeftButton);
    check("local click");
    t.Discard(0, code);
    check("local discard");
  };
  auto otherTurn = [&](int rel, int code, bool draw = true) {
    if (draw) {
      const int last = c.table.LastDiscardSprite;
      const double mid = t.sprite(std::max(last, 0)).Left;
      t.Draw(rel);
      poolIfMoved(last, mid);
      check("draw " + std::to_string(rel));
    }
    t.Discard(rel, code);
    check("discard " + std::to_string(rel));
  };
  auto localDraw = [&](int code) {
    const int last = c.table.LastDiscardSprite;
    const double mid = t.sprite(last).Left;
    t.Draw(0, code);
    poolIfMoved(last, mid);
    check("local draw");
  };
  for (int round = 0; round < 2; ++round) {
    localTurn(round == 0 ? 0x17 : 0x29);
    otherTurn(3, 0x31 + round);
    otherTurn(2, 0x33);
    otherTurn(1, 0x41 + round * 8);
    if (round == 0) {
      localDraw(0x29);
    }
  }
  // Seat 1 threw 0x49: the opposite seat pungs it and throws.
  t.Result(2, op::kPung, 0x49, 0x49, 0x49);
  check("pung by 2");
  otherTurn(2, 0x35, false);
  // The previous seat chows the opposite seat's tile.
  t.Result(1, op::kChow, 0x34, 0x36, 0x35);
  check("chow by 1");
  otherTurn(1, 0x81, false);
  // The local player pungs 1-dots.
  t.Offer(1 + 8);
  OperationClick(c, 1);
  t.Result(0, op::kPung, 0x81, 0x81, 0x81);
  check("local pung");
  localTurn(0x11);
  // Seat 3 draws and lays down a concealed kong, draws from the tail, and adds a lone 中.
  otherTurn(3, 0, true);
  t.Result(3, op::kConcealedKong, 0x26, 0x26, 0x26);
  check("concealed kong by 3");
  t.Draw(3);
  check("tail draw by 3");
  t.Result(3, op::kOneTileKong, 0, 0, 0x15);
  check("lone 中 by 3");
  t.Draw(3);
  check("tail draw by 3 again");
  otherTurn(3, 0x19, false);
  // The opposite seat makes an exposed kong on it and throws after its replacement.
  t.Result(2, op::kKong, 0x19, 0x19, 0x19);
  check("exposed kong by 2");
  otherTurn(2, 0x22, true);
  for (int round = 0; round < 3; ++round) {
    otherTurn(1, 0x21 + round);
    localDraw(0x33 + round);
    localTurn(0x33 + round);
    otherTurn(3, 0x13);
    otherTurn(2, 0x14);
  }
  // Seat 1 wins on the opposite seat's tile; every hand is revealed.
  t.Result(1, op::kWin, 0, 0, 0);
  check("win by 1");
  for (int rel = 1; rel <= 3; ++rel) {
    auto& s = t.seat(rel);
    while (s.HandCount > 0) {
      ASSERT_FALSE(
          Deliver(t.h, ClientHarness::ServerRecord(15, kSeatBit[static_cast<std::size_t>(rel)],
                                                   {0x21, 0x22, 0x23, 0x24})));
    }
  }
  ExpectSeparate(t, pooled, "revealed");
  // The script did what it says.
  EXPECT_EQ(t.seat(0).MeldEnd, 6);
  EXPECT_EQ(t.seat(1).MeldEnd, 7);
  EXPECT_EQ(t.seat(2).MeldEnd, 10);
  EXPECT_EQ(t.seat(3).MeldEnd, 7);
  EXPECT_EQ(t.seat(3).RedKongCount, 1);
  EXPECT_EQ(c.hand.KongMarkCount, 2);
  EXPECT_EQ(c.hand.WinnerRel, 1);
  EXPECT_GE(pooled.size(), 20u);
}

// Every seat lays down four sets, throwing a tile after each, then two lone 中 and two lone
// wild tiles: no hand, set row or kong pile covers another.
TEST(TurnLayout, FullSetRowsAndKongPilesNeverCoverAHand) {
  for (auto [w, h] : {std::pair{1024, 768}, std::pair{800, 600}}) {
    PlayTable t(0x29, w, h);
    t.Deal({0x81, 0x81, 0x82, 0x82, 0x83, 0x83, 0x41, 0x41, 0x42, 0x42, 0x11, 0x11, 0x12, 0x12});
    auto& c = t.c();
    auto localThrow = [&] {
      t.Offer(1);
      const auto hand = t.LocalHand();
      TileMouseDown(c, t.LocalSprite(hand.back()), ui::kLeftButton);
      t.Discard(0, hand.back());
    };
    localThrow();
    t.Draw(3);
    t.Discard(3, 0x31);
    int spare = 90;
    const std::string where = "layout " + std::to_string(w);
    for (int set = 0; set < 4; ++set) {
      for (int rel = 0; rel <= 3; ++rel) {
        // The claimed tile comes from the middle of the wall, which neither end reaches here.
        c.table.LastDiscardSprite = static_cast<short>(spare--);
        const int code = rel == 0 ? std::array{0x81, 0x82, 0x83, 0x41}[set] : 0x21 + set;
        if (rel == 0) {
          c.table.LastTile = static_cast<short>(code);
          t.Offer(1 + 8);
          OperationClick(c, 1);
        }
        t.Result(rel, op::kPung, code, code, code);
        if (rel == 0) {
          localThrow();
        } else {
          t.Discard(rel, 0x33);
        }
        ExpectConsistent(c, where);
      }
    }
    for (int rel = 0; rel <= 3; ++rel) {
      for (int code : {0x15, 0x15, 0x29, 0x29}) {
        t.Draw(rel, code);
        t.Result(rel, op::kOneTileKong, 0, 0, code);
      }
      t.Draw(rel, 0x37);
      ExpectConsistent(c, where);
    }
    std::vector<int> piles;
    for (int rel = 0; rel <= 3; ++rel) {
      EXPECT_EQ(t.seat(rel).MeldEnd, rel == 0 ? 15 : 16);
      EXPECT_EQ(t.seat(rel).RedKongCount, 2);
      EXPECT_EQ(t.seat(rel).WildKongCount, 2);
      for (int k : {0, 1, 4, 5}) piles.push_back(c.hand.OneTileKongSprites(rel)(k));
    }
    // The piles are checked against every hand and set row (not against each other).
    ExpectSeparate(t, piles, where);
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, TurnFlow,
                         ::testing::Values(FlowCase{-1, 1024, 768}, FlowCase{-1, 800, 600},
                                           FlowCase{0x29, 1024, 768}));

}  // namespace
}  // namespace tallow::testing
