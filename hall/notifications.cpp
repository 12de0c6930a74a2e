#include "notifications.h"

#include <cstdio>

#include "platform/platform.h"

namespace tallow::hall {
namespace {

using namespace platform::wm;

std::string Hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%x", static_cast<unsigned>(v));
  return buf;
}

}  // namespace

std::string NotificationText(std::uint32_t msg) {
  const char* words = nullptr;
  switch (msg) {
    case kConnect:
      words = "connecting 正在连接服务器";
      break;
    case kLeaveQuestion:
      words = "login accepted 登录成功";
      break;
    case kLeaveNow:
      words = "left the table / no game 已离开";
      break;
    case kHandStarted:
      words = "hand started 开局";
      break;
    case kGameRunning:
      words = "game running 游戏进行中";
      break;
    case kLoginPending:
      words = "login pending 正在登录";
      break;
    default:
      words = "unknown notification";
      break;
  }
  return Hex(msg) + " " + words;
}

std::string RequestText(std::uint32_t msg, std::optional<std::int32_t> result) {
  const char* words = "request";
  switch (msg) {
    case kConnect:
      words = "connect 连接";
      break;
    case kLeaveQuestion:
      words = "may the player leave? 离开";
      break;
    case kLeaveNow:
      words = "leave now";
      break;
    case kGameRunning:
      words = "is a game running?";
      break;
    default:
      break;
  }
  const std::string answer =
      result.has_value() ? "answered " + std::to_string(*result) : "no answer (window missing)";
  return "sent " + Hex(msg) + " " + words + ": " + answer;
}

}  // namespace tallow::hall
