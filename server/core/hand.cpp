#include "core/hand.h"

#include <algorithm>

#include "core/rules.h"
#include "core/server_util.h"
#include "protocol/record.h"

namespace tallow::server {

namespace op = protocol::op;
using detail::Bit;

namespace {

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
  // The wild tile only after the deal: a client sorts a hand dealt complete while it knows of
  // no wild tile, and its pung and kong searches read pairs from a sorted hand.
  ToAll(WildTileSet(wild_, indicator_));
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
  claimFollow_ = follow;
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

}  // namespace tallow::server
