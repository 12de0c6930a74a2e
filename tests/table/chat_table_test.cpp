// Chat across a whole table in one process: a typed line travels from one client through the
// server to all four and is shown filtered; a private line reaches its addressee only; the
// operator's announcement reaches everyone.
#include <gtest/gtest.h>

#include "doubles/table_harness.h"

namespace tallow::testing {
namespace {

std::string LastLine(const Client& c) {
  const auto& lines = c.forms.Talk.Text1.lines;
  return lines.empty() ? "" : lines.back();
}

TEST(WholeTable, ChatLinesReachTheTableAndPrivateLinesOnlyTheirAddressee) {
  TableHarness t(21);
  int started = 0;
  t.check = [&](int, const SeatView& view, Client&) { started += view.type == 4 ? 1 : 0; };
  t.StartAll();
  ASSERT_TRUE(t.Run(60'000, [&] { return started == 4; }));
  Client& sender = *t.seats[0]->client;
  const std::string name = sender.players.PlayerInfo(0).Nickname;
  ASSERT_FALSE(name.empty());

  auto type = [&](const std::string& text) {
    sender.mainForm.Chat.Text = text;
    ui::InputEvent enter;
    enter.kind = ui::InputKind::KeyPress;
    enter.control = &sender.mainForm.Chat;
    enter.keyChar = 13;
    sender.mainForm.OnInput(enter);
  };
  auto shownEverywhere = [&](const std::string& others, const std::string& own) {
    return t.Run(5'000, [&] {
      for (int s = 1; s <= 3; ++s) {
        if (LastLine(*t.seats[static_cast<std::size_t>(s)]->client) != others) return false;
      }
      return LastLine(sender) == own;
    });
  };

  type("他妈的大家好");
  EXPECT_TRUE(shownEverywhere(name + "说道: 大家好", "你说道: 大家好"));
  for (int s = 1; s <= 3; ++s) {
    EXPECT_EQ(t.seats[static_cast<std::size_t>(s)]->client->mainForm.Sysmsg(1).lines.at(0),
              name + "说道: 大家好");
  }

  // A private line to the player opposite.
  const short target = sender.table.custom(2).SeatBit;
  int addressee = -1;
  for (int s = 1; s <= 3; ++s) {
    if (t.seats[static_cast<std::size_t>(s)]->client->table.custom(0).SeatBit == target)
      addressee = s;
  }
  ASSERT_GE(addressee, 1);
  const std::string targetName = sender.players.PlayerInfo(2).Nickname;
  t.Run(1'000);  // the flood control's pause
  ui::InputEvent click;
  click.kind = ui::InputKind::Click;
  click.control = &sender.mainForm.Tou(2);
  sender.mainForm.OnInput(click);
  type(sender.mainForm.Chat.Text + "悄悄话");
  ASSERT_TRUE(t.Run(5'000, [&] {
    return LastLine(*t.seats[static_cast<std::size_t>(addressee)]->client) ==
               name + "对你说: 悄悄话" &&
           LastLine(sender) == "你对" + targetName + "说: 悄悄话";
  }));
  for (int s = 1; s <= 3; ++s) {
    if (s == addressee) continue;
    EXPECT_EQ(LastLine(*t.seats[static_cast<std::size_t>(s)]->client), name + "说道: 大家好")
        << "seat " << s << " read a private line";
  }

  EXPECT_EQ(t.core.Command("say 0 请文明聊天"), "ok");
  EXPECT_TRUE(shownEverywhere("系统提示：请文明聊天", "系统提示：请文明聊天"));
  for (const auto& f : t.failures) ADD_FAILURE() << f;
}

}  // namespace
}  // namespace tallow::testing
