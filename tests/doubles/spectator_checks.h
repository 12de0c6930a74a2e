// The checks of a spectator at the whole table: after its restore and after every later record
// it agrees with the player it watches wherever the two must agree (hand counters and sets, pool
// cursors, wall pointers, the watched hand's tiles), its sets are the server's, and it shows no
// face it cannot know (every hand face down, the wall face down but for the indicator).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "doubles/table_harness.h"

namespace tallow::testing {

// What a client shows of the table that a spectator and the watched player must agree on.
struct WatchSummary {
  struct Seat {
    int handCount = 0, handStart = 0, meldEnd = 0, red = 0, wild = 0, seatBit = 0;
    bool dealer = false;
    int discardX = 0, discardY = 0;
    std::vector<int> setValues;  // the known tiles of its completed sets, sorted
    std::vector<int> concealed;  // the concealed tiles (position 0 only), sorted
  };
  std::array<Seat, 4> seats{};
  int wallHead = 0, wallTail = 0, wallHeadDraw = 0, rightPool = 0, wild = 0;
};

WatchSummary Summarize(const Client& c);

class SpectatorChecker {
 public:
  // A new spectator joins: what was kept for the last one is forgotten.
  void Reset();
  // The watched player has handled a record.
  void Player(const SeatView& v, const Client& c, std::vector<std::string>& failures);
  // The spectator has handled a record; `settled` is false while more records of its restore
  // wait (its table is complete only after the last).
  void Spectator(const SeatView& v, const Client& c, bool settled,
                 std::vector<std::string>& failures);

  std::size_t limit = 40;
  std::uint64_t compared = 0;  // spectator views compared with the watched player's
  std::uint64_t checked = 0;   // spectator views checked against the server

 private:
  void Compare(const SeatView& v, const WatchSummary& spectator, const WatchSummary& player,
               std::vector<std::string>& failures);
  void CheckFaces(const SeatView& v, const Client& c, std::vector<std::string>& failures);

  std::map<std::uint64_t, WatchSummary> player_;  // the watched player's recent views by serial
  std::uint64_t playerHandled_ = 0;
  // Spectator views whose twin the watched player has not handled yet.
  std::multimap<std::uint64_t, std::pair<SeatView, WatchSummary>> waiting_;
};

}  // namespace tallow::testing
