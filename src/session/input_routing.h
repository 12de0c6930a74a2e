// The table window's input, routed to the handlers that own it.
#pragma once

#include "platform/controls.h"

namespace tallow {

class Client;

void HandleMainFormInput(Client& c, const ui::InputEvent& e);

}  // namespace tallow
