#include "hand/hand_start.h"

#include <gtest/gtest.h>

#include "hand/table_reset.h"
#include "seating_support.h"

namespace tallow::testing {
namespace {

using namespace platform::wm;

TEST(WallStart, DealerAndDiceGiveTheFirstSprite) {
  struct Case {
    int dealer;
    std::array<short, 4> dice;
    short head;
  };
  const Case cases[] = {
      {0, {1, 1, 1, 1}, 92}, {3, {6, 6, 6, 6}, 48},
      {2, {6, 5, 6, 6}, 46}, {1, {2, 3, 4, 5}, 56},  // side (13 + 1 - 5) mod 4 = 1: 2 × (14 + 14)
      {3, {4, 5, 6, 6}, 6},  // side 3: 2 × (42 + 21) = 126, past the end of the wall
  };
  for (const auto& k : cases) EXPECT_EQ(WallStart(k.dealer, k.dice), k.head) << k.dealer;
  // Dice beyond 6 are not checked on the wire; the start still lies on the wall, on a stack top.
  for (short d0 = 0; d0 <= 255; d0 += 15) {
    for (int dealer = 0; dealer <= 3; ++dealer) {
      const short head = WallStart(dealer, {d0, 255, 1, 0});
      EXPECT_GE(head, 0);
      EXPECT_LT(head, 120);
      EXPECT_EQ(head % 2, 0);
    }
  }
}

class HandStart : public ::testing::Test {
 protected:
  void SetUp() override {
    h.StartAndLogIn();
    // The local player sits at seat bit 4; seat bit 8 is next (position 3).
    const std::uint8_t bits[] = {4, 2, 1, 8};
    for (int i = 0; i <= 3; ++i) c().table.custom(i).SeatBit = bits[i];
    h.p.hall.received.clear();
  }
  ClientHarness h;
  Client& c() { return h.c(); }
};

TEST_F(HandStart, NewHandBuildsTheWallThrowsTheDiceAndSetsThePointers) {
  auto& f = c().mainForm;
  f.OK(1).Visible = true;
  c().forms.frmExit.Visible = c().forms.frmExit.Loaded = true;
  c().players.GameOverSeen = -1;
  c().table.SeenCount(2)(3) = 4;
  f.Operation(2).picture = {};
  const int sleeps = h.p.clock.Sleeps();
  ASSERT_FALSE(Deliver(h, ClientHarness::ServerRecord(4, 8, {6, 6, 6, 0x106})));
  EXPECT_EQ(c().table.WallHead, 48);
  EXPECT_EQ(c().table.WallTail, 46);
  EXPECT_EQ(c().table.custom(3).IsDealer, -1);
  EXPECT_EQ(h.p.hall.Posts(), std::vector<std::uint32_t>{kHandStarted});
  EXPECT_EQ(h.p.clock.Sleeps(), sleeps + 3);
  EXPECT_EQ(c().session.TableActive, -1);
  EXPECT_EQ(c().session.FirstHandStarted, 1);
  EXPECT_EQ(c().session.HandNumber, 1);
  EXPECT_TRUE(c().session.HandInPlay);
  EXPECT_TRUE(c().scheduler[TickScheduler::kBlink].enabled);
  EXPECT_EQ(c().players.GameOverSeen, 0);
  EXPECT_FALSE(c().forms.frmExit.Visible);
  EXPECT_FALSE(c().forms.frmExit.Loaded);  // unloaded: its next opening starts afresh
  EXPECT_FALSE(f.OK(1).Visible);
  EXPECT_FALSE(f.Sai_Image(0).Visible);
  EXPECT_EQ(f.Sai_Image(1).picture.id, 161 + 5);  // the last face shown
  EXPECT_TRUE(f.ZhiNan.Visible && f.Host.Visible && f.Zhuang.Visible);
  EXPECT_EQ(c().table.SeenCount(2)(3), 0);
  EXPECT_EQ(f.Operation(2).picture.id, 147);
  for (int side = 0; side <= 3; ++side) {
    for (int k = 0; k <= 29; ++k) {
      const auto& m = f.MJ_Image(30 * side + k);
      ASSERT_TRUE(m.Visible) << side << " " << k;
      ASSERT_EQ(m.picture.id, 201 + 8 + 36 * side);
    }
  }
}

TEST_F(HandStart, DiceOfZeroCountAsOne) {
  c().table.custom(0).SeatBit = 1;
  ASSERT_FALSE(Deliver(h, ClientHarness::ServerRecord(4, 1, {0, 0, 0, 0})));
  EXPECT_EQ(c().table.WallHead, 92);
  EXPECT_EQ(c().mainForm.Sai_Image(0).picture.id, 161);
}

TEST_F(HandStart, ADealerSeatNobodyHoldsEndsTheClient) {
  for (int i = 0; i <= 3; ++i) c().table.custom(i).SeatBit = 0;
  auto ended = Deliver(h, ClientHarness::ServerRecord(4, 8, {1, 2, 3, 4}));
  ASSERT_TRUE(ended);
  ASSERT_EQ(h.p.dialogs.boxes.size(), 1u);
  EXPECT_EQ(h.p.dialogs.boxes[0].text, kPlayerLeftBox);
  EXPECT_EQ(h.p.hall.SysCommands(), std::vector<std::uint32_t>{kScRestore});
}

TEST_F(HandStart, ASpectatorsHandStartClearsTheTableFirst) {
  c().table.Spectating = -1;
  c().table.custom(1).HandCount = 7;
  c().table.TableReadyForNext = 0;
  ASSERT_FALSE(Deliver(h, ClientHarness::ServerRecord(4, 4, {3, 3, 3, 3})));
  EXPECT_EQ(c().table.TableReadyForNext, -1);
  EXPECT_EQ(c().table.custom(1).HandCount, 0);
  EXPECT_EQ(c().session.TableActive, -1);
}

TEST_F(HandStart, SeatDrawAndCompass) {
  auto& f = c().mainForm;
  ResetTableDisplay(c());
  ShowSeatDraw(c(), 1);
  int turned = 0;
  for (int k = 0; k <= 3; ++k) {
    const auto& m = f.MJ_Image(k);
    EXPECT_FALSE(m.Visible);
    EXPECT_EQ(m.Left, 512 - 72 + 36 * k);
    EXPECT_EQ(m.Top, 384 - 50);
    EXPECT_EQ(m.Width, 36);
    if (m.picture.id == 201 + 146) {
      ++turned;
    } else {
      EXPECT_EQ(m.picture.id, 201 + 7);
    }
  }
  EXPECT_EQ(turned, 1);

  c().table.custom(0).SeatBit = 0;
  ShowCompass(c());
  EXPECT_EQ(c().table.custom(0).SeatBit, 1);
  EXPECT_EQ(f.ZhiNan.picture.id, 126);
  EXPECT_TRUE(f.ZhiNan.Visible);
}

}  // namespace
}  // namespace tallow::testing
