// Table sounds, the looping table music and the players' voices: one playback channel through
// the platform's sound device. Starting a sound stops the one before it.
#pragma once

#include <string>
#include <string_view>

namespace tallow {

class Client;

// Table sound slots (sound/voice_files.h names the files).
inline constexpr int kTableLoopSound = 1;  // majiang.wav, looping
inline constexpr int kDiscardSound = 2;    // dapai.wav
inline constexpr int kDealSound = 3;       // qupai.wav
inline constexpr int kShuffleSound = 4;    // xipai.wav
inline constexpr int kDiceSound = 5;       // zhise.wav
inline constexpr int kTickSound = 6;       // tishi.wav
// SetSoundVolume's full volume.
inline constexpr int kFullVolume = 3000;

// Fills SoundFile(1..6) and VoiceDir from the application directory.
void InitSoundPaths(Client& c);
// Opens the sound device; without one SoundOn goes off and the table stays silent.
void InitSound(Client& c);
// Starts the file once or looping, replacing the current sound. A file that cannot be loaded
// plays nothing and changes no setting; without a sound device SoundOn goes off.
void PlaySound(Client& c, const std::string& path, bool looping);
// Stops the current sound and rewinds it.
void StopSound(Client& c);
// 0..3000: the current sound's volume in hundredths of a decibel above -30 dB (3000 is full
// volume); other values are ignored.
void SetSoundVolume(Client& c, int v);

// Start-up: every setting on, the paths filled, the device opened and the table loop started.
void StartTableSound(Client& c);
// The table window closes: the current sound stops.
void StopTableSound(Client& c);
// The looping table sound from its start, at full volume, whatever SoundOn says.
void StartTableLoop(Client& c);
// One of the table sounds once at full volume, when sounds are on.
void PlayTableSound(Client& c, int slot);

// The voice of the player at relative position `rel` with the ending ("01.wav" chow, tile
// digits + ".wav", ...) once at full volume, when sounds are on.
void PlayVoice(Client& c, int rel, std::string_view ending);
// A voice phrase ("a" + number + ".wav"): the current sound stops and the phrase plays at full
// volume whatever SoundOn says.
void PlayVoicePhrase(Client& c, int rel, std::string_view ending);

}  // namespace tallow
