#include "protocol/record_builder.h"

#include <algorithm>
#include <string>

#include "protocol/gbk.h"

namespace tallow::protocol {

Record BuildRecord(std::uint16_t code, int seatMask, const std::array<int, 4>& values) {
  Header h;
  h.Code = static_cast<std::int16_t>(code);
  h.SeatMask = static_cast<std::uint8_t>(seatMask);
  for (std::size_t i = 0; i < 4; ++i) h.Value[i] = static_cast<std::int16_t>(values[i]);
  Record r{};
  EncodeHeader(h, r);
  return r;
}

void PutBytes(Record& r, std::size_t offset, std::size_t max, std::string_view bytes) {
  const std::size_t n = std::min(bytes.size(), max);
  for (std::size_t i = 0; i < n && offset + i < r.size(); ++i) {
    r[offset + i] = static_cast<std::uint8_t>(bytes[i]);
  }
}

namespace {

void PutGbkChars(Record& r, std::size_t offset, std::size_t max, std::string_view utf8,
                 bool pairsOnly) {
  std::string out;
  for (auto c : Utf8Chars(utf8)) {
    auto g = CharToGbk(c);
    if (!g || (pairsOnly && g->size() != 2)) continue;
    if (out.size() + g->size() + 1 > max) break;
    out += *g;
  }
  PutBytes(r, offset, max, out);
}

}  // namespace

void PutGbk(Record& r, std::size_t offset, std::size_t max, std::string_view utf8) {
  PutGbkChars(r, offset, max, utf8, false);
}

void PutGbkPairs(Record& r, std::size_t offset, std::size_t max, std::string_view utf8) {
  PutGbkChars(r, offset, max, utf8, true);
}

void PutLittleEndian(Record& r, std::size_t offset, std::uint64_t v, std::size_t bytes) {
  for (std::size_t i = 0; i < bytes; ++i) {
    r.at(offset + i) = i < 8 ? static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF) : 0;
  }
}

}  // namespace tallow::protocol
