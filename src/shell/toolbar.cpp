#include "shell/toolbar.h"

#include <array>
#include <initializer_list>

#include "base/general.h"
#include "base/pictures.h"
#include "chat/chat_input.h"
#include "forms/chat_windows.h"
#include "forms/exit_dialog.h"
#include "forms/result_windows.h"
#include "forms/vos_set.h"
#include "hand/game_record.h"
#include "hand/ready_cycle.h"
#include "session/client.h"
#include "shell/web_panel.h"
#include "shell/window_shell.h"

namespace tallow {
namespace {

constexpr std::array<const char*, 9> kToolTips = {
    "发送信息，快捷键为回车键",
    "点击打开聊天窗口",
    "点击开始新一局游戏",
    "游戏的基本设置",
    "最小化窗口，快捷键为F1",
    "可以查看当前牌局详细结果",
    "可以查看本次游戏的所有牌局详细结果",
    "点击这里了解游戏规则",
    "退出游戏",
};

// The ButtonImageIds slot of button i's normal or highlight picture: the pairs lie in button
// order, with the 继续 pair (slots 6 and 7) after 开始, which follows its own rule.
int ButtonSlot(const Client& c, int i, bool highlight) {
  if (i == 2) return StartButtonSlot(c, highlight);
  return (i < 2 ? 2 * i : 2 * i + 2) + (highlight ? 1 : 0);
}

void ShowButtonPicture(Client& c, int i, bool highlight) {
  LoadResourcePicture(c, c.mainForm.AnNiu(i),
                      ImageId(c.images.ButtonImageIds(ButtonSlot(c, i, highlight))));
}

}  // namespace

void UnlockStartButton(Client& c) {
  auto& f = c.mainForm;
  c.toolbar.ToolbarLock(2) = 0;
  LoadResourcePicture(c, f.AnNiu(2), ImageId(c.images.ButtonImageIds(4)));
  f.Time_Img.Visible = false;
  f.Number.Visible = false;
}

void LockStartButton(Client& c) {
  c.toolbar.ToolbarLock(2) = -1;
}

void ToolbarClick(Client& c, int i) {
  auto& forms = c.forms;
  switch (i) {
    case 0:  // send the typed line, without the flood control
      SendButtonLine(c);
      break;
    case 1:  // chat window
      ToggleTalk(c);
      break;
    case 2:  // start / continue
      StartOrContinue(c);
      break;
    case 3:  // sound settings
      ToggleVosSet(c);
      break;
    case 4:  // hide the table, without touching the hall
      c.mainForm.State = ui::WindowState::Minimized;
      for (ui::Form* w : std::initializer_list<ui::Form*>{&forms.Hero, &forms.Score, &forms.Talk,
                                                          &forms.VosSet}) {
        w->Visible = false;
      }
      break;
    case 5:  // the result of the hand (the one in play has no record yet)
      CentreOverTable(c, forms.Score);
      if (forms.Score.Visible) {
        forms.Score.Visible = false;
      } else {
        ShowHandRecord(c, c.session.HandInPlay ? c.session.HandNumber - 1 : c.session.HandNumber);
        forms.Score.Visible = true;
      }
      break;
    case 6:  // the leaderboard
      LoadHero(c);
      CentreOverTable(c, forms.Hero);
      forms.Hero.Visible = !forms.Hero.Visible;
      break;
    case 7:  // the rules page
      OpenRulesPage(c);
      break;
    case 8:  // exit confirmation
      ToggleExitDialog(c, true);
      break;
    default:
      break;
  }
}

void ToolbarMouseMove(Client& c, int i) {
  short& hover = c.toolbar.ButtonHover(i);  // a bad index fails here
  if (hover == 0) {
    hover = -1;
    ShowButtonPicture(c, i, true);
  }
  c.mainForm.AnNiu(i).ToolTipText = kToolTips[static_cast<std::size_t>(i)];
}

void PointerOnTable(Client& c) {
  for (int i = 0; i <= 8; ++i) {
    if (c.toolbar.ButtonHover(i) == 0) continue;
    c.toolbar.ButtonHover(i) = 0;
    ShowButtonPicture(c, i, false);
  }
  if (c.forms.Information.Visible) c.forms.Information.Visible = false;
}

}  // namespace tallow
