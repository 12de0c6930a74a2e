#include "play/turn_timer.h"

#include <gtest/gtest.h>

#include "play/operation_panel.h"
#include "shell/window_shell.h"
#include "turn_support.h"

namespace tallow::testing {
namespace {

using namespace turns;

constexpr ui::Color kGreen = 0x00FF00, kRed = 0xFF0000;
const std::vector<int> kDrawnHand = {0x81, 0x82, 0x83, 0x45, 0x11};  // a discard is due
const std::vector<int> kWaitingHand = {0x81, 0x82, 0x83, 0x45};      // another's discard

TEST(TurnTimer, CountsDownGreenThenRedWithTicksAndTimesOutAfterNineSeconds) {
  TurnTable t;
  t.SetHand(kWaitingHand);
  t.Offer(1 + 8);
  auto& number = t.c().mainForm.Number;
  EXPECT_EQ(number.Caption, "8");
  EXPECT_EQ(number.ForeColor, kGreen);
  EXPECT_TRUE(number.Visible);
  EXPECT_TRUE(t.c().mainForm.Time_Img.Visible);

  const std::string tick = t.h.p.process.appPath + "/../common/music/tishi.wav";
  for (int s = 1; s <= 8; ++s) {
    t.h.Ticks(19);
    EXPECT_EQ(number.Caption, std::to_string(8 - s + 1)) << "just before second " << s;
    t.h.Ticks(1);
    EXPECT_EQ(number.Caption, std::to_string(8 - s)) << "second " << s;
    EXPECT_EQ(number.ForeColor, 8 - s > 5 ? kGreen : kRed) << "second " << s;
    EXPECT_EQ(t.h.p.sound.played.size(), static_cast<std::size_t>(s < 3 ? 0 : s - 2)) << s;
  }
  for (const auto& p : t.h.p.sound.played) {
    EXPECT_EQ(p.path, tick);
    EXPECT_FALSE(p.loop);
  }
  EXPECT_EQ(t.h.p.sound.volume, 0);  // full volume
  t.h.Ticks(19);
  EXPECT_TRUE(t.Sent().empty());
  EXPECT_EQ(t.c().table.PanelState, 0);

  t.h.Ticks(3);
  EXPECT_EQ(t.Sent(), std::vector<SentMessage>{Pass()});
  EXPECT_EQ(t.c().table.PanelState, 3);
  EXPECT_EQ(t.c().table.TimeoutCount, 1);
  EXPECT_EQ(t.c().table.TurnCountdown, 8);
  EXPECT_FALSE(number.Visible);
  EXPECT_FALSE(t.c().mainForm.Time_Img.Visible);
  EXPECT_FALSE(t.c().scheduler[TickScheduler::kTurnTimer].enabled);
}

TEST(TurnTimer, AChooserCountsDownFromHalfTheTime) {
  TurnTable t;
  t.SetHand({0x83, 0x84, 0x86, 0x87, 0x11});
  t.c().table.LastTile = 0x85;
  t.Offer(1 + 4);
  OperationClick(t.c(), 0);  // three chows: the chooser opens
  ASSERT_TRUE(t.c().mainForm.Chi(0).Visible);
  EXPECT_EQ(t.c().mainForm.Number.Caption, "4");
  EXPECT_EQ(t.c().mainForm.Number.ForeColor, kGreen);
  t.Seconds(1);
  EXPECT_EQ(t.c().mainForm.Number.Caption, "3");
  EXPECT_EQ(t.c().mainForm.Number.ForeColor, kRed);
  ASSERT_EQ(t.h.p.sound.played.size(), 2u);  // the click's chow voice, then the tick
  EXPECT_TRUE(t.h.p.sound.played[1].path.ends_with("/tishi.wav"));
}

TEST(TurnTimer, TimeoutLimitHidesTheWindowOnTheLimitAndStillMoves) {
  struct Case {
    short limit;
    int timeouts;
    int hiddenAt;  // 0: never
  };
  for (const Case k : {Case{3, 4, 3}, Case{0, 5, 0}, Case{1, 1, 1}}) {
    SCOPED_TRACE(k.limit);
    TurnTable t;
    t.c().players.TimeoutLimit = k.limit;
    for (int n = 1; n <= k.timeouts; ++n) {
      t.SetHand(kWaitingHand);
      const auto before = static_cast<long>(t.Sent().size());
      t.Offer(1 + 8);
      t.Seconds(t.c().table.TurnSeconds + 1);
      auto sent = t.Sent();
      sent.erase(sent.begin(), sent.begin() + before);
      EXPECT_EQ(sent, std::vector<SentMessage>{Pass()}) << "timeout " << n;
      const bool hidden = k.hiddenAt != 0 && n >= k.hiddenAt;
      EXPECT_EQ(t.c().shell.HiddenByF1 != 0, hidden) << "timeout " << n;
      EXPECT_EQ(t.c().mainForm.State == ui::WindowState::Minimized, hidden) << "timeout " << n;
      // Hidden, the timeouts are no longer counted.
      EXPECT_EQ(t.c().table.TimeoutCount, k.hiddenAt != 0 ? std::min(n, k.hiddenAt) : n);
    }
    if (k.hiddenAt != 0) {
      EXPECT_EQ(t.c().table.TurnSeconds, 0);
      EXPECT_EQ(t.h.p.hall.SysCommands().back(), platform::wm::kScMinimize);
    }
  }
}

TEST(TurnTimer, HiddenByF1OffersTimeOutOnTheFirstSecondUncounted) {
  TurnTable t;
  t.SetHand(kWaitingHand);
  F1Action(t.c());
  t.c().table.TimeoutCount = 2;
  t.c().players.TimeoutLimit = 3;
  t.Offer(1 + 8);
  EXPECT_EQ(t.c().mainForm.Number.Caption, "0");
  t.h.Ticks(19);
  EXPECT_TRUE(t.Sent().empty());
  t.h.Ticks(3);
  EXPECT_EQ(t.Sent(), std::vector<SentMessage>{Pass()});
  EXPECT_EQ(t.c().table.TimeoutCount, 2);
  EXPECT_TRUE(t.h.p.sound.played.empty());
}

TEST(TurnTimer, ActingOrALostLinkStopsTheTimeout) {
  TurnTable t;
  // The player discarded after a draw: the count runs out but no move follows.
  t.SetHand(kDrawnHand);
  t.Offer(1);
  t.c().table.PanelState = 2;
  t.Seconds(12);
  EXPECT_TRUE(t.Sent().empty());
  EXPECT_EQ(t.c().mainForm.Number.Caption, "0");
  EXPECT_TRUE(t.c().scheduler[TickScheduler::kTurnTimer].enabled);
  EXPECT_EQ(t.c().table.TimeoutCount, 0);

  // A lost connection freezes the count where it stands.
  t.Offer(1);
  t.Seconds(2);
  t.c().play.TurnTimerAllowed = 0;
  t.Seconds(12);
  EXPECT_EQ(t.c().mainForm.Number.Caption, "6");
  EXPECT_TRUE(t.Sent().empty());
}

TEST(TurnTimer, AnEmptyHandTimesOutWithoutAMove) {
  TurnTable t;
  t.SetHand(kWaitingHand);
  t.Offer(1 + 8);  // shows the timer
  t.c().table.custom(0).HandCount = 0;
  t.Seconds(9);
  EXPECT_TRUE(t.Sent().empty());
  EXPECT_EQ(t.c().table.PanelState, 3);
  EXPECT_EQ(t.c().table.TimeoutCount, 1);
  EXPECT_FALSE(t.c().mainForm.Number.Visible);
}

}  // namespace
}  // namespace tallow::testing
