#include "chat/word_filter.h"

#include <array>

namespace tallow {
namespace {

// In this order: a word that a later deletion joins together again stays, and 婊子养的 goes
// before 婊子 so that it is removed whole. The list names no people.
constexpr std::array<std::string_view, 11> kWords = {
    "法轮功", "他妈的", "她妈的", "它妈的", "婊子养的", "婊子",
    "淫",     "色情",   "黄色",   "shit",   "fuck",
};

void RemoveAll(std::string& text, std::string_view word) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  for (std::size_t hit = text.find(word); hit != std::string::npos; hit = text.find(word, at)) {
    out.append(text, at, hit - at);
    at = hit + word.size();
  }
  out.append(text, at, std::string::npos);
  text = std::move(out);
}

}  // namespace

std::string FilterChatText(std::string_view text) {
  std::string out(text);
  for (std::string_view word : kWords) RemoveAll(out, word);
  return out;
}

}  // namespace tallow
