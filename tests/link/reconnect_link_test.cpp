// The real client, a real server and a relay of the test's own between them: links cut in the
// middle of a hand.
#include <gtest/gtest.h>

#include <algorithm>

#include "link_fixture.h"
#include "platform/platform.h"

namespace tallow::link {
namespace {

using namespace std::chrono_literals;
namespace wm = platform::wm;

bool RestoredHall(Table& t) {
  return t.halls_->Received("hall-alice", platform::hall_link::kSend, wm::kScRestore);
}

TEST(ReconnectLink, CutInTheMiddleOfAHandAndPlayedToTheSettlement) {
  Table t;
  ASSERT_TRUE(t.StartServer()) << t.Logs();
  Relay relay(t.port_);
  CutInTheMiddleOfTheHand(relay);
  ASSERT_TRUE(t.Seat());
  t.StartAlice("127.0.0.1", relay.Port());
  ASSERT_TRUE(WaitUntil([&] { return t.Hands().second >= 1; }, 150s)) << t.Logs();
  ASSERT_GE(relay.Accepted(), 2) << t.Logs();

  // The new link: the answer, the cleared table, four snapshots; then alice plays on.
  const auto back = relay.ServerTypes(1);
  ASSERT_GE(back.size(), 6u);
  EXPECT_EQ(std::vector<int>(back.begin(), back.begin() + 6),
            (std::vector<int>{29, 41, 40, 40, 40, 40}));
  const auto sent = relay.ClientCodes(1);
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent[0], 28);
  EXPECT_TRUE(std::any_of(sent.begin(), sent.end(), [](int c) { return c == 2 || c == 7; }))
      << "alice made no move after coming back";
  const auto restored = relay.PassedAt(1, 40, 3);
  ASSERT_TRUE(restored);
  std::printf("link back to the fourth snapshot: %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         *restored - relay.AcceptedAt(1))
                                         .count()));

  // Her record of the hand: the settlement she showed, amounts summing to zero.
  ASSERT_TRUE(WaitUntil([&] { return !RecordedAmounts(t.AliceRecord()).empty(); }, 20s));
  const auto amounts = RecordedAmounts(t.AliceRecord()).front();
  ASSERT_EQ(amounts.size(), 4u) << t.AliceRecord();
  EXPECT_EQ(amounts[0] + amounts[1] + amounts[2] + amounts[3], 0);
  EXPECT_EQ(t.alice_->Wait(0), std::nullopt) << t.AliceLog();
}

TEST(ReconnectLink, RelayKeptClosedGivesUpAfterSixteenAttempts) {
  Table t;
  ASSERT_TRUE(t.StartServer()) << t.Logs();
  Relay relay(t.port_);
  ASSERT_TRUE(t.Seat());
  t.StartAlice("127.0.0.1", relay.Port());
  ASSERT_TRUE(WaitUntil([&] { return relay.ServerTypes(0).size() > 40; }, 60s)) << t.Logs();
  const auto cut = Clock::now();
  relay.Close();
  ASSERT_TRUE(t.alice_->Wait(90'000)) << t.AliceLog();
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - cut).count();
  EXPECT_GE(seconds, 50);
  EXPECT_LE(seconds, 60);
  EXPECT_NE(t.AliceLog().find("重连失败，请检查您的网络！"), std::string::npos) << t.AliceLog();
  EXPECT_TRUE(RestoredHall(t));
  EXPECT_EQ(relay.Accepted(), 1);
}

TEST(ReconnectLink, FreshServerRefusesTheReloginAndTheClientReturnsToTheHall) {
  Table t;
  ASSERT_TRUE(t.StartServer()) << t.Logs();
  ASSERT_TRUE(t.Seat());
  t.StartAlice("127.0.0.1", t.port_);
  ASSERT_TRUE(WaitUntil([&] { return t.Hands().first >= 1; }, 60s)) << t.Logs();
  std::this_thread::sleep_for(3s);  // into the hand
  const int port = t.port_;
  t.StopServer();
  ASSERT_TRUE(t.StartServer(port)) << t.Logs();
  ASSERT_TRUE(t.alice_->Wait(60'000)) << t.AliceLog();
  EXPECT_NE(t.AliceLog().find("重连服务器失败，退出后请重新入座！"), std::string::npos)
      << t.AliceLog();
  EXPECT_TRUE(RestoredHall(t));
}

}  // namespace
}  // namespace tallow::link
