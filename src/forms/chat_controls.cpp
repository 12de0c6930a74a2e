#include "forms/chat_controls.h"

#include "chat/chat_input.h"
#include "forms/chat_windows.h"
#include "forms/player_card.h"
#include "session/client.h"

namespace tallow {

bool ChatControlInput(Client& c, const ui::InputEvent& e) {
  auto& f = c.mainForm;
  const ui::Control* ctl = e.control;
  if (ctl == nullptr) return false;
  if (ctl == &f.Chat) {
    if (e.kind == ui::InputKind::KeyPress) ChatBoxKeyPress(c, e.keyChar);
    if (e.kind == ui::InputKind::TextChanged) ChatBoxChanged(c);
    return e.kind == ui::InputKind::KeyPress || e.kind == ui::InputKind::TextChanged;
  }
  if (ctl == &f.Pic1) {
    if (e.kind == ui::InputKind::MouseMove) HidePlayerCard(c);
    return false;
  }
  const bool portrait =
      ctl->Name == f.Tou.Name() && f.Tou.IsLoaded(ctl->Index) && ctl == &f.Tou(ctl->Index);
  if (portrait && e.kind == ui::InputKind::MouseMove) {
    ShowPlayerCard(c, ctl->Index);
    return true;
  }
  if (e.kind != ui::InputKind::Click) return false;
  if (portrait) {
    StartPrivateTalk(c, ctl->Index);
  } else if (ctl == &f.Lbchat) {
    ToggleTalk(c);
  } else if (ctl == &f.imgword1 || ctl == &f.imgword2) {
    TogglePhrases(c, ctl == &f.imgword1 ? 1 : 2);
  } else {
    return false;
  }
  return true;
}

}  // namespace tallow
