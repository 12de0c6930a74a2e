#include "session/reconnection.h"

#include <gtest/gtest.h>

#include "base/tiles.h"
#include "doubles/client_harness.h"
#include "session/outgoing.h"
#include "session/proxy.h"

namespace tallow::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint16_t kToken = 0x5678;

// A logged-in client at a table with a hand in play.
struct InHand {
  explicit InHand(const char* line = kPlayerLine) : h(line) {}
  void LogIn() {
    h.StartAndLogIn();
    Deliver(ClientHarness::ServerRecord(18, 0, {3, 8, 0, 1}, 0x1234));
    Deliver(ClientHarness::ServerRecord(24, 0, {}, kToken));
    const int bits[] = {1, 8, 4, 2};  // seat 0 here; the others by their relative positions
    for (int rel = 0; rel < 4; ++rel)
      c().table.custom(rel).SeatBit = static_cast<std::uint8_t>(bits[rel]);
    c().session.TableActive = -1;
  }
  void Deliver(const protocol::Record& r, std::int64_t ms = 200) {
    h.p.socket.Deliver(r);
    h.Run(ms);
  }
  // The connection breaks; returns the virtual time at which the client noticed.
  std::int64_t Break(bool acceptAgain) {
    h.p.socket.accept = acceptAgain;
    h.p.socket.PeerClose();
    EXPECT_TRUE(h.p.clock.RunUntil([&] { return c().forms.frmReconnect.Loaded; }, 100));
    return h.p.clock.NowMs();
  }
  Client& c() { return h.c(); }
  ClientHarness h;
};

TEST(Reconnection, AttemptsEveryThreeSecondsThenGivesUp) {
  InHand t;
  t.LogIn();
  const std::size_t before = t.h.p.socket.connectTimes.size();
  const std::int64_t noticed = t.Break(false);
  EXPECT_EQ(t.c().play.TurnTimerAllowed, 0);
  const auto ended = t.h.Run(60'000);
  std::vector<std::int64_t> attempts;
  for (std::size_t k = before; k < t.h.p.socket.connectTimes.size(); ++k) {
    attempts.push_back(t.h.p.socket.connectTimes[k] - noticed);
  }
  ASSERT_EQ(attempts.size(), 16u);
  for (std::size_t k = 0; k < attempts.size(); ++k) {
    EXPECT_NEAR(attempts[k], 4000 + 3000 * static_cast<std::int64_t>(k), 50) << k;
  }
  ASSERT_TRUE(ended);
  EXPECT_NEAR(t.h.p.clock.NowMs() - noticed, 52'000, 50);
  ASSERT_EQ(t.h.p.dialogs.boxes.size(), 1u);
  EXPECT_EQ(t.h.p.dialogs.boxes[0].text, kReconnectGaveUpBox);
  EXPECT_EQ(t.h.p.hall.SysCommands().back(), platform::wm::kScRestore);
  EXPECT_EQ(t.c().mainForm.Sysmsg(0).lines.at(0), kReconnectingLine);
}

TEST(Reconnection, ReloginCarriesTheLoginAndTokenAndTheAnswerKeepsIt) {
  InHand t;
  t.LogIn();
  const protocol::Record login = t.h.p.socket.SentRecords().at(0);
  t.h.p.socket.sent.clear();
  const std::int64_t noticed = t.Break(true);
  t.h.Run(4300);
  const auto sent = t.h.p.socket.SentRecords();
  ASSERT_EQ(sent.size(), 1u);
  protocol::Record expected = login;
  expected[3] = 28;
  expected[260] = kToken >> 8;
  expected[261] = kToken & 0xFF;
  EXPECT_EQ(sent[0], expected);
  EXPECT_TRUE(t.c().session.LoginPending);

  // An offer from before the break counts down no more once the server has answered.
  t.c().scheduler.Enable(TickScheduler::kTurnTimer);
  t.c().mainForm.Operation(4).Visible = true;
  t.Deliver(ClientHarness::ServerRecord(29, 0, {0, 0, 0, 1}, 0x9999));
  auto& c = t.c();
  EXPECT_FALSE(c.scheduler[TickScheduler::kTurnTimer].enabled);
  EXPECT_FALSE(c.mainForm.Operation(4).Visible);
  EXPECT_EQ(c.framing.SessionToken, (std::array<std::uint8_t, 2>{0x56, 0x78}));
  EXPECT_EQ(c.mainForm.Sysmsg(0).lines.at(0), kReconnectAcceptedLine);
  EXPECT_NE(c.play.TurnTimerAllowed, 0);
  EXPECT_FALSE(c.session.LoginPending);
  t.h.p.clock.RunUntil([&] { return !c.forms.frmReconnect.Loaded; }, 7000);
  EXPECT_LE(t.h.p.clock.NowMs() - noticed, 7000);
  EXPECT_FALSE(c.forms.frmReconnect.Loaded);

  // Leaving now waits 0.8 s instead of the 0.4 s of a client never reconnected.
  for (auto* harness : {&t.h, static_cast<ClientHarness*>(nullptr)}) {
    ClientHarness fresh;
    ClientHarness& x = harness != nullptr ? *harness : fresh;
    if (harness == nullptr) x.StartAndLogIn();
    x.c().session.TableActive = 0;
    const std::int64_t start = x.p.clock.NowMs();
    x.p.hall.Request(platform::wm::kLeaveNow);
    EXPECT_NEAR(x.p.clock.NowMs() - start, harness != nullptr ? 800 : 400, 30);
  }
}

TEST(Reconnection, RefusedAnswerRestoresTheHallAndEnds) {
  InHand t;
  t.LogIn();
  t.Break(true);
  t.h.Run(4300);
  t.h.p.socket.Deliver(ClientHarness::ServerRecord(29, 0, {0, 0, 0, 2}));
  const auto ended = t.h.Run(200);
  ASSERT_TRUE(ended);
  ASSERT_EQ(t.h.p.dialogs.boxes.size(), 1u);
  EXPECT_EQ(t.h.p.dialogs.boxes[0].text, kReconnectRefusedBox);
  EXPECT_EQ(t.h.p.hall.SysCommands().back(), platform::wm::kScRestore);
}

// A peer that takes every connection and drops it at once never answers a relogin: the
// attempts are counted across the breaks, so the client still gives up.
TEST(Reconnection, LinkDroppedBeforeEveryAnswerStillGivesUp) {
  InHand t;
  t.LogIn();
  t.Break(true);
  t.h.p.socket.onConnected = [&] { t.h.p.socket.PeerClose(); };
  std::optional<ProcessEnded> ended;
  for (int i = 0; i < 400 && !ended; ++i) ended = t.h.Run(500);
  ASSERT_TRUE(ended);
  ASSERT_FALSE(t.h.p.dialogs.boxes.empty());
  EXPECT_EQ(t.h.p.dialogs.boxes.back().text, kReconnectGaveUpBox);
  EXPECT_LE(t.h.p.socket.connects, 1 + 16);
}

TEST(Reconnection, BreakOutsideAGameAndAfterTheGameEndedGoesBackToTheHall) {
  InHand t;
  t.LogIn();
  t.c().session.TableActive = 0;
  t.h.p.socket.PeerClose();
  t.h.Run(200);
  EXPECT_FALSE(t.c().forms.frmReconnect.Loaded);
  EXPECT_EQ(t.c().mainForm.State, ui::WindowState::Minimized);

  // A hand ends while the client reconnects: the reconnection stops at its next attempt and
  // the break is handled as one outside a game. A later break starts a fresh reconnection.
  InHand u;
  u.LogIn();
  u.Break(false);
  u.h.Run(2000);
  u.c().session.TableActive = 0;
  const int connects = u.h.p.socket.connects;
  u.h.Run(2200);
  EXPECT_EQ(u.h.p.socket.connects, connects);
  EXPECT_FALSE(u.c().forms.frmReconnect.Loaded);
  EXPECT_EQ(u.h.p.hall.SysCommands().back(), platform::wm::kScRestore);
  u.h.p.socket.accept = true;
  u.h.p.hall.Request(platform::wm::kConnect);
  u.h.Run(300);
  u.Deliver(ClientHarness::ServerRecord(18, 0, {3, 8, 0, 1}, kToken));
  u.c().session.TableActive = -1;
  const std::int64_t noticed = u.Break(false);
  EXPECT_EQ(u.c().reconnect.ReconnectAttempts, 0);
  u.h.p.clock.RunUntil([&] { return u.h.p.socket.connects > connects + 1; }, 5000);
  EXPECT_NEAR(u.h.p.clock.NowMs() - noticed, 4000, 50);
}

// What was queued for the lost connection, and a record cut off by the break, are dropped; no
// move is queued while the client reconnects, and chat typed meanwhile leaves after the answer.
TEST(Reconnection, RingsStartCleanOnTheNewConnection) {
  InHand t;
  t.LogIn();
  const auto partial = ClientHarness::ServerRecord(2, 2, {0, 0, 0, 0x23});
  t.h.p.socket.Deliver(Bytes(partial.begin(), partial.begin() + 100));
  t.h.p.socket.accept = true;
  t.h.p.socket.PeerClose();
  t.h.p.clock.PumpEvents();
  protocol::Header discard;
  discard.Code = 2;
  QueueMessage(t.c(), discard);
  ASSERT_TRUE(t.h.p.clock.RunUntil([&] { return t.c().forms.frmReconnect.Loaded; }, 100));
  QueueMessage(t.c(), discard);  // no move is made while reconnecting
  t.c().send.ChatText = "hi";
  protocol::Header chat;
  chat.Code = 19;
  QueueMessage(t.c(), chat);
  t.h.p.socket.sent.clear();
  t.h.Run(4300);
  ASSERT_EQ(t.h.p.socket.SentRecords().size(), 1u);  // the relogin, nothing else yet
  t.Deliver(ClientHarness::ServerRecord(29, 0, {0, 0, 0, 1}, kToken));
  EXPECT_EQ(t.c().mainForm.Sysmsg(0).lines.at(0), kReconnectAcceptedLine);
  const auto sent = t.h.p.socket.SentRecords();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1][3], 19);
}

// Type 41 after an accepted relogin: the hand goes on from its starting wall, by the rule of
// a spectator's client, and the toolbar keeps its state.
TEST(Reconnection, TableClearedOnReturnStartsFromTheHandsWall) {
  struct Case {
    int dealerBit, v0, v1, head;
  };
  for (const Case k : {Case{4, 7, 3, 20}, Case{1, 2, 55, 96}, Case{8, 12, 0, 92}}) {
    InHand t;
    t.LogIn();
    t.Break(true);
    t.h.Run(4300);
    auto& c = t.c();
    c.toolbar.ToolbarLock(0) = 0;
    c.mainForm.AnNiu(0).Enabled = true;
    t.Deliver(ClientHarness::ServerRecord(29, 0, {0, 0, 0, 1}, kToken));
    t.Deliver(ClientHarness::ServerRecord(41, k.dealerBit, {k.v0, k.v1, 0x23, 0x22}, kToken));
    EXPECT_NE(c.session.TableActive, 0);
    EXPECT_EQ(c.table.WallHead, k.head) << k.dealerBit;
    EXPECT_EQ(c.table.WallTail, (k.head + 118) % 120);
    EXPECT_NE(c.table.custom(RelativeSeat(1, k.dealerBit)).IsDealer, 0);
    EXPECT_EQ(c.table.WildTile, 0x23);
    EXPECT_EQ(c.toolbar.ToolbarLock(0), 0);
    EXPECT_TRUE(c.mainForm.AnNiu(0).Enabled);
  }
}

TEST(Reconnection, ThroughTheProxy) {
  InHand t("alice$pw$10.0.0.9$7000$Room$5$127.0.0.1$1080$u$p$0$$$");
  t.h.Start();
  t.h.Run(100);
  auto& sock = t.h.p.socket;
  for (const Bytes& reply : {Bytes{5, 0}, Bytes{5, 0, 0, 1, 0, 0, 0, 0, 0, 0}}) {
    sock.Deliver(reply);
    t.h.Run(10);
  }
  t.Deliver(ClientHarness::ServerRecord(18, 0, {3, 8, 0, 1}, kToken));
  t.c().session.TableActive = -1;
  const std::int64_t noticed = t.Break(true);

  // The first attempt meets a proxy that refuses the password: the line goes to the message
  // rows and the next attempt follows on time.
  t.h.Run(4100);
  sock.sent.clear();
  sock.Deliver(Bytes{5, 2});
  t.h.Run(10);
  sock.Deliver(Bytes{1, 1});
  t.h.Run(10);
  EXPECT_TRUE(t.h.p.dialogs.boxes.empty());
  EXPECT_EQ(t.c().mainForm.Sysmsg(1).lines.at(0), kProxyAuthRefused);
  t.h.p.clock.RunUntil([&] { return sock.State() == platform::ISocket::kConnected; }, 5000);
  EXPECT_NEAR(t.h.p.clock.NowMs() - noticed, 7000, 60);
  EXPECT_EQ(sock.remotePort, 1080);
  t.h.Run(100);
  sock.sent.clear();
  for (const Bytes& reply : {Bytes{5, 0}, Bytes{5, 0, 0, 1, 0, 0, 0, 0, 0, 0}}) {
    sock.Deliver(reply);
    t.h.Run(10);
  }
  const auto sent = sock.sent;
  ASSERT_EQ(sent.size(), 10u + protocol::kRecordSize);
  EXPECT_EQ(sent[10 + 3], 28);
  EXPECT_EQ(sent[10 + 260], kToken >> 8);
  t.Deliver(ClientHarness::ServerRecord(29, 0, {0, 0, 0, 1}, kToken));
  EXPECT_EQ(t.c().mainForm.Sysmsg(0).lines.at(0), kReconnectAcceptedLine);
}

}  // namespace
}  // namespace tallow::testing
