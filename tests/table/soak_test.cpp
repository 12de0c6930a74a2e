// The long soak: four robot clients and the server's core in virtual time for thousands of
// seeded hands, while spectators come and go and seats lose their links at random moments.
// Every view is checked after every message, no client may end, and the memory in use must not
// grow from the first tenth of the run to its end. TALLOW_SOAK_HANDS sets the number of hands
// (1,000 by default; the long run takes 10,000).
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>

#include "doubles/link_breaker.h"
#include "doubles/spectator_visits.h"
#include "doubles/table_harness.h"
#include "hand/game_record.h"

namespace tallow::testing {
namespace {

struct Memory {
  std::size_t allocated = 0;  // bytes handed out by malloc and not yet freed
  std::size_t resident = 0;   // resident set size
};

Memory MemoryNow() {
  Memory m;
  m.allocated = mallinfo2().uordblks;
  std::ifstream statm("/proc/self/statm");
  std::size_t size = 0, pages = 0;
  statm >> size >> pages;
  m.resident = pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return m;
}

// The test doubles log everything a client does; a long run forgets those logs as it goes.
// The record of the table (a row of the leaderboard and a section of the record file per
// hand) is kept by design until a new table forms; the long run lets it go every hundred hands,
// as a new table would.
void ForgetTableRecord(Client& c) {
  c.forms.Hero.Num.Clear();
  for (int s = 0; s <= 3; ++s) c.forms.Hero.Grade(s).Clear();
  DeleteGameRecord(c);
}

void ForgetLogs(TableHarness::Seat& s) {
  s.socket.sent.clear();
  s.socket.sendTimes.clear();
  s.socket.connectTimes.clear();
  s.sound.played.clear();
  s.hall.received.clear();
  s.dialogs.boxes.clear();
}

TEST(Soak, ThousandsOfHandsWithSpectatorsAndLostLinks) {
  const int wanted = HandsFromEnvironment("TALLOW_SOAK_HANDS", 1000);
  const int mark = std::max(1, wanted / 10);
  server::Config config;
  config.startCoins = 1'000'000'000;
  TableHarness t(2026, true, config);
  int forgotAt = 0;
  t.onStep = [&] {
    const int finished = t.core.FinishedHandsAt(0);
    if (finished == forgotAt) return;
    forgotAt = finished;
    for (auto& s : t.seats) {
      ForgetLogs(*s);
      if (finished % 100 == 0) ForgetTableRecord(*s->client);
    }
    if (t.spectator) ForgetLogs(*t.spectator);
  };
  // A spectator joins at a random record of a hand, or between hands, and leaves after the
  // hand's result.
  std::mt19937 draw(2026);
  int countdown = 0;
  bool betweenHands = false;
  SpectatorVisits visits(
      t, 2026,
      [&](int type, int, const server::Hand* hand) -> std::optional<std::string> {
        if (type == 4) {
          countdown = static_cast<int>(draw() % 150);
          betweenHands = draw() % 4 == 0;
        }
        if (type == 9 && betweenHands) return "between hands";
        if (hand != nullptr && !betweenHands && --countdown < 0) return "in a hand";
        return std::nullopt;
      },
      /*checkPlayers=*/true);
  LinkBreaker links(t, 2026);
  t.StartAll(/*robotClients=*/true);

  const auto started = std::chrono::steady_clock::now();
  auto playTo = [&](int hands) {
    return t.Run(
        static_cast<std::int64_t>(hands) * 600'000,
        [&] { return !t.failures.empty() || t.core.FinishedHandsAt(0) >= hands; }, 50);
  };
  const bool reachedMark = playTo(mark);
  const Memory atMark = MemoryNow();
  const bool done = reachedMark && playTo(wanted);
  const Memory atEnd = MemoryNow();
  const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started;

  for (const auto& f : t.failures) ADD_FAILURE() << f;
  EXPECT_TRUE(done) << "finished " << t.core.FinishedHandsAt(0) << " of " << wanted << " hands";
  for (auto& s : t.seats) EXPECT_FALSE(s->ended.has_value()) << s->ended->reason;
  for (const auto& s : t.silences) ADD_FAILURE() << s;
  EXPECT_GT(links.handsWithBreak, wanted / 3);
  EXPECT_GE(links.endsSeen, links.handsWithBreak - 1);
  EXPECT_GT(visits.watch.compared, static_cast<std::uint64_t>(wanted) * 10);
  // Nothing is kept per hand: what the process holds at the end is what it held early on,
  // give or take a mebibyte.
  EXPECT_LT(atEnd.allocated, atMark.allocated + (1u << 20));
  std::printf(
      "%d hands in %.1f s; %d with a lost link (%d breaks, the hand's result seen after %d); "
      "spectators: %d in a hand, %d between hands, %llu views compared with the player's\n"
      "allocated %.2f MiB and resident %.2f MiB at hand %d; %.2f MiB and %.2f MiB at hand %d\n",
      t.core.FinishedHandsAt(0), spent.count(), links.handsWithBreak, links.breaks, links.endsSeen,
      visits.joins["in a hand"], visits.joins["between hands"],
      static_cast<unsigned long long>(visits.watch.compared), atMark.allocated / 1048576.0,
      atMark.resident / 1048576.0, mark, atEnd.allocated / 1048576.0, atEnd.resident / 1048576.0,
      t.core.FinishedHandsAt(0));
}

}  // namespace
}  // namespace tallow::testing
