// Records described field by field, so that a fuzzer's bytes pick each field's value from its
// declared range most of the time and from outside it now and then, and the seed tool can
// write a recorded record back as such bytes.
//
// Every field starts with a tag byte:
//   numbers: below kOutside a value of the range (index modulo its size); from kOutside on,
//            the field's raw bytes follow. A field whose values come from the table in play
//            (a seat's own tiles, its session token) picks from those for tags from kLiveFrom.
//   texts:   below kBroken a valid text; up to kOutside a text of broken form (cut GBK, no
//            terminator); from kOutside on a length byte and that many raw bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "byte_stream.h"
#include "protocol/record.h"

namespace tallow::fuzz {

inline constexpr std::uint8_t kLiveFrom = 0x80;
inline constexpr std::uint8_t kBroken = 0xE0;
inline constexpr std::uint8_t kOutside = 0xF8;

// Values only the table in play knows, offered to fields that ask for them.
enum class Live : std::uint8_t { None, HeldTiles, Tokens };
struct LiveValues {
  std::vector<std::int64_t> heldTiles;  // the sending seat's concealed tiles
  std::vector<std::int64_t> tokens;     // session tokens the server gave out
};

struct Domain {
  std::vector<std::int64_t> numbers;  // a number field's values
  std::vector<std::string> texts;     // a text field's valid texts (bytes as on the wire)
  std::vector<std::string> broken;    // and texts of broken form
  Live live = Live::None;
  std::int64_t liveMark = 0;  // OR'ed into a live value (the claim or discard mark of a tile)
  bool IsText() const { return !texts.empty(); }
};

struct Field {
  std::uint16_t at;    // byte offset in the record
  std::uint8_t width;  // numbers: 1, 2 (big-endian), 4 or 8 (little-endian); texts: the size
  const Domain* domain;
};

// Fills the fields of `rec` from the input.
void DecodeFields(ByteReader& in, std::span<const Field> fields, protocol::Record& rec,
                  const LiveValues* live = nullptr);
// Writes the tags and bytes from which DecodeFields rebuilds these fields of `rec`.
void EncodeFields(ByteWriter& out, std::span<const Field> fields, const protocol::Record& rec);

// Helpers for building domains.
std::vector<std::int64_t> Range(std::int64_t from, std::int64_t to);
std::vector<std::int64_t> TileCodes();  // 0 and the 34 tiles of the game
std::vector<std::string> Gbk(std::initializer_list<const char*> utf8);  // texts as GBK bytes
std::vector<std::string> BrokenTexts(std::size_t width);                // cut and unterminated GBK

}  // namespace tallow::fuzz
