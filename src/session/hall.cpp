#include "session/hall.h"

#include "base/general.h"
#include "forms/result_windows.h"
#include "hand/game_record.h"
#include "hand/table_reset.h"
#include "session/client.h"
#include "session/login.h"
#include "session/outgoing.h"
#include "session/proxy.h"
#include "session/reconnection.h"
#include "session/session_messages.h"
#include "shell/toolbar.h"

namespace tallow {
namespace {

using namespace platform::wm;

void SysCommandToHall(Client& c, std::uint32_t command) {
  EndIfHallGone(c);
  c.platform.hall.Send(c.session.HallCaption, kSysCommand, command, 0);
}

bool SocketConnected(Client& c) {
  return c.platform.socket.State() == platform::ISocket::kConnected;
}

// Disables the slots a suspended session must not run, and the session's timers.
void StopSessionActivity(Client& c) {
  auto& s = c.scheduler;
  for (int k : TickScheduler::kSessionSlots) s[k].enabled = false;
  s[TickScheduler::kLinkWatch].counter = 0;
  s[TickScheduler::kUnused8].counter = 0;
  s.BubbleShown = false;
  c.TimerBong->SetEnabled(false);
  c.TimerKeepAlive->SetEnabled(false);
}

void ConnectRequest(Client& c) {
  StopReconnection(c);
  StopProxy(c);
  c.receive.ProxyNegotiated = true;
  c.session.LoginPending = true;
  if (c.session.ProxyKind == 0) {
    auto& sock = c.platform.socket;
    sock.SetRemote(c.session.ServerHost, c.session.ServerPort);
    if (sock.State() != platform::ISocket::kClosed) sock.Close();
    sock.Connect();
    c.session.LoginRecord[protocol::off::kType] =
        static_cast<std::uint8_t>(protocol::ClientCode::Login);
    c.TimerBong->SetEnabled(true);
    c.scheduler.Enable(TickScheduler::kLogin);
  } else if (c.session.ProxyKind == 5) {
    c.scheduler.Disable(TickScheduler::kLogin);
    StartProxy(c);
  }
  UnlockStartButton(c);
}

}  // namespace

void ShowHall(Client& c) {
  SysCommandToHall(c, kScRestore);
}

void ShowHallAndEnd(Client& c, const std::string& reason, int code) {
  ShowHall(c);
  c.End(reason, code);
}

void EndIfHallGone(Client& c) {
  if (!c.platform.hall.FindWindow(c.session.HallCaption)) c.End("hall window gone");
}

void HideHall(Client& c) {
  SysCommandToHall(c, kScMinimize);
}

void PostToHall(Client& c, std::uint32_t msg) {
  if (c.platform.hall.FindWindow(c.session.HallCaption)) {
    c.platform.hall.Post(c.session.HallCaption, msg, 0, 0);
  }
}

std::int32_t HallWindowProc(Client& c, std::uint32_t msg, std::uint32_t, std::uint32_t) {
  switch (msg) {
    case kConnect:
      ConnectRequest(c);
      return 0;
    case kLeaveQuestion:
      if (!c.platform.hall.FindWindow(c.session.HallCaption)) return 0;
      if (c.session.LoginPending) {
        PostToHall(c, kLoginPending);
        return 0;
      }
      if (c.session.TableActive != 0) {
        PostToHall(c, kGameRunning);
        return 0;
      }
      if (SocketConnected(c)) {
        c.scheduler.Disable(TickScheduler::kLinkWatch);
        LeaveTable(c);
      }
      ResetSession(c);
      ResetTableDisplay(c);
      PostToHall(c, kLeaveNow);
      return 0;
    case kLeaveNow:
      if (SocketConnected(c)) {
        c.scheduler.Disable(TickScheduler::kLinkWatch);
        LeaveTable(c);
      }
      ResetSession(c);
      return 0;
    case kGameRunning:
      if (!c.platform.hall.FindWindow(c.session.HallCaption)) return 0;
      PostToHall(c, c.session.TableActive != 0 ? kGameRunning : kLeaveNow);
      return 0;
    default:
      return 0;  // nothing else is handled by the table window
  }
}

void HookWindowProc(Client& c) {
  c.session.WindowHooked = c.platform.hall.Listen(
      c.mainForm.Caption, [&c](std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam) {
        return HallWindowProc(c, msg, wParam, lParam);
      });
}

void UnhookWindowProc(Client& c) {
  if (c.session.WindowHooked) c.platform.hall.StopListening();
  c.session.WindowHooked = false;
}

void LeaveTable(Client& c) {
  auto rec = protocol::MakeRecord(static_cast<std::uint16_t>(protocol::ClientCode::SeatState));
  rec[protocol::off::kSeatMask] = c.table.custom(0).SeatBit;
  SendDirect(c, rec);
  StopSessionActivity(c);
  WaitSeconds(c, c.session.Reconnected ? 0.8 : 0.4);
}

void ResetSession(Client& c) {
  c.session.TableActive = 0;
  StopReconnection(c);
  StopProxy(c);
  StopSessionActivity(c);
  LockStartButton(c);
  c.mainForm.Sysmsg(0).Clear();
  c.mainForm.Sysmsg(1).Clear();

  auto& sock = c.platform.socket;
  sock.Close();
  c.session.LoginPending = false;
  // The close normally takes effect at once; never wait for it longer than two seconds.
  const double start = c.platform.clock.SecondsSinceMidnight();
  while (sock.State() == platform::ISocket::kConnected) {
    double waited = c.platform.clock.SecondsSinceMidnight() - start;
    if (waited < 0) waited += 86400;
    if (waited > 2) break;
    c.platform.clock.PumpEvents();
  }

  auto& f = c.mainForm;
  for (int i = 0; i <= 3; ++i) {
    if (f.Tou.IsLoaded(i)) f.Tou(i).picture = {};
    for (auto* labels : {&f.Nid, &f.Cash, &f.Level}) {
      if (labels->IsLoaded(i)) (*labels)(i).Caption.clear();
    }
    c.table.custom(i).Account.clear();
    c.table.custom(i).SeatBit = 0;
    if (f.OK.IsLoaded(i)) f.OK(i).Visible = false;
  }
  ClearSeatPanels(c);
  ClearResultWindows(c);
  for (int i = 0; i <= 2; ++i) {
    f.Speak(i).Visible = false;
    f.tsSpeak(i).Visible = false;
  }
  f.Words.Visible = false;
  c.forms.Talk.Text1.Clear();

  c.receive.ReceiveRead = c.receive.ReceiveWrite = 0;
  c.send.SendRead = c.send.SendWrite = 0;
  c.send.Overflow.clear();
  c.players.SeatedCount = 0;
  c.session.TableActive = 0;
  f.JK_Image.Visible = false;
  f.imgKoupai(0).Visible = false;
  f.imgKoupai(1).Visible = false;
  f.Label3.Caption.clear();
  c.table.TimeoutCount = 0;
  c.session.StartNotPressed = true;

  DeleteGameRecord(c);

  c.table.TableReadyForNext = 0;
  c.session.HandNumber = 0;
  f.State = ui::WindowState::Minimized;
}

}  // namespace tallow
