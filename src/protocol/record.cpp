#include "protocol/record.h"

namespace tallow::protocol {

bool HasSignedValues(std::uint8_t type) {
  return type == 15 || type == 17;
}

std::int16_t DecodeValue(std::uint8_t type, std::uint8_t high, std::uint8_t low) {
  if (!HasSignedValues(type)) return static_cast<std::int16_t>(low);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>((high << 8) | low));
}

Header DecodeHeader(const Record& rec) {
  Header h;
  const std::uint8_t type = rec[off::kType];
  h.Code = type;
  h.Reserved = rec[off::kReserved];
  h.SeatMask = rec[off::kSeatMask] & 15;
  h.Extra = rec[off::kExtra];
  for (std::size_t i = 0; i < 4; ++i) {
    h.Value[i] = DecodeValue(type, rec[off::kValues + 2 * i], rec[off::kValues + 2 * i + 1]);
  }
  return h;
}

void EncodeHeader(const Header& h, Record& rec) {
  const auto code = static_cast<std::uint16_t>(h.Code);
  rec[off::kTypeHigh] = static_cast<std::uint8_t>(code >> 8);
  rec[off::kType] = static_cast<std::uint8_t>(code & 0xFF);
  rec[off::kReserved] = h.Reserved;
  rec[off::kSeatMask] = h.SeatMask;
  rec[off::kExtra] = h.Extra;
  for (std::size_t i = 0; i < 4; ++i) WriteWord(rec, off::kValues + 2 * i, h.Value[i]);
}

std::int16_t ReadWord(const Record& rec, std::size_t offset) {
  return static_cast<std::int16_t>(
      static_cast<std::uint16_t>((rec.at(offset) << 8) | rec.at(offset + 1)));
}

void WriteWord(Record& rec, std::size_t offset, std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  rec.at(offset) = static_cast<std::uint8_t>(u >> 8);
  rec.at(offset + 1) = static_cast<std::uint8_t>(u & 0xFF);
}

std::uint16_t Token(const Record& rec) {
  return static_cast<std::uint16_t>((rec[off::kToken] << 8) | rec[off::kToken + 1]);
}

void SetToken(Record& rec, std::uint16_t token) {
  rec[off::kToken] = static_cast<std::uint8_t>(token >> 8);
  rec[off::kToken + 1] = static_cast<std::uint8_t>(token & 0xFF);
}

Record MakeRecord(std::uint16_t code) {
  Record r{};
  r[off::kTypeHigh] = static_cast<std::uint8_t>(code >> 8);
  r[off::kType] = static_cast<std::uint8_t>(code & 0xFF);
  return r;
}

std::span<const std::uint8_t> CString(const Record& rec, std::size_t offset, std::size_t max) {
  if (offset >= rec.size()) return {};
  if (max > rec.size() - offset) max = rec.size() - offset;
  std::size_t n = 0;
  while (n < max && rec[offset + n] != 0) ++n;
  return {rec.data() + offset, n};
}

}  // namespace tallow::protocol
