#include "session/framing.h"

#include <gtest/gtest.h>

#include "doubles/client_harness.h"
#include "session/receive.h"

namespace tallow::testing {
namespace {

using protocol::Record;

class Framing : public ::testing::Test {
 protected:
  void SetUp() override { h.StartAndLogIn(); }
  ClientHarness h;
  Client& c() { return h.c(); }
};

TEST_F(Framing, ChunksAreJoinedAndWakeTheReceiveSlot) {
  auto rec = ClientHarness::ServerRecord(10);
  c().scheduler.Disable(TickScheduler::kReceive);
  AppendReceived(c(), std::span<const std::uint8_t>(rec).first(100));
  EXPECT_EQ(c().receive.Unread(), 100);
  c().scheduler[TickScheduler::kReceive].counter = 1;
  AppendReceived(c(), std::span<const std::uint8_t>(rec).subspan(100));
  EXPECT_EQ(c().receive.Unread(), 272);
  EXPECT_TRUE(c().scheduler[TickScheduler::kReceive].enabled);
  EXPECT_EQ(c().scheduler[TickScheduler::kReceive].counter, 0);

  std::vector<std::uint8_t> odd(271, 7);
  AppendReceived(c(), odd);
  EXPECT_EQ(c().receive.Unread(), 272 + 271);
}

TEST_F(Framing, LargestRingSurvivesAndOverflowEndsAfterRestoringHall) {
  std::vector<std::uint8_t> bytes(kRingSize - 1, 0);
  AppendReceived(c(), bytes);
  EXPECT_EQ(c().receive.Unread(), kRingSize - 1);
  const std::uint8_t one = 0;
  EXPECT_THROW(AppendReceived(c(), std::span<const std::uint8_t>(&one, 1)), ProcessEnded);
  ASSERT_FALSE(h.p.hall.SysCommands().empty());
  EXPECT_EQ(h.p.hall.SysCommands().back(), platform::wm::kScRestore);
}

TEST_F(Framing, ProxyRingOverflowEndsToo) {
  c().receive.ProxyNegotiated = false;
  std::vector<std::uint8_t> bytes(kProxyRingSize - 1, 0);
  AppendReceived(c(), bytes);
  const std::uint8_t one = 0;
  EXPECT_THROW(AppendReceived(c(), std::span<const std::uint8_t>(&one, 1)), ProcessEnded);
}

TEST_F(Framing, TwoMessagesLeaveTwoTicksAfterArrivalThenOnTheNextTick) {
  // Align to a tick, then deliver both records in one burst.
  const auto before = c().receive.ReceiveRead;
  Record both[2] = {ClientHarness::ServerRecord(10, 0, {}, 0x0101),
                    ClientHarness::ServerRecord(10, 0, {}, 0x0202)};
  std::vector<std::uint8_t> bytes(both[0].begin(), both[0].end());
  bytes.insert(bytes.end(), both[1].begin(), both[1].end());
  h.p.socket.Deliver(bytes);
  h.p.clock.PumpEvents();  // the data arrives between ticks
  EXPECT_EQ(c().receive.Unread(), 544);
  h.Ticks(1);
  EXPECT_EQ(c().receive.Unread(), 544);
  h.Ticks(1);
  EXPECT_EQ(c().receive.Unread(), 272);
  EXPECT_EQ(c().framing.SessionToken[1], 0x01);
  h.Ticks(1);
  EXPECT_EQ(c().receive.Unread(), 0);
  EXPECT_EQ(c().framing.SessionToken[1], 0x02);
  EXPECT_EQ(c().receive.ReceiveRead, (before + 544) % kRingSize);
}

TEST_F(Framing, TokenTakenFromEveryTypeButReconnectResult) {
  struct Case {
    int type;
    std::uint16_t token;
    std::array<std::uint8_t, 2> expected;
  };
  const Case cases[] = {
      {10, 0xABCD, {0xAB, 0xCD}},  // ignored type, token still taken
      {29, 0x1111, {0xAB, 0xCD}},  // the reconnection answer keeps the token
      {99, 0x2222, {0x22, 0x22}},  // outside the catalogue
      {24, 0x3333, {0x33, 0x33}},
  };
  for (const auto& k : cases) {
    // (An accepted reconnection answer: a refused one ends the process.)
    auto rec = ClientHarness::ServerRecord(k.type, 0, {0, 0, 0, k.type == 29 ? 1 : 0}, k.token);
    AppendReceived(c(), rec);
    ExtractMessage(c());
    DispatchMessage(c());
    EXPECT_EQ(c().framing.SessionToken, k.expected) << k.type;
  }
}

TEST_F(Framing, ExtractionDecodesHeaderAndCollectsSeatNames) {
  auto rec = ClientHarness::ServerRecord(3, 0xF4, {1, 2, 3, 4});
  const char* name = "bobby";
  std::copy(name, name + 5, rec.begin() + 16);
  AppendReceived(c(), rec);
  ExtractMessage(c());
  EXPECT_EQ(c().framing.MessageHeader.SeatMask, 4);
  EXPECT_EQ(c().framing.SeatNames(2), "bobby");
  EXPECT_EQ(c().receive.Unread(), 0);

  auto wild = ClientHarness::ServerRecord(7, 1, {0, 0, 0xFF, 0xFE});
  AppendReceived(c(), wild);
  ExtractMessage(c());
  EXPECT_EQ(c().framing.MessageHeader.Value[2], 255);
  EXPECT_EQ(c().framing.MessageHeader.Value[3], 254);
}

TEST_F(Framing, WildTileMessageSetsTileAndIndicator) {
  AppendReceived(c(), ClientHarness::ServerRecord(14, 1, {0, 0, 0x123, 0x1F7}));
  ExtractMessage(c());
  DispatchMessage(c());
  EXPECT_EQ(c().table.WildTile, 0x23);
  EXPECT_EQ(c().table.WildIndicator, 0xF7);
}

TEST(DispatchTable, CasesFollowTheCatalogue) {
  const std::pair<int, int> cases[] = {{1, 0},   {9, 8},   {10, 22}, {13, 22}, {14, 9},
                                       {23, 18}, {24, 22}, {29, 19}, {30, 22}, {40, 20},
                                       {41, 21}, {0, -1},  {42, -1}, {255, -1}};
  for (auto [code, kase] : cases) EXPECT_EQ(DispatchCase(code), kase) << code;
}

TEST_F(Framing, WatchdogGivesUpASilentHand) {
  c().session.TableActive = -1;
  c().scheduler.Enable(TickScheduler::kReceive);
  c().framing.WatchdogCount = 2999;
  h.Ticks(2);
  EXPECT_EQ(c().session.TableActive, 0);
  EXPECT_EQ(c().framing.WatchdogCount, 0);
  EXPECT_EQ(c().mainForm.State, ui::WindowState::Minimized);
  ASSERT_EQ(c().mainForm.Sysmsg(0).ListCount(), 1);
  EXPECT_EQ(c().mainForm.Sysmsg(0).lines[0], kDisconnectedLine);
  EXPECT_EQ(h.p.hall.SysCommands().back(), platform::wm::kScRestore);
  EXPECT_EQ(h.p.socket.State(), platform::ISocket::kClosed);
}

TEST_F(Framing, WatchdogEndsWhenTheHallIsGone) {
  c().session.TableActive = -1;
  c().scheduler.Enable(TickScheduler::kReceive);
  c().framing.WatchdogCount = 2999;
  h.p.hall.exists = false;
  auto ended = h.Ticks(2);
  ASSERT_TRUE(ended.has_value());
}

}  // namespace
}  // namespace tallow::testing
