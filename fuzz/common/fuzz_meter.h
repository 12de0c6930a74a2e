// What a fuzz target fed its program: records and inputs, printed with the rate every minute
// and when the process exits (libFuzzer ends by exit() after -runs, -max_total_time or a
// SIGTERM).
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tallow::fuzz {

class Meter {
 public:
  static void Add(std::uint64_t records) {
    Meter& m = Get();
    m.records_ += records;
    if ((m.records_ & 0xFFF) == 0 && Now() - m.printed_ >= std::chrono::minutes(1)) {
      m.printed_ = Now();
      m.Print();
    }
  }
  static void Input() { ++Get().inputs_; }

 private:
  Meter() {
    std::atexit([] { Get().Print(); });
  }
  static Meter& Get() {
    static Meter m;
    return m;
  }
  static std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }
  void Print() const {
    const std::chrono::duration<double> s = Now() - start_;
    std::fprintf(stderr, "records fed: %llu in %llu inputs, %.1f s: %.0f records/s\n",
                 static_cast<unsigned long long>(records_),
                 static_cast<unsigned long long>(inputs_), s.count(),
                 s.count() > 0 ? static_cast<double>(records_) / s.count() : 0.0);
  }
  std::chrono::steady_clock::time_point start_ = Now();
  std::chrono::steady_clock::time_point printed_ = start_;
  std::uint64_t records_ = 0;
  std::uint64_t inputs_ = 0;
};

}  // namespace tallow::fuzz
