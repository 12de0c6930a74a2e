#include "shell/window_shell.h"

#include <initializer_list>

#include "forms/chat_windows.h"
#include "forms/exit_dialog.h"
#include "session/client.h"
#include "session/hall.h"

namespace tallow {
namespace {

constexpr double kTwips = 15;

// The eight pieces of the frame: source rectangle in the skin picture and destination in the
// window, both in twips; W and H stand for the window's inner size.
struct Piece {
  double sx, sy, sw, sh;
  double dx, dy, dw, dh;  // negative dx/dy/dw/dh are offsets from W or H (see Place)
};

void SetTitlePicture(ui::ControlArray<ui::Image>& button, int state) {
  button(0).picture = button(state).picture;
}

void ResetTitleButtons(Client& c) {
  if (c.shell.TitleButtonsNormal) return;
  SetTitlePicture(c.mainForm.ImgClose, 1);
  SetTitlePicture(c.mainForm.ImgMin, 1);
  c.shell.TitleButtonsNormal = true;
}

// The floating windows the F1 action and the timeout limit hide, in this order.
void HideFloatingWindows(Client& c) {
  auto& f = c.forms;
  for (ui::Form* form : std::initializer_list<ui::Form*>{&f.Information, &f.Talk, &f.VosSet,
                                                         &f.frmExit, &f.Hero, &f.Score}) {
    form->Visible = false;
  }
}

}  // namespace

void PaintFrame(Client& c) {
  auto& f = c.mainForm;
  const double W = f.Width, H = f.Height;
  const Piece pieces[] = {
      {0, 0, 120, 300, 0, 0, 120, 300},
      {120, 0, 120, 300, 120, 0, W - 240, 300},
      {570, 0, 120, 300, W - 120, 0, 120, 300},
      {0, 300, 120, 2880, 0, 300, 120, H - 420},
      {570, 300, 120, 2880, W - 120, 300, 120, H - 420},
      {0, 3180, 120, 120, 0, H - 120, 120, 120},
      {120, 3180, 120, 120, 120, H - 120, W - 240, 120},
      {570, 3180, 120, 120, W - 120, H - 120, 120, 120},
  };
  for (int i = 0; i <= 7; ++i) {
    const Piece& p = pieces[i];
    auto& img = f.FramePiece(i);
    img.Source = {p.sx / kTwips, p.sy / kTwips, p.sw / kTwips, p.sh / kTwips};
    img.Move(p.dx / kTwips, p.dy / kTwips, p.dw / kTwips, p.dh / kTwips);
    img.Visible = true;
    img.ZOrder(ui::ZPosition::Back);
  }
  f.ImgIcon.picture.name = "icon";
  f.ImgIcon.Move(50 / kTwips, 50 / kTwips, 240 / kTwips, 240 / kTwips);
  f.ImgIcon.Visible = true;
  auto& close = f.ImgClose(0);
  close.Left = (W - 70) / kTwips - close.Width;
  close.Top = 25 / kTwips;
  close.picture = f.ImgClose(1).picture;
  close.Visible = true;
  close.ZOrder(ui::ZPosition::Front);
  auto& min = f.ImgMin(0);
  min.Left = close.Left - min.Width - 30 / kTwips;
  min.Top = 25 / kTwips;
  min.picture = f.ImgMin(1).picture;
  min.Visible = true;
  min.ZOrder(ui::ZPosition::Front);
  f.LbMove.Move(290 / kTwips, 0, min.Left - 290 / kTwips, close.Height + 50 / kTwips);
  f.LbMove.Visible = true;
  f.lcaption.Move(300 / kTwips, 25 / kTwips);
  f.lcaption.ForeColor = 0xFFFFFF;
  f.lcaption.Visible = true;
  c.shell.FramePainted = true;
}

void F1Action(Client& c) {
  c.shell.HiddenByF1 = -1;
  HideFloatingWindows(c);
  c.table.TurnSeconds = 0;
  c.mainForm.State = ui::WindowState::Minimized;
  HideHall(c);
}

void MainFormResize(Client& c) {
  auto& f = c.mainForm;
  if (f.State == ui::WindowState::Minimized) return;
  f.RaiseRequested = true;
  if (c.shell.HiddenByF1 != 0) {
    c.table.TurnSeconds = c.session.RobotMode ? 1 : 8;
    c.shell.HiddenByF1 = 0;
  }
  f.FocusRequested = &f.Chat;
  // A hall that cannot be minimised ends the client; that is not a failure to ignore.
  HideHall(c);
  c.table.TimeoutCount = 0;
}

void TableKeyDown(Client& c, int keyCode) {
  if (keyCode == kKeyF1) {
    F1Action(c);
    return;
  }
  if (keyCode == kKeyEscape) ToggleExitDialog(c, false);
  auto& keys = c.shell.AltCKeys;
  if (keyCode == kKeyAlt) {
    keys(0) = 1;
  } else if (keyCode == kKeyC) {
    keys(1) = 1;
  } else {
    keys(0) = keys(1) = 0;
  }
  if (keys(0) == 1 && keys(1) == 1) {
    keys(0) = keys(1) = 0;
    ShowTalk(c);
  }
}

void ChatKeyDown(Client& c, int keyCode) {
  if (keyCode == kKeyF1) F1Action(c);
}

void TitleButtonInput(Client& c, int which, const ui::InputEvent& e) {
  auto& button = which == 0 ? c.mainForm.ImgClose : c.mainForm.ImgMin;
  switch (e.kind) {
    case ui::InputKind::MouseDown:
      SetTitlePicture(button, 3);
      break;
    case ui::InputKind::MouseUp:
      SetTitlePicture(button, 2);
      break;
    case ui::InputKind::MouseMove:
      if (c.shell.TitleButtonsNormal) {
        SetTitlePicture(button, 2);
        c.shell.TitleButtonsNormal = false;
      }
      break;
    case ui::InputKind::Click:
      if (which == 1) {
        c.mainForm.State = ui::WindowState::Minimized;
      } else {
        ToggleExitDialog(c, true);
      }
      break;
    default:
      break;
  }
}

void DragStripInput(Client& c, const ui::InputEvent& e) {
  auto& strip = c.mainForm.LbMove;
  if (e.kind == ui::InputKind::MouseDown && (e.button & ui::kLeftButton) != 0) {
    auto& f = c.forms;
    for (ui::Form* form :
         std::initializer_list<ui::Form*>{&f.Talk, &f.huifu, &f.Score, &f.Hero, &f.VosSet})
      form->Visible = false;
    strip.Pointer = ui::MousePointer::SizeAll;
    c.mainForm.MoveRequested = true;
  } else if (e.kind == ui::InputKind::MouseMove) {
    strip.Pointer = ui::MousePointer::Arrow;
    ResetTitleButtons(c);
  }
}

void BackgroundMouseMove(Client& c) {
  ResetTitleButtons(c);
}

}  // namespace tallow
