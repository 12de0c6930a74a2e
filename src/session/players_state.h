// The seated players' profiles and the seating bookkeeping of the session messages.
#pragma once

#include <cstdint>
#include <string>

#include "platform/checked_array.h"
#include "protocol/record.h"

namespace tallow {

// One player's profile as the server sends it in a PlayerProfile record.
struct PlayerRecord {
  std::string Nickname;
  std::string Avatar;
  std::uint8_t Gender = 0;  // 1 male, 0 female
  std::string Region;
  double Points = 0;
  double Credit = 0;
  double Coins = 0;
  std::string LevelTitle;
  std::int32_t Logins = 0;
  std::int32_t Disconnects = 0;
  std::int32_t Wins = 0;
  std::int32_t Losses = 0;
  std::string ProfileAccount;
  std::string Tag;
  std::string VoiceSet;
  std::string VoiceNumber;
  std::uint8_t VoiceCode = 0;
  double UserId = 0;
};

struct PlayersState {
  // By relative position; 0 is the local player (for a spectator, the watched player).
  CheckedArray<PlayerRecord, 0, 3> PlayerInfo;
  // Other players shown at the table.
  short SeatedCount = 0;
  // A spectator's first four profiles as received; a slot is free while its type byte is 0.
  CheckedArray<protocol::Record, 0, 3> ProfileStore;
  std::string WebPageUrl;
  short TimeoutLimit = 0;
  // A game-over notice has been shown: the start/continue command leaves the table instead.
  short GameOverSeen = 0;
};

}  // namespace tallow
