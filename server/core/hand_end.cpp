// The end of a hand, and the table state for a client that joins a running hand.
#include <algorithm>

#include "core/hand.h"
#include "core/rules.h"
#include "core/server_util.h"
#include "protocol/record.h"

namespace tallow::server {

namespace op = protocol::op;
using detail::Bit;

void Hand::Win(int winner, int discarder, Tile t, bool robbed) {
  phase_ = Phase::Over;
  winner_ = winner;
  offer_ = {};
  auto& w = S(winner);
  WinFacts f;
  f.winner = winner;
  f.discarder = discarder;
  std::vector<Tile> hand13 = w.concealed;
  if (discarder < 0) {
    auto it = std::find(hand13.begin(), hand13.end(), t);
    if (it != hand13.end()) hand13.erase(it);
  } else if (!robbed) {
    S(discarder).pool.pop_back();
  }
  std::vector<Tile> full = hand13;
  full.push_back(t);
  f.closedWait = IsClosedWait(hand13, t, wild_);
  f.singleWait = !f.closedWait && IsSingleWait(hand13, t, wild_);
  const SplitHand sh = Split(full, wild_);
  f.allPungs = IsAllPungs(sh.counts, sh.wilds) &&
               std::none_of(w.melds.begin(), w.melds.end(),
                            [](const Meld& m) { return m.kind == MeldKind::Chow; });
  f.othersClosed = true;
  for (int k = 1; k < 4; ++k) f.othersClosed = f.othersClosed && !seat(winner + k).Open();
  f.kongDraw = discarder < 0 && kongDraw_;
  f.kongFeeder = f.kongDraw ? kongFeeder_ : -1;
  f.robbedKong = robbed;
  f.lastTile = wall_.Remaining() <= opt_.reserve;

  ToAll(OperationResult(Bit(winner), op::kWin, 0, 0, t));

  // Every seat's concealed tiles, four to a message; the first also carries the birds.
  std::vector<Tile> birds = wall_.PeekTail(2);
  bool first = true;
  for (int s = 0; s < 4; ++s) {
    const auto& c = (s == winner) ? hand13 : seat(s).concealed;
    for (std::size_t k = 0; k < c.size(); k += 4) {
      const std::size_t n = std::min<std::size_t>(4, c.size() - k);
      ToAll(TilesRevealed(Bit(s), std::span<const Tile>(c.data() + k, n),
                          first ? std::span<const Tile>(birds) : std::span<const Tile>()));
      first = false;
    }
  }

  std::array<SeatFacts, 4> facts{};
  for (int s = 0; s < 4; ++s) {
    const auto& h = seat(s);
    auto& sf = facts[static_cast<std::size_t>(s)];
    sf.dealer = s == dealer_;
    sf.open = h.Open();
    for (const auto& m : h.melds) {
      if (m.kind == MeldKind::ExposedKong || m.kind == MeldKind::AddedKong) sf.exposedKongs++;
      if (m.kind == MeldKind::ConcealedKong) sf.concealedKongs++;
      if (m.kind == MeldKind::Dragons) sf.dragonSets++;
    }
    sf.kongFeeds = h.kongFeeds;
    sf.kongUnits = h.kongUnits;
  }
  settlement_ = Settle(f, facts, opt_.stake);
  for (int s = 0; s < 4; ++s) ToAll(HandResult(Bit(s), settlement_->handScore[s]));
  for (int s = 0; s < 4; ++s) {
    const auto i = static_cast<std::size_t>(s);
    ToAll(SeatScore(Bit(s), opt_.stake, settlement_->bytes[i],
                    LevelTitle(coins_[i] + settlement_->amount[i])));
  }
}

void Hand::Drawn() {
  phase_ = Phase::Over;
  winner_ = -1;
  offer_ = {};
  for (int s = 0; s < 4; ++s) ToAll(HandResult(Bit(s), 0));
}

std::optional<Record> Hand::PendingOffer(int s) const {
  s &= 3;
  const auto i = static_cast<std::size_t>(s);
  if (phase_ == Phase::Over || offer_[i] == 0) return std::nullopt;
  if (phase_ != Phase::Discard && reply_[i].given) return std::nullopt;
  if (phase_ == Phase::Discard && s != turn_) return std::nullopt;
  return OperationOffer(Bit(s), offer_[i]);
}

int Hand::ClientWallStart(int viewer) const {
  const int rel = ((viewer & 3) - dealer_ + 4) & 3;  // the dealer as the viewer sees him
  const int first = dice_[0] + dice_[1];
  const int side = (13 + rel - first) % 4;
  return (2 * (side * 14 + first + dice_[2] + dice_[3])) % 120;
}

Record Hand::Cleared(int viewer) const {
  // A spectator's client starts its wall at 2 (((r + 13 - v0) mod 4) 17 + v0 + v1) mod 120, r
  // the dealer's seat as it sees him; a seated client at 2 (side 14 + all four dice), the same
  // side. v1 makes up the 3 side difference, so both start at the same sprite.
  const int first = dice_[0] + dice_[1];
  const int rel = ((viewer & 3) - dealer_ + 4) & 3;
  const int side = (13 + rel - first % 4 + 4) % 4;
  int v1 = dice_[2] + dice_[3] - 3 * side;
  if (v1 < 0) v1 += 60;  // the start is taken modulo 120, twice v1: 60 more is the same sprite
  return TableCleared(Bit(dealer_), first, v1, wild_, indicator_);
}

std::array<Record, 4> Hand::Snapshots(int viewer) const {
  return SnapshotsOf(viewer, false);
}

std::vector<Record> Hand::Restore(int viewer, bool spectator) const {
  const bool replayDiscard = phase_ == Phase::Claims && (spectator || viewer != claimFrom_);
  std::vector<Record> out{Cleared(viewer)};
  for (const auto& r : SnapshotsOf(viewer, replayDiscard)) out.push_back(r);
  if (replayDiscard) out.push_back(TileDiscarded(Bit(claimFrom_), claimTile_, claimFollow_));
  return out;
}

std::array<Record, 4> Hand::SnapshotsOf(int viewer, bool discardInHand) const {
  std::array<Record, 4> out{};
  const int tail = SnapshotTailValue(wall_.TailDrawn());
  for (int s = 0; s < 4; ++s) {
    const auto& h = seat(s);
    std::vector<Tile> laid;
    for (const auto& m : h.melds) laid.insert(laid.end(), m.tiles.begin(), m.tiles.end());
    std::vector<Tile> hidden = h.concealed;
    int pool = static_cast<int>(h.pool.size());
    // The tile of an added kong that others may rob: no client has been told it left the hand.
    if (phase_ == Phase::Rob && s == claimFrom_) hidden.push_back(claimTile_);
    if (discardInHand && s == claimFrom_ && pool > 0) {
      hidden.push_back(claimTile_);
      --pool;
    }
    if (s != viewer) std::fill(hidden.begin(), hidden.end(), Tile{0});
    out[static_cast<std::size_t>(s)] =
        TableSnapshot(Bit(s), pool, wall_.HeadDrawn(), tail, laid, hidden);
  }
  return out;
}

}  // namespace tallow::server
