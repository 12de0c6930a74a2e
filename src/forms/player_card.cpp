#include "forms/player_card.h"

#include <cstdio>
#include <string>

#include "session/client.h"

namespace tallow {
namespace {

constexpr double kTwips = 15;

std::string NumberText(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15G", v);
  return buf;
}

}  // namespace

void ShowPlayerCard(Client& c, int i) {
  auto& card = c.forms.Information;
  const PlayerRecord& p = c.players.PlayerInfo(i);
  if (card.Visible || p.Nickname.empty()) return;
  const auto& table = c.mainForm;
  const auto& pic = table.Pic1;
  const double top = table.Top + pic.Top * kTwips;
  const double left = table.Left + pic.Left * kTwips;
  if (i != 0) {
    card.Top = top + pic.Height * kTwips * 0.11;
    // Whole twips, the width split in thirds: one card per seat along the top of the table.
    card.Left = left + static_cast<long>((i - 1) * pic.Width * kTwips) / 3;
  } else {
    card.Left = left;
    card.Top = top + pic.Height * kTwips * (c.layout.ScaleX < 1.0 ? 0.3 : 0.42);
  }
  const std::string values[9] = {p.Nickname,
                                 p.Gender != 0 ? "男" : "女",
                                 p.Region,
                                 NumberText(p.Points),
                                 NumberText(p.Credit),
                                 std::to_string(p.Logins),
                                 std::to_string(p.Disconnects),
                                 std::to_string(p.Wins),
                                 std::to_string(p.Losses)};
  for (int k = 0; k <= 8; ++k) card.Inf(k).Caption = values[k];
  card.Visible = true;
}

void HidePlayerCard(Client& c) {
  if (c.forms.Information.Visible) c.forms.Information.Visible = false;
}

}  // namespace tallow
