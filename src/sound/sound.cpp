#include "sound/sound.h"

#include "session/client.h"
#include "sound/voice_files.h"
#include "sound/voices.h"

namespace tallow {

void InitSoundPaths(Client& c) {
  auto& s = c.sound;
  const std::string base = c.platform.process.AppPath() + "/../common/";
  for (int slot = 1; slot < static_cast<int>(sound::kTableSoundFiles.size()); ++slot) {
    s.SoundFile(slot) = base + "music/" + std::string(sound::kTableSoundFiles[slot]);
  }
  s.VoiceDir = base + "mj/";
}

void InitSound(Client& c) {
  c.sound.DeviceOpen = c.platform.sound.Open();
  if (!c.sound.DeviceOpen) c.sound.SoundOn = false;
}

void PlaySound(Client& c, const std::string& path, bool looping) {
  if (!c.sound.DeviceOpen) {
    c.sound.SoundOn = false;
    return;
  }
  c.platform.sound.Play(path, looping);
}

void StopSound(Client& c) {
  if (!c.sound.DeviceOpen) {
    c.sound.SoundOn = false;
    return;
  }
  c.platform.sound.Stop();
}

void SetSoundVolume(Client& c, int v) {
  if (v < 0 || v > kFullVolume) return;
  if (!c.sound.DeviceOpen) {
    c.sound.SoundOn = false;
    return;
  }
  c.platform.sound.SetVolume(v - kFullVolume);
}

void StartTableSound(Client& c) {
  auto& s = c.sound;
  s.MusicOn = s.SystemSoundOn = s.SoundOn = true;
  InitSoundPaths(c);
  InitSound(c);
  StopSound(c);
  StartTableLoop(c);
}

void StopTableSound(Client& c) {
  if (c.sound.MusicOn || c.sound.SoundOn) StopSound(c);
}

void StartTableLoop(Client& c) {
  PlaySound(c, c.sound.SoundFile(kTableLoopSound), true);
  SetSoundVolume(c, kFullVolume);
}

void PlayTableSound(Client& c, int slot) {
  if (!c.sound.SoundOn) return;
  PlaySound(c, c.sound.SoundFile(slot), false);
  SetSoundVolume(c, kFullVolume);
}

void PlayVoice(Client& c, int rel, std::string_view ending) {
  if (!c.sound.SoundOn) return;
  const std::string file = PlayerVoiceFile(c, rel, ending);
  if (file.empty()) return;
  PlaySound(c, file, false);
  SetSoundVolume(c, kFullVolume);
}

void PlayVoicePhrase(Client& c, int rel, std::string_view ending) {
  StopSound(c);
  const std::string file = PlayerVoiceFile(c, rel, ending);
  if (file.empty()) return;
  PlaySound(c, file, false);
  SetSoundVolume(c, kFullVolume);
}

}  // namespace tallow
