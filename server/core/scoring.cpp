#include "core/scoring.h"

#include <algorithm>
#include <cstdlib>

namespace tallow::server {

int WinnerFans(const WinFacts& w, const std::array<SeatFacts, 4>& seats) {
  int f = 1;  // 点炮 or 自摸
  if (w.closedWait || w.singleWait) f += 1;
  if (w.othersClosed) f += 2;
  if (w.allPungs) f += 2;
  f += std::clamp(seats[static_cast<std::size_t>(w.winner & 3)].dragonSets, 0, 15);
  if (w.kongDraw || w.robbedKong) f += 1;
  if (w.lastTile) f += 1;
  return f;
}

int PayerFans(const WinFacts& w, const std::array<SeatFacts, 4>& seats, int payer) {
  const auto& p = seats[static_cast<std::size_t>(payer & 3)];
  int f = WinnerFans(w, seats);
  if (seats[static_cast<std::size_t>(w.winner & 3)].dealer || p.dealer) f += 1;  // 庄家
  if (w.discarder == payer) f += 1;                                              // 点炮
  if (!p.open) f += 1;                                                           // 闭门
  if (w.kongDraw && w.kongFeeder == payer) f += 1;                               // 杠点
  return std::min(f, kMaxFans);
}

Settlement Settle(const WinFacts& w, const std::array<SeatFacts, 4>& seats, int stake) {
  Settlement s;
  const int winner = w.winner & 3;
  std::int64_t total = 0;
  std::array<std::int64_t, 4> basic{};
  for (int l = 0; l < 4; ++l) {
    if (l == winner) continue;
    s.fans[static_cast<std::size_t>(l)] = PayerFans(w, seats, l);
    basic[static_cast<std::size_t>(l)] =
        (std::int64_t{1} << s.fans[static_cast<std::size_t>(l)]) * stake;
    total += basic[static_cast<std::size_t>(l)];
  }
  for (int l = 0; l < 4; ++l) {
    const auto i = static_cast<std::size_t>(l);
    if (l == winner) {
      s.handScore[i] = total;
    } else if (w.discarder >= 0) {
      s.handScore[i] = (l == w.discarder) ? -total : 0;  // the discarder pays for everyone
    } else {
      s.handScore[i] = -basic[i];
    }
    s.amount[i] = s.handScore[i] + seats[i].kongUnits * stake;
  }

  for (int l = 0; l < 4; ++l) {
    const auto i = static_cast<std::size_t>(l);
    const SeatFacts& f = seats[i];
    auto& b = s.bytes[i];
    auto at = [&b](int byte) -> std::uint8_t& { return b[static_cast<std::size_t>(byte - 16)]; };
    if (l == winner) {
      at(17) = w.othersClosed ? 1 : 0;
      std::uint8_t wait = w.closedWait ? 1 : (w.singleWait ? 2 : 0);
      std::uint8_t extra = w.kongDraw ? 1 : (w.robbedKong ? 2 : 0);
      at(18) = static_cast<std::uint8_t>(wait | (extra << 4));
      at(19) =
          static_cast<std::uint8_t>((w.allPungs ? 2 : 0) | (std::clamp(f.dragonSets, 0, 15) << 4));
      at(20) = w.discarder >= 0 ? 1 : 2;
      at(24) = 1;
      at(29) = w.lastTile ? 1 : 0;
    } else {
      at(20) = (w.discarder == l) ? 1 : 0;
      at(24) = 2;
      at(25) = static_cast<std::uint8_t>(s.fans[i]);
      at(26) = (w.kongDraw && w.kongFeeder == l) ? 1 : 0;
    }
    at(21) = static_cast<std::uint8_t>(std::clamp(f.exposedKongs, 0, 255));
    at(23) = static_cast<std::uint8_t>(std::clamp(f.concealedKongs, 0, 255));
    at(27) = f.open ? 1 : 0;
    at(28) = f.dealer ? 1 : 0;
    at(30) = static_cast<std::uint8_t>(std::clamp(f.kongFeeds, 0, 255));
    at(31) = f.kongUnits > 0 ? 1 : (f.kongUnits < 0 ? 2 : 0);
    at(32) = static_cast<std::uint8_t>(std::min<std::int64_t>(std::llabs(f.kongUnits), 255));
    const std::uint64_t mag = s.amount[i] < 0 ? static_cast<std::uint64_t>(-s.amount[i])
                                              : static_cast<std::uint64_t>(s.amount[i]);
    for (int k = 0; k < 8; ++k) at(36 + k) = static_cast<std::uint8_t>(mag >> (8 * k));
    at(44) = s.amount[i] < 0 ? 2 : 0;
  }
  return s;
}

}  // namespace tallow::server
