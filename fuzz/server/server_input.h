// The input of the server core's fuzz target: steps after four players logged in and ready.
// A step's first byte chooses by its low three bits:
//   0..4  a record (table_records.h) from connection 1 + byte % 5 (5: a stranger); its tile
//         fields may pick the sending seat's own tiles and its token the session tokens
//   5     time: the next byte b gives b × 100 ms
//   6     the link: the next byte picks a connection 1..6; the step byte's high bit drops it,
//         otherwise it connects
//   7     a seating command: a byte picks one of a fixed set (seat, watch, robot, kick, ...)
// The seed tool writes games the table played in this form.
#pragma once

#include <cstdint>

namespace tallow::fuzz::server_input {

enum Step : std::uint8_t { kRecord = 0, kTime = 5, kLink = 6, kCommand = 7 };

inline Step StepOf(std::uint8_t b) {
  const int k = b & 7;
  return k <= 4 ? kRecord : static_cast<Step>(k);
}

}  // namespace tallow::fuzz::server_input
