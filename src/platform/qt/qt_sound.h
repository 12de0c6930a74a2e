// Sound playback on one channel through a QAudioSink fed in large blocks: the whole sound is
// decoded at once, and a coarse timer keeps about a second of it queued on the output, so a
// looping table sound costs the client a few writes a second. Without an audio output (or with
// TALLOW_NO_SOUND set) everything stays silent: nothing is played, nothing waits, nothing is
// printed.
#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"

class QAudioSink;
class QIODevice;

namespace tallow::platform::qt {

// The linear gain (0..1) of a volume in hundredths of a decibel (0 = full, -10000 = silent);
// positive volumes count as full.
double LinearVolume(int volume);

// A sound file's samples as 16-bit PCM and their format.
struct PcmSound {
  QAudioFormat format;
  QByteArray samples;
};
// Decodes a sound file in memory (WAV, and whatever else libsndfile reads); nothing for a file
// it cannot decode, one without a single frame, or one of more than two channels.
std::optional<PcmSound> DecodeSound(const QByteArray& file);

class QtSound : public ISound {
 public:
  QtSound();  // also keeps the audio back end's "no sound server" warnings off the terminal
  ~QtSound() override;

  // Whether an audio output exists.
  bool Open() override;
  // Stops and drops the current sound, then starts the file at full volume, once or looping;
  // false when the file does not exist or cannot be decoded. Without an audio output nothing
  // starts.
  bool Play(const std::string& path, bool loop) override;
  // Stops the current sound; playing it again starts from its beginning.
  void Stop() override;
  // The volume of what is queued from now on.
  void SetVolume(int volume) override;

  // The current sound: its file ("" after none) and whether it is playing.
  const std::string& CurrentFile() const { return current_; }
  bool Playing() const;
  float Volume() const;

 private:
  // Queues as much of the sound as the output takes; a sound played once is followed by
  // silence up to the output's buffer, so that the output starts even for a short sound.
  void Feed();
  void Drop();

  std::unique_ptr<QAudioSink> sink_;
  QIODevice* output_ = nullptr;
  PcmSound sound_;
  qsizetype next_ = 0;   // the next byte of the sound to queue
  bool queued_ = false;  // a sound played once is queued to its end
  bool loop_ = false;
  QTimer feed_;
  std::string current_;
};

}  // namespace tallow::platform::qt
