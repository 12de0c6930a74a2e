// How two processes find each other's windows and exchange window messages on Linux.
// A window with caption C listens at the Unix socket "tallow-wnd-" + hex(UTF-8 bytes of C)
// in $TALLOW_RUNTIME_DIR, else $XDG_RUNTIME_DIR, else /tmp. Every message is one connection
// carrying one 16-byte frame of four little-endian 32-bit numbers: kind (1 post, 2 send),
// message, wParam, lParam. A send is answered with a 32-bit little-endian signed result.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tallow::platform::hall_link {

inline constexpr std::uint32_t kPost = 1;
inline constexpr std::uint32_t kSend = 2;
inline constexpr int kSendTimeoutMs = 2000;

struct Frame {
  std::uint32_t kind = kPost;
  std::uint32_t msg = 0;
  std::uint32_t wParam = 0;
  std::uint32_t lParam = 0;
  bool operator==(const Frame&) const = default;
};

std::string RuntimeDir();
std::string SocketName(const std::string& caption);  // file name only
std::string SocketPath(const std::string& caption);  // full path

std::array<std::uint8_t, 16> Encode(const Frame& f);
Frame Decode(const std::array<std::uint8_t, 16>& bytes);
std::array<std::uint8_t, 4> EncodeResult(std::int32_t result);
std::int32_t DecodeResult(const std::array<std::uint8_t, 4>& bytes);

// Blocking client side, plain POSIX: usable by any program and by tests.
bool WindowExists(const std::string& caption);
bool PostMessage(const std::string& caption, std::uint32_t msg, std::uint32_t wParam,
                 std::uint32_t lParam);
std::optional<std::int32_t> SendMessage(const std::string& caption, std::uint32_t msg,
                                        std::uint32_t wParam, std::uint32_t lParam,
                                        int timeoutMs = kSendTimeoutMs);

}  // namespace tallow::platform::hall_link
