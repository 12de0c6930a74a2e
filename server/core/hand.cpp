#include "core/hand.h"

#include <algorithm>

#include "core/rules.h"
#include "protocol/record.h"

namespace tallow::server {

namespace op = protocol::op;

namespace {

int Bit(int seat) {
  return 1 << (seat & 3);
}

bool KindLess(Tile a, Tile b) {
  return KindOf(a) < KindOf(b);
}

}  // namespace

bool SeatHand::Open() const {
  for (const auto& m : melds) {
    if (m.kind == MeldKind::Chow || m.kind == MeldKind::Pung || m.kind == MeldKind::ExposedKong ||
        m.kind == MeldKind::AddedKong) {
      return true;
    }
  }
  return false;
}

Hand::Hand(int dealer, Rng& rng, const HandOptions& options,
           const std::array<std::int64_t, 4>& coins, Send send)
    : rng_(rng), opt_(options), coins_(coins), send_(std::move(send)), dealer_(dealer & 3) {}

void Hand::ToAll(const Record& r) {
  if (phase_ == Phase::Over) endRecords_.push_back(r);
  for (int s = 0; s < 4; ++s) send_(s, r);
}

bool Hand::Remove(int s, Tile t, int n) {
  auto& c = S(s).concealed;
  if (std::count(c.begin(), c.end(), t) < n) return false;
  for (int i = 0; i < n; ++i) c.erase(std::find(c.begin(), c.end(), t));
  return true;
}

void Hand::Add(int s, Tile t) {
  auto& c = S(s).concealed;
  c.insert(std::upper_bound(c.begin(), c.end(), t, KindLess), t);
}

void Hand::Start(std::int64_t now) {
  if (opt_.presetWall) {
    wall_ = Wall(*opt_.presetWall);
    dice_ = opt_.presetDice;
    indicator_ = opt_.presetIndicator;
  } else {
    auto tiles = FullSet();
    for (int i = kWallSize - 1; i > 0; --i) {
      const auto j = rng_.Below(static_cast<std::uint32_t>(i + 1));
      std::swap(tiles[static_cast<std::size_t>(i)], tiles[j]);
    }
    wall_ = Wall(tiles);
    for (auto& d : dice_) d = 1 + static_cast<int>(rng_.Below(6));
    indicator_ = TileOf(static_cast<int>(rng_.Below(kKinds)));
  }
  wild_ = WildFromIndicator(indicator_);

  ToAll(NewHand(Bit(dealer_), dice_));
  ToAll(SeatEvent(Bit(dealer_), 2));  // names the dealer's seat (the wind label)
  ToAll(WildTileSet(wild_, indicator_));

  // Three rounds of four tiles, then one tile each, then the dealer's fourteenth.
  for (int round = 0; round < 3; ++round) {
    for (int k = 0; k < 4; ++k) {
      const int s = (dealer_ + k) & 3;
      std::array<Tile, 4> four{};
      for (auto& t : four) {
        t = wall_.DrawHead();
        Add(s, t);
      }
      for (int to = 0; to < 4; ++to) {
        send_(to, DealTiles(Bit(s), to == s ? four : std::array<Tile, 4>{}));
      }
    }
  }
  Tile last = 0;
  for (int k = 0; k < 5; ++k) {
    const int s = (dealer_ + k) & 3;
    last = wall_.DrawHead();
    Add(s, last);
    for (int to = 0; to < 4; ++to) send_(to, TileDrawn(Bit(s), to == s ? last : 0));
  }
  LayDragonSets();
  BeginTurn(dealer_, last, false, -1, now);
}

void Hand::LayDragonSets() {
  for (int k = 0; k < 4; ++k) {
    const int s = (dealer_ + k) & 3;
    const auto& c = S(s).concealed;
    int n = 4;
    for (Tile d : {kRed, kGreen, kWhite}) n = std::min(n, CountNatural(c, d, wild_));
    if (n <= 0) continue;
    for (int i = 0; i < n; ++i) {
      for (Tile d : {kRed, kGreen, kWhite}) Remove(s, d);
      S(s).melds.push_back({MeldKind::Dragons, {kRed, kGreen, kWhite}, -1});
    }
    ToAll(DragonSets(Bit(s), n));
  }
}

int Hand::TurnOffer(int s) const {
  const auto& h = seat(s);
  int flags = op::kPass;
  if (drawn_ != 0 && IsWinningHand(h.concealed, wild_)) flags |= op::kWin;
  if (wall_.Remaining() > opt_.reserve) {
    for (std::size_t i = 0; i + 3 < h.concealed.size(); ++i) {
      const Tile t = h.concealed[i];
      if (t != wild_ && h.concealed[i + 3] == t) flags |= op::kKong | op::kConcealedKong;
    }
    bool single = false;
    for (Tile t : h.concealed) single = single || t == kRed || t == wild_;
    for (const auto& m : h.melds) {
      if (m.kind == MeldKind::Pung && CountNatural(h.concealed, m.tiles[0], wild_) > 0) {
        single = true;
      }
    }
    if (single) flags |= op::kKong | op::kOneTileKong;
  }
  return flags;
}

void Hand::BeginTurn(int s, Tile drawn, bool kongDraw, int feeder, std::int64_t now) {
  phase_ = Phase::Discard;
  turn_ = s & 3;
  drawn_ = drawn;
  kongDraw_ = kongDraw;
  kongFeeder_ = feeder;
  offer_ = {};
  reply_ = {};
  offer_[static_cast<std::size_t>(turn_)] = TurnOffer(turn_);
  deadline_ = now + opt_.actLimitMs;
  send_(turn_, OperationOffer(Bit(turn_), offer_[static_cast<std::size_t>(turn_)]));
}

void Hand::DrawFor(int s, bool fromTail, int feeder, std::int64_t now) {
  if (wall_.Remaining() <= opt_.reserve) {
    Drawn();
    return;
  }
  const Tile t = fromTail ? wall_.DrawTail() : wall_.DrawHead();
  Add(s, t);
  for (int to = 0; to < 4; ++to) send_(to, TileDrawn(Bit(s), to == s ? t : 0));
  BeginTurn(s, t, fromTail, feeder, now);
}

bool Hand::Discard(int s, Tile t, std::int64_t now) {
  if (phase_ != Phase::Discard || s != turn_ || !Remove(s, t)) return false;
  S(s).pool.push_back(t);
  bool follow = false;
  if (firstRound_) {
    if (discardsMade_ == 0 && s == dealer_) dealerFirst_ = t;
    follow = discardsMade_ > 0 && discardsMade_ < 4 && t == dealerFirst_;
    if (++discardsMade_ >= 4) firstRound_ = false;
  }
  ToAll(TileDiscarded(Bit(s), t, follow));
  OpenClaims(s, t, now);
  return true;
}

void Hand::OpenClaims(int discarder, Tile t, std::int64_t now) {
  offer_ = {};
  reply_ = {};
  claimTile_ = t;
  claimFrom_ = discarder;
  bool any = false;
  for (int k = 1; k < 4; ++k) {
    const int s = (discarder + k) & 3;
    auto hand = seat(s).concealed;
    int flags = 0;
    hand.push_back(t);
    if (IsWinningHand(hand, wild_)) flags |= op::kWin;
    hand.pop_back();
    if (wall_.Remaining() > opt_.reserve) {
      if (CanExposedKong(hand, t, wild_)) flags |= op::kKong;
      if (CanPung(hand, t, wild_)) flags |= op::kPung;
      if (k == 1 && CanChow(hand, t, wild_)) flags |= op::kChow;
    }
    if (flags == 0) continue;
    flags |= op::kPass;
    offer_[static_cast<std::size_t>(s)] = flags;
    send_(s, OperationOffer(Bit(s), flags));
    any = true;
  }
  if (!any) {
    DrawFor((discarder + 1) & 3, false, -1, now);
    return;
  }
  phase_ = Phase::Claims;
  deadline_ = now + opt_.actLimitMs;
}

bool Hand::Operate(int s, int o, Tile a, Tile b, Tile c, std::int64_t now) {
  s &= 3;
  const auto i = static_cast<std::size_t>(s);
  if (phase_ == Phase::Discard) {
    if (s != turn_) return false;
    auto& h = S(s);
    const Tile t = c != 0 ? c : a;
    switch (o) {
      case op::kPass:
        return true;  // a pass on one's own turn only declines; the discard still follows
      case op::kWin:
        if (!(offer_[i] & op::kWin)) return false;
        Win(s, -1, drawn_, false);
        return true;
      case op::kKong:
      case op::kConcealedKong: {
        if (t == wild_ || CountNatural(h.concealed, t, wild_) < 4 ||
            wall_.Remaining() <= opt_.reserve) {
          return false;
        }
        Remove(s, t, 4);
        h.melds.push_back({MeldKind::ConcealedKong, {t, t, t, t}, -1});
        AddKongUnits(s, 2);
        firstRound_ = false;
        ToAll(OperationResult(Bit(s), op::kConcealedKong, t, t, t));
        DrawFor(s, true, -1, now);
        return true;
      }
      case op::kOneTileKong: {
        if (wall_.Remaining() <= opt_.reserve) return false;
        if ((t == kRed || t == wild_) && Remove(s, t)) {
          h.melds.push_back({MeldKind::Single, {t}, -1});
          ToAll(OperationResult(Bit(s), op::kOneTileKong, 0, 0, t));
          DrawFor(s, true, -1, now);
          return true;
        }
        auto pung = std::find_if(h.melds.begin(), h.melds.end(), [&](const Meld& m) {
          return m.kind == MeldKind::Pung && m.tiles[0] == t;
        });
        if (pung == h.melds.end() || CountNatural(h.concealed, t, wild_) < 1) return false;
        Remove(s, t);
        // Another seat may win on the added tile (抢杠).
        offer_ = {};
        reply_ = {};
        claimTile_ = t;
        claimFrom_ = s;
        bool any = false;
        for (int k = 1; k < 4; ++k) {
          const int o2 = (s + k) & 3;
          auto hand = seat(o2).concealed;
          hand.push_back(t);
          if (!IsWinningHand(hand, wild_)) continue;
          offer_[static_cast<std::size_t>(o2)] = op::kWin | op::kPass;
          send_(o2, OperationOffer(Bit(o2), op::kWin | op::kPass));
          any = true;
        }
        if (!any) {
          CompleteAddedKong(s, t, now);
        } else {
          phase_ = Phase::Rob;
          deadline_ = now + opt_.actLimitMs;
        }
        return true;
      }
      default:
        return false;
    }
  }
  if (phase_ != Phase::Claims && phase_ != Phase::Rob) return false;
  if (offer_[i] == 0 || reply_[i].given) return false;
  if (o != op::kPass && !(offer_[i] & o)) return false;
  if (o == op::kChow && !CanChowWith(seat(s).concealed, claimTile_, a, b, wild_)) return false;
  if (o != op::kPass && o != op::kWin && o != op::kChow && o != op::kPung && o != op::kKong) {
    return false;
  }
  reply_[i] = {true, o, a, b};
  for (int k = 0; k < 4; ++k) {
    if (offer_[static_cast<std::size_t>(k)] != 0 && !reply_[static_cast<std::size_t>(k)].given) {
      return true;
    }
  }
  if (phase_ == Phase::Claims) {
    ResolveClaims(now);
  } else {
    ResolveRob(now);
  }
  return true;
}

void Hand::AddKongUnits(int konger, int perSeat) {
  for (int s = 0; s < 4; ++s) {
    S(s).kongUnits += (s == konger) ? 3 * perSeat : -perSeat;
  }
}

void Hand::ResolveClaims(std::int64_t now) {
  const int from = claimFrom_;
  const Tile t = claimTile_;
  int best = -1;
  int bestRank = 0;  // 3 win, 2 kong or pung, 1 chow
  for (int k = 1; k < 4; ++k) {
    const int s = (from + k) & 3;
    const auto& r = reply_[static_cast<std::size_t>(s)];
    if (!r.given) continue;
    int rank = 0;
    if (r.op == op::kWin) rank = 3;
    if (r.op == op::kKong || r.op == op::kPung) rank = 2;
    if (r.op == op::kChow) rank = 1;
    if (rank > bestRank) {
      best = s;
      bestRank = rank;
    }
  }
  if (best < 0) {
    DrawFor((from + 1) & 3, false, -1, now);
    return;
  }
  const auto r = reply_[static_cast<std::size_t>(best)];
  if (r.op == op::kWin) {
    Win(best, from, t, false);
    return;
  }
  firstRound_ = false;
  S(from).pool.pop_back();
  auto& h = S(best);
  if (r.op == op::kKong) {
    Remove(best, t, 3);
    h.melds.push_back({MeldKind::ExposedKong, {t, t, t, t}, from});
    S(from).kongFeeds++;
    AddKongUnits(best, 1);
    ToAll(OperationResult(Bit(best), op::kKong, t, t, t));
    DrawFor(best, true, from, now);
    return;
  }
  if (r.op == op::kPung) {
    Remove(best, t, 2);
    h.melds.push_back({MeldKind::Pung, {t, t, t}, from});
    ToAll(OperationResult(Bit(best), op::kPung, t, t, t));
  } else {
    Remove(best, r.a);
    Remove(best, r.b);
    h.melds.push_back({MeldKind::Chow, {r.a, r.b, t}, from});
    ToAll(OperationResult(Bit(best), op::kChow, r.a, r.b, t));
  }
  BeginTurn(best, 0, false, -1, now);
}

void Hand::ResolveRob(std::int64_t now) {
  for (int k = 1; k < 4; ++k) {
    const int s = (claimFrom_ + k) & 3;
    const auto& r = reply_[static_cast<std::size_t>(s)];
    if (r.given && r.op == op::kWin) {
      Win(s, claimFrom_, claimTile_, true);
      return;
    }
  }
  CompleteAddedKong(claimFrom_, claimTile_, now);
}

void Hand::CompleteAddedKong(int s, Tile t, std::int64_t now) {
  auto& h = S(s);
  for (auto& m : h.melds) {
    if (m.kind == MeldKind::Pung && m.tiles[0] == t) {
      m.kind = MeldKind::AddedKong;
      m.tiles.push_back(t);
      break;
    }
  }
  AddKongUnits(s, 1);
  firstRound_ = false;
  ToAll(OperationResult(Bit(s), op::kOneTileKong, 0, 0, t));
  DrawFor(s, true, -1, now);
}

void Hand::Tick(std::int64_t now) {
  if (phase_ == Phase::Over || now < deadline_) return;
  if (phase_ == Phase::Discard) {
    const auto& c = seat(turn_).concealed;
    if (c.empty()) return;
    const Tile t = (drawn_ != 0 && std::count(c.begin(), c.end(), drawn_) > 0) ? drawn_ : c.back();
    Discard(turn_, t, now);
    return;
  }
  for (int s = 0; s < 4; ++s) {
    const auto i = static_cast<std::size_t>(s);
    if (offer_[i] != 0 && !reply_[i].given) reply_[i] = {true, op::kPass, 0, 0};
  }
  if (phase_ == Phase::Claims) {
    ResolveClaims(now);
  } else {
    ResolveRob(now);
  }
}

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

Record Hand::Cleared() const {
  return TableCleared(Bit(dealer_), dice_[0] + dice_[1], dice_[2] + dice_[3], wild_, indicator_);
}

std::array<Record, 4> Hand::Snapshots(int viewer) const {
  std::array<Record, 4> out{};
  const int tail = SnapshotTailValue(wall_.TailDrawn());
  for (int s = 0; s < 4; ++s) {
    const auto& h = seat(s);
    std::vector<Tile> laid;
    for (const auto& m : h.melds) laid.insert(laid.end(), m.tiles.begin(), m.tiles.end());
    std::vector<Tile> hidden = h.concealed;
    if (s != viewer) std::fill(hidden.begin(), hidden.end(), Tile{0});
    out[static_cast<std::size_t>(s)] = TableSnapshot(Bit(s), static_cast<int>(h.pool.size()),
                                                     wall_.HeadDrawn(), tail, laid, hidden);
  }
  return out;
}

}  // namespace tallow::server
