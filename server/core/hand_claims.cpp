// Answers to offers: claims on a discard, kongs, robbing a kong, and silent seats.
#include <algorithm>

#include "core/hand.h"
#include "core/rules.h"
#include "core/server_util.h"
#include "protocol/record.h"

namespace tallow::server {

namespace op = protocol::op;
using detail::Bit;

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
        auto pung = std::find_if(h.melds.begin(), h.melds.end(), [&](const Meld& m) {
          return m.kind == MeldKind::Pung && m.tiles[0] == t;
        });
        // A 中 (or the wild tile) is laid down alone unless the seat shows a pung of it: then
        // it completes that pung, as every client draws it.
        if (pung == h.melds.end() && (t == kRed || t == wild_) && Remove(s, t)) {
          h.melds.push_back({MeldKind::Single, {t}, -1});
          ToAll(OperationResult(Bit(s), op::kOneTileKong, 0, 0, t));
          DrawFor(s, true, -1, now);
          return true;
        }
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
  // A chow that names no run of two natural hand tiles with the discard is refused: it counts
  // as the seat's pass, so the table goes on at once instead of waiting for the time limit.
  if (o == op::kChow && !CanChowWith(seat(s).concealed, claimTile_, a, b, wild_)) o = op::kPass;
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

}  // namespace tallow::server
