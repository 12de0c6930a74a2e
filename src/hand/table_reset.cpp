#include "hand/table_reset.h"

#include "base/general.h"
#include "base/pictures.h"
#include "hand/table_restore.h"
#include "protocol/gbk.h"
#include "session/client.h"

namespace tallow {
namespace {

constexpr short kWallWidth[] = {36, 48, 30, 48};
constexpr short kWallHeight[] = {50, 35, 36, 35};
// Upper tile of stack 0 of each wall side, and how much lower the stack's lower tile lies.
constexpr double kStackZero[4][2] = {{750, 476}, {174, 440}, {312, 192}, {761, 229}};
constexpr double kLowerOffset[] = {22, 20, 16, 20};

struct SeatAnchor {
  double handX, handY, discardX, discardY;
};
constexpr SeatAnchor kAnchors[] = {
    {19, 564, 358, 438}, {163, 192, 287, 238}, {842, 122, 635, 238}, {942, 560, 758, 438}};

void SetWallTileSizes(Client& c) {
  for (int s = 0; s <= 3; ++s) {
    c.table.TileWidth(s) = ScaledInt(kWallWidth[s], c.layout.ScaleX);
    c.table.TileHeight(s) = ScaledInt(kWallHeight[s], c.layout.ScaleY);
  }
}

void Hide(ui::Control& c) {
  c.Visible = false;
}

// Lays out the four wall sides, stack by stack, with their stacking order.
void LayoutWall(Client& c) {
  auto& f = c.mainForm;
  const double sx = c.layout.ScaleX, sy = c.layout.ScaleY;
  for (int side = 0; side <= 3; ++side) {
    const int base = 30 * side;
    for (int k = 0; k <= 14; ++k) {
      auto& upper = f.MJ_Image(base + 2 * k);
      auto& lower = f.MJ_Image(base + 2 * k + 1);
      upper.Width = lower.Width = c.table.TileWidth(side);
      upper.Height = lower.Height = c.table.TileHeight(side);
      if (k == 0) {
        upper.Left = kStackZero[side][0] * sx;
        upper.Top = kStackZero[side][1] * sy;
      } else {
        const auto& prev = f.MJ_Image(base + 2 * k - 2);
        switch (side) {
          case 0:
            upper.Left = prev.Left - prev.Width;
            upper.Top = prev.Top;
            break;
          case 1:
            upper.Top = prev.Top - 15 * sy;
            upper.Left = prev.Left + 4 * sx;
            break;
          case 2:
            upper.Left = prev.Left + prev.Width;
            upper.Top = prev.Top;
            break;
          default:
            upper.Top = prev.Top + 15 * sy;
            upper.Left = prev.Left + 4 * sx;
            break;
        }
      }
      lower.Left = upper.Left;
      lower.Top = upper.Top + kLowerOffset[side] * sy;
      if (side == 0 || side == 2) {
        upper.ZOrder(ui::ZPosition::Front);
        lower.ZOrder(ui::ZPosition::Back);
      } else if (side == 3) {
        lower.ZOrder(ui::ZPosition::Front);
        upper.ZOrder(ui::ZPosition::Front);
      }
    }
  }
  f.MJ_Image(0).ZOrder(ui::ZPosition::Front);
  f.MJ_Image(2).ZOrder(ui::ZPosition::Front);
  for (int k = 0; k <= 14; ++k) {
    f.MJ_Image(59 - 2 * k).ZOrder(ui::ZPosition::Front);
    f.MJ_Image(58 - 2 * k).ZOrder(ui::ZPosition::Front);
  }
  f.MJ_Image(30).ZOrder(ui::ZPosition::Front);
  for (int i : {59, 61, 63}) f.MJ_Image(i).ZOrder(ui::ZPosition::Back);
}

void SetSeatAnchors(Client& c) {
  for (int s = 0; s <= 3; ++s) {
    auto& seat = c.table.custom(s);
    seat.HandX = ScaledInt(kAnchors[s].handX, c.layout.ScaleX);
    seat.HandY = ScaledInt(kAnchors[s].handY, c.layout.ScaleY);
    seat.DiscardX = seat.DiscardRowX = ScaledInt(kAnchors[s].discardX, c.layout.ScaleX);
    seat.DiscardY = seat.DiscardRowY = ScaledInt(kAnchors[s].discardY, c.layout.ScaleY);
  }
}

// Everything ResetTableState and ResetConnectionState share.
void ResetSeatsAndGlobals(Client& c) {
  auto& t = c.table;
  auto& hs = c.hand;
  for (int s = 0; s <= 3; ++s) {
    auto& seat = t.custom(s);
    seat.HandScore = 0;
    seat.IsDealer = 0;
    for (int k = 0; k <= 20; ++k) {
      seat.mj(k).typ = 0;
      seat.mj(k).Sprite = -1;
    }
    seat.HandStart = 4;
    seat.HandCount = 0;
    seat.WildCount = 0;
    seat.RedKongCount = 0;
    seat.WildKongCount = 0;
    seat.MeldEnd = s == 0 ? 3 : 4;
    hs.SettleData(16)(s) = 0;
    hs.HandAmount(s) = 0;
    c.framing.SeatNames(s).clear();
  }
  t.WildTile = -1;
  t.WallHeadDraw = -1;
  t.MustDiscard = 0;
  hs.SeatsNamed = 0;
  for (int s = 1; s <= 3; ++s) hs.RevealTiles(s).Fill(0);
  hs.RightPool.Fill(0);
  hs.RightPoolCount = 0;
  for (auto& seat : hs.OneTileKongSprites) seat.Fill(0);
  hs.WinnerRel = -1;
  hs.ResultCount = 0;
  hs.IndicatorSprite = -1;
  hs.RestoreOpen = false;
  hs.SnapshotSeats = 0;
  c.session.TableActive = 0;
}

void ShowReadyButtonPicture(Client& c, int slot) {
  LoadResourcePicture(c, c.mainForm.AnNiu(2), ImageId(c.images.ButtonImageIds(slot)));
}

}  // namespace

void ClearTurnBookkeeping(Client& c) {
  auto& hs = c.hand;
  hs.KongMarkSprite.Fill(0);
  hs.KongMarkTile.Fill(0);
  hs.KongMarkSeat.Fill(0);
  hs.KongMarkCount = 0;
  for (int s = 0; s <= 3; ++s) {
    hs.RevealExtra(s).Fill(0);
    hs.RevealExtraCount(s) = 0;
    c.table.SeenCount(s).Fill(0);
  }
  hs.DiscardBlinkCount = 0;
  hs.BirdTile.Fill(0);
  hs.BirdSprite.Fill(0);
  hs.BirdCount = 0;
}

void ClearHandDisplay(Client& c) {
  auto& f = c.mainForm;
  SetWallTileSizes(c);
  c.table.LastDiscardSprite = -1;
  c.hand.BlinkSprite = -1;
  for (int i = 0; i <= 119; ++i) {
    auto& m = f.MJ_Image(i);
    m.Visible = false;
    m.picture = {};
  }
  for (int s = 0; s <= 3; ++s) {
    for (int k = 0; k <= 20; ++k) c.table.custom(s).mj(k).value = 0;
  }
  for (int b = 0; b <= 4; ++b) {
    f.Operation(b).Enabled = false;
    f.Operation(b).Visible = false;
  }
  ClearTurnBookkeeping(c);
  for (int s = 0; s <= 3; ++s) c.framing.SeatNames(s).clear();
  f.JK_Image.Visible = false;
  if (c.table.Spectating == 0) f.Zhuang.Caption.clear();
}

void ResetTableDisplay(Client& c) {
  auto& f = c.mainForm;
  for (int i = 0; i <= 119; ++i) Hide(f.MJ_Image(i));
  for (ui::Control* ctl :
       {static_cast<ui::Control*>(&f.Time_Img), static_cast<ui::Control*>(&f.Number),
        static_cast<ui::Control*>(&f.ZhiNan), static_cast<ui::Control*>(&f.Host),
        static_cast<ui::Control*>(&f.Zhuang), static_cast<ui::Control*>(&f.Words)}) {
    Hide(*ctl);
  }
  for (int i = 0; i <= 4; ++i) Hide(f.Operation(i));
  for (int i = 0; i <= 2; ++i) Hide(f.Speak(i));
  for (int i = 0; i <= 5; ++i) Hide(f.Chi(i));
  for (int i = 0; i <= 4; ++i) Hide(f.Gang(i));
  c.forms.Talk.Visible = false;
  SetWallTileSizes(c);
  LayoutWall(c);
  SetSeatAnchors(c);
}

void ResetTableState(Client& c) {
  ResetSeatsAndGlobals(c);
  c.mainForm.Label3.Caption.clear();
}

void ResetConnectionState(Client& c) {
  ResetSeatsAndGlobals(c);
  // The receive ring starts again from 0 only when it is empty: records received and not yet
  // handled (another player's ready message that came with the press of 继续) are kept.
  if (c.receive.Unread() == 0) c.receive.ReceiveRead = c.receive.ReceiveWrite = 0;
  c.send.SendRead = c.send.SendWrite = 0;
  c.send.Overflow.clear();
}

void OnPlayerReady(Client& c, const protocol::Header& h) {
  auto& f = c.mainForm;
  const std::string name =
      protocol::FromGbk(protocol::CString(c.framing.CurrentMessage, protocol::off::kPayload, 16));
  if (h.Value[3] == 1) {
    for (int i = 0; i <= 3; ++i) {
      if (!f.Nid(i).Caption.empty() && c.table.custom(i).Account == name) {
        f.OK(i).Visible = true;
        f.OK(i).ZOrder(ui::ZPosition::Front);
      }
    }
  }
  if (c.session.FirstHandStarted >= 1 && f.OK(1).Visible && f.OK(2).Visible && f.OK(3).Visible) {
    ShowReadyButtonPicture(c, 6);
    ClearHandDisplay(c);
    ResetTableDisplay(c);
    ResetTableState(c);
    c.table.TableReadyForNext = -1;
  }
}

void OnTableCleared(Client& c, const protocol::Header& h) {
  auto& f = c.mainForm;
  for (int i = 0; i <= 2; ++i) c.toolbar.ToolbarLock(i) = -1;
  ClearHandDisplay(c);
  ResetTableDisplay(c);
  ResetTableState(c);
  c.table.TableReadyForNext = -1;
  for (int i = 0; i <= 2; ++i) {
    f.AnNiu(i).Enabled = false;
    LoadResourcePicture(c, f.AnNiu(i), ImageId(c.images.ButtonImageIds(2 * i + 1)));
  }
  static const char* const kWinds[] = {"北", "西", "南", "东", "北", "西", "南"};
  f.Zhuang.Caption = kWinds[BitPosition(h.SeatMask)];
  f.Host.Visible = true;
  f.Zhuang.Visible = true;
  f.Zhuang.ZOrder(ui::ZPosition::Front);
  c.hand.ClearedSeatMask = c.framing.CurrentMessage[protocol::off::kSeatMask];
  c.hand.ClearedValue0 = h.Value[0];
  c.hand.ClearedValue1 = h.Value[1];
  c.table.WildTile = h.Value[2];
  c.table.WildIndicator = h.Value[3];
  // The snapshots that follow rebuild the hand; until the fourth the table is incomplete.
  auto& hs = c.hand;
  hs.RestoreOpen = true;
  hs.SnapshotSeats = 0;
  hs.SnapshotSprites = 0;
  hs.SnapshotDiscards.Fill(0);
  c.spectator.TableRestored = 0;
  // A seated player knows the seats already; a spectator learns them from the profiles that
  // follow, and the profile handling starts the wall then.
  if (c.table.custom(0).SeatBit != 0) StartWallFromTableCleared(c);
}

}  // namespace tallow
