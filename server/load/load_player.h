// One scripted seat of the load generator. It declares itself ready when its table is full and
// after every hand, throws a tile on every turn offer, takes every win offered and passes every
// other claim. It keeps its own tiles from what the server tells it, times the server's answer
// to each of its actions and checks every settlement for a zero sum.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/rng.h"
#include "protocol/record.h"

namespace tallow::server::load {

using protocol::Record;

// A record of the kinds a broken or hostile client sends: any code (with and without a high
// byte), seat bits, tiles and values inside and outside their ranges, texts without an end. Never
// the one valid "leave the table" record (16 with Value(3) = 0).
Record GarbageRecord(Rng& rng);

class LoadPlayer {
 public:
  LoadPlayer(std::string account, std::uint64_t seed) : account_(std::move(account)), rng_(seed) {}

  const std::string& account() const { return account_; }
  Record Login() const;

  // Handles one record from the server; appends the replies to `out`.
  void OnRecord(const Record& r, std::vector<Record>& out);
  // The replies of the last OnRecord calls left at `nowNs`: the answer's clock starts.
  void OnSent(std::int64_t nowNs);
  // An answer arrived at `nowNs`: when it is the one awaited, returns the wait in ns, else -1.
  // Call before OnRecord for every record.
  std::int64_t Answered(const Record& r, std::int64_t nowNs);

  // Before each reply a garbage record goes out with this chance (0..1).
  void SetNoise(double chance) { noise_ = chance; }

  int seat() const { return seat_; }
  bool seated() const { return seat_ >= 0; }
  bool inHand() const { return inHand_; }
  long handsEnded() const { return handsEnded_; }
  long badSettlements() const { return badSettlements_; }
  long handErrors() const { return handErrors_; }
  long tablesEmptied() const { return tablesEmptied_; }
  long quits() const { return quits_; }

 private:
  enum class Awaited { None, Ready, Discard, Win };

  void Reply(const Record& r, Awaited awaited, std::vector<Record>& out);
  void OnOffer(int flags, std::vector<Record>& out);
  void EndHand(std::vector<Record>& out);
  bool Take(int tile, int n = 1);
  int Bit() const { return seat_ >= 0 ? 1 << seat_ : 0; }

  std::string account_;
  Rng rng_;
  double noise_ = 0;
  int seat_ = -1;
  int seatNames_ = 0;
  std::vector<int> tiles_;  // concealed
  int sets_ = 0;            // laid-down sets of three (dragons, chows, pungs, kongs)
  bool myTurn_ = false;
  bool dealing_ = false;  // from the new hand to the wild tile: draws are the deal's
  bool dealer_ = false;
  int lastDrawn_ = 0;
  bool inHand_ = false;
  bool won_ = false;
  int results_ = 0;
  int scores_ = 0;
  std::int64_t scoreSum_ = 0;
  Awaited awaited_ = Awaited::None;
  bool timing_ = false;
  std::int64_t sentAtNs_ = 0;
  long handsEnded_ = 0;
  long badSettlements_ = 0;
  long handErrors_ = 0;
  long tablesEmptied_ = 0;
  long quits_ = 0;
};

}  // namespace tallow::server::load
