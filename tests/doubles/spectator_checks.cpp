#include "doubles/spectator_checks.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "base/pictures.h"
#include "base/tiles.h"
#include "doubles/table_checks.h"

namespace tallow::testing {
namespace {

constexpr int kStandingBack = 7;
constexpr int kLyingBack = 8;
constexpr std::size_t kKeptPlayerViews = 256;

void Fail(std::vector<std::string>& out, std::size_t limit, const SeatView& v,
          const std::string& what) {
  if (out.size() >= limit) return;
  std::ostringstream m;
  m << "hand " << v.hand << ", spectator of seat " << v.viewer << " after type " << v.type << " ("
    << v.detail << "): " << what;
  out.push_back(m.str());
}

int PictureId(const Client& c, int index) {
  return ImageId(c.images.TileImageIds(index));
}

// Whether every element of `part` is in `whole`, counting repeats.
bool Within(const std::vector<int>& part, const std::vector<int>& whole) {
  std::multiset<int> w(whole.begin(), whole.end());
  for (int x : part) {
    auto it = w.find(x);
    if (it == w.end()) return false;
    w.erase(it);
  }
  return true;
}

std::string List(const std::vector<int>& xs) {
  std::ostringstream m;
  m << std::hex;
  for (int x : xs) m << " 0x" << x;
  return m.str();
}

}  // namespace

WatchSummary Summarize(const Client& c) {
  WatchSummary w;
  const auto& t = c.table;
  for (int rel = 0; rel <= 3; ++rel) {
    const SeatRecord& s = t.custom(rel);
    auto& o = w.seats[static_cast<std::size_t>(rel)];
    o.handCount = s.HandCount;
    o.handStart = s.HandStart;
    o.meldEnd = s.MeldEnd;
    o.red = s.RedKongCount;
    o.wild = s.WildKongCount;
    o.seatBit = s.SeatBit;
    o.dealer = s.IsDealer != 0;
    o.discardX = s.DiscardX;
    o.discardY = s.DiscardY;
    for (int k = rel == 0 ? 1 : 2; k <= s.MeldEnd - 3 && k <= 20; ++k) {
      if ((s.mj(k).value & 0xFF) != 0) o.setValues.push_back(s.mj(k).value & 0xFF);
    }
    std::sort(o.setValues.begin(), o.setValues.end());
    if (rel == 0) {
      for (int k = s.HandStart; k < s.HandStart + s.HandCount && k <= 20; ++k) {
        o.concealed.push_back(s.mj(k).value & 0xFF);
      }
      std::sort(o.concealed.begin(), o.concealed.end());
    }
  }
  w.wallHead = t.WallHead;
  w.wallTail = t.WallTail;
  w.wallHeadDraw = t.WallHeadDraw != 0;
  w.rightPool = c.hand.RightPoolCount;
  w.wild = t.WildTile;
  return w;
}

void SpectatorChecker::Reset() {
  player_.clear();
  waiting_.clear();
}

void SpectatorChecker::Player(const SeatView& v, const Client& c,
                              std::vector<std::string>& failures) {
  playerHandled_ = v.serial;
  const WatchSummary now = Summarize(c);
  auto [from, to] = waiting_.equal_range(v.serial);
  for (auto it = from; it != to; ++it) Compare(it->second.first, it->second.second, now, failures);
  waiting_.erase(from, to);
  player_[v.serial] = now;
  while (player_.size() > kKeptPlayerViews) player_.erase(player_.begin());
}

void SpectatorChecker::Spectator(const SeatView& v, const Client& c, bool settled,
                                 std::vector<std::string>& failures) {
  if (!v.inHand || !settled || c.spectator.TableRestored == 0) return;
  CheckFaces(v, c, failures);
  const WatchSummary mine = Summarize(c);
  if (auto it = player_.find(v.twin); it != player_.end()) {
    Compare(v, mine, it->second, failures);
  } else if (v.twin > playerHandled_) {
    waiting_.emplace(v.twin, std::make_pair(v, mine));
  }
}

void SpectatorChecker::Compare(const SeatView& v, const WatchSummary& s, const WatchSummary& p,
                               std::vector<std::string>& failures) {
  ++compared;
  auto expect = [&](int spectator, int player, const std::string& what) {
    if (spectator == player) return;
    Fail(failures, limit, v,
         what + ": spectator " + std::to_string(spectator) + ", player " + std::to_string(player));
  };
  // A spectator pools a discard a second after it was thrown; the player when the next tile is
  // drawn. Right after a discard their pools differ by that tile.
  const bool discard = v.type == 2;
  for (int rel = 0; rel <= 3; ++rel) {
    const auto& a = s.seats[static_cast<std::size_t>(rel)];
    const auto& b = p.seats[static_cast<std::size_t>(rel)];
    const std::string at = "rel " + std::to_string(rel) + " ";
    expect(a.seatBit, b.seatBit, at + "SeatBit");
    expect(a.dealer, b.dealer, at + "IsDealer");
    expect(a.handCount, b.handCount, at + "HandCount");
    expect(a.handStart, b.handStart, at + "HandStart");
    expect(a.meldEnd, b.meldEnd, at + "MeldEnd");
    expect(a.red, b.red, at + "RedKongCount");
    expect(a.wild, b.wild, at + "WildKongCount");
    if (!discard) {
      expect(a.discardX, b.discardX, at + "DiscardX");
      expect(a.discardY, b.discardY, at + "DiscardY");
    }
    // Each knows some of the tiles of the sets: those a restore read from the snapshots and
    // those it was shown since. A player restored after a lost link may know more than a
    // spectator that has watched since before those sets were made; what both know agrees.
    if (!Within(b.setValues, a.setValues) && !Within(a.setValues, b.setValues)) {
      Fail(failures, limit, v,
           at + "sets:" + List(a.setValues) + "; the player's:" + List(b.setValues));
    }
    if (a.concealed != b.concealed) {
      Fail(failures, limit, v,
           at + "concealed:" + List(a.concealed) + "; the player's:" + List(b.concealed));
    }
  }
  if (!discard) expect(s.rightPool, p.rightPool, "RightPoolCount");
  expect(s.wallHead, p.wallHead, "WallHead");
  expect(s.wallTail, p.wallTail, "WallTail");
  expect(s.wallHeadDraw, p.wallHeadDraw, "WallHeadDraw");
  expect(s.wild, p.wild, "WildTile");
}

void SpectatorChecker::CheckFaces(const SeatView& v, const Client& c,
                                  std::vector<std::string>& failures) {
  ++checked;
  const auto& f = c.mainForm;
  const auto& t = c.table;
  auto fail = [&](const std::string& what) { Fail(failures, limit, v, what); };
  std::set<int> used;
  auto own = [&](int sprite, const std::string& what) {
    if (sprite < 0 || sprite > 119) return fail(what + " has no sprite");
    if (!used.insert(sprite).second) fail(what + " shares sprite " + std::to_string(sprite));
  };
  for (int rel = 0; rel <= 3; ++rel) {
    const SeatRecord& s = t.custom(rel);
    const ServerSeat& ss = v.seats[static_cast<std::size_t>((v.viewer - rel) & 3)];
    const std::string at = "rel " + std::to_string(rel) + " ";
    // Sets: as many as the server's, of the server's tiles, face up.
    if (s.HandStart != 4 + 3 * SetCount(ss)) {
      fail(at + "HandStart " + std::to_string(s.HandStart) + " for " +
           std::to_string(SetCount(ss)) + " sets");
    }
    std::vector<int> mine, server;
    for (const auto& m : ss.melds) {
      if (m.kind == server::MeldKind::Single) continue;
      for (std::size_t j = 0; j < 3 && j < m.tiles.size(); ++j) server.push_back(m.tiles[j]);
    }
    for (int k = rel == 0 ? 1 : 2; k <= s.MeldEnd - 3 && k <= 20; ++k) {
      const TileEntry& e = s.mj(k);
      const std::string name = at + "set mj(" + std::to_string(k) + ")";
      own(e.Sprite, name);
      const int code = e.value & 0xFF;
      if (code == 0) continue;
      mine.push_back(code);
      if (e.Sprite >= 0 && e.Sprite <= 119 &&
          f.MJ_Image(e.Sprite).picture.id != PictureId(c, TilePictureIndex(rel, code))) {
        fail(name + " does not show its tile");
      }
    }
    if (!Within(mine, server))
      fail(at + "sets" + List(mine) + " are not the server's" + List(server));
    // Concealed tiles: face down, every hand.
    for (int k = s.HandStart; k < s.HandStart + s.HandCount && k <= 20; ++k) {
      const int sprite = s.mj(k).Sprite;
      const std::string name = at + "concealed mj(" + std::to_string(k) + ")";
      own(sprite, name);
      if (sprite < 0 || sprite > 119) continue;
      const auto& m = f.MJ_Image(sprite);
      if (!m.Visible) fail(name + " hidden");
      if (m.picture.id != PictureId(c, 36 * rel + kStandingBack)) {
        fail(name + " shows picture " + std::to_string(m.picture.id) + ", not a tile back");
      }
    }
  }
  // The wall: pointers as the server's, what is left standing face down, the indicator on it.
  if (v.nextHead >= 0) {
    const int want = (v.wallStart + v.nextHead) % 120;
    if (t.WallHead != want)
      fail("WallHead " + std::to_string(t.WallHead) + ", server " + std::to_string(want));
  }
  if (v.nextTail >= 0) {
    const int want = (v.wallStart + v.nextTail) % 120;
    if (t.WallTail != want)
      fail("WallTail " + std::to_string(t.WallTail) + ", server " + std::to_string(want));
  }
  int wrong = 0;
  std::string first;
  for (int p = 0; p < 120; ++p) {
    if (v.taken[static_cast<std::size_t>(p)]) continue;
    const int sprite = (v.wallStart + p) % 120;
    const auto& m = f.MJ_Image(sprite);
    const int want = sprite == c.hand.IndicatorSprite
                         ? TilePictureIndex(sprite / 30, t.WildIndicator)
                         : 36 * (sprite / 30) + kLyingBack;
    if ((!m.Visible || m.picture.id != PictureId(c, want) || used.count(sprite) != 0) &&
        wrong++ == 0) {
      first = std::to_string(sprite);
    }
  }
  if (wrong > 0)
    fail(std::to_string(wrong) + " wall sprites not standing face down, first " + first);
}

}  // namespace tallow::testing
