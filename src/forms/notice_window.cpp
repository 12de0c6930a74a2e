#include "forms/notice_window.h"

#include "base/general.h"
#include "forms/exit_dialog.h"
#include "protocol/gbk.h"
#include "session/client.h"

namespace tallow {
namespace {

constexpr double kTwipsPerPixel = 15;
// The window's outer size; the client area below a title bar of up to 30 pixels holds the text
// (four lines) and the buttons.
constexpr double kWidth = 320, kHeight = 170;  // pixels
constexpr double kButtonWidth = 70, kButtonHeight = 30;
constexpr std::size_t kNoticeBytes = 200;

// GBK text of at most `size` bytes, ended by a 0 byte; a two-byte character is never split.
std::string NoticeText(const protocol::Record& rec, std::size_t at, std::size_t size) {
  std::string gbk;
  for (std::size_t i = at; i < at + size; ++i) {
    std::uint8_t b = rec[i];
    if (b == 0) break;
    if (b >= 0x80) {
      if (i + 1 >= at + size) break;  // the second byte lies outside the text
      gbk += static_cast<char>(b);
      b = rec[++i];
    }
    gbk += static_cast<char>(b);
  }
  return protocol::FromGbk(gbk);
}

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

void OnServerNotice(Client& c, const protocol::Header& /*h*/) {
  c.scheduler.Disable(TickScheduler::kLinkWatch);
  c.scheduler.Disable(TickScheduler::kContinue);
  c.session.TableActive = 0;
  SleepSeconds(c, 2);
  c.forms.frmOtherExit.NoticeShown = -1;
  ShowNotice(c, NoticeText(c.framing.CurrentMessage, protocol::off::kPayload, kNoticeBytes));
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
