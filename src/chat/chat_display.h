// Showing chat lines and the chat button's blink.
#pragma once

#include <string>

#include "protocol/record.h"

namespace tallow {

class Client;

void ShowChatLine(Client& c, const std::string& text);
void BlinkChatButton(Client& c);
void OnChatMessage(Client& c, const protocol::Header& h);

}  // namespace tallow
