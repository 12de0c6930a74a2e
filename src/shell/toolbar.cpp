#include "shell/toolbar.h"

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

}  // namespace tallow
