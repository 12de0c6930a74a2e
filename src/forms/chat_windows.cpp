#include "forms/chat_windows.h"

#include <algorithm>

#include "base/ini_file.h"
#include "base/keys.h"
#include "chat/chat_input.h"
#include "session/client.h"

namespace tallow {
namespace {

constexpr double kTwips = 15;
constexpr ui::Color kWindowBack = 0xF4EEDC;  // rice paper, as the result windows
constexpr ui::Color kBandBack = 0x1E5A3C;    // jade
constexpr ui::Color kListBack = 0xFFFDF6;
constexpr ui::Color kListText = 0x2A2418;
constexpr double kBand = 26, kMargin = 6;
// A phrase list longer than this is cut: nobody picks from more, and a broken "num" must not
// make the window read the file a million times.
constexpr int kMaxPhrases = 100;

// The band across the top with the caption on the left and the close label on the right.
void PlaceBand(ui::Form& w, ui::Label& band, ui::Label& title, ui::Label& close, double width) {
  w.Borderless = true;
  w.BackColor = kWindowBack;
  band.Transparent = false;
  band.BackColor = kBandBack;
  band.Move(0, 0, width, kBand);
  title.ForeColor = ui::kWhite;
  title.FontSize = 10;
  title.FontBold = true;
  title.Move(kMargin + 4, 5, 160, kBand - 6);
  close.Caption = "关闭";
  close.ForeColor = 0xFFE9A8;
  close.FontSize = 10;
  close.Move(width - kMargin - 34, 5, 34, kBand - 6);
  close.Pointer = ui::MousePointer::Custom;
}

void StyleList(ui::ListBox& list, double width, double height) {
  list.BackColor = kListBack;
  list.ForeColor = kListText;
  list.FontSize = 10;
  list.Move(kMargin, kBand + 4, width - 2 * kMargin, height - kBand - 4 - kMargin);
}

bool OnBand(const ui::InputEvent& e, const ui::Label& band, const ui::Label& title) {
  return e.kind == ui::InputKind::MouseDown && (e.button & ui::kLeftButton) != 0 &&
         (e.control == nullptr || e.control == &band || e.control == &title);
}

// Where the chat caption puts the chat and phrase windows (twips, screen coordinates).
void PlaceOverTable(const Client& c, ui::Form& w, bool smallLayout) {
  const auto& table = c.mainForm;
  const auto& pic = table.Pic1;
  const double top = table.Top + pic.Top * kTwips;
  const double left = table.Left + pic.Left * kTwips;
  if (smallLayout) {
    w.Top = top + table.Height * 0.6;
    w.Left = left + table.Width * 0.22;
  } else {
    w.Top = top + pic.Height * kTwips * 0.66;
    w.Left = left + pic.Width * kTwips * 0.3;
  }
}

// The number a text starts with, as the phrase file's "num" is read: leading blanks, digits;
// anything else gives 0.
int LeadingNumber(const std::string& text) {
  std::size_t at = text.find_first_not_of(" \t");
  long n = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    n = std::min<long>(n * 10 + (text[at] - '0'), kMaxPhrases);
  }
  return static_cast<int>(n);
}

void ReadPhrases(const classIniFile& ini, const std::string& section, ui::ListBox& list) {
  const int n = LeadingNumber(ini.GetIniKey(section, "num"));
  for (int i = 1; i <= n; ++i) list.AddItem(ini.GetIniKey(section, std::to_string(i)));
}

void HidePhrases(Client& c) {
  c.forms.huifu.Visible = false;
  c.mainForm.FocusRequested = &c.mainForm.Chat;
}

void TalkInput(Client& c, const ui::InputEvent& e) {
  auto& f = c.forms.Talk;
  if (e.kind == ui::InputKind::Click && e.control == &f.Label1) {
    f.Visible = false;
    return;
  }
  if (e.kind == ui::InputKind::KeyDown && e.control == &f.Text1) {
    auto& keys = c.shell.AltCKeys;
    if (e.keyCode == kKeyAlt) {
      keys(0) = 1;
    } else if (e.keyCode == kKeyC) {
      keys(1) = 1;
    } else {
      keys(0) = keys(1) = 0;
    }
    if (keys(0) == 1 && keys(1) == 1) {
      keys(0) = keys(1) = 0;
      f.Visible = false;
    }
    return;
  }
  if (OnBand(e, f.Band, f.Title)) f.MoveRequested = true;
}

void HuifuInput(Client& c, const ui::InputEvent& e) {
  auto& f = c.forms.huifu;
  if (e.kind == ui::InputKind::Click && e.control == &f.Label1) {
    f.Visible = false;
    return;
  }
  if (e.kind == ui::InputKind::DblClick && e.control == &f.List1) {
    // A double click below the last phrase, with none chosen, sends nothing.
    if (f.List1.ListIndex < 0 || f.List1.ListIndex >= f.List1.ListCount()) return;
    SendTextPhrase(c, f.List1.lines[static_cast<std::size_t>(f.List1.ListIndex)]);
    HidePhrases(c);
    return;
  }
  if (e.kind == ui::InputKind::DblClick && e.control == &f.List2) {
    const int i = f.List2.ListIndex;
    if (i < 0 || i >= f.List2.ListCount()) return;
    SendVoicePhrase(c, i + 1, f.List2.lines[static_cast<std::size_t>(i)]);
    HidePhrases(c);
    return;
  }
  if (OnBand(e, f.Band, f.Title)) f.MoveRequested = true;
}

}  // namespace

TalkForm::TalkForm()
    : ui::Form("Talk"),
      Band(Create<ui::Label>("Band")),
      Title(Create<ui::Label>("Title")),
      Text1(Create<ui::ListBox>("Text1")),
      Label1(Create<ui::Label>("Label1")) {
  Caption = "聊天";
  Width = kClientWidth * kTwips;
  Height = kClientHeight * kTwips;
  PlaceBand(*this, Band, Title, Label1, kClientWidth);
  Title.Caption = "聊天";
  StyleList(Text1, kClientWidth, kClientHeight);
  // Latin letters half as wide as Chinese ones, as the wrap counts them; a first line of 48
  // units (24 Chinese characters) fits the list's width.
  Text1.FixedPitch = true;
  Text1.FontSize = 9;
  Focus = &Text1;  // its keys close the window with Alt+C
}

HuifuForm::HuifuForm()
    : ui::Form("huifu"),
      Band(Create<ui::Label>("Band")),
      Title(Create<ui::Label>("Title")),
      List1(Create<ui::ListBox>("List1")),
      List2(Create<ui::ListBox>("List2")),
      Label1(Create<ui::Label>("Label1")) {
  Caption = "快捷聊天";
  Width = kClientWidth * kTwips;
  Height = kClientHeight * kTwips;
  PlaceBand(*this, Band, Title, Label1, kClientWidth);
  StyleList(List1, kClientWidth, kClientHeight);
  StyleList(List2, kClientWidth, kClientHeight);
  List1.ToolTipText = List2.ToolTipText = "双击后发送你想说的话";
  List1.Pointer = List2.Pointer = ui::MousePointer::Custom;
  List2.Visible = false;
}

void WireChatWindows(Client& c) {
  c.forms.Talk.OnInput = [&c](const ui::InputEvent& e) { TalkInput(c, e); };
  c.forms.huifu.OnInput = [&c](const ui::InputEvent& e) { HuifuInput(c, e); };
}

void LoadTalk(Client& c) {
  auto& f = c.forms.Talk;
  if (f.Loaded) return;
  f.Loaded = true;
  f.Top = c.mainForm.Height * 0.66;
  f.Left = c.mainForm.Width * 0.3;
}

void ShowTalk(Client& c) {
  LoadTalk(c);
  auto& f = c.forms.Talk;
  PlaceOverTable(c, f, c.layout.ScaleY < 1.0);
  f.Visible = true;
  f.RaiseRequested = true;
}

void ToggleTalk(Client& c) {
  if (c.forms.Talk.Visible) {
    c.forms.Talk.Visible = false;
  } else {
    ShowTalk(c);
  }
}

std::string PhraseIniPath(const Client& c) {
  return c.platform.process.AppPath() + "/chat.ini";
}

void LoadHuifu(Client& c) {
  auto& f = c.forms.huifu;
  if (f.Loaded) return;
  f.Loaded = true;
  const classIniFile ini(c.platform.files, PhraseIniPath(c));
  ReadPhrases(ini, "Phrase1", f.List1);
  ReadPhrases(ini, "Phrase2", f.List2);
}

void TogglePhrases(Client& c, int list) {
  LoadHuifu(c);
  auto& f = c.forms.huifu;
  c.forms.Talk.Visible = false;
  ui::ListBox& wanted = list == 1 ? f.List1 : f.List2;
  ui::ListBox& other = list == 1 ? f.List2 : f.List1;
  if (f.Visible && wanted.Visible) {
    f.Visible = false;
    return;
  }
  if (!f.Visible) {
    PlaceOverTable(c, f, c.layout.ScaleX < 1.0);
    f.Visible = true;
    f.RaiseRequested = true;
  }
  wanted.Visible = true;
  other.Visible = false;
  f.Title.Caption = list == 1 ? "常用语" : "语音短语";
}

}  // namespace tallow
