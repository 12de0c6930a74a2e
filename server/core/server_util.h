// Small helpers shared by the files of the server core.
#pragma once

#include <string>

#include "protocol/record.h"

namespace tallow::server::detail {

inline int Bit(int seat) {
  return 1 << (seat & 3);
}

// Types a watcher receives from the watched seat's stream; session messages (login, profiles,
// seat names, restore) and the seat's own offers are the player's alone.
bool ForWatchers(int type);

// Value(i) of a client record as the unsigned 16-bit number it was written as.
inline int Word(const protocol::Record& rec, int i) {
  return static_cast<std::uint16_t>(protocol::ReadWord(rec, protocol::off::kValues + 2 * (i & 3)));
}

// A NUL-ended text field of a client record.
std::string Text(const protocol::Record& rec, std::size_t offset, std::size_t max);

bool PrintableAccount(const std::string& a);

}  // namespace tallow::server::detail
