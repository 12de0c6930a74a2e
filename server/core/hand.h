// One hand at one table: the wall, the deal, turns, claims, kongs, the win or the drawn end,
// and the settlement. Seats are absolute indices 0..3; play passes from n to n + 1.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/messages.h"
#include "core/rng.h"
#include "core/scoring.h"
#include "core/tiles.h"
#include "core/wall.h"

namespace tallow::server {

enum class MeldKind { Chow, Pung, ExposedKong, ConcealedKong, AddedKong, Dragons, Single };

struct Meld {
  MeldKind kind = MeldKind::Chow;
  std::vector<Tile> tiles;
  int from = -1;  // seat whose discard was claimed, -1 none
};

struct SeatHand {
  std::vector<Tile> concealed;  // kept sorted by kind
  std::vector<Meld> melds;
  std::vector<Tile> pool;  // discards nobody claimed
  int kongFeeds = 0;
  std::int64_t kongUnits = 0;

  bool Open() const;
};

enum class Phase { Discard, Claims, Rob, Over };

struct HandOptions {
  int stake = 10;
  std::int64_t actLimitMs = 30000;  // the server acts for a seat silent this long
  int reserve = 2;                  // tiles left in the wall when the hand is drawn
  // A fixed deal for tests: the wall from the break on, the indicator and the dice. The random
  // source is then not used.
  std::optional<std::array<Tile, kWallSize>> presetWall;
  Tile presetIndicator = 0;
  std::array<int, 4> presetDice{1, 1, 1, 1};
};

class Hand {
 public:
  using Send = std::function<void(int seat, const Record&)>;

  Hand(int dealer, Rng& rng, const HandOptions& options, const std::array<std::int64_t, 4>& coins,
       Send send);

  // Shuffles, throws the dice, deals and offers the dealer his first turn.
  void Start(std::int64_t now);

  // Client actions; false when the action is refused (nothing changes then).
  bool Discard(int seat, Tile t, std::int64_t now);
  bool Operate(int seat, int op, Tile a, Tile b, Tile c, std::int64_t now);

  // Acts for every seat that has been silent past the limit.
  void Tick(std::int64_t now);

  // The offer a seat still owes an answer to (resent after a reconnection).
  std::optional<Record> PendingOffer(int seat) const;
  // Table state for a client that joins the running hand: message 41 and four snapshots,
  // with the concealed tiles of `viewer` only. Message 41 names the wall's start so that a
  // spectator of `viewer` starts its wall where that seat's client did.
  Record Cleared(int viewer) const;
  std::array<Record, 4> Snapshots(int viewer) const;
  // Everything a player who comes back into the running hand is sent before the offer he owes:
  // message 41 and four snapshots as every client saw the table; while a discard waits for
  // claims, the snapshots show it still in the discarder's hand and the discard follows, so
  // the player's client knows the tile its claim offer is about.
  // A spectator of `viewer` is rebuilt the same way, and gets the waiting discard again even
  // when it watches the discarder (whose own client drew that discard itself).
  std::vector<Record> Restore(int viewer, bool spectator = false) const;
  // What every seat was sent when the hand ended (win, reveals, results, settlements), for a
  // player who was away at that moment.
  const std::vector<Record>& EndRecords() const { return endRecords_; }

  // The wall sprite at which a client seated at `viewer` starts its wall this hand: wall
  // position p (counted from the break) is that client's sprite (start + p) % 120.
  int ClientWallStart(int viewer) const;

  Phase phase() const { return phase_; }
  bool Over() const { return phase_ == Phase::Over; }
  int winner() const { return winner_; }
  int dealer() const { return dealer_; }
  int turn() const { return turn_; }
  Tile wild() const { return wild_; }
  Tile indicator() const { return indicator_; }
  const std::array<int, 4>& dice() const { return dice_; }
  const Wall& wall() const { return wall_; }
  const SeatHand& seat(int s) const { return seats_.at(static_cast<std::size_t>(s & 3)); }
  const std::optional<Settlement>& settlement() const { return settlement_; }
  std::int64_t deadline() const { return deadline_; }
  // Offer bits open for a seat (0 none).
  int offer(int s) const { return offer_.at(static_cast<std::size_t>(s & 3)); }

 private:
  struct Reply {
    bool given = false;
    int op = 0;
    Tile a = 0, b = 0;
  };

  SeatHand& S(int s) { return seats_[static_cast<std::size_t>(s & 3)]; }
  void ToAll(const Record& r);
  bool Remove(int s, Tile t, int n = 1);
  void Add(int s, Tile t);
  int TurnOffer(int s) const;
  void BeginTurn(int s, Tile drawn, bool kongDraw, int feeder, std::int64_t now);
  void DrawFor(int s, bool fromTail, int feeder, std::int64_t now);
  void OpenClaims(int discarder, Tile t, std::int64_t now);
  void ResolveClaims(std::int64_t now);
  void ResolveRob(std::int64_t now);
  void CompleteAddedKong(int s, Tile t, std::int64_t now);
  void AddKongUnits(int konger, int perSeat);
  void Win(int winner, int discarder, Tile t, bool robbed);
  void Drawn();
  void LayDragonSets();
  std::array<Record, 4> SnapshotsOf(int viewer, bool discardInHand) const;

  Rng& rng_;
  HandOptions opt_;
  std::array<std::int64_t, 4> coins_;
  Send send_;

  int dealer_;
  std::array<int, 4> dice_{};
  Tile indicator_ = 0;
  Tile wild_ = 0;
  Wall wall_;
  std::array<SeatHand, 4> seats_{};

  Phase phase_ = Phase::Discard;
  int turn_ = 0;
  Tile drawn_ = 0;  // tile drawn this turn, 0 after a claim
  bool kongDraw_ = false;
  int kongFeeder_ = -1;
  std::array<int, 4> offer_{};
  std::array<Reply, 4> reply_{};
  Tile claimTile_ = 0;        // discard (Claims) or added kong tile (Rob)
  bool claimFollow_ = false;  // the discard was announced as 跟庄
  int claimFrom_ = -1;        // discarder or the seat adding to its pung
  std::int64_t deadline_ = 0;

  // 跟庄: the first go-round of discards, before any claim.
  bool firstRound_ = true;
  int discardsMade_ = 0;
  Tile dealerFirst_ = 0;

  int winner_ = -1;
  std::optional<Settlement> settlement_;
  std::vector<Record> endRecords_;
};

}  // namespace tallow::server
