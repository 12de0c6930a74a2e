// The seeded random source of the core: every wall, die and token comes from it, so one seed
// and one sequence of inputs always give the same output.
#pragma once

#include <cstdint>

namespace tallow::server {

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform integer in [0, n); n > 0.
  std::uint32_t Below(std::uint32_t n) {
    const std::uint64_t limit = UINT64_MAX - UINT64_MAX % n;
    std::uint64_t v;
    do {
      v = Next();
    } while (v >= limit);
    return static_cast<std::uint32_t>(v % n);
  }

 private:
  std::uint64_t state_;
};

}  // namespace tallow::server
