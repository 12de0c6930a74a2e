// Sending chat: the chat box (Enter sends a typed line under the flood control, Backspace into
// the private-talk prefix removes it whole), the send button, the phrase lists and private talk.
#pragma once

#include <cstdint>
#include <string>

namespace tallow {

class Client;

// The flood-control note written into the history instead of a line typed too soon.
inline constexpr const char* kTooFastNote = "（发送消息太快！）";

// A character typed into the chat box (13 Enter, 8 Backspace), before the box handles it.
void ChatBoxKeyPress(Client& c, std::uint32_t keyChar);
// The chat box's text changed.
void ChatBoxChanged(Client& c);

// The send button: sends the typed line without the flood control; the box keeps a text that
// is empty or only the prefix. True when a line was sent.
bool SendButtonLine(Client& c);

// Sends a ready-made phrase (anything typed is dropped). A voice phrase (number from 1) is
// played at once in the local player's voice and by the other clients in the sender's.
void SendTextPhrase(Client& c, const std::string& phrase);
void SendVoicePhrase(Client& c, int number, const std::string& caption);

// A click on the portrait of the player at relative position i: the chat box starts with the
// private-talk prefix for that player.
void StartPrivateTalk(Client& c, int i);

}  // namespace tallow
