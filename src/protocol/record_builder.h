// Writing records: the header, texts and numbers at their offsets. The server writes every
// record it sends this way, and so do the tools and tests that play the server's part.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "protocol/record.h"

namespace tallow::protocol {

// A record with its code (big-endian in bytes 2..3), seat byte and Value(0..3) as 16-bit
// two's complement; every other byte 0.
Record BuildRecord(std::uint16_t code, int seatMask = 0, const std::array<int, 4>& values = {});
inline Record BuildRecord(MsgType type, int seatMask = 0, const std::array<int, 4>& values = {}) {
  return BuildRecord(static_cast<std::uint16_t>(type), seatMask, values);
}
inline Record BuildRecord(ClientCode code, int seatMask = 0,
                          const std::array<int, 4>& values = {}) {
  return BuildRecord(static_cast<std::uint16_t>(code), seatMask, values);
}

// At most `max` bytes from `offset`, never past the record's end.
void PutBytes(Record& r, std::size_t offset, std::size_t max, std::string_view bytes);
// UTF-8 text as GBK in a field of `max` bytes: at most max - 1 bytes (a NUL stays after them),
// never splitting a double-byte character; characters without a GBK code are left out.
void PutGbk(Record& r, std::size_t offset, std::size_t max, std::string_view utf8);
// The same with only the text's double-byte characters.
void PutGbkPairs(Record& r, std::size_t offset, std::size_t max, std::string_view utf8);
// An unsigned number in `bytes` bytes, least significant first.
void PutLittleEndian(Record& r, std::size_t offset, std::uint64_t v, std::size_t bytes);

}  // namespace tallow::protocol
