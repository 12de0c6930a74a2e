// Test support: four scripted players at one table of an in-process core, in virtual time.
// The players read their own hands from the core (they are not real clients) and play the
// simplest legal game: take every win, otherwise pass and throw the drawn tile.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/server.h"

namespace tallow::server::testing {

// A client record with the fields a real client fills.
Record ClientRecord(protocol::ClientCode code, int seatBit, int v0 = 0, int v1 = 0, int v2 = 0,
                    int v3 = 0);
Record LoginRecord(const std::string& account, const std::string& password, bool relogin = false,
                   std::uint16_t token = 0);

class TableDriver {
 public:
  // Connection ids 1..4 for the accounts p0..p3 (seats 0..3 in login order).
  explicit TableDriver(std::uint64_t seed, Config config = {});

  Server& core() { return core_; }
  // The account of the player at a seat: p0 .. p3.
  static std::string Account(int seat);
  // Every record sent to each connection so far, in order.
  const std::vector<Record>& Received(int conn) const { return received_.at(conn); }
  // All outputs in the order the core produced them.
  const std::vector<Output>& Log() const { return log_; }
  int recordsIn() const { return recordsIn_; }
  std::int64_t recordsOut() const { return recordsOut_; }
  // Benchmarks turn the record keeping off (offers are still answered).
  void KeepRecords(bool keep) { keep_ = keep; }

  void LoginAll();
  void ReadyAll();
  void Send(int conn, const Record& rec);
  // Plays until the hand at table 0 is over (or maxSteps actions); true when it ended.
  bool PlayHand(int maxSteps = 2000);

  // Hooks to change how a seat answers: return false to fall back to the default.
  std::function<bool(TableDriver&, int seat, int offer)> onOffer;

 private:
  void Collect(const Output& o);
  void Respond();

  Server core_;
  std::array<std::vector<Record>, 5> received_{};
  std::vector<Output> log_;
  std::vector<std::pair<int, int>> pendingOffers_;  // (seat, flags)
  int recordsIn_ = 0;
  std::int64_t recordsOut_ = 0;
  bool keep_ = true;
};

}  // namespace tallow::server::testing
