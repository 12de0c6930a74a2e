#include "chat/chat_display.h"

#include "session/client.h"

namespace tallow {

void ShowChatLine(Client& /*c*/, const std::string& /*text*/) {}

void BlinkChatButton(Client& /*c*/) {}

void OnChatMessage(Client& /*c*/, const protocol::Header& /*h*/) {}

}  // namespace tallow
