#include "session/players.h"

#include "platform/failure.h"
#include "protocol/gbk.h"

namespace tallow {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

std::string_view Bytes(const protocol::Record& rec, std::size_t at, std::size_t n) {
  return {reinterpret_cast<const char*>(rec.data() + at), n};
}

// Text of one character per byte, ending at the first 0 byte.
std::string ByteText(const protocol::Record& rec, std::size_t at, std::size_t size) {
  return protocol::FromGbk(protocol::CString(rec, at, size));
}

// GBK text in which a byte of 0x80 or more starts a two-byte character; the text ends at a
// 0 byte where a character would start. A lead byte in the field's last position stands alone.
std::string MixedText(const protocol::Record& rec, std::size_t at, std::size_t size) {
  std::string out;
  const std::size_t end = at + size;
  std::size_t i = at;
  while (i < end) {
    const std::uint8_t b = rec[i];
    if (b == 0) break;
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
    } else if (i + 1 < end) {
      const std::string ch = protocol::FromGbk(Bytes(rec, i, 2));
      out += ch.empty() ? kReplacement : ch;
      i += 2;
    } else {
      out += kReplacement;
      ++i;
    }
  }
  return out;
}

// Two-byte characters, one per byte pair, ending at a pair whose first byte is 0.
std::string PairText(const protocol::Record& rec, std::size_t at, std::size_t size) {
  std::string out;
  for (std::size_t i = at; i + 1 < at + size; i += 2) {
    if (rec[i] == 0) break;
    out += protocol::FromGbk(Bytes(rec, i, 2));
  }
  return out;
}

double Unsigned64(const protocol::Record& rec, std::size_t at) {
  std::uint64_t v = 0;
  for (int k = 7; k >= 0; --k) v = (v << 8) | rec[at + static_cast<std::size_t>(k)];
  return static_cast<double>(v);
}

std::int32_t Signed32(const protocol::Record& rec, std::size_t at) {
  if (rec[at + 3] >= 0x80) throw RuntimeFailure("profile counter does not fit 32 bits");
  return static_cast<std::int32_t>(rec[at] | (rec[at + 1] << 8) | (rec[at + 2] << 16) |
                                   (static_cast<std::uint32_t>(rec[at + 3]) << 24));
}

int Digit(std::string_view ch) {
  if (ch.size() != 1 || ch[0] < '0' || ch[0] > '9') {
    throw RuntimeFailure("portrait name is not a number");
  }
  return ch[0] - '0';
}

}  // namespace

PlayerRecord ParseProfile(const protocol::Record& rec) {
  PlayerRecord p;
  p.Nickname = MixedText(rec, 16, 32);
  p.Avatar = ByteText(rec, 48, 16);
  if (p.Avatar.empty()) p.Avatar = "m1";
  p.Gender = rec[64];
  p.Region = PairText(rec, 72, 8);
  p.Points = Unsigned64(rec, 80);
  p.Credit = Unsigned64(rec, 88);
  p.Coins = Unsigned64(rec, 96);
  p.LevelTitle = PairText(rec, 112, 16);
  p.Logins = Signed32(rec, 152);
  p.Disconnects = Signed32(rec, 156);
  p.Wins = Signed32(rec, 160);
  p.Losses = Signed32(rec, 164);
  p.ProfileAccount = ByteText(rec, 168, 16);
  p.Tag = PairText(rec, 184, 24);
  p.VoiceSet = ByteText(rec, 210, 8);
  p.VoiceNumber = ByteText(rec, 218, 8);
  p.UserId = Unsigned64(rec, 226);
  return p;
}

void ClearPlayerFields(PlayerRecord& p) {
  p.Nickname.clear();
  p.Avatar.clear();
  p.Region.clear();
  p.LevelTitle.clear();
  p.Gender = 0;
  p.Points = p.Credit = p.Coins = 0;
  p.Logins = p.Disconnects = p.Wins = p.Losses = 0;
}

int AvatarPictureIndex(const std::string& avatar) {
  const auto chars = protocol::Utf8Chars(avatar);
  int p = 0;
  if (chars.size() == 2) {
    p = Digit(chars[1]) - 1;
  } else if (chars.size() == 3) {
    p = 10 * Digit(chars[1]) + Digit(chars[2]) - 1;
  }
  if (p >= 10) p = 0;
  if (!chars.empty() && chars[0] == "w") p += 10;
  return p;
}

int SpectatorAvatarPictureIndex(const std::string& avatar) {
  const auto chars = protocol::Utf8Chars(avatar);
  if (chars.size() < 2) throw RuntimeFailure("portrait name is not a number");
  int p = Digit(chars[1]) - 1;
  if (chars[0] == "w") p += 5;
  return p;
}

}  // namespace tallow
