#include "protocol/gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace tallow::protocol {
namespace {

// One converter per direction, opened once; iconv descriptors are not thread-safe, so each
// use takes the lock (the client is single-threaded, the server too; tests may not be).
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts the whole input; returns nullopt on any invalid or unmappable sequence.
  std::optional<std::string> Run(std::string_view in) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::lock_guard<std::mutex> lock(mu_);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 4 + 8, '\0');
    char* inp = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outp = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd_, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1)) {
      return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
  }

 private:
  iconv_t cd_;
  std::mutex mu_;
};

Converter& ToGbkConv() {
  static Converter c("GBK", "UTF-8");
  return c;
}
Converter& FromGbkConv() {
  static Converter c("UTF-8", "GBK");
  return c;
}

std::size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

std::vector<std::string_view> Utf8Chars(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t n = Utf8Length(static_cast<unsigned char>(text[i]));
    if (i + n > text.size()) n = 1;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        n = 1;
        break;
      }
    }
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

std::size_t CharCount(std::string_view text) {
  return Utf8Chars(text).size();
}

std::string FirstChars(std::string_view text, std::size_t n) {
  std::string out;
  for (auto c : Utf8Chars(text)) {
    if (n == 0) break;
    out += c;
    --n;
  }
  return out;
}

std::optional<std::string> CharToGbk(std::string_view utf8Char) {
  if (utf8Char.size() == 1 && static_cast<unsigned char>(utf8Char[0]) < 0x80) {
    return std::string(utf8Char);
  }
  auto r = ToGbkConv().Run(utf8Char);
  if (!r || r->empty() || r->size() > 2) return std::nullopt;
  return r;
}

std::string ToGbk(std::string_view utf8) {
  // Plain ASCII needs no conversion; a text that converts whole needs no character walk.
  bool ascii = true;
  for (char ch : utf8) ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
  if (ascii) return std::string(utf8);
  if (auto whole = ToGbkConv().Run(utf8)) return *whole;
  std::string out;
  for (auto c : Utf8Chars(utf8)) {
    if (auto g = CharToGbk(c)) out += *g;
  }
  return out;
}

std::string FromGbk(std::string_view gbk) {
  gbk = gbk.substr(0, std::min(gbk.size(), gbk.find('\0')));
  bool ascii = true;
  for (char ch : gbk) ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
  if (ascii) return std::string(gbk);
  if (auto whole = FromGbkConv().Run(gbk)) return *whole;
  std::string out;
  std::size_t i = 0;
  while (i < gbk.size()) {
    const auto b = static_cast<unsigned char>(gbk[i]);
    if (b == 0) break;
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    // A lead byte and the next byte form one character.
    if (i + 1 < gbk.size() && gbk[i + 1] != 0) {
      if (auto r = FromGbkConv().Run(gbk.substr(i, 2))) {
        out += *r;
        i += 2;
        continue;
      }
    }
    out += "\xEF\xBF\xBD";
    i += (i + 1 < gbk.size() && gbk[i + 1] != 0) ? 2 : 1;
  }
  return out;
}

std::string FromGbk(std::span<const std::uint8_t> gbk) {
  return FromGbk(std::string_view(reinterpret_cast<const char*>(gbk.data()), gbk.size()));
}

bool IsSingleByteGbk(std::string_view utf8) {
  auto chars = Utf8Chars(utf8);
  if (chars.empty()) return true;
  auto g = CharToGbk(chars.front());
  // A character without a GBK code reads as "?" (one byte), as the ANSI conversion does.
  return !g || g->size() == 1;
}

}  // namespace tallow::protocol
