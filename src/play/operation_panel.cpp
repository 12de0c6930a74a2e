#include "play/operation_panel.h"

#include "base/pictures.h"
#include "base/tiles.h"
#include "hand/tile_rows.h"
#include "play/claim_options.h"
#include "play/turn_timer.h"
#include "session/client.h"
#include "session/outgoing.h"
#include "sound/sound.h"
#include "sound/voice_files.h"

namespace tallow {
namespace {

constexpr double kChooserScale = 0.8;

bool Has(int flags, int bit) {
  return (flags & bit) != 0;
}

void SendOperation(Client& c, int op, int v1, int v2, int v3) {
  protocol::Header h;
  h.Code = static_cast<std::int16_t>(protocol::ClientCode::OperationReply);
  h.SeatMask = c.table.custom(0).SeatBit;
  h.Value = {static_cast<std::int16_t>(op), static_cast<std::int16_t>(v1),
             static_cast<std::int16_t>(v2), static_cast<std::int16_t>(v3)};
  QueueMessage(c, h);
}

void HideButtons(Client& c, std::initializer_list<int> buttons) {
  for (int b : buttons) c.mainForm.Operation(b).Visible = false;
}

bool DiscardDue(const Client& c) {
  return c.table.custom(0).DiscardDue();
}

// Shows one chooser tile of the given face, 0.8 times a hand tile, at (left, top).
void ShowChooserTile(Client& c, ui::Image& img, int code, double left, double top) {
  LoadResourcePicture(c, img, ImageId(c.images.TileImageIds(TilePictureIndex(4, code))));
  img.Width = kChooserScale * c.table.TileWidth(0);
  img.Height = kChooserScale * c.table.TileHeight(0);
  img.Left = left;
  img.Top = top;
  img.Visible = true;
  img.Enabled = true;
  img.ZOrder(ui::ZPosition::Front);
}

void HideChoosers(Client& c) {
  auto& f = c.mainForm;
  for (int j = 0; j <= 5; ++j) {
    f.Chi(j).Enabled = false;
    f.Chi(j).Visible = false;
  }
  for (int j = 0; j <= 4; ++j) {
    f.Gang(j).Enabled = false;
    f.Gang(j).Visible = false;
  }
}

void SendKongByKind(Client& c, int kind, int index) {
  switch (kind) {
    case 2:
      SendOneTileKong(c, index);
      break;
    case 3:
      SendExposedKong(c, index);
      break;
    case 4:
      SendConcealedKong(c, index);
      break;
    default:
      break;
  }
}

// Copies three hand entries to the next set's slots with the set's typ.
void WriteThreeSetEntries(Client& c, int i, short typ) {
  SeatRecord& me = c.table.custom(0);
  for (int k = 0; k <= 2; ++k) {
    TileEntry e = me.mj(i + k);
    e.typ = typ;
    me.mj(me.MeldEnd - 2 + k) = e;
  }
}

void SendThreeOf(Client& c, int op, int code) {
  const int v = protocol::ClaimTile(code);
  SendOperation(c, op, v, v, v);
}

}  // namespace

void ResetOperationButtons(Client& c) {
  for (int b = 0; b <= 4; ++b) {
    SetOperationPicture(c, b, false);
    c.mainForm.Operation(b).Enabled = false;
  }
}

void ClosePanel(Client& c) {
  for (int b = 0; b <= 4; ++b) {
    auto& button = c.mainForm.Operation(b);
    button.Enabled = false;
    button.Visible = false;
    SetOperationPicture(c, b, false);
  }
  HideChoosers(c);
}

// A 吃 or 杠 that finds nothing to lay down counts as 过. The server offers a kong of a lone 中
// or wild tile, which only the robot's own search lays down; without this the press would send
// nothing and leave a due discard locked until the server's time limit.
void PassInstead(Client& c) {
  auto& t = c.table;
  HideButtons(c, {0, 1, 2, 3, 4});
  if (DiscardDue(c)) {
    t.MustDiscard = -1;
    StartTurnTimer(c, t.TurnSeconds);
  }
  if (t.ActionSent == 0) SendPass(c);
}

void OperationClick(Client& c, int b) {
  auto& t = c.table;
  if (b < 0 || b > 4) return;
  if (t.OperationState(b) <= 1 || c.play.TurnTimerAllowed == 0 || t.PanelState >= 1) return;
  t.PanelState = 2;
  t.OperationState.Fill(0);
  SetOperationPicture(c, b, false);
  c.mainForm.Operation(b).Enabled = false;
  if (b < 4) StopTurnTimer(c);
  SetLocalTileSize(c, TileSizes::Hand);
  t.TimeoutCount = 0;
  switch (b) {
    case 0:
      t.MustDiscard = 0;
      HideButtons(c, {1, 2, 3, 4});
      PlayVoice(c, 0, sound::kChowEnding);
      ChooseChow(c, t.LastTile);
      if (t.ChowCount < 2) PassInstead(c);
      break;
    case 1:
      t.MustDiscard = 0;
      HideButtons(c, {0, 1, 2, 3, 4});
      PlayVoice(c, 0, sound::kPungEnding);
      SendPung(c, t.LastTile);
      break;
    case 2:
      t.MustDiscard = 0;
      HideButtons(c, {0, 1, 3, 4});
      if (Has(t.OperationFlags, protocol::op::kConcealedKong)) {
        SortHand(c, 0, t.custom(0).HandCount);
      }
      ChooseKong(c);
      if (t.KongCount == 0) PassInstead(c);
      break;
    case 3:
      t.MustDiscard = 0;
      SendWin(c);
      PlayVoice(c, 0, sound::kWinEnding);
      HideButtons(c, {0, 1, 2, 3, 4});
      break;
    default:
      HideButtons(c, {0, 1, 2, 3, 4});
      // A pass on a claim ends the turn; after a draw the discard is still due.
      if (!DiscardDue(c)) StopTurnTimer(c);
      if (t.ActionSent == 0) SendPass(c);
      break;
  }
  ResetOperationButtons(c);
  t.PanelState = 1;
}

void ChooseChow(Client& c, int tileCode) {
  auto& t = c.table;
  auto& f = c.mainForm;
  FindChowOptions(c, tileCode);
  if (t.ChowCount == 2) {
    f.Operation(0).Visible = false;
    SendChow(c, t.ChowOptions(0), t.ChowOptions(1));
    return;
  }
  if (t.ChowCount < 2) return;
  for (int b = 1; b <= 4; ++b) {
    f.Operation(b).Visible = false;
    f.Operation(b).Enabled = false;
  }
  const SeatRecord& me = t.custom(0);
  const double h = kChooserScale * t.TileHeight(0), w = kChooserScale * t.TileWidth(0);
  for (int j = 0; j < t.ChowCount; ++j) {
    ShowChooserTile(c, f.Chi(j), me.mj(t.ChowOptions(j)).value, f.Operation(1).Left + (j % 2) * w,
                    f.Operation(0).Top - kChooserScale * h * (j / 2));
  }
  StartTurnTimer(c, t.TurnSeconds / 2);
}

void ChiClick(Client& c, int j) {
  auto& t = c.table;
  if (t.PanelState == 3 || c.play.TurnTimerAllowed == 0) return;
  if (j < 0 || j >= t.ChowCount) return;
  c.scheduler.Disable(TickScheduler::kTurnTimer);
  if (j % 2 == 1) {
    t.ChowOptions(0) = t.ChowOptions(j - 1);
    t.ChowOptions(1) = t.ChowOptions(j);
  } else {
    t.ChowOptions(0) = t.ChowOptions(j);
    t.ChowOptions(1) = t.ChowOptions(j + 1);
  }
  SendChow(c, t.ChowOptions(0), t.ChowOptions(1));
  for (int k = 0; k <= 5; ++k) {
    c.mainForm.Chi(k).Enabled = false;
    c.mainForm.Chi(k).Visible = false;
  }
  c.mainForm.Operation(0).Visible = false;
}

void ChooseKong(Client& c) {
  auto& t = c.table;
  auto& f = c.mainForm;
  FindKongOptions(c);
  if (t.KongCount == 0) return;  // nothing to lay down: nothing is sent
  if (t.PanelState == 3) {
    SendKongByKind(c, t.KongKind, t.KongOptions(0));
    return;
  }
  if (t.KongCount == 1) {
    f.Operation(2).Visible = false;
    SendKongByKind(c, t.KongKind, t.KongOptions(0));
    return;
  }
  HideButtons(c, {0, 1, 3, 4});
  const int shown = std::min<int>(t.KongCount, f.Gang.Upper() + 1);
  for (int j = 0; j < shown; ++j) {
    auto& g = f.Gang(j);
    g.Width = kChooserScale * t.TileWidth(0);
    g.Height = kChooserScale * t.TileHeight(0);
    g.Left = f.Operation(3).Left;
    g.Top = f.Operation(0).Top - kChooserScale * g.Height * j;
    g.Visible = true;
    g.Enabled = true;
    g.ZOrder(ui::ZPosition::Front);
  }
  StartTurnTimer(c, t.TurnSeconds / 2);
}

void GangClick(Client& c, int j) {
  auto& t = c.table;
  auto& f = c.mainForm;
  if (t.PanelState == 3 || c.play.TurnTimerAllowed == 0) return;
  if (j < 0 || j >= t.KongCount) return;
  c.scheduler.Disable(TickScheduler::kTurnTimer);
  for (int k = 0; k <= 4; ++k) {
    f.Gang(k).Visible = false;
    f.Operation(k).Visible = false;
  }
  const SeatRecord& me = t.custom(0);
  const int k = t.KongOptions(j);
  const int e = me.HandStart + me.HandCount;
  const int flags = t.OperationFlags;
  const short v = me.mj(k).value;
  if (Has(flags, protocol::op::kOneTileKong)) {
    PlayVoice(c, 0, sound::kKongEnding);
    const bool alone = k + 1 < e ? me.mj(k + 1).value != v : me.mj(k - 1).value != v;
    if (alone) {
      t.KongOptions(0) = static_cast<short>(k);
      SendOneTileKong(c, k);
      return;
    }
  }
  if (k + 3 < e && Has(flags, protocol::op::kConcealedKong) && me.mj(k + 3).value == v) {
    PlayVoice(c, 0, sound::kKongEnding);
    t.KongOptions(0) = static_cast<short>(k);
    SendConcealedKong(c, k);
    return;
  }
  if (k + 2 < e && Has(flags, protocol::op::kKong) && me.mj(k + 2).value == v) {
    PlayVoice(c, 0, sound::kKongEnding);
    // The result handler lays the kong down from the first option: keep the chosen one there.
    t.KongOptions(0) = static_cast<short>(k);
    SendExposedKong(c, k);
  }
}

void SendChow(Client& c, int i, int j) {
  auto& t = c.table;
  SeatRecord& me = t.custom(0);
  const int m = me.MeldEnd;
  me.mj(m - 2) = me.mj(i);
  me.mj(m - 1) = me.mj(j);
  me.mj(m).value = t.LastTile;
  me.mj(m).Sprite = t.LastDiscardSprite;
  me.mj(m).Marked = 0;
  for (int k = m - 2; k <= m; ++k) me.mj(k).typ = 2;
  SendOperation(c, protocol::op::kChow, protocol::ClaimTile(me.mj(m - 2).value),
                protocol::ClaimTile(me.mj(m - 1).value), protocol::ClaimTile(me.mj(m).value));
  t.ActionSent = -1;
}

void SendPung(Client& c, int tileCode) {
  auto& t = c.table;
  SeatRecord& me = t.custom(0);
  const int i = FindPungPair(c, tileCode);
  if (i < 0) return;  // the hand holds no pair of it: nothing to lay down
  const int m = me.MeldEnd;
  me.mj(m - 2) = me.mj(i);
  me.mj(m - 1) = me.mj(i + 1);
  me.mj(m).value = static_cast<short>(tileCode);
  me.mj(m).Sprite = t.LastDiscardSprite;
  me.mj(m).Marked = 0;
  for (int k = m - 2; k <= m; ++k) me.mj(k).typ = 3;
  SendThreeOf(c, protocol::op::kPung, tileCode);
  t.ActionSent = -1;
}

void SendExposedKong(Client& c, int i) {
  WriteThreeSetEntries(c, i, 4);
  SendThreeOf(c, protocol::op::kKong, c.table.custom(0).mj(i).value);
  c.table.ActionSent = -1;
}

void SendConcealedKong(Client& c, int i) {
  WriteThreeSetEntries(c, i, 5);
  SendThreeOf(c, protocol::op::kConcealedKong, c.table.custom(0).mj(i).value);
  c.table.ActionSent = -1;
}

void SendOneTileKong(Client& c, int i) {
  SeatRecord& me = c.table.custom(0);
  TileEntry e = me.mj(i);
  e.typ = 6;
  me.mj(me.MeldEnd - 2) = e;
  SendOperation(c, protocol::op::kOneTileKong, 0, 0, protocol::ClaimTile(e.value));
  c.table.ActionSent = -1;
}

void SendWin(Client& c) {
  SendOperation(c, protocol::op::kWin, 0, 0, 0);
}

void SendPass(Client& c) {
  SendOperation(c, protocol::op::kPass, 0, 0, 0);
  c.table.ActionSent = -1;
}

void SendDiscard(Client& c, int tileCode) {
  protocol::Header h;
  h.Code = static_cast<std::int16_t>(protocol::ClientCode::Discard);
  h.SeatMask = c.table.custom(0).SeatBit;
  h.Value[3] = protocol::DiscardTile(tileCode);
  QueueMessage(c, h);
}

}  // namespace tallow
