#include "session/login.h"

#include "hand/table_reset.h"
#include "session/client.h"
#include "session/hall.h"
#include "session/outgoing.h"
#include "session/reconnection.h"

namespace tallow {

void StartDirectConnect(Client& c) {
  auto& sock = c.platform.socket;
  sock.SetRemote(c.session.ServerHost, c.session.ServerPort);
  sock.Connect();
  c.TimerBong->SetEnabled(true);
  c.scheduler.Enable(TickScheduler::kLogin);
}

void LoginSlot(Client& c) {
  PostToHall(c, platform::wm::kConnect);
  auto& sock = c.platform.socket;
  auto& clock = c.platform.clock;
  const double start = clock.SecondsSinceMidnight();
  const double limit = c.framing.ConnectWaitLimitMs / 1000.0;
  while (sock.State() != platform::ISocket::kConnected) {
    double waited = clock.SecondsSinceMidnight() - start;
    if (waited < 0) waited += 86400;
    // During a reconnection its attempts and their count bound the wait.
    if (waited > limit && !c.forms.frmReconnect.Loaded) {
      // Give up instead of waiting for ever; the hall's next connect request starts again.
      sock.Close();
      c.scheduler.Disable(TickScheduler::kLogin);
      c.session.LoginPending = false;
      c.mainForm.Sysmsg(0).Clear();
      c.mainForm.Sysmsg(0).AddItem(kConnectTimedOutLine);
      return;
    }
    clock.PumpEvents();
    // A leave order handled during the wait may have given up the connection attempt.
    if (!c.scheduler[TickScheduler::kLogin].enabled) return;
  }
  c.session.LoginPending = true;
  SendDirect(c, c.session.LoginRecord);
  c.scheduler.Enable(TickScheduler::kLinkWatch);
  c.scheduler.Disable(TickScheduler::kLogin);
}

void LinkWatchSlot(Client& c) {
  if (c.platform.socket.State() == platform::ISocket::kConnected) return;
  EndIfHallGone(c);
  if (c.session.TableActive != 0) {
    c.play.TurnTimerAllowed = 0;
    c.scheduler.Disable(TickScheduler::kLinkWatch);
    StartReconnection(c);
    return;
  }
  if (c.forms.frmOtherExit.NoticeShown == 0) {
    c.mainForm.State = ui::WindowState::Minimized;
    ShowHall(c);
    c.table.TableReadyForNext = 0;
    ResetSession(c);
    ResetTableState(c);
    ResetTableDisplay(c);
  }
  c.scheduler.Disable(TickScheduler::kContinue);
  c.session.TableActive = 0;
}

}  // namespace tallow
