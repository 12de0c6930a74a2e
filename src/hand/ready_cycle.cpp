#include "hand/ready_cycle.h"

#include "base/pictures.h"
#include "hand/table_reset.h"
#include "session/client.h"
#include "session/hall.h"
#include "session/outgoing.h"

namespace tallow {
namespace {

constexpr int kContinueSlot = 6;
constexpr ui::Color kRed = 0xFF0000;
constexpr ui::Color kGreen = 0x00FF00;

void ShowContinuePicture(Client& c) {
  LoadResourcePicture(c, c.mainForm.AnNiu(2), ImageId(c.images.ButtonImageIds(kContinueSlot)));
}

void HideCountdown(Client& c) {
  c.mainForm.Time_Img.Visible = false;
  c.mainForm.Number.Visible = false;
}

// Clears the finished hand from the table unless that has been done already.
void ClearTableIfNeeded(Client& c) {
  if (c.table.TableReadyForNext != 0) return;
  ClearHandDisplay(c);
  ResetTableDisplay(c);
  ResetConnectionState(c);
  c.table.TableReadyForNext = -1;
}

void SendReady(Client& c) {
  protocol::Header h;
  h.Code = static_cast<std::int16_t>(protocol::ClientCode::SeatState);
  h.SeatMask = c.table.custom(0).SeatBit;
  h.Value[3] = 1;
  QueueMessage(c, h);
}

// After a game-over notice the button leads back to the hall.
void LeaveFinishedTable(Client& c) {
  c.table.TableReadyForNext = 0;
  ResetSession(c);
  ResetTableState(c);
  ResetTableDisplay(c);
  c.mainForm.Label3.Visible = false;
  EndIfHallGone(c);
  c.mainForm.State = ui::WindowState::Minimized;
  ShowHall(c);
}

}  // namespace

int StartButtonSlot(const Client& c, bool highlight) {
  const bool start = c.session.HandNumber < 1 && c.session.StartNotPressed;
  return (start ? 4 : kContinueSlot) + (highlight ? 1 : 0);
}

void StartOrContinue(Client& c) {
  auto& f = c.mainForm;
  c.forms.Hero.Visible = false;
  c.forms.Score.Visible = false;
  if (c.players.GameOverSeen != 0) {
    LeaveFinishedTable(c);
    return;
  }
  if (c.toolbar.ToolbarLock(2) != 0) return;
  c.session.StartNotPressed = false;
  ShowContinuePicture(c);
  f.OK(0).Visible = true;
  f.OK(0).ZOrder(ui::ZPosition::Front);
  f.Label3.Visible = false;
  c.scheduler.Disable(TickScheduler::kContinue);
  HideCountdown(c);
  c.toolbar.ToolbarLock(2) = -1;
  ClearTableIfNeeded(c);
  SendReady(c);
}

void ContinueCountdownSecond(Client& c) {
  auto& t = c.table;
  auto& number = c.mainForm.Number;
  if (t.TurnCountdown > 0) {
    --t.TurnCountdown;
    number.Caption = std::to_string(t.TurnCountdown);
    number.ForeColor = t.TurnCountdown < 6 ? kRed : kGreen;
    return;
  }
  HideCountdown(c);
  if (t.TableReadyForNext == 0) {
    ShowContinuePicture(c);
    c.toolbar.ToolbarLock(2) = -1;
  }
  ClearTableIfNeeded(c);
  SendReady(c);
  c.scheduler.Disable(TickScheduler::kContinue);
}

}  // namespace tallow
