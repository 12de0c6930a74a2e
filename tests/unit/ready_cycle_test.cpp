#include "hand/ready_cycle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/general.h"
#include "hand/seating.h"
#include "seating_support.h"
#include "session/receive.h"

namespace tallow::testing {
namespace {

using namespace platform::wm;

// SeatState records (code 16) the client queued or sent.
int ReadyMessages(ClientHarness& h) {
  int n = 0;
  auto count = [&](const protocol::Record& r) {
    if (r[3] == 16 && r[15] == 1 && r[6] == 4) ++n;
  };
  for (const auto& r : h.p.socket.SentRecords()) count(r);
  for (const auto& r : Queued(h.c())) count(r);
  return n;
}

class Ready : public ::testing::Test {
 protected:
  void SetUp() override {
    h.StartAndLogIn();
    h.p.socket.sent.clear();
    h.p.hall.received.clear();
    c().table.custom(0).SeatBit = 4;
    c().toolbar.ToolbarLock(2) = 0;
  }
  ClientHarness h;
  Client& c() { return h.c(); }
};

TEST_F(Ready, StartDeclaresReadyOnceAndTurnsTheButtonToContinue) {
  auto& f = c().mainForm;
  c().table.custom(1).HandCount = 5;
  c().scheduler.Enable(TickScheduler::kContinue);
  c().forms.Score.Visible = true;
  EXPECT_EQ(StartButtonSlot(c(), false), 4);
  EXPECT_EQ(StartButtonSlot(c(), true), 5);
  StartOrContinue(c());
  EXPECT_EQ(ReadyMessages(h), 1);
  EXPECT_FALSE(c().session.StartNotPressed);
  EXPECT_EQ(f.AnNiu(2).picture.id, 107);
  EXPECT_EQ(StartButtonSlot(c(), true), 7);
  EXPECT_TRUE(f.OK(0).Visible);
  EXPECT_FALSE(c().forms.Score.Visible);
  EXPECT_FALSE(c().scheduler[TickScheduler::kContinue].enabled);
  EXPECT_EQ(c().toolbar.ToolbarLock(2), -1);
  EXPECT_EQ(c().table.TableReadyForNext, -1);
  EXPECT_EQ(c().table.custom(1).HandCount, 0);  // the finished hand is cleared away

  StartOrContinue(c());
  h.Ticks(4);
  EXPECT_EQ(ReadyMessages(h), 1);
}

// Another player's ready message that arrived with the press is still handled after the table
// is cleared.
TEST_F(Ready, ARecordWaitingInTheRingOutlivesTheClearing) {
  AppendReceived(c(), ClientHarness::ServerRecord(23, 0, {0, 0, 0, 1}));
  StartOrContinue(c());
  EXPECT_EQ(c().receive.Unread(), static_cast<std::int32_t>(protocol::kRecordSize));
  const auto handled = c().framing.DispatchedCount;
  h.Ticks(2);
  EXPECT_EQ(c().framing.DispatchedCount, handled + 1);
}

TEST_F(Ready, ATableAlreadyClearedIsNotClearedAgain) {
  c().table.TableReadyForNext = -1;
  c().table.custom(2).HandCount = 3;
  StartOrContinue(c());
  EXPECT_EQ(c().table.custom(2).HandCount, 3);
  EXPECT_EQ(ReadyMessages(h), 1);
}

TEST_F(Ready, TheCountdownDeclaresReadyWhenItRunsOut) {
  for (short start : {15, 5}) {
    ClientHarness g;
    g.StartAndLogIn();
    Client& cl = g.c();
    cl.table.custom(0).SeatBit = 4;
    g.p.socket.sent.clear();
    cl.table.TurnCountdown = start;
    cl.scheduler.Enable(TickScheduler::kContinue);
    g.Ticks(20 * start);
    EXPECT_EQ(ReadyMessages(g), 0);
    EXPECT_EQ(cl.mainForm.Number.Caption, "0");
    EXPECT_EQ(cl.mainForm.Number.ForeColor, 0xFF0000u);
    g.Ticks(20);
    EXPECT_EQ(ReadyMessages(g), 1) << start;
    EXPECT_FALSE(cl.scheduler[TickScheduler::kContinue].enabled);
    EXPECT_EQ(cl.toolbar.ToolbarLock(2), -1);
    EXPECT_EQ(cl.table.TableReadyForNext, -1);
    EXPECT_TRUE(cl.session.StartNotPressed);
    EXPECT_FALSE(cl.mainForm.OK(0).Visible);
    g.Ticks(100);
    EXPECT_EQ(ReadyMessages(g), 1);
  }
}

TEST_F(Ready, APressDuringTheCountdownStopsIt) {
  c().table.TurnCountdown = 15;
  c().scheduler.Enable(TickScheduler::kContinue);
  h.Ticks(20 * 3);
  EXPECT_EQ(c().mainForm.Number.Caption, "12");
  EXPECT_EQ(c().mainForm.Number.ForeColor, 0x00FF00u);
  StartOrContinue(c());
  h.Ticks(20 * 20);
  EXPECT_EQ(ReadyMessages(h), 1);
}

TEST_F(Ready, AfterAGameOverNoticeTheButtonLeavesForTheHall) {
  c().players.GameOverSeen = -1;
  c().toolbar.ToolbarLock(2) = -1;
  StartOrContinue(c());
  EXPECT_EQ(ReadyMessages(h), 0);
  EXPECT_EQ(h.p.socket.State(), platform::ISocket::kClosed);
  EXPECT_EQ(c().mainForm.State, ui::WindowState::Minimized);
  EXPECT_EQ(h.p.hall.SysCommands(), std::vector<std::uint32_t>{kScRestore});
  h.p.hall.exists = false;
  EXPECT_THROW(StartOrContinue(c()), ProcessEnded);
}

TEST_F(Ready, ConnectRequestUnlocksTheStartButton) {
  auto& f = c().mainForm;
  c().toolbar.ToolbarLock(2) = -1;
  f.AnNiu(2).picture.id = 107;
  f.Time_Img.Visible = f.Number.Visible = true;
  h.p.hall.Request(kConnect);
  EXPECT_EQ(c().toolbar.ToolbarLock(2), 0);
  EXPECT_EQ(f.AnNiu(2).picture.id, 105);
  EXPECT_FALSE(f.Time_Img.Visible || f.Number.Visible);
}

TEST_F(Ready, SeatNamesFixEverySeat) {
  struct Case {
    int localIndex;
    std::array<int, 4> bits;
  };
  const Case cases[] = {{2, {4, 2, 1, 8}}, {0, {1, 8, 4, 2}}, {3, {8, 4, 2, 1}}};
  const char* names[] = {"north", "west", "south", "east"};
  for (const auto& k : cases) {
    ClientHarness g;
    g.StartAndLogIn();
    Client& cl = g.c();
    cl.table.custom(0).Account = names[k.localIndex];
    cl.hand.TotalAmount(1) = 9;
    for (int s = 0; s <= 3; ++s) {
      ASSERT_FALSE(Deliver(g, Named(3, 1 << s, names[s])));
      EXPECT_EQ(cl.hand.SeatDrawPending, -1);
    }
    EXPECT_EQ(cl.hand.SeatsNamed, 0);
    EXPECT_EQ(cl.hand.TotalAmount(1), 0);
    EXPECT_EQ(cl.toolbar.ToolbarLock(2), -1);
    EXPECT_EQ(cl.mainForm.AnNiu(2).picture.id, 107);
    for (int j = 0; j <= 3; ++j) {
      EXPECT_EQ(cl.table.custom(j).SeatBit, k.bits[j]) << k.localIndex << " " << j;
      EXPECT_EQ(cl.table.custom(j).Account,
                names[BitPosition(static_cast<std::uint8_t>(k.bits[j]))]);
    }
  }
}

TEST_F(Ready, SeatNameRecordDeletesTheRecordFileAndStopsTheKeepAlive) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("tallow-seat-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  h.p.process.appPath = dir.string();
  std::ofstream(dir / "info.jk") << "[juNum:1]\n";
  c().TimerKeepAlive->SetEnabled(true);
  c().session.HandNumber = 3;
  ASSERT_FALSE(Deliver(h, Named(3, 2, "someone")));
  EXPECT_FALSE(std::filesystem::exists(dir / "info.jk"));
  EXPECT_FALSE(c().TimerKeepAlive->Enabled());
  EXPECT_EQ(c().session.HandNumber, 0);
  // Nobody of that name: the seat bits stay as they were.
  for (int s : {0, 2, 3}) ASSERT_FALSE(Deliver(h, Named(3, 1 << s, "x")));
  EXPECT_EQ(c().table.custom(0).SeatBit, 4);
  std::filesystem::remove_all(dir);
}

TEST_F(Ready, ServerNoticeShowsItsTextAndStopsTheTable) {
  auto r = ClientHarness::ServerRecord(22);
  PutText(r, 16, "服务器维护abc");
  c().scheduler.Enable(TickScheduler::kLinkWatch);
  c().scheduler.Enable(TickScheduler::kContinue);
  c().session.TableActive = -1;
  const auto before = h.p.clock.NowMs();
  ASSERT_FALSE(Deliver(h, r));
  EXPECT_GE(h.p.clock.NowMs() - before, 2000);
  const auto& notice = c().forms.frmOtherExit;
  EXPECT_EQ(notice.Label1.Caption, "服务器维护abc");
  EXPECT_TRUE(notice.Visible);
  EXPECT_EQ(notice.Caption, "退出");
  EXPECT_EQ(c().forms.frmOtherExit.NoticeShown, -1);
  EXPECT_EQ(c().session.TableActive, 0);
  EXPECT_FALSE(c().scheduler[TickScheduler::kLinkWatch].enabled);
  EXPECT_FALSE(c().scheduler[TickScheduler::kContinue].enabled);

  // 199 single bytes then a lead byte in the last place: the half character is dropped.
  r = ClientHarness::ServerRecord(22);
  std::fill(r.begin() + 16, r.begin() + 215, 'a');
  r[215] = 0xB7;
  r[216] = 0xFE;
  ASSERT_FALSE(Deliver(h, r));
  EXPECT_EQ(notice.Label1.Caption, std::string(199, 'a'));
}

}  // namespace
}  // namespace tallow::testing
