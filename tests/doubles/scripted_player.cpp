#include "doubles/scripted_player.h"

#include <vector>

#include "base/tiles.h"

namespace tallow::testing {
namespace {

constexpr int kChow = 0, kPung = 1, kKong = 2, kWin = 3, kPass = 4;
constexpr int kOffered = 2;

// The local concealed tiles in the client's sorted order (a copy: looking changes nothing).
SeatRecord SortedHand(const Client& c) {
  SeatRecord me = c.table.custom(0);
  SortHandValues(me, me.HandCount);
  return me;
}

bool IsWild(const Client& c, int v) {
  return c.table.HasWildTile() && v == c.table.WildTile;
}

}  // namespace

// The kongs the chooser would list (in its order: one-tile, exposed, concealed), and whether the
// server takes each: an exposed kong only on a claim, a concealed one only of natural tiles.
std::vector<bool> ScriptedPlayer::KongOptions() {
  const Client& c = C();
  const auto& t = c.table;
  const SeatRecord me = SortedHand(c);
  const int end = me.HandStart + me.HandCount;
  const int flags = t.OperationFlags;
  const bool claim = (me.HandCount - 2) % 3 != 0;  // no discard due: a claim on a discard
  std::vector<bool> out;
  if ((flags & protocol::op::kOneTileKong) != 0) {
    for (int k = 1; k <= me.MeldEnd - 5; k += 3) {
      if (me.mj(k).typ != 3) continue;
      for (int i = me.HandStart; i < end; ++i) {
        if (me.mj(i).value == me.mj(k).value) {
          out.push_back(true);
          break;
        }
      }
    }
  }
  if ((flags & protocol::op::kKong) != 0) {
    for (int i = me.HandStart; i <= end - 3; ++i) {
      if (me.mj(i).value == t.LastTile && me.mj(i + 2).value == t.LastTile) {
        out.push_back(claim);
        break;
      }
    }
  }
  if ((flags & protocol::op::kConcealedKong) != 0) {
    for (int i = me.HandStart; i <= end - 4; ++i) {
      if (me.mj(i).value == me.mj(i + 3).value) out.push_back(!claim && !IsWild(c, me.mj(i).value));
    }
  }
  return out;
}

// Whether the kong chooser's option j is one the server takes, by the kind the client will send
// for it (decided from the hand as the chooser click decides it).
bool ScriptedPlayer::KongChoiceValid(int j) {
  const Client& c = C();
  const auto& t = c.table;
  const SeatRecord& me = t.custom(0);
  const int k = t.KongOptions(j), e = me.HandStart + me.HandCount;
  const int flags = t.OperationFlags;
  const short v = me.mj(k).value;
  if ((flags & protocol::op::kOneTileKong) != 0) {
    const bool alone = k + 1 < e ? me.mj(k + 1).value != v : me.mj(k - 1).value != v;
    if (alone) {
      bool pung = false;
      for (int s = 1; s <= me.MeldEnd - 5; s += 3)
        pung = pung || (me.mj(s).typ == 3 && me.mj(s).value == v);
      return pung || v == tile::kRedDragon || IsWild(c, v);
    }
  }
  if (k + 3 < e && (flags & protocol::op::kConcealedKong) != 0 && me.mj(k + 3).value == v) {
    return (me.HandCount - 2) % 3 == 0 && !IsWild(c, v);  // only on its own turn
  }
  if (k + 2 < e && (flags & protocol::op::kKong) != 0 && me.mj(k + 2).value == v) {
    return (me.HandCount - 2) % 3 != 0;  // only on a discard
  }
  return false;
}

// The chows the chooser would list, in its order, and whether each uses only natural tiles
// (the server refuses a chow with a wild tile).
std::vector<bool> ScriptedPlayer::ChowOptions() {
  const Client& c = C();
  const auto& t = c.table;
  const SeatRecord me = SortedHand(c);
  const int tileCode = t.LastTile;
  const int suit = tileCode & 0xF0, r = tile::Rank(tileCode);
  int start = me.HandStart;
  while (start < me.HandStart + me.HandCount && IsWild(c, me.mj(start).value)) ++start;
  std::array<int, 10> count{}, wild{};
  for (int k = start; k < me.HandStart + me.HandCount; ++k) {
    const int v = me.mj(k).value;
    if ((v & 0xF0) != suit) continue;
    ++count[static_cast<std::size_t>(tile::Rank(v))];
    if (IsWild(c, v)) ++wild[static_cast<std::size_t>(tile::Rank(v))];
  }
  // The option takes the last tile of each rank in sorted order: a wild tile when the rank's
  // tiles are all wild ones (they are all the same code).
  auto natural = [&](int q) { return wild[static_cast<std::size_t>(q)] == 0; };
  auto has = [&](int q) { return q >= 1 && q <= 9 && count[static_cast<std::size_t>(q)] > 0; };
  std::vector<bool> out;
  if (r < 1 || r > 9) return out;
  if (r > 2 && has(r - 2) && has(r - 1)) out.push_back(natural(r - 2) && natural(r - 1));
  if (r > 1 && r < 9 && has(r - 1) && has(r + 1)) out.push_back(natural(r - 1) && natural(r + 1));
  if (r < 8 && has(r + 1) && has(r + 2)) out.push_back(natural(r + 1) && natural(r + 2));
  return out;
}

ScriptedPlayer::ScriptedPlayer(TableHarness& table, int seat, std::uint64_t seed, Habits habits)
    : table_(table), seat_(seat), rng_(seed), habits_(habits) {}

void ScriptedPlayer::Wait(int fromMs, int toMs) {
  actAt_ = table_.clock.NowMs() + std::uniform_int_distribution<int>(fromMs, toMs)(rng_);
}

void ScriptedPlayer::Handled(const SeatView& view) {
  // A fresh offer, or the end of a hand: take a moment to look at it.
  if (view.type == 6) Wait(100, 1500);
  if (view.type == 9) Wait(500, 4000);
}

void ScriptedPlayer::Click(ui::Control& control, const std::string& what) {
  if (!control.Visible || !control.Enabled) {
    if (badClicks.size() < 20) {
      badClicks.push_back("seat " + std::to_string(seat_) + ": " + what + " is not clickable (" +
                          (control.Visible ? "disabled" : "hidden") + ")");
    }
    return;
  }
  ui::InputEvent e;
  e.control = &control;
  e.button = ui::kLeftButton;
  for (auto kind : {ui::InputKind::MouseDown, ui::InputKind::MouseUp, ui::InputKind::Click}) {
    e.kind = kind;
    C().mainForm.OnInput(e);
  }
  ++did[what];
}

void ScriptedPlayer::ClickButton(int b, const std::string& what) {
  Click(C().mainForm.Operation(b), what);
}

bool ScriptedPlayer::UseChooser() {
  auto& c = C();
  auto& f = c.mainForm;
  const auto& t = c.table;
  std::vector<int> chi, gang;
  int shownChi = 0, shownGang = 0;
  const SeatRecord& me = t.custom(0);
  for (int j = 0; j < t.ChowCount && j <= 5; ++j) {
    if (!f.Chi(j).Visible || !f.Chi(j).Enabled) continue;
    ++shownChi;
    // The row's two tiles, as the chooser shows them.
    const int a = me.mj(t.ChowOptions(j - j % 2)).value,
              b = me.mj(t.ChowOptions(j - j % 2 + 1)).value;
    if (!IsWild(c, a) && !IsWild(c, b)) chi.push_back(j);
  }
  for (int j = 0; j < t.KongCount && j <= 4; ++j) {
    if (!f.Gang(j).Visible || !f.Gang(j).Enabled) continue;
    ++shownGang;
    if (KongChoiceValid(j)) gang.push_back(j);
  }
  if (shownChi > 0 && !chi.empty()) {
    // Either tile of a row picks that row's pair.
    const int j = chi[static_cast<std::size_t>(Pick(static_cast<int>(chi.size())))];
    Click(f.Chi(j),
          "chow chooser: way " + std::to_string(j / 2 + 1) + " of " + std::to_string(shownChi / 2));
    Wait(150, 800);
    return true;
  }
  if (shownGang > 0 && !gang.empty()) {
    const int j = gang[static_cast<std::size_t>(Pick(static_cast<int>(gang.size())))];
    Click(f.Gang(j),
          "kong chooser: option " + std::to_string(j + 1) + " of " + std::to_string(shownGang));
    Wait(150, 800);
    return true;
  }
  if ((shownChi > 0 || shownGang > 0) && badClicks.size() < 20) {
    badClicks.push_back("seat " + std::to_string(seat_) +
                        ": a chooser with nothing the server takes");
    Wait(60'000, 60'000);
  }
  return false;
}

bool ScriptedPlayer::AnswerOffer() {
  auto& c = C();
  auto& t = c.table;
  auto offered = [&](int b) { return t.OperationState(b) == kOffered; };
  const bool ownTurn = t.MustDiscard != 0;
  const char* when = ownTurn ? " (own turn)" : " (claim)";
  Wait(150, 800);
  if (offered(kWin) && Chance(habits_.win)) {
    ClickButton(kWin, "win");
    return true;
  }
  // 杠 and 吃 only when the chooser will hold a kong or chow the server takes (杠 is also lit for
  // a lone 中 or wild tile, which the panel cannot lay down).
  auto takes = [](const std::vector<bool>& options) {
    if (options.size() == 1) return static_cast<bool>(options[0]);
    for (bool ok : options) {
      if (ok) return true;
    }
    return false;
  };
  const bool kongToLay = offered(kKong) && takes(KongOptions());
  if (offered(kKong) && !kongToLay) ++did["(杠 lit with no kong the panel can lay down)"];
  if (kongToLay && Chance(habits_.kong)) {
    ClickButton(kKong, "kong button");
    return true;
  }
  if (offered(kPung) && Chance(habits_.pung)) {
    ClickButton(kPung, "pung button");
    return true;
  }
  if (offered(kChow) && takes(ChowOptions()) && Chance(habits_.chow)) {
    ClickButton(kChow, "chow button");
    return true;
  }
  if (ownTurn && Chance(habits_.throwAtOnce)) {
    ThrowTile();
    return true;
  }
  if (Chance(habits_.rightClick)) {
    auto& pic = c.mainForm.Pic1;
    ui::InputEvent e;
    e.control = &pic;
    e.button = ui::kRightButton;
    e.kind = ui::InputKind::MouseDown;
    c.mainForm.OnInput(e);
    e.kind = ui::InputKind::MouseUp;
    c.mainForm.OnInput(e);
    ++did[std::string("right click") + when];

    return true;
  }
  ClickButton(kPass, std::string("pass button") + when);
  return true;
}

// Throws an isolated tile when there is one (no equal tile, no neighbour in its suit), so that
// pairs and runs stay in the hand and pungs, kongs and chows keep coming; never a wild tile
// while there is anything else.
int ScriptedPlayer::ChooseDiscard() {
  const auto& t = C().table;
  const SeatRecord& me = t.custom(0);
  std::vector<int> isolated, plain, all;
  for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
    const int v = me.mj(k).value;
    all.push_back(k);
    if (t.HasWildTile() && v == t.WildTile) continue;
    // The fourth tile of one of its own pungs is kept for an added kong.
    bool fourth = false;
    for (int s = 1; s <= me.MeldEnd - 5; s += 3)
      fourth = fourth || (me.mj(s).typ == 3 && me.mj(s).value == v);
    if (fourth) continue;
    plain.push_back(k);
    bool alone = true;
    for (int q = me.HandStart; q < me.HandStart + me.HandCount; ++q) {
      if (q == k) continue;
      const int w = me.mj(q).value;
      if (w == v) alone = false;
      if (tile::Suit(w) == tile::Suit(v) && tile::Suit(v) != 1 &&
          (tile::Rank(w) == tile::Rank(v) + 1 || tile::Rank(w) + 1 == tile::Rank(v))) {
        alone = false;
      }
    }
    if (alone) isolated.push_back(k);
  }
  const auto& from = !isolated.empty() && Chance(0.85) ? isolated : !plain.empty() ? plain : all;
  if (from.empty()) return -1;
  return from[static_cast<std::size_t>(Pick(static_cast<int>(from.size())))];
}

void ScriptedPlayer::ThrowTile() {
  auto& c = C();
  const int k = ChooseDiscard();
  if (k < 0) return;
  const int sprite = c.table.custom(0).mj(k).Sprite;
  if (sprite < 0 || sprite > 119) return;
  auto& image = c.mainForm.MJ_Image(sprite);
  // The pointer passes over the tile (which lifts it) before the click.
  ui::InputEvent e;
  e.control = &image;
  e.kind = ui::InputKind::MouseMove;
  c.mainForm.OnInput(e);
  Click(image, "discard");
  Wait(150, 800);
}

void ScriptedPlayer::Step() {
  auto& seat = *table_.seats[static_cast<std::size_t>(seat_)];
  if (!seat.client || seat.ended || table_.clock.NowMs() < actAt_) return;
  auto& c = C();
  auto& t = c.table;
  auto& f = c.mainForm;
  if (UseChooser()) return;
  bool open = t.PanelState == 0 && f.Operation(kPass).Visible;
  bool any = false;
  for (int b = 0; b <= 4; ++b) any = any || t.OperationState(b) == kOffered;
  if (open && any) {
    AnswerOffer();
    return;
  }
  if (t.MustDiscard != 0 && t.PanelState != 3) {
    ThrowTile();
    return;
  }
  // 继续 after a hand, once the table has shown everything the server sent: the command clears
  // the receive ring, so a record still waiting in it would be lost. (The first hand needs no
  // 开始: the table counts every seat ready for it.)
  const bool quiet = c.receive.ReceiveRead == c.receive.ReceiveWrite;
  if (!c.session.HandInPlay && c.session.HandNumber >= 1 && quiet &&
      c.toolbar.ToolbarLock(2) == 0 && f.AnNiu.IsLoaded(2) && f.AnNiu(2).Visible) {
    Click(f.AnNiu(2), "continue");
    Wait(500, 1500);
  }
}

}  // namespace tallow::testing
