// The table window's chat controls: the chat box, the chat caption Lbchat, the phrase images
// imgword1/imgword2 and the portraits Tou (click: private talk; pointer: the player card).
#pragma once

#include "platform/controls.h"

namespace tallow {

class Client;

// Handles the event when it belongs to one of those controls; true when nothing else should
// see it. A pointer move over the table picture hides the player card and is left to others.
bool ChatControlInput(Client& c, const ui::InputEvent& e);

}  // namespace tallow
