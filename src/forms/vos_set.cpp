#include "forms/vos_set.h"

#include <string>

#include "base/pictures.h"
#include "session/client.h"
#include "sound/sound.h"
#include "sound/voice_files.h"

namespace tallow {
namespace {

constexpr double kTwips = 15;
constexpr double kButtonWidth = 65, kButtonHeight = 30;
constexpr double kOkLeft = 28, kOkTop = 264;
// The option captions, one under the other, each with its button to the right.
constexpr double kCaptionLeft = 24, kCaptionTop = 36, kCaptionStep = 52;
constexpr double kCaptionWidth = 80, kCaptionHeight = 24;
constexpr double kCaptionGap = 20;
constexpr ui::Color kWindowBack = 0xF4EEDC;

// DialogButtonImageIds entries (ids 130..137).
constexpr int kOkPicture = 0;        // 确定
constexpr int kCancelPicture = 2;    // 取消
constexpr int kOnPicture = 4;        // 关闭: the option is on
constexpr int kOffPicture = 5;       // 开启: the option is off
constexpr int kVoiceSetPicture = 6;  // 普通话

constexpr std::string_view kStandardSet = sound::kVoiceSets[0];  // "00"
constexpr std::string_view kDialectSet = sound::kVoiceSets[1];   // "27" (方言)

void SetButtonPicture(Client& c, ui::Image& button, int entry) {
  LoadResourcePicture(c, button, ImageId(c.images.DialogButtonImageIds(entry)));
}

void ShowOption(Client& c, int i, bool on) {
  SetButtonPicture(c, c.forms.VosSet.Command2(i), on ? kOnPicture : kOffPicture);
}

void SetMusic(Client& c, bool on) {
  c.sound.MusicOn = on;
  if (on) {
    StartTableLoop(c);
  } else {
    StopSound(c);
  }
  ShowOption(c, 0, on);
}

void SetVoiceSet(Client& c, std::string_view set) {
  for (int i = 0; i <= 3; ++i) c.players.PlayerInfo(i).VoiceSet = set;
}

// Cancel of the voice-set button: back to the standard voices, or, when they are already in
// use, to the dialect with the men's numbers as drawn.
void UndoVoiceSet(Client& c) {
  if (c.players.PlayerInfo(0).VoiceSet != kStandardSet) {
    SetVoiceSet(c, kStandardSet);
    return;
  }
  SetVoiceSet(c, kDialectSet);
  for (int i = 0; i <= 3; ++i) {
    PlayerRecord& p = c.players.PlayerInfo(i);
    if (p.Gender == 1) p.VoiceNumber = c.sound.SavedVoiceNumber(i);
  }
}

void HandleInput(Client& c, const ui::InputEvent& e) {
  auto& form = c.forms.VosSet;
  if (e.kind == ui::InputKind::Unload) {
    VosCloseClick(c, 1);  // closed by the window system: the same as 取消
    return;
  }
  if (e.kind != ui::InputKind::Click || e.control == nullptr) return;
  const int i = e.control->Index;
  if (e.control->Name == form.Command2.Name() && i >= 0 && i <= 3) {
    VosOptionClick(c, i);
  } else if (e.control->Name == form.Command1.Name() && i >= 0 && i <= 1) {
    VosCloseClick(c, i);
  }
}

}  // namespace

void LoadVosSet(Client& c) {
  auto& form = c.forms.VosSet;
  if (form.Loaded) return;
  form.Loaded = true;
  form.OnInput = [&c](const ui::InputEvent& e) { HandleInput(c, e); };
  form.BackColor = kWindowBack;
  for (int i = 0; i <= 3; ++i) {
    auto& caption = form.Image1(i);
    caption.Move(kCaptionLeft, kCaptionTop + i * kCaptionStep, kCaptionWidth, kCaptionHeight);
    caption.picture.name = "sound_caption" + std::to_string(i);
    auto& button = form.Command2(i);
    button.Move(caption.Left + caption.Width + kCaptionGap, caption.Top + 3, kButtonWidth,
                kButtonHeight);
    button.Pointer = ui::MousePointer::Custom;
    SetButtonPicture(c, button, i < 3 ? kOnPicture : kVoiceSetPicture);
  }
  auto& ok = form.Command1(0);
  auto& cancel = form.Command1(1);
  ok.Move(kOkLeft, kOkTop, kButtonWidth, kButtonHeight);
  cancel.Move(ok.Left + ok.Width * 1.4, kOkTop, kButtonWidth, kButtonHeight);
  ok.Pointer = cancel.Pointer = ui::MousePointer::Custom;
  SetButtonPicture(c, ok, kOkPicture);
  SetButtonPicture(c, cancel, kCancelPicture);
  form.VosPending.Fill(false);
}

void ToggleVosSet(Client& c) {
  auto& form = c.forms.VosSet;
  if (form.Visible) {
    form.Visible = false;
    return;
  }
  LoadVosSet(c);
  const auto& f = c.mainForm;
  form.Top = f.Pic1.Top * kTwips + f.Top + f.Pic1.Height * kTwips - form.Height * 1.35;
  form.Left = f.Pic1.Left * kTwips + f.Left + f.Pic1.Width * kTwips - form.Width * 1.1;
  form.Visible = true;
}

void VosOptionClick(Client& c, int i) {
  auto& s = c.sound;
  auto& form = c.forms.VosSet;
  form.VosPending(i) = !form.VosPending(i);
  switch (i) {
    case 0:
      SetMusic(c, !s.MusicOn);
      break;
    case 1:
      s.SystemSoundOn = !s.SystemSoundOn;
      ShowOption(c, 1, s.SystemSoundOn);
      break;
    case 2:
      s.SoundOn = !s.SoundOn;
      ShowOption(c, 2, s.SoundOn);
      break;
    default:
      s.VoiceDir = c.platform.process.AppPath() + "/../common/mj/";
      SetVoiceSet(c, kDialectSet);
      SetButtonPicture(c, form.Command2(3), kVoiceSetPicture);
      break;
  }
}

void VosCloseClick(Client& c, int i) {
  auto& s = c.sound;
  auto& form = c.forms.VosSet;
  form.Visible = false;
  if (i == 1) {
    if (form.VosPending(0)) SetMusic(c, !s.MusicOn);
    if (form.VosPending(1)) {
      s.SystemSoundOn = !s.SystemSoundOn;
      ShowOption(c, 1, s.SystemSoundOn);
    }
    if (form.VosPending(2)) {
      s.SoundOn = !s.SoundOn;
      ShowOption(c, 2, s.SoundOn);
    }
    if (form.VosPending(3)) {
      UndoVoiceSet(c);
      SetButtonPicture(c, form.Command2(3), kVoiceSetPicture);
    }
  }
  form.VosPending.Fill(false);
}

}  // namespace tallow
