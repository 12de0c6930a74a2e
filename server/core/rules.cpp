#include "core/rules.h"

#include <algorithm>
#include <atomic>
#include <memory>

namespace tallow::server {
namespace {

// Fewest wild tiles that turn the tiles of one suit into sets (and one pair when pair is
// set), or budget + 1 when more than budget would be needed. The lowest remaining rank is
// split off as a pung, the pair, or a chow in which it is the lowest natural tile (ranks
// below it, if any, are wild). Suits are independent, so the hand is solved suit by suit.
int MinWilds(std::uint8_t* c, int n, bool chows, bool pair, int budget) {
  int i = 0;
  while (i < n && c[i] == 0) ++i;
  if (i == n) return pair ? (budget >= 2 ? 2 : budget + 1) : 0;
  int best = budget + 1;
  auto& ci = c[i];
  auto consider = [&](int cost, auto&& rest) {
    if (cost >= best) return;
    const int r = rest(best - 1 - cost);
    if (cost + r < best) best = cost + r;
  };
  {
    const int use = std::min<int>(ci, 3);
    ci = static_cast<std::uint8_t>(ci - use);
    consider(3 - use, [&](int b) { return MinWilds(c, n, chows, pair, b); });
    ci = static_cast<std::uint8_t>(ci + use);
  }
  if (pair) {
    const int use = std::min<int>(ci, 2);
    ci = static_cast<std::uint8_t>(ci - use);
    consider(2 - use, [&](int b) { return MinWilds(c, n, chows, false, b); });
    ci = static_cast<std::uint8_t>(ci + use);
  }
  if (chows) {
    for (int start = std::max(0, i - 2); start <= std::min(i, n - 3); ++start) {
      int cost = i - start;
      bool took[3] = {false, false, false};
      for (int m = i + 1; m <= start + 2; ++m) {
        if (c[m] > 0) {
          --c[m];
          took[m - start] = true;
        } else {
          ++cost;
        }
      }
      --ci;
      consider(cost, [&](int b) { return MinWilds(c, n, chows, pair, b); });
      ++ci;
      for (int m = i + 1; m <= start + 2; ++m) {
        if (took[m - start]) ++c[m];
      }
    }
  }
  return best;
}

// Memo of both answers for every suit pattern (counts 0..4 of nine ranks, base 5): the low
// nibble holds the wilds needed without the pair, the high nibble with it, each capped at
// kCap; 0 marks an entry not computed yet (values are stored plus one).
constexpr int kCap = 14;
constexpr std::size_t kPatterns = 1953125;  // 5^9

std::atomic<std::uint8_t>* SuitMemo(bool chows) {
  static std::unique_ptr<std::atomic<std::uint8_t>[]> suited(
      new std::atomic<std::uint8_t>[kPatterns]());
  static std::unique_ptr<std::atomic<std::uint8_t>[]> honours(new std::atomic<std::uint8_t>[125]());
  return chows ? suited.get() : honours.get();
}

// Wilds needed for one suit without and with the pair (each at most kCap + 1).
void SuitNeeds(std::uint8_t* c, int n, bool chows, int& plain, int& paired) {
  std::size_t key = 0;
  bool small = true;
  for (int i = n - 1; i >= 0; --i) {
    small = small && c[i] <= 4;
    key = key * 5 + c[i];
  }
  if (!small) {
    plain = MinWilds(c, n, chows, false, kCap);
    paired = MinWilds(c, n, chows, true, kCap);
    return;
  }
  auto& slot = SuitMemo(chows)[key];
  std::uint8_t v = slot.load(std::memory_order_relaxed);
  if (v == 0) {
    const int a = std::min(MinWilds(c, n, chows, false, kCap - 1), kCap);
    const int b = std::min(MinWilds(c, n, chows, true, kCap - 1), kCap);
    v = static_cast<std::uint8_t>((a + 1) | ((b + 1) << 4));
    slot.store(v, std::memory_order_relaxed);
  }
  plain = (v & 0x0F) - 1;
  paired = (v >> 4) - 1;
}

}  // namespace

SplitHand Split(std::span<const Tile> tiles, Tile wild) {
  SplitHand h;
  for (Tile t : tiles) {
    const int k = KindOf(t);
    if (k < 0) continue;
    if (wild != 0 && t == wild) {
      ++h.wilds;
    } else {
      ++h.counts[static_cast<std::size_t>(k)];
    }
    ++h.total;
  }
  return h;
}

bool FormsSets(const Counts& naturals, int wilds, bool needPair) {
  int total = wilds;
  for (auto n : naturals) total += n;
  if (total % 3 != (needPair ? 2 : 0)) return false;
  // Per suit: wilds needed without the pair and with it.
  Counts c = naturals;
  int plain[4];
  int paired[4];
  int sum = 0;
  for (int s = 0; s < 4; ++s) {
    std::uint8_t* base = c.data() + 9 * s;
    const int n = s < 3 ? 9 : 3;
    const bool chows = s < 3;
    SuitNeeds(base, n, chows, plain[s], paired[s]);
    if (plain[s] >= kCap && wilds >= kCap) plain[s] = MinWilds(base, n, chows, false, wilds);
    if (paired[s] >= kCap && wilds >= kCap) paired[s] = MinWilds(base, n, chows, true, wilds);
    sum += plain[s];
  }
  if (!needPair) return sum <= wilds;
  if (sum + 2 <= wilds) return true;  // the pair made of wild tiles
  for (int s = 0; s < 4; ++s) {
    if (sum - plain[s] + paired[s] <= wilds) return true;
  }
  return false;
}

bool IsWinningHand(std::span<const Tile> concealed, Tile wild) {
  const SplitHand h = Split(concealed, wild);
  return FormsSets(h.counts, h.wilds, true);
}

bool IsAllPungs(const Counts& naturals, int wilds) {
  int total = wilds;
  for (auto n : naturals) total += n;
  if (total % 3 != 2) return false;
  // Every kind becomes pungs, except possibly one kind that holds the pair; leftovers of a
  // kind (1 or 2 above a multiple of 3) take wild tiles to fill up.
  auto deficit = [](int n, bool pair) {
    if (pair) {
      if (n <= 2) return 2 - n;
      n -= 2;
    }
    return (3 - n % 3) % 3;
  };
  int base = 0;
  for (auto n : naturals) base += deficit(n, false);
  // The pair made of wild tiles alone.
  if (base + 2 <= wilds && (wilds - base - 2) % 3 == 0) return true;
  for (std::size_t k = 0; k < naturals.size(); ++k) {
    const int n = naturals[k];
    if (n == 0) continue;
    const int need = base - deficit(n, false) + deficit(n, true);
    if (need <= wilds && (wilds - need) % 3 == 0) return true;
  }
  return false;
}

bool IsClosedWait(std::span<const Tile> hand13, Tile winning, Tile wild) {
  if (!IsSuited(winning)) return false;
  const int k = KindOf(winning);
  const int rank = k % 9;
  if (rank == 0 || rank == 8) return false;
  SplitHand h = Split(hand13, wild);
  auto& lo = h.counts[static_cast<std::size_t>(k - 1)];
  auto& hi = h.counts[static_cast<std::size_t>(k + 1)];
  if (lo == 0 || hi == 0) return false;
  --lo;
  --hi;
  return FormsSets(h.counts, h.wilds, true);
}

bool IsSingleWait(std::span<const Tile> hand13, Tile winning, Tile wild) {
  const int k = KindOf(winning);
  if (k < 0) return false;
  SplitHand h = Split(hand13, wild);
  auto& c = h.counts[static_cast<std::size_t>(k)];
  if (c == 0) return false;
  --c;
  return FormsSets(h.counts, h.wilds, false);
}

int CountNatural(std::span<const Tile> concealed, Tile t, Tile wild) {
  if (!IsValidTile(t) || t == wild) return 0;
  return static_cast<int>(std::count(concealed.begin(), concealed.end(), t));
}

bool CanPung(std::span<const Tile> concealed, Tile t, Tile wild) {
  return CountNatural(concealed, t, wild) >= 2;
}

bool CanExposedKong(std::span<const Tile> concealed, Tile t, Tile wild) {
  return CountNatural(concealed, t, wild) >= 3;
}

bool IsChow(Tile discard, Tile a, Tile b) {
  if (!IsSuited(discard) || !IsSuited(a) || !IsSuited(b)) return false;
  if (SuitBit(discard) != SuitBit(a) || SuitBit(discard) != SuitBit(b)) return false;
  int r[3] = {Rank(discard), Rank(a), Rank(b)};
  std::sort(r, r + 3);
  return r[1] == r[0] + 1 && r[2] == r[1] + 1;
}

bool CanChowWith(std::span<const Tile> concealed, Tile discard, Tile a, Tile b, Tile wild) {
  if (!IsChow(discard, a, b) || discard == wild) return false;
  if (a == b) return false;
  return CountNatural(concealed, a, wild) >= 1 && CountNatural(concealed, b, wild) >= 1;
}

bool CanChow(std::span<const Tile> concealed, Tile discard, Tile wild) {
  if (!IsSuited(discard) || discard == wild) return false;
  const int r = Rank(discard);
  const int s = discard & 0xF0;
  auto tile = [s](int rank) { return static_cast<Tile>(s | rank); };
  for (int start = r - 2; start <= r; ++start) {
    if (start < 1 || start + 2 > 9) continue;
    Tile others[2];
    int n = 0;
    for (int m = start; m <= start + 2; ++m) {
      if (m != r) others[n++] = tile(m);
    }
    if (CanChowWith(concealed, discard, others[0], others[1], wild)) return true;
  }
  return false;
}

}  // namespace tallow::server
