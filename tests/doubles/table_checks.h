// The comparison of one client's table with the server's hand, made after every record the
// client handles: every seat's hand counters and exposed sets, the concealed tiles the client
// may know, the wall pointers, and which of the 120 tile sprites still stand in the wall.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "doubles/table_harness.h"

namespace tallow::testing {

class TableChecker {
 public:
  // Compares the client that handled a record with the server's view at the moment it was
  // sent; appends what differs to `failures` (at most `limit` entries in all).
  void Check(const SeatView& view, const Client& c, std::vector<std::string>& failures);

  std::size_t limit = 40;
  std::uint64_t checks = 0;  // records compared

 private:
  struct Spot {
    double left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Spot&) const = default;
  };
  // Where each wall sprite stands, per client, as laid out when the hand started.
  std::array<std::array<Spot, 120>, 4> standing_{};
  // Since when a sprite of a hand or a set has been hidden, per client. The pooled-discard blink
  // hides the last discard for 400 ms at a time, also when a claim has just taken it into a set;
  // only a tile hidden for longer is a fault.
  std::array<std::map<int, std::int64_t>, 4> hiddenSince_{};
  // Per client: snapshots still to come in a restore, and the hand last restored.
  std::array<int, 4> restoring_{};
  std::array<int, 4> restoredHand_{};
};

// The sets a client lays out for a seat (one-tile kongs lie on a set or beside the hand and
// take no set slots of their own).
int SetCount(const ServerSeat& s);

}  // namespace tallow::testing
