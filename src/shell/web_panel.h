// The web panel over the emblem and the rules page. The login names the panel's page and makes
// the panel visible; a finished page lays it over the emblem, a failed one hides it for good.
#pragma once

#include <string>

#include "platform/controls.h"

namespace tallow {

class Client;

// The operator's web site, named in the welcome line; the rules page lies on it.
inline constexpr const char* kOperatorSite = "http://www.tallow-mahjong.net";
inline constexpr const char* kRulesPagePath = "/gameinfo/tallowmj/index.php";
std::string RulesPageUrl();
// The 规则 command: the desktop's browser opens the rules page; its answer is not checked.
void OpenRulesPage(Client& c);

// DocumentComplete and NavigateError of WebBrowser1.
void WebPanelInput(Client& c, const ui::InputEvent& e);

}  // namespace tallow
