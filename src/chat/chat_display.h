// Showing chat lines: the ticker, the history of the chat window, a received voice phrase and
// the chat button's blink.
#pragma once

#include <string>

#include "protocol/record.h"

namespace tallow {

class Client;

// The text of a chat record: from byte 16 while the position is below byte 216, a byte of 0x80
// or more and the byte after it form one character (so a lead byte at 215 takes its trail byte
// from 216); the text ends at its first NUL character.
std::string ChatTextOf(const protocol::Record& rec);

// Shows a received chat line (the record being extracted, whose header is decoded): plays a
// voice phrase of another player, puts "你" for the local player's name, filters the words,
// appends the line to the chat history and pushes it into the two-line ticker.
void ShowChatLine(Client& c, const std::string& text);

// The chat button's blink step (every 400 ms).
void BlinkChatButton(Client& c);

}  // namespace tallow
