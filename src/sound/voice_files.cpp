#include "sound/voice_files.h"

namespace tallow::sound {

std::string VoiceFileName(std::string_view voiceDir, std::string_view set, std::string_view number,
                          int gender, int code, std::string_view ending) {
  std::string name(voiceDir);
  name += 'v';
  name += set;
  name += number;
  name += std::to_string(gender);
  name += std::to_string(code);
  name += ending;
  return name;
}

std::string TileVoiceEnding(int tile) {
  int suit = (tile >> 4) & 0xF;
  if (suit == 4) {
    suit = 8;
  } else if (suit == 8) {
    suit = 4;
  }
  return std::to_string(suit) + std::to_string(tile & 0xF) + ".wav";
}

std::string PhraseVoiceEnding(int n) {
  std::string ending = "a";
  ending += std::to_string(n);
  ending += ".wav";
  return ending;
}

std::vector<std::string> AllVoiceEndings(int voicePhrases) {
  std::vector<std::string> endings;
  for (std::string_view e :
       {kChowEnding, kPungEnding, kKongEnding, kRedDragonKongEnding, kWildKongEnding, kWinEnding}) {
    endings.emplace_back(e);
  }
  for (int rank = 1; rank <= 7; ++rank) endings.push_back(TileVoiceEnding(0x10 | rank));
  for (int suit : {0x20, 0x40, 0x80}) {
    for (int rank = 1; rank <= 9; ++rank) endings.push_back(TileVoiceEnding(suit | rank));
  }
  for (int n = 1; n <= voicePhrases; ++n) endings.push_back(PhraseVoiceEnding(n));
  return endings;
}

}  // namespace tallow::sound
