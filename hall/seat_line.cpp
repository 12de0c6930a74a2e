#include "seat_line.h"

#include <arpa/inet.h>

namespace tallow::hall {
namespace {

constexpr char kSep = '$';

bool HasControl(const std::string& s) {
  for (unsigned char c : s) {
    if (c < 0x20 || c == 0x7f) return true;
  }
  return false;
}

// A free-text field may hold anything but the separator and control characters.
// Fields the client writes one byte per character must be ASCII.
std::string CheckText(const char* what, const std::string& value, std::size_t maxChars,
                      bool asciiOnly = false) {
  if (value.find(kSep) != std::string::npos) return std::string(what) + " must not contain \"$\"";
  if (HasControl(value)) return std::string(what) + " must not contain control characters";
  if (asciiOnly) {
    for (unsigned char c : value) {
      if (c >= 0x80) return std::string(what) + " may hold only ASCII characters";
    }
  }
  if (value.size() > maxChars) return std::string(what) + " is too long";
  return {};
}

bool IsDottedIpv4(const std::string& host) {
  in_addr a{};
  return ::inet_pton(AF_INET, host.c_str(), &a) == 1;
}

std::string CheckCommon(const SeatLine& s) {
  if (auto e = CheckAccount(s.account); !e.empty()) return e;
  if (auto e = CheckText("the password", s.password, 16, true); !e.empty()) return e;
  if (s.host.empty()) return "the server host is empty";
  if (auto e = CheckText("the server host", s.host, 255); !e.empty()) return e;
  if (auto e = CheckPort(s.port); !e.empty()) return "server: " + e;
  return CheckText("the room name", s.room, 64);
}

void Add(std::string& line, const std::string& field) {
  line += field;
  line += kSep;
}

}  // namespace

std::string CheckAccount(const std::string& account) {
  if (account.empty()) return "the account is empty";
  if (account.size() > 16) return "the account is longer than 16 characters";
  for (unsigned char c : account) {
    if (c <= 0x20 || c >= 0x7f || c == kSep || c == '/') {
      return "the account may hold only letters, digits and punctuation other than \"$\" and \"/\"";
    }
  }
  if (account == "." || account == "..") return "the account cannot be \".\" or \"..\"";
  return {};
}

std::string CheckPort(int port) {
  if (port < 1 || port > 65535) return "the port must be between 1 and 65535";
  return {};
}

std::string RoomName(int table) {
  return "松竹厅 " + std::to_string(table + 1) + "号桌";
}

Built PlayerLine(const SeatLine& s) {
  if (auto e = CheckCommon(s); !e.empty()) return {{}, e};
  if (s.proxy.Enabled()) {
    if (auto e = CheckText("the proxy host", s.proxy.host, 255); !e.empty()) return {{}, e};
    if (auto e = CheckPort(s.proxy.port); !e.empty()) return {{}, "proxy: " + e};
    if (auto e = CheckText("the proxy user", s.proxy.user, 255, true); !e.empty()) return {{}, e};
    if (auto e = CheckText("the proxy password", s.proxy.password, 255, true); !e.empty())
      return {{}, e};
    // Through the proxy the client asks for the server by its IPv4 address.
    if (!IsDottedIpv4(s.host)) return {{}, "with a proxy the server host must be an IPv4 address"};
  }
  if (s.robot) {
    if (s.hallCaption.empty() || s.tableCaption.empty()) return {{}, "a robot needs both captions"};
    if (auto e = CheckText("the hall caption", s.hallCaption, 100); !e.empty()) return {{}, e};
    if (auto e = CheckText("the table caption", s.tableCaption, 100); !e.empty()) return {{}, e};
  }
  std::string line;
  Add(line, s.account);
  Add(line, s.password);
  Add(line, s.host);
  Add(line, std::to_string(s.port));
  Add(line, s.room);
  if (s.proxy.Enabled()) {
    Add(line, "5");
    Add(line, s.proxy.host);
    Add(line, std::to_string(s.proxy.port));
    Add(line, s.proxy.user);
    Add(line, s.proxy.password);
  } else {
    Add(line, "0");
    Add(line, "");
    Add(line, "0");
    Add(line, "");
    Add(line, "");
  }
  Add(line, s.robot ? "1" : "0");
  Add(line, s.robot ? s.hallCaption : "");
  Add(line, s.robot ? s.tableCaption : "");
  return {line, {}};
}

Built SpectatorLine(const SeatLine& s, long long watchedUserId) {
  if (auto e = CheckCommon(s); !e.empty()) return {{}, e};
  if (watchedUserId <= 0) return {{}, "the watched player has no user id"};
  std::string line;
  Add(line, s.account);
  Add(line, s.password);
  Add(line, s.host);
  Add(line, std::to_string(s.port));
  Add(line, s.room);
  line += std::to_string(watchedUserId);
  return {line, {}};
}

}  // namespace tallow::hall
