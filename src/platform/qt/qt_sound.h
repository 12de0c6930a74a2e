// WAV playback on one channel with QSoundEffect. Without an audio device it stays silent.
#pragma once

#include <QSoundEffect>
#include <string>

#include "platform/platform.h"

namespace tallow::platform::qt {

// The linear gain (0..1) of a volume in hundredths of a decibel (0 = full, -10000 = silent);
// positive volumes count as full.
double LinearVolume(int volume);

class QtSound : public ISound {
 public:
  // Starts the file, replacing whatever plays; false when the file does not exist.
  bool Play(const std::string& path, bool loop) override;
  void Stop() override;
  void SetVolume(int volume) override;

 private:
  QSoundEffect effect_;
};

}  // namespace tallow::platform::qt
