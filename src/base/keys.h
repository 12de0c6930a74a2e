// The virtual key codes the table and its windows react to.
#pragma once

namespace tallow {

inline constexpr int kKeyF1 = 112;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyAlt = 18;
inline constexpr int kKeyC = 67;

}  // namespace tallow
