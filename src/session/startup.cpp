#include "session/startup.h"

#include "base/pictures.h"
#include "protocol/gbk.h"
#include "session/client.h"
#include "session/command_line.h"
#include "session/hall.h"
#include "session/login.h"
#include "session/proxy.h"
#include "shell/frame.h"
#include "shell/table_layout.h"
#include "sound/sound.h"

namespace tallow {
namespace {

constexpr double kTwipsPerPixel = 15;
constexpr double kSmallScale = 0.78125;
constexpr double kLocationFontSize = 12;
constexpr std::size_t kUserNameBytes = 16;
constexpr std::size_t kPasswordBytes = protocol::off::kToken - protocol::off::kPassword;

void SizeWindow(Client& c) {
  auto& f = c.mainForm;
  const int w = c.platform.process.ScreenWidth();
  const int h = c.platform.process.ScreenHeight();
  bool framed = false;
  if (h <= 768) {
    f.Height = h * kTwipsPerPixel;
    f.Top = 0;
    f.Pic1.Height = h;
    f.Pic1.Top = 0;
  } else {
    f.Height = 11940;
    f.Top = 0;
    f.Pic1.Height = (f.Height - 420) / kTwipsPerPixel;
    f.Pic1.Top = 300 / kTwipsPerPixel;
    framed = true;
  }
  if (w <= 1024) {
    f.Width = w * kTwipsPerPixel;
    f.Left = 0;
    f.Pic1.Width = w;
    f.Pic1.Left = 0;
  } else {
    f.Width = 15600;
    f.Left = 0;
    f.Pic1.Width = (f.Width - 240) / kTwipsPerPixel;
    f.Pic1.Left = 120 / kTwipsPerPixel;
    framed = true;
  }
  if (framed) ApplySkinnedFrame(c);
  if (h < 768 || w < 1024) {
    c.layout.ScaleX = c.layout.ScaleY = kSmallScale;
    f.Pic1.Stretch = true;
    f.Pic1.ZOrder(ui::ZPosition::Back);
    for (int i = 0; i <= 1; ++i) f.Sysmsg(i).FontSize = 8;
  } else {
    c.layout.ScaleX = c.layout.ScaleY = 1.0;
  }
}

// Writes text into the login record, one GBK character at a time, within the field.
void WriteField(protocol::Record& rec, std::size_t offset, std::size_t size,
                const std::string& text) {
  std::size_t at = offset;
  for (auto ch : protocol::Utf8Chars(text)) {
    auto bytes = protocol::CharToGbk(ch);
    if (!bytes || at + bytes->size() > offset + size) break;
    for (char b : *bytes) rec[at++] = static_cast<std::uint8_t>(b);
  }
}

void ApplyCommandLine(Client& c, const CommandLine& cl) {
  auto& s = c.session;
  c.table.custom(0).Account = cl.UserName;
  s.UserName = cl.UserName;
  s.ServerHost = cl.ServerHost;
  s.ServerPort = cl.ServerPort;
  s.RoomName = cl.RoomName;
  s.ProxyKind = cl.ProxyKind;
  s.ProxyHost = cl.ProxyHost;
  s.ProxyPort = cl.ProxyPort;
  s.ProxyUser = cl.ProxyUser;
  s.ProxyPassword = cl.ProxyPassword;
  s.ProxyUserLength = cl.ProxyUserLength;
  s.ProxyPasswordLength = cl.ProxyPasswordLength;
  s.RobotMode = cl.RobotMode;
  s.RobotCaption = cl.RobotCaption;
  if (cl.RobotMode) s.HallCaption = cl.HallCaption;
  s.WatchedUserId = cl.WatchedUserId;
  if (cl.Spectating) c.players.PlayerInfo(0).UserId = cl.WatchedUserId;
  c.table.Spectating = cl.Spectating ? -1 : 0;

  auto& loc = c.mainForm.Location;
  if (cl.FieldsPresent >= 5) {
    double size = c.layout.ScaleY < 1 ? 10 : kLocationFontSize;
    if (protocol::CharCount(cl.RoomName) > 10) size -= 2;
    loc.FontSize = size;
    loc.Caption = cl.RoomName;
  }
}

}  // namespace

void FormLoad(Client& c) {
  auto& p = c.platform;
  auto& s = c.session;
  // 1. One client per application directory.
  if (!p.process.AcquireInstanceLock()) {
    p.dialogs.MessageBox(kAlreadyRunning, kWarningTitle);
    c.End("another instance is running");
  }
  // 2.
  s.RobotMode = false;
  c.table.TurnSeconds = 8;
  // 3.-5. Window size and layout scale.
  SizeWindow(c);
  // 6. Scheduler.
  c.scheduler.Clear();
  c.chat.ChatReady = true;
  s.LoginPending = false;
  // 7. Sound.
  StartTableSound(c);
  // 8. Table bookkeeping and the first layout.
  c.framing.WatchdogCount = 0;
  s.FirstHandStarted = 0;
  LoadImageTables(c);
  LayoutSeatsAndToolbar(c);
  c.table.LastDiscardSprite = -1;
  // 9. Command line.
  const std::string line = TrimBlanks(c.commandLine);
  if (line.empty()) {
    p.dialogs.MessageBox(kStartFromHall, kWarningTitle);
    c.End("no command line");
  }
  auto parsed = ParseCommandLine(line);
  if (parsed.error) {
    p.dialogs.MessageBox(
        "命令行参数错误：" + parsed.error->field + " = \"" + parsed.error->text + "\"",
        kWarningTitle);
    c.End("bad command line");
  }
  ApplyCommandLine(c, *parsed.line);
  // 10.
  c.mainForm.Sysmsg(0).Clear();
  c.mainForm.Sysmsg(0).AddItem(kConnectingLine);
  c.TimerBong->SetEnabled(false);
  // 11. Receive path and login record; the parsed password is not kept.
  c.receive.ProxyNegotiated = true;
  s.LoginRecord.fill(0);
  s.LoginRecord[protocol::off::kType] = static_cast<std::uint8_t>(protocol::ClientCode::Login);
  WriteField(s.LoginRecord, protocol::off::kUserName, kUserNameBytes, parsed.line->UserName);
  WriteField(s.LoginRecord, protocol::off::kPassword, kPasswordBytes, parsed.line->Password);
  std::fill(parsed.line->Password.begin(), parsed.line->Password.end(), '\0');
  // 12. Connection.
  if (s.ProxyKind == 0) {
    StartDirectConnect(c);
  } else if (s.ProxyKind == 5) {
    c.scheduler.Disable(TickScheduler::kLogin);
    StartProxy(c);
  }
  // 13.
  c.mainForm.Visible = true;
  // 14.
  if (s.RobotMode) {
    c.mainForm.Caption = s.RobotCaption;
    c.table.TurnSeconds = 2;
  } else {
    s.HallCaption = "锦程山庄";
  }
  // 15.
  LayoutPlayArea(c);
  c.table.custom(0).SeatBit = 0;
  // 16.
  HookWindowProc(c);
}

void FormUnload(Client& c) {
  UnhookWindowProc(c);
  StopTableSound(c);
  c.End("table window closed");
}

}  // namespace tallow
