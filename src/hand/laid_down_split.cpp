// Telling a snapshot's laid-down tiles apart into sets and lone 中 or wild tiles.
#include <algorithm>

#include "base/tiles.h"
#include "hand/table_restore.h"

namespace tallow {
namespace {

// The search gives up after this many steps; a snapshot holds at most 24 tiles, so a real one
// needs a few dozen.
constexpr int kSearchSteps = 20000;

bool Before(short a, short b) {
  const int sa = tile::Suit(a), sb = tile::Suit(b);
  return sa > sb || (sa == sb && tile::Rank(a) < tile::Rank(b));
}

class Splitter {
 public:
  Splitter(const std::vector<short>& sorted, int wild) : wild_(wild) {
    for (short t : sorted) {
      if (kinds_.empty() || kinds_.back() != t) {
        kinds_.push_back(t);
        counts_.push_back(0);
      }
      ++counts_.back();
    }
  }

  // The first split with `sets` sets (any number when sets < 0).
  bool Find(int sets, LaidDownTiles& out) {
    want_ = sets;
    steps_ = 0;
    current_ = {};
    if (!Search()) return false;
    out = current_;
    return true;
  }

 private:
  int IndexOf(short t) const {
    const auto it = std::find(kinds_.begin(), kinds_.end(), t);
    return it == kinds_.end() ? -1 : static_cast<int>(it - kinds_.begin());
  }

  bool Take(const std::vector<short>& set) {
    for (short t : set) {
      const int i = IndexOf(t);
      if (i < 0 || std::count(set.begin(), set.end(), t) > counts_[static_cast<std::size_t>(i)]) {
        return false;
      }
    }
    for (short t : set) --counts_[static_cast<std::size_t>(IndexOf(t))];
    return true;
  }
  void Give(const std::vector<short>& set) {
    for (short t : set) ++counts_[static_cast<std::size_t>(IndexOf(t))];
  }

  bool TrySet(const std::vector<short>& set) {
    if (!Take(set)) return false;
    current_.sets.push_back(set);
    if (Search()) return true;
    current_.sets.pop_back();
    Give(set);
    return false;
  }

  bool Search() {
    if (++steps_ > kSearchSteps) return false;
    std::size_t i = 0;
    while (i < counts_.size() && counts_[i] == 0) ++i;
    if (i == counts_.size()) return want_ < 0 || static_cast<int>(current_.sets.size()) == want_;
    const short t = kinds_[i];
    const int n = counts_[i];
    if (n >= 4 && TrySet({t, t, t, t})) return true;
    if (n >= 3 && TrySet({t, t, t})) return true;
    const bool numbered = tile::Suit(t) != 1 && tile::Rank(t) <= 7;
    if (numbered && TrySet({t, static_cast<short>(t + 1), static_cast<short>(t + 2)})) return true;
    if (t == tile::kRedDragon &&
        TrySet({tile::kRedDragon, tile::kGreenDragon, tile::kWhiteDragon})) {
      return true;
    }
    if (t == tile::kRedDragon || (wild_ >= 1 && t == wild_)) {
      --counts_[i];
      current_.lone.push_back(t);
      if (Search()) return true;
      current_.lone.pop_back();
      ++counts_[i];
    }
    return false;
  }

  int wild_;
  std::vector<short> kinds_;
  std::vector<int> counts_;
  int want_ = -1;
  int steps_ = 0;
  LaidDownTiles current_;
};

}  // namespace

void SortTiles(std::vector<short>& tiles, int n) {
  n = std::min(n, static_cast<int>(tiles.size()));
  for (int i = 0; i < n - 1; ++i) {
    for (int j = i + 1; j < n; ++j) {
      auto& a = tiles[static_cast<std::size_t>(i)];
      auto& b = tiles[static_cast<std::size_t>(j)];
      if (Before(b, a)) std::swap(a, b);
    }
  }
}

LaidDownTiles SplitLaidDown(std::vector<short> tiles, int wildTile, int expectedSets) {
  SortTiles(tiles, static_cast<int>(tiles.size()));
  LaidDownTiles out;
  Splitter split(tiles, wildTile);
  if (split.Find(expectedSets, out) || split.Find(-1, out)) return out;
  // No split at all: the tiles are laid as they sort, three to a set.
  out = {};
  for (std::size_t i = 0; i < tiles.size(); i += 3) {
    out.sets.emplace_back(tiles.begin() + static_cast<long>(i),
                          tiles.begin() + static_cast<long>(std::min(i + 3, tiles.size())));
  }
  return out;
}

}  // namespace tallow
