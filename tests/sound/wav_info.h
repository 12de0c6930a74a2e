// What a test needs to know of a WAV file: its format, length and loudest sample.
#pragma once

#include <optional>
#include <string>

namespace tallow::test {

struct WavInfo {
  int format = 0;  // 1 = PCM
  int channels = 0;
  int rate = 0;
  int bits = 0;
  double seconds = 0;
  double peak = 0;  // of 16-bit samples, 0..1
};

// The file's header and data; nothing when it is not a RIFF WAVE file with a format and a data
// chunk.
std::optional<WavInfo> ReadWav(const std::string& path);

}  // namespace tallow::test
