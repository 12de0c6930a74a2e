// The PlayerProfile message: placing a player at the table, and a spectator's assembly of the
// table from the first four profiles.
#include <cstdio>

#include "base/general.h"
#include "base/pictures.h"
#include "base/tiles.h"
#include "hand/hand_start.h"
#include "hand/table_reset.h"
#include "hand/table_restore.h"
#include "session/client.h"
#include "session/hall.h"
#include "session/players.h"
#include "session/session_messages.h"
#include "sound/voices.h"

namespace tallow {
namespace {

constexpr std::uint8_t kOwnProfile = 15;
constexpr std::size_t kReadyByte = 208;

// A number as the seat label shows it: no grouping, no needless decimals.
std::string NumberText(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15G", v);
  return buf;
}

bool IsSeatBit(std::uint8_t b) {
  return b == 1 || b == 2 || b == 4 || b == 8;
}

void LoadPortrait(Client& c, ui::Image& image, int pictureIndex) {
  LoadResourcePicture(c, image, ImageId(c.images.AvatarImageIds(pictureIndex)));
}

// Portrait, name, coins and level of position pos in the table and the result windows.
void ShowPlayerPanel(Client& c, int pos, int pictureIndex) {
  auto& f = c.mainForm;
  const PlayerRecord& p = c.players.PlayerInfo(pos);
  LoadPortrait(c, f.Tou(pos), pictureIndex);
  f.Nid(pos).Caption = "[" + p.Tag + "] " + p.Nickname;
  f.Cash(pos).Caption = NumberText(p.Coins) + "金币";
  f.Level(pos).Caption = p.LevelTitle;
  c.forms.Score.ID(pos).Caption = p.Nickname;
  c.forms.Hero.ID(pos).Caption = p.Nickname;
  LoadPortrait(c, c.forms.Score.Tou(pos), pictureIndex);
  LoadPortrait(c, c.forms.Hero.Tou(pos), pictureIndex);
}

void ClearTableForNextHand(Client& c) {
  ClearHandDisplay(c);
  ResetTableDisplay(c);
  ResetTableState(c);
  c.table.TableReadyForNext = -1;
}

// Position of seat b seen from the watched seat w, or -1 for w itself.
int WatchedPosition(int w, int b) {
  if (b == 2 * w || (b == 1 && w == 8)) return 3;
  if (b == 4 * w || w == 4 * b) return 2;
  if (w == 2 * b || (b == 8 && w == 1)) return 1;
  return -1;
}

void AssembleSpectatorTable(Client& c) {
  auto& store = c.players.ProfileStore;
  auto& info = c.players.PlayerInfo;
  CheckedArray<PlayerRecord, 0, 3> parsed;
  for (int k = 0; k <= 3; ++k) parsed(k) = ParseProfile(store(k));
  const double watched = info(0).UserId;  // the watched player's id from the command line
  for (int k = 0; k <= 3; ++k) {
    if (parsed(k).UserId != watched) continue;
    const int w = store(k)[protocol::off::kSeatMask] & 15;
    c.table.custom(0).SeatBit = static_cast<std::uint8_t>(w);
    c.table.custom(0).Account = parsed(k).ProfileAccount;
    ShowCompass(c);
    info(0) = parsed(k);
    for (int j = 0; j <= 3; ++j) {
      const int b = store(j)[protocol::off::kSeatMask] & 15;
      store(j)[protocol::off::kSeatMask] = static_cast<std::uint8_t>(b);
      const int q = WatchedPosition(w, b);
      if (q < 0) continue;
      c.table.custom(q).SeatBit = static_cast<std::uint8_t>(b);
      c.table.custom(q).Account = parsed(j).ProfileAccount;
      info(q) = parsed(j);
    }
    break;
  }
  // The dealer and the wall start of the hand in play, from the table-cleared message.
  StartWallFromTableCleared(c);
  for (int a = 0; a <= 3; ++a) {
    // A position nobody was found for has no portrait to show.
    if (info(a).Avatar.empty()) continue;
    ShowPlayerPanel(c, a, SpectatorAvatarPictureIndex(info(a).Avatar));
  }
}

// Stores a spectator's profile; true once the fourth has arrived and the table is assembled.
bool StoreSpectatorProfile(Client& c) {
  auto& store = c.players.ProfileStore;
  for (int s = 0; s <= 3; ++s) {
    if (store(s)[protocol::off::kType] != 0) continue;
    store(s) = c.framing.CurrentMessage;
    if (s < 3) return false;
    AssembleSpectatorTable(c);
    return true;
  }
  throw RuntimeFailure("no free profile slot");
}

// Position of a profile whose seat is not known yet; -1 when the player is shown already or
// no position is free (a newcomer at a full table waits for a departure to be reported).
int FreePosition(Client& c, const std::string& name) {
  auto& f = c.mainForm;
  int pos = 1;
  if (c.players.SeatedCount > 0) {
    for (int i = 1; i <= 3; ++i) {
      if (!f.Nid(i).Caption.empty() && c.table.custom(i).Account == name) return -1;
    }
    pos = 0;
    for (int i = 1; i <= 3 && pos == 0; ++i) {
      if (f.Nid(i).Caption.empty()) pos = i;
    }
    if (pos == 0) return -1;
  }
  c.players.SeatedCount = CheckedInt16(c.players.SeatedCount + 1);
  if (c.players.SeatedCount == 3) {
    f.State = ui::WindowState::Normal;
    HideHall(c);
    f.RaiseRequested = true;
  }
  return pos;
}

// Once all four seats are named, the next profile runs the seat draw.
void SeatDrawWhenNamed(Client& c) {
  auto& hs = c.hand;
  if (hs.SeatDrawPending == 0 || hs.SeatsNamed != 4) return;
  hs.SeatDrawPending = 0;
  hs.SeatsNamed = 5;
  ShowSeatDraw(c, BitPosition(c.table.custom(0).SeatBit));
  ShowCompass(c);
  c.toolbar.ToolbarLock(5) = 0;
  c.toolbar.ToolbarLock(6) = 0;
  DrawVoices(c);
}

}  // namespace

void OnPlayerProfile(Client& c, const protocol::Header& h) {
  auto& f = c.mainForm;
  const auto& msg = c.framing.CurrentMessage;
  c.players.GameOverSeen = 0;
  if (c.table.Spectating != 0 && !StoreSpectatorProfile(c)) return;
  const PlayerRecord profile = ParseProfile(msg);
  const std::string& name = profile.ProfileAccount;
  if (c.hand.SeatDrawPending != 0) c.hand.SeatsNamed = CheckedInt16(c.hand.SeatsNamed + 1);

  int pos = -1;
  if (h.SeatMask == kOwnProfile) {
    pos = 0;
    c.toolbar.ToolbarLock(2) = 0;
  } else if (IsSeatBit(h.SeatMask)) {
    if (h.SeatMask != c.table.custom(0).SeatBit) {
      pos = RelativeSeat(c.table.custom(0).SeatBit, h.SeatMask);
    }
  } else if (h.SeatMask == 0) {
    pos = FreePosition(c, name);
    if (pos < 0) return;
  }
  if (pos < 0) {
    // The local seat, or no seat at all: nothing to place.
    SeatDrawWhenNamed(c);
    return;
  }

  c.table.custom(pos).Account = name;
  if (msg[kReadyByte] == 1) {
    f.OK(pos).Visible = true;
    f.OK(pos).ZOrder(ui::ZPosition::Front);
  }
  c.players.PlayerInfo(pos) = profile;
  if (c.session.FirstHandStarted > 0 && f.OK(1).Visible && f.OK(2).Visible && f.OK(3).Visible) {
    LoadResourcePicture(c, f.AnNiu(2), ImageId(c.images.ButtonImageIds(6)));
    ClearTableForNextHand(c);
  }
  ShowPlayerPanel(c, pos, AvatarPictureIndex(profile.Avatar));
  if (c.players.SeatedCount == 3 && c.table.TableReadyForNext == 0) {
    ClearTableForNextHand(c);
    f.Sysmsg(0).Clear();
    f.Sysmsg(0).AddItem(kStartsSoonLine);
  }
  SeatDrawWhenNamed(c);
}

}  // namespace tallow
