// Four robot clients and the server's core in virtual time; seats lose their links at random
// points of the hands (during the deal, while a claim is offered, on their own turn, anywhere)
// and reconnect by themselves. Every hand must reach its result, and every client's view must
// equal the server's after every message it handles, the restored hands' too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "doubles/table_checks.h"
#include "doubles/table_harness.h"

namespace tallow::testing {
namespace {

enum class Moment { Deal, ClaimOffer, OwnTurn, Anywhere, kCount };

TEST(LinkLoss, SeatsLoseTheirLinksAndEveryHandEndsAsTheServerHasIt) {
  const int wanted = HandsFromEnvironment("TALLOW_LINK_LOSS_HANDS", 300);
  server::Config config;
  config.startCoins = 1'000'000'000;
  TableHarness t(77, true, config);
  TableChecker checker;
  std::mt19937 rng(77);

  // This hand's plan: which seat loses its link, and at which moment.
  int planHand = 0, planSeat = -1, countdown = 0;
  Moment planMoment = Moment::Anywhere;
  int breakDue = -1;
  Moment dueMoment = Moment::Anywhere;
  std::array<int, 4> lastTurnType{};
  int handsWithBreak = 0, breaks = 0;
  std::array<int, static_cast<int>(Moment::kCount)> byMoment{};
  std::array<int, 4> breakHand{};
  std::array<std::int64_t, 4> linkBackMs{};
  std::vector<std::int64_t> restoreMs;  // link back to the restored table

  t.onSend = [&](int seat, const protocol::Record& rec) {
    const int type = rec[protocol::off::kType];
    if (type == 4 && seat == 0) {
      ++planHand;
      planSeat = -1;
      if (rng() % 3 != 0) {
        planSeat = static_cast<int>(rng() % 4);
        planMoment = static_cast<Moment>(rng() % static_cast<unsigned>(Moment::kCount));
        countdown = static_cast<int>(rng() % 120);
      }
    }
    if (seat == planSeat && breakDue < 0) {
      const bool offer = type == 6;
      const bool due = (planMoment == Moment::Deal && type == 1) ||
                       (planMoment == Moment::ClaimOffer && offer && lastTurnType[seat] == 2) ||
                       (planMoment == Moment::OwnTurn && offer && lastTurnType[seat] == 5) ||
                       (planMoment == Moment::Anywhere && countdown-- == 0);
      if (due) {
        breakDue = seat;
        dueMoment = planMoment;
        planSeat = -1;
      }
    }
    if (type == 1 || type == 2 || type == 5 || type == 7) lastTurnType[seat] = type;
  };
  // The link breaks outside the clients' ticks, while the server's hand is in play and the
  // client knows it (a break between hands is not repaired, by design).
  t.onStep = [&] {
    if (breakDue < 0) return;
    auto& s = *t.seats[static_cast<std::size_t>(breakDue)];
    const server::Hand* hand = t.core.HandAt(0);
    if (hand == nullptr || hand->Over() || s.client->reconnect.AwaitingAnswer || s.conn < 0) {
      breakDue = -1;
      return;
    }
    if (s.client->session.TableActive == 0) return;  // the new hand has not reached it yet
    if (breakHand[static_cast<std::size_t>(breakDue)] != planHand) ++handsWithBreak;
    breakHand[static_cast<std::size_t>(breakDue)] = planHand;
    ++breaks;
    ++byMoment[static_cast<std::size_t>(dueMoment)];
    s.socket.PeerClose();
    breakDue = -1;
  };
  t.StartAll(/*robotClients=*/true);
  for (int i = 0; i < 4; ++i) {
    auto& s = *t.seats[static_cast<std::size_t>(i)];
    // Records still on their way when the link broke never reach the client: they are the
    // last ones sent to it, since nothing more is sent to a closed connection.
    s.socket.onDropped = [&s] {
      if (!s.pending.empty()) s.pending.pop_back();
    };
    auto connected = s.socket.onConnected;
    s.socket.onConnected = [&t, &s, &linkBackMs, i, connected] {
      if (s.client && s.client->reconnect.AwaitingAnswer) {
        linkBackMs[static_cast<std::size_t>(i)] = t.clock.NowMs();
      }
      connected();
    };
  }
  std::array<int, 4> snapshots{}, restoredHand{};
  int checkedAfterRestore = 0;  // records compared in a hand after its restore
  t.check = [&](int seat, const SeatView& v, Client& c) {
    checker.Check(v, c, t.failures);
    const auto i = static_cast<std::size_t>(seat);
    if (restoredHand[i] == v.hand && v.type != 40) ++checkedAfterRestore;
    if (v.type == 41) snapshots[i] = 0;
    if (v.type == 40 && ++snapshots[i] == 4) restoredHand[i] = v.hand;
    if (v.type == 40 && snapshots[i] == 4 && linkBackMs[i] > 0) {
      restoreMs.push_back(v.handledMs - linkBackMs[i]);
      linkBackMs[i] = 0;
    }
  };
  const bool done = t.Run(
      static_cast<std::int64_t>(wanted) * 600'000,
      [&] { return t.core.FinishedHandsAt(0) >= wanted; }, 50);
  for (const auto& f : t.failures) ADD_FAILURE() << f;
  EXPECT_TRUE(done) << "finished " << t.core.FinishedHandsAt(0) << " of " << wanted << " hands";
  for (auto& s : t.seats) EXPECT_FALSE(s->ended.has_value()) << s->ended->reason;
  EXPECT_GT(handsWithBreak, wanted / 3);
  EXPECT_GT(checkedAfterRestore, handsWithBreak * 10);
  // A returning player answers what he is offered again: no offer is left to the server.
  for (const auto& s : t.silences) ADD_FAILURE() << s;
  for (int n : byMoment) EXPECT_GT(n, 0);
  ASSERT_FALSE(restoreMs.empty());
  std::sort(restoreMs.begin(), restoreMs.end());
  std::printf(
      "hands %d, with a lost link %d (%d breaks: deal %d, claim %d, own turn %d, anywhere %d); "
      "%d records compared after restores; link back to restored table: median %lld ms, max "
      "%lld ms\n",
      t.core.FinishedHandsAt(0), handsWithBreak, breaks, byMoment[0], byMoment[1], byMoment[2],
      byMoment[3], checkedAfterRestore, static_cast<long long>(restoreMs[restoreMs.size() / 2]),
      static_cast<long long>(restoreMs.back()));
}

}  // namespace
}  // namespace tallow::testing
