// Reading the seated players' profiles.
#pragma once

#include <string>

#include "protocol/record.h"
#include "session/players_state.h"

namespace tallow {

// Fills a player record from a PlayerProfile record. Throws RuntimeFailure when a counter
// does not fit a signed 32-bit field.
PlayerRecord ParseProfile(const protocol::Record& rec);

// Empties what a departure clears in a profile (names, portrait, numbers); the account, tag,
// voice fields and user id stay.
void ClearPlayerFields(PlayerRecord& p);

// Index into AvatarImageIds of a portrait: at the table and in the result windows, and in a
// spectator's assembly of the table. Throws RuntimeFailure on a portrait name that is no
// number.
int AvatarPictureIndex(const std::string& avatar);
int SpectatorAvatarPictureIndex(const std::string& avatar);

}  // namespace tallow
