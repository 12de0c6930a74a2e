#include "shell/web_panel.h"

#include "session/client.h"

namespace tallow {

std::string RulesPageUrl() {
  return std::string(kOperatorSite) + kRulesPagePath;
}

void OpenRulesPage(Client& c) {
  c.platform.process.OpenUrl(RulesPageUrl());
}

void WebPanelInput(Client& c, const ui::InputEvent& e) {
  auto& f = c.mainForm;
  auto& panel = f.WebBrowser1;
  if (e.kind == ui::InputKind::DocumentComplete) {
    // After a failure only a later login shows the panel again, and nothing moves it.
    if (c.shell.WebPanelFailed != 0) return;
    panel.Top = f.Bird.Top + 2;
    panel.Left = f.Bird.Left + 2;
    panel.ZOrder(ui::ZPosition::Front);
    panel.Visible = true;
  } else if (e.kind == ui::InputKind::NavigateError) {
    panel.Visible = false;
    c.shell.WebPanelFailed = -1;
  }
}

}  // namespace tallow
