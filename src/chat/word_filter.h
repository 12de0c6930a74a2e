// The word filter every chat line passes before it is shown.
#pragma once

#include <string>
#include <string_view>

namespace tallow {

// The text with every listed word removed, the words taken one after the other in their fixed
// order, case-sensitive.
std::string FilterChatText(std::string_view text);

}  // namespace tallow
