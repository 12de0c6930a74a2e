#include "sound/voices.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "session/client.h"
#include "sound/voice_files.h"

namespace tallow {
namespace {

constexpr std::array<std::string_view, 6> kFemaleNumberBySlot = {"10", "20", "30",
                                                                 "10", "20", "30"};
constexpr std::array<std::string_view, 5> kMaleNumberBySlot = {"10", "30", "10", "30", "10"};

// A random slot among the first `slots`; one already given yields the first free one.
int DrawSlot(CheckedArray<bool, 0, 5>& used, int slots, double random) {
  int r = std::clamp(static_cast<int>(random * slots), 0, slots - 1);
  if (used(r)) {
    for (int k = 0; k < slots; ++k) {
      if (!used(k)) {
        r = k;
        break;
      }
    }
  }
  used(r) = true;
  return r;
}

// Voice sets and numbers come from the server's profiles: only letters and digits may become
// part of a file name.
bool NamePart(std::string_view s) {
  return std::all_of(s.begin(), s.end(),
                     [](char ch) { return std::isalnum(static_cast<unsigned char>(ch)) != 0; });
}

}  // namespace

void DrawVoices(Client& c) {
  auto& s = c.sound;
  s.MaleVoiceUsed.Fill(false);
  s.FemaleVoiceUsed.Fill(false);
  for (int i = 0; i <= 3; ++i) {
    PlayerRecord& p = c.players.PlayerInfo(i);
    if (p.Gender == 0) {
      const int r = DrawSlot(s.FemaleVoiceUsed, 6, c.platform.clock.Random());
      p.VoiceSet = sound::kVoiceSets[0];
      p.VoiceNumber = kFemaleNumberBySlot[static_cast<std::size_t>(r)];
    } else if (p.Gender == 1) {
      const int r = DrawSlot(s.MaleVoiceUsed, 5, c.platform.clock.Random());
      p.VoiceSet = sound::kVoiceSets[0];
      p.VoiceNumber = kMaleNumberBySlot[static_cast<std::size_t>(r)];
    }
    s.SavedVoiceNumber(i) = p.VoiceNumber;
    p.VoiceCode = p.Gender != 0 ? 3 : 2;
  }
}

std::string PlayerVoiceFile(const Client& c, int rel, std::string_view ending) {
  const PlayerRecord& p = c.players.PlayerInfo(rel);
  if (!NamePart(p.VoiceSet) || !NamePart(p.VoiceNumber)) return {};
  // A player whose voice was never drawn (a spectator's table, a profile that replaced the
  // drawn one) still speaks with the code of the gender.
  const int code = p.VoiceCode != 0 ? p.VoiceCode : (p.Gender != 0 ? 3 : 2);
  return sound::VoiceFileName(c.sound.VoiceDir, p.VoiceSet, p.VoiceNumber, p.Gender, code, ending);
}

}  // namespace tallow
