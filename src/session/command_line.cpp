#include "session/command_line.h"

#include <cmath>
#include <cstdlib>

#include "protocol/gbk.h"

namespace tallow {
namespace {

constexpr std::size_t kMaxProxyCredential = 255;

// Fractions round half to even, as integer conversion of the original runtime does.
double RoundHalfEven(double v) {
  return std::nearbyint(v);
}

}  // namespace

std::string TrimBlanks(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return std::string(s.substr(b, e - b));
}

double LeadingNumber(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  std::string digits;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) digits += s[i++];
  bool dot = false, any = false;
  for (; i < s.size(); ++i) {
    const char ch = s[i];
    if (ch >= '0' && ch <= '9') {
      digits += ch;
      any = true;
    } else if (ch == '.' && !dot) {
      digits += ch;
      dot = true;
    } else {
      break;
    }
  }
  if (!any) return 0;
  return std::strtod(digits.c_str(), nullptr);
}

std::optional<short> ToInt16(std::string_view s) {
  const std::string t = TrimBlanks(s);
  if (t.empty()) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || *end != '\0' || !std::isfinite(v)) return std::nullopt;
  const double r = RoundHalfEven(v);
  if (r < -32768 || r > 32767) return std::nullopt;
  return static_cast<short>(r);
}

std::optional<int> ToPort(std::string_view s) {
  const std::string t = TrimBlanks(s);
  if (t.empty() || t.size() > 5) return std::nullopt;
  int v = 0;
  for (char ch : t) {
    if (ch < '0' || ch > '9') return std::nullopt;
    v = v * 10 + (ch - '0');
  }
  if (v > 65535) return std::nullopt;
  return v;
}

ParsedCommandLine ParseCommandLine(std::string_view trimmed) {
  CommandLine cl;
  std::string s(trimmed);
  cl.Spectating = s.empty() || s.back() != '$';
  // An empty field keeps 0; anything else must convert.
  auto number = [&](const char* name, const std::string& text,
                    short& out) -> std::optional<CommandLineError> {
    if (TrimBlanks(text).empty()) return std::nullopt;
    auto v = ToInt16(text);
    if (!v) return CommandLineError{name, text};
    out = *v;
    return std::nullopt;
  };
  auto port = [&](const char* name, const std::string& text,
                  int& out) -> std::optional<CommandLineError> {
    if (TrimBlanks(text).empty()) return std::nullopt;
    auto v = ToPort(text);
    if (!v) return CommandLineError{name, text};
    out = *v;
    return std::nullopt;
  };
  for (int k = 1; k <= 13; ++k) {
    const std::size_t p = s.find('$');
    if (p == std::string::npos) continue;
    std::string value = s.substr(0, p);
    s = s.substr(p + 1);
    ++cl.FieldsPresent;
    std::optional<CommandLineError> err;
    switch (k) {
      case 1:
        cl.UserName = value;
        break;
      case 2:
        cl.Password = value;
        break;
      case 3:
        cl.ServerHost = value;
        break;
      case 4:
        err = port("ServerPort", value, cl.ServerPort);
        break;
      case 5:
        cl.RoomName = value;
        if (cl.Spectating) cl.WatchedUserId = LeadingNumber(s);
        break;
      case 6:
        err = number("ProxyKind", value, cl.ProxyKind);
        break;
      case 7:
        cl.ProxyHost = value;
        break;
      case 8:
        err = port("ProxyPort", value, cl.ProxyPort);
        break;
      case 9:
        cl.ProxyUser = protocol::FirstChars(value, kMaxProxyCredential);
        cl.ProxyUserLength = static_cast<std::uint8_t>(protocol::CharCount(cl.ProxyUser));
        break;
      case 10:
        cl.ProxyPassword = protocol::FirstChars(value, kMaxProxyCredential);
        cl.ProxyPasswordLength = static_cast<std::uint8_t>(protocol::CharCount(cl.ProxyPassword));
        break;
      case 11:
        cl.RobotMode = LeadingNumber(value) == 1.0;
        break;
      case 12:
        cl.HallCaption = value;
        break;
      case 13:
        cl.RobotCaption = value;
        break;
      default:
        break;
    }
    if (err) return {std::nullopt, err};
  }
  if (cl.Spectating) {
    // A spectator keeps the defaults of every field after the watched player.
    cl.ProxyKind = 0;
    cl.RobotMode = false;
  }
  return {cl, std::nullopt};
}

}  // namespace tallow
