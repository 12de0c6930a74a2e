// Fixed-size arrays with declared lower and upper bounds, checked on every access.
#pragma once

#include <array>
#include <string>

#include "platform/failure.h"

namespace tallow {

// The failure of an index outside lo..hi, kept out of line so that every checked access
// inlines to a compare and a branch.
[[noreturn, gnu::cold, gnu::noinline]] inline void IndexOutside(long i, long lo, long hi) {
  throw RuntimeFailure("index " + std::to_string(i) + " outside " + std::to_string(lo) + ".." +
                       std::to_string(hi));
}

template <class T, int Lo, int Hi>
class CheckedArray {
  static_assert(Hi >= Lo);

 public:
  static constexpr int kLower = Lo;
  static constexpr int kUpper = Hi;
  static constexpr int kSize = Hi - Lo + 1;

  T& operator()(long i) { return data_[Offset(i)]; }
  const T& operator()(long i) const { return data_[Offset(i)]; }
  T& operator[](long i) { return data_[Offset(i)]; }
  const T& operator[](long i) const { return data_[Offset(i)]; }

  static bool InBounds(long i) { return i >= Lo && i <= Hi; }
  // n elements from index i on, checked as a whole.
  T* Range(long i, long n) {
    if (n < 0 || !InBounds(i) || (n > 0 && !InBounds(i + n - 1))) {
      throw RuntimeFailure("range " + std::to_string(i) + "+" + std::to_string(n) + " outside " +
                           std::to_string(Lo) + ".." + std::to_string(Hi));
    }
    return data_.data() + (i - Lo);
  }
  void Fill(const T& v) { data_.fill(v); }
  auto begin() { return data_.begin(); }
  auto end() { return data_.end(); }
  auto begin() const { return data_.begin(); }
  auto end() const { return data_.end(); }
  T* data() { return data_.data(); }
  const T* data() const { return data_.data(); }

 private:
  static std::size_t Offset(long i) {
    if (!InBounds(i)) [[unlikely]] {
      IndexOutside(i, Lo, Hi);
    }
    return static_cast<std::size_t>(i - Lo);
  }
  std::array<T, kSize> data_{};
};

}  // namespace tallow
