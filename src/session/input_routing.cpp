#include "session/input_routing.h"

#include "forms/chat_controls.h"
#include "play/operation_panel.h"
#include "play/tile_selection.h"
#include "session/client.h"
#include "session/startup.h"
#include "shell/toolbar.h"
#include "shell/web_panel.h"
#include "shell/window_shell.h"

namespace tallow {
namespace {

// The hand tiles, the claim buttons and their choosers, and the table picture's mouse-up;
// true when the event was one of theirs.
bool PlayInput(Client& c, const ui::InputEvent& e) {
  auto& f = c.mainForm;
  const ui::Control* ctl = e.control;
  const int i = ctl->Index;
  if (ctl->Name == f.MJ_Image.Name()) {
    if (e.kind == ui::InputKind::MouseMove) TileMouseMove(c, i);
    if (e.kind == ui::InputKind::MouseDown) TileMouseDown(c, i, e.button);
    return true;
  }
  if (e.kind == ui::InputKind::Click) {
    if (ctl->Name == f.Operation.Name()) {
      OperationClick(c, i);
      return true;
    }
    if (ctl->Name == f.Chi.Name()) {
      ChiClick(c, i);
      return true;
    }
    if (ctl->Name == f.Gang.Name()) {
      GangClick(c, i);
      return true;
    }
  }
  if (ctl == &f.Pic1 && e.kind == ui::InputKind::MouseUp) {
    TableMouseUp(c, e.button);
    return true;
  }
  if (ctl == &f.Pic1 && e.kind == ui::InputKind::Click) {
    TableClick(c);
    return true;
  }
  return false;
}

}  // namespace

void HandleMainFormInput(Client& c, const ui::InputEvent& e) {
  auto& f = c.mainForm;
  ui::Control* ctl = e.control;
  if (e.kind == ui::InputKind::Resize) return MainFormResize(c);
  if (e.kind == ui::InputKind::Unload) FormUnload(c);
  if (ctl == nullptr) {
    if (e.kind == ui::InputKind::MouseMove) BackgroundMouseMove(c);
    if (e.kind == ui::InputKind::KeyDown) TableKeyDown(c, e.keyCode);
    return;
  }
  if (ctl == &f.ImgClose(0)) return TitleButtonInput(c, 0, e);
  if (ctl == &f.ImgMin(0)) return TitleButtonInput(c, 1, e);
  if (ctl == &f.LbMove) return DragStripInput(c, e);
  if (ctl == &f.WebBrowser1) return WebPanelInput(c, e);
  if (ChatControlInput(c, e)) return;
  if (ctl == &f.Chat) {
    if (e.kind == ui::InputKind::KeyDown) ChatKeyDown(c, e.keyCode);
    return;
  }
  if (e.kind == ui::InputKind::KeyDown) return TableKeyDown(c, e.keyCode);
  if (ctl->Name == f.AnNiu.Name() && f.AnNiu.IsLoaded(ctl->Index) && ctl == &f.AnNiu(ctl->Index)) {
    if (e.kind == ui::InputKind::Click) return ToolbarClick(c, ctl->Index);
    if (e.kind == ui::InputKind::MouseMove) return ToolbarMouseMove(c, ctl->Index);
  }
  if (ctl == &f.Pic1 && e.kind == ui::InputKind::MouseMove) {
    // Back on the table from the toolbar or from a lifted tile.
    PointerOnTable(c);
    DropLiftedTile(c, e.x, e.y);
    return;
  }
  if (PlayInput(c, e)) return;
  if (e.kind == ui::InputKind::MouseMove && ctl->Parent == nullptr && ctl != &f.Pic1) {
    BackgroundMouseMove(c);  // the frame pieces are the window's background
  }
}

}  // namespace tallow
