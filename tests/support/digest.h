// FNV-1a, 64 bits: a digest of a byte stream for golden records in tests.
#pragma once

#include <cstdint>
#include <span>

namespace tallow::testing {

class Fnv1a64 {
 public:
  void Add(std::uint8_t byte) {
    value_ ^= byte;
    value_ *= 0x100000001B3ULL;
  }
  void Add(std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) Add(b);
  }
  std::uint64_t value() const { return value_; }

 private:
  std::uint64_t value_ = 0xCBF29CE484222325ULL;
};

}  // namespace tallow::testing
