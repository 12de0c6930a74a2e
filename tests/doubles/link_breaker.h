// Seats of a whole table losing their links at random moments of the hands: during the deal,
// while a claim is offered, on their own turn, or at any record. The clients reconnect by
// themselves; the breaker counts the breaks and times each seat's return.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "doubles/table_harness.h"

namespace tallow::testing {

class LinkBreaker {
 public:
  enum class Moment { Deal, ClaimOffer, OwnTurn, Anywhere, kCount };

  // Chains itself onto the harness's hooks and sockets: set the harness's own hooks first. In
  // two hands of three one seat loses its link.
  LinkBreaker(TableHarness& t, std::uint32_t seed);

  int handsWithBreak = 0;  // hands in which at least one seat lost its link
  int breaks = 0;
  int endsSeen = 0;  // hands with a break whose result the seat that broke then handled
  std::array<int, static_cast<int>(Moment::kCount)> byMoment{};
  int checkedAfterRestore = 0;          // records compared in a hand after its restore
  std::vector<std::int64_t> restoreMs;  // virtual time from the link back to the restored table

 private:
  void OnSend(int seat, const protocol::Record& rec);
  void OnStep();
  void OnHandled(int seat, const SeatView& v);

  TableHarness& t_;
  std::mt19937 rng_;
  int planHand_ = 0, planSeat_ = -1, countdown_ = 0;
  Moment planMoment_ = Moment::Anywhere;
  int breakDue_ = -1;
  Moment dueMoment_ = Moment::Anywhere;
  std::array<int, 4> lastTurnType_{};
  std::array<int, 4> breakHand_{};
  std::array<bool, 4> awaitingEnd_{};
  std::array<std::int64_t, 4> linkBackMs_{};
  std::array<int, 4> snapshots_{}, restoredHand_{};
};

}  // namespace tallow::testing
