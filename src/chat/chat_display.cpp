#include "chat/chat_display.h"

#include "base/general.h"
#include "base/pictures.h"
#include "base/tiles.h"
#include "chat/word_filter.h"
#include "protocol/gbk.h"
#include "session/client.h"
#include "sound/sound.h"

namespace tallow {
namespace {

constexpr std::size_t kTextEnd = protocol::off::kChatText + protocol::off::kChatTextSize;
constexpr int kHistoryWidth = 46;  // half-width units of a history line
constexpr std::size_t kTickerChars = 45;
constexpr short kBlinkHalfPeriods = 8;  // four flashes
constexpr std::string_view kAnnouncement = "系统提示";

// Replaces the first occurrence (or every one) of `what` by `with`; nothing when `what` is
// empty.
void Replace(std::string& text, const std::string& what, std::string_view with, bool all) {
  if (what.empty()) return;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) {
    text.replace(at, what.size(), with);
    at += with.size();
    if (!all) return;
  }
}

// The ending of a voice phrase's file: the letter in Value(2), Value(3) in decimal, ".wav". Only
// a letter or a digit names a file; anything else plays nothing.
std::string PhraseEnding(const protocol::Header& h) {
  const int letter = h.Value[2];
  const bool plain = (letter >= '0' && letter <= '9') || (letter >= 'A' && letter <= 'Z') ||
                     (letter >= 'a' && letter <= 'z');
  if (!plain) return {};
  return static_cast<char>(letter) + std::to_string(h.Value[3]) + ".wav";
}

void PushToTicker(Client& c, const std::string& line) {
  auto& older = c.mainForm.Sysmsg(0);
  auto& newer = c.mainForm.Sysmsg(1);
  if (newer.ListCount() == 0) {
    auto& row = older.ListCount() == 0 ? older : newer;
    row.Clear();
    row.AddItem(line);
    return;
  }
  const std::string moved = newer.lines.front();
  older.Clear();
  older.AddItem(moved);
  newer.Clear();
  newer.AddItem(line);
}

}  // namespace

std::string ChatTextOf(const protocol::Record& rec) {
  std::string gbk;
  for (std::size_t at = protocol::off::kChatText; at < kTextEnd;) {
    const std::uint8_t b = rec[at];
    if (b == 0) break;
    if (b < 0x80) {
      gbk += static_cast<char>(b);
      ++at;
      continue;
    }
    const std::uint8_t trail = rec[at + 1];  // at most byte 216, inside the record
    if (trail == 0) break;                   // a lead byte without its trail ends the text
    gbk += static_cast<char>(b);
    gbk += static_cast<char>(trail);
    at += 2;
  }
  return protocol::FromGbk(gbk);
}

void ShowChatLine(Client& c, const std::string& received) {
  const protocol::Header& h = c.framing.MessageHeader;
  const int rel = RelativeSeat(c.table.custom(0).SeatBit, h.SeatMask);
  if (h.Value[0] == 1 && rel != 0) {
    if (const std::string ending = PhraseEnding(h); !ending.empty())
      PlayVoicePhrase(c, rel, ending);
  }
  std::string text = received;
  const PlayerRecord& me = c.players.PlayerInfo(0);
  if (!me.Nickname.empty()) {
    Replace(text, "[" + me.Tag + "]" + me.Nickname, "你", true);
    if (!text.starts_with(kAnnouncement)) Replace(text, me.Nickname, "你", false);
  }
  text = FilterChatText(text);

  auto& history = c.forms.Talk.Text1;
  AddWrappedText(history, text, kHistoryWidth);
  history.TopIndex = std::max(0, history.ListCount() - 1);
  PushToTicker(c, protocol::FirstChars(text, kTickerChars));
  if (rel != 0) c.chat.ChatBlinkCount = kBlinkHalfPeriods;
}

void BlinkChatButton(Client& c) {
  auto& count = c.chat.ChatBlinkCount;
  auto& button = c.mainForm.AnNiu(1);
  const auto& ids = c.images.ButtonImageIds;
  if (count < 1) {
    LoadResourcePicture(c, button, ImageId(ids(2)));
    return;
  }
  const short before = count--;
  LoadResourcePicture(c, button, ImageId(ids(before % 2 == 1 ? 3 : 2)));
}

}  // namespace tallow
