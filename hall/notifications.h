// The log's words for the window messages the hall exchanges with a table client.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tallow::hall {

// "0x303 login accepted 登录成功" for a notification the client posts.
std::string NotificationText(std::uint32_t msg);
// A request the hall sends, and the client's 32-bit result (nullopt: no window or no answer).
std::string RequestText(std::uint32_t msg, std::optional<std::int32_t> result);

}  // namespace tallow::hall
