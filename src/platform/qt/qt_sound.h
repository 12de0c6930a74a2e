// WAV playback on one channel with QSoundEffect. Without an audio output (or with
// TALLOW_NO_SOUND set) everything stays silent: nothing is played, nothing waits, nothing is
// printed.
#pragma once

#include <QSoundEffect>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace tallow::platform::qt {

// The linear gain (0..1) of a volume in hundredths of a decibel (0 = full, -10000 = silent);
// positive volumes count as full.
double LinearVolume(int volume);

class QtSound : public ISound {
 public:
  QtSound();  // also keeps the audio back end's "no sound server" warnings off the terminal

  // Whether an audio output exists.
  bool Open() override;
  // Stops and drops the current sound, then starts the file at full volume, once or looping;
  // false when the file does not exist. Without an audio output nothing starts.
  bool Play(const std::string& path, bool loop) override;
  // Stops the current sound; playing it again starts from its beginning.
  void Stop() override;
  void SetVolume(int volume) override;

  // The current sound: its file ("" after none) and whether it is playing.
  const std::string& CurrentFile() const { return current_; }
  bool Playing() const;
  float Volume() const;

 private:
  std::unique_ptr<QSoundEffect> effect_;
  std::string current_;
};

}  // namespace tallow::platform::qt
