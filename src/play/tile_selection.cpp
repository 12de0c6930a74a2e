#include "play/tile_selection.h"

#include "base/general.h"
#include "base/pictures.h"
#include "base/tiles.h"
#include "hand/discards.h"
#include "hand/tile_rows.h"
#include "play/operation_panel.h"
#include "play/turn_timer.h"
#include "session/client.h"

namespace tallow {
namespace {

constexpr double kLift = 10;

// Discards the local concealed tile at mj(i), clicked on sprite `sprite`.
void DiscardByClick(Client& c, int sprite, int i) {
  auto& t = c.table;
  auto& f = c.mainForm;
  SeatRecord& me = t.custom(0);
  t.TimeoutCount = 0;
  t.PanelState = 2;
  t.MustDiscard = 0;
  StopTurnTimer(c);
  // Discarding declines any kong or win that came with the draw.
  if (t.ActionSent == 0) {
    SendPass(c);
    t.ActionSent = -1;
  }
  for (int b = 0; b <= 4; ++b) f.Operation(b).Visible = false;
  ResetOperationButtons(c);
  const short code = me.mj(i).value;
  SetLocalTileSize(c, TileSizes::Pool);
  SetTileSprite(c, static_cast<short>(sprite), static_cast<short>(TableTilePicture(0, code)));
  if (me.DiscardDue()) SendDiscard(c, code);
  t.LastDiscardSprite = static_cast<short>(sprite);
  t.LastDiscarderRel = 0;
  ShowInTableMiddle(c, sprite, t.TileWidth(0), t.TileHeight(0));
  f.MJ_Image(sprite).ZOrder(ui::ZPosition::Back);
  SetLocalTileSize(c, TileSizes::Hand);
  for (int k = i; k <= me.HandStart + me.HandCount - 2; ++k) {
    me.mj(k) = me.mj(k + 1);
    const short s = me.mj(k).Sprite;
    if (IsSprite(s)) f.MJ_Image(s).Move(me.HandX + k * t.TileWidth(0), me.HandY);
  }
  SortHand(c, 0, me.HandCount - 1);
  --me.HandCount;
}

// After a win: a kong mark shows its tile, a bird's wall sprite shows its bird tile.
void ShowHiddenTile(Client& c, int sprite) {
  auto& hs = c.hand;
  if (hs.WinnerRel < 0 || hs.WinnerRel > 3) return;
  for (int k = 0; k < hs.KongMarkCount && k <= 15; ++k) {
    if (hs.KongMarkSprite(k) == sprite) {
      SetTileSprite(c, static_cast<short>(sprite),
                    static_cast<short>(TilePictureIndex(hs.KongMarkSeat(k), hs.KongMarkTile(k))));
      return;
    }
  }
  for (int k = 0; k < hs.BirdCount && k <= 4; ++k) {
    if (hs.BirdSprite(k) == sprite) {
      // The bird's own wall sprite turns face up in the group of its wall side.
      SetTileSprite(c, static_cast<short>(sprite),
                    static_cast<short>(TilePictureIndex(sprite / 30, hs.BirdTile(k))));
      c.mainForm.MJ_Image(sprite).ZOrder(ui::ZPosition::Front);
      return;
    }
  }
}

}  // namespace

void TileMouseMove(Client& c, int sprite) {
  auto& t = c.table;
  auto& f = c.mainForm;
  SeatRecord& me = t.custom(0);
  auto& m = f.MJ_Image(sprite);
  if (m.Top < me.HandY - kLift || t.Spectating != 0 || c.toolbar.ToolbarLock(2) == 0) {
    m.Pointer = ui::MousePointer::Default;
    return;
  }
  if (!HandHasTile(c, static_cast<short>(sprite))) {
    m.Pointer = ui::MousePointer::Default;
    return;
  }
  m.Pointer = ui::MousePointer::Custom;
  if (m.Top != me.HandY) return;
  for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
    const short s = me.mj(k).Sprite;
    if (!IsSprite(s) || s == sprite) continue;
    auto& other = f.MJ_Image(s);
    if (other.Top == me.HandY - kLift) other.Top = me.HandY;
  }
  m.Top = me.HandY - kLift;
}

void DropLiftedTile(Client& c, double x, double y) {
  auto& t = c.table;
  if (c.toolbar.ToolbarLock(2) == 0 || t.Spectating != 0) return;
  const SeatRecord& me = t.custom(0);
  for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
    const short s = me.mj(k).Sprite;
    if (!IsSprite(s)) continue;
    auto& m = c.mainForm.MJ_Image(s);
    if (m.Top != me.HandY - kLift) continue;
    const bool underPointer =
        m.Left < x && x < m.Left + m.Width && m.Top < y && y < m.Top + m.Height + kLift;
    if (underPointer) continue;
    m.Top = me.HandY;
    return;
  }
}

void TileMouseDown(Client& c, int sprite, int button) {
  auto& t = c.table;
  // After a timeout (auto-play acts) or with the link down the hand takes no clicks.
  const bool takesClicks = t.PanelState != 3 && c.play.TurnTimerAllowed != 0;
  const short i = FindHandTile(c, static_cast<short>(sprite));
  if (takesClicks && i >= 0 && t.MustDiscard != 0) {
    DiscardByClick(c, sprite, i);
    return;
  }
  if (takesClicks && i < 0 && button == ui::kRightButton && c.mainForm.Operation(4).Visible) {
    DeclineOffer(c);
    return;
  }
  ShowHiddenTile(c, sprite);
}

void TableMouseUp(Client& c, int button) {
  if (button == ui::kRightButton) DeclineOffer(c);
}

void TableClick(Client& c) {
  auto& f = c.forms;
  for (ui::Form* form : {static_cast<ui::Form*>(&f.Talk), static_cast<ui::Form*>(&f.huifu),
                         static_cast<ui::Form*>(&f.Score), static_cast<ui::Form*>(&f.Hero),
                         static_cast<ui::Form*>(&f.VosSet), static_cast<ui::Form*>(&f.frmExit)}) {
    form->Visible = false;
  }
}

void DeclineOffer(Client& c) {
  auto& t = c.table;
  auto& f = c.mainForm;
  if (c.play.TurnTimerAllowed == 0 || !f.Operation(4).Visible || t.PanelState >= 1) return;
  t.PanelState = 2;
  for (int b = 0; b <= 4; ++b) f.Operation(b).Visible = false;
  if (!t.custom(0).DiscardDue()) {
    // A claim on someone else's discard: declining ends the turn.
    StopTurnTimer(c);
    if (t.ActionSent == 0) SendPass(c);
  }
  ResetOperationButtons(c);
  t.PanelState = 1;
}

}  // namespace tallow
