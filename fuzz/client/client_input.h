// The input of the client fuzz target: a state byte (client_states.h), then steps. A step's
// first byte chooses what happens by its low four bits:
//   0..8  a record from the server (table_records.h), then the ticks that hand it on
//   9     a record that waits in the receive ring for the next (a burst)
//   10    time: the next byte b gives 1 + b % 16 ticks, or as many seconds when b >= 0xC0
//   11    input: a click, key or mouse event on a visible control of a visible window
//   12    raw bytes: a length byte and that many bytes, as the socket delivers them
//   13    the token the following records carry (two bytes)
//   14    the link: the server closes it, the hall sends a request, or the hall goes away
//   15    a raw record: 272 bytes
// The seed tool writes recorded games in this form.
#pragma once

#include <cstdint>

namespace tallow::fuzz::client_input {

enum Step : std::uint8_t {
  kRecord = 0,
  kBurst = 9,
  kTime = 10,
  kInput = 11,
  kRawBytes = 12,
  kToken = 13,
  kLink = 14,
  kRawRecord = 15,
};

inline Step StepOf(std::uint8_t b) {
  const int k = b & 15;
  return k <= 8 ? kRecord : static_cast<Step>(k);
}

}  // namespace tallow::fuzz::client_input
