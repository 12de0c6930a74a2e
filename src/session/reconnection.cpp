#include "session/reconnection.h"

#include "play/operation_panel.h"
#include "play/turn_timer.h"
#include "session/client.h"
#include "session/hall.h"
#include "session/proxy.h"

namespace tallow {
namespace {

constexpr int kRecord = static_cast<int>(protocol::kRecordSize);

ReconnectForm& Window(Client& c) {
  return c.forms.frmReconnect;
}

void Unload(Client& c) {
  auto& f = Window(c);
  if (f.TimerReconnect) f.TimerReconnect->SetEnabled(false);
  if (f.TimerCount) f.TimerCount->SetEnabled(false);
  f.Loaded = false;
}

// Connected again: to the server directly, or through a proxy that has finished negotiating.
bool LinkBack(const Client& c) {
  return c.platform.socket.State() == platform::ISocket::kConnected && c.receive.ProxyNegotiated;
}

// The records queued for the lost connection are dropped: the server offers again whatever the
// player still owes it, and a stale move sent after the restore would be one he did not see.
void DropQueuedRecords(Client& c) {
  c.send.SendRead = c.send.SendWrite = 0;
  c.send.Overflow.clear();
}

// A record cut off by the break can never be completed: its bytes are dropped, so the new
// connection's records start on a record boundary.
void DropPartialRecord(Client& c) {
  auto& r = c.receive;
  const std::int32_t whole = r.Unread() / kRecord * kRecord;
  r.ReceiveWrite = (r.ReceiveRead + whole) % kRingSize;
}

void TimerReconnectTick(Client& c) {
  auto& rs = c.reconnect;
  rs.ReconnectDelay = static_cast<short>(rs.ReconnectDelay - 1);
  if (rs.ReconnectDelay >= 1) return;
  auto& f = Window(c);
  f.TimerReconnect->SetEnabled(false);
  rs.ReconnectDelay = 1;
  f.TimerCount->SetEnabled(true);
  f.Visible = false;
}

void TimerCountTick(Client& c) {
  auto& rs = c.reconnect;
  if (LinkBack(c)) {
    // What follows is the relogin and the server's answer.
    Unload(c);
    return;
  }
  if (rs.ReconnectAttempts >= kMaxReconnectAttempts) {
    Unload(c);
    c.platform.dialogs.MessageBox(kReconnectGaveUpBox, c.mainForm.Caption);
    ShowHall(c);
    c.End("reconnection given up");
  }
  if (c.session.TableActive != 0) {
    rs.ReconnectAttempts = static_cast<short>(rs.ReconnectAttempts + 1);
    ReconnectStep(c, c.session.LoginRecord);
    return;
  }
  // The game ended meanwhile. The window is unloaded, so a later break starts afresh, and the
  // link watch handles this break as one outside a game.
  rs.AwaitingAnswer = false;
  Unload(c);
  c.scheduler.Enable(TickScheduler::kLinkWatch);
}

std::unique_ptr<platform::ITimer> MakeTimer(Client& c, const char* name, int ms,
                                            void (*tick)(Client&)) {
  auto t = c.platform.clock.CreateTimer(name);
  t->SetInterval(ms);
  t->OnTick = [&c, tick] { tick(c); };
  return t;
}

}  // namespace

void StartReconnection(Client& c) {
  auto& f = Window(c);
  if (f.Loaded) return;  // loading a loaded window does not run its load step
  // The timers live as long as the client: a timer is never destroyed inside its own tick.
  if (!f.TimerReconnect) {
    f.TimerReconnect =
        MakeTimer(c, "TimerReconnect", ReconnectForm::kReconnectIntervalMs, TimerReconnectTick);
    f.TimerCount = MakeTimer(c, "TimerCount", ReconnectForm::kCountIntervalMs, TimerCountTick);
  }
  f.Loaded = true;
  f.Visible = false;
  auto& rs = c.reconnect;
  // A link lost again before the server answered continues the count, so a peer that takes
  // connections and drops them cannot keep the client trying for ever.
  if (!rs.AwaitingAnswer) rs.ReconnectAttempts = 0;
  rs.AwaitingAnswer = true;
  rs.RestorePending = false;
  rs.ReconnectDelay = 1;
  DropQueuedRecords(c);
  f.TimerCount->SetEnabled(false);
  f.TimerReconnect->SetEnabled(true);
}

void StopReconnection(Client& c) {
  Unload(c);
  c.reconnect.AwaitingAnswer = false;
  c.reconnect.RestorePending = false;
}

void ReconnectStep(Client& c, protocol::Record& record) {
  auto& f = c.mainForm;
  f.Sysmsg(0).Clear();
  f.Sysmsg(1).Clear();
  f.Sysmsg(0).AddItem(kReconnectingLine);
  record[protocol::off::kType] = static_cast<std::uint8_t>(protocol::ClientCode::Relogin);
  record[protocol::off::kToken] = c.framing.SessionToken[0];
  record[protocol::off::kToken + 1] = c.framing.SessionToken[1];
  c.receive.ProxyNegotiated = true;
  auto& sock = c.platform.socket;
  sock.Close();
  DropPartialRecord(c);
  if (c.session.ProxyKind == 0) {
    sock.Connect();
    c.scheduler.Enable(TickScheduler::kLogin);
  } else if (c.session.ProxyKind == 5) {
    c.scheduler.Disable(TickScheduler::kLogin);
    StartProxy(c);
  }
}

void OnReconnectResult(Client& c, const protocol::Header& h) {
  auto& f = c.mainForm;
  if (h.Value[3] != 1) {
    c.platform.dialogs.MessageBox(kReconnectRefusedBox, f.Caption);
    ShowHall(c);
    c.End("reconnection refused");
  }
  f.Sysmsg(0).Clear();
  f.Sysmsg(1).Clear();
  f.Sysmsg(0).AddItem(kReconnectAcceptedLine);
  c.play.TurnTimerAllowed = -1;
  // An offer from before the break (or handled from the ring since) is over: its countdown
  // would play a move on the old table. The server offers again, after the restore, what the
  // player still owes.
  StopTurnTimer(c);
  ClosePanel(c);
  c.session.Reconnected = true;
  // The relogin has its answer: the hall may ask again, and queued records may leave.
  c.session.LoginPending = false;
  auto& rs = c.reconnect;
  rs.AwaitingAnswer = false;
  rs.RestorePending = c.table.Spectating == 0;
  for (int i = 0; i <= 2; ++i) {
    const auto k = static_cast<std::size_t>(i);
    rs.ToolbarLock[k] = c.toolbar.ToolbarLock(i);
    rs.ButtonEnabled[k] = f.AnNiu(i).Enabled;
    rs.ButtonPicture[k] = f.AnNiu(i).picture;
  }
}

void AfterTableClearedOnReturn(Client& c, const protocol::Header& /*h*/) {
  auto& rs = c.reconnect;
  if (!rs.RestorePending) return;
  rs.RestorePending = false;
  auto& f = c.mainForm;
  for (int i = 0; i <= 2; ++i) {
    const auto k = static_cast<std::size_t>(i);
    c.toolbar.ToolbarLock(i) = rs.ToolbarLock[k];
    f.AnNiu(i).Enabled = rs.ButtonEnabled[k];
    f.AnNiu(i).picture = rs.ButtonPicture[k];
  }
  // The hand is in play again from here (the restore completes it after the fourth snapshot), so
  // a break during the restore is repaired too.
  c.session.TableActive = -1;
}

}  // namespace tallow
