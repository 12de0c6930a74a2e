// The table window's frame, title buttons, window keys and window-state rules.
#pragma once

#include "base/keys.h"
#include "platform/controls.h"

namespace tallow {

class Client;

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
// Mouse on the title buttons (which: 0 close, 1 minimise), the drag strip and the background.
void TitleButtonInput(Client& c, int which, const ui::InputEvent& e);
void DragStripInput(Client& c, const ui::InputEvent& e);
void BackgroundMouseMove(Client& c);

}  // namespace tallow
