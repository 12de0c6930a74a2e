#include "session/notice_window.h"

#include "session/client.h"
#include "session/exit_dialog.h"

namespace tallow {
namespace {

constexpr double kTwipsPerPixel = 15;
// The window's outer size; the client area below a title bar of up to 30 pixels holds the text
// (four lines) and the buttons.
constexpr double kWidth = 320, kHeight = 170;  // pixels
constexpr double kButtonWidth = 70, kButtonHeight = 30;

void HandleInput(Client& c, const ui::InputEvent& e) {
  if (e.kind != ui::InputKind::Click || e.control == nullptr) return;
  auto& form = c.forms.frmOtherExit;
  if (e.control == &form.imgOK) {
    OtherExitOkClick(c);
  } else if (e.control == &form.imgCancel) {
    OtherExitCancelClick(c);
  }
}

}  // namespace

OtherExitForm::OtherExitForm()
    : ui::Form("frmOtherExit"),
      Label1(Create<ui::Label>("Label1")),
      imgOK(Create<ui::Image>("imgOK")),
      imgCancel(Create<ui::Image>("imgCancel")) {
  Caption = "退出";
  Width = kWidth * kTwipsPerPixel;
  Height = kHeight * kTwipsPerPixel;
  Label1.Move(20, 14, kWidth - 40, 72);
  Label1.FontSize = 10;
  imgOK.Move(70, 94, kButtonWidth, kButtonHeight);
  imgCancel.Move(180, 94, kButtonWidth, kButtonHeight);
  imgOK.picture.name = "notice_ok";          // 确定
  imgCancel.picture.name = "notice_cancel";  // 取消
  imgOK.Pointer = imgCancel.Pointer = ui::MousePointer::Custom;
}

void LoadOtherExit(Client& c) {
  auto& form = c.forms.frmOtherExit;
  if (form.Loaded) return;
  form.Loaded = true;
  form.imgOK.Width = form.imgCancel.Width = kButtonWidth;
  form.imgOK.Height = form.imgCancel.Height = kButtonHeight;
  form.OnInput = [&c](const ui::InputEvent& e) { HandleInput(c, e); };
  c.players.GameOverSeen = -1;
}

void UnloadOtherExit(Client& c) {
  auto& form = c.forms.frmOtherExit;
  form.Visible = false;
  form.TopMost = false;
  form.Label1.Caption.clear();
  form.Loaded = false;
}

void ShowNotice(Client& c, const std::string& text) {
  LoadOtherExit(c);
  auto& form = c.forms.frmOtherExit;
  const auto& table = c.mainForm;
  form.Label1.Caption = text;
  form.TopMost = true;
  form.Width = kWidth * kTwipsPerPixel;
  form.Height = kHeight * kTwipsPerPixel;
  form.Left = table.Left + (table.Width - form.Width) / 2;
  form.Top = table.Top + (table.Height - form.Height) / 2;
  form.Visible = true;
}

void OtherExitOkClick(Client& c) {
  ResetForHall(c);
  UnloadOtherExit(c);
  ReturnToHall(c);
}

void OtherExitCancelClick(Client& c) {
  c.players.GameOverSeen = -1;
  c.session.TableActive = 0;
  c.scheduler[TickScheduler::kLinkWatch].enabled = false;
  UnloadOtherExit(c);
}

}  // namespace tallow
