// The names of the sound and voice files the client plays. They lie beside the hall's
// installation: the table sounds in "../common/music/", the voices in "../common/mj/", both
// relative to the application directory.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tallow::sound {

// The table sounds by slot (1..6; slot 0 is unused): the looping table sound, a discard, a
// deal, the shuffle, the dice, the tick of the last seconds of a turn.
inline constexpr std::array<std::string_view, 7> kTableSoundFiles = {
    "", "majiang.wav", "dapai.wav", "qupai.wav", "xipai.wav", "zhise.wav", "tishi.wav"};

// The voice sets ("27" is the dialect of the settings window) and the voice numbers a woman
// and a man can be given.
inline constexpr std::array<std::string_view, 2> kVoiceSets = {"00", "27"};
inline constexpr std::array<std::string_view, 3> kFemaleVoiceNumbers = {"10", "20", "30"};
inline constexpr std::array<std::string_view, 2> kMaleVoiceNumbers = {"10", "30"};

// Endings of the claim voices.
inline constexpr std::string_view kChowEnding = "01.wav";
inline constexpr std::string_view kPungEnding = "02.wav";
inline constexpr std::string_view kKongEnding = "03.wav";
inline constexpr std::string_view kRedDragonKongEnding = "04.wav";  // spectator view only
inline constexpr std::string_view kWildKongEnding = "05.wav";       // spectator view only
inline constexpr std::string_view kWinEnding = "09.wav";

// voiceDir + "v" + set + number + gender and code in decimal + ending; e.g. a man (gender 1,
// code 3) of set "00" with number "10" calling a pung: v00101302.wav.
std::string VoiceFileName(std::string_view voiceDir, std::string_view set, std::string_view number,
                          int gender, int code, std::string_view ending);

// The ending that names a tile: the suit digit (the suit bit with 4 and 8 exchanged: 1 honours,
// 2 bamboo, 8 characters, 4 dots), the rank, ".wav". The dots 5 (0x85) give "45.wav".
std::string TileVoiceEnding(int tile);

// The ending of voice phrase n (from 1): "a" + n + ".wav".
std::string PhraseVoiceEnding(int n);

// Every ending a voice can be asked for when the phrase file offers `voicePhrases` voice
// phrases: the claims, the 34 tile names and a1.wav … .
std::vector<std::string> AllVoiceEndings(int voicePhrases);

}  // namespace tallow::sound
