#include "forms/exit_dialog.h"

#include "base/general.h"
#include "base/keys.h"
#include "base/pictures.h"
#include "hand/table_reset.h"
#include "session/client.h"
#include "session/hall.h"

namespace tallow {
namespace {

constexpr double kTwipsPerPixel = 15;
// The window's outer size; the client area below a title bar of up to 30 pixels holds the
// labels and the buttons.
constexpr double kWidth = 300, kHeight = 160;  // pixels
constexpr double kButtonWidth = 65, kButtonHeight = 30;
constexpr double kButtonTop = 84;

void HandleInput(Client& c, const ui::InputEvent& e) {
  auto& form = c.forms.frmExit;
  if (e.kind == ui::InputKind::Unload) {
    ExitCancelClick(c);  // closed by the window system: the same as 取消
    return;
  }
  if (e.kind == ui::InputKind::KeyDown && e.keyCode == kKeyEscape) {
    ToggleExitDialog(c, false);  // Esc closes it here as it does on the table
    return;
  }
  if (e.kind != ui::InputKind::Click || e.control == nullptr) return;
  if (e.control == &form.pbCloseMe) {
    ExitConfirmClick(c);
  } else if (e.control == &form.pbCancel) {
    ExitCancelClick(c);
  }
}

void UnloadExitDialog(Client& c) {
  auto& form = c.forms.frmExit;
  form.Visible = false;
  form.Loaded = false;
}

}  // namespace

ExitForm::ExitForm()
    : ui::Form("frmExit"),
      Label1(Create<ui::Label>("Label1")),
      Label2(Create<ui::Label>("Label2")),
      pbCloseMe(Create<ui::Image>("pbCloseMe")),
      pbCancel(Create<ui::Image>("pbCancel")) {
  Caption = "退出";
  Width = kWidth * kTwipsPerPixel;
  Height = kHeight * kTwipsPerPixel;
  Label1.Caption = "您真的要退出吗？";
  Label1.FontSize = 11;
  Label1.Move(28, 18, kWidth - 56, 22);
  Label2.Caption = "游戏正在进行，逃跑会扣分！";
  Label2.FontSize = 10;
  Label2.ForeColor = 0xC00000;
  Label2.Move(28, 46, kWidth - 56, 20);
  Label2.Visible = false;
  pbCloseMe.Move(70, kButtonTop, kButtonWidth, kButtonHeight);
  pbCancel.Move(kWidth - 70 - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight);
  pbCloseMe.Pointer = pbCancel.Pointer = ui::MousePointer::Custom;
}

void LoadExitDialog(Client& c) {
  auto& form = c.forms.frmExit;
  if (form.Loaded) return;
  form.Loaded = true;
  form.OnInput = [&c](const ui::InputEvent& e) { HandleInput(c, e); };
  form.pbCloseMe.Width = form.pbCancel.Width = kButtonWidth;
  form.pbCloseMe.Height = form.pbCancel.Height = kButtonHeight;
  LoadResourcePicture(c, form.pbCloseMe, ImageId(c.images.DialogButtonImageIds(0)));
  LoadResourcePicture(c, form.pbCancel, ImageId(c.images.DialogButtonImageIds(2)));
  UpdateExitWarning(c);
}

void UpdateExitWarning(Client& c) {
  const bool warn = c.session.TableActive != 0 && c.table.Spectating == 0;
  c.forms.frmExit.Label2.Visible = warn;
  c.forms.frmExit.ExitWarningShown = warn;
}

void ToggleExitDialog(Client& c, bool bringToFront) {
  auto& dlg = c.forms.frmExit;
  if (dlg.Visible) {
    dlg.Visible = false;
    return;
  }
  LoadExitDialog(c);
  CentreOverTable(c, dlg);
  UpdateExitWarning(c);
  dlg.Visible = true;
  if (bringToFront) dlg.RaiseRequested = true;
}

void ResetForHall(Client& c) {
  c.table.TableReadyForNext = 0;
  ResetSession(c);
  ResetTableState(c);
  ResetTableDisplay(c);
}

void ReturnToHall(Client& c) {
  EndIfHallGone(c);
  c.mainForm.State = ui::WindowState::Minimized;
  ShowHall(c);
}

void ExitConfirmClick(Client& c) {
  if (c.platform.socket.State() == platform::ISocket::kConnected) {
    c.scheduler.Disable(TickScheduler::kLinkWatch);
    LeaveTable(c);
  }
  ResetForHall(c);
  UnloadExitDialog(c);
  ReturnToHall(c);
}

void ExitCancelClick(Client& c) {
  UnloadExitDialog(c);
}

}  // namespace tallow
