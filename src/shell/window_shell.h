// The table window's frame, title buttons, window keys and window-state rules.
#pragma once

#include "platform/checked_array.h"
#include "platform/controls.h"

namespace tallow {

class Client;

struct ShellState {
  bool TitleButtonsNormal = false;
  short HiddenByF1 = 0;
  CheckedArray<short, 0, 1> AltCKeys;
  bool FramePainted = false;
  short WebPanelFailed = 0;  // the web panel's page failed; never cleared
};

inline constexpr int kKeyF1 = 112;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyAlt = 18;
inline constexpr int kKeyC = 67;

// Paints the skinned frame around the table picture and places the title controls.
void PaintFrame(Client& c);
// The F1 action: hide the floating windows, stop the turn timer, minimise table and hall.
void F1Action(Client& c);
// The table window was resized; a restore brings it up and minimises the hall.
void MainFormResize(Client& c);
// A key pressed in the table picture (or its background).
void TableKeyDown(Client& c, int keyCode);
// F1 in the chat box.
void ChatKeyDown(Client& c, int keyCode);
// Places a small window centred over the table window.
void CentreOverTable(Client& c, ui::Form& w);
// Opens or closes the exit confirmation.
void ToggleExitDialog(Client& c, bool bringToFront);
// Mouse on the title buttons (which: 0 close, 1 minimise), the drag strip and the background.
void TitleButtonInput(Client& c, int which, const ui::InputEvent& e);
void DragStripInput(Client& c, const ui::InputEvent& e);
void BackgroundMouseMove(Client& c);
// Routes the table window's input to the handlers that own it.
void HandleMainFormInput(Client& c, const ui::InputEvent& e);

}  // namespace tallow
