// Settlement of a won hand: fans, payments, kong scores and the per-seat settlement bytes.
#pragma once

#include <array>
#include <cstdint>

namespace tallow::server {

inline constexpr int kMaxFans = 10;

// What the table knows about each seat at the end of a won hand.
struct SeatFacts {
  bool dealer = false;
  bool open = false;     // laid down a chow, a pung or an exposed / one-tile kong
  int exposedKongs = 0;  // exposed kongs and one-tile kongs onto a pung
  int concealedKongs = 0;
  int kongFeeds = 0;           // own discards another seat made an exposed kong of
  int dragonSets = 0;          // 中发白 sets laid down
  std::int64_t kongUnits = 0;  // net kong score in stakes (positive: receives)
};

struct WinFacts {
  int winner = 0;
  int discarder = -1;  // -1: self-drawn
  bool closedWait = false;
  bool singleWait = false;
  bool allPungs = false;
  bool othersClosed = false;  // 三家立: no other seat laid down a chow, pung or kong
  bool kongDraw = false;      // 杠开
  bool robbedKong = false;    // 抢杠 (the discarder is the seat that added to its pung)
  bool lastTile = false;      // 海捞
  int kongFeeder = -1;        // seat whose discard made the kong before a 杠开 win
};

struct Settlement {
  std::array<int, 4> fans{};                // fan total of each paying seat (winner: 0)
  std::array<std::int64_t, 4> handScore{};  // win payments only: + winner, - who paid
  std::array<std::int64_t, 4> amount{};     // win payments plus kong scores
  // Settlement bytes 16..44 of each seat's record (index 0 = byte 16).
  std::array<std::array<std::uint8_t, 29>, 4> bytes{};
};

// Fans the winner's hand brings to every payment.
int WinnerFans(const WinFacts& w, const std::array<SeatFacts, 4>& seats);
// Fans of one paying seat (winner's fans included), capped at kMaxFans.
int PayerFans(const WinFacts& w, const std::array<SeatFacts, 4>& seats, int payer);

Settlement Settle(const WinFacts& w, const std::array<SeatFacts, 4>& seats, int stake);

}  // namespace tallow::server
