#include "session/session_messages.h"

#include <cmath>

#include "base/general.h"
#include "base/pictures.h"
#include "base/tiles.h"
#include "forms/notice_window.h"
#include "forms/result_windows.h"
#include "protocol/gbk.h"
#include "session/client.h"
#include "session/hall.h"
#include "session/players.h"
#include "session/startup.h"
#include "shell/web_panel.h"

namespace tallow {
namespace {

using platform::wm::kConnect;
using platform::wm::kLeaveQuestion;

constexpr std::uint8_t kAllSeats = 15;

void ResetMessageRows(Client& c) {
  c.mainForm.Sysmsg(0).Clear();
  c.mainForm.Sysmsg(1).Clear();
}

[[noreturn]] void EndWatching(Client& c) {
  c.platform.dialogs.MessageBox(kWatchEndedBox, c.mainForm.Caption);
  c.End("a player left the watched table");
}

std::string NicknameAt(Client& c, int seatBit) {
  return c.players.PlayerInfo(RelativeSeat(c.table.custom(0).SeatBit, seatBit)).Nickname;
}

void LowerSeatedCount(Client& c) {
  c.players.SeatedCount = CheckedInt16(c.players.SeatedCount - 1);
}

// Value(3) = 1: the seats not in the mask have left the table.
void PlayersLeft(Client& c, std::uint8_t present) {
  if (present == kAllSeats) return;
  const int left = kAllSeats - present;
  const int highest = PowerOfTwo(BitPosition(static_cast<std::uint8_t>(left)));
  c.scheduler.Disable(TickScheduler::kContinue);
  c.session.TableActive = 0;
  c.forms.frmOtherExit.NoticeShown = -1;
  if (RelativeSeat(c.table.custom(0).SeatBit, highest) == 0) {
    c.platform.socket.Close();
    FormUnload(c);
  }
  c.table.TableReadyForNext = 0;
  std::string names;
  for (int b = 1; b <= 8; b *= 2) {
    if ((left & b) == 0) continue;
    names += NicknameAt(c, b) + ",";
    LowerSeatedCount(c);
  }
  for (int i = 1; i <= 3; ++i) ClearSeat(c, i);
  auto& f = c.mainForm;
  ResetMessageRows(c);
  f.Sysmsg(0).AddItem(names + "退出了游戏！ " + ClockText(c));
  f.Sysmsg(1).AddItem(names + "请退出重新开始游戏.");
  LoadHero(c);
  c.forms.Hero.Visible = true;
  SleepSeconds(c, 2);
  c.session.HandNumber = 0;
  ShowNotice(c, "玩家" + names + "退出了游戏！游戏结束！");
  if (c.table.Spectating != 0) EndWatching(c);
}

// Value(3) = 2: the dealer's seat.
void DealerNamed(Client& c, std::uint8_t seatBit) {
  static const char* const kWinds[] = {"北", "西", "南", "东", "北", "西", "南"};
  c.mainForm.Zhuang.Caption = kWinds[BitPosition(seatBit)];
  for (int i = 0; i <= 3; ++i) {
    if (c.table.custom(i).SeatBit == seatBit) {
      c.table.custom(i).IsDealer = -1;
      break;
    }
  }
}

// Any other Value(3): the seats not in the mask have run out of coins.
void PlayersOutOfCoins(Client& c, std::uint8_t withCoins) {
  c.session.HandNumber = 0;
  c.session.TableActive = 0;
  c.forms.frmOtherExit.NoticeShown = -1;
  const int broke = kAllSeats - withCoins;
  const int me = c.table.custom(0).SeatBit;
  std::string names;
  for (int b = 1; b <= 8; b *= 2) {
    if ((broke & b) == 0 || b == me) continue;
    if (!names.empty()) names += "，";
    names += NicknameAt(c, b);
  }
  const std::string own = (me & broke) != 0 ? "，" + c.table.custom(0).Account : "";
  ResetMessageRows(c);
  c.mainForm.Sysmsg(0).AddItem("玩家" + names + own + "金币不够，退出游戏！");
  c.scheduler.Disable(TickScheduler::kContinue);
  for (int i = 1; i <= 3; ++i) {
    if ((c.table.custom(i).SeatBit & broke) == 0) continue;
    c.table.TableReadyForNext = 0;
    LowerSeatedCount(c);
    ClearSeat(c, i);
  }
  c.forms.Score.Visible = true;
  c.scheduler.Disable(TickScheduler::kLinkWatch);
  c.platform.socket.Close();
  SleepSeconds(c, 2);
  std::string notice;
  if (!names.empty() && !own.empty()) {
    notice = "玩家" + names + "以及您的金币不够，退出游戏！游戏结束！";
  } else if (!own.empty()) {
    notice = "您的金币不够，退出游戏！游戏结束！";
  } else {
    notice = "玩家" + names + "的金币不够，退出游戏！游戏结束！";
  }
  ShowNotice(c, notice);
  if (c.table.Spectating != 0) EndWatching(c);
}

}  // namespace

std::string ClockText(Client& c) {
  const auto secs = static_cast<long>(std::floor(c.platform.clock.SecondsSinceMidnight()));
  return std::to_string(secs / 3600 % 24) + ":" + std::to_string(secs / 60 % 60) + ":" +
         std::to_string(secs % 60);
}

void ClearSeat(Client& c, int i) {
  auto& f = c.mainForm;
  f.OK(i).Visible = false;
  f.Tou(i).picture = {};
  f.Nid(i).Caption.clear();
  f.Cash(i).Caption.clear();
  f.Level(i).Caption.clear();
  c.table.custom(i).Account.clear();
  ClearPlayerFields(c.players.PlayerInfo(i));
}

void ClearSeatPanels(Client& c) {
  for (int i = 0; i <= 3; ++i) ClearPlayerFields(c.players.PlayerInfo(i));
}

void OnLoginResult(Client& c, const protocol::Header& h) {
  auto& f = c.mainForm;
  c.TimerKeepAlive->SetEnabled(true);
  UnloadOtherExit(c);
  c.session.HandNumber = 0;
  c.session.StartNotPressed = true;
  c.session.LoginPending = false;
  if (h.Value[3] != 1) {
    PostToHall(c, kConnect);
    ResetMessageRows(c);
    f.Sysmsg(0).AddItem(h.Value[3] == 2 ? kStartFailedLine : kVerifyFailedLine);
    ShowHallAndEnd(c, "login refused");
  }
  c.play.TurnTimerAllowed = -1;
  ResetMessageRows(c);
  f.Sysmsg(0).AddItem(kLoginAcceptedLine);
  f.Sysmsg(1).AddItem(std::string(kWelcomeLine) + kOperatorSite);
  // A login after hands have been played here (a re-seat) keeps the first login's settings.
  if (c.session.FirstHandStarted != 0) return;
  PostToHall(c, kLeaveQuestion);
  c.table.TurnSeconds = c.session.RobotMode ? 1 : static_cast<short>(h.Value[1] & 15);
  const auto& msg = c.framing.CurrentMessage;
  c.players.TimeoutLimit = msg[protocol::off::kValues + 1];
  c.players.WebPageUrl = protocol::FromGbk(protocol::CString(msg, protocol::off::kPayload, 100));
  if (!c.players.WebPageUrl.empty()) {
    f.WebBrowser1.Navigate(c.players.WebPageUrl);
    f.WebBrowser1.Visible = true;
  }
}

void OnPlayerQuit(Client& c, const protocol::Header& /*h*/) {
  const std::string name =
      protocol::FromGbk(protocol::CString(c.framing.CurrentMessage, protocol::off::kPayload, 16));
  // A spectator's position 0 is the watched player: his leaving ends the watch like any other's.
  if (!name.empty() && name == c.table.custom(0).Account && c.table.Spectating == 0) {
    c.End("the local player has left");
  }
  c.scheduler.Disable(TickScheduler::kContinue);
  for (int i = 1; i <= 3; ++i) {
    if (name.empty() || name != c.table.custom(i).Account) continue;
    c.table.TableReadyForNext = 0;
    LowerSeatedCount(c);
    auto& sysmsg = c.mainForm.Sysmsg(0);
    sysmsg.Clear();
    sysmsg.AddItem(c.players.PlayerInfo(i).Nickname + "退出了游戏 " + ClockText(c));
    ClearSeat(c, i);
  }
  if (c.table.Spectating != 0) EndWatching(c);
}

void OnSeatEvent(Client& c, const protocol::Header& h) {
  switch (h.Value[3]) {
    case 0:
      return;
    case 1:
      return PlayersLeft(c, h.SeatMask);
    case 2:
      return DealerNamed(c, h.SeatMask);
    default:
      return PlayersOutOfCoins(c, h.SeatMask);
  }
}

void OnWildTileSet(Client& c, const protocol::Header& h) {
  c.table.WildTile = static_cast<short>(h.Value[2] & 0xFF);
  c.table.WildIndicator = h.Value[3] & 0xFF;
  ShowWildTile(c);
}

}  // namespace tallow
