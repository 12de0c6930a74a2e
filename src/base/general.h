// Small routines shared by every part of the client.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tallow {

class Client;
namespace ui {
struct ListBox;
class Form;
}  // namespace ui

// Position of the highest set bit; 0 for 0 and 1.
std::uint8_t BitPosition(std::uint8_t b);
// 2 to the power n.
short PowerOfTwo(short n);

// Whether, and where, the local concealed hand holds the entry showing this sprite.
bool HandHasTile(const Client& c, short sprite);
short FindHandTile(const Client& c, short sprite);

// Blocks the client for s seconds after painting every pending change; nothing else runs.
void SleepSeconds(Client& c, double s);
// Waits s seconds while handling window events.
void WaitSeconds(Client& c, double s);

std::string PadRight(std::string_view text, int width);
bool IsSingleByteChar(std::string_view text);
// Splits text into lines of about `width` half-width units and appends them to the box; every
// line after the first starts with one space.
void AddWrappedText(ui::ListBox& box, std::string_view text, int width);

// Places a small window centred over the table window.
void CentreOverTable(Client& c, ui::Form& w);

}  // namespace tallow
