#include "session/hall.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "doubles/client_harness.h"

namespace tallow::testing {
namespace {

using namespace platform::wm;

class Hall : public ::testing::Test {
 protected:
  void SetUp() override {
    dir =
        std::filesystem::temp_directory_path() / ("tallow-hall-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    h.p.process.appPath = dir.string();
    h.StartAndLogIn();
    h.p.hall.received.clear();
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  ClientHarness h;
  std::filesystem::path dir;
  Client& c() { return h.c(); }
};

TEST_F(Hall, LeaveQuestionAnswersByState) {
  // A login is pending: refused with 0x466, nothing changes.
  EXPECT_EQ(h.p.hall.Request(kLeaveQuestion), 0);
  EXPECT_EQ(h.p.hall.Posts(), std::vector<std::uint32_t>{kLoginPending});
  c().session.LoginPending = false;
  c().session.TableActive = -1;
  h.p.hall.received.clear();
  h.p.hall.Request(kLeaveQuestion);
  EXPECT_EQ(h.p.hall.Posts(), std::vector<std::uint32_t>{kGameRunning});
  EXPECT_EQ(h.p.socket.State(), platform::ISocket::kConnected);
}

TEST_F(Hall, LeaveQuestionBetweenHandsLeavesAndResets) {
  c().session.LoginPending = false;
  c().table.custom(0).SeatBit = 2;
  std::ofstream(dir / "info.jk") << "[juNum:1]\n";
  h.p.socket.sent.clear();
  h.p.hall.Request(kLeaveQuestion);
  auto sent = h.p.socket.SentRecords();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][3], 16);
  EXPECT_EQ(sent[0][6], 2);
  EXPECT_EQ(sent[0][15], 0);  // leaving
  EXPECT_EQ(sent[0][260] | sent[0][261], 0);
  EXPECT_EQ(h.p.hall.Posts(), std::vector<std::uint32_t>{kLeaveNow});
  EXPECT_EQ(h.p.socket.State(), platform::ISocket::kClosed);
  EXPECT_EQ(c().mainForm.State, ui::WindowState::Minimized);
  EXPECT_NE(c().toolbar.ToolbarLock(2), 0);
  EXPECT_FALSE(c().TimerBong->Enabled());
  EXPECT_FALSE(std::filesystem::exists(dir / "info.jk"));
  for (int i = 0; i <= 3; ++i) EXPECT_EQ(c().table.custom(i).SeatBit, 0);
}

TEST_F(Hall, LeaveQuestionWhenDisconnectedStillResets) {
  c().session.LoginPending = false;
  h.p.socket.Close();
  h.p.socket.sent.clear();
  h.p.hall.Request(kLeaveQuestion);
  EXPECT_TRUE(h.p.socket.sent.empty());
  EXPECT_EQ(h.p.hall.Posts(), std::vector<std::uint32_t>{kLeaveNow});
}

TEST_F(Hall, GameQuestionAndMissingHall) {
  c().session.TableActive = -1;
  h.p.hall.Request(kGameRunning);
  c().session.TableActive = 0;
  h.p.hall.Request(kGameRunning);
  EXPECT_EQ(h.p.hall.Posts(), (std::vector<std::uint32_t>{kGameRunning, kLeaveNow}));
  h.p.hall.exists = false;
  EXPECT_EQ(h.p.hall.Request(kLeaveQuestion), 0);
  EXPECT_EQ(h.p.hall.Request(kGameRunning), 0);
  EXPECT_THROW(ShowHall(c()), ProcessEnded);
  EXPECT_THROW(HideHall(c()), ProcessEnded);
  PostToHall(c(), kHandStarted);  // nothing to post to, and no harm
}

TEST_F(Hall, ConnectWhileConnectedReconnectsWithAFirstLogin) {
  c().session.LoginRecord[3] = 28;
  const int closes = h.p.socket.closes;
  h.p.hall.Request(kConnect);
  EXPECT_EQ(h.p.socket.closes, closes + 1);
  EXPECT_EQ(c().session.LoginRecord[3], 18);
  EXPECT_EQ(c().toolbar.ToolbarLock(2), 0);
  h.p.socket.sent.clear();
  h.Run(300);
  auto sent = h.p.socket.SentRecords();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][3], 18);
}

TEST_F(Hall, LeaveOrderLeavesOnlyWhenConnected) {
  h.p.socket.sent.clear();
  h.p.hall.Request(kLeaveNow);
  ASSERT_EQ(h.p.socket.SentRecords().size(), 1u);
  EXPECT_TRUE(h.p.hall.Posts().empty());
  EXPECT_EQ(c().mainForm.State, ui::WindowState::Minimized);
}

TEST_F(Hall, LinkWatchResetsWhenTheConnectionDropsBetweenHands) {
  h.p.socket.Close();
  h.Ticks(1);
  EXPECT_EQ(h.p.hall.SysCommands(), std::vector<std::uint32_t>{kScRestore});
  EXPECT_EQ(c().mainForm.State, ui::WindowState::Minimized);
  EXPECT_FALSE(c().scheduler[TickScheduler::kLinkWatch].enabled);
}

TEST_F(Hall, LinkWatchDuringAHandHandsOverToReconnection) {
  c().session.TableActive = -1;
  c().play.TurnTimerAllowed = -1;
  h.p.socket.Close();
  h.Ticks(1);
  EXPECT_EQ(c().play.TurnTimerAllowed, 0);
  EXPECT_FALSE(c().scheduler[TickScheduler::kLinkWatch].enabled);
  EXPECT_TRUE(h.p.hall.SysCommands().empty());
}

TEST_F(Hall, LinkWatchEndsWithoutAHall) {
  h.p.hall.exists = false;
  h.p.socket.Close();
  EXPECT_TRUE(h.Ticks(1).has_value());
}

}  // namespace
}  // namespace tallow::testing
