#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "doubles/client_harness.h"
#include "hand/game_record.h"
#include "session/framing.h"
#include "session/receive.h"

namespace tallow::testing {
namespace {

class Settlement : public ::testing::Test {
 public:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("tallow-settle-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    h.p.process.appPath = dir.string();
    h.Start();
    c().table.custom(0).SeatBit = 1;  // relative seat s is seat bit 1 << ((4 - s) & 3)
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  Client& c() { return h.c(); }
  static int Bit(int rel) { return 1 << ((4 - rel) & 3); }

  void Deliver(const protocol::Record& r) {
    AppendReceived(c(), r);
    ExtractMessage(c());
    DispatchMessage(c());
  }
  void HandResult(int rel, std::int64_t score, int keep = 1) {
    auto r = ClientHarness::ServerRecord(9, Bit(rel), {0, keep, 0, 0});
    for (int i = 0; i < 8; ++i) r[16 + i] = static_cast<std::uint8_t>(score >> (8 * i));
    Deliver(r);
  }
  // A settlement record: bytes by position (16..61).
  void SeatScore(int rel, int stake, std::map<int, int> bytes) {
    auto r = ClientHarness::ServerRecord(17, Bit(rel), {stake >> 8, stake & 0xFF, 0, 1});
    for (auto [b, v] : bytes) r[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(v);
    Deliver(r);
  }
  bool Has(int list, const std::string& line) {
    const auto& lines = c().forms.Score.State(list).lines;
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  ClientHarness h;
  std::filesystem::path dir;
};

TEST_F(Settlement, HandScoreDecoding) {
  HandResult(1, -1, 1);
  EXPECT_EQ(c().table.custom(1).HandScore, -1);
  HandResult(2, -1, 0);
  EXPECT_EQ(c().table.custom(2).HandScore, 1);
  HandResult(3, 300, 1);
  EXPECT_EQ(c().table.custom(3).HandScore, 300);
}

TEST_F(Settlement, FourZeroScoresAreADrawnHand) {
  c().session.HandNumber = 1;
  for (int s = 0; s <= 3; ++s) HandResult(s, 0);
  for (int s = 0; s <= 3; ++s) {
    EXPECT_TRUE(Has(s, "      黄  庄"));
    EXPECT_TRUE(Has(s + 4, "最终分：0金币"));
    EXPECT_EQ(c().forms.Score.ID(s).ForeColor, 0xFF0000u);  // red
  }
  EXPECT_EQ(c().table.TurnCountdown, 15);
  EXPECT_TRUE(c().scheduler[TickScheduler::kContinue].enabled);
  EXPECT_TRUE(std::filesystem::exists(dir / "info.jk"));
}

// Stake 2; relative seat 0 wins self-drawn; seats 1..3 pay with fan totals 1, 2, 3.
void SelfDrawn(Settlement& t, int discarder) {
  for (int s = 0; s <= 3; ++s) t.HandResult(s, s == 0 ? 28 : -4);
  t.SeatScore(0, 2, {{24, 1}, {20, discarder < 0 ? 2 : 1}});
  for (int s = 1; s <= 3; ++s) {
    std::map<int, int> b{{24, 2}, {25, s}, {27, 1}};
    if (s == discarder) b[20] = 1;
    t.SeatScore(s, 2, b);
  }
}

TEST_F(Settlement, SelfDrawnPaymentsDoubleWithEveryFan) {
  SelfDrawn(*this, -1);
  EXPECT_TRUE(Has(1, "胡牌得分：-4金币"));
  EXPECT_TRUE(Has(2, "胡牌得分：-8金币"));
  EXPECT_TRUE(Has(3, "胡牌得分：-16金币"));
  EXPECT_TRUE(Has(0, "胡牌得分:28金币"));
  EXPECT_TRUE(Has(1, "  自  摸      1番"));
}

TEST_F(Settlement, TheDiscarderPaysForEveryone) {
  SelfDrawn(*this, 2);
  EXPECT_TRUE(Has(2, "胡牌得分：-28金币"));
  EXPECT_TRUE(Has(1, "胡牌得分： 0金币"));
  EXPECT_TRUE(Has(3, "胡牌得分： 0金币"));
  EXPECT_TRUE(Has(0, "胡牌得分:28金币"));
  EXPECT_TRUE(Has(2, "  点  炮      1番"));
}

TEST_F(Settlement, RobotsContinueAfterFiveSeconds) {
  c().session.RobotMode = true;
  SelfDrawn(*this, -1);
  EXPECT_EQ(c().table.TurnCountdown, 5);
}

// A win or loss counter the server sent at its 32-bit largest cannot count one more: the
// settlement ends the client through the failure rule instead of overflowing (found by
// fuzzing). Relative seat 0 wins 28, the others pay 4 each.
TEST_F(Settlement, ACounterAtItsLargestEndsTheClientInsteadOfOverflowing) {
  for (int seat : {0, 3}) {
    auto& info = c().players.PlayerInfo(seat);
    (seat == 0 ? info.Wins : info.Losses) = 2147483647;
    h.p.process.ended = false;
    EXPECT_THROW(
        {
          for (int s = 0; s <= 3; ++s) HandResult(s, s == 0 ? 28 : -4);
          for (int s = 0; s <= 3; ++s) {
            SeatScore(s, 2,
                      s == 0 ? std::map<int, int>{{36, 28}} : std::map<int, int>{{36, 4}, {44, 2}});
          }
        },
        ProcessEnded)
        << seat;
    EXPECT_TRUE(h.p.process.ended);
    info.Wins = info.Losses = 0;
  }
}

TEST_F(Settlement, RecordSectionsAndShowingAnEarlierHand) {
  for (int n = 1; n <= 3; ++n) {
    c().session.HandNumber = static_cast<short>(n);
    if (n == 2) {
      SelfDrawn(*this, -1);
    } else {
      for (int s = 0; s <= 3; ++s) HandResult(s, 0);
    }
  }
  EXPECT_EQ(c().forms.Hero.Num.ListCount(), 3);
  auto& list = c().forms.Score.State(1).lines;
  HeroRowDoubleClicked(c(), 1);  // the second row is hand 2
  EXPECT_TRUE(Has(1, "胡牌得分：-4金币"));
  EXPECT_TRUE(c().forms.Score.Visible);
  // A stored list shorter than what is shown leaves exactly the stored lines.
  const auto stored = list.size();
  list.resize(stored + 2, "x");
  ShowHandRecord(c(), 2);
  EXPECT_EQ(list.size(), stored);
  // A hand that was never recorded changes nothing.
  ShowHandRecord(c(), 9);
  EXPECT_EQ(list.size(), stored);
}

}  // namespace
}  // namespace tallow::testing
