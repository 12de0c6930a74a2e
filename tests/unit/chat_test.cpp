// Chat at the table: typing and sending under the flood control, private talk and its prefix,
// the send button, the phrase window, showing received lines, the word filter, the player card
// and the chat windows' placing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "chat/chat_display.h"
#include "chat/chat_input.h"
#include "chat/word_filter.h"
#include "forms/chat_windows.h"
#include "forms/player_card.h"
#include "seating_support.h"
#include "session/hall.h"
#include "shell/toolbar.h"

namespace tallow::testing {
namespace {

// Seat bits by relative position for a local player at seat bit 1.
constexpr int kBit[4] = {1, 8, 4, 2};

ui::InputEvent Event(ui::InputKind kind, ui::Control& ctl, int keyCode = 0, std::uint32_t ch = 0) {
  ui::InputEvent e;
  e.kind = kind;
  e.control = &ctl;
  e.keyCode = keyCode;
  e.keyChar = ch;
  return e;
}

class Chat : public ::testing::Test {
 protected:
  void SetUp() override {
    h.StartAndLogIn();
    h.p.socket.sent.clear();
    c().play.TurnTimerAllowed = -1;
    const char* names[4] = {"我", "兰兰", "竹子", "松鼠"};
    for (int i = 0; i <= 3; ++i) {
      c().table.custom(i).SeatBit = static_cast<short>(kBit[i]);
      c().players.PlayerInfo(i).Nickname = names[i];
      c().players.PlayerInfo(i).Tag = "玩家";
    }
  }
  Client& c() { return h.c(); }
  ui::TextBox& box() { return c().mainForm.Chat; }
  void Type(const std::string& text) {
    box().Text = text;
    box().SelStart = static_cast<int>(protocol::CharCount(text));
  }
  void Key(std::uint32_t ch) { c().mainForm.OnInput(Event(ui::InputKind::KeyPress, box(), 0, ch)); }
  void Click(ui::Control& ctl) { ctl.Owner->OnInput(Event(ui::InputKind::Click, ctl)); }
  // The chat records queued since the last call.
  std::vector<protocol::Record> Sent() {
    std::vector<protocol::Record> out;
    for (const auto& r : Queued(c())) {
      if (r[3] == 19) out.push_back(r);
    }
    c().send.SendRead = c().send.SendWrite;
    return out;
  }
  static std::string TextOf(const protocol::Record& r) { return ChatTextOf(r); }
  // A line from the server as sent by the player at `rel`.
  void Receive(int rel, const std::string& text, std::array<int, 4> v = {}) {
    auto r = ClientHarness::ServerRecord(19, kBit[rel], v);
    PutText(r, 16, text);
    Deliver(h, r);
  }
  const std::vector<std::string>& History() { return c().forms.Talk.Text1.lines; }
  std::string Ticker(int row) {
    const auto& l = c().mainForm.Sysmsg(row).lines;
    return l.empty() ? "" : l.front();
  }

  ClientHarness h;
};

TEST_F(Chat, EnterSendsOneLineEvery800Milliseconds) {
  Type("大家好");
  Key(13);
  auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(TextOf(sent[0]), "我说道: 大家好");
  EXPECT_EQ(sent[0][6], 1);   // the sender's seat bit
  EXPECT_EQ(sent[0][11], 0);  // public: no addressee
  EXPECT_EQ(box().Text, "");
  // Too soon: a note instead of the line.
  Type("再说一句");
  Key(13);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(History().back(), kTooFastNote);
  EXPECT_EQ(box().Text, "");
  h.Run(800);
  Type("再说一句");
  Key(13);
  EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(Chat, EmptyAndPrefixOnlyLinesSendNothingButStartThePause) {
  for (const std::string text : {"", "   ", "prefix"}) {
    h.Run(800);
    if (text == "prefix") {
      Click(c().mainForm.Tou(1));
      box().Text += "  ";
    } else {
      Type(text);
    }
    Key(13);
    EXPECT_TRUE(Sent().empty()) << text;
    EXPECT_FALSE(c().chat.ChatReady) << text;
  }
  EXPECT_FALSE(c().chat.TalkPrefix.empty());  // the prefix stays set
}

TEST_F(Chat, ASpectatorsEnterDoesNothing) {
  c().table.Spectating = -1;
  Type("hello");
  Key(13);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(box().Text, "hello");
  EXPECT_TRUE(c().chat.ChatReady);
}

TEST_F(Chat, APortraitClickStartsAPrivateLine) {
  Type("你好");
  Click(c().mainForm.Tou(0));  // the local player's own portrait does nothing
  EXPECT_EQ(box().Text, "你好");
  Click(c().mainForm.Tou(1));
  EXPECT_EQ(box().Text, "你对兰兰说: 你好");
  Click(c().mainForm.Tou(2));  // another player replaces the prefix, the text stays
  EXPECT_EQ(box().Text, "你对竹子说: 你好");
  EXPECT_EQ(box().SelStart, 9);
  Key(13);
  auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(TextOf(sent[0]), "我对竹子说: 你好");
  EXPECT_EQ(sent[0][11], 4);  // Value(1): the addressee's seat bit
  EXPECT_TRUE(c().chat.TalkPrefix.empty());
  // Before the login no prefix is set.
  c().play.TurnTimerAllowed = 0;
  Click(c().mainForm.Tou(3));
  EXPECT_TRUE(c().chat.TalkPrefix.empty());
}

TEST_F(Chat, BackspaceIntoThePrefixRemovesItWhole) {
  Type("ok");
  Click(c().mainForm.Tou(3));
  ASSERT_EQ(box().Text, "你对松鼠说: ok");
  box().SelStart = 7;  // right after the prefix: Backspace would cut into it
  Key(8);
  box().Text = "你对松鼠说ok";  // what the box itself did
  c().mainForm.OnInput(Event(ui::InputKind::TextChanged, box()));
  EXPECT_EQ(box().Text, "ok");
  EXPECT_EQ(box().SelStart, 2);
  EXPECT_TRUE(c().chat.TalkPrefix.empty());
  EXPECT_EQ(c().chat.TalkTarget, 0);
  // Backspace in the typed text leaves the prefix alone.
  Click(c().mainForm.Tou(3));
  Key(8);
  box().Text = "你对松鼠说: o";
  c().mainForm.OnInput(Event(ui::InputKind::TextChanged, box()));
  EXPECT_EQ(box().Text, "你对松鼠说: o");
}

TEST_F(Chat, TheSendButtonHasNoFloodControlAndKeepsAPrefixOnlyBox) {
  for (const char* text : {"一", "二"}) {
    Type(text);
    ToolbarClick(c(), 0);
  }
  EXPECT_EQ(Sent().size(), 2u);
  Click(c().mainForm.Tou(1));
  ToolbarClick(c(), 0);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(box().Text, "你对兰兰说: ");
  EXPECT_TRUE(c().chat.ChatReady);
}

TEST_F(Chat, PhraseWindowReadsTheFileAndSendsWithoutThePause) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("tallow-chat-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  h.p.process.appPath = dir.string();
  const std::string ini = PhraseIniPath(c());
  {
    std::ofstream out(ini, std::ios::binary);
    out << protocol::ToGbk(
        "[Phrase1]\r\nnum=3\r\n1=快点吧\r\n3=好牌\r\n[Phrase2]\r\nnum= 3x\r\n"
        "1=你好\r\n2=再见\r\n3=加油\r\n");
  }
  auto& f = c().forms.huifu;
  Click(c().mainForm.imgword1);
  ASSERT_TRUE(f.Visible);
  EXPECT_EQ(f.List1.lines, (std::vector<std::string>{"快点吧", "", "好牌"}));
  EXPECT_TRUE(f.List1.Visible);
  EXPECT_FALSE(f.List2.Visible);
  Click(c().mainForm.imgword2);  // switches lists
  EXPECT_TRUE(f.Visible && f.List2.Visible && !f.List1.Visible);
  EXPECT_EQ(f.List2.ListCount(), 3);

  Type("typed");
  Key(13);  // a typed line starts the pause; the phrases do not wait for it
  Sent();
  Type("dropped");
  f.List2.ListIndex = 2;
  f.OnInput(Event(ui::InputKind::DblClick, f.List2));
  auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(TextOf(sent[0]), "我说道: 加油");
  EXPECT_EQ(sent[0][9], 1);
  EXPECT_EQ(sent[0][13], 97);
  EXPECT_EQ(sent[0][15], 3);
  EXPECT_EQ(box().Text, "");
  EXPECT_FALSE(f.Visible);

  Click(c().mainForm.Tou(2));
  Click(c().mainForm.imgword1);
  f.List1.ListIndex = 0;
  f.OnInput(Event(ui::InputKind::DblClick, f.List1));
  sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(TextOf(sent[0]), "我对竹子说: 快点吧");
  EXPECT_EQ(sent[0][9], 0);
  EXPECT_EQ(sent[0][11], 4);
  // Nothing chosen: nothing sent. The same image twice closes the window.
  Click(c().mainForm.imgword1);
  f.List1.ListIndex = -1;
  f.OnInput(Event(ui::InputKind::DblClick, f.List1));
  EXPECT_TRUE(Sent().empty());
  Click(c().mainForm.imgword1);
  EXPECT_FALSE(f.Visible);
  std::filesystem::remove_all(dir);
}

TEST_F(Chat, ReceivedLinesNameTheLocalPlayerYou) {
  struct Case {
    int from;
    std::string text, shown;
  };
  c().players.PlayerInfo(2).Nickname = "我们";
  const Case cases[] = {
      {0, "我说道: hi", "你说道: hi"},
      {2, "我们说道: 我也在", "你们说道: 我也在"},  // the first occurrence, inside another name
      {1, "兰兰对我说: 悄悄话", "兰兰对你说: 悄悄话"},
      {3, "[玩家]我 赢了", "你 赢了"},
      {1, "系统提示：我 请注意", "系统提示：我 请注意"},
      {1, "兰兰说道: 他妈的好", "兰兰说道: 好"},
  };
  for (const auto& k : cases) {
    Receive(k.from, k.text);
    EXPECT_EQ(History().back(), k.shown);
    EXPECT_EQ(Ticker(1), k.shown);
  }
  EXPECT_EQ(Ticker(0), cases[4].shown);  // the older line moved up
  ResetSession(c());                     // leaving the table forgets its chat
  EXPECT_TRUE(History().empty());
}

TEST_F(Chat, TheTickerFillsItsRowsAndTheHistoryWraps) {
  for (int row : {0, 1}) c().mainForm.Sysmsg(row).Clear();
  Receive(0, "一");
  EXPECT_EQ(Ticker(0), "一");
  EXPECT_EQ(Ticker(1), "");
  Receive(0, "二");
  EXPECT_EQ(Ticker(1), "二");
  const std::string sixty = [] {
    std::string s;
    for (int i = 0; i < 60; ++i) s += i % 10 == 9 ? "尾" : "字";
    return s;
  }();
  const auto before = History().size();
  Receive(1, sixty);
  ASSERT_EQ(History().size(), before + 3);
  EXPECT_EQ(protocol::CharCount(History()[before]), 24u);
  EXPECT_EQ(History()[before + 1].substr(0, 1), " ");
  EXPECT_EQ(protocol::CharCount(History()[before + 1]), 23u);
  EXPECT_EQ(protocol::CharCount(History()[before + 2]), 15u);
  EXPECT_TRUE(History().back().ends_with("尾"));
  EXPECT_EQ(protocol::CharCount(Ticker(1)), 45u);
  EXPECT_EQ(c().forms.Talk.Text1.TopIndex, static_cast<int>(History().size()) - 1);
  // Over a hundred lines: the next key in the chat box clears the history.
  for (int i = 0; i < 100; ++i) Receive(0, "x");
  Key('a');
  EXPECT_TRUE(History().empty());
}

TEST_F(Chat, AVoicePhraseOfAnotherPlayerBlinksTheButton) {
  Receive(0, "我说道: 好");
  EXPECT_EQ(c().chat.ChatBlinkCount, 0);  // one's own line does not blink
  Receive(2, "竹子说道: 加油", {1, 0, 'a', 3});
  EXPECT_EQ(c().chat.ChatBlinkCount, 8);
  std::vector<int> pictures;
  for (int i = 0; i < 9; ++i) {
    BlinkChatButton(c());
    pictures.push_back(c().mainForm.AnNiu(1).picture.id);
  }
  EXPECT_EQ(pictures, (std::vector<int>{103, 104, 103, 104, 103, 104, 103, 104, 103}));
}

TEST(ChatText, ALeadByteAt215TakesItsTrailFrom216) {
  protocol::Record r{};
  for (std::size_t i = 16; i < 215; ++i) r[i] = 'a';
  const std::string gbk = protocol::ToGbk("中");
  r[215] = static_cast<std::uint8_t>(gbk[0]);
  r[216] = static_cast<std::uint8_t>(gbk[1]);
  const std::string text = ChatTextOf(r);
  EXPECT_EQ(protocol::CharCount(text), 200u);
  EXPECT_TRUE(text.ends_with("中"));
  r[216] = 0;  // a lead byte without its trail ends the text
  EXPECT_EQ(protocol::CharCount(ChatTextOf(r)), 199u);
  r[20] = 0;
  EXPECT_EQ(ChatTextOf(r), "aaaa");
}

TEST(WordFilter, RemovesTheListedWordsInTheirOrder) {
  const std::pair<std::string, std::string> cases[] = {
      {"他妈的好", "好"},
      {"fuckfuck", ""},
      {"Fuck you", "Fuck you"},
      {"好黄色彩", "好彩"},
      {"婊子养的东西", "东西"},
      // 色情 goes before 黄色 is looked for; the 黄色 that is left is not whole any more.
      {"色黄色情", "色黄"},
      // A word that a later deletion joins stays: 他妈的 was looked for before 黄色.
      {"他妈黄色的", "他妈的"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(FilterChatText(in), out) << in;
}

TEST_F(Chat, ThePlayerCardShowsNineRowsBesideThePortrait) {
  auto& p = c().players.PlayerInfo(2);
  p.Gender = 1;
  p.Region = "本地";
  p.Points = 1250;
  p.Credit = 100;
  p.Logins = 7;
  p.Disconnects = 1;
  p.Wins = 4;
  p.Losses = 2;
  auto& card = c().forms.Information;
  c().mainForm.OnInput(Event(ui::InputKind::MouseMove, c().mainForm.Tou(2)));
  ASSERT_TRUE(card.Visible);
  std::vector<std::string> rows;
  for (int i = 0; i <= 8; ++i) rows.push_back(card.Inf(i).Caption);
  EXPECT_EQ(rows,
            (std::vector<std::string>{"竹子", "男", "本地", "1250", "100", "7", "1", "4", "2"}));
  const double left2 = card.Left;
  c().mainForm.OnInput(Event(ui::InputKind::MouseMove, c().mainForm.Pic1));
  EXPECT_FALSE(card.Visible);
  ShowPlayerCard(c(), 1);
  EXPECT_DOUBLE_EQ(left2 - card.Left, 1024 * 15 / 3);
  EXPECT_DOUBLE_EQ(card.Top, 768 * 15 * 0.11);
  HidePlayerCard(c());
  c().players.PlayerInfo(3).Nickname.clear();  // an empty seat has no card
  ShowPlayerCard(c(), 3);
  EXPECT_FALSE(card.Visible);
}

TEST_F(Chat, TheChatWindowOpensOverTheTableAndAltCClosesIt) {
  auto& talk = c().forms.Talk;
  Click(c().mainForm.Lbchat);
  ASSERT_TRUE(talk.Visible);
  EXPECT_DOUBLE_EQ(talk.Top, 768 * 15 * 0.66);
  EXPECT_DOUBLE_EQ(talk.Left, 1024 * 15 * 0.3);
  for (int key : {18, 67}) {
    talk.OnInput(Event(ui::InputKind::KeyDown, talk.Text1, key));
  }
  EXPECT_FALSE(talk.Visible);
  ToolbarClick(c(), 1);
  EXPECT_TRUE(talk.Visible);
  Click(talk.Label1);
  EXPECT_FALSE(talk.Visible);
  // The phrase window takes the chat window's place.
  Click(c().mainForm.Lbchat);
  Click(c().mainForm.imgword2);
  EXPECT_FALSE(talk.Visible);
  EXPECT_DOUBLE_EQ(c().forms.huifu.Top, 768 * 15 * 0.66);
}

}  // namespace
}  // namespace tallow::testing
