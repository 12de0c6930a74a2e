#include "base/general.h"

#include "platform/controls.h"
#include "protocol/gbk.h"
#include "session/client.h"

namespace tallow {

std::uint8_t BitPosition(std::uint8_t b) {
  std::uint8_t n = 0;
  while (b >= 2) {
    b = static_cast<std::uint8_t>(b / 2);
    ++n;
  }
  return n;
}

short PowerOfTwo(short n) {
  if (n < 0 || n > 14) throw RuntimeFailure("PowerOfTwo out of range");
  return static_cast<short>(1 << n);
}

short FindHandTile(const Client& c, short sprite) {
  const SeatRecord& me = c.table.custom(0);
  for (int k = me.HandStart; k <= me.HandStart + me.HandCount - 1 && k <= 20; ++k) {
    if (k >= 0 && me.mj(k).Sprite == sprite) return static_cast<short>(k);
  }
  return -1;
}

bool HandHasTile(const Client& c, short sprite) {
  return FindHandTile(c, sprite) >= 0;
}

void SleepSeconds(Client& c, double s) {
  if (s <= 0) return;
  c.platform.clock.Sleep(static_cast<int>(s * 1000));
}

void WaitSeconds(Client& c, double s) {
  auto& clock = c.platform.clock;
  const double start = clock.SecondsSinceMidnight();
  for (;;) {
    double elapsed = clock.SecondsSinceMidnight() - start;
    if (elapsed < 0) elapsed += 86400;  // the timer went past midnight
    if (elapsed > s) break;
    clock.PumpEvents();
  }
}

std::string PadRight(std::string_view text, int width) {
  std::string out(text);
  for (auto n = static_cast<int>(protocol::CharCount(text)); n < width; ++n) out += ' ';
  return out;
}

bool IsSingleByteChar(std::string_view text) {
  return protocol::IsSingleByteGbk(text);
}

void AddWrappedText(ui::ListBox& box, std::string_view text, int width) {
  auto chars = protocol::Utf8Chars(text);
  std::size_t n = chars.size();
  for (std::size_t k = 0; k < chars.size(); ++k) {
    if (chars[k] == std::string_view("\0", 1)) {
      n = k;
      break;
    }
  }
  if (n == 0) return;
  auto join = [&](std::size_t from, std::size_t to) {  // 1-based, inclusive
    std::string s;
    for (std::size_t k = from; k <= to; ++k) s += chars[k - 1];
    return s;
  };
  // A continuation line starts with one space, so a reader sees where a line goes on.
  int w = 0;
  std::size_t c = 1;
  for (std::size_t i = 1; i <= n; ++i) {
    if (i == n || w >= width) {
      if (c < 2) {
        box.AddItem(join(c, i == n ? n : i));  // the first line includes character i
        c = i + 1;
      } else {
        std::string line(1, ' ');
        line += join(c, i == n ? n : i - 1);
        box.AddItem(std::move(line));
        c = i;
      }
      w = 0;
    }
    w += IsSingleByteChar(chars[i - 1]) ? 1 : 2;
  }
}

void CentreOverTable(Client& c, ui::Form& w) {
  const auto& f = c.mainForm;
  w.Top = f.Top + (f.Height - w.Height) / 2;
  w.Left = f.Left + (f.Width - w.Width) / 2;
}

}  // namespace tallow
