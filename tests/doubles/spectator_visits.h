// A spectator that joins a whole table at moments a test chooses, watches to the hand's result
// and leaves; the next one joins later. After its restore and after every record it handles it
// is checked against the watched player (and the players against the server).
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>

#include "doubles/spectator_checks.h"
#include "doubles/table_checks.h"
#include "doubles/table_harness.h"

namespace tallow::testing {

class SpectatorVisits {
 public:
  // Given every record sent to seat 0 while nobody watches (its type, its operation byte and the
  // hand in play or null): the name of the moment to join at now, or none.
  using When =
      std::function<std::optional<std::string>(int type, int operation, const server::Hand*)>;

  // Chains itself onto the harness's hooks. With `checkPlayers` (robot clients, which keep up
  // with the server) every player's view is checked too; otherwise the spectator is compared
  // with the server only.
  SpectatorVisits(TableHarness& t, std::uint32_t seed, When when, bool checkPlayers);

  TableChecker players;
  SpectatorChecker watch;
  std::map<std::string, int> joins;  // by moment

 private:
  TableHarness& t_;
  std::mt19937 rng_;
  When when_;
  std::optional<std::string> joining_;
  bool sawEnd_ = false;
};

}  // namespace tallow::testing
