#include "record_fields.h"

#include <algorithm>

#include "protocol/gbk.h"

namespace tallow::fuzz {
namespace {

std::int64_t ReadNumber(const protocol::Record& rec, const Field& f) {
  std::uint64_t v = 0;
  if (f.width == 2) return static_cast<std::int16_t>(rec[f.at] << 8 | rec[f.at + 1u]);
  for (int k = f.width - 1; k >= 0; --k) v = v << 8 | rec[f.at + static_cast<unsigned>(k)];
  return static_cast<std::int64_t>(v);
}

void WriteNumber(protocol::Record& rec, const Field& f, std::int64_t value) {
  const auto v = static_cast<std::uint64_t>(value);
  if (f.width == 2) {
    rec[f.at] = static_cast<std::uint8_t>(v >> 8);
    rec[f.at + 1u] = static_cast<std::uint8_t>(v);
    return;
  }
  for (unsigned k = 0; k < f.width; ++k) rec[f.at + k] = static_cast<std::uint8_t>(v >> (8 * k));
}

void WriteText(protocol::Record& rec, const Field& f, std::span<const std::uint8_t> bytes) {
  std::fill_n(rec.begin() + f.at, f.width, 0);
  std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), f.width), rec.begin() + f.at);
}

std::span<const std::uint8_t> AsBytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

const std::vector<std::int64_t>* LiveList(const Domain& d, const LiveValues* live) {
  if (live == nullptr) return nullptr;
  switch (d.live) {
    case Live::HeldTiles:
      return live->heldTiles.empty() ? nullptr : &live->heldTiles;
    case Live::Tokens:
      return live->tokens.empty() ? nullptr : &live->tokens;
    case Live::None:
      break;
  }
  return nullptr;
}

void DecodeField(ByteReader& in, const Field& f, protocol::Record& rec, const LiveValues* live) {
  const Domain& d = *f.domain;
  const std::uint8_t tag = in.Byte();
  if (tag >= kOutside) {
    if (!d.IsText()) {
      const auto raw = in.Bytes(f.width);
      std::copy(raw.begin(), raw.end(), rec.begin() + f.at);
      return;
    }
    return WriteText(rec, f, in.Bytes(in.Byte() % (f.width + 1u)));
  }
  if (d.IsText()) {
    const auto& list = tag >= kBroken && !d.broken.empty() ? d.broken : d.texts;
    return WriteText(rec, f, AsBytes(list[tag % list.size()]));
  }
  if (tag >= kLiveFrom) {
    if (const auto* values = LiveList(d, live)) {
      return WriteNumber(rec, f, (*values)[tag % values->size()] | d.liveMark);
    }
  }
  WriteNumber(rec, f, d.numbers[tag % d.numbers.size()]);
}

void EncodeField(ByteWriter& out, const Field& f, const protocol::Record& rec) {
  const Domain& d = *f.domain;
  if (!d.IsText()) {
    const std::int64_t v = ReadNumber(rec, f);
    const std::size_t limit = d.live != Live::None ? kLiveFrom : kOutside;
    for (std::size_t i = 0; i < d.numbers.size() && i < limit; ++i) {
      if (d.numbers[i] == v || (f.width == 2 && static_cast<std::int16_t>(d.numbers[i]) == v)) {
        return out.Byte(static_cast<int>(i));
      }
    }
    out.Byte(0xFF);
    return out.Bytes(std::span(rec).subspan(f.at, f.width));
  }
  const auto field = std::span(rec).subspan(f.at, f.width);
  std::size_t used = f.width;
  while (used > 0 && field[used - 1] == 0) --used;
  const std::string text(field.begin(), field.begin() + static_cast<long>(used));
  auto find = [&](const std::vector<std::string>& list, std::size_t from, std::size_t limit) {
    for (std::size_t i = 0; i < list.size() && from + i < limit; ++i) {
      if (list[i].substr(0, f.width) == text) {
        out.Byte(static_cast<int>(from + i));
        return true;
      }
    }
    return false;
  };
  // Broken texts are found by tags whose index modulo their count is their own.
  if (find(d.texts, 0, kBroken)) return;
  if (!d.broken.empty() && kBroken % d.broken.size() == 0 && find(d.broken, kBroken, kOutside)) {
    return;
  }
  out.Byte(0xFF);
  out.Byte(static_cast<int>(used));
  out.Bytes(field.first(used));
}

}  // namespace

void DecodeFields(ByteReader& in, std::span<const Field> fields, protocol::Record& rec,
                  const LiveValues* live) {
  for (const Field& f : fields) DecodeField(in, f, rec, live);
}

void EncodeFields(ByteWriter& out, std::span<const Field> fields, const protocol::Record& rec) {
  for (const Field& f : fields) EncodeField(out, f, rec);
}

std::vector<std::int64_t> Range(std::int64_t from, std::int64_t to) {
  std::vector<std::int64_t> out;
  for (std::int64_t v = from; v <= to; ++v) out.push_back(v);
  return out;
}

std::vector<std::int64_t> TileCodes() {
  std::vector<std::int64_t> out = {0};
  for (int r = 1; r <= 7; ++r) out.push_back(0x10 | r);
  for (int suit : {0x20, 0x40, 0x80}) {
    for (int r = 1; r <= 9; ++r) out.push_back(suit | r);
  }
  return out;
}

std::vector<std::string> Gbk(std::initializer_list<const char*> utf8) {
  std::vector<std::string> out;
  for (const char* s : utf8) out.push_back(protocol::ToGbk(s));
  return out;
}

std::vector<std::string> BrokenTexts(std::size_t width) {
  // A lead byte at the end of the field, lead bytes without a trail, a trail byte alone, an
  // invalid pair, a field full to its last byte, and a lead byte before the terminator.
  std::vector<std::string> out = {
      std::string(width - 1, 'a') + "\xB0",
      "\x81",
      "\xFF\xFF\xFF",
      "\xB0\x41\xB0",
      "\x80",
      std::string(width, '\xD6'),
      std::string("\xC4\xE3\xBA") + '\0' + "x",
      "\xA1\x7F\xFE\x40",
  };
  for (auto& s : out) s.resize(std::min(s.size(), width));
  return out;
}

}  // namespace tallow::fuzz
