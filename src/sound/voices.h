// The players' voices: which voice each player is given and the file a voice speaks from.
#pragma once

#include <string>
#include <string_view>

namespace tallow {

class Client;

// Gives the four players their voices when a game starts: a woman one of six slots (numbers
// 10, 20, 30, 10, 20, 30), a man one of five (10, 30, 10, 30, 10), never a slot already given
// at this table; set "00" for both. Another gender keeps the voice it has.
void DrawVoices(Client& c);

// The voice file of the player at relative position `rel` with the given ending; empty when
// the player's voice set or number could not name a file in the voice directory.
std::string PlayerVoiceFile(const Client& c, int rel, std::string_view ending);

}  // namespace tallow
