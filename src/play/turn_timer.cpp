#include "play/turn_timer.h"

#include <string>

#include "play/auto_moves.h"
#include "session/client.h"
#include "shell/window_shell.h"
#include "sound/sound.h"

namespace tallow {

namespace {

constexpr ui::Color kCountGreen = 0x00FF00;
constexpr ui::Color kCountRed = 0xFF0000;
constexpr short kRedFrom = 5;  // the last seconds show in red, each with the tick sound

// The time is up: the panel stops taking clicks, the timeout is counted (and the window hidden
// at the limit), and the client moves for the player.
void TimeUp(Client& c) {
  auto& t = c.table;
  t.PanelState = 3;
  if (c.shell.HiddenByF1 == 0) {
    t.TimeoutCount = CheckedInt16(t.TimeoutCount + 1L);
    const short limit = c.players.TimeoutLimit;
    if (limit > 0 && t.TimeoutCount >= limit) F1Action(c);
  }
  c.mainForm.Time_Img.Visible = false;
  c.mainForm.Number.Visible = false;
  t.TurnCountdown = t.TurnSeconds;
  c.scheduler.Disable(TickScheduler::kTurnTimer);
  if (t.custom(0).HandCount <= 0) return;
  if (c.session.RobotMode) {
    AutoPlayTurn(c);
  } else {
    TimeoutMove(c);
  }
}

}  // namespace

void TurnTimerSecond(Client& c) {
  auto& t = c.table;
  auto& number = c.mainForm.Number;
  if (t.TurnCountdown > 0) {
    t.TurnCountdown = static_cast<short>(t.TurnCountdown - 1);
    number.Caption = std::to_string(t.TurnCountdown);
    if (t.TurnCountdown > kRedFrom) {
      number.ForeColor = kCountGreen;
    } else {
      PlayTableSound(c, kTickSound);  // only while sounds are on
      number.ForeColor = kCountRed;
    }
    return;
  }
  if (t.PanelState >= 2) return;  // the player has acted; the slot idles until stopped
  TimeUp(c);
}

void StartTurnTimer(Client& c, int seconds) {
  auto& f = c.mainForm;
  c.table.TurnCountdown = CheckedInt16(seconds);
  f.Number.Caption = std::to_string(c.table.TurnCountdown);
  f.Number.ForeColor = kCountGreen;
  f.Number.Visible = true;
  f.Time_Img.Visible = true;
  f.Time_Img.ZOrder(ui::ZPosition::Front);
  f.Number.ZOrder(ui::ZPosition::Front);
  c.scheduler.Enable(TickScheduler::kTurnTimer);
}

void StopTurnTimer(Client& c) {
  c.scheduler.Disable(TickScheduler::kTurnTimer);
  c.table.TurnCountdown = c.table.TurnSeconds;
  c.mainForm.Number.Visible = false;
  c.mainForm.Time_Img.Visible = false;
}

}  // namespace tallow
