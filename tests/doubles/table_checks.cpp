#include "doubles/table_checks.h"

#include <algorithm>
#include <sstream>
#include <type_traits>

#include "base/pictures.h"
#include "base/tiles.h"

namespace tallow::testing {
namespace {

using server::MeldKind;

constexpr int kStandingBack = 7;  // group rank 8: the back of a standing tile
constexpr int kLyingBack = 8;     // group rank 9: a tile lying face down (also the wall stacks)
constexpr int kAnyPicture = -1;
// Three blink steps 400 ms apart, stretched by the client's own waits (a draw may block it for
// up to 1.4 s).
constexpr std::int64_t kLongestBlinkMs = 3000;

bool TakesSetSlots(MeldKind k) {
  return k != MeldKind::Single;
}

// The typ a client gives the entries of a set: its own chows and dragon sets 2, pungs 3 (an
// added kong stays the pung it was laid down as), kongs 4 and 5. Another seat's chow keeps the
// copied concealed entries (typ 1) and its dragon sets are pungs to it (3).
int SetTyp(MeldKind k, bool local) {
  switch (k) {
    case MeldKind::Chow:
      return local ? 2 : 1;
    case MeldKind::Dragons:
      return local ? 2 : 3;
    case MeldKind::Pung:
    case MeldKind::AddedKong:
      return 3;
    case MeldKind::ExposedKong:
      return 4;
    case MeldKind::ConcealedKong:
      return 5;
    case MeldKind::Single:
      break;
  }
  return -1;
}

const char* KindName(MeldKind k) {
  switch (k) {
    case MeldKind::Chow:
      return "chow";
    case MeldKind::Pung:
      return "pung";
    case MeldKind::ExposedKong:
      return "exposed kong";
    case MeldKind::ConcealedKong:
      return "concealed kong";
    case MeldKind::AddedKong:
      return "added kong";
    case MeldKind::Dragons:
      return "dragon set";
    case MeldKind::Single:
      return "one-tile kong";
  }
  return "?";
}

ui::Picture TilePicture(const Client& c, int index) {
  return ui::Picture{ImageId(c.images.TileImageIds(index)), {}};
}

std::string Hex(int code) {
  std::ostringstream m;
  m << "0x" << std::hex << code;
  return m.str();
}

// What a check is about: a text, or something that makes one. Messages are built only for
// what differs, since the checks run after every record of thousands of hands.
template <typename D>
std::string Describe(const D& d) {
  if constexpr (std::is_invocable_v<const D&>) {
    return d();
  } else {
    return std::string(d);
  }
}

// One report for one client and one record: collects what differs under a common heading.
class Report {
 public:
  Report(const SeatView& v, std::vector<std::string>& out, std::size_t limit)
      : v_(v), out_(out), limit_(limit) {}

  template <typename A, typename B, typename D>
  void Expect(const A& client, const B& server, int rel, const D& what) {
    if (client == server) return;
    std::ostringstream m;
    m << Describe(what) << ": client " << client << ", server " << server;
    Fail(rel, m.str());
  }
  // The same for tile codes, shown in hexadecimal.
  template <typename D>
  void ExpectTile(int client, int server, int rel, const D& what) {
    if (client != server) Expect(Hex(client), Hex(server), rel, what);
  }

  void Fail(int rel, const std::string& what) {
    if (out_.size() >= limit_) return;
    std::ostringstream m;
    m << "hand " << v_.hand << ", seat " << v_.viewer << " after type " << v_.type << " ("
      << v_.detail << ")";
    if (rel >= 0) m << ", rel " << rel << " (seat " << ((v_.viewer - rel) & 3) << ")";
    m << ": " << what;
    out_.push_back(m.str());
  }

 private:
  const SeatView& v_;
  std::vector<std::string>& out_;
  std::size_t limit_;
};

// Names one entry of a seat's record: "pung 1 mj(5)", "concealed mj(7)".
struct EntryName {
  const char* what = nullptr;  // nullptr: the sprite shows no entry
  int set = -1;                // the set's number, or -1
  int k = 0;                   // the entry's index in mj
  int rel = 0;
  std::string Text() const {
    std::string t = what;
    if (set >= 0) t.append(" ").append(std::to_string(set));
    return t.append(" mj(").append(std::to_string(k)).append(")");
  }
};

}  // namespace

int SetCount(const ServerSeat& s) {
  return static_cast<int>(std::count_if(
      s.melds.begin(), s.melds.end(), [](const server::Meld& m) { return TakesSetSlots(m.kind); }));
}

void TableChecker::Check(const SeatView& v, const Client& c, std::vector<std::string>& failures) {
  const auto& f = c.mainForm;
  const auto& t = c.table;
  if (v.type == 4) {
    hiddenSince_[static_cast<std::size_t>(v.viewer)].clear();
    // The wall has just been laid out: remember where every sprite stands.
    for (int i = 0; i < 120; ++i) {
      const auto& m = f.MJ_Image(i);
      standing_[static_cast<std::size_t>(v.viewer)][static_cast<std::size_t>(i)] =
          Spot{m.Left, m.Top, m.Width, m.Height};
    }
  }
  // A returning client: the answer to its relogin (29) comes to the table as it was before the
  // break, and the table is incomplete from the table-cleared message (41) to the fourth
  // snapshot (40); while a discard waits for claims the snapshots still show it in its
  // discarder's hand, and the discard follows them. The hand is checked as restored from the
  // next record on.
  const auto viewer = static_cast<std::size_t>(v.viewer);
  if (v.type == 41) restoring_[viewer] = 4;
  if (v.type == 40 && restoring_[viewer] > 0 && --restoring_[viewer] == 0) {
    restoredHand_[viewer] = v.hand;
  }
  if (!v.inHand || v.type == 41 || v.type == 40 || v.type == 29 || restoring_[viewer] > 0) return;
  const bool restored = restoredHand_[viewer] == v.hand;
  ++checks;
  Report r(v, failures, limit);
  const auto& standing = standing_[static_cast<std::size_t>(v.viewer)];
  auto spriteOf = [&](int pos) { return (v.wallStart + pos) % 120; };
  auto posOf = [&](int sprite) { return (sprite - v.wallStart + 120) % 120; };
  auto taken = [&](int sprite) { return v.taken[static_cast<std::size_t>(posOf(sprite))]; };
  // Which entry shows each sprite: the same sprite may not stand for two tiles.
  std::array<EntryName, 120> owner{};

  auto checkSprite = [&](const EntryName& name, const TileEntry& e, int picture) {
    const int rel = name.rel;
    if (e.Sprite < 0 || e.Sprite > 119) {
      r.Fail(rel, name.Text() + " has no sprite (" + std::to_string(e.Sprite) + ")");
      return;
    }
    auto& o = owner[static_cast<std::size_t>(e.Sprite)];
    if (o.what != nullptr) {
      r.Fail(rel, name.Text() + " shows sprite " + std::to_string(e.Sprite) + ", already rel " +
                      std::to_string(o.rel) + " " + o.Text());
    }
    o = name;
    if (!taken(e.Sprite)) {
      r.Fail(rel, name.Text() + " shows sprite " + std::to_string(e.Sprite) + " of wall position " +
                      std::to_string(posOf(e.Sprite)) + ", which the server has not dealt");
    }
    const auto& m = f.MJ_Image(e.Sprite);
    auto& hidden = hiddenSince_[static_cast<std::size_t>(v.viewer)];
    if (m.Visible) {
      if (!hidden.empty()) hidden.erase(e.Sprite);
    } else if (auto [at, fresh] = hidden.try_emplace(e.Sprite, v.handledMs);
               !fresh && v.handledMs - at->second > kLongestBlinkMs) {
      r.Fail(rel, name.Text() + " sprite " + std::to_string(e.Sprite) + " hidden for " +
                      std::to_string(v.handledMs - at->second) + " ms");
      at->second = v.handledMs;  // reported: start counting again
    }
    if (picture != kAnyPicture && !(m.picture == TilePicture(c, picture))) {
      r.Fail(rel, name.Text() + " sprite " + std::to_string(e.Sprite) + " shows picture " +
                      std::to_string(m.picture.id) + ", expected tile picture " +
                      std::to_string(picture) + " (" + std::to_string(TilePicture(c, picture).id) +
                      ")");
    }
  };

  for (int rel = 0; rel < 4; ++rel) {
    const int abs = (v.viewer - rel) & 3;
    const ServerSeat& ss = v.seats[static_cast<std::size_t>(abs)];
    const SeatRecord& s = t.custom(rel);
    const bool local = rel == 0;
    const int sets = SetCount(ss);
    r.Expect(static_cast<int>(s.SeatBit), 1 << abs, rel, "SeatBit");
    r.Expect(s.IsDealer != 0, abs == v.dealer, rel, "IsDealer");
    r.Expect(static_cast<int>(s.HandCount), ss.concealedCount, rel, "HandCount");
    r.Expect(static_cast<int>(s.HandStart), 4 + 3 * sets, rel, "HandStart");
    r.Expect(static_cast<int>(s.MeldEnd), (local ? 3 : 4) + 3 * sets, rel, "MeldEnd");

    // Exposed sets, three entries each from mj(1) (local) or mj(2) (the others).
    int k = local ? 1 : 2;
    int red = 0, wild = 0;
    // A restored hand rebuilds the sets from their tiles alone (neither their order nor a kong's
    // kind is told): the same tiles must lie in the sets. Sets laid down after the restore are
    // the turn handlers' own, where another seat's chow keeps no tile values.
    std::vector<int> clientSetTiles, serverSetTiles;
    int unknownSetTiles = 0;
    for (int n = 0; restored && n < sets; ++n) {
      for (int j = 0; j <= 2 && k + 3 * n + j <= 20; ++j) {
        const EntryName name{"set", n, k + 3 * n + j, rel};
        const TileEntry& e = s.mj(k + 3 * n + j);
        const int value = e.value & 0xFF;
        if (value == 0 && !local) {
          ++unknownSetTiles;
          checkSprite(name, e, kAnyPicture);
          continue;
        }
        clientSetTiles.push_back(value);
        checkSprite(name, e, TilePictureIndex(rel, value));
      }
    }
    for (std::size_t mi = 0; mi < ss.melds.size(); ++mi) {
      const server::Meld& m = ss.melds[mi];
      if (m.kind == MeldKind::Single) {
        // A 中 or wild tile laid down alone lies beside the hand unless the seat shows a pung
        // of it (then it lies on that pung).
        bool onPung = false;
        for (std::size_t e = 0; e < mi; ++e) {
          const auto& p = ss.melds[e];
          onPung = onPung || ((p.kind == MeldKind::Pung || p.kind == MeldKind::AddedKong) &&
                              p.tiles[0] == m.tiles[0]);
        }
        if (!onPung) ++(m.tiles[0] == server::kRed ? red : wild);
        continue;
      }
      if (restored) {
        for (int j = 0; j <= 2; ++j) serverSetTiles.push_back(m.tiles[static_cast<std::size_t>(j)]);
        continue;
      }
      for (int j = 0; j <= 2 && k + j <= 20; ++j) {
        const EntryName name{KindName(m.kind), k / 3, k + j, rel};
        const TileEntry& e = s.mj(k + j);
        const int tile = m.tiles[static_cast<std::size_t>(j)];
        r.Expect(static_cast<int>(e.typ), SetTyp(m.kind, local), rel,
                 [&] { return name.Text() + ".typ"; });
        const int value = (!local && m.kind == MeldKind::Chow) ? 0 : tile;
        r.ExpectTile(e.value, value, rel, [&] { return name.Text() + ".value"; });
        checkSprite(name, e, TilePictureIndex(rel, tile));
      }
      k += 3;
    }
    if (restored) {
      std::sort(clientSetTiles.begin(), clientSetTiles.end());
      std::sort(serverSetTiles.begin(), serverSetTiles.end());
      if (clientSetTiles.size() + static_cast<std::size_t>(unknownSetTiles) !=
              serverSetTiles.size() ||
          !std::includes(serverSetTiles.begin(), serverSetTiles.end(), clientSetTiles.begin(),
                         clientSetTiles.end())) {
        std::ostringstream m;
        m << "restored set tiles:";
        for (int x : clientSetTiles) m << ' ' << Hex(x);
        m << "; server:";
        for (int x : serverSetTiles) m << ' ' << Hex(x);
        r.Fail(rel, m.str());
      }
    }
    r.Expect(static_cast<int>(s.RedKongCount), std::min(red, 4), rel, "RedKongCount");
    r.Expect(static_cast<int>(s.WildKongCount), std::min(wild, 4), rel, "WildKongCount");

    // The concealed run.
    std::vector<std::uint8_t> values;
    for (int h = s.HandStart; h < s.HandStart + s.HandCount && h <= 20; ++h) {
      const TileEntry& e = s.mj(h);
      const EntryName name{"concealed", -1, h, rel};
      r.Expect(static_cast<int>(e.typ), 1, rel, [&] { return name.Text() + ".typ"; });
      if (local) {
        values.push_back(static_cast<std::uint8_t>(e.value & 0xFF));
        checkSprite(name, e, TilePictureIndex(4, e.value));
      } else {
        // The client cannot know another seat's tiles during the hand.
        r.ExpectTile(e.value, 0, rel, [&] { return name.Text() + ".value"; });
        checkSprite(name, e, 36 * rel + kStandingBack);
      }
    }
    if (local) {
      std::sort(values.begin(), values.end());
      if (values != v.concealed) {
        std::ostringstream m;
        m << "concealed tiles:";
        for (int x : values) m << ' ' << Hex(x);
        m << "; server:";
        for (int x : v.concealed) m << ' ' << Hex(x);
        r.Fail(rel, m.str());
      }
    }
  }

  // The wall: pointers, and every sprite the server has not dealt still standing.
  if (v.nextHead >= 0) r.Expect(t.WallHead, spriteOf(v.nextHead), -1, "WallHead");
  if (v.nextTail >= 0) r.Expect(t.WallTail, spriteOf(v.nextTail), -1, "WallTail");
  const bool kongJustMade = v.type == 7 && ((v.value[0] & 0xFF) == protocol::op::kKong ||
                                            (v.value[0] & 0xFF) == protocol::op::kConcealedKong ||
                                            (v.value[0] & 0xFF) == protocol::op::kOneTileKong);
  r.Expect(t.WallHeadDraw == 0, kongJustMade, -1, "WallHeadDraw is False (replacement due)");
  int wrongStanding = 0, leftStanding = 0;
  std::string firstWrong, firstLeft;
  for (int sprite = 0; sprite < 120; ++sprite) {
    const auto& m = f.MJ_Image(sprite);
    const Spot at{m.Left, m.Top, m.Width, m.Height};
    const bool atWall = at == standing[static_cast<std::size_t>(sprite)];
    if (!taken(sprite)) {
      // After a restore the tail's next tile shows the wild-tile indicator.
      const int back = sprite == c.hand.IndicatorSprite
                           ? TilePictureIndex(sprite / 30, c.table.WildIndicator)
                           : 36 * (sprite / 30) + kLyingBack;
      const bool ok = m.Visible && atWall && m.picture == TilePicture(c, back) &&
                      owner[static_cast<std::size_t>(sprite)].what == nullptr;
      if (!ok && wrongStanding++ == 0) {
        firstWrong = std::to_string(sprite) + (m.Visible ? "" : " hidden") +
                     (atWall ? "" : " moved") + " picture " + std::to_string(m.picture.id);
      }
    } else if (owner[static_cast<std::size_t>(sprite)].what == nullptr && atWall && m.Visible) {
      // Dealt, in no hand and no set: a discard or a kong's fourth tile, which must have left
      // its place in the wall.
      if (leftStanding++ == 0) firstLeft = std::to_string(sprite);
    }
  }
  if (wrongStanding > 0 || leftStanding > 0) {
    r.Fail(-1, std::to_string(wrongStanding) + " undealt wall sprites not standing, " +
                   std::to_string(leftStanding) +
                   " dealt ones still standing (first: " + firstWrong + "; " + firstLeft + ")");
  }
}

}  // namespace tallow::testing
