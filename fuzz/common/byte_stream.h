// A fuzz input read front to back, and the writer the seed tool builds inputs with.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tallow::fuzz {

// Past the end every byte reads 0, so any input decodes to something.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

  bool Empty() const { return at_ >= data_.size(); }
  std::size_t Used() const { return at_; }
  std::size_t Left() const { return Empty() ? 0 : data_.size() - at_; }
  std::uint8_t Byte() { return Empty() ? 0 : data_[at_++]; }
  // Big-endian.
  std::uint16_t Word() {
    const std::uint16_t high = Byte();
    return static_cast<std::uint16_t>(high << 8 | Byte());
  }
  // Up to n bytes (fewer at the end of the input).
  std::span<const std::uint8_t> Bytes(std::size_t n) {
    const std::size_t k = std::min(n, Left());
    auto out = data_.subspan(at_, k);
    at_ += k;
    return out;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t at_ = 0;
};

class ByteWriter {
 public:
  void Byte(int b) { out_.push_back(static_cast<std::uint8_t>(b)); }
  void Word(int w) {
    Byte(w >> 8 & 0xFF);
    Byte(w & 0xFF);
  }
  void Bytes(std::span<const std::uint8_t> b) { out_.insert(out_.end(), b.begin(), b.end()); }
  const std::vector<std::uint8_t>& Data() const { return out_; }

 private:
  std::vector<std::uint8_t> out_;
};

}  // namespace tallow::fuzz
