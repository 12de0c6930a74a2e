#include "chat/chat_input.h"

#include "protocol/gbk.h"
#include "session/client.h"
#include "session/outgoing.h"
#include "sound/sound.h"
#include "sound/voice_files.h"

namespace tallow {
namespace {

constexpr std::uint32_t kEnter = 13;
constexpr std::uint32_t kBackspace = 8;
constexpr int kHistoryLimit = 100;  // lines kept before a key in the chat box clears them
constexpr std::size_t kBoxLimit = 100;

std::string Trim(std::string_view s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

// The text without its first n characters.
std::string DropChars(std::string_view text, std::size_t n) {
  std::string out;
  const auto chars = protocol::Utf8Chars(text);
  for (std::size_t k = n; k < chars.size(); ++k) out += chars[k];
  return out;
}

// The last n characters of the text.
std::string LastChars(std::string_view text, std::size_t n) {
  const std::size_t count = protocol::CharCount(text);
  return DropChars(text, count > n ? count - n : 0);
}

protocol::Header ChatHeader(const Client& c) {
  protocol::Header h;
  h.Code = static_cast<std::int16_t>(protocol::ClientCode::ChatSend);
  h.SeatMask = static_cast<std::uint8_t>(c.table.custom(0).SeatBit);
  return h;
}

bool OnlyPrefix(const Client& c, const std::string& text) {
  return text.empty() || Trim(text) == Trim(c.chat.TalkPrefix);
}

// The line as the others read it: a private line "name对addressee说: text" when the text holds
// the prefix, "name说道: text" otherwise.
void ComposeAndSend(Client& c, protocol::Header h, const std::string& text) {
  auto& chat = c.chat;
  const std::string& nickname = c.players.PlayerInfo(0).Nickname;
  if (!chat.TalkPrefix.empty() && text.find(chat.TalkPrefix) != std::string::npos) {
    h.Value[1] = chat.TalkTarget;
    c.send.ChatText = nickname + DropChars(chat.TalkPrefix, 1) +
                      DropChars(text, protocol::CharCount(chat.TalkPrefix));
  } else {
    c.send.ChatText = nickname + "说道: " + text;
  }
  chat.TalkPrefix.clear();
  QueueMessage(c, h);
}

// A phrase from the lists: the prefix, if the box holds it, still addresses the line.
void SendPhrase(Client& c, protocol::Header h, const std::string& phrase) {
  auto& chat = c.chat;
  auto& box = c.mainForm.Chat;
  const std::string nickname = c.players.PlayerInfo(0).Nickname;
  if (!chat.TalkPrefix.empty() && box.Text.find(chat.TalkPrefix) != std::string::npos) {
    h.Value[1] = chat.TalkTarget;
    c.send.ChatText = nickname + DropChars(chat.TalkPrefix, 1) + phrase;
  } else {
    c.send.ChatText = nickname + "说道: " + phrase;
  }
  box.Text.clear();
  box.SelStart = 0;
  chat.TalkPrefix.clear();
  QueueMessage(c, h);
}

void GuardPrefix(Client& c) {
  auto& chat = c.chat;
  const auto& box = c.mainForm.Chat;
  if (chat.TalkPrefix.empty()) return;
  chat.TypedChatText = box.Text;
  if (box.SelStart <= static_cast<int>(protocol::CharCount(chat.TalkPrefix))) {
    chat.PrefixBroken = true;
  }
}

}  // namespace

void ChatBoxKeyPress(Client& c, std::uint32_t keyChar) {
  auto& history = c.forms.Talk.Text1;
  if (history.ListCount() > kHistoryLimit) history.Clear();
  if (keyChar != kEnter || c.table.Spectating != 0) {
    if (keyChar == kBackspace) GuardPrefix(c);
    return;
  }
  auto& chat = c.chat;
  auto& box = c.mainForm.Chat;
  if (!chat.ChatReady) {
    if (!box.Text.empty()) {
      history.AddItem(kTooFastNote);
      box.Text.clear();
      box.SelStart = 0;
      history.TopIndex = std::max(0, history.ListCount() - 1);
    }
    return;
  }
  chat.ChatReady = false;
  c.TimerChat->SetEnabled(true);
  const std::string text = box.Text;
  box.Text.clear();
  box.SelStart = 0;
  if (OnlyPrefix(c, text)) return;  // the pause has started all the same
  ComposeAndSend(c, ChatHeader(c), text);
}

void ChatBoxChanged(Client& c) {
  auto& chat = c.chat;
  if (!chat.PrefixBroken) return;
  chat.PrefixBroken = false;
  auto& box = c.mainForm.Chat;
  const std::size_t typed = protocol::CharCount(chat.TypedChatText);
  const std::size_t prefix = protocol::CharCount(chat.TalkPrefix);
  box.Text = LastChars(chat.TypedChatText, typed > prefix ? typed - prefix : 0);
  chat.TalkPrefix.clear();
  chat.TalkSavedText.clear();
  chat.TalkTarget = 0;
  box.SelStart = static_cast<int>(protocol::CharCount(box.Text));
}

bool SendButtonLine(Client& c) {
  auto& box = c.mainForm.Chat;
  if (OnlyPrefix(c, box.Text)) return false;
  const std::string text = box.Text;
  box.Text.clear();
  box.SelStart = 0;
  ComposeAndSend(c, ChatHeader(c), text);
  return true;
}

void SendTextPhrase(Client& c, const std::string& phrase) {
  SendPhrase(c, ChatHeader(c), phrase);
}

void SendVoicePhrase(Client& c, int number, const std::string& caption) {
  protocol::Header h = ChatHeader(c);
  h.Value[0] = 1;
  h.Value[2] = 'a';
  h.Value[3] = static_cast<std::int16_t>(number);
  SendPhrase(c, h, caption);
  PlayVoicePhrase(c, 0, sound::PhraseVoiceEnding(number));
}

void StartPrivateTalk(Client& c, int i) {
  const PlayerRecord& player = c.players.PlayerInfo(i);
  if (c.play.TurnTimerAllowed == 0 || i == 0 || player.Nickname.empty()) return;
  auto& chat = c.chat;
  auto& box = c.mainForm.Chat;
  chat.TalkSavedText = box.Text;
  chat.TalkTarget = c.table.custom(i).SeatBit;
  if (!chat.TalkSavedText.empty() && !chat.TalkPrefix.empty() &&
      chat.TalkSavedText.find(chat.TalkPrefix) != std::string::npos) {
    chat.TalkSavedText = DropChars(chat.TalkSavedText, protocol::CharCount(chat.TalkPrefix));
  }
  chat.TalkPrefix = "你对" + player.Nickname + "说: ";
  // The box holds at most its 100 characters, the prefix first.
  box.Text = protocol::FirstChars(chat.TalkPrefix + chat.TalkSavedText, kBoxLimit);
  box.SelStart = static_cast<int>(protocol::CharCount(box.Text));
  c.mainForm.FocusRequested = &box;
}

}  // namespace tallow
