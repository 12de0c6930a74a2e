#include "wav_info.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace tallow::test {
namespace {

std::uint32_t Le(const std::vector<char>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

}  // namespace

std::optional<WavInfo> ReadWav(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 ||
      std::memcmp(b.data() + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  WavInfo info;
  bool haveFormat = false;
  for (std::size_t at = 12; at + 8 <= b.size();) {
    const std::uint32_t size = Le(b, at + 4, 4);
    const std::size_t body = at + 8;
    if (size > b.size() - body) return std::nullopt;
    if (std::memcmp(b.data() + at, "fmt ", 4) == 0 && size >= 16) {
      info.format = static_cast<int>(Le(b, body, 2));
      info.channels = static_cast<int>(Le(b, body + 2, 2));
      info.rate = static_cast<int>(Le(b, body + 4, 4));
      info.bits = static_cast<int>(Le(b, body + 14, 2));
      haveFormat = true;
    } else if (std::memcmp(b.data() + at, "data", 4) == 0 && haveFormat) {
      const int frameBytes = info.channels * info.bits / 8;
      if (frameBytes <= 0 || info.rate <= 0) return std::nullopt;
      info.seconds = static_cast<double>(size) / frameBytes / info.rate;
      if (info.bits == 16) {
        for (std::size_t i = body; i + 1 < body + size; i += 2) {
          const auto sample = static_cast<std::int16_t>(Le(b, i, 2));
          info.peak = std::max(info.peak, std::abs(sample) / 32768.0);
        }
      }
      return info;
    }
    at = body + size + (size & 1);
  }
  return std::nullopt;
}

}  // namespace tallow::test
