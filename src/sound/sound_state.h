// The sound settings, the sound file paths and the voice slots given at this table.
#pragma once

#include <string>

#include "platform/checked_array.h"

namespace tallow {

struct SoundState {
  // Paths of the table sounds; slots 1..6 are used (sound/voice_files.h names the files).
  CheckedArray<std::string, 0, 100> SoundFile;
  // The directory of every voice file, ending in a slash.
  std::string VoiceDir;
  // Table sounds and the tile and claim voices are played; off after a failure of the sound
  // device or by the settings window.
  bool SoundOn = true;
  // The looping table sound is on (settings window).
  bool MusicOn = true;
  // The settings window's 系统声音: switched and shown, read nowhere else.
  bool SystemSoundOn = true;
  // The sound device was opened; without it every sound call fails and turns SoundOn off.
  bool DeviceOpen = false;
  // Voice slots given at this table (men draw among 0..4, women among 0..5).
  CheckedArray<bool, 0, 5> MaleVoiceUsed;
  CheckedArray<bool, 0, 5> FemaleVoiceUsed;
  // Each position's VoiceNumber as drawn (the settings window's cancel restores the men's).
  CheckedArray<std::string, 0, 3> SavedVoiceNumber;
};

}  // namespace tallow
