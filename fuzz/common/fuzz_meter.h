// What a fuzz target fed its program: records and inputs, printed with the rate when the
// process exits (libFuzzer ends by exit() after -runs or -max_total_time).
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tallow::fuzz {

class Meter {
 public:
  static void Add(std::uint64_t records) { Get().records_ += records; }
  static void Input() { ++Get().inputs_; }

 private:
  Meter() {
    std::atexit([] { Get().Print(); });
  }
  static Meter& Get() {
    static Meter m;
    return m;
  }
  void Print() const {
    const std::chrono::duration<double> s = std::chrono::steady_clock::now() - start_;
    std::fprintf(stderr, "records fed: %llu in %llu inputs, %.1f s: %.0f records/s\n",
                 static_cast<unsigned long long>(records_),
                 static_cast<unsigned long long>(inputs_), s.count(),
                 s.count() > 0 ? static_cast<double>(records_) / s.count() : 0.0);
  }
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::uint64_t records_ = 0;
  std::uint64_t inputs_ = 0;
};

}  // namespace tallow::fuzz
