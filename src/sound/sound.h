// Table sounds and music.
#pragma once

#include <string>

#include "protocol/record.h"

namespace tallow {

class Client;

void StartTableSound(Client& c);
void StopTableSound(Client& c);

// Table sound slots played by the turn handlers.
inline constexpr int kDiscardSound = 2;  // dapai.wav
inline constexpr int kDealSound = 3;     // qupai.wav

// Plays one of the table sounds once at full volume, when sounds are on.
void PlayTableSound(Client& c, int slot);
// Plays the voice of the player at relative seat `rel` with the given file ending
// ("01.wav" chow, "02.wav" pung, "03.wav" kong, "09.wav" win, tile digits + ".wav").
void PlayVoice(Client& c, int rel, const std::string& ending);

}  // namespace tallow
