#include "session/notice_window.h"

#include "hand/table_reset.h"
#include "session/client.h"
#include "session/hall.h"

namespace tallow {
namespace {

constexpr double kTwipsPerPixel = 15;
constexpr double kWidth = 320, kHeight = 160;  // pixels
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
  Label1.Move(20, 24, kWidth - 40, 60);
  Label1.FontSize = 10;
  imgOK.Move(70, 104, kButtonWidth, kButtonHeight);
  imgCancel.Move(180, 104, kButtonWidth, kButtonHeight);
  imgOK.picture.id = 130;      // 确定
  imgCancel.picture.id = 132;  // 取消
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
  c.table.TableReadyForNext = 0;
  ResetSession(c);
  ResetTableState(c);
  ResetTableDisplay(c);
  UnloadOtherExit(c);
  if (!c.platform.hall.FindWindow(c.session.HallCaption)) c.End("hall window gone");
  c.mainForm.State = ui::WindowState::Minimized;
  ShowHall(c);
}

void OtherExitCancelClick(Client& c) {
  c.players.GameOverSeen = -1;
  c.session.TableActive = 0;
  c.scheduler[TickScheduler::kLinkWatch].enabled = false;
  UnloadOtherExit(c);
}

}  // namespace tallow
